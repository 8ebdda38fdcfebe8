// The lines of a preview folder's record ("_xthumbs.txt"): what the scan
// knows about each picture of the folder and the preview it wrote for it.
//
// The record starts with "Ombral previews 2" and holds one line per picture:
//   K size time inode  size time inode  digest width height needed  name
// K is P (a preview), B (the picture cannot be made into one: damaged, no
// picture, too many pixels) or L (its decoding needs `needed` bytes, more
// than the memory budget allowed). The first stamp (size, modification time
// as seconds.nanoseconds, inode) tells the picture apart from any other
// file of its name, also one replaced within the same second; the second
// stamp and the digest (32 hexadecimal digits, "-" for none) are those of
// the preview file the scan wrote, which a B line may still keep. Names
// have '%', CR and LF percent-encoded.
//
// Records of the first form ("Ombral previews 1": K size time size time
// width height name, times in seconds) are still read; their lines count
// as `legacy` until the scan writes the record again.
//
// The gallery keeps more per picture, in the third form ("Ombral previews
// 3"): after `needed` come the digest of the picture's own bytes (by which
// a picture that moved is found again), its size as shown (width height),
// the date it was taken ("YYYY-MM-DDTHH:MM:SS" or "-"), the stamp, digest
// and size of its rendition (a JPEG for the viewer; "0 0.000000000 0 - 0 0"
// for none) and the camera ('%', blank, CR and LF percent-encoded; "-" for
// none), then the name.
//
// The fourth form ("Ombral previews 4") adds, after the rendition's size,
// the stamp, digest and size of the picture's large preview (twice the
// preview's size, for screens with two device pixels to a CSS pixel;
// "0 0.000000000 0 - 0 0" for none).
//
// The fifth form ("Ombral previews 5") adds, after the large preview's
// size, a video's length in milliseconds ("0" for a picture). A video's
// line is that of a picture: its preview and large preview are the
// poster's, its size is the video's as shown, and its `content` digest is
// that of its size and first and last 64 KiB (a video is too large to
// read whole for a digest; with the size, that tells a video moved).
//
// A record is written in the fifth form when one of its lines has a
// video's length, else in the fourth when one has a large preview, else in
// the third when one holds the gallery's facts, else in the second, so a
// scan without the gallery writes what it always wrote. A record read in a
// later form keeps it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FolderHandle.h"

namespace preview_record {

inline constexpr std::string_view kHeadPrefix = "Ombral previews ";
inline constexpr std::string_view kHead1 = "Ombral previews 1\n";
inline constexpr std::string_view kHead2 = "Ombral previews 2\n";
inline constexpr std::string_view kHead3 = "Ombral previews 3\n";
inline constexpr std::string_view kHead4 = "Ombral previews 4\n";
inline constexpr std::string_view kHead5 = "Ombral previews 5\n";
// The latest form.
inline constexpr int kLatestForm = 5;

// A file as the record remembers it.
struct Stamp {
  std::uint64_t size = 0;
  std::int64_t seconds = 0;
  std::uint32_t nanos = 0;
  std::uint64_t inode = 0;

  static Stamp Of(const platform::EntryInfo& info) {
    return {info.size, info.modifySeconds, info.modifyNanos, info.inode};
  }
  friend bool operator==(const Stamp&, const Stamp&) = default;
};

struct Line {
  enum class Kind { Preview, Broken, OverBudget };
  Kind kind = Kind::Preview;
  Stamp picture;
  Stamp preview;        // all 0 when there is no preview file
  std::string digest;   // of the preview file; "" for none
  int width = 0;        // the preview's pixels (a P line)
  int height = 0;
  std::uint64_t needed = 0;  // an L line's decoding memory
  bool legacy = false;  // read from a first-form record: seconds only, no inodes, no digest

  // The gallery's facts (third form); `content` is "" when they were never read.
  std::string content;     // digest of the picture's bytes
  int pictureWidth = 0;    // the picture's size as shown; 0 when unknown
  int pictureHeight = 0;
  std::string taken;       // date taken, "YYYY-MM-DD HH:MM:SS"; "" when the picture names none
  std::string camera;      // "" when the picture names none
  Stamp rendition;         // the rendition file (all 0 for none)
  std::string renditionDigest;  // "" for none
  int renditionWidth = 0;
  int renditionHeight = 0;
  // The large preview (fourth form).
  Stamp large;             // all 0 for none
  std::string largeDigest;  // "" for none
  int largeWidth = 0;
  int largeHeight = 0;
  // A video's length (fifth form); 0 for a picture, or where unknown.
  long long durationMillis = 0;

  bool HasFacts() const { return !content.empty(); }
  bool HasRendition() const { return !renditionDigest.empty(); }
  bool HasLarge() const { return !largeDigest.empty(); }

  bool HasPreview() const { return !digest.empty() || (legacy && preview.seconds != 0); }
  // Whether `file` is the picture this line was made from; the inode is
  // compared only where the file system keeps it (`inodesStable`).
  bool IsOf(const Stamp& file, bool inodesStable = true) const;
  // Whether `file` is the preview file this line names.
  bool IsPreviewFile(const Stamp& file, bool inodesStable = true) const;
};

// Whether two stamps tell the same file: size and time, and the inode where
// the file system keeps it.
bool SameFile(const Stamp& a, const Stamp& b, bool inodesStable);

// The form a record must have to hold `line` whole (2 to 5).
int FormFor(const Line& line);
// One line (with its '\n') of the form `form` (2 to 5); what that form
// has no place for is left out.
std::string Format(const std::string& name, const Line& line, int form = 2);
// Parses one line (without its '\n') of the form `version` (1 to 5);
// false for anything that is not a well-formed line.
bool Parse(std::string_view text, int version, std::string& name, Line& line);

}  // namespace preview_record
