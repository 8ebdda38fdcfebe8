#include "TextLimit.h"

#include <algorithm>

#include "WindowRegistry.h"

namespace platform::ui {

void ApplyTextLimit(QLineEdit& edit, UINT limit) {
  const qsizetype length = edit.text().size();
  edit.setMaxLength(static_cast<int>(std::max<qsizetype>(limit, length)));
}

void InstallTextLimit(QLineEdit& edit, HWND handle) {
  QObject::connect(&edit, &QLineEdit::textChanged, [&edit, handle] {
    if (const WindowData* data = FindWindow(handle)) ApplyTextLimit(edit, data->textLimit);
  });
  if (const WindowData* data = FindWindow(handle)) ApplyTextLimit(edit, data->textLimit);
}

void SetTextBeyondLimit(QLineEdit& edit, const QString& text) {
  if (text.size() > edit.maxLength()) edit.setMaxLength(static_cast<int>(text.size()));
  edit.setText(text);
}

}  // namespace platform::ui
