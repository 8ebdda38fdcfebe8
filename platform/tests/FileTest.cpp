#include "platform/File.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/SystemError.h"
#include "platform/testing/FileErrors.h"
#include "platform/testing/TempDrive.h"
#include "posix/SysCalls.h"

using platform::testing::ErrorOf;
using platform::testing::ScopedUnprivileged;
using platform::testing::TempDrive;

namespace {


std::string ReadAll(CFile& file) {
  std::string data(static_cast<std::size_t>(file.GetLength()), '\0');
  file.SeekToBegin();
  data.resize(file.Read(data.data(), static_cast<UINT>(data.size())));
  return data;
}

class SysCallPatch {
public:
  ~SysCallPatch() { platform::posix::ResetSysCalls(); }
};

}  // namespace

TEST(FileException, ErrnoMapsToTheFrameworkCauses) {
  const struct {
    int osError;
    int cause;
  } rows[] = {
      {0, CFileException::none},
      {ENOENT, CFileException::fileNotFound},
      {ENOTDIR, CFileException::badPath},
      {ENAMETOOLONG, CFileException::badPath},
      {ELOOP, CFileException::badPath},
      {EACCES, CFileException::accessDenied},
      {EPERM, CFileException::accessDenied},
      {EISDIR, CFileException::accessDenied},
      {EROFS, CFileException::accessDenied},
      {EMFILE, CFileException::tooManyOpenFiles},
      {ENFILE, CFileException::tooManyOpenFiles},
      {ENOSPC, CFileException::diskFull},
      {EDQUOT, CFileException::diskFull},
      {EIO, CFileException::hardIO},
      {EBADF, CFileException::invalidFile},
      {ESPIPE, CFileException::badSeek},
      {EINVAL, CFileException::generic},
      {EEXIST, CFileException::generic},
  };
  for (const auto& row : rows)
    EXPECT_EQ(CFileException::OsErrorToException(row.osError), row.cause) << "errno " << row.osError;
}

TEST(File, WritesReadsSeeksAndReportsItsLength) {
  TempDrive drive('T');
  {
    CFile file("T:\\data.bin", CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite);
    file.Write("hello world", 11);
    EXPECT_EQ(file.GetLength(), 11u);
    EXPECT_EQ(file.GetFilePath(), "T:\\data.bin");
    EXPECT_EQ(file.GetFileName(), "data.bin");
    EXPECT_EQ(file.GetFileTitle(), "data");
  }
  CFile file("T:/data.bin", CFile::modeReadWrite);
  char part[5] = {};
  EXPECT_EQ(file.Seek(6, CFile::begin), 6u);
  EXPECT_EQ(file.Read(part, 5), 5u);
  EXPECT_EQ(std::string(part, 5), "world");
  EXPECT_EQ(file.Read(part, 5), 0u);
  EXPECT_EQ(file.Seek(-5, CFile::end), 6u);
  file.Write("WORLD", 5);
  file.SetLength(8);
  EXPECT_EQ(ReadAll(file), "hello WO");
}

TEST(File, CreateTruncatesUnlessNoTruncateIsGiven) {
  TempDrive drive('T');
  drive.WriteFile("f.txt", "0123456789");
  { CFile keep("T:\\f.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite); }
  EXPECT_EQ(drive.ReadFile("f.txt"), "0123456789");
  { CFile empty("T:\\f.txt", CFile::modeCreate | CFile::modeWrite); }
  EXPECT_EQ(drive.ReadFile("f.txt"), "");
}

TEST(File, ReadReturnsFewerBytesOnlyAtTheEnd) {
  TempDrive drive('T');
  drive.WriteFile("four", "abcd");
  CFile file("T:\\four", CFile::modeRead);
  char buffer[10];
  EXPECT_EQ(file.Read(buffer, 0), 0u);
  EXPECT_EQ(file.Read(buffer, 10), 4u);
  EXPECT_EQ(file.Read(buffer, 10), 0u);
}

TEST(File, OpenFailuresCarryCauseOsErrorAndName) {
  TempDrive drive('T');
  drive.MakeDir("folder");
  drive.WriteFile("plain", "x");
  const struct {
    const char* path;
    UINT flags;
    int cause;
    long osError;
  } rows[] = {
      {"T:\\missing.txt", CFile::modeRead, CFileException::fileNotFound, ENOENT},
      {"T:\\folder", CFile::modeRead, CFileException::accessDenied, EISDIR},
      {"T:\\folder", CFile::modeWrite, CFileException::accessDenied, EISDIR},
      {"T:\\plain\\below", CFile::modeRead, CFileException::badPath, ENOTDIR},
      {"Q:\\unmapped", CFile::modeRead, CFileException::fileNotFound, ENOENT},
  };
  for (const auto& row : rows) {
    const CFileException error = ErrorOf([&] { CFile file(row.path, row.flags); });
    EXPECT_EQ(error.m_cause, row.cause) << row.path;
    EXPECT_EQ(error.m_lOsError, row.osError) << row.path;
    EXPECT_EQ(error.m_strFileName, row.path);
    CFile file;
    CFileException reported;
    EXPECT_FALSE(file.Open(row.path, row.flags, &reported));
    EXPECT_EQ(reported.m_cause, row.cause);
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
  }
}

TEST(File, UnreadableFileIsAccessDenied) {
  TempDrive drive('T');
  drive.WriteFile("secret", "x");
  drive.Chmod("secret", 0);
  ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot act as an unprivileged user";
  const CFileException error = ErrorOf([] { CFile file("T:\\secret", CFile::modeRead); });
  EXPECT_EQ(error.m_cause, CFileException::accessDenied);
  EXPECT_EQ(error.m_lOsError, EACCES);
}

TEST(File, FullDiskIsDiskFullAndLeavesTheOsErrorBehind) {
  CFile file("/dev/full", CFile::modeWrite);
  const CFileException error = ErrorOf([&] { file.Write("data", 4); });
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOSPC));
  EXPECT_EQ(error.m_cause, CFileException::diskFull);
  EXPECT_EQ(error.m_lOsError, ENOSPC);
  EXPECT_EQ(error.m_strFileName, "/dev/full");
  EXPECT_STREQ(error.what(), "CFileException::diskFull");
}

TEST(File, UseWithoutAnOpenFileIsInvalidFile) {
  CFile file;
  char byte;
  for (const CFileException& error :
       {ErrorOf([&] { file.Read(&byte, 1); }), ErrorOf([&] { file.Write(&byte, 1); }),
        ErrorOf([&] { file.GetLength(); }), ErrorOf([&] { file.Seek(0, CFile::begin); })}) {
    EXPECT_EQ(error.m_cause, CFileException::invalidFile);
    EXPECT_EQ(error.m_lOsError, EBADF);
  }
  file.Close();  // closing nothing is no error
}

TEST(File, SeekBeforeTheStartIsBadSeek) {
  TempDrive drive('T');
  drive.WriteFile("f", "abc");
  CFile file("T:\\f", CFile::modeRead);
  EXPECT_EQ(ErrorOf([&] { file.Seek(-10, CFile::begin); }).m_cause, CFileException::badSeek);
  EXPECT_EQ(ErrorOf([&] { file.Seek(0, 7); }).m_cause, CFileException::badSeek);
}

TEST(File, WrappedDescriptorIsLeftOpenByTheDestructor) {
  TempDrive drive('T');
  drive.WriteFile("f", "abc");
  const int fd = ::open(drive.Native("f").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  {
    CFile file(fd);
    char buffer[3];
    EXPECT_EQ(file.Read(buffer, 3), 3u);
  }
  EXPECT_EQ(::close(fd), 0);
}

TEST(File, OpenOnAnOpenObjectIsRefused) {
  TempDrive drive('T');
  drive.WriteFile("a");
  drive.WriteFile("b");
  CFile file("T:\\a", CFile::modeRead);
  EXPECT_FALSE(file.Open("T:\\b", CFile::modeRead));
  EXPECT_EQ(file.GetFilePath(), "T:\\a");
}

TEST(File, HardIoAndInterruptedCallsGoThroughTheSeam) {
  TempDrive drive('T');
  drive.WriteFile("f", "abcdef");
  SysCallPatch patch;
  CFile file("T:\\f", CFile::modeRead);
  static int interruptions;
  interruptions = 2;
  platform::posix::Sys().read = [](int fd, void* buffer, size_t count) -> ssize_t {
    if (interruptions-- > 0) {
      errno = EINTR;
      return -1;
    }
    return ::read(fd, buffer, count < 2 ? count : 2);  // short pieces, as a pipe gives
  };
  char buffer[6];
  EXPECT_EQ(file.Read(buffer, 6), 6u);
  EXPECT_EQ(std::string(buffer, 6), "abcdef");
  platform::posix::Sys().read = [](int, void*, size_t) -> ssize_t {
    errno = EIO;
    return -1;
  };
  const CFileException error = ErrorOf([&] { file.Read(buffer, 1); });
  EXPECT_EQ(error.m_cause, CFileException::hardIO);
  EXPECT_EQ(error.m_strFileName, "T:\\f");
}

TEST(FileStatus, ByNameAndByOpenFile) {
  TempDrive drive('T');
  drive.WriteFile("dir/.hidden.txt", "12345");
  drive.Chmod("dir/.hidden.txt", 0444);
  CFileStatus status;
  ASSERT_TRUE(CFile::GetStatus("T:\\dir\\.hidden.txt", status));
  EXPECT_EQ(status.m_size, 5);
  EXPECT_EQ(status.m_attribute, CFile::readOnly | CFile::hidden | CFile::archive);
  EXPECT_EQ(status.m_strFullName, "T:\\dir\\.hidden.txt");

  // Access and modification times as set; creation is "now" (birth or change).
  const struct timespec times[2] = {{1000000000, 0}, {1500000000, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, drive.Native("dir/.hidden.txt").c_str(), times, 0), 0);
  ASSERT_TRUE(CFile::GetStatus("T:\\dir\\.hidden.txt", status));
  EXPECT_EQ(status.m_atime.GetTime(), 1000000000);
  EXPECT_EQ(status.m_mtime.GetTime(), 1500000000);
  EXPECT_NEAR(static_cast<double>(status.m_ctime.GetTime()), static_cast<double>(::time(nullptr)), 120.0);

  ASSERT_TRUE(CFile::GetStatus("T:\\dir", status));
  EXPECT_EQ(status.m_size, 0);
  EXPECT_EQ(status.m_attribute, CFile::directory);
  EXPECT_FALSE(CFile::GetStatus("T:\\nothing", status));
  EXPECT_FALSE(CFile::GetStatus(nullptr, status));

  CFile closed;
  EXPECT_FALSE(closed.GetStatus(status));
  CFile file("T:\\dir\\.hidden.txt", CFile::modeRead);
  ASSERT_TRUE(file.GetStatus(status));
  EXPECT_EQ(status.m_size, 5);
}
