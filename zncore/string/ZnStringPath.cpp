// CZnString: Windows path and file-name operations.
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Crt.h"
#include "platform/FileSystem.h"
#include "zncore/ZnString.h"

namespace {

std::string_view ViewOf(const char* text) { return text ? std::string_view(text) : std::string_view(); }

CZnString FromString(std::string bytes) { return CZnString(CString(std::move(bytes))); }

constexpr std::string_view kInvalidInPath = "?*|<>\"\t\n'";
constexpr std::string_view kInvalidInName = "?*|<>\"\t\n'\\:/";
constexpr std::string_view kReplacedInName = "?*|<>\"\t\n' #;\\:/";

// The longest name IsValidFileName accepts: the original platform's path
// buffer of 260 bytes.
constexpr std::size_t kMaxValidName = 260;

// A text without its trailing run of backslashes.
std::string WithoutTrailingBackslashes(std::string text) {
  const std::size_t last = text.find_last_not_of('\\');
  text.resize(last == std::string::npos ? 0 : last + 1);
  return text;
}

// The drive ("C:") of the current directory; "" when it lies on no drive.
std::string CurrentDrive() { return platform::SplitPath(platform::GetCurrentDirectoryPath()).drive; }

// The folder names of a dir part, cut at backslashes; runs make no empty names.
std::vector<std::string_view> FolderNames(std::string_view dir) {
  std::vector<std::string_view> names;
  std::size_t pos = 0;
  while (pos < dir.size()) {
    const std::size_t end = std::min(dir.find('\\', pos), dir.size());
    if (end > pos) names.push_back(dir.substr(pos, end - pos));
    pos = end + 1;
  }
  return names;
}

}  // namespace

CZnString CZnString::GetDrive(int withoutColon) const {
  std::string drive = platform::SplitPath(GetView()).drive;
  if (withoutColon) {
    const std::size_t last = drive.find_last_not_of(":\\");
    drive.resize(last == std::string::npos ? 0 : last + 1);
  }
  return FromString(std::move(drive));
}

CZnString CZnString::GetPath() const {
  const platform::PathParts parts = platform::SplitPath(GetView());
  return FromString(WithoutTrailingBackslashes(parts.drive + parts.dir));
}

CZnString CZnString::GetFilename() const {
  const platform::PathParts parts = platform::SplitPath(GetView());
  return FromString(parts.fname + parts.ext);
}

CZnString CZnString::GetFiletitle() const { return FromString(platform::SplitPath(GetView()).fname); }

CZnString CZnString::GetExtension() const { return FromString(platform::SplitPath(GetView()).ext); }

CZnString CZnString::SetFileExtension(const char* extension, int force) const {
  const std::string_view given = ViewOf(extension);
  if (given.size() > 4 || IsEmpty()) return *this;
  const std::string newExt = (!given.empty() && given.front() == '.') ? std::string(given) : std::string(".").append(given);
  const platform::PathParts parts = platform::SplitPath(GetView());
  const bool replace = force || parts.ext.size() <= 1;
  return FromString(parts.drive + parts.dir + parts.fname + (replace ? newExt : parts.ext));
}

CZnString CZnString::AbsolutePath(const char* base) const {
  const std::string_view path = GetView();
  // "X:..." has its drive; "/..." is a native absolute path on this port.
  if ((path.size() >= 2 && path[1] == ':') || (!path.empty() && path.front() == '/')) return *this;
  if (!path.empty() && path.front() == '\\') return FromString(CurrentDrive() + std::string(path));
  std::string folder = WithoutTrailingBackslashes(std::string(ViewOf(base)));
  if (!folder.empty() && folder.front() == '\\') folder.insert(0, CurrentDrive());
  return FromString(folder + "\\" + std::string(path));
}

CZnString CZnString::RelativePath(const char* base) const {
  if (!IsEmpty() && GetView().front() == '\\') return *this;
  CZnString rest(*this);
  rest.FindReplaceNoCase(base, "", 0);
  return FromString(WithoutTrailingBackslashes(platform::SplitPath(rest.GetView()).dir));
}

CZnString CZnString::GetFirstPath() const {
  const std::string dir = platform::SplitPath(GetView()).dir;
  const std::vector<std::string_view> names = FolderNames(dir);
  return names.empty() ? CZnString() : FromString(std::string(names.front()));
}

CZnString CZnString::GetLastPath() const {
  const std::string dir = platform::SplitPath(GetView()).dir;
  const std::vector<std::string_view> names = FolderNames(dir);
  return names.empty() ? CZnString() : FromString(std::string(names.back()));
}

CZnString CZnString::GetFileNameByWildcard(const char* pattern) const {
  if (Find('*') >= 0) return *this;
  const platform::PathParts file = platform::SplitPath(GetView());
  platform::PathParts wild = platform::SplitPath(ViewOf(pattern));
  if (wild.fname.empty()) wild.fname.assign(1, '*');
  // An asterisk anywhere in a part takes the file's part whole.
  auto pick = [](const std::string& wildPart, const std::string& filePart) {
    return wildPart.find('*') != std::string::npos ? filePart : wildPart;
  };
  return FromString((wild.drive.empty() ? file.drive : wild.drive) + (wild.dir.empty() ? file.dir : wild.dir) +
                    pick(wild.fname, file.fname) + pick(wild.ext, file.ext));
}

int CZnString::IsValidFileName(int pathAllowed) const {
  const std::string_view name = GetView();
  if (name.size() > kMaxValidName) return 0;
  // A zero byte would end the name at the system boundary: never valid.
  if (name.find('\0') != std::string_view::npos) return 0;
  return name.find_first_of(pathAllowed ? kInvalidInPath : kInvalidInName) == std::string_view::npos ? 1 : 0;
}

CZnString CZnString::FindReplaceCharset(const char* charSet, char replacement) {
  const std::string_view set = ViewOf(charSet);
  if (!set.empty()) {
    std::string text(GetView());
    for (char& c : text) {
      if (set.find(c) != std::string_view::npos) c = replacement;
    }
    CString::operator=(CString(std::move(text)));
  }
  return *this;
}

CZnString CZnString::ReplaceInvalidFilenameChars(char replacement) {
  return FindReplaceCharset(std::string(kReplacedInName).c_str(), replacement);
}

CZnString CZnString::ConvertANSI(const char* text) const {
  const std::string_view source = text ? std::string_view(text) : GetView();
  std::string result;
  result.reserve(source.size());
  for (char c : source) {
    switch (static_cast<unsigned char>(c)) {
      case 196: result += "Ae"; break;
      case 214: result += "Oe"; break;
      case 220: result += "Ue"; break;
      case 223: result += "ss"; break;
      case 228: result += "ae"; break;
      case 246: result += "oe"; break;
      case 252: result += "ue"; break;
      default: result += c; break;
    }
  }
  return FromString(std::move(result));
}
