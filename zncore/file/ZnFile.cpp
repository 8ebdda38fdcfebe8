// CZnFile: construction, the error record, recording reads and writes, and
// the queries that never raise.
#include "zncore/ZnFile.h"

#include <cstring>
#include <string_view>

#include "platform/Io.h"
#include "platform/SystemError.h"

namespace {

constexpr const char* kCauseMeanings[] = {
    "CFileException::none - No error occurred.",
    "CFileException::generic - An unspecified error occurred.",
    "CFileException::fileNotFound - The file could not be located.",
    "CFileException::badPath - All or part of the path is invalid.",
    "CFileException::tooManyOpenFiles - The permitted number of open files was exceeded.",
    "CFileException::accessDenied - The file could not be accessed.",
    "CFileException::invalidFile - There was an attempt to use an invalid file handle.",
    "CFileException::removeCurrentDir - The current working directory cannot be removed.",
    "CFileException::directoryFull - There are no more directory entries.",
    "CFileException::badSeek - There was an error trying to set the file pointer.",
    "CFileException::hardIO - There was a hardware error.",
    "CFileException::sharingViolation - SHARE.EXE was not loaded, or a shared region was locked.",
    "CFileException::lockViolation - There was an attempt to lock a region that was already locked.",
    "CFileException::diskFull - The disk is full.",
    "CFileException::endOfFile - The end of file was reached.",
};
constexpr const char* kUnknownCause = "unknown - Error status cannot be retrieved.";

// Copies `text` into a field of `size` bytes, cut to size - 1 bytes at a
// UTF-8 character boundary, so a long path never runs past the field.
template <std::size_t size>
void CopyCut(char (&field)[size], std::string_view text) {
  std::size_t n = std::min(text.size(), size - 1);
  if (n < text.size())
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  std::memcpy(field, text.data(), n);
  field[n] = '\0';
}

}  // namespace

// --- Construction ---------------------------------------------------------------------

CZnFile::CZnFile() : CFile() {
  m_szLastErrorText[0] = '\0';
  Init(0, 0, "", "");
  m_bEof = 0;
}

CZnFile::CZnFile(int hFile) : CFile(hFile) {
  m_szLastErrorText[0] = '\0';
  Init(0, 0, "", "");
  m_bEof = 0;
}

CZnFile::CZnFile(const char* fileName) : CFile() {
  m_strFileName = fileName;
  m_szLastErrorText[0] = '\0';
  Init(0, 0, "", "");
  m_bEof = 0;
}

CZnFile::CZnFile(const char* fileName, UINT openFlags) : CFile(fileName, openFlags) {
  m_szLastErrorText[0] = '\0';
  Init(0, 0, "", "");
  m_bEof = 0;
}

CZnFile::~CZnFile() = default;

// --- Error record ------------------------------------------------------------------------

void CZnFile::Init(int cause, long osError, const char* fileName, const char* method) {
  m_nLastErrorCause = cause;
  m_lLastErrorCode = osError;
  CopyCut(m_szLastErrorFile, fileName ? fileName : "");
  CopyCut(m_szLastErrorMethod, method ? method : "");
}

void CZnFile::Record(const CFileException& error, const char* method) {
  const DWORD lastError = GetLastError();
  Init(error.m_cause, error.m_lOsError, error.m_strFileName, method);
  // The caller may still ask for the system's text of this failure.
  SetLastError(lastError);
}

const char* CZnFile::GetLastErrorCodeStr() {
  CopyCut(m_szLastErrorText, platform::SystemErrorText(GetLastError()));
  return m_szLastErrorText;
}

const char* CZnFile::GetErrorCauseMeaning(int cause) {
  if (cause < 0 || cause >= static_cast<int>(std::size(kCauseMeanings))) return kUnknownCause;
  return kCauseMeanings[cause];
}

// --- Reading and writing --------------------------------------------------------------

UINT CZnFile::Read(void* buffer, UINT count) {
  UINT n = 0;
  try {
    n = CFile::Read(buffer, count);
  } catch (CFileException& error) {
    Record(error, "Read");
    throw;
  }
  if (n != count) m_bEof = 1;
  return n;
}

void CZnFile::Write(const void* buffer, UINT count) {
  try {
    CFile::Write(buffer, count);
  } catch (CFileException& error) {
    Record(error, "Write");
    throw;
  }
}

UINT CZnFile::Read(void* buffer, UINT count, const char* fileName, UINT openFlags) {
  const bool openedHere = !IsOpen();
  if (openedHere) {
    const CString name = fileName ? CString(fileName) : GetFilePath();
    Open(name, openFlags, nullptr);
  }
  UINT n = 0;
  try {
    n = CFile::Read(buffer, count);
    if (n != count) m_bEof = 1;
    if (openedHere) Close();
  } catch (CFileException& error) {
    Record(error, "Read");
    throw;
  }
  return n;
}

void CZnFile::Write(const void* buffer, UINT count, const char* fileName, UINT openFlags) {
  const bool openedHere = !IsOpen();
  if (openedHere) {
    const CString name = fileName ? CString(fileName) : GetFilePath();
    if (!Open(name, openFlags, nullptr)) return;
  }
  try {
    CFile::Write(buffer, count);
    if (openedHere) Close();
  } catch (CFileException& error) {
    Record(error, "Write");
    throw;
  }
}

// --- Queries ---------------------------------------------------------------------------------

int CZnFile::IsWriteable() const { return _access(GetFilePath(), 2) == 0 ? 1 : 0; }

int CZnFile::IsReadable() const { return _access(GetFilePath(), 4) == 0 ? 1 : 0; }

unsigned long CZnFile::GetFileSize() {
  try {
    return static_cast<unsigned long>(CFile::GetLength());
  } catch (CFileException& error) {
    Record(error, "GetFileSize");
    return kUnknownSize;
  }
}

unsigned long CZnFile::GetFileSize(const char* fileName) {
  CFileStatus status;
  if (!fileName || !CFile::GetStatus(fileName, status) || (status.m_attribute & CFile::directory))
    return kUnknownSize;
  return static_cast<unsigned long>(status.m_size);
}
