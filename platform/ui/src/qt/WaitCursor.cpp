// The wait cursor: Qt's override cursor, which stacks as the calls nest.
#include <QApplication>
#include <QCursor>

#include "platform/Wnd.h"

namespace {

void ShowWaitCursor() {
  if (qApp) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void HideWaitCursor() {
  if (qApp && QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
}

}  // namespace

void CWnd::BeginWaitCursor() { ShowWaitCursor(); }

void CWnd::EndWaitCursor() { HideWaitCursor(); }

CWaitCursor::CWaitCursor() { ShowWaitCursor(); }

CWaitCursor::~CWaitCursor() { HideWaitCursor(); }
