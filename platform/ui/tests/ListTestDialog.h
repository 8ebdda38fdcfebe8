// A dialog holding one list view control, for the list view's tests. The
// dialog records the notifications it hears; the control object records
// the calls of its handlers and can draw its rows itself.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Dialog.h"
#include "platform/ListCtrl.h"

inline constexpr UINT kListDialogId = 9201;
inline constexpr int kListViewId = 301;
inline constexpr int kListButtonId = 302;

// Records handler calls; each handler does the control's own handling
// (calls its base) unless told not to.
class CRecordingList : public CListCtrl {
public:
  std::vector<std::string> m_calls;  // "paint", "down 12,30", "column 2", "dblclk 1", ...
  bool m_bCallBase = true;
  // Draws each row in owner-draw mode; the default fills the row's bounds
  // with a colour per row and writes its text.
  std::function<void(LPDRAWITEMSTRUCT)> m_draw;
  // Runs inside OnPaint, before the base painting.
  std::function<void()> m_onPaint;
  std::vector<DRAWITEMSTRUCT> m_drawn;
  CWnd* m_lastOther = nullptr;

  void DrawItem(LPDRAWITEMSTRUCT item) override;
  void OnPaint() override;
  void OnSetFocus(CWnd* other) override;
  void OnKillFocus(CWnd* other) override;
  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnColumnclick(NMHDR* header, LRESULT* result) override;
  void OnDblclk(NMHDR* header, LRESULT* result) override;
};

class CListHostDialog : public CDialog {
public:
  explicit CListHostDialog(DWORD listStyle = 0);

  struct Heard {
    UINT code;
    int item;
    int subItem;
    UINT oldState;
    UINT newState;
  };
  std::vector<Heard> m_heard;
  CRecordingList m_list;

  // The notifications with that code.
  std::vector<Heard> HeardOf(UINT code) const;

protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
  DWORD m_listStyle;
};

// Fills the list with `rows` rows of `columns` columns; cell (r, c) reads
// "r<r>c<c>".
void FillList(CListCtrl& list, int rows, int columns, int width = 60);
