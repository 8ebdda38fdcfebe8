// CZnListCtrl: owner drawing of rows with highlight shapes and text colours,
// and the repaints around it (full-row highlight, focus changes).
#include "platform/Crt.h"
#include "platform/Dc.h"
#include "znwidgets/ZnListCtrl.h"

namespace {

constexpr COLORREF kGroupChangeText = RGB(0, 0, 255);
constexpr int kGroupCompare = 6;  // characters of the sort column that make a group

bool IsReportView(const CWnd& list) { return (list.GetStyle() & LVS_TYPEMASK) == LVS_REPORT; }

void Fill(CDC& dc, const CRect& rect, COLORREF colour) {
  CBrush brush(colour);
  dc.FillRect(rect, &brush);
}

}  // namespace

int CZnListCtrl::CheckForSpecialEntry(int) { return 0; }

int CZnListCtrl::CheckForInactiveEntry(int) { return 0; }

int CZnListCtrl::SetHighlightType(EHighlight type) {
  const int previous = m_nHighlightType;
  if (static_cast<int>(type) >= 0 && static_cast<int>(type) <= HighlightFullRow) {
    m_nHighlightType = type;
    Invalidate(TRUE);
  }
  return previous;
}

void CZnListCtrl::DrawItem(LPDRAWITEMSTRUCT drawItem) {
  CDC* dc = drawItem ? CDC::FromHandle(drawItem->hDC) : nullptr;
  if (!dc) return;
  const int saved = dc->SaveDC();
  const int row = static_cast<int>(drawItem->itemID);

  LVITEM item{};
  item.mask = LVIF_IMAGE | LVIF_STATE;
  item.iItem = row;
  item.stateMask = 0xFFFF;
  GetItem(&item);
  const bool focused = GetFocus() == this;
  const bool highlighted = (item.state & LVIS_DROPHILITED) ||
                           ((item.state & LVIS_SELECTED) &&
                            (focused || (GetStyle() & LVS_SHOWSELALWAYS)));

  CRect bounds, icon, label;
  GetItemRect(row, bounds, LVIR_BOUNDS);
  GetItemRect(row, icon, LVIR_ICON);
  GetItemRect(row, label, LVIR_LABEL);
  CRect column = bounds;
  const CString text = GetItemText(row, 0);
  const int offset = dc->GetTextExtent(" ", 1).cx * 2;

  CRect highlight = label;
  if (m_nHighlightType == HighlightAllColumns || m_nHighlightType == HighlightFullRow) {
    highlight = bounds;
    highlight.left = label.left;
    if (m_nHighlightType == HighlightFullRow) {
      CRect client;
      GetClientRect(client);
      highlight.right = client.right;
    }
  } else if (m_nHighlightType == HighlightLabelOnly) {
    const int width = dc->GetTextExtent(text).cx;
    if (label.left + width + offset < label.right) highlight.right = label.left + width + offset;
  }

  if (highlighted) {
    dc->SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
    dc->SetBkColor(GetSysColor(COLOR_HIGHLIGHT));
    Fill(*dc, highlight, GetSysColor(COLOR_HIGHLIGHT));
  } else {
    Fill(*dc, highlight, GetSysColor(COLOR_WINDOW));
    if (m_crGroupChange != 0 && row != 0) {
      const CString here = GetItemText(row, m_nSortColumn);
      const CString above = GetItemText(row - 1, m_nSortColumn);
      if (_strnicmp(here, above, kGroupCompare) != 0) dc->SetTextColor(kGroupChangeText);
    }
    if (m_crInactiveEntry != 0 && CheckForInactiveEntry(row)) dc->SetTextColor(m_crInactiveEntry);
    if (m_crSpecialEntry != 0 && CheckForSpecialEntry(row)) dc->SetTextColor(m_crSpecialEntry);
  }

  column.right = column.left + GetColumnWidth(0);
  const UINT stateImage = (item.state & LVIS_STATEIMAGEMASK) >> 12;
  if (CImageList* states = GetImageList(LVSIL_STATE); states && stateImage != 0) {
    states->Draw(dc, static_cast<int>(stateImage) - 1, column.TopLeft(), ILD_TRANSPARENT);
  }
  if (CImageList* images = GetImageList(LVSIL_SMALL)) {
    UINT style = ILD_TRANSPARENT | (item.state & LVIS_OVERLAYMASK);
    if (highlighted) style |= ILD_BLEND50;
    images->Draw(dc, item.iImage, icon.TopLeft(), style);
  }
  CRect labelText = label;
  labelText.left += offset / 2;
  labelText.right -= offset;
  dc->DrawText(text, labelText,
               DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER | DT_END_ELLIPSIS);

  if (m_nHighlightType == HighlightLabelOnly) {
    dc->SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc->SetBkColor(GetSysColor(COLOR_WINDOW));
  }
  if (highlight.right > bounds.right) bounds.right = highlight.right;
  dc->IntersectClipRect(bounds);

  LVCOLUMN format{};
  format.mask = LVCF_FMT | LVCF_WIDTH;
  for (int n = 1; GetColumn(n, &format); ++n) {
    column.left = column.right;
    column.right += format.cx;
    if (m_nHighlightType == HighlightLabelOnly) Fill(*dc, column, GetSysColor(COLOR_WINDOW));
    const CString cell = GetItemText(row, n);
    if (cell.IsEmpty()) continue;
    const int justify = format.fmt & LVCFMT_JUSTIFYMASK;
    const UINT align = justify == LVCFMT_RIGHT ? DT_RIGHT : justify == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
    CRect cellText = column;
    cellText.left += offset;
    cellText.right -= offset;
    dc->DrawText(cell, cellText, align | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
  }

  if ((item.state & LVIS_FOCUSED) && focused) dc->DrawFocusRect(highlight);
  dc->RestoreDC(saved);
}

void CZnListCtrl::OnPaint() {
  if (m_nHighlightType == HighlightFullRow && IsReportView(*this)) {
    CRect first, client;
    GetClientRect(client);
    if (GetItemRect(0, first, LVIR_BOUNDS) && first.right < client.right) {
      CPaintDC dc(this);
      CRect clip;
      dc.GetClipBox(clip);
      if (first.right - 1 < clip.left) clip.left = first.right - 1;
      clip.right = client.right;
      InvalidateRect(clip, FALSE);
    }
  }
  CListCtrl::OnPaint();
}

void CZnListCtrl::RepaintSelectedItems() {
  auto repaint = [this](int row) {
    CRect bounds, label;
    GetItemRect(row, bounds, LVIR_BOUNDS);
    GetItemRect(row, label, LVIR_LABEL);
    bounds.left = label.left;
    InvalidateRect(bounds, FALSE);
  };
  const int focused = GetNextItem(-1, LVNI_FOCUSED);
  if (focused != -1) repaint(focused);
  if (!(GetStyle() & LVS_SHOWSELALWAYS)) {
    for (int row = GetNextItem(-1, LVNI_SELECTED); row != -1; row = GetNextItem(row, LVNI_SELECTED)) {
      repaint(row);
    }
  }
  UpdateWindow();
}

void CZnListCtrl::OnSetFocus(CWnd* other) {
  CListCtrl::OnSetFocus(other);
  FocusChanged(other);
}

void CZnListCtrl::OnKillFocus(CWnd* other) {
  CListCtrl::OnKillFocus(other);
  FocusChanged(other);
}

void CZnListCtrl::FocusChanged(CWnd* other) {
  if ((!other || other->GetParent() != this) && IsReportView(*this)) RepaintSelectedItems();
}
