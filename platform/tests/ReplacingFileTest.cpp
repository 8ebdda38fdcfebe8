#include "platform/ReplacingFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/testing/TempDrive.h"
#include "posix/SysCalls.h"

using platform::FolderHandle;
using platform::ReplacingFile;
using platform::SharedFolder;
using platform::testing::TempDrive;
using Outcome = ReplacingFile::Outcome;

namespace {

SharedFolder OpenShared(const char* path) { return std::make_shared<FolderHandle>(FolderHandle::Open(path)); }

Outcome WriteFile(const SharedFolder& folder, const char* name, std::string_view text,
                  ReplacingFile::Options options = {}) {
  ReplacingFile file;
  if (!file.Begin(folder, name, options)) return file.GetOutcome();
  file.Write(text);
  return file.Commit();
}

unsigned ModeOf(const std::string& native) {
  struct stat st {};
  ::lstat(native.c_str(), &st);
  return st.st_mode & 0777;
}

ino_t InodeOf(const std::string& native) {
  struct stat st {};
  ::lstat(native.c_str(), &st);
  return st.st_ino;
}

std::vector<std::string> Names(const std::string& native) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(native)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

// The prefix a program names its temporary files with.
[[maybe_unused]] const bool kPrefixSet = (ReplacingFile::SetTemporaryPrefix(".#ombral."), true);

TEST(ReplacingFile, CreatesReplacesAndKeepsWhatIsUnchanged) {
  TempDrive drive('T');
  drive.MakeDir("Tree");
  const SharedFolder tree = OpenShared("T:\\Tree");
  EXPECT_EQ(WriteFile(tree, "page.html", "first"), Outcome::Created);
  EXPECT_EQ(drive.ReadFile("Tree/page.html"), "first");
  const ino_t before = InodeOf(drive.Native("Tree/page.html"));
  EXPECT_EQ(WriteFile(tree, "page.html", "first"), Outcome::Unchanged);
  EXPECT_EQ(InodeOf(drive.Native("Tree/page.html")), before);
  ::chmod(drive.Native("Tree/page.html").c_str(), 0640);
  EXPECT_EQ(WriteFile(tree, "page.html", "second, longer"), Outcome::Replaced);
  EXPECT_EQ(drive.ReadFile("Tree/page.html"), "second, longer");
  EXPECT_EQ(ModeOf(drive.Native("Tree/page.html")), 0640u);  // the old file's permissions stay
  EXPECT_EQ(Names(drive.Native("Tree")), std::vector<std::string>{"page.html"});
}

TEST(ReplacingFile, AHardLinkedCopyKeepsItsOldContent) {
  TempDrive drive('T');
  drive.WriteFile("Tree/page.html", "old");
  std::filesystem::create_directory(drive.Native("Snapshot"));
  std::filesystem::create_hard_link(drive.Native("Tree/page.html"), drive.Native("Snapshot/page.html"));
  EXPECT_EQ(WriteFile(OpenShared("T:\\Tree"), "page.html", "new"), Outcome::Replaced);
  EXPECT_EQ(drive.ReadFile("Snapshot/page.html"), "old");
}

TEST(ReplacingFile, NeverWritesThroughOrReplacesALinkFolderOrPipe) {
  TempDrive drive('T');
  TempDrive outside('U');
  outside.WriteFile("root-only.txt", "secret");
  drive.MakeDir("Tree");
  drive.Symlink(outside.Native("root-only.txt"), "Tree/link.html");
  drive.MakeDir("Tree/folder.html");
  ASSERT_EQ(::mkfifo(drive.Native("Tree/pipe.html").c_str(), 0644), 0);
  const SharedFolder tree = OpenShared("T:\\Tree");
  ReplacingFile file;
  EXPECT_FALSE(file.Begin(tree, "link.html", {}));
  EXPECT_EQ(file.GetOutcome(), Outcome::NameTaken);
  EXPECT_EQ(file.TakenBy(), platform::EntryKind::Link);
  EXPECT_EQ(WriteFile(tree, "folder.html", "x"), Outcome::NameTaken);
  EXPECT_EQ(WriteFile(tree, "pipe.html", "x"), Outcome::NameTaken);
  EXPECT_EQ(outside.ReadFile("root-only.txt"), "secret");

  // A link that takes the name between the start and the end stays as well.
  ASSERT_TRUE(file.Begin(tree, "late.html", {}));
  file.Write("x");
  drive.Symlink(outside.Native("root-only.txt"), "Tree/late.html");
  EXPECT_EQ(file.Commit(), Outcome::NameTaken);
  EXPECT_EQ(outside.ReadFile("root-only.txt"), "secret");
  EXPECT_EQ(Names(drive.Native("Tree")),
            (std::vector<std::string>{"folder.html", "late.html", "link.html", "pipe.html"}));
}

TEST(ReplacingFile, AFailedWriteLeavesTheOldFileWhole) {
  TempDrive drive('T');
  drive.WriteFile("Tree/page.html", "the complete old page");
  const SharedFolder tree = OpenShared("T:\\Tree");
  platform::posix::Sys().write = [](int, const void*, size_t) -> ssize_t {
    errno = ENOSPC;
    return -1;
  };
  ReplacingFile file;
  ASSERT_TRUE(file.Begin(tree, "page.html", {}));
  file.Write("new");
  EXPECT_EQ(file.Commit(), Outcome::Failed);
  EXPECT_EQ(file.Error(), ENOSPC);
  platform::posix::ResetSysCalls();
  EXPECT_EQ(drive.ReadFile("Tree/page.html"), "the complete old page");
  EXPECT_EQ(Names(drive.Native("Tree")), std::vector<std::string>{"page.html"});

  // An unfinished writer leaves nothing behind.
  {
    ReplacingFile unfinished;
    ASSERT_TRUE(unfinished.Begin(tree, "other.html", {}));
    unfinished.Write("half");
  }
  EXPECT_EQ(Names(drive.Native("Tree")), std::vector<std::string>{"page.html"});
}

TEST(ReplacingFile, PermissionsAskedForHoldFromTheFirstByte) {
  TempDrive drive('T');
  drive.MakeDir("Tree");
  const SharedFolder tree = OpenShared("T:\\Tree");
  ReplacingFile file;
  ReplacingFile::Options options;
  options.mode = 0600;
  options.forceMode = true;
  ASSERT_TRUE(file.Begin(tree, "private.jpg", options));
  for (const auto& entry : std::filesystem::directory_iterator(drive.Native("Tree")))
    EXPECT_EQ(ModeOf(entry.path()) & 077, 0u) << "the temporary file is private";
  file.Write("jpeg");
  EXPECT_EQ(file.Commit(), Outcome::Created);
  EXPECT_EQ(ModeOf(drive.Native("Tree/private.jpg")), 0600u);
  options.mode = 0644;
  EXPECT_EQ(WriteFile(tree, "private.jpg", "other", options), Outcome::Replaced);
  EXPECT_EQ(ModeOf(drive.Native("Tree/private.jpg")), 0644u);  // forceMode overrides the old file's
}

TEST(ReplacingFile, AKilledWriterLeavesOldOrNewAndItsLeftoverIsCleanedUp) {
  TempDrive drive('T');
  drive.WriteFile("Tree/page.html", "old page");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Killed at the step that would put the new file under the name.
    platform::posix::Sys().renameat = [](int, const char*, int, const char*) { return ::raise(SIGKILL); };
    platform::posix::Sys().exchangeNames = [](int, const char*, const char*) { return ::raise(SIGKILL); };
    const SharedFolder tree = OpenShared("T:\\Tree");
    ReplacingFile file;
    if (file.Begin(tree, "page.html", {})) {
      file.Write("new page");
      file.Commit();
    }
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(drive.ReadFile("Tree/page.html"), "old page");
  std::vector<std::string> names = Names(drive.Native("Tree"));
  ASSERT_EQ(names.size(), 2u);
  const std::string leftover = names[0] == "page.html" ? names[1] : names[0];
  EXPECT_TRUE(ReplacingFile::IsTemporaryName(leftover)) << leftover;

  const FolderHandle tree = FolderHandle::Open("T:\\Tree");
  EXPECT_FALSE(ReplacingFile::RemoveLeftover(tree, "page.html"));
  EXPECT_TRUE(ReplacingFile::RemoveLeftover(tree, leftover));
  EXPECT_EQ(Names(drive.Native("Tree")), std::vector<std::string>{"page.html"});

  // A name of that form that belongs to a running process stays.
  const std::string running = ".#ombral." + std::to_string(::getppid()) + ".0123456789abcdef";
  drive.WriteFile("Tree/" + running, "x");
  EXPECT_FALSE(ReplacingFile::RemoveLeftover(tree, running));
  for (const char* name : {".#ombral.12.short", ".#ombral.x.0123456789abcdef", "page.html.tmp"})
    EXPECT_FALSE(ReplacingFile::IsTemporaryName(name)) << name;
}

TEST(ReplacingFile, ALongFileIsKeptOnlyWhenEveryByteIsTheSame) {
  // Over the size kept in memory the new bytes are compared as they go out.
  const std::string old = [] {
    std::string text(3u << 20, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 23);
    return text;
  }();
  const auto changedAt = [&old](std::size_t at) {
    std::string text = old;
    text[at] = '#';
    return text;
  };
  const struct {
    const char* what;
    std::string text;
    Outcome outcome;
  } cases[] = {
      {"the same bytes", old, Outcome::Unchanged},
      {"the first byte differs", changedAt(0), Outcome::Replaced},
      {"a byte in the middle differs", changedAt(old.size() / 2), Outcome::Replaced},
      {"the last byte differs", changedAt(old.size() - 1), Outcome::Replaced},
      {"one byte shorter", old.substr(0, old.size() - 1), Outcome::Replaced},
      {"one byte longer", old + "x", Outcome::Replaced},
      {"a short file now", "short", Outcome::Replaced},
  };
  TempDrive drive('T');
  drive.MakeDir("Tree");
  const SharedFolder tree = OpenShared("T:\\Tree");
  const auto same = [](const struct stat& a, const struct stat& b) {
    return a.st_ino == b.st_ino && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec && a.st_mtim.tv_sec == b.st_mtim.tv_sec;
  };
  // In one piece, and in pieces as a page is written (some of them held
  // while they match, the rest written once the bytes differ).
  for (const std::size_t piece : {std::size_t{0}, std::size_t{40000}}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.what) + (piece ? ", in pieces" : ""));
      ASSERT_NE(WriteFile(tree, "index.js", old), Outcome::Failed);
      struct stat before {}, folderBefore {};
      ::lstat(drive.Native("Tree/index.js").c_str(), &before);
      ::lstat(drive.Native("Tree").c_str(), &folderBefore);
      ReplacingFile file;
      ASSERT_TRUE(file.Begin(tree, "index.js", {}));
      const std::size_t step = piece ? piece : c.text.size();
      for (std::size_t at = 0; at < c.text.size(); at += step) file.Write(std::string_view(c.text).substr(at, step));
      EXPECT_EQ(file.Commit(), c.outcome);
      struct stat after {}, folderAfter {};
      ::lstat(drive.Native("Tree/index.js").c_str(), &after);
      ::lstat(drive.Native("Tree").c_str(), &folderAfter);
      // An unchanged file leaves its folder as it was: no temporary name
      // came and went.
      EXPECT_EQ(same(before, after), c.outcome == Outcome::Unchanged);
      if (c.outcome == Outcome::Unchanged) {
        EXPECT_TRUE(same(folderBefore, folderAfter));
      }
      EXPECT_TRUE(drive.ReadFile("Tree/index.js") == c.text);
      EXPECT_EQ(Names(drive.Native("Tree")), std::vector<std::string>{"index.js"});
    }
  }
}
