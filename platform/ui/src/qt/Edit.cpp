#include "platform/Edit.h"

#include <QLineEdit>

#include "../common/UiText.h"
#include "QtText.h"
#include "TextLimit.h"
#include "WindowRegistry.h"

namespace {

QLineEdit* EditOf(HWND handle) { return qobject_cast<QLineEdit*>(platform::ui::WidgetOf(handle)); }

// A byte offset into the field's UTF-8 text as a position in its UTF-16 text.
int QtPosition(const QLineEdit& edit, int byteOffset) {
  const std::string text = platform::ui::FromQt(edit.text());
  if (byteOffset < 0 || static_cast<std::size_t>(byteOffset) >= text.size()) {
    return static_cast<int>(edit.text().size());
  }
  const std::size_t prefix = platform::ui::Utf8PrefixLength(text, static_cast<std::size_t>(byteOffset));
  return static_cast<int>(platform::ui::ToQt(std::string_view(text).substr(0, prefix)).size());
}

}  // namespace

void CEdit::SetLimitText(UINT maxChars) {
  platform::ui::WindowData* data = platform::ui::FindWindow(m_hWnd);
  QLineEdit* edit = EditOf(m_hWnd);
  if (!data || !edit) return;
  data->textLimit = maxChars == 0 ? 30000 : maxChars;
  platform::ui::ApplyTextLimit(*edit, data->textLimit);
}

UINT CEdit::GetLimitText() const {
  const platform::ui::WindowData* data = platform::ui::FindWindow(m_hWnd);
  return data ? data->textLimit : 0;
}

void CEdit::SetSel(int start, int end, BOOL) {
  QLineEdit* edit = EditOf(m_hWnd);
  if (!edit) return;
  if (start < 0) {
    edit->deselect();
    return;
  }
  const int from = QtPosition(*edit, start);
  const int to = QtPosition(*edit, end);
  edit->setSelection(from, to - from);
}

void CEdit::ReplaceSel(const char* text, BOOL) {
  if (QLineEdit* edit = EditOf(m_hWnd)) edit->insert(platform::ui::ToQt(text ? text : ""));
}
