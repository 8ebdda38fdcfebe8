#include "ListTestDialog.h"

#include "platform/DataExchange.h"
#include "platform/Resource.h"

namespace {

using namespace platform;

constexpr DialogItem kItems[] = {
    Control("", kListViewId, "SysListView32", LVS_REPORT | WS_BORDER | WS_TABSTOP, 5, 5, 200, 100),
    PushButton("Other", kListButtonId, 5, 110, 50, 14),
};

constexpr DialogTemplate kDialogs[] = {
    {kListDialogId, "List host", WS_POPUP | WS_VISIBLE | WS_CAPTION, 0, 0, 0, 210, 130,
     "MS Sans Serif", 8, kItems},
};

constexpr ResourceModule kModule{"platform_ui_list_tests", kDialogs, {}, {}, {}};
const ResourceRegistration g_resources(kModule);

}  // namespace

void CRecordingList::DrawItem(LPDRAWITEMSTRUCT item) {
  m_drawn.push_back(*item);
  if (m_draw) m_draw(item);
}

void CRecordingList::OnPaint() {
  m_calls.push_back("paint");
  if (m_onPaint) m_onPaint();
  if (m_bCallBase) CListCtrl::OnPaint();
}

void CRecordingList::OnSetFocus(CWnd* other) {
  m_calls.push_back("setfocus");
  m_lastOther = other;
  CListCtrl::OnSetFocus(other);
}

void CRecordingList::OnKillFocus(CWnd* other) {
  m_calls.push_back("killfocus");
  m_lastOther = other;
  CListCtrl::OnKillFocus(other);
}

void CRecordingList::OnLButtonDown(UINT flags, CPoint point) {
  m_calls.push_back("down " + std::to_string(point.x) + "," + std::to_string(point.y));
  if (m_bCallBase) CListCtrl::OnLButtonDown(flags, point);
}

void CRecordingList::OnColumnclick(NMHDR* header, LRESULT* result) {
  m_calls.push_back("column " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iSubItem));
  if (m_bCallBase) CListCtrl::OnColumnclick(header, result);
}

void CRecordingList::OnDblclk(NMHDR* header, LRESULT* result) {
  m_calls.push_back("dblclk " + std::to_string(reinterpret_cast<NMLISTVIEW*>(header)->iItem));
  if (m_bCallBase) CListCtrl::OnDblclk(header, result);
}

CListHostDialog::CListHostDialog(DWORD listStyle) : CDialog(kListDialogId), m_listStyle(listStyle) {}

std::vector<CListHostDialog::Heard> CListHostDialog::HeardOf(UINT code) const {
  std::vector<Heard> heard;
  for (const Heard& one : m_heard) {
    if (one.code == code) heard.push_back(one);
  }
  return heard;
}

BOOL CListHostDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  if (m_listStyle) m_list.ModifyStyle(0, m_listStyle);
  return TRUE;
}

void CListHostDialog::DoDataExchange(CDataExchange* dx) { DDX_Control(dx, kListViewId, m_list); }

BOOL CListHostDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* record = reinterpret_cast<const NMLISTVIEW*>(lParam);
  if (static_cast<int>(wParam) == kListViewId) {
    m_heard.push_back({record->hdr.code, record->iItem, record->iSubItem, record->uOldState,
                       record->uNewState});
  }
  return CDialog::OnNotify(wParam, lParam, result);
}

void FillList(CListCtrl& list, int rows, int columns, int width) {
  for (int column = 0; column < columns; ++column) {
    list.InsertColumn(column, ("h" + std::to_string(column)).c_str(), LVCFMT_LEFT, width);
  }
  for (int row = 0; row < rows; ++row) {
    const std::string prefix = "r" + std::to_string(row) + "c";
    list.InsertItem(row, (prefix + "0").c_str());
    for (int column = 1; column < columns; ++column) {
      list.SetItemText(row, column, (prefix + std::to_string(column)).c_str());
    }
  }
}
