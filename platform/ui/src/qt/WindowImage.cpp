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
  // At several device pixels per point the grab has that many pixels per
  // point: the picture gets as many, and is drawn in points like the window.
  const qreal ratio = client.devicePixelRatio();
  const QSize clientSize = client.deviceIndependentSize().toSize();
  const QFontMetrics metrics(widget->font());
  const int titleHeight = metrics.height() + 10;
  const int border = 1;
  const QSize size(clientSize.width() + 2 * border, clientSize.height() + titleHeight + 2 * border);
  QImage image(size * ratio, QImage::Format_ARGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(widget->palette().color(QPalette::Dark));
  QPainter painter(&image);
  const QRect title(border, border, clientSize.width(), titleHeight);
  painter.fillRect(title, widget->palette().color(QPalette::Highlight));
  int textLeft = title.left() + 6;
  const QIcon icon = widget->windowIcon();
  if (!icon.isNull()) {
    const int side = titleHeight - 8;
    painter.drawPixmap(QRect(textLeft, title.top() + 4, side, side), icon.pixmap(QSize(side, side), ratio));
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
