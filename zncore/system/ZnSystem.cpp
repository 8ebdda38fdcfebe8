// CZnSystem: operating-system family, drive letters and numbers, volume
// label, disk space and INI values.
#include "zncore/ZnSystem.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "../file/FileProbe.h"
#include "platform/Profile.h"
#include "platform/Volume.h"

namespace {

// The characters a drive text may start with (signed bytes: 128 and above
// are refused).
bool IsAcceptedDriveChar(int c) {
  return c == '!' || (c >= '#' && c <= '*') || (c >= ',' && c <= '.') || (c >= '0' && c <= '9') ||
         (c >= '@' && c <= 'Z') || (c >= 'a' && c <= '{') || c == '}' || c == 127 || c == '_' || c == ':' ||
         c == '\\' || c == '?';
}

// Copies `text` into `buffer` cut to size - 1 bytes with its terminator.
void CopyBounded(const char* text, char* buffer, unsigned long size) {
  if (!buffer || size == 0) return;
  const std::string_view view = text ? text : "";
  const std::size_t n = std::min<std::size_t>(view.size(), size - 1);
  std::memcpy(buffer, view.data(), n);
  buffer[n] = '\0';
}

}  // namespace

int CZnSystem::IsNT() { return std::getenv("PROCESSOR_LEVEL") ? 1 : 0; }

char* CZnSystem::ReturnOnTrue(int a, int b, char* x, char* y) { return a == b ? x : y; }

int CZnSystem::ConvertCharDrive(char* text) {
  if (!text) return -1;
  const int c = static_cast<signed char>(text[0]);
  if (!IsAcceptedDriveChar(c)) return -1;
  return (c >= 'a' && c <= 'z') ? c - 96 : c - 64;
}

char* CZnSystem::ConvertIntDrive(int drive, int withMask, char* buffer) {
  if (!buffer) return buffer;
  // Unsigned arithmetic: any number gives some character, none overflows.
  const char letter = static_cast<char>(static_cast<unsigned char>(static_cast<unsigned>(drive) + 64u));
  char work[260];
  std::snprintf(work, sizeof work, withMask ? "%c:\\*.*" : "%c:", letter);
  std::strcpy(buffer, work);  // a letter of code 0 ends the text at once, as before
  return buffer;
}

const char* CZnSystem::GetDiskVolume(const char* root, char* buffer) {
  if (!buffer) return buffer;
  if (!GetVolumeInformationA(root, buffer, 260, nullptr, nullptr, nullptr, nullptr, 0)) buffer[0] = '\0';
  return buffer;
}

int CZnSystem::GetDiskInfo(const char* root, unsigned long* total, unsigned long* free, unsigned long* used) {
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!GetDiskFreeSpaceA(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) return 0;
  // The original formulas, in 64 bits instead of wrapping at 4 GB.
  const unsigned long bytesPerCluster = static_cast<unsigned long>(sectorsPerCluster) * bytesPerSector;
  const unsigned long totalBytes = bytesPerCluster * totalClusters;
  const unsigned long freeBytes = bytesPerCluster * freeClusters;
  if (total) *total = totalBytes;
  if (free) *free = freeBytes;
  if (used) *used = totalBytes - freeBytes;
  return 1;
}

unsigned long CZnSystem::GetDiskSize(const char* root) {
  unsigned long value = 0;
  return GetDiskInfo(root, &value, nullptr, nullptr) ? value : 0;
}

unsigned long CZnSystem::GetDiskFree(const char* root) {
  unsigned long value = 0;
  return GetDiskInfo(root, nullptr, &value, nullptr) ? value : 0;
}

unsigned long CZnSystem::GetDiskUsed(const char* root) {
  unsigned long value = 0;
  return GetDiskInfo(root, nullptr, nullptr, &value) ? value : 0;
}

unsigned long CZnSystem::ReadPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                                  char* buffer, unsigned long size, const char* file) {
  if (!buffer || size == 0) return 0;
  const DWORD limit = size > 0xFFFFFFFFul ? 0xFFFFFFFFu : static_cast<DWORD>(size);
  // "_" marks a missing key or file; an empty value gives 0 characters.
  const unsigned long n = GetPrivateProfileStringA(section, key, "_", buffer, limit, file);
  if (n == 0) CopyBounded(defaultValue, buffer, size);
  if (std::strcmp(buffer, "_") == 0) {
    CopyBounded(defaultValue, buffer, size);
    return 0;
  }
  return n;
}

int CZnSystem::FileExist(CString file, CString path) { return zncore::detail::FileExist(file, path); }

int CZnSystem::EnsurePath(const char* path, int namesFile, int create) {
  return zncore::detail::EnsurePath(path, namesFile, create);
}
