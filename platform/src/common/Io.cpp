// Access test, folder creation and the current drive over the drive table.
#include "platform/Io.h"

#include <array>
#include <cerrno>
#include <string>

#include "FileBackend.h"
#include "platform/Crt.h"
#include "platform/Drives.h"
#include "platform/FileSystem.h"

namespace {

// The folder last used on each drive, in drive form, as the original system
// keeps one current directory per drive.
std::array<std::string, 26>& LastFolders() {
  static std::array<std::string, 26> folders;
  return folders;
}

bool IsOnDrive(const std::string& drivePath, char letter) {
  return drivePath.size() >= 2 && drivePath[1] == ':' && platform::AsciiToUpper(drivePath[0]) == letter;
}

}  // namespace

int _access(const char* path, int mode) {
  const std::string native = platform::ToNativePath(path ? path : "");
  if (native.empty()) {
    errno = ENOENT;
    return -1;
  }
  return platform::backend::Accessible(native, mode) ? 0 : -1;
}

int _mkdir(const char* path) {
  const std::string native = platform::ToNativePath(path ? path : "");
  if (native.empty()) {
    errno = ENOENT;
    return -1;
  }
  return platform::backend::MakeDirectory(native) ? 0 : -1;
}

int _getdrive() {
  const char letter = platform::GetCurrentDriveLetter();
  return letter ? letter - 'A' + 1 : 0;
}

int _chdrive(int drive) {
  if (drive < 1 || drive > 26 || !platform::FindDrive(static_cast<char>('A' + drive - 1))) {
    errno = EACCES;
    return -1;
  }
  const char letter = static_cast<char>('A' + drive - 1);
  const char currentLetter = platform::GetCurrentDriveLetter();
  if (currentLetter == letter) return 0;
  const std::string here = platform::GetCurrentDirectoryPath();
  const std::string root{letter, ':', '\\'};
  const std::string& remembered = LastFolders()[static_cast<std::size_t>(drive - 1)];
  const bool entered = (IsOnDrive(remembered, letter) && platform::SetCurrentDirectoryPath(remembered)) ||
                       platform::SetCurrentDirectoryPath(root);
  if (!entered) return -1;
  if (currentLetter) LastFolders()[static_cast<std::size_t>(currentLetter - 'A')] = here;
  return 0;
}
