// Pictures of the TreeCtrl family: a tree of drives and folders under
// "Dateien", with the drive P: (the sample gallery) and two of its folders
// expanded by the lazy reading, and a file selected.
#include "Shots.h"
#include "platform/Dialog.h"
#include "platform/Drives.h"
#include "platform/Resource.h"
#include "znwidgets/ZnTreeCtrl.h"

namespace znwidgets::shots {
namespace {

constexpr UINT kTreeShotDialogId = 9801;
constexpr UINT kTreeShotBitmapId = 9802;
constexpr int kTreeShotTreeId = 1001;

// Images of 16 pixels: 0 folder, 1 file, 2 drive, 10 selected file (white
// is transparent).
constexpr const char* kIcons[] = {
    "176 16 10 1",
    "w c #FFFFFF",
    "k c #5A4A1A",
    "y c #F2C94C",
    "Y c #F8DE86",
    "g c #9AA5B1",
    "s c #C8CDD2",
    "d c #6B7580",
    "G c #2FA84F",
    "b c #3D7BD9",
    "W c #F0F4FF",
    "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww",
    "wwwwwwwwwwwwwwwwwwwkkkkkkkkkkwwwwwwwwwwwwwwwwwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwww",
    "wkkkkkkwwwwwwwwwwwwkwwwwwwwwkwwwwwwwwwwwwwwwwwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wkYYYYykkkkkkkkwwwwkwwwwwwwwkwwwwwwwwwwwwwwwwwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wkyyyyyyyyyyyykwwwwkwggggggwkwwwwwwwwwwwwwwwwwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkbWWWWWWbkwww",
    "wkYYYYYYYYYYYYkwwwwkwwwwwwwwkwwwwkkkkkkkkkkkkkkwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wkyyyyyyyyyyyykwwwwkwggggggwkwwwwksssssssssssskwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkbWWWWWWbkwww",
    "wkyyyyyyyyyyyykwwwwkwwwwwwwwkwwwwksssssssssssskwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wkyyyyyyyyyyyykwwwwkwggggggwkwwwwksssssssssGGskwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkbWWWWWWbkwww",
    "wkyyyyyyyyyyyykwwwwkwwwwwwwwkwwwwksddddddssssskwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wkyyyyyyyyyyyykwwwwkwggggggwkwwwwksssssssssssskwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkbWWWWWWbkwww",
    "wkyyyyyyyyyyyykwwwwkwwwwwwwwkwwwwkkkkkkkkkkkkkkwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wkyyyyyyyyyyyykwwwwkwggggggwkwwwwwwwwwwwwwwwwwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkwggggggwkwwwwwwkbWWWWWWbkwww",
    "wkkkkkkkkkkkkkkwwwwkwwwwwwwwkwwwwwwwwwwwwwwwwwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkwwwwwwwwkwwwwwwkbbbbbbbbkwww",
    "wwwwwwwwwwwwwwwwwwwkkkkkkkkkkwwwwwwwwwwwwwwwwwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwwwwwwkkkkkkkkkkwww",
    "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww",
};
constexpr platform::BitmapResource kBitmaps[] = {{kTreeShotBitmapId, kIcons}};
constexpr platform::DialogItem kItems[] = {
    platform::Control("", kTreeShotTreeId, "SysTreeView32",
                      TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_BORDER | WS_TABSTOP, 7,
                      7, 186, 166),
};
constexpr platform::DialogTemplate kDialogs[] = {
    {kTreeShotDialogId, "Laufwerke und Dateien", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU,
     0, 0, 0, 200, 180, "MS Sans Serif", 8, kItems},
};
constexpr platform::ResourceModule kModule{"znwidgets-screenshot-tree", kDialogs, {}, {}, kBitmaps};
const platform::ResourceRegistration g_resources(kModule);

class CTreeShotDialog : public CDialog {
public:
  CTreeShotDialog() : CDialog(kTreeShotDialogId) {}
  CZnTreeCtrl m_tree;

protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(kTreeShotTreeId, this);
    return TRUE;
  }
};

HTREEITEM Child(CZnTreeCtrl& tree, HTREEITEM parent, const char* text) {
  for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
    if (tree.GetItemText(item) == text) return item;
  }
  return nullptr;
}

}  // namespace

bool DrawTreeCtrlShots(const std::string& outDir) {
  // The gallery's drive gets a label, so the picture shows one.
  if (const auto gallery = platform::FindDrive('P')) platform::MapDrive('P', gallery->folder, "GALERIE");
  CTreeShotDialog dialog;
  if (!dialog.Create(kTreeShotDialogId)) return false;
  CZnTreeCtrl& tree = dialog.m_tree;
  tree.CreateIcons(kTreeShotBitmapId, 16);
  HTREEITEM top = tree.InsertItem(ZN_TREE_FILES_ITEM, 2, 2);
  tree.InitTreeWithDrives(top, 0, 0, 1, 1, 1, 2, 2, nullptr);
  tree.Expand(top, TVE_EXPAND);
  for (HTREEITEM drive = tree.GetChildItem(top); drive; drive = tree.GetNextSiblingItem(drive)) {
    if (tree.GetItemText(drive).Left(2) != "P:") continue;
    tree.Expand(drive, TVE_EXPAND);
    HTREEITEM gallery = Child(tree, drive, " gallery");
    tree.Expand(gallery, TVE_EXPAND);
    tree.Expand(Child(tree, gallery, " 2001"), TVE_EXPAND);
    tree.SelectItem(Child(tree, gallery, "logo.gif"));
  }
  tree.SetFocus();
  const bool saved = Save(dialog, outDir, "znwidgets-tree.png");
  tree.DestroyIcons();
  dialog.DestroyWindow();
  return saved;
}

}  // namespace znwidgets::shots
