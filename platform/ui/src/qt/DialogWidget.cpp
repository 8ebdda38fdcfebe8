#include "DialogWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QShortcut>
#include <algorithm>

#include "Dispatch.h"
#include "WindowRegistry.h"

namespace platform::ui {

DialogWidget::DialogWidget(QWidget* owner, Qt::WindowFlags flags) : QDialog(owner, flags) {
  // Alt+Space opens the system menu, as on the original desktop.
  auto* shortcut = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  QObject::connect(shortcut, &QShortcut::activated,
                   [this] { ShowSystemMenu(m_handle, mapToGlobal(QPoint(0, 0))); });
}

void DialogWidget::PressEnter() {
  if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && isAncestorOf(button)) {
    if (button->isEnabled()) button->click();
    return;
  }
  WindowData* data = FindWindow(m_handle);
  if (auto* button = qobject_cast<QPushButton*>(data ? WidgetOf(data->defaultButton) : nullptr)) {
    if (button->isEnabled() && button->isVisible()) button->click();
    return;
  }
  SendCommand(m_handle, IDOK, BN_CLICKED, nullptr);
}

void DialogWidget::accept() { SendCommand(m_handle, IDOK, BN_CLICKED, nullptr); }

void DialogWidget::reject() { SendClose(m_handle); }

void DialogWidget::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && event->key() == Qt::Key_Escape) {
    SendCommand(m_handle, IDCANCEL, BN_CLICKED, nullptr);
    event->accept();
    return;
  }
  if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    PressEnter();
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

void DialogWidget::closeEvent(QCloseEvent* event) {
  // The window stays until the dialog's own code ends it.
  event->ignore();
  SendClose(m_handle);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
  ShowSystemMenu(m_handle, event->globalPos());
  event->accept();
}

void DialogWidget::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ApplySizeLimits();
  ReportSize();
}

void DialogWidget::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  ApplySizeLimits();
  ReportSize();
}

void DialogWidget::ReportSize() {
  const Qt::WindowStates state = windowState();
  const UINT type = (state & Qt::WindowMinimized)   ? SIZE_MINIMIZED
                    : (state & Qt::WindowMaximized) ? SIZE_MAXIMIZED
                                                    : SIZE_RESTORED;
  // The size the window has now, once: a resize event can come late, after
  // the window grew to its limit without one.
  if (m_reported && size() == m_reportedSize && type == m_reportedType) return;
  m_reported = true;
  m_reportedSize = size();
  m_reportedType = type;
  SendSize(m_handle, type, width(), height());
}

void DialogWidget::ApplySizeLimits() {
  const WindowData* data = FindWindow(m_handle);
  // A dialog without a sizing frame keeps its fixed size.
  if (!data || !(data->style & WS_THICKFRAME) || m_applyingLimits) return;
  m_applyingLimits = true;
  const MINMAXINFO info = AskSizeLimits(m_handle);
  // The limit includes the frame, as window rectangles do; Qt's is the
  // client area's.
  const QSize frame = frameGeometry().size() - size();
  const QSize smallest(std::max(0, static_cast<int>(info.ptMinTrackSize.x) - frame.width()),
                       std::max(0, static_cast<int>(info.ptMinTrackSize.y) - frame.height()));
  if (smallest != minimumSize()) setMinimumSize(smallest);
  m_applyingLimits = false;
}

void FocusFirstTabStop(QWidget& dialog) {
  for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    WindowData* data = FindWindow(child);
    if (data && (data->style & WS_TABSTOP) && child->isVisibleTo(&dialog) && child->isEnabled()) {
      child->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

}  // namespace platform::ui
