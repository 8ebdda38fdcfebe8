#include "DialogWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QKeyEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QScreen>
#include <QShortcut>
#include <algorithm>

#include "Dispatch.h"
#include "QtText.h"
#include "platform/Drives.h"
#include "WindowRegistry.h"

namespace platform::ui {
namespace {

// The free area (without panels and docks) of the screen that holds most
// of the window, or of the primary screen.
QRect FreeAreaAround(const QRect& frame) {
  QScreen* best = QGuiApplication::primaryScreen();
  qint64 most = 0;
  for (QScreen* screen : QGuiApplication::screens()) {
    const QRect common = screen->geometry().intersected(frame);
    const qint64 area = static_cast<qint64>(common.width()) * common.height();
    if (area > most) {
      most = area;
      best = screen;
    }
  }
  return best ? best->availableGeometry() : QRect(0, 0, 800, 600);
}

}  // namespace

void KeepInsideScreen(QWidget& window, bool shrink) {
  QRect frame = window.frameGeometry();
  const QRect area = FreeAreaAround(frame);
  if (shrink && window.minimumSize() != window.maximumSize()) {
    const QSize border = frame.size() - window.size();
    const QSize fitting(std::max(window.minimumWidth(), std::min(window.width(), area.width() - border.width())),
                        std::max(window.minimumHeight(), std::min(window.height(), area.height() - border.height())));
    if (fitting != window.size()) {
      window.resize(fitting);
      frame.setSize(fitting + border);
    }
  }
  const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
  const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
  if (left != frame.left() || top != frame.top()) window.move(left, top);
}

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

void DialogWidget::AcceptFileDrops(bool accept) {
  m_acceptDrops = accept;
  setAcceptDrops(accept);
  // The controls see a drag first (an edit field would take the address as
  // text): the dialog looks at it on their way.
  for (QWidget* child : findChildren<QWidget*>()) {
    if (accept) child->installEventFilter(this);
    else child->removeEventFilter(this);
  }
  if (accept) installEventFilter(this);
  else removeEventFilter(this);
}

namespace {

// The local paths of a drag, in drive form; none when it carries anything
// that is not a local file.
std::vector<std::string> LocalPaths(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls()) return paths;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return {};
    paths.push_back(platform::ToDrivePath(FromQt(url.toLocalFile())));
  }
  return paths;
}

}  // namespace

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (!m_acceptDrops) return QDialog::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (LocalPaths(drag->mimeData()).empty()) break;
      drag->setDropAction(Qt::CopyAction);
      drag->accept();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const std::vector<std::string> paths = LocalPaths(drop->mimeData());
      if (paths.empty()) break;
      drop->setDropAction(Qt::CopyAction);
      drop->accept();
      SendDropFiles(m_handle, paths);
      return true;
    }
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event) {
  ShowSystemMenu(m_handle, event->globalPos());
  event->accept();
}

void DialogWidget::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ApplySizeLimits();
  // The window's frame is known once it shows: keep it inside the screen
  // with the frame, the first time.
  if (!m_placed && !event->spontaneous()) {
    m_placed = true;
    KeepInsideScreen(*this, true);
  }
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
  // A largest size of 0 sets no limit in that direction.
  const auto largest = [](LONG limit, int frameSize, int smallestSize) {
    return limit <= 0 ? QWIDGETSIZE_MAX : std::max(smallestSize, static_cast<int>(limit) - frameSize);
  };
  const QSize biggest(largest(info.ptMaxTrackSize.x, frame.width(), smallest.width()),
                      largest(info.ptMaxTrackSize.y, frame.height(), smallest.height()));
  if (smallest != minimumSize()) setMinimumSize(smallest);
  if (biggest != maximumSize()) setMaximumSize(biggest);
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
