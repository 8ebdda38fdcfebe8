// CDemoList: the demo's list of files. The list control keeps its
// notifications to itself, so the window hears of a double click through
// this class.
#pragma once

#include <functional>

#include "znwidgets/ZnListCtrl.h"

class CDemoList : public CZnListCtrl {
public:
  // Called after the list's own handling of a double click on a row.
  std::function<void()> m_onOpen;

protected:
  void OnDblclk(NMHDR* header, LRESULT* result) override;
};
