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

// Records the codes of the notifications it hears; answers each with
// m_answer.
class CTreeTestDialog : public CDialog {
public:
  CTreeTestDialog() : CDialog(kTreeTestDialogId) {}
  CTestTree m_tree;
  std::vector<UINT> m_notes;
  LRESULT m_answer = 0;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kTreeTestTreeId, m_tree); }
  BOOL OnNotify(WPARAM, LPARAM lParam, LRESULT* result) override {
    m_notes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
    *result = m_answer;
    return TRUE;
  }
};

// The texts of the item's children, in order (TVI_ROOT: the top level).
std::vector<std::string> ChildTexts(const CTreeCtrl& tree, HTREEITEM parent);
// The child of `parent` with that text; null when there is none.
HTREEITEM ChildNamed(const CTreeCtrl& tree, HTREEITEM parent, const std::string& text);
// How many levels the item has below it along its first children.
int DepthBelow(const CTreeCtrl& tree, HTREEITEM item);
