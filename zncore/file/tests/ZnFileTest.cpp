#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include "platform/SystemError.h"
#include "platform/testing/FileErrors.h"
#include "platform/testing/TempDrive.h"
#include "zncore/ZnFile.h"

using platform::testing::ErrorOf;
using platform::testing::ScopedUnprivileged;
using platform::testing::TempDrive;

namespace {


void ExpectRecord(const CZnFile& file, int cause, long code, const char* name, const char* method) {
  EXPECT_EQ(file.GetLastErrorCause(), cause);
  EXPECT_EQ(file.GetLastErrorCode(), code);
  EXPECT_STREQ(file.GetLastErrorFile(), name);
  EXPECT_STREQ(file.GetLastErrorMethod(), method);
}

class ZnFileTest : public ::testing::Test {
protected:
  TempDrive drive{'T'};
};

}  // namespace

TEST_F(ZnFileTest, EveryConstructorStartsWithAnEmptyRecord) {
  drive.WriteFile("f.txt", "abc");
  CZnFile plain;
  CZnFile named("T:\\f.txt");
  CZnFile opened("T:\\f.txt", CFile::modeRead);
  for (const CZnFile* file : {&plain, &named, &opened}) {
    ExpectRecord(*file, 0, 0, "", "");
    EXPECT_EQ(file->IsEof(), 0);
    EXPECT_STREQ(file->GetLastErrorCauseStr(), "CFileException::none - No error occurred.");
  }
  EXPECT_EQ(plain.IsOpen(), 0);
  EXPECT_EQ(named.IsOpen(), 0);
  EXPECT_EQ(named.GetFilePath(), "T:\\f.txt");
  EXPECT_EQ(opened.IsOpen(), 1);
}

TEST_F(ZnFileTest, OpeningConstructorPassesTheErrorOnAndRecordsNothing) {
  const CFileException error = ErrorOf([] { CZnFile file("T:\\missing", CFile::modeRead); });
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(error.m_strFileName, "T:\\missing");
}

TEST(ZnFileCauses, MeaningsOfTheCauseTable) {
  EXPECT_STREQ(CZnFile::GetErrorCauseMeaning(2), "CFileException::fileNotFound - The file could not be located.");
  EXPECT_STREQ(CZnFile::GetErrorCauseMeaning(11),
               "CFileException::sharingViolation - SHARE.EXE was not loaded, or a shared region was locked.");
  EXPECT_STREQ(CZnFile::GetErrorCauseMeaning(14), "CFileException::endOfFile - The end of file was reached.");
  for (int cause : {15, -1, 1000})
    EXPECT_STREQ(CZnFile::GetErrorCauseMeaning(cause), "unknown - Error status cannot be retrieved.") << cause;
  for (int cause = 0; cause <= 14; ++cause)
    EXPECT_EQ(std::string(CZnFile::GetErrorCauseMeaning(cause)).rfind("CFileException::", 0), 0u) << cause;
}

TEST_F(ZnFileTest, ShortReadSetsEndOfFileForGood) {
  drive.WriteFile("f.bin", "0123456789abcd");
  CZnFile file("T:\\f.bin", CFile::modeRead);
  char buffer[10];
  EXPECT_EQ(file.Read(buffer, 0), 0u);
  EXPECT_EQ(file.IsEof(), 0);
  EXPECT_EQ(file.Read(buffer, 10), 10u);
  EXPECT_EQ(file.Eof(), 0);
  EXPECT_EQ(file.Read(buffer, 10), 4u);
  EXPECT_EQ(file.IsEof(), 1);
  file.SeekToBegin();
  EXPECT_EQ(file.Read(buffer, 10), 10u);
  EXPECT_EQ(file.IsEof(), 1);
  // Reads through the base type count as well.
  CZnFile other("T:\\f.bin", CFile::modeRead);
  CFile& base = other;
  EXPECT_EQ(base.Read(buffer, 10), 10u);
  EXPECT_EQ(base.Read(buffer, 10), 4u);
  EXPECT_EQ(other.IsEof(), 1);
}

TEST_F(ZnFileTest, FullDiskIsRecordedAndPassedOnIntact) {
  CZnFile file("/dev/full", CFile::modeWrite);
  char data[4] = {'d', 'a', 't', 'a'};
  const CFileException error = ErrorOf([&] { file.Write(data, 4); });
  EXPECT_EQ(error.m_cause, CFileException::diskFull);
  EXPECT_EQ(error.m_lOsError, ENOSPC);
  EXPECT_EQ(error.m_strFileName, "/dev/full");
  ExpectRecord(file, 13, ENOSPC, "/dev/full", "Write");
  EXPECT_STREQ(file.GetLastErrorCauseStr(), "CFileException::diskFull - The disk is full.");
  EXPECT_EQ(std::string(file.GetLastErrorCodeStr()), platform::SystemErrorText(ENOSPC));
  EXPECT_STRNE(file.GetLastErrorCodeStr(), "");
}

TEST_F(ZnFileTest, WritesThroughTheBaseTypeAreRecordedToo) {
  CZnFile file("/dev/full", CFile::modeWrite);
  CFile& base = file;
  EXPECT_EQ(ErrorOf([&] { base.Write("x", 1); }).m_cause, CFileException::diskFull);
  EXPECT_STREQ(file.GetLastErrorMethod(), "Write");
}

TEST_F(ZnFileTest, ReadErrorsAreRecordedAsRead) {
  drive.WriteFile("out.txt", "abc");
  CZnFile file("T:\\out.txt", CFile::modeWrite);
  char buffer[3];
  EXPECT_EQ(ErrorOf([&] { file.Read(buffer, 3); }).m_cause, CFileException::invalidFile);
  ExpectRecord(file, CFileException::invalidFile, EBADF, "T:\\out.txt", "Read");
  EXPECT_EQ(file.IsEof(), 0);
}

TEST_F(ZnFileTest, SuccessLeavesTheRecordAndInitReplacesIt) {
  drive.WriteFile("f.txt", "abc");
  CZnFile file("T:\\f.txt", CFile::modeRead);
  file.Init(5, 13, "old.txt", "Custom");
  char buffer[3];
  file.Read(buffer, 3);
  ExpectRecord(file, 5, 13, "old.txt", "Custom");
  file.Init(0, 0, nullptr, nullptr);
  ExpectRecord(file, 0, 0, "", "");
}

TEST_F(ZnFileTest, InitCutsLongTextsToTheirFields) {
  CZnFile file;
  const std::string longName(300, 'n');
  file.Init(1, 2, longName.c_str(), longName.c_str());
  EXPECT_EQ(std::string(file.GetLastErrorFile()), longName.substr(0, 259));
  EXPECT_EQ(std::string(file.GetLastErrorMethod()), longName.substr(0, 259));
  // A two-byte character across the limit goes as a whole.
  const std::string umlauts = std::string(258, 'a') + "\xC3\xA4" + "tail";
  file.Init(1, 2, umlauts.c_str(), "");
  EXPECT_EQ(std::string(file.GetLastErrorFile()), std::string(258, 'a'));
}

TEST_F(ZnFileTest, SizeOfTheOpenFileOrUnknownWithARecord) {
  drive.WriteSizedFile("f.bin", 1234);
  CZnFile file("T:\\f.bin", CFile::modeRead);
  EXPECT_EQ(file.GetFileSize(), 1234u);
  EXPECT_EQ(file.GetSize(), 1234u);
  EXPECT_EQ(file.GetLength(), 1234u);
  ExpectRecord(file, 0, 0, "", "");

  CZnFile closed("T:\\f.bin");
  EXPECT_EQ(closed.GetFileSize(), CZnFile::kUnknownSize);
  ExpectRecord(closed, CFileException::invalidFile, EBADF, "T:\\f.bin", "GetFileSize");
}

TEST_F(ZnFileTest, SizeOfANamedFileTouchesNoRecord) {
  drive.WriteSizedFile("f.bin", 1234);
  drive.MakeDir("folder");
  CZnFile file;
  EXPECT_EQ(file.GetFileSize("T:\\f.bin"), 1234u);
  EXPECT_EQ(CZnFile::GetSize("T:\\f.bin"), 1234u);
  EXPECT_EQ(CZnFile::GetLength("T:\\f.bin"), 1234u);
  for (const char* name : {"T:\\missing", "T:\\folder", "Q:\\unmapped", "", static_cast<const char*>(nullptr)})
    EXPECT_EQ(CZnFile::GetFileSize(name), CZnFile::kUnknownSize) << (name ? name : "null");
  ExpectRecord(file, 0, 0, "", "");
}

TEST_F(ZnFileTest, SizesBeyondFourGigabytesAreExact) {
  {
    CFile sparse("T:\\big", CFile::modeCreate | CFile::modeWrite);
    sparse.SetLength((5ull << 30) + 7);
  }
  EXPECT_EQ(CZnFile::GetFileSize("T:\\big"), (5ul << 30) + 7);
  CZnFile file("T:\\big", CFile::modeRead);
  EXPECT_EQ(file.GetFileSize(), (5ul << 30) + 7);
}

TEST_F(ZnFileTest, ReadByStoredNameOpensReadsAndCloses) {
  drive.WriteFile("f.txt", "abcdef");
  CZnFile file("T:\\f.txt");
  char buffer[4] = {};
  EXPECT_EQ(file.Read(buffer, 4, nullptr, CFile::modeRead), 4u);
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  EXPECT_EQ(file.IsOpen(), 0);
  EXPECT_EQ(file.IsEof(), 0);
  EXPECT_EQ(file.Read(buffer, 4, "T:\\f.txt", CFile::modeRead), 4u);  // from the start again
  EXPECT_EQ(std::string(buffer, 4), "abcd");
  char big[10];
  EXPECT_EQ(file.Read(big, 10, nullptr, CFile::modeRead), 6u);
  EXPECT_EQ(file.IsEof(), 1);
}

TEST_F(ZnFileTest, ReadOfAnUnopenableNameFailsAsARead) {
  drive.MakeDir("folder");
  CZnFile file("T:\\folder");
  char buffer[4];
  EXPECT_EQ(ErrorOf([&] { file.Read(buffer, 4, nullptr, CFile::modeRead); }).m_cause, CFileException::invalidFile);
  ExpectRecord(file, CFileException::invalidFile, EBADF, "T:\\folder", "Read");
}

TEST_F(ZnFileTest, ReadOnAnOpenFileIgnoresNameAndFlags) {
  drive.WriteFile("a.txt", "aaaa");
  drive.WriteFile("b.txt", "bbbb");
  CZnFile file("T:\\a.txt", CFile::modeRead);
  char buffer[2];
  EXPECT_EQ(file.Read(buffer, 2, "T:\\b.txt", CFile::modeWrite), 2u);
  EXPECT_EQ(buffer[0], 'a');
  EXPECT_EQ(file.IsOpen(), 1);  // not closed: it was open before
}

TEST_F(ZnFileTest, WriteByNameCreatesWritesAndCloses) {
  CZnFile file("T:\\new.txt");
  char data[] = "hello";
  file.Write(data, 5, nullptr, CFile::modeCreate | CFile::modeWrite);
  EXPECT_EQ(file.IsOpen(), 0);
  EXPECT_EQ(drive.ReadFile("new.txt"), "hello");
}

TEST_F(ZnFileTest, WriteToAnUnopenableNameIsSilent) {
  CZnFile file;
  file.Init(7, 8, "before", "Before");
  char data[] = "x";
  EXPECT_EQ(ErrorOf([&] { file.Write(data, 1, "T:\\no\\such\\dir\\f", CFile::modeCreate | CFile::modeWrite); })
                .m_cause,
            CFileException::none);
  ExpectRecord(file, 7, 8, "before", "Before");
  EXPECT_EQ(file.IsOpen(), 0);
}

TEST_F(ZnFileTest, WriteByNameOnAFullDiskRecordsAndKeepsTheFileOpen) {
  CZnFile file;
  char data[] = "x";
  EXPECT_EQ(ErrorOf([&] { file.Write(data, 1, "/dev/full", CFile::modeWrite); }).m_cause, CFileException::diskFull);
  ExpectRecord(file, 13, ENOSPC, "/dev/full", "Write");
  EXPECT_EQ(file.IsOpen(), 1);
}

TEST_F(ZnFileTest, ReadableAndWriteableFollowTheEffectiveUser) {
  drive.WriteFile("open.txt");
  drive.Chmod("open.txt", 0666);
  drive.WriteFile("readonly.txt");
  drive.Chmod("readonly.txt", 0444);
  drive.WriteFile("secret.txt", "x");
  drive.Chmod("secret.txt", 0);
  ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot act as an unprivileged user";
  const struct {
    const char* name;
    int readable;
    int writeable;
  } rows[] = {
      {"T:\\open.txt", 1, 1},
      {"T:\\readonly.txt", 1, 0},
      {"T:\\secret.txt", 0, 0},
      {"T:\\missing.txt", 0, 0},
  };
  for (const auto& row : rows) {
    const CZnFile file(row.name);
    EXPECT_EQ(file.IsReadable(), row.readable) << row.name;
    EXPECT_EQ(file.CanRead(), row.readable) << row.name;
    EXPECT_EQ(file.IsWriteable(), row.writeable) << row.name;
    EXPECT_EQ(file.CanAppend(), row.writeable) << row.name;
  }
  // The unreadable file cannot be opened: the read fails on the unopened file.
  CZnFile secret("T:\\secret.txt");
  char buffer[1];
  EXPECT_EQ(ErrorOf([&] { secret.Read(buffer, 1, nullptr, CFile::modeRead); }).m_cause,
            CFileException::invalidFile);
  const CFileException denied = ErrorOf([] { CZnFile file("T:\\secret.txt", CFile::modeRead); });
  EXPECT_EQ(denied.m_cause, CFileException::accessDenied);
}
