// The fixture the scan tests share: a drive T: for the tree "T:\Pics", test
// pictures in it, and scans of the tree with chosen settings. Each test file
// derives its own fixture from it for what only its tests need.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "RecordingScan.h"
#include "ScanLines.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

class ScanFixture : public ::testing::Test {
protected:
  // What a scan of the tree is asked to do; the rest as the dialog starts.
  struct Settings {
    int edge = 0;              // previews' edge; 0 for none (the gallery brings its own)
    bool gallery = false;      // with the gallery's own filter unless `filter` is given
    bool removeStale = false;
    bool dryRun = false;
    bool byDate = false;
    const char* filter = nullptr;
  };

  platform::testing::TempDrive drive{'T'};

  // A test picture of `width` x `height` at `relative` on the drive, its
  // folders made first.
  void Picture(const std::string& relative, int width = 160, int height = 120,
               platform::testing::PictureOptions options = {}) {
    drive.MakeDir(std::filesystem::path(relative).parent_path().string());
    ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native(relative), width, height, options)) << relative;
  }

  // Scans T:\Pics with `settings`, through `scan`: the edge is set, the
  // switches are turned on where asked (a switch the test turned on itself
  // stays on); the run must complete. Its protocol.
  Lines Scan(CRecordingScan& scan, const Settings& settings) {
    scan.m_strPath = "T:\\Pics";
    scan.m_nPreviewEdge = settings.edge;
    if (settings.gallery) scan.m_bGallery = 1;
    if (settings.removeStale) scan.m_bRemoveStale = 1;
    if (settings.dryRun) scan.m_bDryRun = 1;
    if (settings.byDate) scan.m_bSortByDate = 1;
    if (settings.filter) scan.m_strFilter = settings.filter;
    else if (settings.gallery) scan.m_strFilter = COmbralScan::kGalleryFilter;
    EXPECT_TRUE(scan.RunScan());
    return scan.protocol;
  }
  Lines Scan(const Settings& settings) {
    CRecordingScan scan;
    return Scan(scan, settings);
  }

  // The inode of a file of the drive (not followed).
  ino_t Inode(const std::string& relative) const {
    struct stat status {};
    EXPECT_EQ(::lstat(drive.Native(relative).c_str(), &status), 0) << relative;
    return status.st_ino;
  }

  // The gallery's search index of T:\Pics as one text: the manifest, then
  // each piece (in name order) after a line with its name; "" when none.
  std::string SearchIndexText() const {
    std::string text = drive.Exists("Pics/_xsearch.js") ? drive.ReadFile("Pics/_xsearch.js") : std::string();
    if (!drive.Exists("Pics/_xsearch")) return text;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(drive.Native("Pics/_xsearch")))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) text += "\n" + name + "\n" + drive.ReadFile("Pics/_xsearch/" + name);
    return text;
  }
};
