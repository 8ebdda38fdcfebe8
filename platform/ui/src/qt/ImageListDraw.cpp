// CImageList's drawing onto a CDC: transparent images, the blended look of
// a selected item, and overlay images.
#include <QApplication>
#include <QImage>
#include <QPalette>

#include "DcAccess.h"
#include "ImageListData.h"
#include "platform/ImageList.h"

namespace {

// The picture mixed with the highlight colour where it is not transparent.
QPixmap Blended(const QPixmap& picture, qreal share) {
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
  painter.setOpacity(share);
  const QColor highlight =
      qApp ? QApplication::palette().color(QPalette::Highlight) : QColor(0, 0, 128);
  painter.fillRect(image.rect(), highlight);
  painter.end();
  return QPixmap::fromImage(image);
}

}  // namespace

BOOL CImageList::Draw(CDC* dc, int index, POINT point, UINT style) {
  platform::ui::ImageListData* data = platform::ui::FindImageList(m_hImageList);
  if (!data || !dc || index < 0 || static_cast<std::size_t>(index) >= data->images.size()) {
    return FALSE;
  }
  QPainter* painter = platform::ui::DcAccess::PainterOf(*dc);
  if (!painter) return TRUE;
  const qreal share = (style & ILD_BLEND50) ? 0.5 : (style & ILD_BLEND25) ? 0.25 : 0.0;
  const qreal pixelRatio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
  // Each image fills the list's size; a sharp picture puts its extra pixels
  // into the same points.
  auto draw = [&](std::size_t image) {
    const QPixmap picture = platform::ui::ImageListPicture(*data, image, pixelRatio);
    painter->drawPixmap(QRect(QPoint(point.x, point.y), data->size),
                        share > 0 ? Blended(picture, share) : picture);
  };
  draw(static_cast<std::size_t>(index));
  const UINT overlay = (style & ILD_OVERLAYMASK) >> 8;
  const int overlayImage = overlay ? data->overlays[overlay] : -1;
  if (overlayImage >= 0 && static_cast<std::size_t>(overlayImage) < data->images.size()) {
    draw(static_cast<std::size_t>(overlayImage));
  }
  return TRUE;
}

BOOL CImageList::SetOverlayImage(int index, int overlay) {
  platform::ui::ImageListData* data = platform::ui::FindImageList(m_hImageList);
  if (!data || overlay < 1 || overlay > 15 || index < 0 ||
      static_cast<std::size_t>(index) >= data->images.size()) {
    return FALSE;
  }
  data->overlays[overlay] = index;
  return TRUE;
}
