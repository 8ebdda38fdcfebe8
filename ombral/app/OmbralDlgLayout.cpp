// COmbralDlg: the window's size. Folding the protocol in and out, placing
// the controls for every size the window gets, and keeping the unfolded
// window inside the free area of its screen.
#include <algorithm>

#include "ombral/OmbralDlg.h"

namespace {

// How much the window grows when the protocol unfolds at first.
constexpr int kProtocolFold = 350;
// The protocol list keeps at least this height (dialog units) when the
// window is made smaller.
constexpr int kSmallestProtocol = 40;
// The window may be this much narrower than the template (dialog units):
// the fields, the status line and the groups give the width up, so the
// dialog fits a 1366 x 768 screen at twice the pixels per point.
constexpr int kNarrowerThanTemplate = 60;

// How a control follows the window's size, measured from the template's.
enum class Follow {
  Width,           // grows with the width
  Right,           // keeps its distance to the right edge
  WidthAndHeight,  // grows with the width and, unfolded, with the height
};

struct Anchor {
  int id;
  Follow follow;
};

constexpr Anchor kAnchors[] = {
    {IDC_SETTINGS_GROUP, Follow::Width},    {IDC_PATH, Follow::Width},
    {IDC_INDEX_FILE, Follow::Width},        {IDC_FRAME_FILE, Follow::Width},
    {IDC_FILTER, Follow::Width},            {IDC_STATUS, Follow::Width},
    {IDC_PROGRESS, Follow::Width},
    {IDC_BROWSE_FOLDER, Follow::Right},     {IDC_BROWSE_FILE, Follow::Right},
    {IDC_OPEN_INDEX, Follow::Right},        {IDC_OPTIONS_GROUP, Follow::Right},
    {IDC_OVERWRITE, Follow::Right},         {IDC_RECURSE, Follow::Right},
    {IDC_CLOSE_AFTER_SCAN, Follow::Right},  {IDC_NO_LOGGING, Follow::Right},
    {IDC_IGNORE_EMPTY_PATHS, Follow::Right}, {IDC_PREVIEWS, Follow::Right},
    {IDC_GALLERY, Follow::Right},
    {IDC_PREVIEW_EDGE, Follow::Right},      {IDC_PREVIEW_UNIT, Follow::Right},
    {IDC_REMOVE_STALE, Follow::Right},      {IDC_DRY_RUN, Follow::Right},
    {IDOK, Follow::Right},                  {IDC_CLOSE, Follow::Right},
    {IDC_TOGGLE_PROTOCOL, Follow::Right},   {IDC_LOGGING_GROUP, Follow::WidthAndHeight},
    {IDC_PROTOCOL, Follow::WidthAndHeight},
};

Follow FollowOf(int id) {
  for (const Anchor& anchor : kAnchors) {
    if (anchor.id == id) return anchor.follow;
  }
  return Follow::Width;
}

// The frame around the client area: window size minus client size.
CSize FrameOf(const CWnd& window) {
  CRect outer;
  CRect client;
  window.GetWindowRect(outer);
  window.GetClientRect(client);
  return CSize(outer.Width() - client.Width(), outer.Height() - client.Height());
}

}  // namespace

void COmbralDlg::RememberLayout() {
  CRect client;
  GetClientRect(client);
  m_templateClient = CSize(client.Width(), client.Height());
  m_layout.clear();
  for (const Anchor& anchor : kAnchors) {
    CWnd* control = GetDlgItem(anchor.id);
    if (!control) continue;
    CRect place;
    control->GetWindowRect(place);
    POINT corner{place.left, place.top};
    ScreenToClient(&corner);
    m_layout.emplace_back(anchor.id, CRect(corner.x, corner.y, corner.x + place.Width(),
                                           corner.y + place.Height()));
  }
}

int COmbralDlg::SmallestClientWidth() const {
  RECT narrower{0, 0, kNarrowerThanTemplate, 0};
  MapDialogRect(&narrower);
  return std::max<int>(0, m_templateClient.cx - narrower.right);
}

void COmbralDlg::FitScreenWidth() {
  MONITORINFO screen{};
  screen.cbSize = sizeof screen;
  if (!GetMonitorInfo(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &screen)) return;
  CRect window;
  GetWindowRect(window);
  const RECT& area = screen.rcWork;
  const int width = std::max<int>(SmallestClientWidth() + FrameOf(*this).cx, std::min<int>(window.Width(), area.right - area.left));
  if (width == window.Width()) return;
  const int left = std::max<int>(area.left, std::min<int>(window.left, area.right - width));
  MoveWindow(left, window.top, width, window.Height(), TRUE);
}

int COmbralDlg::FoldedClientHeight() const { return std::max(0, m_templateClient.cy - kProtocolFold); }

void COmbralDlg::ToggleProtocol() {
  m_bProtocolShown = !m_bProtocolShown;
  SetDlgItemText(IDC_TOGGLE_PROTOCOL, m_bProtocolShown ? "&Protocoll <<" : "&Protocoll >>");
  CRect window;
  GetWindowRect(window);
  int top = window.top;
  int height = 0;
  if (m_bProtocolShown) {
    // The frame is counted anew: a window gets it only when it first shows.
    height = m_nUnfoldedHeight > 0 ? m_nUnfoldedHeight + FrameOf(*this).cy : window.Height() + kProtocolFold;
    // The window grows downwards; where the screen ends it moves up, and on
    // a screen too low for it, it gets only as high as the screen's free
    // area (its protocol shorter).
    MONITORINFO screen{};
    screen.cbSize = sizeof screen;
    if (GetMonitorInfo(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &screen)) {
      const RECT& area = screen.rcWork;
      if (top + height > area.bottom) top = std::max<int>(area.top, area.bottom - height);
      height = std::min<int>(height, area.bottom - top);
    }
  } else {
    CRect client;
    GetClientRect(client);
    m_nUnfoldedHeight = client.Height();
    height = m_layout.empty() ? window.Height() - kProtocolFold : FoldedClientHeight() + FrameOf(*this).cy;
  }
  // Folded, the list is out of sight, and out of the way of the Tab key.
  m_listProtocol.ShowWindow(m_bProtocolShown ? SW_SHOW : SW_HIDE);
  MoveWindow(window.left, top, window.Width(), height, TRUE);
}

void COmbralDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (type == SIZE_MINIMIZED || m_layout.empty()) return;
  const int wider = cx - m_templateClient.cx;
  // Folded, the protocol keeps its place out of sight.
  const int higher = m_bProtocolShown ? cy - m_templateClient.cy : 0;
  for (const auto& [id, place] : m_layout) {
    CRect now = place;
    switch (FollowOf(id)) {
      case Follow::Width:
        now.right += wider;
        break;
      case Follow::Right:
        now.OffsetRect(wider, 0);
        break;
      case Follow::WidthAndHeight:
        now.right += wider;
        now.bottom += higher;
        break;
    }
    if (CWnd* control = GetDlgItem(id)) control->MoveWindow(now.left, now.top, now.Width(), now.Height(), FALSE);
  }
  Invalidate();
}

void COmbralDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  if (m_layout.empty()) return;
  const CSize frame = FrameOf(*this);
  info->ptMinTrackSize.x = SmallestClientWidth() + frame.cx;
  if (!m_bProtocolShown) {
    // Folded, the height is that of the fold.
    info->ptMinTrackSize.y = info->ptMaxTrackSize.y = FoldedClientHeight() + frame.cy;
    return;
  }
  RECT list{0, 0, 0, 0};
  for (const auto& [id, place] : m_layout) {
    if (id == IDC_PROTOCOL) list = place;
  }
  RECT smallest{0, 0, 0, kSmallestProtocol};
  MapDialogRect(&smallest);
  const int spare = std::max<int>(0, (list.bottom - list.top) - smallest.bottom);
  info->ptMinTrackSize.y = m_templateClient.cy - spare + frame.cy;
}
