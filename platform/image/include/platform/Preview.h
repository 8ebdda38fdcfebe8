// Previews of pictures: a small JPEG copy of a picture for index pages.
//
//   platform::PreviewBudget budget(platform::kDefaultPreviewBudget);   // one per run, shared by its threads
//   ... budget.Acquire(fileSize), read the picture into `bytes` ...
//   platform::PreviewImage preview = platform::MakePreviewImage(bytes, 240, budget, fileSize);
//   if (preview.status == platform::PreviewStatus::Made) ... write preview.jpeg ...
//
// A preview is turned upright as the picture's EXIF orientation says, shrunk
// (never enlarged) so that its longer edge is at most the given edge, laid
// on white where the picture is transparent (on request on a grey
// checkerboard, PreviewOptions::checkerboard), and saved as a baseline JPEG
// (quality 82) without any metadata of the original (no EXIF, GPS position,
// comments or colour profile). Its one comment segment, right after the
// start of the file, is the preview mark (IsMarkedPreview), so a preview can
// be told from a user's file by its first bytes. Pictures are read by their
// content, not their name: JPEG, PNG, GIF (its first frame), BMP, WebP and
// TIFF, and on request HEIC, HEIF and AVIF. Every other content, and any
// picture whose data is cut short or damaged anywhere, is refused.
//
// Decoding memory: the header tells what decoding a picture will take (a
// baseline JPEG is decoded already shrunk; an interlaced PNG, a progressive
// JPEG, GIF, WebP, BMP and TIFF are held whole). The estimate is taken from
// the budget of the run before decoding, so the threads of a run together
// never decode more than the budget's limit at once; a picture whose
// decoding alone needs more is refused (OverBudget) without being decoded.
//
// Both MakePreview functions may be called from several threads at once;
// each call does its work on its own thread. A thread that called them calls
// EndPreviewThread before it ends, so the library's per-thread buffers are
// given back.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace platform {

enum class PreviewStatus {
  Made,         // the preview was made (and, by MakePreview, written)
  NotAPicture,  // the content is none of the formats above
  Broken,       // the library rejects the data as damaged: cut short, corrupt, inconsistent
  TooLarge,     // more pixels than kMaxPreviewSourcePixels
  OverBudget,   // decoding alone would need more than the budget's limit
  Failed,       // not about the data: out of memory, the library could not start; try again later
  WriteFailed,  // MakePreview only: decoded, but the preview could not be written (`error`)
};

// Pictures above this many pixels are refused rather than decoded: they
// cost more memory and time than a preview is worth (a decompression bomb
// states billions).
inline constexpr long long kMaxPreviewSourcePixels = 200LL * 1000 * 1000;

// Longer edges a caller may ask for.
inline constexpr int kMinPreviewEdge = 16;
inline constexpr int kMaxPreviewEdge = 4096;
// The longest edges a large preview and a rendition may have
// (PreviewOptions::largeEdge and renditionEdge).
inline constexpr int kMaxLargePreviewEdge = 2 * kMaxPreviewEdge;
inline constexpr int kMaxRenditionEdge = 8192;

// The decoding memory a run should give its previews unless told otherwise.
inline constexpr std::uint64_t kDefaultPreviewBudget = 1ULL << 30;

// Decoding memory shared by all preview threads of a run: bytes are taken
// before a decode and given back after it, and the bytes held at once never
// exceed the limit. Requests are served in the order they came, so a large
// one is not starved by a stream of small ones. Thread-safe.
//
// A holder must never wait for more while it holds some (that is how two
// threads would deadlock, each holding part of what the other waits for):
// give back what you hold, then ask for the whole amount in one request, as
// MakePreviewImage does.
class PreviewBudget {
public:
  explicit PreviewBudget(std::uint64_t limitBytes);
  PreviewBudget(const PreviewBudget&) = delete;
  PreviewBudget& operator=(const PreviewBudget&) = delete;

  std::uint64_t Limit() const { return m_limit; }

  // Waits until `bytes` fit beside what the others hold, then holds them.
  // False at once, holding nothing, when `bytes` exceed the limit. 0 bytes
  // is true at once.
  bool Acquire(std::uint64_t bytes);

  // Gives back bytes taken by Acquire (never more than are held).
  void Release(std::uint64_t bytes);

  std::uint64_t Held() const;  // bytes held now
  std::uint64_t Peak() const;  // the most ever held at once

private:
  const std::uint64_t m_limit;
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::uint64_t m_held = 0;
  std::uint64_t m_peak = 0;
  std::uint64_t m_nextTicket = 0;  // first come, first served
  std::uint64_t m_serving = 0;
};

// What a picture tells about itself in its header and EXIF block.
struct PictureFacts {
  int width = 0;        // its size as shown, turned upright by the EXIF orientation; 0 when unknown
  int height = 0;
  std::string taken;    // the EXIF date taken (DateTimeOriginal) as "YYYY-MM-DD HH:MM:SS"; "" when none
  std::string camera;   // the EXIF maker and model in one text; "" when none
  long long durationMillis = 0;  // a video's length (VideoPoster.h); 0 for a picture or when unknown
};

// What a caller asks of MakePreviewImage beyond the preview. Everything
// asked for comes from one decode of the picture.
struct PreviewOptions {
  // Also take HEIC, HEIF and AVIF content (the phones' formats); without
  // it such content is NotAPicture, as any other unknown content.
  bool phoneFormats = false;
  // Above 0: a picture in a format browsers do not show (HEIC, HEIF, AVIF
  // and TIFF) also gets a rendition, a JPEG whose longer edge is at most
  // this many pixels (at least the preview's edge, at most
  // kMaxRenditionEdge; never enlarged) for a viewer to show instead of the
  // picture. A rendition takes no more than twice the picture's bytes, or
  // 256 KiB where that is more: saved at lower quality, then smaller, until
  // it fits (down to twice the preview's edge).
  int renditionEdge = 0;
  // With renditionEdge: any picture whose longer edge exceeds it gets a
  // rendition too, whatever its format, so a viewer need not load a
  // photo of several megabytes to show it on a screen.
  bool renditionOfLarge = false;
  // Above the preview's edge: a large preview as well, for screens with
  // two device pixels to a CSS pixel, whose longer edge is this many
  // pixels (at most 2 * kMaxPreviewEdge), or the picture's own where that
  // is less. A picture no larger than the preview gets none.
  int largeEdge = 0;
  // Transparent parts are laid on a checkerboard of two mid greys instead
  // of white (squares of about 8 pixels in the preview, as large in
  // proportion in the large preview and the rendition), so a picture
  // neither glares on a dark page nor hides that it is transparent.
  bool checkerboard = false;
};

struct PreviewImage {
  PreviewStatus status = PreviewStatus::NotAPicture;
  int width = 0;           // the preview's size in pixels, when made
  int height = 0;
  std::string jpeg;        // the preview file's bytes, mark included, when made
  std::uint64_t needed = 0;  // estimated decoding memory in bytes (0 before the header was read)
  std::string reason;      // short English reason for Broken, Failed and OverBudget
  PictureFacts facts;      // read from the header, when it could be read
  std::string rendition;   // the rendition's bytes (see PreviewOptions), mark included; "" when none
  int renditionWidth = 0;
  int renditionHeight = 0;
  std::string large;       // the large preview's bytes (see PreviewOptions), mark included; "" when none
  int largeWidth = 0;
  int largeHeight = 0;
};

// Makes the preview of a picture whose whole file content is `picture`;
// `longerEdge` is clamped to kMinPreviewEdge..kMaxPreviewEdge. Nothing here
// opens a file: the caller reads the picture and writes the preview.
//
// Budget: the caller holds `held` bytes of `budget` (taken with Acquire for
// the buffer it read the picture into; 0 when it took none). This function
// gives those back and, when held + the estimate fit the limit, waits for
// held + estimate in one request, decodes, and gives that back. On return
// the caller holds nothing of the budget, whatever the status: it must not
// Release `held` itself. When held + estimate exceed the limit, the status
// is OverBudget and nothing is decoded.
PreviewImage MakePreviewImage(std::string_view picture, int longerEdge, PreviewBudget& budget, std::uint64_t held);
PreviewImage MakePreviewImage(std::string_view picture, int longerEdge, PreviewBudget& budget, std::uint64_t held,
                              const PreviewOptions& options);

// Reads a picture's facts from its header and EXIF block without decoding
// its pixels (for a picture whose preview is still right). False when the
// content is none of the formats above (with `phoneFormats`, HEIC, HEIF and
// AVIF included) or its header cannot be read.
bool ReadPictureFacts(std::string_view picture, bool phoneFormats, PictureFacts& facts);

// How many pictures MakePreviewImage has decoded in this process (headers
// read without decoding the pixels not counted), and how many video frames
// MakeVideoPoster has made into posters. For tests that must prove
// a picture was not decoded.
std::uint64_t PreviewDecodeCount();

// The mark every preview carries: a JPEG comment segment right after the
// start-of-image marker. IsMarkedPreview tells from a file's first bytes
// (kPreviewMarkBytes of them are enough; fewer are never marked) whether
// it starts with the mark.
inline constexpr std::size_t kPreviewMarkBytes = 22;
bool IsMarkedPreview(std::string_view head);

struct PreviewResult {
  PreviewStatus status = PreviewStatus::NotAPicture;
  int width = 0;   // the preview's size in pixels, when made
  int height = 0;
  int error = 0;   // the system's error code of a failed write
  unsigned long long fileSize = 0;  // the preview file's size and modification
  long long modifyTime = 0;         // time (seconds since 1970), when made
};

// Makes the preview of `picture` (any path form the drive table accepts) and
// puts it at `preview` in one step, replacing a file of that name: a reader
// never sees a half-written preview. The folder of `preview` must exist.
// `longerEdge` is clamped to kMinPreviewEdge..kMaxPreviewEdge. Decoding
// memory comes from one budget of kDefaultPreviewBudget shared by every
// call of this function in the process.
PreviewResult MakePreview(std::string_view picture, std::string_view preview, int longerEdge);

// Gives back what the library keeps for the calling thread.
void EndPreviewThread();

// True when the name ends in the extension of one of the formats above
// (.jpg .jpeg .jpe .png .gif .bmp .webp .tif .tiff, any case): the files
// worth handing to MakePreview. A file so named that MakePreview refuses is
// a broken picture; any other file is simply not one.
bool HasPictureExtension(std::string_view fileName);

// True when the name ends in .heic .heif .hif or .avif (any case): the
// phones' pictures, read with PreviewOptions::phoneFormats.
bool HasPhonePictureExtension(std::string_view fileName);

// True when the name ends in the extension of a format browsers do not
// show (.tif .tiff and the phones' ones, any case): the pictures whose
// rendition a viewer shows even where renditions of large pictures are off.
bool HasUnshownPictureExtension(std::string_view fileName);

}  // namespace platform
