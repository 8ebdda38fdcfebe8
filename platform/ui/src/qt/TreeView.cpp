// The tree view control (SysTreeView32) on Qt. Placeholder until the tree
// view is built: a plain widget.
#include <QWidget>

#include "ControlMakers.h"

namespace platform::ui {

QWidget* MakeTreeView(const DialogItem&, QWidget& dialog) { return new QWidget(&dialog); }

void ConnectTreeView(QWidget*, WindowData&, HWND) {}

}  // namespace platform::ui
