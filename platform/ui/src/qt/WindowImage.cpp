// A window drawn into a PNG file with a plain title bar, for documentation.
#include "platform/WindowImage.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "IconPixmap.h"
#include "WindowRegistry.h"
#include "platform/Wnd.h"

namespace platform {

bool SaveWindowImage(const CWnd& window, const char* pngPath) {
  QWidget* widget = ui::WidgetOf(window.m_hWnd);
  if (!widget || !pngPath) return false;
  // Pending layouts (a list that just got its lines) are done first.
  QCoreApplication::processEvents();
  const QPixmap client = widget->grab();
  const QFontMetrics metrics(widget->font());
  const int titleHeight = metrics.height() + 10;
  const int border = 1;
  QImage image(client.width() + 2 * border, client.height() + titleHeight + 2 * border,
               QImage::Format_ARGB32);
  image.fill(widget->palette().color(QPalette::Dark));
  QPainter painter(&image);
  const QRect title(border, border, client.width(), titleHeight);
  painter.fillRect(title, widget->palette().color(QPalette::Highlight));
  int textLeft = title.left() + 6;
  const QIcon icon = widget->windowIcon();
  if (!icon.isNull()) {
    const int side = titleHeight - 8;
    painter.drawPixmap(textLeft, title.top() + 4, icon.pixmap(side, side));
    textLeft += side + 6;
  }
  QFont bold = widget->font();
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(widget->palette().color(QPalette::HighlightedText));
  painter.drawText(QRect(textLeft, title.top(), title.right() - textLeft, titleHeight),
                   Qt::AlignVCenter | Qt::AlignLeft, widget->windowTitle());
  painter.drawPixmap(border, border + titleHeight, client);
  painter.end();
  return image.save(QString::fromUtf8(pngPath), "PNG");
}

bool SaveIconImage(HICON icon, int side, const char* pngPath) {
  const QImage picture = ui::PixmapOf(icon).toImage();
  if (picture.isNull() || side <= 0 || !pngPath) return false;
  const bool whole = side % picture.width() == 0 && side % picture.height() == 0;
  const QImage scaled =
      picture.scaled(side, side, Qt::IgnoreAspectRatio,
                     whole ? Qt::FastTransformation : Qt::SmoothTransformation);
  return scaled.save(QString::fromUtf8(pngPath), "PNG");
}

}  // namespace platform
