// Makers of the control kinds that live in files of their own (the progress
// bar, the list view, the tree view). The dialog builder calls Make... for a
// template item, registers the widget (the record then holds the handle,
// control id and style) and calls Connect... to route the control's events
// to its own handlers and to the dialog.
#pragma once

#include "platform/Resource.h"
#include "platform/WinUser.h"

class QWidget;

namespace platform::ui {

struct WindowData;

QWidget* MakeProgressBar(const DialogItem& item, QWidget& dialog);

QWidget* MakeListView(const DialogItem& item, QWidget& dialog);
void ConnectListView(QWidget* widget, WindowData& control, HWND dialog);

QWidget* MakeTreeView(const DialogItem& item, QWidget& dialog);
void ConnectTreeView(QWidget* widget, WindowData& control, HWND dialog);

}  // namespace platform::ui
