#include "platform/Static.h"

#include <QLabel>

#include "IconPixmap.h"
#include "WindowRegistry.h"

HICON CStatic::SetIcon(HICON icon) {
  platform::ui::WindowData* data = platform::ui::FindWindow(m_hWnd);
  auto* label = qobject_cast<QLabel*>(data ? data->widget.data() : nullptr);
  if (!label) return nullptr;
  const HICON previous = data->bigIcon;
  platform::ui::SetLabelIcon(*label, *data, icon);
  return previous;
}

HICON CStatic::GetIcon() const {
  const platform::ui::WindowData* data = platform::ui::FindWindow(m_hWnd);
  return data ? data->bigIcon : nullptr;
}
