// Calls from the window system into the window objects' virtual handlers.
// Each call finds the attached object by handle (nothing happens when there
// is none), keeps count of running handlers (a window destroyed meanwhile is
// deleted only afterwards) and keeps exceptions out of the event loop.
#pragma once

#include <QPoint>

#include "platform/WinUser.h"

class QMenu;

namespace platform::ui {

// True while a handler runs.
bool InHandler();

void SendCommand(HWND window, int id, UINT code, HWND control);
void SendSysCommand(HWND window, UINT id);
void SendClose(HWND window);

// Opens the window's system menu at a screen position; returns the menu
// (deleted when it closes), null when the window has none.
QMenu* ShowSystemMenu(HWND window, const QPoint& screenPos);

}  // namespace platform::ui
