// The walk on one thread and on several gives the same run: the same
// protocol lines in the same order, and the same bytes in every file it
// writes, on a tree with links, pipes, an unreadable folder and a folder
// swapped for a link after the folder list was made.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include "ScanFixture.h"
#include "platform/testing/TempDrive.h"

using platform::testing::FixedClock;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

// A scan that swaps "Pics/Swap" with the link "Pics/Elsewhere" once the
// folder list is made, before the first folder is looked at again.
class SwappingScan : public CRecordingScan {
public:
  explicit SwappingScan(const TempDrive& drive) : m_drive(drive) {}

protected:
  void AddProtocolLine(const char* text) override {
    CRecordingScan::AddProtocolLine(text);
    const std::string line(text);
    if (line.size() > 17 && line.compare(line.size() - 17, 17, " paths to scan...") == 0) {
      EXPECT_TRUE(platform::testing::ExchangeNames(m_drive.Native("Pics/Swap"), m_drive.Native("Pics/Elsewhere")));
    }
  }

private:
  const TempDrive& m_drive;
};

// What a run leaves: its protocol, and every name of the tree with the
// bytes of its regular files (a link's target; "pipe", "folder").
struct Outcome {
  Lines protocol;
  std::map<std::string, std::string> tree;
};

// A preview record without the time and inode of each preview file (the
// sixth and seventh fields of a line of a made preview).
std::string WithoutPreviewFiles(const std::string& text) {
  std::istringstream lines(text);
  std::string result, line;
  while (std::getline(lines, line)) {
    if (line.rfind("P ", 0) == 0) {
      std::istringstream fields(line);
      std::string field;
      line.clear();
      for (int i = 0; fields >> field; ++i) line += (i == 5 || i == 6 ? std::string("*") : field) + " ";
    }
    result += line + "\n";
  }
  return result;
}

class ParallelWalkTest : public ScanFixture {
protected:
  TempDrive outside{'U'};
  FixedClock clock{2026, 12, 8, 9, 30, 0};

  void MakeTree() {
    for (int album = 0; album < 6; ++album)
      for (int day = 0; day < 5; ++day)
        for (int shot = 0; shot < 4; ++shot)
          drive.WriteFile("Pics/Album" + std::to_string(album) + "/Day" + std::to_string(day) + "/IMG_" +
                              std::to_string(shot) + ".jpg",
                          std::string(static_cast<std::size_t>(100 + 10 * shot + day), 'x'));
    Picture("Pics/Album0/photo.jpg");
    Picture("Pics/Album5/Day2/photo.png");
    ASSERT_TRUE(platform::testing::MakeFifo(drive.Native("Pics/Album1/pipe.jpg")));
    drive.Symlink("../Album0/Day0/IMG_0.jpg", "Pics/Album2/link.jpg");
    drive.Symlink("nowhere.jpg", "Pics/Album2/dangling.jpg");
    drive.Symlink("../Album0", "Pics/Album3/ToAlbum0");
    drive.Symlink("..", "Pics/Album4/Up");
    outside.WriteFile("Far/far.jpg", "outside");
    drive.Symlink(outside.Native("Far"), "Pics/Album3/Far");
    drive.WriteFile("Pics/Album5/a\\b.jpg", "backslash");
    drive.WriteFile("Pics/Album1/Odd\\Name/c.jpg", "in a folder with a backslash");
    drive.WriteFile("Pics/Closed/hidden.jpg", "closed");
    drive.WriteFile("Pics/Swap/swapped.jpg", "swap");
    drive.Symlink(outside.Native("Far"), "Pics/Elsewhere");
    // The scan may run as another user: the tree is open to it, but for
    // the folder it may enter and write and not list.
    for (const auto& entry : fs::recursive_directory_iterator(drive.Native("Pics")))
      if (entry.is_directory() && !entry.is_symlink()) fs::permissions(entry.path(), fs::perms(0777));
    fs::permissions(drive.Native("Pics"), fs::perms(0777));
    fs::permissions(drive.Native("Pics/Closed"), fs::perms(0333));
  }

  // Every name below Pics, links not followed, with what it holds. A
  // preview record's line names its preview file's time and inode, which
  // differ with every new file: those two are left out.
  std::map<std::string, std::string> Contents() const {
    std::map<std::string, std::string> contents;
    const std::string top = drive.Native();
    for (auto entry = fs::recursive_directory_iterator(drive.Native("Pics")); entry != fs::end(entry); ++entry) {
      const std::string name = entry->path().string().substr(top.size() + 1);
      if (entry->is_symlink()) contents[name] = "-> " + fs::read_symlink(entry->path()).string();
      else if (entry->is_fifo()) contents[name] = "pipe";
      else if (entry->is_regular_file() && entry->path().filename() == "_xthumbs.txt")
        contents[name] = WithoutPreviewFiles(drive.ReadFile(name));
      else if (entry->is_regular_file()) contents[name] = drive.ReadFile(name);
      else contents[name] = "folder";
    }
    return contents;
  }

  // Scans the tree with `threads` walk threads (as another user, when the
  // test runs as root) and then puts it back as it was before.
  Outcome Run(int threads, const Settings& settings) {
    const std::map<std::string, std::string> before = Contents();
    Outcome outcome;
    {
      SwappingScan scan(drive);
      scan.m_nWalkThreads = threads;
      scan.m_bNoLogging = 0;
      platform::testing::ScopedUnprivileged user;
      outcome.protocol = Scan(scan, settings);
    }
    outcome.tree = Contents();
    EXPECT_TRUE(platform::testing::ExchangeNames(drive.Native("Pics/Swap"), drive.Native("Pics/Elsewhere")));
    for (const auto& [name, content] : Contents())
      if (!before.count(name)) fs::remove_all(drive.Native(name));
    EXPECT_EQ(Contents(), before);
    return outcome;
  }

  void RemoveTree() {
    fs::permissions(drive.Native("Pics/Closed"), fs::perms(0777));
    fs::remove_all(drive.Native("Pics"));
    fs::remove_all(outside.Native("Far"));
  }
};

}  // namespace

TEST_F(ParallelWalkTest, OneThreadAndFourGiveTheSameProtocolAndBytes) {
  const struct {
    const char* what;
    Settings settings;
  } rows[] = {
      {"classic pages, stale files removed", {.removeStale = true}},
      {"classic pages with previews", {.edge = 64}},
      {"gallery", {.gallery = true}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    MakeTree();
    const Outcome one = Run(1, row.settings);
    const Outcome four = Run(4, row.settings);
    RemoveTree();
    EXPECT_EQ(one.protocol, four.protocol);
    // Name by name, so that a difference shows where it is.
    std::map<std::string, std::string> all = one.tree;
    all.insert(four.tree.begin(), four.tree.end());
    for (const auto& [name, content] : all) {
      const auto a = one.tree.find(name), b = four.tree.find(name);
      EXPECT_TRUE(a != one.tree.end() && b != four.tree.end() && a->second == b->second) << name;
    }
    // The run met what the tree holds: the swapped folder and the link
    // outside are reported, and every day folder got its page.
    EXPECT_TRUE(std::any_of(one.protocol.begin(), one.protocol.end(),
                            [](const std::string& line) { return Contains(line, "T:\\Pics\\Swap"); }));
    EXPECT_TRUE(std::any_of(one.protocol.begin(), one.protocol.end(),
                            [](const std::string& line) { return Contains(line, "Album3\\Far"); }));
    EXPECT_GT(one.tree.size(), 60u);
  }
}
