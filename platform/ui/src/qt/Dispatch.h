// Calls from the window system into the window objects' virtual handlers.
// Each call finds the attached object by handle (nothing happens when there
// is none), keeps count of running handlers (a window destroyed meanwhile is
// deleted only afterwards) and keeps exceptions out of the event loop.
#pragma once

#include <QPoint>
#include <functional>

#include "platform/WinUser.h"

class CWnd;

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

void SendCommand(HWND window, int id, UINT code, HWND control);
void SendSysCommand(HWND window, UINT id);
void SendClose(HWND window);
// Sends a control's notification record to the object attached to the
// control's parent (OnNotify with the control's id); returns the answer it
// set (0 when none is attached or it did not handle it).
LRESULT SendNotify(HWND parent, NMHDR& header);

// Opens the window's system menu at a screen position; returns the menu
// (deleted when it closes), null when the window has none.
QMenu* ShowSystemMenu(HWND window, const QPoint& screenPos);

}  // namespace platform::ui
