#include "ListHostDialog.h"

#include "platform/DataExchange.h"
#include "platform/Resource.h"
#include "platform/testing/ListViewDriver.h"

namespace {

using namespace platform;

constexpr const char* kIcon[] = {"2 2 1 1", "x c #008000", "xx", "xx"};
constexpr IconResource kIcons[] = {{kHostIconId, kIcon}};

constexpr DialogItem kItems[] = {
    Control("", kHostListId, "SysListView32", LVS_REPORT | WS_BORDER | WS_TABSTOP, 5, 5, 250, 120),
    PushButton("Other", kHostButtonId, 5, 130, 50, 14),
};

constexpr DialogTemplate kDialogs[] = {
    {kHostDialogId, "Rows", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 0, 260, 150, "MS Sans Serif", 8,
     kItems},
};

constexpr ResourceModule kModule{"znwidgets_listctrl_tests", kDialogs, kIcons, {}, {}};
const ResourceRegistration g_resources(kModule);

}  // namespace

void CListHost::DoDataExchange(CDataExchange* dx) {
  ++m_exchanges;
  DDX_Control(dx, kHostListId, m_list);
}

BOOL CListHost::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  m_notes.push_back(reinterpret_cast<const NMHDR*>(lParam)->code);
  return CDialog::OnNotify(wParam, lParam, result);
}

void AddColumns(CZnListCtrl& list, const std::vector<std::pair<const char*, int>>& columns) {
  for (const auto& [heading, width] : columns) list.InsertCol(heading, -1, width);
}

void AddRows(CZnListCtrl& list, const std::vector<std::string>& rows) {
  for (const std::string& row : rows) list.Insert(row.c_str(), -1, 0, '|', -1);
}

std::vector<std::string> JoinedRows(const CWnd& list) {
  std::vector<std::string> joined;
  for (const auto& cells : platform::testing::ListRows(list)) {
    std::string row;
    for (std::size_t i = 0; i < cells.size(); ++i) row += (i ? "|" : "") + cells[i];
    joined.push_back(row);
  }
  return joined;
}
