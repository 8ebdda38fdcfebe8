// The open-file picker and the folder picker, behind a replaceable handler.
//
// The default handler (nothing installed) answers every request with
// "cancelled" after a note on standard error, so a program without a window
// system never blocks; the desktop handler (InstallDesktopHandlers) shows the
// window system's file dialog; tests install one that records the request
// and answers it.
//
// Paths in requests are Windows paths as the libraries use them; paths in
// answers are in drive form ("C:\home\me\a.jpg").
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/WinUser.h"

// Options of the open-file picker.
inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_NOTESTFILECREATE = 0x00010000;
inline constexpr DWORD OFN_EXPLORER = 0x00080000;
inline constexpr DWORD OFN_LONGNAMES = 0x00200000;

namespace platform {

struct FileFilter {
  std::string description;  // "All files (*.*)"
  std::string patterns;     // "*.*" or "*.jpg;*.gif"
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

struct OpenFileRequest {
  HWND owner = nullptr;
  std::string title;                         // "" = the picker's own title
  std::optional<std::string> initialFolder;  // none = the picker chooses
  std::vector<FileFilter> filters;           // at least one
  int filterIndex = 0;                       // 1-based; 0 = the first
  DWORD flags = 0;                           // OFN_*
};

struct FolderRequest {
  HWND owner = nullptr;
  std::string title;  // the instruction above the folders; "" = none
};

class PickerHandler {
public:
  virtual ~PickerHandler() = default;
  // True with the chosen file's path; false when cancelled or failed.
  virtual bool PickFile(const OpenFileRequest& request, std::string& path) = 0;
  // True with the chosen folder's path; false when cancelled or failed.
  virtual bool PickFolder(const FolderRequest& request, std::string& path) = 0;
};

// Installs a handler (not owned); null puts the default back. Returns the
// previous one (null for the default).
PickerHandler* SetPickerHandler(PickerHandler* handler);

bool ShowOpenFilePicker(const OpenFileRequest& request, std::string& path);
bool ShowFolderPicker(const FolderRequest& request, std::string& path);

// A filter list in the original format: pairs of zero-terminated texts
// (description, patterns) ended by an extra zero byte. A null or empty list,
// or one without a complete pair, gives no filters; a description without
// its pattern text is dropped.
std::vector<FileFilter> ParseFilterList(const char* list);

}  // namespace platform
