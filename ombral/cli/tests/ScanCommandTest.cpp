#include "ScanCommand.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

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

TEST(ScanOptions, PreviewAndStaleFileOptions) {
  std::string error;
  const char* plain[] = {"--thumbnails", "--remove-stale", "--dry-run", "P"};
  const auto options = ombral::ParseScanOptions(4, plain, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->thumbnailEdge, 240);
  EXPECT_TRUE(options->removeStale && options->dryRun);
  const char* edge[] = {"--thumbnails=320", "P"};
  EXPECT_EQ(ombral::ParseScanOptions(2, edge, error)->thumbnailEdge, 320);
  const char* off[] = {"P"};
  EXPECT_EQ(ombral::ParseScanOptions(1, off, error)->thumbnailEdge, 0);

  struct Row {
    std::vector<const char*> args;
    const char* error;
  };
  const Row rows[] = {
      {{"--thumbnails=8", "P"}, "--thumbnails needs an edge of 16 to 4096 pixels"},
      {{"--thumbnails=4097", "P"}, "--thumbnails needs an edge of 16 to 4096 pixels"},
      {{"--thumbnails=24x", "P"}, "--thumbnails needs an edge of 16 to 4096 pixels"},
      {{"--thumbnails=", "P"}, "--thumbnails needs an edge of 16 to 4096 pixels"},
      {{"--thumbnails=99999999999", "P"}, "--thumbnails needs an edge of 16 to 4096 pixels"},
      {{"--dry-run", "P"}, "--dry-run goes with --remove-stale"},
      {{"--remove-stale=yes", "P"}, "unknown option --remove-stale=yes"},
  };
  for (const Row& row : rows) {
    EXPECT_FALSE(ombral::ParseScanOptions(static_cast<int>(row.args.size()), row.args.data(), error));
    EXPECT_EQ(error, row.error);
  }
}

TEST(ScanCommand, HelpNamesTheNewOptions) {
  const Result help = RunCommand({"--help"});
  for (const char* option : {"--thumbnails[=EDGE]", "--remove-stale", "--dry-run"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

TEST(ScanCommand, PreviewAndRemovalCountsCloseTheProtocol) {
  TempDrive drive('T');
  drive.WriteSizedFile("Pics/A/clip.avi", 10);
  const Result result = RunCommand({"--thumbnails", "--remove-stale", "T:\\Pics"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "PATH: T:\\Pics\n\n\nCREATED FILES: 1\nFOUND IMAGES: 1 with 0 KB\nFOUND PATHS: 2\n"
            "PREVIEWS: 0 made, 0 unchanged\nREMOVED FILES: 0\nSCAN COMPLETED\n");
  EXPECT_FALSE(drive.Exists("Pics/A/_xthumbs"));  // nothing to preview, no folder for it
}

TEST(ScanOptions, PageNamesArePlainNamesTheFilterDoesNotList) {
  struct Row {
    std::vector<const char*> args;
    const char* error;
  };
  const Row rows[] = {
      {{"--index", "../x.html", "P"},
       "The index filename \"../x.html\" is not a valid filename (it must be a plain file name)."},
      {{"--frame", "../x.html", "P"},
       "The html frame filename \"../x.html\" is not a valid filename (it must be a plain file name)."},
      {{"--index", "photo.jpg", "P"},
       "The index filename \"photo.jpg\" is not a valid filename (the filter matches it)."},
      {{"--index", "..", "P"},
       "The index filename \"..\" is not a valid filename (it must be a plain file name)."},
      {{"--frame", "_xbmidx.html", "P"},
       "The html frame filename \"_xbmidx.html\" is not a valid filename (Ombral uses that name for its own files)."},
      {{"--index", "a\\b.html", "P"},
       "The index filename \"a\\b.html\" is not a valid filename (contains invalid characters)."},
      {{"--index", "same.html", "--frame", "same.html", "P"}, "--index and --frame name the same file"},
      {{"--preview-memory=8", "P"}, "--preview-memory needs a number of MiB, at least 16"},
  };
  for (const Row& row : rows) {
    std::string error;
    EXPECT_FALSE(ombral::ParseScanOptions(static_cast<int>(row.args.size()), row.args.data(), error));
    EXPECT_EQ(error, row.error);
  }
  TempDrive drive('T');
  drive.WriteSizedFile("Pics/photo.jpg", 10);
  const Result result = RunCommand({"--index", "photo.jpg", "T:\\Pics"});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(drive.ReadFile("Pics/photo.jpg"), std::string(10, 'x'));  // the picture stays
  std::string error;
  const char* good[] = {"--follow-links", "--preview-memory=64", "--index", "index.htm", "P"};
  const auto options = ombral::ParseScanOptions(5, good, error);
  ASSERT_TRUE(options) << error;
  EXPECT_TRUE(options->followLinks);
  EXPECT_EQ(options->previewMemoryMiB, 64);
}

TEST(ScanCommand, ErrorsMakeExitStatusThreeAndShowEvenWhenQuiet) {
  TempDrive drive('T');
  TempDrive outside('U');
  outside.WriteFile("secret.txt", "secret");
  drive.WriteSizedFile("Pics/A/one.jpg", 10);
  drive.Symlink(outside.Native("secret.txt"), "Pics/A/_FileIndex.html");
  const std::string line = "Cannot write file \"T:\\Pics\\A\\_FileIndex.html\": a symbolic link holds its name.";
  const Result loud = RunCommand({"T:\\Pics"});
  EXPECT_EQ(loud.status, 3);
  EXPECT_NE(loud.out.find(line + "\n"), std::string::npos);
  EXPECT_EQ(loud.err, "ombral-scan: completed with 1 error\n");
  const Result quiet = RunCommand({"--quiet", "T:\\Pics"});
  EXPECT_EQ(quiet.status, 3);
  EXPECT_EQ(quiet.out, "SCAN COMPLETED\n");
  EXPECT_EQ(quiet.err, "ombral-scan: " + line + "\nombral-scan: completed with 1 error\n");
  EXPECT_EQ(outside.ReadFile("secret.txt"), "secret");
}

TEST(ScanCommand, NamesPrintWithTheirControlCharactersEscaped) {
  TempDrive drive('T');
  // A name that would print a status line of its own.
  drive.WriteSizedFile("Pics/a\nSCAN COMPLETED\x1b[2J.jpg", 10);
  const Result result = RunCommand({"--log", "T:\\Pics"});
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("    adding image link: a\\nSCAN COMPLETED\\x1B[2J.jpg\n"), std::string::npos);
  EXPECT_EQ(result.out.find("\x1b"), std::string::npos);
  EXPECT_EQ(result.out.find("\nSCAN COMPLETED\n"), result.out.size() - 16);  // the status comes once, last
  // The page links to the file all the same.
  EXPECT_NE(drive.ReadFile("Pics/_FileIndex.html").find("<IMG SRC=\"a%0ASCAN COMPLETED%1B[2J.jpg\">"),
            std::string::npos);
}

TEST(ScanOptions, GalleryBringsPreviewsItsFilterAndAnOrder) {
  std::string error;
  const char* plain[] = {"--gallery", "T:\\Pics"};
  const auto gallery = ombral::ParseScanOptions(2, plain, error);
  ASSERT_TRUE(gallery) << error;
  EXPECT_TRUE(gallery->gallery);
  EXPECT_EQ(gallery->thumbnailEdge, 240);
  EXPECT_EQ(gallery->filter, COmbralScan::kGalleryFilter);
  EXPECT_FALSE(gallery->sortByDate);

  const char* chosen[] = {"--filter=JPG", "--thumbnails=320", "--gallery", "--sort=date-taken", "T:\\Pics"};
  const auto own = ombral::ParseScanOptions(5, chosen, error);
  ASSERT_TRUE(own) << error;
  EXPECT_EQ(own->filter, "JPG");  // a filter the user gave stays
  EXPECT_EQ(own->thumbnailEdge, 320);
  EXPECT_TRUE(own->sortByDate);
  EXPECT_FALSE(own->newestFirst);
  EXPECT_EQ(own->renditionEdge, 2048);
  const char* newest[] = {"--gallery", "--sort=date-taken-desc", "--renditions=off", "T:\\Pics"};
  const auto desc = ombral::ParseScanOptions(4, newest, error);
  ASSERT_TRUE(desc) << error;
  EXPECT_TRUE(desc->sortByDate && desc->newestFirst);
  EXPECT_EQ(desc->renditionEdge, 0);

  struct Row {
    std::vector<const char*> args;
    const char* error;
  };
  const Row rows[] = {
      {{"--sort=date-taken", "T:\\Pics"}, "--sort goes with --gallery"},
      {{"--gallery", "--sort=size", "T:\\Pics"}, "--sort needs name, date-taken or date-taken-desc"},
      {{"--renditions=off", "T:\\Pics"}, "--renditions goes with --gallery"},
      {{"--gallery", "--renditions=100", "T:\\Pics"}, "--renditions needs an edge of 512 to 8192 pixels, or off"},
      {{"--gallery", "--renditions=99999", "T:\\Pics"}, "--renditions needs an edge of 512 to 8192 pixels, or off"},
      {{"--gallery", "--sort", "T:\\Pics"}, "unknown option --sort"},
  };
  for (const Row& row : rows) {
    EXPECT_FALSE(ombral::ParseScanOptions(static_cast<int>(row.args.size()), row.args.data(), error));
    EXPECT_EQ(error, row.error);
  }
}

TEST(ScanCommand, GalleryScanWritesTheEntryPageAndItsFiles) {
  TempDrive drive('T');
  drive.WriteFile("Pics/A/clip.webm", "a video");
  const Result result = RunCommand({"--gallery", "T:\\Pics"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.out.find("PREVIEWS: 0 made, 0 unchanged, 0 found again by content\nSCAN COMPLETED\n"),
            std::string::npos);
  EXPECT_EQ(drive.ReadFile("Pics/_FileIndexFrame.html").rfind("<!DOCTYPE html>", 0), 0u);
  EXPECT_TRUE(drive.Exists("Pics/_xgallery.js"));
  EXPECT_NE(drive.ReadFile("Pics/A/_FileIndex.html").find("clip.webm"), std::string::npos);
  const Result help = RunCommand({"--help"});
  EXPECT_NE(help.out.find("--gallery"), std::string::npos);
  EXPECT_NE(help.out.find("--sort=ORDER"), std::string::npos);
}

TEST(ScanCommand, JsonGivesOneObjectPerProblemAndTheResultLast) {
  TempDrive drive('T');
  drive.WriteSizedFile("Pics/A/one.jpg", 1000);
  drive.WriteSizedFile("Pics/A/two.gif", 3000);
  drive.MakeDir("Pics/B/_FileIndex.html");  // a folder where B's page would go
  drive.WriteSizedFile("Pics/B/three.jpg", 100);
  struct Row {
    std::vector<const char*> args;
    int status;
    std::vector<std::string> lines;  // the summary without its time
  };
  const std::string taken = "{\"type\":\"problem\",\"severity\":\"error\",\"text\":\"Cannot write file "
                            "\\\"T:\\\\Pics\\\\B\\\\_FileIndex.html\\\": a folder holds its name.\"}";
  const auto noPreview = [](const char* name) {
    return "{\"type\":\"problem\",\"severity\":\"warning\",\"text\":\"Cannot make a preview of \\\"T:\\\\Pics\\\\" +
           std::string(name) + "\\\"!\"}";
  };
  const Row rows[] = {
      {{"--json", "--thumbnails=16", "--remove-stale", "T:\\Pics"},
       3,
       {noPreview("A\\\\one.jpg"), noPreview("A\\\\two.gif"), taken, noPreview("B\\\\three.jpg"), "{\"type\":\"summary\",\"status\":\"completed-with-errors\",\"exitCode\":3,\"path\":\"T:\\\\Pics\","
               "\"createdFiles\":1,\"foundImages\":3,\"foundBytes\":4100,\"foundPaths\":4,\"previews\":{\"made\":0,"
               "\"unchanged\":0,\"foundAgain\":0},\"staleFiles\":0,\"errors\":1,\"warnings\":3,\"seconds\":"}},
      {{"--json", "T:\\Gone"},
       1,
       {"{\"type\":\"problem\",\"severity\":\"cancel\",\"text\":\"Path \\\"T:\\\\Gone\\\" could not be found.\"}",
        "{\"type\":\"summary\",\"status\":\"cancelled\",\"exitCode\":1,\"path\":\"T:\\\\Gone\",\"createdFiles\":0,"
        "\"foundImages\":0,\"foundBytes\":0,\"foundPaths\":0,\"previews\":null,\"staleFiles\":null,\"errors\":0,"
        "\"warnings\":0,\"seconds\":"}},
  };
  for (const Row& row : rows) {
    const Result result = RunCommand(row.args);
    EXPECT_EQ(result.status, row.status);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = result.out.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(result.out.substr(start, end - start));
    ASSERT_EQ(lines.size(), row.lines.size()) << result.out;
    for (std::size_t i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], row.lines[i]);
    // The time is a number of seconds with three decimals.
    const std::string& summary = lines.back();
    EXPECT_EQ(summary.substr(0, row.lines.back().size()), row.lines.back());
    EXPECT_TRUE(summary.size() > row.lines.back().size() + 1 && summary.back() == '}') << summary;
    EXPECT_FALSE(result.err.empty());  // people reading along still see the problems
  }
  EXPECT_EQ(ombral::JsonText("a\"b\\c\n\xe9\xC3\xA9"), "\"a\\\"b\\\\c\\u000a\\ufffd\xC3\xA9\"");
}

TEST(ScanCommand, PreviewsFollowTheEdgeBothWays) {
  TempDrive drive('T');
  drive.MakeDir("Pics");
  ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native("Pics/photo.jpg"), 800, 600));
  struct Row {
    const char* edge;
    const char* previews;
    const char* size;  // on the page
  };
  const Row rows[] = {
      {"--thumbnails=16", "PREVIEWS: 1 made, 0 unchanged", "WIDTH=\"16\" HEIGHT=\"12\""},
      {"--thumbnails=240", "PREVIEWS: 1 made, 0 unchanged", "WIDTH=\"240\" HEIGHT=\"180\""},
      {"--thumbnails=240", "PREVIEWS: 0 made, 1 unchanged", "WIDTH=\"240\" HEIGHT=\"180\""},
      {"--thumbnails=16", "PREVIEWS: 1 made, 0 unchanged", "WIDTH=\"16\" HEIGHT=\"12\""},
  };
  for (const Row& row : rows) {
    const Result result = RunCommand({row.edge, "T:\\Pics"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_NE(result.out.find(std::string(row.previews) + "\nSCAN COMPLETED\n"), std::string::npos) << result.out;
    EXPECT_NE(drive.ReadFile("Pics/_FileIndex.html").find(row.size), std::string::npos) << row.edge;
  }
}
