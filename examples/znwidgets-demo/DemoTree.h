// CDemoTree: the demo's tree of drives and folders. The tree control keeps
// its notifications to itself, so the window hears of a new selection
// through this class: it does the tree's own handling, then tells the
// window.
#pragma once

#include <functional>

#include "znwidgets/ZnTreeCtrl.h"

class CDemoTree : public CZnTreeCtrl {
public:
  // Called with the newly selected item (null when none) after the tree's
  // own handling of the selection change.
  std::function<void(HTREEITEM)> m_onSelect;

protected:
  void OnTreeSelChange(NMHDR* header, LRESULT* result) override;
};
