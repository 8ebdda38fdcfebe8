#include "TreeTestDialog.h"

#include "platform/Resource.h"

namespace {

using namespace platform;

// Twelve images, 4 pixels wide, each of its own colour.
constexpr const char* kBitmap[] = {
    "48 2 12 1",
    "a c #FF0000", "b c #00FF00", "c c #0000FF", "d c #FFFF00", "e c #00FFFF", "f c #FF00FF",
    "g c #800000", "h c #008000", "i c #000080", "j c #808000", "k c #008080", "l c #800080",
    "aaaabbbbccccddddeeeeffffgggghhhhiiiijjjjkkkkllll",
    "aaaabbbbccccddddeeeeffffgggghhhhiiiijjjjkkkkllll"};
constexpr BitmapResource kBitmaps[] = {{kTreeTestBitmapId, kBitmap}};
constexpr DialogItem kItems[] = {
    Control("", kTreeTestTreeId, "SysTreeView32",
            TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | WS_BORDER | WS_TABSTOP, 5, 5, 200,
            200),
    DefPushButton("OK", IDOK, 210, 5, 50, 14),
};
constexpr DialogTemplate kDialogs[] = {
    {kTreeTestDialogId, "Tree", WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 270, 210,
     "MS Sans Serif", 8, kItems},
};
constexpr ResourceModule kModule{"znwidgets_treectrl_tests", kDialogs, {}, {}, kBitmaps};
const ResourceRegistration g_resources(kModule);

}  // namespace

std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent) {
  std::vector<std::string> texts;
  for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
    texts.push_back(std::string(tree.GetItemText(item)));
  }
  return texts;
}

HTREEITEM ChildNamed(const CTreeCtrl& tree, HTREEITEM parent, const std::string& text) {
  for (HTREEITEM item = tree.GetChildItem(parent); item; item = tree.GetNextSiblingItem(item)) {
    if (tree.GetItemText(item) == text.c_str()) return item;
  }
  return nullptr;
}

int DepthBelow(const CTreeCtrl& tree, HTREEITEM item) {
  int depth = 0;
  for (HTREEITEM child = tree.GetChildItem(item); child; child = tree.GetChildItem(child)) ++depth;
  return depth;
}
