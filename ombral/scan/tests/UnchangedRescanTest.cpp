// A second scan of a tree nothing changed in writes no file: every file
// keeps its inode, modification and change time, whatever its size (a
// gallery page over 1 MiB included), the records too, and every folder
// its modification time. Only the classic
// pages carry the run's time and so change with every run (and with them
// the page record, which holds their digests).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>

#include "ScanFixture.h"

namespace {

namespace fs = std::filesystem;

struct FileState {
  ino_t inode = 0;
  timespec modified{};
  timespec changed{};
  friend bool operator==(const FileState& a, const FileState& b) {
    return a.inode == b.inode && a.modified.tv_sec == b.modified.tv_sec && a.modified.tv_nsec == b.modified.tv_nsec &&
           a.changed.tv_sec == b.changed.tv_sec && a.changed.tv_nsec == b.changed.tv_nsec;
  }
};

class UnchangedRescanTest : public ScanFixture {
protected:
  // Every file below T:\Pics with its inode and times, and its folders
  // (with a slash) by their modification time alone: an unchanged page makes
  // no temporary file, so its folder's time stays too, a page over 1 MiB
  // (compared piece by piece) included.
  std::map<std::string, FileState> Files() {
    std::map<std::string, FileState> files;
    for (const auto& entry : fs::recursive_directory_iterator(drive.Native("Pics"))) {
      struct stat st {};
      if (::lstat(entry.path().c_str(), &st) != 0) continue;
      const std::string name = fs::relative(entry.path(), drive.Native("Pics")).string();
      if (!S_ISDIR(st.st_mode)) files[name] = {st.st_ino, st.st_mtim, st.st_ctim};
      else files[name + "/"] = {st.st_ino, st.st_mtim, st.st_mtim};
    }
    struct stat top {};
    if (::lstat(drive.Native("Pics").c_str(), &top) == 0) files["/"] = {top.st_ino, top.st_mtim, top.st_mtim};
    return files;
  }
  void Tree() {
    Picture("Pics/a.jpg");
    Picture("Pics/A/b.jpg");
    Picture("Pics/A/B/c.png", 90, 120);
    // Enough videos for a gallery page of more than 1 MiB (they need no
    // previews, so the scan stays quick).
    drive.MakeDir("Pics/Big");
    for (int i = 0; i < 9000; ++i)
      drive.WriteFile("Pics/Big/" + std::to_string(i) + std::string(90, 'v') + ".mp4", "");
  }
};

}  // namespace

TEST_F(UnchangedRescanTest, LeavesEveryFileAsItWas) {
  const struct {
    const char* kind;
    Settings settings;
    bool classic;  // its pages carry the run's time
  } kinds[] = {
      {"gallery with previews", {.gallery = true}, false},
      {"classic pages", {}, true},
      {"classic pages with previews", {.edge = 120}, true},
  };
  Tree();
  for (const auto& kind : kinds) {
    SCOPED_TRACE(kind.kind);
    ScanFixture::Scan(kind.settings);
    const std::map<std::string, FileState> before = Files();
    if (!kind.classic) {
      ASSERT_GT(fs::file_size(drive.Native("Pics/Big/_FileIndex.html")), 1u << 20);
    }
    ScanFixture::Scan(kind.settings);
    const std::map<std::string, FileState> after = Files();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, state] : before) {
      ASSERT_TRUE(after.count(name)) << name;
      const bool carriesTime =
          kind.classic && (name.ends_with(".html") || name == "_xpages.txt" || name.ends_with("/"));
      if (!carriesTime) {
        EXPECT_TRUE(after.at(name) == state) << name;
      }
    }
  }
}
