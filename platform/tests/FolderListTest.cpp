#include "platform/FolderList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "platform/testing/TempDrive.h"

using platform::testing::TempDrive;

TEST(FolderList, NamesWithWhetherTheyExistAsListed) {
  TempDrive drive('T');
  drive.WriteFile("d/file.txt");
  drive.MakeDir("d/sub");
  drive.Symlink(drive.Native("d/file.txt"), "d/link");
  drive.Symlink(drive.Native("d/gone"), "d/dangling");
  std::vector<platform::FolderEntry> entries;
  ASSERT_TRUE(platform::ListFolder("T:\\d\\", entries));
  std::map<std::string, bool> certain;
  for (const auto& entry : entries) certain[entry.name] = entry.certain;
  EXPECT_EQ(certain, (std::map<std::string, bool>{
                         {"file.txt", true}, {"sub", true}, {"link", false}, {"dangling", false}}));
  entries.clear();
  EXPECT_FALSE(platform::ListFolder("T:\\d\\file.txt", entries));
  EXPECT_FALSE(platform::ListFolder("Q:\\", entries));
  EXPECT_TRUE(entries.empty());
}
