// The desktop implementations of the replaceable handlers.
#pragma once

#include "platform/MessageBox.h"
#include "platform/Pickers.h"
#include "platform/Shell.h"

namespace platform::ui {

MessageBoxHandler& DesktopMessageBoxes();
PickerHandler& DesktopPickers();
ShellHandler& DesktopShell();

// The widget a box or picker belongs to: the owner's window, else the
// active modal dialog, else the active window (may be null).
class QWidget* OwnerWidget(HWND owner);

}  // namespace platform::ui
