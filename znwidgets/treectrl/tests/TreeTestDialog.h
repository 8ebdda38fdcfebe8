// A dialog holding one CZnTreeCtrl, for the tree control's tests, with the
// helpers they share: the children's texts of an item and the tree's
// protected members a test needs to see.
#pragma once

#include <string>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "znwidgets/ZnTreeCtrl.h"

inline constexpr UINT kTreeTestDialogId = 9301;
inline constexpr UINT kTreeTestBitmapId = 9302;
inline constexpr int kTreeTestTreeId = 1001;

// The tree with the members a test reads or switches.
class CTestTree : public CZnTreeCtrl {
public:
  using CZnTreeCtrl::m_bHandlersOn;
  using CZnTreeCtrl::m_hLastItem;
};

class CTreeTestDialog : public CDialog {
public:
  CTreeTestDialog() : CDialog(kTreeTestDialogId) {}
  CTestTree m_tree;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kTreeTestTreeId, m_tree); }
};

// The texts of the item's children, in order (TVI_ROOT: the top level).
std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent);
// The child of `parent` with that text; null when there is none.
HTREEITEM ChildNamed(const CTreeCtrl& tree, HTREEITEM parent, const std::string& text);
// How many levels the item has below it along its first children.
int DepthBelow(const CTreeCtrl& tree, HTREEITEM item);
