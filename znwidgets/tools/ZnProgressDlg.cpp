// CZnProgressDlg: the modeless progress dialog of long operations.
#include "znwidgets/ZnProgressDlg.h"

#include <climits>
#include <cstdint>
#include <cstdio>

#include "platform/DataExchange.h"
#include "platform/MessagePump.h"

namespace {

constexpr const char* kCaption = "Verarbeitung läuft...";

// ((position - lower) * 100) / (upper - lower) as 32-bit signed arithmetic
// does it: the difference and the product wrap, the division truncates
// toward zero. An empty range (or the one quotient that does not fit) gives
// 0 instead of stopping the program.
int PercentOf(int position, unsigned int lower, unsigned int upper) {
  const auto scaled = static_cast<std::int32_t>(
      (static_cast<std::uint32_t>(position) - lower) * 100u);
  const auto span = static_cast<std::int32_t>(upper - lower);
  if (span == 0 || (scaled == INT32_MIN && span == -1)) return 0;
  return scaled / span;
}

}  // namespace

CZnProgressDlg::CZnProgressDlg() { m_nIDTemplate = IDD_ZN_PROGRESS; }

CZnProgressDlg::~CZnProgressDlg() {
  if (m_hWnd) CZnProgressDlg::DestroyWindow();
}

int CZnProgressDlg::Create(CWnd* parent) {
  // A second Create while the window is up would fail after finding the
  // owner disabled by the first, and then enable it under the open dialog.
  if (m_hWnd) return 0;
  CWnd* owner = CWnd::GetSafeOwner(parent, &m_hWndOwner);
  if (owner && owner->IsWindowEnabled()) {
    owner->EnableWindow(FALSE);
    m_bParentDisabled = 1;
  }
  const BOOL created = CDialog::Create(m_nIDTemplate, parent);
  // The base keeps the parent it was given; the dialog's parent pointer is
  // the owner it disabled.
  m_pParentWnd = owner;
  if (!created) {
    ReEnableParent();
    return 0;
  }
  m_Progress.SetRange(0, 100);
  return 1;
}

BOOL CZnProgressDlg::DestroyWindow() {
  ReEnableParent();
  return CDialog::DestroyWindow();
}

void CZnProgressDlg::SetTitle(const char* title) { SetWindowText(title); }

void CZnProgressDlg::SetStatus(const char* text) { SetDlgItemText(IDC_ZN_PROGRESS_STATUS, text); }

void CZnProgressDlg::SetItemText(const char* text) { SetDlgItemText(IDC_ZN_PROGRESS_ITEM, text); }

void CZnProgressDlg::ShowPercent(int show) {
  if (CWnd* label = GetDlgItem(IDC_ZN_PROGRESS_PERCENT)) label->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CZnProgressDlg::SetRange(unsigned int lower, unsigned int upper) {
  m_nLower = lower;
  m_nUpper = upper;
}

int CZnProgressDlg::SetStep(unsigned int step) {
  m_nStep = step;
  return m_Progress.SetStep(static_cast<int>(step));
}

int CZnProgressDlg::SetPos(unsigned int position) {
  PumpMessages();
  const int percent = UpdatePercent(static_cast<int>(position));
  return m_Progress.SetPos(percent);
}

int CZnProgressDlg::OffsetPos(int delta) {
  PumpMessages();
  const int previous = m_Progress.OffsetPos(delta);
  UpdatePercent(static_cast<int>(static_cast<unsigned int>(previous) + static_cast<unsigned int>(delta)));
  return previous;
}

int CZnProgressDlg::StepIt() {
  PumpMessages();
  const int previous = m_Progress.StepIt();
  UpdatePercent(static_cast<int>(static_cast<unsigned int>(previous) + m_nStep));
  return previous;
}

int CZnProgressDlg::CheckCancelButton() {
  PumpMessages();
  const int cancel = m_bCancel;
  m_bCancel = 0;
  return cancel;
}

void CZnProgressDlg::PumpMessages() { platform::PumpWaitingMessages(); }

int CZnProgressDlg::UpdatePercent(int position) {
  int percent = PercentOf(position, m_nLower, m_nUpper);
  if (percent != 100) percent %= 100;
  char text[16];
  std::snprintf(text, sizeof text, "%d%c", percent, '%');
  CString shown;
  GetDlgItemText(IDC_ZN_PROGRESS_PERCENT, shown);
  // Rewriting an unchanged label would only make it flicker.
  if (shown != text) SetDlgItemText(IDC_ZN_PROGRESS_PERCENT, text);
  return percent;
}

void CZnProgressDlg::ReEnableParent() {
  if (m_bParentDisabled) {
    // By handle: the owner may have gone meanwhile, and with it any object
    // the platform lent for it.
    if (CWnd* owner = CWnd::FromHandle(m_hWndOwner)) owner->EnableWindow(TRUE);
  }
  m_bParentDisabled = 0;
}

BOOL CZnProgressDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  // The original control takes both bounds as 16-bit halves of one value.
  m_Progress.SetRange(static_cast<short>(m_nLower), static_cast<short>(m_nUpper));
  m_Progress.SetStep(static_cast<int>(m_nStep));
  m_Progress.SetPos(static_cast<int>(m_nLower));
  SetWindowText(kCaption);
  return TRUE;
}

void CZnProgressDlg::OnOK() {}

void CZnProgressDlg::OnCancel() { m_bCancel = 1; }

void CZnProgressDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_ZN_PROGRESS_BAR, m_Progress);
}
