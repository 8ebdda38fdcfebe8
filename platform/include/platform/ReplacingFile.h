// ReplacingFile: writes a file of a folder so that a reader, a crash or a
// kill sees either the old file or the new one, never a mix, and never
// writes through a link.
//
//   platform::ReplacingFile page;
//   if (page.Begin(folder, "_FileIndex.html", {})) {
//     page.Write(text);
//     switch (page.Commit()) { ... }
//   }
//
// Begin looks at the name (through the folder handle, not following it): a
// plain file or nothing may be replaced; a link, folder, pipe, socket or
// device is reported and left alone. It then creates a new temporary file
// in the same folder ("<prefix><process>.<random>", see SetTemporaryPrefix;
// created exclusively, never through a link, with no access control list
// inherited from the folder); where an old file may be kept as it is, only
// once the new bytes differ from it, so an unchanged file does not touch
// its folder at all. Write collects the bytes; Commit writes them,
// gives the file its permissions and puts it under the name in one step
// (swapping the names and removing the old file, or renaming over it).
// When the new bytes equal the old file's, the old file stays (no
// rename, no new inode, the same modification time), whatever the file's
// size: a long file is compared piece by piece as it is written, with the
// old file opened once (never through a link) and kept only when it is
// still that file, unchanged while it was read; its pieces are held in
// memory while they match (up to 64 MiB, past which the temporary file is
// made after all). Every failure removes the temporary file; so does
// destroying an unfinished writer.
//
// Commit may run on another thread than Begin (the folder is shared).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/FolderHandle.h"

namespace platform {

class ReplacingFile {
public:
  enum class Outcome {
    Created,    // the name was free; the new file stands there now
    Replaced,   // the old file was replaced by the new one
    Unchanged,  // the old file already held exactly these bytes and stays
    NameTaken,  // a link, folder, pipe, socket or device holds the name; nothing written
    Failed,     // the system refused (Error() tells why); the old file, if any, is intact
  };

  struct Options {
    // Permissions of a new file; unset: 0666 less the process's mask. When
    // an old file is replaced, its permissions are kept instead unless
    // `forceMode` is set.
    std::optional<std::uint32_t> mode;
    bool forceMode = false;
    // The permission bits the file may carry at most, whatever the rules
    // above give it (a page of a folder only its owner may list gets none
    // for group and others). An old file with more is not kept as it is.
    std::optional<std::uint32_t> modeLimit;
    // The group the file should belong to; when it cannot be given that
    // group, the group's permission bits are cleared, so the file is never
    // readable by more users than asked.
    std::optional<std::uint32_t> group;
    // Compare with the old file and keep it when equal.
    bool keepUnchanged = true;
    // The folder may hand its new files an access control list (a default
    // list): the new file's is taken away before its first byte. False
    // only when the folder is known to have none (one call less a file).
    bool mayInheritAcl = true;
    // Replace an old file by swapping the names and removing the old one,
    // rather than by a rename over it. Cheaper on ext4, whose rename over a
    // file also starts writing the new one to the disk at once; that write
    // is what keeps a renamed file whole across a power loss, so records
    // that must survive one turn this off.
    bool exchange = true;
  };

  ReplacingFile() = default;
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Starts the file `name` of `folder`. False when the name is taken by
  // something that is not a plain file (GetOutcome() NameTaken, TakenBy()
  // tells what) or the temporary file cannot be created (Failed, Error()).
  bool Begin(SharedFolder folder, std::string name, const Options& options);
  bool IsActive() const { return m_active; }

  // Adds bytes; false once a write has failed (the failure comes back from
  // Commit).
  bool Write(std::string_view bytes);

  // Finishes the file: see Outcome. After Commit the writer is idle again.
  Outcome Commit();
  // Commit in two halves, for callers that note the new file somewhere
  // before it takes the name: Finish completes the temporary file (Written()
  // then describes it) and answers Created or Replaced when it is ready to
  // take the name, or ends the writer with Unchanged, NameTaken or Failed;
  // Publish then renames it (or drops it, as Abandon, when not called).
  Outcome Finish();
  Outcome Publish();
  // Commit with a step between the halves: `beforeName` runs once the new
  // file is complete, before it takes the name (also when the old file
  // already held these bytes, but not when nothing was written).
  Outcome Commit(const std::function<void()>& beforeName);
  // Drops the new file; the old one stays.
  void Abandon();

  Outcome GetOutcome() const { return m_outcome; }
  int Error() const { return m_error; }
  // What held the name when it was NameTaken.
  EntryKind TakenBy() const { return m_takenBy; }
  // The status of the file now standing under the name (after Created,
  // Replaced or Unchanged).
  const EntryInfo& Written() const { return m_written; }
  // Bytes handed to Write since Begin.
  std::uint64_t Size() const { return m_size; }

  // The temporary files' names begin with this text: the program's own
  // (".#ombral." for Ombral), so they are told apart from other programs'
  // files and found again after a kill. Set once, before any file is
  // written; `prefix` must live as long as the process (a string literal).
  // The default is ".#tmp.".
  static void SetTemporaryPrefix(const char* prefix);

  // True when `name` has the form of this class's temporary files.
  static bool IsTemporaryName(std::string_view name);
  // Removes `name` of `folder` when it is a temporary file an earlier,
  // interrupted process left: a regular file of the temporary form, owned
  // by the user this process acts as, with one link, whose process no
  // longer runs. False (nothing removed) otherwise.
  static bool RemoveLeftover(const FolderHandle& folder, std::string_view name);

private:
  bool Flush();
  bool SameAsOld(const EntryInfo& old);
  // The comparison of a streamed file with the old one, piece by piece.
  void StartComparing();
  void CompareWithOld(std::string_view bytes);
  void StopComparing();
  bool StreamedSameAsOld(const EntryInfo& old);
  // The permissions the file ends with.
  unsigned FinalMode(const EntryInfo* old) const;
  Outcome Fail(int error);
  // Makes the temporary file (m_fd, m_temp); false with m_error set.
  bool CreateTemporary();

  SharedFolder m_folder;
  std::string m_name;
  std::string m_temp;
  Options m_options;
  bool m_active = false;  // begun, and neither failed, abandoned nor published
  unsigned m_createMode = 0;  // the temporary file's permissions when it is made
  int m_fd = -1;  // the temporary file, once made
  std::string m_pending;            // bytes not yet written to the temporary file
  std::size_t m_compared = 0;       // of them, those compared with the old file already
  bool m_keptAll = true;
  int m_oldFd = -1;                 // the old file, while a streamed file still matches it
  bool m_oldMatches = false;        // every streamed byte so far equals the old file's
  EntryInfo m_oldOpened;            // the old file as it was opened
  bool m_finished = false;          // Finish done, Publish due
  std::uint64_t m_size = 0;
  Outcome m_outcome = Outcome::Failed;
  int m_error = 0;
  EntryKind m_takenBy = EntryKind::Missing;
  EntryInfo m_written;
};

}  // namespace platform
