// CZnWndTool's pickers.
#include "znwidgets/ZnWndTool.h"

#include <cstring>
#include <optional>
#include <string>

#include "platform/FileSystem.h"
#include "platform/Pickers.h"

namespace {

// Ask before overwriting, hide the read-only box, keep the current
// directory, do not test-create the file, explorer style, long names.
constexpr DWORD kOpenFileFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                                 OFN_NOTESTFILECREATE | OFN_EXPLORER | OFN_LONGNAMES;
static_assert(kOpenFileFlags == 0x0029000E);

// Copies a result and its terminator into a caller's 260-byte buffer; 0
// (and the buffer untouched) when it does not fit.
int CopyToPathBuffer(const std::string& text, char* buffer) {
  if (!buffer || text.size() >= static_cast<std::size_t>(MAX_PATH)) return 0;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return 1;
}

// The folder part of a path (drive and directory, as the path splitter
// divides it), and the name with its extension.
std::string FolderPart(const std::string& path) {
  const std::size_t separator = path.find_last_of("\\/");
  if (separator != std::string::npos) return path.substr(0, separator + 1);
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

std::string NamePart(const std::string& path) {
  return path.substr(FolderPart(path).size());
}

// The text of a chosen file by mode, without trailing backslashes.
std::string ResultText(const std::string& chosen, int mode, const char* folderLookedFor) {
  CZnString text;
  switch (mode) {
    case 1:
      text = chosen.c_str();
      break;
    case 2:
      text = FolderPart(chosen).c_str();
      break;
    case 3: {
      // The name alone when the file lies in (the path names) the initial
      // folder; the full path otherwise.
      const CZnString full(chosen.c_str());
      const bool found = folderLookedFor && full.FindNoCase(folderLookedFor) >= 0;
      text = found ? NamePart(chosen).c_str() : chosen.c_str();
      break;
    }
    default:
      text = NamePart(chosen).c_str();
      break;
  }
  text.TrimRight('\\');
  return std::string(text.GetView());
}

// Shows the file picker; the result text, or nothing when not done.
std::optional<std::string> PickFile(HWND owner, const char* title, const char* initialFolder,
                                    const char* filterList, int mode) {
  try {
    platform::OpenFileRequest request;
    request.owner = owner;
    if (title && *title) request.title = title;
    if (initialFolder) {
      request.initialFolder = *initialFolder ? initialFolder : platform::GetCurrentDirectoryPath();
    }
    if (filterList && *filterList) request.filters = platform::ParseFilterList(filterList);
    if (request.filters.empty()) request.filters = {{"All files (*.*)", "*.*"}};
    request.flags = kOpenFileFlags;
    std::string chosen;
    if (!platform::ShowOpenFilePicker(request, chosen)) return std::nullopt;
    if (mode != 2 && chosen.empty()) return std::nullopt;
    const char* lookedFor = request.initialFolder ? request.initialFolder->c_str() : nullptr;
    return ResultText(chosen, mode, lookedFor);
  } catch (...) {
    return std::nullopt;
  }
}

std::optional<std::string> PickFolder(HWND owner, const char* title) {
  try {
    platform::FolderRequest request;
    request.owner = owner;
    if (title && *title) request.title = title;
    std::string chosen;
    if (!platform::ShowFolderPicker(request, chosen)) return std::nullopt;
    return chosen;
  } catch (...) {
    return std::nullopt;
  }
}

// The window form of both pickers: the window's text, then the copy.
int SetTargetText(CWnd* target, const std::optional<std::string>& text, char* copy) {
  if (!text) return 0;
  if (copy && text->size() >= static_cast<std::size_t>(MAX_PATH)) return 0;
  try {
    target->SetWindowText(text->c_str());
  } catch (...) {
    return 0;
  }
  if (copy) CopyToPathBuffer(*text, copy);
  return 1;
}

}  // namespace

int CZnWndTool::GetFileSelection(char* result, HWND owner, const char* title,
                                 const char* initialFolder, const char* filterList, int mode) {
  if (!result) return 0;
  const std::optional<std::string> text = PickFile(owner, title, initialFolder, filterList, mode);
  return text ? CopyToPathBuffer(*text, result) : 0;
}

int CZnWndTool::GetFileSelection(CZnString& result, HWND owner, const char* title,
                                 const char* initialFolder, const char* filterList, int mode) {
  const std::optional<std::string> text = PickFile(owner, title, initialFolder, filterList, mode);
  if (!text) return 0;
  result = text->c_str();
  return 1;
}

int CZnWndTool::GetFileSelection(CWnd* target, HWND owner, const char* title,
                                 const char* initialFolder, const char* filterList, int mode,
                                 char* copy) {
  if (!target || !target->m_hWnd) return 0;
  return SetTargetText(target, PickFile(owner, title, initialFolder, filterList, mode), copy);
}

int CZnWndTool::GetFolderSelection(char* result, HWND owner, const char* title, const char*) {
  if (!result) return 0;
  const std::optional<std::string> text = PickFolder(owner, title);
  return text ? CopyToPathBuffer(*text, result) : 0;
}

int CZnWndTool::GetFolderSelection(CZnString& result, HWND owner, const char* title,
                                   const char*) {
  const std::optional<std::string> text = PickFolder(owner, title);
  if (!text) return 0;
  result = text->c_str();
  return 1;
}

int CZnWndTool::GetFolderSelection(CWnd* target, HWND owner, const char* title, const char*,
                                   char* copy) {
  if (!target || !target->m_hWnd) return 0;
  return SetTargetText(target, PickFolder(owner, title), copy);
}
