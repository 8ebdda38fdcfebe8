// A window object that works on a handle for a moment without attaching to
// it: the typed members of a control class (CEdit, CButton) used on a
// control that may have a plain CWnd, or none, attached.
#pragma once

#include "platform/WinUser.h"

namespace platform::ui {

template <typename Window>
class Borrowed {
public:
  explicit Borrowed(HWND handle) { m_window.m_hWnd = handle; }
  ~Borrowed() { m_window.m_hWnd = nullptr; }  // leaves the window alone
  Borrowed(const Borrowed&) = delete;
  Borrowed& operator=(const Borrowed&) = delete;
  Window* operator->() { return &m_window; }
  Window& operator*() { return m_window; }

private:
  Window m_window;
};

// Thrown by CDataExchange::Fail, caught by CDialog::UpdateData.
struct DataExchangeFailure {};

}  // namespace platform::ui
