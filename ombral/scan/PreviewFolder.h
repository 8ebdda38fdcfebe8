// CPreviewFolder: the folder of previews beside a folder's pictures, and
// the record that proves which of its files the scan wrote.
//
// The previews of "T:\Pics\a.jpg" and "T:\Pics\b.png" are
// "T:\Pics\_xthumbs\a.jpg.jpg" and "T:\Pics\_xthumbs\b.png.jpg". The record
// "_xthumbs\_xthumbs.txt" starts with a fixed first line and holds one line
// per picture: its size and time when its preview was made, the preview's
// own size, time and pixel size, or that the picture could not be read. A
// folder of that name without such a record is somebody else's: the scan
// neither writes into it nor deletes from it nor hides it from the walk.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "platform/String.h"

class CPreviewFolder {
public:
  static constexpr const char* kFolderName = "_xthumbs";
  static constexpr const char* kRecordName = "_xthumbs.txt";

  struct Record {
    bool broken = false;                 // the picture could not be read
    std::uint64_t pictureSize = 0;       // the picture when it was last read
    std::int64_t pictureTime = 0;
    std::uint64_t previewSize = 0;       // the preview as written; 0 0 when none
    std::int64_t previewTime = 0;
    int width = 0;                       // the preview's pixels
    int height = 0;
    bool HasPreview() const { return previewTime != 0; }
  };

  enum class State {
    Absent,   // nothing of the folder's name
    Ours,     // a plain folder with a valid record
    Foreign,  // something else of that name (a link, a file, a folder without record)
  };

  // `root` is the scanned tree (removals never leave it), `folder` the
  // folder whose pictures the previews show.
  CPreviewFolder(const CString& root, const CString& folder);

  // Looks at the preview folder and reads its record and its file names.
  State Open();
  State GetState() const { return m_state; }
  // Makes the folder and an empty record; Ours on success.
  bool Create();

  // True when `path` is a preview folder with a valid record (a folder the
  // walk leaves out).
  static bool IsPreviewFolder(const CString& path);

  const std::map<std::string, Record>& Records() const { return m_records; }
  const Record* Find(const std::string& picture) const;
  void Set(const std::string& picture, const Record& record);
  void Erase(const std::string& picture);
  bool IsChanged() const { return m_changed; }
  // Writes the record (into a new file renamed into place); false when that fails.
  bool Save();

  // Whether the preview folder holds a file of that name (when it was opened).
  bool HasFile(const std::string& name) const { return m_fileNames.count(name) != 0; }
  const std::set<std::string>& FileNames() const { return m_fileNames; }

  CString PreviewPath(const std::string& picture) const;   // full path of a picture's preview
  std::string PreviewLink(const std::string& picture) const;  // "_xthumbs/<name>.jpg", not escaped
  CString FolderPath() const { return m_path; }
  CString RecordPath() const { return m_path + "\\" + kRecordName; }
  static std::string PreviewName(const std::string& picture) { return picture + ".jpg"; }

  // Whether the preview file is the one the record says the scan wrote (a
  // plain file inside the tree of the recorded size and time).
  bool IsOwnPreview(const std::string& picture) const;

private:
  bool ReadRecord();

  CString m_root;
  CString m_path;
  State m_state = State::Absent;
  std::map<std::string, Record> m_records;
  std::set<std::string> m_fileNames;
  bool m_changed = false;
};
