// Drive roots, kinds, labels and space over the drive table and the
// backend's file-system query.
#include "platform/Volume.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "FileBackend.h"
#include "platform/Crt.h"
#include "platform/Drives.h"

namespace {

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The text of a root; null means the current drive's.
std::string RootText(LPCSTR root) {
  if (root) return std::string(root);
  if (const char letter = platform::GetCurrentDriveLetter()) return std::string{letter, ':', '\\'};
  return std::string(1, '/');
}

// The folder a root names, and the label of its drive. False when a drive
// letter is named that is not mapped.
bool ResolveRoot(LPCSTR root, std::string& native, std::string& label) {
  const std::string text = RootText(root);
  const bool driveForm = text.size() >= 2 && text[1] == ':' && IsLetter(text[0]);
  if (driveForm) {
    const auto drive = platform::FindDrive(text[0]);
    if (!drive) {
      errno = ENOENT;
      return false;
    }
    label = drive->label;
  }
  native = platform::ToNativePath(text);
  if (native.empty()) {
    errno = ENOENT;
    return false;
  }
  if (!driveForm) {
    // A folder named directly has the label of a drive mapped to it.
    for (const platform::Drive& drive : platform::GetDrives())
      if (drive.folder == native && label.empty()) label = drive.label;
  }
  return true;
}

bool IsExistingFolder(const std::string& native) {
  platform::backend::FileStatusData status;
  if (!platform::backend::StatusOfPath(native, status)) return false;
  if (!status.isDirectory) errno = ENOTDIR;
  return status.isDirectory;
}

// Copies a text cut to fit `size` bytes with its terminator, never inside a
// UTF-8 sequence.
void CopyCut(const std::string& text, char* out, DWORD size) {
  if (!out || size == 0) return;
  std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

}  // namespace

DWORD GetLogicalDriveStringsA(DWORD size, LPSTR buffer) {
  const auto drives = platform::GetDrives();
  const DWORD needed = static_cast<DWORD>(drives.size() * 4 + 1);
  if (!buffer || size < needed) return needed;
  char* out = buffer;
  for (const platform::Drive& drive : drives) {
    *out++ = drive.letter;
    *out++ = ':';
    *out++ = '\\';
    *out++ = '\0';
  }
  *out = '\0';
  return needed - 1;
}

DWORD GetLogicalDrives() {
  DWORD mask = 0;
  for (const platform::Drive& drive : platform::GetDrives()) mask |= DWORD{1} << (drive.letter - 'A');
  return mask;
}

UINT GetDriveTypeA(LPCSTR root) {
  std::string native, label;
  if (!ResolveRoot(root, native, label) || !IsExistingFolder(native)) return DRIVE_NO_ROOT_DIR;
  platform::backend::FileSystemData data;
  if (!platform::backend::FileSystemOf(native, data)) return DRIVE_UNKNOWN;
  switch (data.kind) {
    case platform::backend::FileSystemKind::Remote: return DRIVE_REMOTE;
    case platform::backend::FileSystemKind::CdRom: return DRIVE_CDROM;
    case platform::backend::FileSystemKind::Ram: return DRIVE_RAMDISK;
    case platform::backend::FileSystemKind::Local: return DRIVE_FIXED;
  }
  return DRIVE_UNKNOWN;
}

BOOL GetVolumeInformationA(LPCSTR root, LPSTR label, DWORD labelSize, DWORD* serialNumber,
                           DWORD* maxComponentLength, DWORD* fileSystemFlags, LPSTR fileSystemName,
                           DWORD fileSystemNameSize) {
  std::string native, driveLabel;
  if (!ResolveRoot(root, native, driveLabel) || !IsExistingFolder(native)) return FALSE;
  platform::backend::FileSystemData data;
  if (!platform::backend::FileSystemOf(native, data)) data = {};
  CopyCut(driveLabel, label, labelSize);
  if (serialNumber) *serialNumber = static_cast<DWORD>(data.id ^ (data.id >> 32));
  if (maxComponentLength) *maxComponentLength = 255;
  if (fileSystemFlags) *fileSystemFlags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
  CopyCut(data.typeName, fileSystemName, fileSystemNameSize);
  return TRUE;
}

BOOL GetDiskFreeSpaceA(LPCSTR root, DWORD* sectorsPerCluster, DWORD* bytesPerSector, DWORD* freeClusters,
                       DWORD* totalClusters) {
  std::string native, label;
  platform::backend::FileSystemData data;
  if (!ResolveRoot(root, native, label) || !platform::backend::FileSystemOf(native, data)) return FALSE;
  if (data.blockSize == 0 || data.blockSize > 0xFFFFFFFFu) {
    errno = EINVAL;
    return FALSE;
  }
  // Sectors of 512 bytes where the block size allows it; clusters grow in
  // powers of two until the counts fit their 32-bit fields.
  std::uint64_t sectorSize = data.blockSize % 512 == 0 ? 512 : data.blockSize;
  std::uint64_t sectors = data.blockSize / sectorSize;
  std::uint64_t total = data.totalBlocks, available = data.availableBlocks;
  while (total > 0xFFFFFFFFu && sectors <= 0x7FFFFFFFu) {
    sectors *= 2;
    total /= 2;
    available /= 2;
  }
  if (sectorsPerCluster) *sectorsPerCluster = static_cast<DWORD>(sectors);
  if (bytesPerSector) *bytesPerSector = static_cast<DWORD>(sectorSize);
  if (freeClusters) *freeClusters = static_cast<DWORD>(std::min<std::uint64_t>(available, 0xFFFFFFFFu));
  if (totalClusters) *totalClusters = static_cast<DWORD>(std::min<std::uint64_t>(total, 0xFFFFFFFFu));
  return TRUE;
}

BOOL GetDiskFreeSpaceExA(LPCSTR root, ULONGLONG* freeForCaller, ULONGLONG* totalBytes, ULONGLONG* freeBytes) {
  std::string native, label;
  platform::backend::FileSystemData data;
  if (!ResolveRoot(root, native, label) || !platform::backend::FileSystemOf(native, data)) return FALSE;
  if (freeForCaller) *freeForCaller = data.availableBlocks * data.blockSize;
  if (totalBytes) *totalBytes = data.totalBlocks * data.blockSize;
  if (freeBytes) *freeBytes = data.freeBlocks * data.blockSize;
  return TRUE;
}
