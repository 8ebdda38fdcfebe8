/// @file
/// CWnd: a window of the desktop; SetWindowPos, GetSystemMetrics and
/// CWaitCursor.
#pragma once

#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Object.h"
#include "platform/String.h"
#include "platform/WinUser.h"

class CMenu;

/// @name Size changes
/// The `type` of CWnd::OnSize: the state the window's new size belongs to.
/// @{

inline constexpr UINT SIZE_RESTORED = 0;   ///< a normal size (also the first one, when it shows)
inline constexpr UINT SIZE_MINIMIZED = 1;  ///< the window was minimized
inline constexpr UINT SIZE_MAXIMIZED = 2;  ///< the window was maximized
/// @}

/// The size limits of a resizable top-level window (CWnd::OnGetMinMaxInfo),
/// in pixels, the frame included as in GetWindowRect. Only ptMinTrackSize
/// and ptMaxTrackSize count; the other fields are there for handlers that
/// fill them.
struct MINMAXINFO {
  POINT ptReserved;      ///< not used
  POINT ptMaxSize;       ///< not used
  POINT ptMaxPosition;   ///< not used
  POINT ptMinTrackSize;  ///< the smallest width (x) and height (y); 0 for no limit
  POINT ptMaxTrackSize;  ///< the largest width (x) and height (y); 0 for no limit
};

/// A window of the desktop. A CWnd object is attached to a window of the
/// window system by its handle (m_hWnd); dialogs create their windows from a
/// template (Dialog.h), controls are windows inside a dialog addressed by
/// their id.
///
/// Handles stay unique for the life of the process: the handle of a window
/// that is gone is simply dead and is never reused for another window. When
/// a window goes, the object attached to it is detached (its m_hWnd becomes
/// null). Unless its comment says otherwise, a member called on an object
/// without a live window does nothing and returns 0, FALSE, null or an
/// empty text.
///
/// Commands and events reach the window as calls of its virtual handlers:
/// - OnCommand(MAKEWPARAM(id, code), control handle): a control notified
///   (BN_CLICKED, EN_CHANGE, LBN_SELCHANGE, LBN_DBLCLK, LBN_ERRSPACE), or
///   Enter or Esc was pressed in a dialog. Enter clicks the focused push
///   button, else the default push button (BN_CLICKED with its id), and
///   sends IDOK with BN_CLICKED and a null control handle when there is
///   neither; Esc sends IDCANCEL with BN_CLICKED and a null handle.
/// - OnSysCommand(id, 0): an item of the system menu was chosen.
/// - OnClose(): the caption's close box or Alt+F4.
/// - OnSize(type, cx, cy) and OnGetMinMaxInfo(info): a dialog's size changed,
///   or its size limits are asked for (a dialog with WS_THICKFRAME can be
///   resized by the user).
/// - OnNotify(id, NMHDR*, result): a list view or tree view reported an
///   event; the control's own handler for it, where there is one, has run
///   first, and a notification the control's class handles itself does not
///   come here (ListCtrl.h, TreeCtrl.h).
///
/// A derived class overrides them, handles its ids and passes the rest to its
/// base class, as a message map would. A handler may destroy its own window:
/// the window disappears and its handle is dead at once, and it is deleted
/// once the handler has returned. An exception that leaves a handler is
/// written to standard error and goes no further.
///
/// CWnd belongs to the platform layer (`platform_ui`). ZnWidgets' window
/// classes derive from it through the platform's classes: CZnProgressDlg and
/// CZnDialog through CDialog, CZnListBox through CListBox, CZnListCtrl
/// through CListCtrl, CZnTreeCtrl through CTreeCtrl.
/// @ingroup platform_base
class CWnd : public CObject {
public:
  /// @name Construction and handles
  /// @{

  /// An object without a window; Attach, SubclassDlgItem or a derived
  /// class's Create gives it one.
  CWnd() = default;
  /// Detaches from its window; a window this object created (a dialog, a
  /// control made by Create) is destroyed with it, any other window stays.
  ~CWnd() override;
  /// Not copyable: a window has at most one attached object.
  CWnd(const CWnd&) = delete;
  /// Not assignable, for the same reason.
  CWnd& operator=(const CWnd&) = delete;

  /// The handle of the attached window; null when the object has none (set
  /// to null when the window goes).
  HWND m_hWnd = nullptr;

  /// The handle of the attached window (m_hWnd); null when there is none.
  /// The object must exist: it is not to be called through a null pointer.
  HWND GetSafeHwnd() const { return m_hWnd; }
  /// The object attached to a live window; when none is, a plain CWnd that
  /// the platform keeps until the window goes. Null for a null or dead
  /// handle.
  static CWnd* FromHandle(HWND hWnd);
  /// The object attached to a live window; null when none is attached and
  /// for a null or dead handle.
  static CWnd* FromHandlePermanent(HWND hWnd);
  /// Attaches this object to a live window that has no attached object yet.
  /// FALSE (and nothing attached) for a null or dead handle, a window that
  /// already has an attached object, or an object that already has a
  /// window. Attaching does not make the object destroy the window when it
  /// goes (a plain CWnd never does).
  BOOL Attach(HWND hWnd);
  /// Detaches the object from its window, which stays as it is; the object
  /// no longer destroys it. Returns the handle, null when there was none.
  HWND Detach();
  /// Attaches this object to the control `id` of `parent` (Attach). FALSE
  /// when `parent` is null or has no such control among its own controls,
  /// or when Attach fails.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  /// Destroys the window and its controls and ends a modal loop running for
  /// it (DoModal then returns -1); the attached objects are detached at
  /// once. FALSE when the object has no window.
  virtual BOOL DestroyWindow();
  /// @}

  /// @name Text
  /// @{

  /// Sets the caption of a top-level window or the text of an edit field,
  /// a button, a group box or a static text; null counts as "". A `&`
  /// marks a mnemonic on buttons and static texts (`&&` shows one `&`;
  /// static texts with SS_NOPREFIX show it as it is). An edit field takes
  /// a text longer than its typing limit whole. Other controls (list boxes,
  /// list views, progress bars) keep no text: nothing changes.
  void SetWindowText(const char* text);
  /// The caption of a top-level window or the text of a control (a static
  /// text's as it was set, with its `&` marks); empty without a window.
  void GetWindowText(CString& text) const;
  /// Copies at most maxCount - 1 bytes of the text and a terminator (never
  /// a partial UTF-8 character); returns the bytes copied. 0, with nothing
  /// written, when `buffer` is null or `maxCount` is below 1.
  int GetWindowText(char* buffer, int maxCount) const;
  /// The length of the text in bytes; 0 without a window.
  int GetWindowTextLength() const;
  /// @}

  /// @name State
  /// @{

  /// Enables or disables the window. Returns the previous state: nonzero
  /// when the window itself was disabled (FALSE without a window).
  /// Disabling a window disables its controls, not the top-level windows it
  /// owns (a progress dialog stays usable while its owner is disabled).
  BOOL EnableWindow(BOOL enable = TRUE);
  /// TRUE unless the window itself was disabled (a control of a disabled
  /// dialog still answers TRUE); FALSE without a window.
  BOOL IsWindowEnabled() const;
  /// SW_HIDE hides; SW_MINIMIZE and SW_SHOWMINIMIZED minimize a top-level
  /// window; SW_RESTORE and SW_SHOWNORMAL show it in its normal state; any
  /// other command (SW_SHOW) shows the window as it is. A control is shown
  /// by every command but SW_HIDE. Returns whether the window was shown
  /// before (not hidden itself, whatever its parents); FALSE without a
  /// window.
  BOOL ShowWindow(int command);
  /// TRUE when the window and every window it lies in are shown.
  BOOL IsWindowVisible() const;
  /// TRUE for a minimized top-level window; FALSE for a control.
  BOOL IsIconic() const;
  /// Marks the whole window for repainting; `erase` is not used.
  void Invalidate(BOOL erase = TRUE);
  /// Marks a client rectangle (null: the whole client area) for repainting;
  /// `erase` is not used. Called from a list control's OnPaint before its
  /// base has painted, the rectangle is joined to that paint instead: what
  /// lies outside the part being painted is painted right after, together
  /// with that part, in one further paint.
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  /// Paints the window at once when it is shown; otherwise does nothing.
  void UpdateWindow();
  /// @}

  /// @name Geometry (pixels)
  /// @{

  /// Moves and sizes the window. A top-level window's rectangle includes
  /// its frame and is in screen coordinates, as GetWindowRect gives it; a
  /// control's rectangle is relative to its parent's client area. Negative
  /// sizes count as 0; a window of fixed size gets the new size as its
  /// fixed size. With `repaint` the window is repainted.
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  /// The same with a rectangle; a null rectangle does nothing.
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  /// The window's rectangle in screen coordinates (a top-level window's
  /// with its frame); all 0 without a window.
  void GetWindowRect(LPRECT rect) const;
  /// The client area as (0, 0, width, height); all 0 without a window.
  void GetClientRect(LPRECT rect) const;
  /// Converts a point from client to screen coordinates, in place; a null
  /// point does nothing.
  void ClientToScreen(LPPOINT point) const;
  /// Converts a point from screen to client coordinates, in place; a null
  /// point does nothing.
  void ScreenToClient(LPPOINT point) const;
  /// @}

  /// @name Focus
  /// @{

  /// Activates the window's top-level window and gives the window the
  /// keyboard focus. Returns the window that had the focus before (null
  /// when none had it), also when this object has no window.
  CWnd* SetFocus();
  /// The window that has the keyboard focus (for a control made of several
  /// parts, the control); null when no window of the program has it. The
  /// object may be a plain CWnd the platform keeps (FromHandle).
  static CWnd* GetFocus();
  /// @}

  /// @name Style
  /// @{

  /// The window's style bits: WS_VISIBLE and WS_DISABLED follow the
  /// window's own state; the other bits are those it was created with, as
  /// ModifyStyle changed them. 0 without a window.
  DWORD GetStyle() const;
  /// The extended style bits (WS_EX_TOPMOST follows SetWindowPos); 0
  /// without a window.
  DWORD GetExStyle() const;
  /// Removes the bits `remove`, then adds the bits `add`. A change of
  /// WS_VISIBLE or WS_DISABLED shows, hides, enables or disables the
  /// window; the other bits are stored, and a list view applies its view
  /// style bits at once. `flags` is not used. TRUE when the style changed;
  /// FALSE when it stays the same or there is no window.
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  /// @}

  /// @name Controls and the windows around
  /// @{

  /// The object of the window's own control `id` (a plain CWnd the
  /// platform keeps when none is attached); null when there is no such
  /// control.
  CWnd* GetDlgItem(int id) const;
  /// The control's id; 0 for a window without one.
  int GetDlgCtrlID() const;
  /// Sets the text of the control `id` (SetWindowText); nothing when there
  /// is no such control.
  void SetDlgItemText(int id, const char* text);
  /// Copies the text of the control `id` into `text` and returns its length
  /// in bytes; "" and 0 when there is no such control.
  int GetDlgItemText(int id, CString& text) const;
  /// Sets the check box `id` to BST_UNCHECKED, BST_CHECKED or (a three-state
  /// box only) BST_INDETERMINATE; any other value checks it. Sends no
  /// BN_CLICKED. Nothing for another kind of control or no such control.
  void CheckDlgButton(int id, UINT check);
  /// The state of the check box `id` (BST_UNCHECKED, BST_CHECKED,
  /// BST_INDETERMINATE); BST_UNCHECKED for another kind of control or no
  /// such control.
  UINT IsDlgButtonChecked(int id) const;
  /// A control's dialog; a dialog's owner (its top-level window); null for
  /// a window without either.
  CWnd* GetParent() const;
  /// The top-level window that holds this one (itself for a top-level window).
  CWnd* GetTopLevelParent() const;
  /// The top-level window that holds this one, then its owner, and so on up
  /// to a window without owner.
  CWnd* GetTopLevelOwner() const;
  /// The window a dialog for `parent` should belong to: the top-level owner
  /// of `parent` (null when `parent` has no window), or the application's
  /// main window when `parent` is null (null when there is none).
  /// `topLevel` (when not null) receives its handle, null with it.
  static CWnd* GetSafeOwner(CWnd* parent = nullptr, HWND* topLevel = nullptr);
  /// @}

  /// @name System menu, icons, message boxes
  /// @{

  /// The system menu of a top-level window, owned by the window and made on
  /// first use with the standard items ("Minimize" with WS_MINIMIZEBOX,
  /// "Close"). With `revert` the menu is put back to its standard items and
  /// null is returned. Null for a control.
  CMenu* GetSystemMenu(BOOL revert) const;
  /// Sets the large (`bigIcon` ICON_BIG) or small (ICON_SMALL) icon that
  /// the window shows; returns the previous one (null when none was set or
  /// there is no window).
  HICON SetIcon(HICON icon, BOOL bigIcon);
  /// The large (ICON_BIG) or small icon set by SetIcon; null when none is.
  HICON GetIcon(BOOL bigIcon) const;
  /// Shows a message box owned by this window (none without a window) and
  /// returns the button chosen (IDOK, IDCANCEL, IDYES, IDNO). A null text
  /// counts as ""; a null caption is the application's name. While no
  /// message-box handler is installed (MessageBox.h; an application object
  /// installs the desktop's), the box is written to standard error and
  /// answered with its first button (IDOK or IDYES).
  int MessageBox(const char* text, const char* caption = nullptr, UINT type = MB_OK);
  /// @}

  /// @name Handlers
  /// @{

  /// A command from a control or a dialog key (see the class comment).
  /// TRUE when handled; the base handles nothing and returns FALSE.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  /// An item of the system menu: the base closes the window for SC_CLOSE
  /// (OnClose), minimizes it for SC_MINIMIZE and restores it for
  /// SC_RESTORE (the low four bits of `id` do not count); other ids are
  /// ignored.
  virtual void OnSysCommand(UINT id, LPARAM lParam);
  /// The close box: the base destroys the window.
  virtual void OnClose();
  /// A dialog's client area got a new size: `cx` by `cy` pixels, in the
  /// state `type` (SIZE_RESTORED, SIZE_MINIMIZED, SIZE_MAXIMIZED). Comes
  /// when the dialog first shows and after every change of its size (by the
  /// user, MoveWindow or the window manager), after OnInitDialog, so the
  /// controls exist. The base does nothing.
  virtual void OnSize(UINT type, int cx, int cy);
  /// Asked for the size limits of a dialog with WS_THICKFRAME when it
  /// shows, before MoveWindow sizes it and after each change of its size;
  /// a handler sets info->ptMinTrackSize (and info->ptMaxTrackSize), and
  /// the dialog cannot be made smaller (or larger) than that, by the user or
  /// by MoveWindow, from then on. A largest size below the smallest counts
  /// as the smallest. `info` comes filled with zeros; the base leaves it so
  /// (no limit).
  virtual void OnGetMinMaxInfo(MINMAXINFO* info);
  /// A notification of the control `wParam` (the id); `lParam` points to its
  /// record, which begins with an NMHDR. TRUE when handled; `result` (0 at
  /// first) is the answer to the control, which the list views do not use.
  /// The base handles nothing and returns FALSE.
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  /// Files or folders the user dropped onto a dialog that accepts them
  /// (DragAcceptFiles), anywhere on it, its controls included: their local
  /// paths in drive form, in the order dropped. The base ignores them.
  /// (Where the desktop hands a drop record to query, this hands the paths.)
  virtual void OnDropFiles(const std::vector<std::string>& paths);
  /// @}

  /// Whether a dialog takes files dropped onto it (OnDropFiles); a drop of
  /// anything else, or onto a dialog that does not, goes where it always went.
  void DragAcceptFiles(BOOL accept = TRUE);

  /// @name Wait cursor
  /// @{

  /// Shows the wait cursor over every window of the program until the
  /// matching EndWaitCursor; calls nest, and any window's calls count
  /// alike. Nothing without a window system.
  void BeginWaitCursor();
  /// Ends the innermost BeginWaitCursor (or CWaitCursor); the normal cursor
  /// comes back when none is left. Nothing when no wait cursor shows.
  void EndWaitCursor();
  /// @}

protected:
  /// Set by a class that creates its window: the window goes with the object.
  bool m_bOwnsWindow = false;

private:
  bool m_bTemporary = false;  ///< made by FromHandle, owned by the platform
};

/// Changes a window's band in the window order and, unless SWP_NOMOVE /
/// SWP_NOSIZE say otherwise, its position and size (as MoveWindow takes
/// them: screen coordinates for a top-level window, the parent's client
/// coordinates for a control). `insertAfter` HWND_TOPMOST puts a top-level
/// window into the always-on-top band, HWND_NOTOPMOST takes it out; other
/// values, SWP_NOZORDER and controls leave the order as it is. The window is
/// neither shown, hidden nor activated by the change. FALSE for a null or
/// dead handle, else TRUE.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

/// The screen a window lies on (the one holding most of it). A window that
/// lies on none, or a null or dead handle, gives null with
/// MONITOR_DEFAULTTONULL, else the nearest screen
/// (MONITOR_DEFAULTTONEAREST) or the primary one (MONITOR_DEFAULTTOPRIMARY).
/// Null without a window system.
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
/// The screen's rectangle and its free area (the part windows should keep
/// to: the screen without panels and docks), in the coordinates of window
/// rectangles. FALSE for a null handle or a screen that is gone.
BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info);

/// SM_CXSCREEN / SM_CYSCREEN: the width and height of the primary screen;
/// SM_CXFULLSCREEN / SM_CYFULLSCREEN: those of its free area, the part a
/// maximised window may take (the screen without panels and docks). 0 for
/// other indexes or without a window system.
int GetSystemMetrics(int index);

/// Shows the wait cursor over every window of the program for as long as
/// the object lives; objects nest, with each other and with
/// CWnd::BeginWaitCursor. Nothing shows without a window system.
///
/// CWaitCursor belongs to the platform layer (`platform_ui`).
class CWaitCursor {
public:
  /// Shows the wait cursor (one more level).
  CWaitCursor();
  /// Ends one level; the normal cursor comes back when none is left.
  ~CWaitCursor();
  /// Not copyable: each object stands for one level.
  CWaitCursor(const CWaitCursor&) = delete;
  /// Not assignable, for the same reason.
  CWaitCursor& operator=(const CWaitCursor&) = delete;
};
