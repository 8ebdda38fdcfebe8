// COmbralDlg: the protocol list.
#include "ombral/OmbralDlg.h"

namespace {

// More lines than this since the list was last emptied, and the next line
// empties it first.
constexpr int kProtocolLimit = 3000;

}  // namespace

void COmbralDlg::AddProtocolLine(const char* text) {
  if (m_nProtocolLines > kProtocolLimit) {
    m_listProtocol.ResetContent();
    m_nProtocolLines = 0;
  }
  int index = m_listProtocol.AddString(text);
  // Out of space: the list has been reset meanwhile (ResetProtocol), so the
  // line gets one more chance instead of being lost.
  if (index == LB_ERRSPACE) index = m_listProtocol.AddString(text);
  if (index < 0) return;
  m_listProtocol.SetCurSel(index);
  ++m_nProtocolLines;
}

void COmbralDlg::ClearProtocol() {
  m_listProtocol.ResetContent();
  m_nProtocolLines = 0;
}

void COmbralDlg::ResetProtocol() {
  // The reset's own line may find the list out of space again; that must not
  // start another reset.
  if (m_bResetting) return;
  m_bResetting = true;
  ClearProtocol();
  AddProtocolLine("...RESET LIST CONTENT...");
  m_bResetting = false;
}
