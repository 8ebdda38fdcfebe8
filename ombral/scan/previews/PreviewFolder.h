// CPreviewFolder: the folder of previews beside a folder's pictures, and
// the record that proves which of its files the scan wrote.
//
// The previews of the pictures "a.jpg" and "b.png" of a folder are
// "_xthumbs/a.jpg.jpg" and "_xthumbs/b.png.jpg". The record
// "_xthumbs/_xthumbs.txt" (PreviewRecord.h) holds one line per picture. A
// folder of that name is the scan's own only when it is a plain folder with
// a record the scan can trust: a regular file with one link that belongs to
// the user the scan runs as (or to the administrator), starts with the
// record's first line, and may not be changed by anyone who could not
// change the preview folder itself; all but the first line are checked on
// the opened file before a byte of it is read. Anything else of that name is somebody else's: the scan
// neither writes into it nor deletes from it.
//
// Every step goes through the open folders: the preview folder is opened
// from its picture folder without following a link.
#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>

#include "previews/PreviewRecord.h"
#include "platform/FolderHandle.h"
#include "platform/String.h"

class CPreviewFolder {
public:
  static constexpr const char* kFolderName = "_xthumbs";
  static constexpr const char* kRecordName = "_xthumbs.txt";
  // Every record, of either form, starts with this text.
  static constexpr std::string_view kMarkText = preview_record::kHeadPrefix;

  using Line = preview_record::Line;
  using Stamp = preview_record::Stamp;

  enum class State {
    Absent,   // nothing of the folder's name
    Ours,     // a plain folder with a record the scan trusts
    Foreign,  // something else of that name (a link, a file, a folder without such a record)
  };

  // `pictures` is the open folder whose pictures the previews show, and
  // `picturesPath` its path text for messages.
  CPreviewFolder(platform::SharedFolder pictures, CString picturesPath);

  // The preview folder may be read by no more than its picture folder may
  // be listed by: at most these permission bits, and then this group. A
  // folder made is given them; one found with more is narrowed (when Open
  // may change things).
  void LimitAccess(std::uint32_t modeLimit, std::optional<std::uint32_t> group);
  // What the preview folder's file system keeps of its files.
  const platform::FileSystemTraits& Traits() const { return m_traits; }
  // Whether files in it may carry access control lists they inherited (the
  // folder had a default list when it was opened).
  bool MayHoldAcls() const { return m_inheritedAcls; }

  // Looks at the preview folder, reads its record and its file names; with
  // `removeLeftovers` it removes the temporary files an interrupted run left
  // there (they are never among the file names). `pictureCount`, the
  // pictures of the folder, bounds the size a record may have. An empty
  // folder of the scan's own user without a record (a run could not write
  // it) is Absent, and Create adopts it.
  State Open(bool removeLeftovers = false, std::size_t pictureCount = 0);
  State GetState() const { return m_state; }
  // Makes the folder (or adopts the empty one Open found) and an empty
  // record; Ours on success.
  platform::FsStatus Create();
  // The open preview folder (when Ours).
  const platform::SharedFolder& Handle() const { return m_folder; }

  const std::map<std::string, Line>& Records() const { return m_records; }
  const Line* Find(const std::string& picture) const;
  void Set(const std::string& picture, const Line& line);
  void Erase(const std::string& picture);
  bool IsChanged() const { return m_changed; }
  // Writes the whole record into a new file that takes its name.
  platform::FsStatus Save();
  // Adds one line at the end of the record on disk, before the preview it
  // names takes its name: a run killed at any moment leaves a record that
  // names every preview it wrote. Safe from several threads.
  bool Note(const std::string& picture, const Line& line) const;

  // Whether the preview folder holds a file of that name (when it was opened).
  bool HasFile(const std::string& name) const { return m_fileNames.count(name) != 0; }
  const std::set<std::string>& FileNames() const { return m_fileNames; }
  // The status of the file under a picture's preview name, not followed.
  bool LookPreview(const std::string& picture, platform::EntryInfo& info) const;
  // The files an earlier run kept for a picture, each looked at once (not
  // followed): its preview (when the folder listed one), and the large
  // preview and rendition its record line (`line`) names. Unset: nothing
  // there.
  struct KeptFiles {
    const Line* line = nullptr;
    std::optional<platform::EntryInfo> preview, large, rendition;
  };
  KeptFiles LookKept(const std::string& picture, const Line& line) const;
  // A line of a first-form record names its preview by size and time only;
  // the later forms need its digest. Makes `line` one of the later forms:
  // with the digest of its preview, read once while that file still has
  // the line's size and time. False for a preview line whose file is gone
  // or is another file: it would name no preview read back. (The walk
  // upgrades the lines of the pictures it meets; writing the record, the
  // rest, leaving out those that fail.)
  bool Upgrade(const std::string& picture, Line& line) const;
  // Whether the file under the picture's preview name holds what the scan
  // wrote there: the record's digest, a first-form record's size and time,
  // or (with `markCounts`) the mark every preview carries.
  bool IsOwnPreviewContent(const std::string& picture, bool markCounts) const;

  // The rendition of a picture (the gallery's viewer shows it instead of
  // the picture): "<picture>.jpeg", a name no preview can have, since
  // every preview's name ends in ".jpg".
  static std::string RenditionName(const std::string& picture) { return FileNameFor(picture, ".jpeg"); }
  // Whether the file under the rendition's name has the recorded digest.
  bool IsOwnRenditionContent(const std::string& picture) const;
  CString RenditionPath(const std::string& picture) const;
  // The large preview of a picture, for screens with two device pixels to a
  // CSS pixel: "<picture>.2x.jpg". No preview has such a name: a preview's
  // is its picture's name and ".jpg", and previews are made only of
  // pictures whose names end in a picture's extension (".jpg", ".png",
  // ".heic", ...), never in ".2x"; a shortened name ends in '~', 16
  // hexadecimal digits (no '.') and the suffix. A rendition's ends in
  // ".jpeg". Kept, trusted and removed by the same rules as the rendition.
  static std::string LargePreviewName(const std::string& picture) { return FileNameFor(picture, ".2x.jpg"); }
  // Whether the file under the large preview's name has the recorded digest.
  bool IsOwnLargeContent(const std::string& picture) const;
  CString LargePath(const std::string& picture) const;
  // The record is written in its third form from now on (the gallery's
  // facts); a record read in that form keeps it anyway. (It takes the
  // fourth by itself, as soon as one of its lines has a large preview, and
  // the fifth as soon as one has a video's length.)
  void UseThirdForm();

  CString PreviewPath(const std::string& picture) const;      // path text of a picture's preview
  std::string PreviewLink(const std::string& picture) const;  // "_xthumbs/<name>.jpg", not escaped
  CString FolderPath() const { return m_path; }
  CString RecordPath() const { return m_path + "\\" + kRecordName; }
  static std::string PreviewName(const std::string& picture) { return FileNameFor(picture, ".jpg"); }
  // The name of a file the scan keeps for a picture: the picture's name and
  // `suffix`; where that would be longer than a name may be (255 bytes),
  // the picture name's first bytes (whole characters), '~' and 16
  // hexadecimal digits of the whole name's MD5 digest, then `suffix`. The
  // same picture always gets the same name; two long names that begin
  // alike get different ones.
  static std::string FileNameFor(const std::string& picture, std::string_view suffix);

private:
  platform::ReadStatus ReadRecord(std::uint64_t limit);
  // Writes the record anew with its lines (`withNoted`: and the lines
  // noted since it was last saved, which take precedence), in the latest
  // form any of them needs. The caller holds m_journalMutex.
  platform::FsStatus WriteWhole(bool withNoted) const;
  // Takes away a default access list and permissions beyond the limit.
  void NarrowAccess();
  bool IsTrustedRecord(const platform::EntryInfo& record) const;

  platform::SharedFolder m_pictures;
  platform::SharedFolder m_folder;
  platform::EntryInfo m_folderInfo;
  platform::FileSystemTraits m_traits;
  bool m_adoptable = false;  // an empty folder of ours without a record: Create takes it
  std::uint32_t m_modeLimit = 07777;
  std::optional<std::uint32_t> m_group;
  bool m_inheritedAcls = false;
  CString m_path;
  State m_state = State::Absent;
  std::map<std::string, Line> m_records;
  std::set<std::string> m_fileNames;
  bool m_changed = false;
  int m_form = 2;              // the least form the record is written in
  mutable int m_diskForm = 2;  // the form of the record on disk (lines added to it take it)
  // Guards the journal, the record on disk and, since a noted line may
  // write the whole record, the lines themselves and the noted ones.
  mutable std::mutex m_journalMutex;
  mutable std::map<std::string, Line> m_noted;  // lines noted since the record was last saved
  mutable platform::AppendFile m_journal;
};
