// CFile over the backend's descriptors, CFileException and the status query.
#include "platform/File.h"

#include <cerrno>

#include "FileBackend.h"
#include "platform/Drives.h"

namespace {

constexpr const char* kCauseNames[] = {
    "CFileException::none",          "CFileException::generic",
    "CFileException::fileNotFound",  "CFileException::badPath",
    "CFileException::tooManyOpenFiles", "CFileException::accessDenied",
    "CFileException::invalidFile",   "CFileException::removeCurrentDir",
    "CFileException::directoryFull", "CFileException::badSeek",
    "CFileException::hardIO",        "CFileException::sharingViolation",
    "CFileException::lockViolation", "CFileException::diskFull",
    "CFileException::endOfFile",
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

BYTE AttributesOf(const platform::backend::FileStatusData& data, std::string_view name) {
  BYTE attributes = CFile::normal;
  if (data.isDirectory) attributes |= CFile::directory;
  else attributes |= CFile::archive;
  if (data.isReadOnly) attributes |= CFile::readOnly;
  const std::size_t sep = name.find_last_of("\\/");
  const std::string_view last = sep == std::string_view::npos ? name : name.substr(sep + 1);
  if (last.size() > 1 && last[0] == '.' && last != "..") attributes |= CFile::hidden;
  return attributes;
}

void FillStatus(const platform::backend::FileStatusData& data, std::string_view name, CFileStatus& status) {
  status.m_ctime = CTime(data.creationTime);
  status.m_mtime = CTime(data.modifyTime);
  status.m_atime = CTime(data.accessTime);
  status.m_size = static_cast<std::int64_t>(data.size);
  status.m_attribute = AttributesOf(data, name);
  status.m_strFullName = name.empty() ? CString() : CString(platform::MakeAbsolute(name));
}

}  // namespace

// --- CFileException -------------------------------------------------------------

CFileException::CFileException(int cause, long osError, const char* fileName)
    : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

int CFileException::OsErrorToException(long osError) {
  switch (osError) {
    case 0: return none;
    case ENOENT: return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP: return badPath;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return accessDenied;
    case EMFILE:
    case ENFILE: return tooManyOpenFiles;
    case ENOSPC:
    case EDQUOT: return diskFull;
    case EIO: return hardIO;
    case EBADF: return invalidFile;
    case ESPIPE: return badSeek;
    default: return generic;
  }
}

void CFileException::ThrowOsError(long osError, const char* fileName) {
  const CFileException error(OsErrorToException(osError), osError, fileName);
  // The thread's last OS error still names this failure when it is caught.
  errno = static_cast<int>(osError);
  throw error;
}

const char* CFileException::what() const noexcept {
  if (m_cause >= 0 && m_cause < static_cast<int>(std::size(kCauseNames))) return kCauseNames[m_cause];
  return "CFileException";
}

// --- CFile: construction ------------------------------------------------------------

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(int hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(const char* fileName, UINT openFlags) : CFile() {
  CFileException error;
  if (!Open(fileName, openFlags, &error)) {
    errno = static_cast<int>(error.m_lOsError);
    throw error;
  }
}

CFile::~CFile() {
  if (m_hFile != hFileNull && m_bCloseOnDelete) Abort();
}

BOOL CFile::Open(const char* fileName, UINT openFlags, CFileException* error) {
  const char* name = fileName ? fileName : "";
  auto fail = [&](int osError, int cause) {
    if (error) {
      error->m_cause = cause;
      error->m_lOsError = osError;
      error->m_strFileName = name;
    }
    errno = osError;
    return FALSE;
  };
  if (m_hFile != hFileNull) return fail(EBUSY, CFileException::generic);
  using platform::backend::OpenAccess;
  OpenAccess access = OpenAccess::Read;
  switch (openFlags & 3u) {
    case modeRead: access = OpenAccess::Read; break;
    case modeWrite: access = OpenAccess::Write; break;
    case modeReadWrite: access = OpenAccess::ReadWrite; break;
    default: return fail(EINVAL, CFileException::generic);
  }
  const std::string native = platform::ToNativePath(name);
  if (native.empty()) return fail(ENOENT, CFileException::fileNotFound);
  const bool create = (openFlags & modeCreate) != 0;
  const bool truncate = create && (openFlags & modeNoTruncate) == 0;
  const int fd = platform::backend::OpenFile(native, access, create, truncate);
  if (fd < 0) {
    const int osError = errno;
    return fail(osError, CFileException::OsErrorToException(osError));
  }
  m_hFile = fd;
  m_bCloseOnDelete = TRUE;
  m_strFileName = name;
  return TRUE;
}

// --- CFile: data ----------------------------------------------------------------------

UINT CFile::Read(void* buffer, UINT count) {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(EBADF, m_strFileName);
  if (count == 0) return 0;
  if (!buffer) CFileException::ThrowOsError(EINVAL, m_strFileName);
  auto* bytes = static_cast<unsigned char*>(buffer);
  UINT done = 0;
  // A short read ends only at the end of the file, as callers count on.
  while (done < count) {
    const std::int64_t n = platform::backend::ReadSome(m_hFile, bytes + done, count - done);
    if (n < 0) CFileException::ThrowOsError(errno, m_strFileName);
    if (n == 0) break;
    done += static_cast<UINT>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, UINT count) {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(EBADF, m_strFileName);
  if (count == 0) return;
  if (!buffer) CFileException::ThrowOsError(EINVAL, m_strFileName);
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  UINT done = 0;
  while (done < count) {
    const std::int64_t n = platform::backend::WriteSome(m_hFile, bytes + done, count - done);
    if (n < 0) CFileException::ThrowOsError(errno, m_strFileName);
    // A write that takes nothing cannot make progress: the device is full.
    if (n == 0) CFileException::ThrowOsError(ENOSPC, m_strFileName);
    done += static_cast<UINT>(n);
  }
}

void CFile::Close() {
  if (m_hFile == hFileNull) return;
  const int fd = m_hFile;
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
  if (!platform::backend::CloseFile(fd)) CFileException::ThrowOsError(errno, m_strFileName);
}

void CFile::Abort() {
  if (m_hFile == hFileNull) return;
  platform::backend::CloseFile(m_hFile);
  m_hFile = hFileNull;
  m_bCloseOnDelete = FALSE;
}

void CFile::Flush() {
  if (m_hFile == hFileNull) return;
  if (!platform::backend::FlushFile(m_hFile)) CFileException::ThrowOsError(errno, m_strFileName);
}

ULONGLONG CFile::Seek(std::int64_t offset, UINT from) {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(EBADF, m_strFileName);
  if (from > end) throw CFileException(CFileException::badSeek, EINVAL, m_strFileName);
  const std::int64_t position = platform::backend::SeekFile(m_hFile, offset, static_cast<int>(from));
  if (position < 0) {
    const int osError = errno;
    // A position before the start is the framework's bad seek.
    if (osError == EINVAL) {
      errno = osError;
      throw CFileException(CFileException::badSeek, osError, m_strFileName);
    }
    CFileException::ThrowOsError(osError, m_strFileName);
  }
  return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetPosition() const {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(EBADF, m_strFileName);
  const std::int64_t position = platform::backend::SeekFile(m_hFile, 0, current);
  if (position < 0) CFileException::ThrowOsError(errno, m_strFileName);
  return static_cast<ULONGLONG>(position);
}

ULONGLONG CFile::GetLength() const {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(EBADF, m_strFileName);
  platform::backend::FileStatusData data;
  if (!platform::backend::StatusOfFile(m_hFile, data)) CFileException::ThrowOsError(errno, m_strFileName);
  return data.size;
}

void CFile::SetLength(ULONGLONG newLength) {
  if (m_hFile == hFileNull) CFileException::ThrowOsError(EBADF, m_strFileName);
  if (!platform::backend::TruncateFile(m_hFile, newLength)) CFileException::ThrowOsError(errno, m_strFileName);
}

// --- CFile: names and status -------------------------------------------------------

CString CFile::GetFileName() const {
  const std::string_view path = m_strFileName.GetView();
  std::size_t start = path.size();
  while (start > 0 && !IsSeparator(path[start - 1])) --start;
  // "X:name" has no separator but a drive in front.
  if (start == 0 && path.size() >= 2 && path[1] == ':') start = 2;
  return CString(std::string(path.substr(start)));
}

CString CFile::GetFileTitle() const {
  const CString name = GetFileName();
  const int dot = name.ReverseFind('.');
  return dot > 0 ? name.Left(dot) : name;
}

BOOL CFile::GetStatus(CFileStatus& status) const {
  status = CFileStatus{};
  if (m_hFile == hFileNull) return FALSE;
  platform::backend::FileStatusData data;
  if (!platform::backend::StatusOfFile(m_hFile, data)) return FALSE;
  FillStatus(data, m_strFileName.GetView(), status);
  return TRUE;
}

BOOL CFile::GetStatus(const char* fileName, CFileStatus& status) {
  status = CFileStatus{};
  const std::string_view name = fileName ? fileName : "";
  const std::string native = platform::ToNativePath(name);
  platform::backend::FileStatusData data;
  if (native.empty() || !platform::backend::StatusOfPath(native, data)) return FALSE;
  FillStatus(data, name, status);
  return TRUE;
}
