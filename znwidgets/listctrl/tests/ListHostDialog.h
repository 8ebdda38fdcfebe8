// A dialog with one CZnListCtrl in report view (attached by data
// exchange) and a button to take the focus, for the list control's tests.
// The dialog records the notifications it hears.
#pragma once

#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "znwidgets/ZnListCtrl.h"

inline constexpr UINT kHostDialogId = 9601;
inline constexpr int kHostListId = 1100;
inline constexpr int kHostButtonId = 1101;
inline constexpr UINT kHostIconId = 9602;

class CListHost : public CDialog {
public:
  CListHost() : CDialog(kHostDialogId) {}
  CZnListCtrl m_list;
  int m_exchanges = 0;  // DoDataExchange runs
  std::vector<UINT> m_notes;  // the codes of the notifications the dialog heard

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

// Adds columns of the given headings and widths.
void AddColumns(CZnListCtrl& list, const std::vector<std::pair<const char*, int>>& columns);
// Appends rows given as "|"-joined texts.
void AddRows(CZnListCtrl& list, const std::vector<std::string>& rows);
// The rows as "|"-joined texts of every column, as the list shows them.
std::vector<std::string> JoinedRows(const CWnd& list);
