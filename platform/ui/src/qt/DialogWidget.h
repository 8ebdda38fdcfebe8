// The widget of a dialog: a QDialog whose keys, close box and system menu
// become commands for the attached CDialog, and whose controls are built
// from a dialog template.
#pragma once

#include <QDialog>

#include "platform/Resource.h"
#include "platform/WinUser.h"

namespace platform::ui {

struct WindowData;

class DialogWidget : public QDialog {
public:
  DialogWidget(QWidget* owner, Qt::WindowFlags flags);
  void SetHandle(HWND handle) { m_handle = handle; }

  // Enter: the focused push button, else the default button, else IDOK.
  void PressEnter();

  // QDialog's own ways to end (they do not come from our keys) become the
  // commands a user's action would send.
  void accept() override;
  void reject() override;

  // A resizable dialog takes the size limits its OnGetMinMaxInfo names
  // (asked again each time: they may depend on the dialog's state).
  void ApplySizeLimits();

  // Files dropped anywhere on the dialog, its controls too, go to
  // OnDropFiles while this is on.
  void AcceptFileDrops(bool accept);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  // The size limits are asked for and the new size reported (OnSize).
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // A drag of local files over the dialog or one of its controls.
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  // OnSize with the current size, unless that was the last one reported.
  void ReportSize();

  HWND m_handle = nullptr;
  bool m_applyingLimits = false;
  bool m_acceptDrops = false;
  bool m_placed = false;
  bool m_reported = false;
  QSize m_reportedSize;
  UINT m_reportedType = 0;
};

// Creates the dialog's font, metrics, size and controls from the template.
void BuildDialog(const DialogTemplate& dialogTemplate, DialogWidget& dialog, WindowData& data);
// Moves a top-level window into the free area (without panels and docks)
// of the screen that holds most of it, as far as it fits; with `shrink`, a
// resizable window bigger than that area is made smaller first (not below
// its smallest size). A window that is still bigger keeps its top left
// corner inside, so its caption can be reached.
void KeepInsideScreen(QWidget& window, bool shrink);
// Gives the focus to the first visible, enabled control with WS_TABSTOP.
void FocusFirstTabStop(QWidget& dialog);

}  // namespace platform::ui
