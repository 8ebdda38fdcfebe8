// The tree view control (SysTreeView32) of a dialog template: the widget
// and the routing of its notifications (see TreeWidget).
#include "ControlMakers.h"
#include "TreeWidget.h"
#include "WindowRegistry.h"

namespace platform::ui {

QWidget* MakeTreeView(const DialogItem& item, QWidget& dialog) {
  return new TreeWidget(&dialog, item.style);
}

void ConnectTreeView(QWidget* widget, WindowData& control, HWND dialog) {
  if (auto* tree = dynamic_cast<TreeWidget*>(widget)) tree->Connect(control.handle, dialog);
}

}  // namespace platform::ui
