// The list view control (SysListView32) on Qt. Placeholder until the list
// view is built: a plain widget.
#include <QWidget>

#include "ControlMakers.h"

namespace platform::ui {

QWidget* MakeListView(const DialogItem&, QWidget& dialog) { return new QWidget(&dialog); }

void ConnectListView(QWidget*, WindowData&, HWND) {}

}  // namespace platform::ui
