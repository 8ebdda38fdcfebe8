// The picker handler registry, its non-blocking default, and the original
// filter-list format.
#include "platform/Pickers.h"

#include <cstdio>
#include <cstring>

namespace platform {
namespace {

PickerHandler* g_pickers = nullptr;

}  // namespace

PickerHandler* SetPickerHandler(PickerHandler* handler) {
  PickerHandler* previous = g_pickers;
  g_pickers = handler;
  return previous;
}

bool ShowOpenFilePicker(const OpenFileRequest& request, std::string& path) {
  if (g_pickers) return g_pickers->PickFile(request, path);
  std::fprintf(stderr, "No file picker available: \"%s\" cancelled.\n",
               request.title.empty() ? "Open" : request.title.c_str());
  return false;
}

bool ShowFolderPicker(const FolderRequest& request, std::string& path) {
  if (g_pickers) return g_pickers->PickFolder(request, path);
  std::fprintf(stderr, "No folder picker available: \"%s\" cancelled.\n",
               request.title.empty() ? "Browse for Folder" : request.title.c_str());
  return false;
}

std::vector<FileFilter> ParseFilterList(const char* list) {
  std::vector<FileFilter> filters;
  if (!list) return filters;
  // Each text ends at its zero byte; an empty text ends the list.
  while (*list) {
    const char* description = list;
    const char* patterns = description + std::strlen(description) + 1;
    if (!*patterns) break;  // a description without patterns
    filters.push_back({description, patterns});
    list = patterns + std::strlen(patterns) + 1;
  }
  return filters;
}

}  // namespace platform
