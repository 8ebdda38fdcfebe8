// The handle table: every widget the platform creates gets a handle (HWND)
// that is never reused, and a record of what the window layer keeps about
// it. A record goes when its widget is destroyed; the attached CWnd is then
// detached, so a handle of a gone window is simply dead.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "../common/DialogUnits.h"
#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/Wnd.h"

class QEventLoop;

namespace platform::ui {

enum class WindowKind { Dialog, Button, Edit, Static, ListBox, Progress, ListView, TreeView };

struct WindowData {
  HWND handle = nullptr;
  QPointer<QWidget> widget;
  const QWidget* key = nullptr;      // the widget's address, also once it is gone
  WindowKind kind = WindowKind::Dialog;
  CWnd* permanent = nullptr;         // the attached object
  std::unique_ptr<CWnd> temporary;   // made by CWnd::FromHandle
  std::unique_ptr<CMenu> systemMenu; // top-level windows, made on first use
  int controlId = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  std::string text;          // a static's text as set (shown without '&' marks)
  UINT textLimit = 30000;    // an edit field's limit for typing, in characters
  HICON bigIcon = nullptr;
  HICON smallIcon = nullptr;
  DialogBaseUnits units;     // a dialog's font metrics
  QEventLoop* modalLoop = nullptr;
  HWND defaultButton = nullptr;  // a dialog's BS_DEFPUSHBUTTON
  bool programmaticChange = false;  // a list box's selection is set by the program
  // Called after ModifyStyle changed the style (a control that shows its
  // style bits applies them); gets the style before the change.
  std::function<void(DWORD before)> styleChanged;
};

// Registers a widget; the record lives until the widget is destroyed.
WindowData& RegisterWindow(QWidget* widget, WindowKind kind);
WindowData* FindWindow(HWND handle);
WindowData* FindWindow(const QWidget* widget);
// The widget of a live handle; null otherwise.
QWidget* WidgetOf(HWND handle);
// The handle of the nearest registered widget at or above `widget`.
HWND HandleOf(const QWidget* widget);

// Destroys a window: hidden and unregistered at once; the widget itself is
// deleted now, or after the current event when a handler of the window
// layer is running (a handler may destroy the window it was called for).
void DestroyWidget(HWND handle);
// Deletes at once (no handler of this window can be running).
void DestroyWidgetNow(HWND handle);

// Qt disables a widget's child windows with it; the window layer's owned
// windows (dialogs owned by `owner`) keep their own state instead, so a
// dialog stays usable while its owner is disabled. Re-enables every owned
// window that was not disabled on its own.
void KeepOwnedWindowsEnabled(QWidget& owner);

}  // namespace platform::ui
