#include "platform/Resource.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using platform::FindDialogTemplate;
using platform::FindStringResource;
using platform::LoadIconResource;
using platform::ResourceModule;
using platform::ResourceRegistration;
using platform::StringResource;

constexpr StringResource kLibraryStrings[] = {{7001, "library"}, {7002, "only here"}};
constexpr StringResource kProgramStrings[] = {{7001, "program \xC3\xBC"}};
constexpr ResourceModule kLibrary{"library", {}, {}, kLibraryStrings, {}};
constexpr ResourceModule kProgram{"program", {}, {}, kProgramStrings, {}};

TEST(Resources, TheModuleRegisteredLastIsSearchedFirst) {
  ResourceRegistration library(kLibrary);
  {
    ResourceRegistration program(kProgram);
    EXPECT_STREQ(FindStringResource(7001), "program \xC3\xBC");
    EXPECT_STREQ(FindStringResource(7002), "only here");
  }
  // Unregistered with the object: the library's string shows again.
  EXPECT_STREQ(FindStringResource(7001), "library");
}

TEST(Resources, MissingIdsAreNullAndLoadStringEmptiesItsText) {
  EXPECT_EQ(FindStringResource(7999), nullptr);
  EXPECT_EQ(FindDialogTemplate(7999), nullptr);
  CString text("old");
  EXPECT_FALSE(AfxLoadString(7999, text));
  EXPECT_EQ(text, "");
  ResourceRegistration program(kProgram);
  EXPECT_TRUE(AfxLoadString(7001, text));
  EXPECT_EQ(text, "program \xC3\xBC");
}

constexpr const char* kGoodIcon[] = {"2 2 2 1", ". c None", "x c #000000", ".x", "x."};
constexpr const char* kShortIcon[] = {"2 3 2 1", ". c None", "x c #000000", ".x", "x."};
constexpr const char* kNarrowIcon[] = {"4 2 2 1", ". c None", "x c #000000", ".x", "x."};
constexpr const char* kBadHeader[] = {"two by two"};
constexpr platform::IconResource kIcons[] = {
    {7101, kGoodIcon}, {7102, kShortIcon}, {7103, kNarrowIcon}, {7104, kBadHeader}};
constexpr ResourceModule kIconModule{"icons", {}, kIcons, {}, {}};

TEST(Resources, IconsLoadOnceAndIncompleteImagesAreRefused) {
  ResourceRegistration icons(kIconModule);
  const HICON icon = LoadIconResource(7101);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(LoadIconResource(7101), icon);
  EXPECT_EQ(platform::IconImageLines(icon).size(), 5u);
  // An image with fewer or shorter rows than its header announces would make
  // a reader run past the table.
  EXPECT_EQ(LoadIconResource(7102), nullptr);
  EXPECT_EQ(LoadIconResource(7103), nullptr);
  EXPECT_EQ(LoadIconResource(7104), nullptr);
  EXPECT_EQ(LoadIconResource(7199), nullptr);
}

}  // namespace
