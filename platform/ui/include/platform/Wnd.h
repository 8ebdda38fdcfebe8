// CWnd: a window of the desktop. A CWnd object is attached to a window of the
// window system by its handle (m_hWnd); dialogs create their windows from a
// template (Dialog.h), controls are windows inside a dialog addressed by
// their id.
//
// Handles stay unique for the life of the process: a handle of a window that
// is gone is simply dead (members called through it do nothing and report
// 0, FALSE or an empty text) and is never reused for another window.
//
// Commands reach the window as calls of its virtual handlers, by control id:
//   OnCommand(MAKEWPARAM(id, code), control handle)   a control notified
//     (BN_CLICKED, EN_CHANGE, LBN_SELCHANGE, LBN_DBLCLK, LBN_ERRSPACE) or
//     Enter / Esc were pressed (IDOK / IDCANCEL with BN_CLICKED);
//   OnSysCommand(id, 0)   an item of the system menu was chosen;
//   OnClose()   the caption's close box or Alt+F4;
//   OnNotify(id, NMHDR*, result)   a list or tree view reported an event
//     (its own reflected handler has run first, see ListCtrl.h, TreeCtrl.h).
// A derived class overrides them, handles its ids and passes the rest to its
// base class, as a message map would.
#pragma once

#include "platform/Geometry.h"
#include "platform/Object.h"
#include "platform/String.h"
#include "platform/WinUser.h"

class CMenu;

class CWnd : public CObject {
public:
  CWnd() = default;
  // Detaches from its window; a window this object created goes with it.
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;

  // --- Handles ----------------------------------------------------------------------
  HWND GetSafeHwnd() const { return m_hWnd; }
  // The object attached to a live window; when none is, a plain CWnd that the
  // platform keeps until the window goes. Null for a null or dead handle.
  static CWnd* FromHandle(HWND hWnd);
  // The attached object only; null when none is.
  static CWnd* FromHandlePermanent(HWND hWnd);
  // Attaches this object to a live window that has no attached object yet.
  BOOL Attach(HWND hWnd);
  HWND Detach();
  // Attaches this object to the parent's control `id`.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  // Destroys the window (and its controls); FALSE when there is none.
  virtual BOOL DestroyWindow();

  // --- Text ------------------------------------------------------------------------------
  // The caption of a top-level window, the text of a control ('&' marks a
  // mnemonic on buttons and static texts).
  void SetWindowText(const char* text);
  void GetWindowText(CString& text) const;
  // Copies at most maxCount - 1 bytes and a terminator (never a partial UTF-8
  // character); returns the bytes copied.
  int GetWindowText(char* buffer, int maxCount) const;
  int GetWindowTextLength() const;

  // --- State -----------------------------------------------------------------------------
  // The previous state: nonzero when the window was disabled. Disabling a
  // window disables its controls, not the top-level windows it owns (a
  // progress dialog stays usable while its owner is disabled).
  BOOL EnableWindow(BOOL enable = TRUE);
  BOOL IsWindowEnabled() const;
  // SW_HIDE, SW_SHOW / SW_SHOWNORMAL, SW_MINIMIZE / SW_SHOWMINIMIZED,
  // SW_RESTORE. Returns whether the window was visible before.
  BOOL ShowWindow(int command);
  BOOL IsWindowVisible() const;
  BOOL IsIconic() const;  // minimized
  void Invalidate(BOOL erase = TRUE);
  void UpdateWindow();

  // --- Geometry (pixels) ------------------------------------------------------------------
  // A top-level window's rectangle includes its frame and is in screen
  // coordinates; a control's rectangle is relative to its parent's client
  // area. MoveWindow takes the same kind of rectangle GetWindowRect gives.
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  void GetWindowRect(LPRECT rect) const;  // screen coordinates
  void GetClientRect(LPRECT rect) const;  // (0, 0, width, height)
  void ClientToScreen(LPPOINT point) const;
  void ScreenToClient(LPPOINT point) const;

  // --- Focus ------------------------------------------------------------------------------
  // Returns the window that had the focus before (may be null).
  CWnd* SetFocus();
  static CWnd* GetFocus();

  // --- Style -------------------------------------------------------------------------------
  // WS_VISIBLE and WS_DISABLED follow the window's state; the other bits are
  // those it was created with.
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  // Changes WS_VISIBLE / WS_DISABLED through the window's state and keeps the
  // other bits; TRUE when the style changed.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);

  // --- Family -------------------------------------------------------------------------------
  CWnd* GetDlgItem(int id) const;  // null when there is no such control
  int GetDlgCtrlID() const;
  void SetDlgItemText(int id, const char* text);
  int GetDlgItemText(int id, CString& text) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  CWnd* GetParent() const;  // a control's dialog, a dialog's owner
  // The top-level window that holds this one (itself for a top-level window).
  CWnd* GetTopLevelParent() const;
  // The top-level window that holds this one, then its owner, and so on up
  // to a window without owner.
  CWnd* GetTopLevelOwner() const;
  // The window a dialog for `parent` should belong to: the top-level owner
  // of `parent`, or the application's main window when `parent` is null;
  // null when there is neither. `topLevel` (when not null) receives its
  // handle.
  static CWnd* GetSafeOwner(CWnd* parent = nullptr, HWND* topLevel = nullptr);

  // --- System menu, icons, message boxes ------------------------------------------------------
  // The window's system menu (owned by the window). With `revert` the menu is
  // put back to its standard items and null is returned.
  CMenu* GetSystemMenu(BOOL revert) const;
  // Sets the large (ICON_BIG) or small icon; returns the previous one.
  HICON SetIcon(HICON icon, BOOL bigIcon);
  HICON GetIcon(BOOL bigIcon) const;
  // A message box owned by this window; a null caption is the application's
  // name.
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);

  // --- Handlers -------------------------------------------------------------------------------------
  // A command from a control, a key or a menu (see the banner). TRUE when
  // handled; the base handles nothing.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // SC_CLOSE closes (OnClose), SC_MINIMIZE / SC_RESTORE change the state;
  // other ids are ignored.
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  // The close box: the base destroys the window.
  virtual void OnClose();
  // A notification of the control `wParam` (the id); `lParam` points to its
  // record, which begins with an NMHDR. TRUE when handled; `result` is the
  // answer to the control (0 unless a notification says otherwise). The
  // base handles nothing.
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);

  // --- Wait cursor ---------------------------------------------------------------------------------
  // Shows the wait cursor over every window of the program until the matching
  // EndWaitCursor; calls nest.
  void BeginWaitCursor();
  void EndWaitCursor();

protected:
  // Set by a class that creates its window: the window goes with the object.
  bool m_bOwnsWindow = false;

private:
  bool m_bTemporary = false;  // made by FromHandle, owned by the platform
};

// Changes a window's place in the window order and, unless SWP_NOMOVE /
// SWP_NOSIZE say otherwise, its position and size (as MoveWindow takes
// them). `insertAfter` HWND_TOPMOST puts a top-level window into the
// always-on-top band, HWND_NOTOPMOST takes it out; other values leave the
// band as it is. The window is neither shown nor activated by the change.
// FALSE for a dead handle.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

// SM_CXSCREEN / SM_CYSCREEN: the primary screen's size; SM_CXFULLSCREEN /
// SM_CYFULLSCREEN: the area a maximised window may take (the screen without
// panels and docks). 0 for other indexes or without a window system.
int GetSystemMetrics(int index);

// Shows the wait cursor for as long as the object lives.
class CWaitCursor {
public:
  CWaitCursor();
  ~CWaitCursor();
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  // Shows it again after something (a message box) took it away.
  void Restore();
};
