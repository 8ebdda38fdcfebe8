// CZnFile's path and file utilities: existence, folder creation, times and
// sizes of the status, drive availability and file-name cleaning.
#include <cstdio>
#include <cstring>
#include <ctime>

#include "FileProbe.h"
#include "platform/FileSystem.h"
#include "platform/Io.h"
#include "zncore/ZnFile.h"

namespace {

// The local time as "dd.mm.yyyy hh:mm:ss" or "hh:mm:ss", never more than 20
// bytes with the terminator (a year beyond 9999 is cut, not overrun).
char* FormatTime(char* buffer, const CTime* time, int withDate) {
  if (!buffer) return buffer;
  buffer[0] = '\0';
  std::tm local{};
  if (!time || !time->GetLocalTm(&local)) return buffer;
  constexpr std::size_t kSize = 20;
  int written = 0;
  if (withDate) {
    written = std::snprintf(buffer, kSize, "%02d.%02d.%4d %02d:%02d:%02d", local.tm_mday, local.tm_mon + 1,
                            local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
  } else {
    written = std::snprintf(buffer, kSize, "%02d:%02d:%02d", local.tm_hour, local.tm_min, local.tm_sec);
  }
  if (written < 0) buffer[0] = '\0';
  return buffer;
}

constexpr const char* kInvalidFilenameChars = "?*|<>\"\t\n'\\:/";

CTime CreationOf(const CFileStatus& status) { return status.m_ctime; }
CTime ModificationOf(const CFileStatus& status) { return status.m_mtime; }
CTime ReadOf(const CFileStatus& status) { return status.m_atime; }

}  // namespace

int CZnFile::FileExist(CString file, CString path) { return zncore::detail::FileExist(file, path); }

int CZnFile::EnsurePath(const char* path, int namesFile, int create) {
  return zncore::detail::EnsurePath(path, namesFile, create);
}

// --- Times -----------------------------------------------------------------------------------

template <typename Pick>
bool CZnFile::StatusTime(Pick pick, CTime& time) const {
  CFileStatus status;
  if (!GetStatus(status)) return false;
  time = pick(status);
  return true;
}

char* CZnFile::GetCreationTime(char* buffer, int withDate) {
  CTime time;
  return FormatTime(buffer, StatusTime(CreationOf, time) ? &time : nullptr, withDate);
}

char* CZnFile::GetModificationTime(char* buffer, int withDate) {
  CTime time;
  return FormatTime(buffer, StatusTime(ModificationOf, time) ? &time : nullptr, withDate);
}

char* CZnFile::GetReadTime(char* buffer, int withDate) {
  CTime time;
  return FormatTime(buffer, StatusTime(ReadOf, time) ? &time : nullptr, withDate);
}

CTime CZnFile::GetCreationTime() {
  CTime time;
  return StatusTime(CreationOf, time) ? time : CTime(0);
}

CTime CZnFile::GetModificationTime() {
  CTime time;
  return StatusTime(ModificationOf, time) ? time : CTime(0);
}

CTime CZnFile::GetReadTime() {
  CTime time;
  return StatusTime(ReadOf, time) ? time : CTime(0);
}

// --- Comparisons -----------------------------------------------------------------------------

template <typename Pick>
int CZnFile::CompareStatus(const char* fileName, Pick pick) const {
  CFileStatus mine, theirs;
  if (!GetStatus(mine)) return -2;
  if (!fileName || !CFile::GetStatus(fileName, theirs)) return -3;
  const auto a = pick(mine), b = pick(theirs);
  return a > b ? 1 : (a < b ? -1 : 0);
}

int CZnFile::CompareCreationTime(char* fileName) { return CompareStatus(fileName, CreationOf); }

int CZnFile::CompareModificationTime(char* fileName) { return CompareStatus(fileName, ModificationOf); }

int CZnFile::CompareReadTime(char* fileName) { return CompareStatus(fileName, ReadOf); }

int CZnFile::CompareSize(char* fileName) {
  return CompareStatus(fileName, [](const CFileStatus& status) { return status.m_size; });
}

// --- Drives and names ------------------------------------------------------------------------

int CZnFile::IsDriveAvailable(const char* text) {
  if (!text || !*text) return 0;
  const char letter = (*text >= 'a' && *text <= 'z') ? static_cast<char>(*text - 32) : *text;
  const std::string here = platform::GetCurrentDirectoryPath();
  const int current = _getdrive();
  if (_chdrive(letter - 64) != 0) return 0;
  _chdrive(current);
  // The drive's own folder memory brings the directory back; this also covers
  // a current directory that lies on no drive.
  if (!here.empty()) platform::SetCurrentDirectoryPath(here);
  return 1;
}

CZnString CZnFile::ReplaceInvalidFilenameChars(const char* name, char replacement) {
  CZnString result(name ? name : "");
  std::string text = result.GetStdString();
  for (char& c : text)
    if (c != '\0' && std::strchr(kInvalidFilenameChars, c)) c = replacement;
  return CZnString(CString(std::move(text)));
}
