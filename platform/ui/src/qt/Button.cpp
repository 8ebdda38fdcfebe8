#include "platform/Button.h"

#include <QCheckBox>
#include <QSignalBlocker>

#include "WindowRegistry.h"

int CButton::GetCheck() const {
  auto* box = qobject_cast<QCheckBox*>(platform::ui::WidgetOf(m_hWnd));
  if (!box) return BST_UNCHECKED;
  switch (box->checkState()) {
    case Qt::Checked:
      return BST_CHECKED;
    case Qt::PartiallyChecked:
      return BST_INDETERMINATE;
    default:
      return BST_UNCHECKED;
  }
}

void CButton::SetCheck(int check) {
  auto* box = qobject_cast<QCheckBox*>(platform::ui::WidgetOf(m_hWnd));
  if (!box) return;
  const QSignalBlocker quiet(box);
  if (check == BST_INDETERMINATE && box->isTristate()) {
    box->setCheckState(Qt::PartiallyChecked);
  } else {
    box->setCheckState(check == BST_UNCHECKED ? Qt::Unchecked : Qt::Checked);
  }
}
