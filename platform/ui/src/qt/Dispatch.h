// Calls from the window system into the window objects' virtual handlers.
// Each call finds the attached object by handle (nothing happens when there
// is none), keeps count of running handlers (a window destroyed meanwhile is
// deleted only afterwards) and keeps exceptions out of the event loop.
#pragma once

#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "platform/WinUser.h"
#include "platform/Wnd.h"

class QMenu;

namespace platform::ui {

// True while a handler runs.
bool InHandler();

// Runs `call` with the object attached to `window` as a handler: nothing
// happens when no object is attached, the window is not deleted while it
// runs, and an exception is reported on standard error instead of escaping
// into the event loop. The handlers of the control kinds (list and tree
// views) reach their virtual members through it.
void RunHandler(HWND window, const std::function<void(CWnd&)>& call);

// Reflection: a control's own handler of a notification (OnColumnclick,
// OnTreeClick, ...) runs first, and the parent hears only of what the
// control's class does not handle. Runs `call` as a handler of the control
// (RunHandler) and answers whether the class handled the notification:
// false when no object is attached or when PassNotifyOn was called while
// it ran. The platform's bases of those handlers call PassNotifyOn, so a
// class that does not override a handler, or an override that calls its
// base, passes the notification on; an override that does not call its
// base consumes it. The rule is the same for every code.
bool ReflectNotify(HWND control, const std::function<void(CWnd&)>& call);
// The notification being reflected goes on to the parent as well.
void PassNotifyOn();

void SendCommand(HWND window, int id, UINT code, HWND control);
void SendSysCommand(HWND window, UINT id);
void SendClose(HWND window);
// OnSize with the window's state and client size.
void SendSize(HWND window, UINT type, int cx, int cy);
// OnGetMinMaxInfo; the record comes back zeros when no object is attached.
MINMAXINFO AskSizeLimits(HWND window);
// Sends a control's notification record to the object attached to the
// control's parent (OnNotify with the control's id); returns the answer it
// set (0 when none is attached or it did not handle it).
LRESULT SendNotify(HWND parent, NMHDR& header);

// OnDropFiles with the dropped paths.
void SendDropFiles(HWND window, const std::vector<std::string>& paths);

// Opens the window's system menu at a screen position; returns the menu
// (deleted when it closes), null when the window has none.
QMenu* ShowSystemMenu(HWND window, const QPoint& screenPos);

}  // namespace platform::ui
