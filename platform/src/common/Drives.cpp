// The drive table and the translation between Windows and native paths.
#include "platform/Drives.h"

#include <algorithm>
#include <array>
#include <cerrno>

#include "Backend.h"
#include "platform/Crt.h"

namespace platform {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A folder as the table stores it: absolute, single slashes, no trailing one.
std::string CleanFolder(std::string_view folder) {
  std::string result;
  if (folder.empty() || folder[0] != '/') {
    result = backend::GetCurrentDirectory();
  }
  for (char c : folder) {
    if (c == '/' && !result.empty() && result.back() == '/') continue;
    result += c;
  }
  if (result.empty() || result[0] != '/') result.insert(result.begin(), '/');
  while (result.size() > 1 && result.back() == '/') result.pop_back();
  return result;
}

class DriveTable {
public:
  DriveTable() { Reload(); }

  void Reload() {
    m_drives = {};
    Set('C', "/", "");
    if (auto entries = backend::GetEnvironment("ZN_DRIVES")) Parse(*entries);
  }

  void Set(char letter, std::string_view folder, std::string_view label) {
    Drive& drive = m_drives[Index(letter)];
    drive.letter = AsciiToUpper(letter);
    drive.folder = CleanFolder(folder);
    drive.label = std::string(label);
  }

  void Clear(char letter) { m_drives[Index(letter)] = Drive{}; }

  const Drive* Find(char letter) const {
    if (!IsDriveLetter(letter)) return nullptr;
    const Drive& drive = m_drives[Index(letter)];
    return drive.letter ? &drive : nullptr;
  }

  std::vector<Drive> All() const {
    std::vector<Drive> result;
    for (const Drive& drive : m_drives)
      if (drive.letter) result.push_back(drive);
    return result;
  }

private:
  static std::size_t Index(char letter) { return static_cast<std::size_t>(AsciiToUpper(letter) - 'A'); }

  // "D=/media/cdrom;T=/tmp/work" with an optional ":LABEL" after a folder.
  void Parse(std::string_view entries) {
    while (!entries.empty()) {
      const std::size_t end = std::min(entries.find(';'), entries.size());
      std::string_view item = entries.substr(0, end);
      entries.remove_prefix(std::min(end + 1, entries.size()));
      if (item.size() < 3 || !IsDriveLetter(item[0]) || item[1] != '=') continue;
      std::string_view folder = item.substr(2);
      std::string_view label;
      if (const std::size_t colon = folder.rfind(':'); colon != std::string_view::npos) {
        label = folder.substr(colon + 1);
        folder = folder.substr(0, colon);
      }
      if (!folder.empty()) Set(item[0], folder, label);
    }
  }

  std::array<Drive, 26> m_drives;
};

DriveTable& Table() {
  static DriveTable table;
  return table;
}

// Joins the components of `rest` to a drive folder, resolving "." and ".."
// by name without climbing above the folder.
std::string JoinUnderRoot(const std::string& root, std::string_view rest) {
  std::vector<std::string_view> parts;
  while (!rest.empty()) {
    std::size_t end = 0;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::string_view part = rest.substr(0, end);
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    parts.push_back(part);
  }
  std::string result = root;
  for (std::string_view part : parts) {
    if (result.back() != '/') result += '/';
    result += part;
  }
  return result;
}

std::string SlashesOf(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '\\', '/');
  return result;
}

// The current directory in drive form, or the native path when no drive
// holds it.
std::string CurrentDirectoryText() { return ToDrivePath(backend::GetCurrentDirectory()); }

}  // namespace

std::vector<Drive> GetDrives() { return Table().All(); }

std::optional<Drive> FindDrive(char letter) {
  if (const Drive* drive = Table().Find(letter)) return *drive;
  return std::nullopt;
}

void MapDrive(char letter, std::string_view folder, std::string_view label) {
  if (IsDriveLetter(letter)) Table().Set(letter, folder, label);
}

void UnmapDrive(char letter) {
  if (IsDriveLetter(letter)) Table().Clear(letter);
}

void ReloadDriveTable() { Table().Reload(); }

PathForm ClassifyPath(std::string_view path) {
  if (path.empty()) return PathForm::Empty;
  if (path.size() >= 2 && path[1] == ':' && IsDriveLetter(path[0])) return PathForm::Drive;
  if (path[0] == '/') return PathForm::Native;
  if (path[0] == '\\') return PathForm::Rooted;
  return PathForm::Relative;
}

std::string ToNativePath(std::string_view path) {
  switch (ClassifyPath(path)) {
    case PathForm::Empty:
      return {};
    case PathForm::Drive: {
      const Drive* drive = Table().Find(path[0]);
      return drive ? JoinUnderRoot(drive->folder, path.substr(2)) : std::string();
    }
    case PathForm::Rooted: {
      const Drive* drive = Table().Find(GetCurrentDriveLetter());
      return JoinUnderRoot(drive ? drive->folder : std::string("/"), path);
    }
    case PathForm::Native:
    case PathForm::Relative:
      return SlashesOf(path);
  }
  return {};
}

std::string ToDrivePath(std::string_view nativeAbsolute) {
  const Drive* best = nullptr;
  for (const Drive& drive : Table().All()) {
    const std::string& folder = drive.folder;
    const bool isPrefix =
        folder == "/" ||
        (nativeAbsolute.substr(0, folder.size()) == folder &&
         (nativeAbsolute.size() == folder.size() || nativeAbsolute[folder.size()] == '/'));
    if (isPrefix && (!best || folder.size() > best->folder.size())) best = Table().Find(drive.letter);
  }
  if (!best || nativeAbsolute.empty() || nativeAbsolute[0] != '/') return std::string(nativeAbsolute);
  std::string rest(best->folder == "/" ? nativeAbsolute : nativeAbsolute.substr(best->folder.size()));
  std::replace(rest.begin(), rest.end(), '/', '\\');
  if (rest.empty() || rest[0] != '\\') rest.insert(rest.begin(), '\\');
  return std::string{best->letter, ':'} + rest;
}

std::string MakeAbsolute(std::string_view path) {
  std::string result;
  switch (ClassifyPath(path)) {
    case PathForm::Empty:
      result = CurrentDirectoryText();
      break;
    case PathForm::Drive:
      result = std::string(path);
      if (result.size() == 2 || !IsSeparator(result[2])) result = result.substr(0, 2) + "\\" + result.substr(2);
      break;
    case PathForm::Native:
      result = std::string(path);
      break;
    case PathForm::Rooted: {
      const char letter = GetCurrentDriveLetter();
      result = letter ? std::string{letter, ':'} + std::string(path) : SlashesOf(path);
      break;
    }
    case PathForm::Relative: {
      // Made up by the platform: a clean drive form with "." and ".." resolved.
      std::string current = CurrentDirectoryText();
      const std::size_t rootLength = ClassifyPath(current) == PathForm::Drive ? 3 : 1;
      std::string joined = JoinUnderRoot("/", current.substr(std::min(rootLength, current.size())) +
                                                  "/" + std::string(path));
      std::replace(joined.begin(), joined.end(), '/', '\\');
      result = current.substr(0, rootLength - 1) + joined;
      break;
    }
  }
  // Trailing separators go, but a bare drive or native root keeps one.
  while (result.size() > 1 && IsSeparator(result.back())) {
    if (result.size() == 3 && result[1] == ':') break;
    result.pop_back();
  }
  return result;
}

char GetCurrentDriveLetter() {
  const std::string current = CurrentDirectoryText();
  return ClassifyPath(current) == PathForm::Drive ? current[0] : 0;
}

}  // namespace platform
