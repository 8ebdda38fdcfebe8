#include "IconPixmap.h"

#include <QHash>

#include "WindowRegistry.h"

namespace platform::ui {

QPixmap PixmapOf(HICON icon) {
  // Kept for the life of the process, as the icons themselves are.
  static auto* cache = new QHash<HICON, QPixmap>;
  if (!icon) return QPixmap();
  auto it = cache->find(icon);
  if (it == cache->end()) {
    const std::span<const char* const> lines = IconImageLines(icon);
    it = cache->insert(icon, QPixmap(lines.data()));
  }
  return it.value();
}

void SetLabelIcon(QLabel& label, WindowData& data, HICON icon) {
  data.bigIcon = icon;
  label.setPixmap(PixmapOf(icon));
}

QIcon WindowIconOf(HICON bigIcon, HICON smallIcon) {
  QIcon icon;
  if (bigIcon) icon.addPixmap(PixmapOf(bigIcon));
  if (smallIcon && smallIcon != bigIcon) icon.addPixmap(PixmapOf(smallIcon));
  return icon;
}

}  // namespace platform::ui
