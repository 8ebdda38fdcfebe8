#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/testing/TempDrive.h"
#include "zncore/ZnSystem.h"

using platform::testing::ScopedUnprivileged;
using platform::testing::TempDrive;

namespace {

std::string Numbered(long number, const char* extension) {
  char name[32];
  std::snprintf(name, sizeof name, "%07ld.%s", number, extension);
  return name;
}

class UnusedNamesTest : public ::testing::Test {
protected:
  // Calls GetUnusedFileName with copies of the texts; the tidied texts are
  // left in `directory` and `extension`.
  int Unused(const char* dir, const char* ext, int fullPath) {
    std::snprintf(directory, sizeof directory, "%s", dir);
    std::snprintf(extension, sizeof extension, "%s", ext);
    return system.GetUnusedFileName(directory, extension, result, fullPath);
  }
  int UnusedSuffix(const char* dir, const char* title, int fullPath) {
    std::snprintf(directory, sizeof directory, "%s", dir);
    std::snprintf(name, sizeof name, "%s", title);
    return system.GetUnusedFileNameSuffix(directory, name, result, fullPath);
  }

  TempDrive drive{'T'};
  CZnSystem system;
  char directory[300];
  char extension[64];
  char name[300];
  char result[1100];
};

}  // namespace

TEST_F(UnusedNamesTest, EmptyFolderGivesNumberZero) {
  drive.MakeDir("logs");
  EXPECT_EQ(Unused("T:\\logs", ".log", 1), 1);
  EXPECT_STREQ(result, "T:\\logs\\0000000.log");
  EXPECT_STREQ(extension, "log");
  EXPECT_EQ(Unused("T:\\logs", "log", 0), 1);
  EXPECT_STREQ(result, "0000000.log");
}

TEST_F(UnusedNamesTest, TheFirstGapIsTaken) {
  drive.WriteFile("logs/0000000.log");
  drive.WriteFile("logs/0000001.log");
  EXPECT_EQ(Unused("T:\\logs", "log", 0), 1);
  EXPECT_STREQ(result, "0000002.log");
  drive.MakeDir("logs/0000002.log");  // a folder takes the name too
  drive.WriteFile("logs/0000004.log");
  EXPECT_EQ(Unused("T:\\logs", "log", 0), 1);
  EXPECT_STREQ(result, "0000003.log");
  drive.WriteFile("other/0000001.log");
  EXPECT_EQ(Unused("T:\\other", "log", 0), 1);
  EXPECT_STREQ(result, "0000000.log");
}

TEST_F(UnusedNamesTest, TidiedTextsAreWrittenBack) {
  drive.WriteFile("logs/0000000.txt");
  EXPECT_EQ(Unused("T:\\logs\\\\\\", "..txt", 1), 1);
  EXPECT_STREQ(directory, "T:\\logs");
  EXPECT_STREQ(extension, "txt");
  EXPECT_STREQ(result, "T:\\logs\\0000001.txt");
  EXPECT_EQ(UnusedSuffix("T:\\logs\\", "\\\\sub\\notes.txt", 1), 1);
  EXPECT_STREQ(directory, "T:\\logs");
  EXPECT_STREQ(name, "notes");
  EXPECT_STREQ(result, "T:\\logs\\notes.000");
  EXPECT_EQ(UnusedSuffix("T:\\logs", "archive.tar.gz", 0), 1);
  EXPECT_STREQ(name, "archive.tar");
  EXPECT_STREQ(result, "archive.tar.000");
  EXPECT_EQ(UnusedSuffix("T:\\logs", "trailing...", 0), 1);
  EXPECT_STREQ(name, "trailing");
}

TEST_F(UnusedNamesTest, SuffixNumbersSkipFilesAndFolders) {
  for (int i = 0; i <= 4; ++i) drive.WriteFile("logs/notes.00" + std::to_string(i));
  EXPECT_EQ(UnusedSuffix("T:\\logs", "notes.txt", 0), 1);
  EXPECT_STREQ(result, "notes.005");
  drive.MakeDir("logs/notes.005");
  EXPECT_EQ(UnusedSuffix("T:\\logs", "notes", 1), 1);
  EXPECT_STREQ(result, "T:\\logs\\notes.006");
}

TEST_F(UnusedNamesTest, AllSuffixesTaken) {
  char number[8];
  for (int i = 0; i <= 997; ++i) {
    std::snprintf(number, sizeof number, "%03d", i);
    drive.WriteFile(std::string("full/notes.") + number);
  }
  EXPECT_EQ(UnusedSuffix("T:\\full", "notes", 1), 0);
  EXPECT_STREQ(result, "all names (*.000->*.999) used");
  EXPECT_STREQ(name, "notes");
}

TEST_F(UnusedNamesTest, WildcardsInTheExtensionMatchAsPatterns) {
  drive.WriteFile("logs/0000000.LOG");
  drive.WriteFile("logs/0000001.lag");
  EXPECT_EQ(Unused("T:\\logs", "l?g", 0), 1);  // matches both, without case
  EXPECT_STREQ(result, "0000002.l?g");
  EXPECT_EQ(Unused("T:\\logs", "log", 0), 1);  // an exact name keeps its case
  EXPECT_STREQ(result, "0000000.log");
}

TEST_F(UnusedNamesTest, ManyTakenNamesWithGaps) {
  for (long number = 0; number < 300; ++number)
    if (number != 45 && number != 200) drive.WriteFile("many/" + Numbered(number, "log"));
  EXPECT_EQ(Unused("T:\\many", "log", 0), 1);
  EXPECT_STREQ(result, "0000045.log");
  drive.MakeDir("many/" + Numbered(45, "log"));
  EXPECT_EQ(Unused("T:\\many", "log", 1), 1);
  EXPECT_STREQ(result, "T:\\many\\0000200.log");
}

TEST_F(UnusedNamesTest, ListingGivesTheSameAnswersAsProbing) {
  // Past the first numbers a mixed stretch: plain files, a folder, links
  // that lead somewhere and nowhere, names in another case or with more
  // digits.
  for (long number = 0; number < 40; ++number) drive.WriteFile("mix/" + Numbered(number, "dat"));
  for (long number : {40L, 41L, 43L}) drive.WriteFile("mix/" + Numbered(number, "dat"));
  drive.MakeDir("mix/" + Numbered(42, "dat"));
  drive.Symlink(drive.Native("mix/" + Numbered(0, "dat")), "mix/" + Numbered(44, "dat"));
  drive.Symlink(drive.Native("mix/nowhere"), "mix/" + Numbered(45, "dat"));
  drive.WriteFile("mix/0000046.DAT");
  drive.WriteFile("mix/00000046.dat");
  EXPECT_EQ(Unused("T:\\mix", "dat", 0), 1);
  EXPECT_STREQ(result, "0000045.dat");  // the dangling link names nothing
  char probe[64];
  for (long number = 0; number <= 46; ++number) {
    std::snprintf(probe, sizeof probe, "T:\\mix\\%s", Numbered(number, "dat").c_str());
    EXPECT_EQ(system.FileExist(probe, ""), number < 45 ? 1 : 0) << probe;
  }
  drive.WriteFile("mix/nowhere");
  EXPECT_EQ(Unused("T:\\mix", "dat", 0), 1);
  EXPECT_STREQ(result, "0000046.dat");
}

TEST_F(UnusedNamesTest, AFolderThatCannotBeListedIsProbed) {
  for (long number = 0; number < 40; ++number) drive.WriteFile("hidden/" + Numbered(number, "log"));
  drive.Chmod("hidden", 0311);  // names may be looked up, not listed
  ScopedUnprivileged user;
  if (!user.Active()) GTEST_SKIP() << "cannot act as an unprivileged user";
  EXPECT_EQ(Unused("T:\\hidden", "log", 0), 1);
  EXPECT_STREQ(result, "0000040.log");
}

TEST_F(UnusedNamesTest, MissingFolderAndEmptyDirectory) {
  EXPECT_EQ(Unused("T:\\missing", "log", 1), 1);
  EXPECT_STREQ(result, "T:\\missing\\0000000.log");
  EXPECT_EQ(Unused("", "log", 1), 1);  // the root of the current drive
  EXPECT_STREQ(result, "\\0000000.log");
}

TEST_F(UnusedNamesTest, LongResultsAreCutAtTheFormattingLimit) {
  const std::string longDirectory = "T:\\" + std::string(290, 'd');
  std::memset(result, '#', sizeof result);
  EXPECT_EQ(Unused(longDirectory.c_str(), "log", 1), 1);
  EXPECT_EQ(std::string(result), longDirectory + "\\0000000.log");
  std::string huge(1050, 'x');
  char bigDirectory[1100];
  std::snprintf(bigDirectory, sizeof bigDirectory, "T:\\%s", huge.c_str());
  char ext[] = "log";
  std::memset(result, '#', sizeof result);
  EXPECT_EQ(system.GetUnusedFileName(bigDirectory, ext, result, 1), 1);
  EXPECT_EQ(std::strlen(result), 1023u);
  EXPECT_EQ(result[1024], '#');
}

TEST_F(UnusedNamesTest, NullBuffersAreRefused) {
  char dir[] = "T:\\", ext[] = "log";
  EXPECT_EQ(system.GetUnusedFileName(nullptr, ext, result, 1), 0);
  EXPECT_EQ(system.GetUnusedFileName(dir, nullptr, result, 1), 0);
  EXPECT_EQ(system.GetUnusedFileName(dir, ext, nullptr, 1), 0);
  EXPECT_EQ(system.GetUnusedFileNameSuffix(dir, nullptr, result, 1), 0);
}
