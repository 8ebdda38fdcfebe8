// FileExist and EnsurePath.
//
// EnsurePath tests whether a folder exists by its status, where the original
// system searched for "<folder>\*.*": the same answer for every folder,
// including a drive's root, which lists no "." entry here, and an existing
// folder whose names may not be read. It works on texts of any length.
#include "FileProbe.h"

#include <string>
#include <string_view>
#include <vector>

#include "platform/FileFind.h"
#include "platform/FileSystem.h"
#include "platform/Io.h"
#include "zncore/ZnString.h"

namespace zncore::detail {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsFolder(const std::string& path) {
  platform::FileStat stat;
  return platform::GetFileStat(path.empty() ? std::string_view(".") : std::string_view(path), stat) &&
         stat.isDirectory;
}

// Splits off the part of the path that is never created: "X:" with the
// separator after it, a leading separator (the root of the current drive,
// or "/" of a native path), or "\\server\share" of a network path.
std::string_view SplitRoot(std::string_view& rest) {
  std::size_t length = 0;
  if (rest.size() >= 2 && rest[1] == ':') {
    length = 2;
    if (length < rest.size() && IsSeparator(rest[length])) ++length;
  } else if (rest.size() >= 2 && IsSeparator(rest[0]) && IsSeparator(rest[1])) {
    // A network path: the server and share names are part of its root.
    length = 2;
    for (int names = 0; names < 2; ++names) {
      while (length < rest.size() && !IsSeparator(rest[length])) ++length;
      if (names == 0 && length < rest.size()) ++length;
    }
  } else if (!rest.empty() && IsSeparator(rest[0])) {
    length = 1;
  }
  const std::string_view root = rest.substr(0, length);
  rest.remove_prefix(length);
  return root;
}

std::vector<std::string_view> Pieces(std::string_view text) {
  std::vector<std::string_view> pieces;
  while (!text.empty()) {
    std::size_t end = 0;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    if (end > 0) pieces.push_back(text.substr(0, end));
    text.remove_prefix(end < text.size() ? end + 1 : end);
  }
  return pieces;
}

// Drive and folder of a file path, as the path splitter gives them but
// without its 255-byte cut, so a long path keeps all its levels.
std::string FolderOfFile(std::string_view path) {
  if (const std::size_t sep = path.find_last_of("\\/"); sep != std::string_view::npos)
    return std::string(path.substr(0, sep + 1));
  if (path.size() >= 2 && path[1] == ':') return std::string(path.substr(0, 2));
  return {};
}

// A folder path without its trailing backslashes.
std::string FolderText(const char* path) {
  CZnString text(path);
  text.DelEndChar('\\');
  return text.GetStdString();
}

// Creates one level; a folder made by someone else meanwhile counts as made.
bool MakeLevel(const std::string& path) { return _mkdir(path.c_str()) == 0 || IsFolder(path); }

}  // namespace

int FileExist(const CString& file, const CString& path) {
  CZnString name;
  if (path.IsEmpty() || file.Find('\\') >= 0 || file.GetAt(0) == '/') {
    name = file;
  } else {
    CZnString folder(path);
    folder.DelEndChar('\\');
    name = folder + "\\" + file;
  }
  CFileFind finder;
  const BOOL found = finder.FindFile(name);
  finder.Close();
  return found ? 1 : 0;
}

int EnsurePath(const char* path, int namesFile, int create) {
  if (!path) return 0;
  const std::string folder = namesFile ? FolderOfFile(path) : FolderText(path);
  // An empty folder text means the current folder (a bare file name) or
  // the root of the current drive (a folder path of separators only).
  const std::string probe = folder.empty() && !namesFile ? std::string("\\") : folder;
  if (IsFolder(probe)) return 1;
  if (!create) return 0;

  std::string_view rest(folder);
  std::string built(SplitRoot(rest));
  if (!built.empty() && !IsFolder(built)) return 0;  // a root is never created
  for (std::string_view piece : Pieces(rest)) {
    if (!built.empty() && !IsSeparator(built.back())) built += '\\';
    built += piece;
    if (!IsFolder(built) && !MakeLevel(built)) return 0;
  }
  return 1;
}

}  // namespace zncore::detail
