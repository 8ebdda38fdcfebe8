#include "ScanCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/testing/TempDrive.h"

using platform::testing::TempDrive;

namespace {

struct Result {
  int status;
  std::string out;
  std::string err;
};

std::string Drain(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

Result RunCommand(std::vector<const char*> args) {
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  const int status = ombral::RunScanCommand(static_cast<int>(args.size()), args.data(), out, err);
  return {status, Drain(out), Drain(err)};
}

}  // namespace

TEST(ScanOptions, ValuesFlagsAndDefaults) {
  std::string error;
  const char* args[] = {"--index", "i.html", "--frame=f.html", "--filter", "JPG", "--no-overwrite",
                        "--no-recurse", "--log", "--ignore-empty", "--quiet", "T:\\Pics"};
  const auto options = ombral::ParseScanOptions(11, args, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->indexFile, "i.html");
  EXPECT_EQ(options->frameFile, "f.html");
  EXPECT_EQ(options->filter, "JPG");
  EXPECT_FALSE(options->overwrite);
  EXPECT_FALSE(options->recurse);
  EXPECT_TRUE(options->logging && options->ignoreEmpty && options->quiet);
  EXPECT_EQ(options->path, "T:\\Pics");

  const char* plain[] = {"--", "--odd name"};
  const auto defaults = ombral::ParseScanOptions(2, plain, error);
  ASSERT_TRUE(defaults);
  EXPECT_EQ(defaults->path, "--odd name");
  EXPECT_TRUE(defaults->overwrite && defaults->recurse && !defaults->logging && !defaults->ignoreEmpty);
  EXPECT_EQ(defaults->indexFile, "_FileIndex.html");
}

TEST(ScanOptions, MistakesAreNamed) {
  struct Row {
    std::vector<const char*> args;
    const char* error;
  };
  const Row rows[] = {
      {{}, "no PATH given"},
      {{"--bogus", "x"}, "unknown option --bogus"},
      {{"--log=yes", "x"}, "unknown option --log=yes"},
      {{"x", "--index"}, "option --index needs a value"},
      {{"a", "b"}, "only one PATH may be given (quote a path with blanks)"},
  };
  for (const Row& row : rows) {
    std::string error;
    EXPECT_FALSE(ombral::ParseScanOptions(static_cast<int>(row.args.size()), row.args.data(), error));
    EXPECT_EQ(error, row.error);
  }
}

TEST(ScanCommand, HelpVersionAndBadArguments) {
  const Result help = RunCommand({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("Usage: ombral-scan [OPTIONS] PATH"), std::string::npos);
  EXPECT_EQ(RunCommand({"--version"}).out, "ombral-scan " OMBRAL_VERSION "\n");
  const Result bad = RunCommand({"--frobnicate"});
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_EQ(bad.err.rfind("ombral-scan: unknown option --frobnicate\n\nUsage:", 0), 0u);
}

TEST(ScanCommand, CompletedScanPrintsProtocolThenStatus) {
  TempDrive drive('T');
  drive.WriteSizedFile("Pics/A/one.jpg", 2048);
  const Result result = RunCommand({"T:\\Pics"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "PATH: T:\\Pics\n\n\nCREATED FILES: 1\nFOUND IMAGES: 1 with 2 KB\nFOUND PATHS: 2\nSCAN COMPLETED\n");
  EXPECT_EQ(result.err, "");  // no progress lines when standard error is not a terminal
  EXPECT_TRUE(drive.Exists("Pics/A/_FileIndex.html"));

  const Result quiet = RunCommand({"--quiet", "T:\\Pics"});
  EXPECT_EQ(quiet.out, "SCAN COMPLETED\n");
}

TEST(ScanCommand, CancelledScanExitsWithOne) {
  TempDrive drive('T');
  const Result result = RunCommand({"T:\\Missing"});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "ombral-scan: Path \"T:\\Missing\" could not be found.\n");
  EXPECT_EQ(result.out, "Path \"T:\\Missing\" could not be found.\nSCAN CANCELED!\n");
}

TEST(ScanCommand, PosixPathsAreScannedInDriveFormSoLinksStayRelative) {
  TempDrive drive('T');
  drive.WriteSizedFile("Pics/A/one.jpg", 10);
  drive.WriteSizedFile("Pics/top.jpg", 10);
  for (const std::string& path : {std::string("Pics"), std::string("./Pics/"), drive.Native("Pics")}) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(platform::SetCurrentDirectoryPath("T:\\"));  // each scan ends in its root
    const Result result = RunCommand({path.c_str()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out.rfind("PATH: T:\\Pics\n", 0), 0u);
    const std::string index = drive.ReadFile("Pics/_xbmidx.html");
    EXPECT_NE(index.find("<A HREF=\"_FileIndex.html\" target=\"Details\">Pics</A>"), std::string::npos);
    EXPECT_NE(index.find("<A HREF=\"A/_FileIndex.html\""), std::string::npos);
  }
}
