// Times CZnTreeCtrl on one big folder, in a real (offscreen) window with
// its progress dialog up: InitTreeWithFiles sorted into an empty tree, the
// lazy reading when the folder is expanded under "Dateien", and a search
// of the resulting tree for a text that no item has. Each time includes
// the tree showing the result. Prints the best of several runs in seconds
// and the number of items read.
//
//   znwidgets_treefill_bench FOLDER [RUNS]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/Dialog.h"
#include "platform/Drives.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/testing/Timing.h"
#include "znwidgets/ZnProgressDlg.h"
#include "znwidgets/ZnTreeCtrl.h"

namespace {

constexpr UINT kDialogId = 9401;
constexpr int kTreeId = 1001;
constexpr platform::DialogItem kItems[] = {
    platform::Control("", kTreeId, "SysTreeView32", TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER, 5,
                      5, 200, 200),
};
constexpr platform::DialogTemplate kDialogs[] = {
    {kDialogId, "Tree", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 0, 210, 210, "MS Sans Serif", 8,
     kItems},
};
constexpr platform::ResourceModule kModule{"treefill_bench", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

class CBenchDialog : public CDialog {
public:
  CBenchDialog() : CDialog(kDialogId) {}
  CZnTreeCtrl m_tree;

protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(kTreeId, this);
    return TRUE;
  }
};

// Lets the tree take in what waits and lay itself out, as the user would
// see it.
void Show(CZnTreeCtrl& tree) {
  tree.GetChildItem(TVI_ROOT);
  tree.UpdateWindow();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: znwidgets_treefill_bench FOLDER [RUNS]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  platform::WindowSystem windows("treefill_bench");
  // The folder's parent becomes drive B:, so "Dateien" > B: > the folder
  // reads it lazily.
  const std::size_t slash = folder.find_last_of('/');
  platform::MapDrive('B', slash == 0 ? "/" : folder.substr(0, slash));
  const std::string name = folder.substr(slash + 1);

  CBenchDialog dialog;
  if (!dialog.Create(kDialogId)) return 1;
  CZnTreeCtrl& tree = dialog.m_tree;
  CZnProgressDlg* progress = tree.CreateProgressDlg("Verarbeitung läuft...", "", 1);
  UINT count = 0;
  const double fill = platform::testing::BestSeconds(runs, [&] {
    tree.DeleteAllItems();
    tree.InitTreeWithFiles(folder.c_str(), "*.*", TVI_ROOT, 1, 1, 1, 0, 1, 10, progress);
    Show(tree);
    count = tree.GetCount();
  });
  const double search = platform::testing::BestSeconds(runs, [&] {
    tree.FindTreeItem("no such item", TVI_ROOT, 1, 0, 0, 0, progress);
  });
  const double expand = platform::testing::BestSeconds(runs, [&] {
    tree.DeleteAllItems();
    HTREEITEM top = tree.InsertItem(ZN_TREE_FILES_ITEM);
    HTREEITEM drive = tree.InsertItem("B:", top);
    HTREEITEM item = tree.InsertItem((" " + name).c_str(), drive);
    tree.InsertItem(ZN_TREE_PLACEHOLDER, item);
    tree.Expand(top, TVE_EXPAND);
    tree.Expand(drive, TVE_EXPAND);
    tree.Expand(item, TVE_EXPAND);
    Show(tree);
  });
  // Reading the expanded folder again: its 100,000 items go one by one,
  // then the folder is read anew.
  HTREEITEM item = tree.GetChildItem(tree.GetChildItem(tree.GetRootItem()));
  const double refresh = platform::testing::BestSeconds(runs, [&] {
    tree.GetSubFileItems(item, 1, progress);
    Show(tree);
  });
  tree.DestroyProgressDlg();
  std::printf("fill %.6f\nsearch %.6f\nexpand %.6f\nrefresh %.6f\nitems %u\n", fill, search,
              expand, refresh, count);
  return 0;
}
