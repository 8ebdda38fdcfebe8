// CDialog on Qt: the window made from the template, the modal loop and the
// end of a dialog.
#include "platform/Dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <cstdio>

#include "DialogWidget.h"
#include "WindowRegistry.h"
#include "platform/WinApp.h"

using platform::ui::FindWindow;
using platform::ui::WidgetOf;
using platform::ui::WindowData;

namespace {

Qt::WindowFlags FlagsOf(const platform::DialogTemplate& dialogTemplate, bool owned) {
  Qt::WindowFlags flags = Qt::CustomizeWindowHint;
  // A window with a task-bar button is a main window to the window manager.
  flags |= (dialogTemplate.exStyle & WS_EX_APPWINDOW) || !owned ? Qt::Window : Qt::Dialog;
  if ((dialogTemplate.style & WS_CAPTION) == WS_CAPTION) flags |= Qt::WindowTitleHint;
  if (dialogTemplate.style & WS_SYSMENU) {
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dialogTemplate.style & WS_MINIMIZEBOX) flags |= Qt::WindowMinimizeButtonHint;
    // WS_MAXIMIZEBOX shares its bit with WS_TABSTOP, which only controls
    // have; a dialog that can be resized offers maximizing with it.
    if ((dialogTemplate.style & WS_MAXIMIZEBOX) && (dialogTemplate.style & WS_THICKFRAME)) {
      flags |= Qt::WindowMaximizeButtonHint;
    }
  }
  return flags;
}

// Centred over the owner, or on the screen when there is none, and inside
// the screen's free area.
void PlaceWindow(QWidget& dialog, QWidget* owner) {
  QRect area = owner ? owner->frameGeometry() : QRect();
  if (area.isEmpty()) {
    QScreen* screen = QGuiApplication::primaryScreen();
    area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  }
  QPoint topLeft = area.center() - QPoint(dialog.width() / 2, dialog.height() / 2);
  dialog.move(topLeft);
  platform::ui::KeepInsideScreen(dialog, false);
}

// Just before a dialog shows: OnInitDialog may have changed its size.
void PrepareToShow(platform::ui::DialogWidget& dialog) {
  dialog.ApplySizeLimits();
  platform::ui::KeepInsideScreen(dialog, true);
}

}  // namespace

CDialog::~CDialog() {
  // Leave no modal loop running for a dialog that is gone.
  if (WindowData* data = FindWindow(m_hWnd); data && data->modalLoop) data->modalLoop->exit(-1);
}

BOOL CDialog::CreateFromTemplate(bool modal) {
  const platform::DialogTemplate* dialogTemplate = platform::FindDialogTemplate(m_nIDTemplate);
  if (!dialogTemplate) {
    std::fprintf(stderr, "Dialog template %u is not registered.\n", m_nIDTemplate);
    return FALSE;
  }
  if (!qApp) {
    std::fprintf(stderr, "Dialog %u needs the window system.\n", m_nIDTemplate);
    return FALSE;
  }
  CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  if (owner == this) owner = nullptr;
  QWidget* ownerWidget = owner ? WidgetOf(owner->m_hWnd) : nullptr;
  if (ownerWidget) ownerWidget = ownerWidget->window();

  auto* widget = new platform::ui::DialogWidget(ownerWidget,
                                                FlagsOf(*dialogTemplate, ownerWidget != nullptr));
  WindowData& data = platform::ui::RegisterWindow(widget, platform::ui::WindowKind::Dialog);
  widget->SetHandle(data.handle);
  data.permanent = this;
  m_hWnd = data.handle;
  m_bOwnsWindow = true;
  m_bModal = modal;
  m_bEnded = false;
  m_nModalResult = -1;
  platform::ui::BuildDialog(*dialogTemplate, *widget, data);
  PlaceWindow(*widget, ownerWidget);
  return TRUE;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd || !CreateFromTemplate(true)) return -1;
  const HWND handle = m_hWnd;
  const BOOL setFocus = OnInitDialog();
  if (!m_bEnded && FindWindow(handle)) {
    QWidget* widget = WidgetOf(handle);
    widget->setWindowModality(Qt::ApplicationModal);
    PrepareToShow(*static_cast<platform::ui::DialogWidget*>(widget));
    widget->show();
    widget->activateWindow();
    if (setFocus) platform::ui::FocusFirstTabStop(*widget);
    QEventLoop loop;
    FindWindow(handle)->modalLoop = &loop;
    if (!m_bEnded) loop.exec(QEventLoop::DialogExec);
    if (WindowData* data = FindWindow(handle)) data->modalLoop = nullptr;
  }
  const int result = m_nModalResult;
  platform::ui::DestroyWidgetNow(handle);
  m_bModal = false;
  return result;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (m_hWnd) return FALSE;
  m_nIDTemplate = templateId;
  if (parent) m_pParentWnd = parent;
  if (!CreateFromTemplate(false)) return FALSE;
  const HWND handle = m_hWnd;
  const BOOL setFocus = OnInitDialog();
  const platform::DialogTemplate* dialogTemplate = platform::FindDialogTemplate(templateId);
  QWidget* widget = WidgetOf(handle);
  if (widget && !m_bEnded && dialogTemplate && (dialogTemplate->style & WS_VISIBLE)) {
    PrepareToShow(*static_cast<platform::ui::DialogWidget*>(widget));
    widget->show();
    widget->activateWindow();
    if (setFocus) platform::ui::FocusFirstTabStop(*widget);
  }
  return widget != nullptr;
}

void CDialog::EndDialog(int result) {
  m_nModalResult = result;
  m_bEnded = true;
  WindowData* data = FindWindow(m_hWnd);
  if (!data) return;
  data->widget->hide();
  if (data->modalLoop) data->modalLoop->exit(result);
}

void CDialog::MapDialogRect(LPRECT rect) const {
  const WindowData* data = FindWindow(m_hWnd);
  if (rect && data) *rect = platform::ui::DialogUnitsToPixels(*rect, data->units);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (control) control->SetFocus();
}
