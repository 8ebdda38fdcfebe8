// Feeds random Zn INI and data files to the tree's fillers (recursive, two
// levels, data files), each into an emptied tree. Values may name keys in
// cycles and many times over; whatever the file, a fill must end and insert
// no more items than the fillers' limit (lowered here, so that a run tries
// many files rather than a few large trees). A broken rule aborts the run.
#include <cstddef>
#include <cstdlib>
#include <cstdint>
#include <string>
#include <string_view>

#include "../ZnIniLimits.h"
#include "platform/Dialog.h"
#include "platform/Resource.h"
#include "platform/WinApp.h"
#include "platform/testing/FuzzInput.h"
#include "znwidgets/ZnTreeCtrl.h"

namespace {

using platform::testing::FuzzCheck;

constexpr UINT kDialogId = 9402;
constexpr int kTreeId = 1001;
constexpr long kItemLimit = 2000;
constexpr platform::DialogItem kItems[] = {
    platform::Control("", kTreeId, "SysTreeView32", TVS_HASBUTTONS | TVS_LINESATROOT | WS_BORDER, 5, 5, 200, 200),
};
constexpr platform::DialogTemplate kDialogs[] = {
    {kDialogId, "Tree", WS_POPUP, 0, 0, 0, 210, 210, "MS Sans Serif", 8, kItems},
};
constexpr platform::ResourceModule kModule{"zn_ini_tree_fuzzer", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

class CFuzzDialog : public CDialog {
public:
  CFuzzDialog() : CDialog(kDialogId) {}
  CZnTreeCtrl m_tree;

protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_tree.SubclassDlgItem(kTreeId, this);
    return TRUE;
  }
};

CZnTreeCtrl& Tree() {
  static platform::WindowSystem windows("zn_ini_tree_fuzzer");
  static CFuzzDialog dialog;
  static const bool created = [] {
    znwidgets::detail::SetZnIniLimits({kItemLimit, 2000000});
    return dialog.Create(kDialogId) != 0;
  }();
  FuzzCheck(created, "the tree's dialog cannot be made");
  return dialog.m_tree;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const platform::testing::FuzzFile file(".ini");
  platform::testing::FuzzInput input(data, size);
  const std::uint8_t switches = input.Byte();
  const std::string key = input.Text(15);
  const std::string_view content = input.Rest();
  file.Write(content);
  CZnTreeCtrl& tree = Tree();
  const char* path = file.Path().c_str();
  const int sorted = switches & 1;
  const int deep = (switches >> 1) & 1;
  const auto fill = [&](const char* what, auto&& run) {
    tree.DeleteAllItems();
    run();
    FuzzCheck(static_cast<long>(tree.GetCount()) <= kItemLimit, what);
  };
  fill("the recursive filler inserted more than its limit",
       [&] { tree.InitTreeWithRecZnIni(path, key.c_str(), TVI_ROOT, 1, sorted, deep, nullptr); });
  fill("the data file filler inserted more than its limit",
       [&] { tree.InitTreeWithZnData(path, key.c_str(), TVI_ROOT, 1, sorted, deep, nullptr); });
  fill("the two-level filler inserted more than its limit",
       [&] { tree.InitTreeWithZnIni(path, nullptr, key.c_str(), TVI_ROOT, 1, sorted, deep, nullptr); });
  return 0;
}
