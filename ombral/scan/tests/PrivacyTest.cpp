// What the pages publish stays with who may see it: a folder others may not
// list is named by none of the files at the top, a picture others may not
// read gives its facts to nobody, every file the scan writes about a folder
// is no more readable than that folder may be listed, and access control
// lists neither leak into the scan's files nor widen what they give away.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "ScanFixture.h"
#include "platform/FolderHandle.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::testing::FixedClock;
using platform::testing::PermissionsOf;
using platform::testing::TempDrive;

namespace {

namespace fs = std::filesystem;

bool HaveSetfacl() { return std::system("command -v setfacl >/dev/null 2>&1") == 0; }

bool Setfacl(const std::string& arguments) { return std::system(("setfacl " + arguments + " 2>/dev/null").c_str()) == 0; }

class PrivacyTest : public ScanFixture {
protected:
  FixedClock clock{2026, 12, 8, 10, 0, 0};

  void Picture(const std::string& relative, const std::string& camera = {}) {
    ScanFixture::Picture(relative);
    if (!camera.empty()) {
      ASSERT_TRUE(platform::testing::InsertExif(drive.Native(relative),
                                                platform::testing::MakeExifTiff("2024:05:01 12:00:00", camera, "X1")));
    }
  }
  Lines Scan(bool gallery, int edge = 0) {
    return ScanFixture::Scan({.edge = edge, .gallery = gallery, .filter = COmbralScan::kDefaultFilter});
  }
  platform::AclState AclOf(const std::string& folder, const std::string& name) {
    const platform::FolderHandle handle = platform::FolderHandle::Open(drive.Native(folder));
    return name.empty() ? handle.LookSelfAcl() : handle.LookAcl(name);
  }
};

}  // namespace

TEST_F(PrivacyTest, FoldersOthersMayNotListAreNamedByNoSharedFile) {
  // "Closed" only its owner may list or enter; "Passable" others may enter
  // but not list; "Open" anyone may list, and holds a picture only its
  // owner may read.
  Picture("Pics/Open/public.jpg");
  Picture("Pics/Open/mine.jpg", "SecretCam");
  Picture("Pics/Closed/closed-name.jpg");
  Picture("Pics/Passable/passable-name.jpg");
  fs::permissions(drive.Native("Pics/Closed"), fs::perms(0700));
  fs::permissions(drive.Native("Pics/Passable"), fs::perms(0711));
  fs::permissions(drive.Native("Pics/Open/mine.jpg"), fs::perms(0600));
  for (const bool gallery : {false, true}) {
    SCOPED_TRACE(gallery ? "gallery" : "classic pages");
    const Lines protocol = Scan(gallery, gallery ? 240 : 0);
    EXPECT_TRUE(Has(protocol, "Private folder left out of the shared index: \"T:\\Pics\\Closed\"."));
    EXPECT_TRUE(Has(protocol, "Private folder left out of the shared index: \"T:\\Pics\\Passable\"."));
    // The files at the top name neither folder nor anything in them.
    const char* const topFiles[] = {"Pics/_xbmidx.html", "Pics/_FileIndexFrame.html", "Pics/_FileIndex.html",
                                    "the search index"};
    for (const std::string file : topFiles) {
      const bool index = file == "the search index";
      if (!index && !drive.Exists(file)) continue;
      const std::string text = index ? SearchIndexText() : drive.ReadFile(file);
      for (const char* secret : {"Closed", "closed-name", "Passable", "passable-name"})
        EXPECT_FALSE(Contains(text, secret)) << file << " names " << secret;
    }
    // Their own pages and records are for those who may list them.
    EXPECT_EQ(PermissionsOf(drive.Native("Pics/Closed/_FileIndex.html")) & 077, 0);
    EXPECT_EQ(PermissionsOf(drive.Native("Pics/Passable/_FileIndex.html")) & 077, 0);
    EXPECT_EQ(PermissionsOf(drive.Native("Pics/_xpages.txt")) & 077, 0);
    if (gallery) {
      EXPECT_EQ(PermissionsOf(drive.Native("Pics/Closed/_xthumbs")) & 077, 0);
      EXPECT_EQ(PermissionsOf(drive.Native("Pics/Open/_xthumbs/_xthumbs.txt")) & 077, 0);
      // The picture only its owner may read: named (its folder may be
      // listed), but with no preview, date or camera on the shared page.
      EXPECT_TRUE(Has(protocol, "Private picture left out of the shared index: \"T:\\Pics\\Open\\mine.jpg\"."));
      const std::string page = drive.ReadFile("Pics/Open/_FileIndex.html");
      EXPECT_TRUE(Contains(page, "mine.jpg"));
      EXPECT_FALSE(Contains(page, "SecretCam"));
      EXPECT_FALSE(Contains(page, "_xthumbs/mine.jpg.jpg"));
    }
  }
}

TEST_F(PrivacyTest, AGroupFolderGetsFilesForItsGroup) {
  if (!platform::testing::RunningAsRoot()) GTEST_SKIP() << "giving a folder to another group needs root";
  Picture("Pics/Family/a.jpg");
  ASSERT_TRUE(platform::testing::ChangeOwner(drive.Native("Pics/Family"), 0, platform::testing::kOtherUser));
  fs::permissions(drive.Native("Pics/Family"), fs::perms(0750));
  Scan(false, 240);
  for (const char* file : {"Pics/Family/_FileIndex.html", "Pics/Family/_xthumbs"}) {
    EXPECT_EQ(PermissionsOf(drive.Native(file)) & 07, 0) << file;
    EXPECT_NE(PermissionsOf(drive.Native(file)) & 040, 0) << file;
  }
}

TEST_F(PrivacyTest, AccessListsNeitherLeakIntoPreviewsNorWidenThem) {
  if (!HaveSetfacl()) GTEST_SKIP() << "setfacl is not installed";
  Picture("Pics/Shared/plain.jpg");
  Picture("Pics/Shared/listed.jpg");
  // A default list on the folder would hand the scan's new files to
  // whoever it names; a list on a picture narrows its group to nobody.
  if (!Setfacl("-d -m u:65534:rwx " + drive.Native("Pics/Shared")) ||
      !Setfacl("-m u:65534:r,g::-,m::r " + drive.Native("Pics/Shared/listed.jpg")))
    GTEST_SKIP() << "this file system keeps no access control lists";
  fs::permissions(drive.Native("Pics/Shared/plain.jpg"), fs::perms(0640));
  Scan(false, 240);
  EXPECT_EQ(AclOf("Pics/Shared", "_xthumbs"), platform::AclState::None);
  EXPECT_EQ(AclOf("Pics/Shared/_xthumbs", "plain.jpg.jpg"), platform::AclState::None);
  EXPECT_EQ(AclOf("Pics/Shared", "_FileIndex.html"), platform::AclState::None);
  EXPECT_EQ(PermissionsOf(drive.Native("Pics/Shared/_xthumbs/plain.jpg.jpg")), 0640);
  EXPECT_EQ(PermissionsOf(drive.Native("Pics/Shared/_xthumbs/listed.jpg.jpg")), 0600);

  // A preview made while its picture was open to all is made again once the
  // picture gets a list that closes it.
  Picture("Pics/Later/a.jpg");
  Scan(false, 240);
  ASSERT_EQ(PermissionsOf(drive.Native("Pics/Later/_xthumbs/a.jpg.jpg")), 0644);
  ASSERT_TRUE(Setfacl("-m u:65534:r,g::-,o::-,m::r " + drive.Native("Pics/Later/a.jpg")));
  Scan(false, 240);
  EXPECT_EQ(PermissionsOf(drive.Native("Pics/Later/_xthumbs/a.jpg.jpg")), 0600);
}

TEST_F(PrivacyTest, ALinkShowsNothingOfWhatItsReadersCouldNotLookAtThemselves) {
  TempDrive outside{'U'};
  outside.WriteSizedFile("root-only/secret.jpg", 4321);
  Picture("Pics/Open/real.jpg");
  drive.WriteSizedFile("Pics/Closed/hidden.jpg", 1234);
  fs::permissions(drive.Native("Pics/Closed"), fs::perms(0700));
  // Each link with what its entry on the open folder's page may show.
  const struct {
    const char* name;
    std::string target;
    bool sized;
  } links[] = {
      {"probe.jpg", outside.Native("root-only/secret.jpg"), false},   // outside the tree
      {"inside.jpg", "real.jpg", true},                                // beside it
      {"up.jpg", "../Open/real.jpg", true},                             // by way of the top
      {"absolute.jpg", drive.Native("Pics/Open/real.jpg"), true},      // spelled from the root
      {"private.jpg", "../Closed/hidden.jpg", false},                  // where its readers may not look
      {"nowhere.jpg", "gone.jpg", false},                              // a dangling link
  };
  for (const auto& link : links) drive.Symlink(link.target, std::string("Pics/Open/") + link.name);
  const std::string real = std::to_string(fs::file_size(drive.Native("Pics/Open/real.jpg")));
  for (const bool gallery : {false, true}) {
    SCOPED_TRACE(gallery ? "gallery" : "classic pages");
    Scan(gallery, gallery ? 240 : 0);
    const std::string page = drive.ReadFile("Pics/Open/_FileIndex.html");
    for (const auto& link : links) {
      SCOPED_TRACE(link.name);
      if (gallery) {
        EXPECT_TRUE(Contains(page, std::string("[\"") + link.name + "\",1,0,0," + (link.sized ? real : "0") + ","));
      } else {
        EXPECT_TRUE(Contains(page, std::string(link.name) + " (" + (link.sized ? real : "0") + " bytes)"));
      }
    }
    EXPECT_FALSE(Contains(page, "4321"));
    EXPECT_FALSE(Contains(page, "1234"));
  }
}
