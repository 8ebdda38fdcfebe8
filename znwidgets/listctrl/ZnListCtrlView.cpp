// CZnListCtrl: the current row, the view mode, icons and mouse selection.
#include "platform/Dialog.h"
#include "platform/Resource.h"
#include "znwidgets/ZnListCtrl.h"

int CZnListCtrl::GetCurSel() { return m_nCurSel; }

int CZnListCtrl::SetCurSel(int row) {
  const int previous = m_nCurSel;
  if (m_nCurSel >= 0) SetItemState(m_nCurSel, LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_nCurSel = row;
  SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  return previous;
}

void CZnListCtrl::ChangeListViewMode(int mode, int ownerDraw) {
  if (auto* dialog = dynamic_cast<CDialog*>(GetParent())) dialog->UpdateData(TRUE);
  const DWORD bits = mode == 1 ? (ownerDraw ? LVS_REPORT | LVS_OWNERDRAWFIXED : LVS_REPORT)
                               : static_cast<DWORD>(mode) | LVS_AUTOARRANGE;
  m_nViewMode = static_cast<int>(bits);
  const DWORD before = GetStyle();
  DWORD after = before & ~(LVS_TYPEMASK | LVS_SHOWSELALWAYS);
  if (!ownerDraw) after &= ~LVS_OWNERDRAWFIXED;
  after |= bits;
  ModifyStyle(before & ~after, after & ~before);
}

void CZnListCtrl::SetMyListExtensionStyle(int style) { m_nExtensionStyle = style; }

int CZnListCtrl::CreateIcons(int, int) {
  // A second call replaces the lists of the first instead of leaking them.
  delete m_pImageList;
  delete m_pImageListSmall;
  m_pImageList = m_pImageListSmall = nullptr;
  auto* large = new CImageList;
  if (!large->Create(32, 32, ILC_MASK, 30, 30)) {
    delete large;
    return 0;
  }
  m_pImageList = large;
  auto* small = new CImageList;
  if (!small->Create(16, 16, ILC_MASK, 30, 30)) {
    delete small;
    return 0;
  }
  m_pImageListSmall = small;
  SetImageList(m_pImageList, LVSIL_NORMAL);
  SetImageList(m_pImageListSmall, LVSIL_SMALL);
  return 1;
}

int CZnListCtrl::AddIcon(unsigned int iconId) {
  if (!m_pImageList || !m_pImageListSmall) return -1;
  const HICON icon = platform::LoadIconResource(LOWORD(iconId));
  if (!icon) return -1;
  m_pImageList->Add(icon);
  return m_pImageListSmall->Add(platform::LoadIconResource(LOWORD(iconId)));
}

void CZnListCtrl::OnLButtonDown(UINT flags, CPoint point) {
  CListCtrl::OnLButtonDown(flags, point);
  if (m_nViewMode == LVS_REPORT) {
    // Plain report rows are hit only on their first cell: look at the left
    // end of the row instead, so a click anywhere in the row selects it.
    const int row = HitTest(CPoint(2, point.y));
    if (row < 0) return;
    SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    m_nLastClicked = row;
    m_nCurSel = row;
    return;
  }
  const int row = HitTest(point);
  if (row >= 0) m_nLastClicked = row;
  m_nCurSel = row;
}

void CZnListCtrl::OnDblclk(NMHDR*, LRESULT* result) {
  if (result) *result = 0;
}
