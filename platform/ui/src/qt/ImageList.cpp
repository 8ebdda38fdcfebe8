// CImageList on Qt pictures, in a table of lists by handle. Handles are
// numbers that are never reused, so a view holding a deleted list's handle
// finds nothing instead of another list.
#include "platform/ImageList.h"

#include <QIcon>
#include <QImage>
#include <memory>
#include <unordered_map>

#include "IconPixmap.h"
#include "ImageListData.h"
#include "platform/Resource.h"

namespace platform::ui {
namespace {

struct Table {
  std::unordered_map<HIMAGELIST, std::unique_ptr<ImageListData>> lists;
  std::uintptr_t next = 0x20000;
};

Table& TheTable() {
  static Table* table = new Table;
  return *table;
}

HIMAGELIST AddList(std::unique_ptr<ImageListData> data) {
  Table& table = TheTable();
  const auto handle = reinterpret_cast<HIMAGELIST>(table.next);
  table.next += 4;
  table.lists.emplace(handle, std::move(data));
  return handle;
}

// The picture with every pixel of `mask` made transparent.
QImage WithoutColour(QImage image, COLORREF mask) {
  image = image.convertToFormat(QImage::Format_ARGB32);
  if (mask == CLR_NONE) return image;
  const QRgb key = qRgb(GetRValue(mask), GetGValue(mask), GetBValue(mask));
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0x00FFFFFF) == (key & 0x00FFFFFF)) line[x] = 0;
    }
  }
  return image;
}

}  // namespace

ImageListData* FindImageList(HIMAGELIST handle) {
  if (!handle) return nullptr;
  auto& lists = TheTable().lists;
  auto it = lists.find(handle);
  return it == lists.end() ? nullptr : it->second.get();
}

QVariant ImageListDecoration(HIMAGELIST handle, int index) {
  const ImageListData* data = FindImageList(handle);
  if (!data || index < 0 || static_cast<std::size_t>(index) >= data->images.size()) return {};
  const QPixmap& image = data->images[static_cast<std::size_t>(index)];
  const QPixmap& sharp = data->sharp[static_cast<std::size_t>(index)];
  if (sharp.isNull()) return image;
  QIcon icon(image);
  icon.addPixmap(sharp);
  return icon;
}

QPixmap ImageListPicture(const ImageListData& data, std::size_t index, qreal pixelRatio) {
  const QPixmap& sharp = data.sharp[index];
  return !sharp.isNull() && pixelRatio >= sharp.devicePixelRatio() ? sharp : data.images[index];
}

QSize ImageListSize(HIMAGELIST handle) {
  const ImageListData* data = FindImageList(handle);
  return data ? data->size : QSize();
}

}  // namespace platform::ui

using platform::ui::FindImageList;
using platform::ui::ImageListData;

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow) {
  if (m_hImageList || cx <= 0 || cy <= 0) return FALSE;
  auto data = std::make_unique<ImageListData>();
  data->size = QSize(cx, cy);
  data->flags = flags;
  data->grow = grow;
  if (initial > 0) data->images.reserve(static_cast<std::size_t>(initial));
  data->owner = this;
  m_hImageList = platform::ui::AddList(std::move(data));
  return TRUE;
}

BOOL CImageList::Create(UINT bitmapId, int cx, int grow, COLORREF mask) {
  if (m_hImageList || cx <= 0) return FALSE;
  const platform::BitmapResource* bitmap = platform::FindBitmapResource(bitmapId);
  if (!bitmap) return FALSE;
  const QImage picture =
      platform::ui::WithoutColour(QPixmap(bitmap->xpm.data()).toImage(), mask);
  if (picture.isNull()) return FALSE;
  auto data = std::make_unique<ImageListData>();
  data->size = QSize(cx, picture.height());
  data->flags = ILC_MASK;
  data->grow = grow;
  for (int left = 0; left + cx <= picture.width(); left += cx) {
    data->images.push_back(QPixmap::fromImage(picture.copy(left, 0, cx, picture.height())));
    data->sharp.emplace_back();
  }
  data->owner = this;
  m_hImageList = platform::ui::AddList(std::move(data));
  return TRUE;
}

BOOL CImageList::DeleteImageList() {
  if (!m_hImageList) return FALSE;
  platform::ui::TheTable().lists.erase(m_hImageList);
  m_hImageList = nullptr;
  return TRUE;
}

CImageList* CImageList::FromHandle(HIMAGELIST handle) {
  ImageListData* data = FindImageList(handle);
  return data ? data->owner : nullptr;
}

int CImageList::Add(HICON icon) {
  ImageListData* data = FindImageList(m_hImageList);
  const QPixmap picture = platform::ui::PixmapOf(icon);
  if (!data || picture.isNull()) return -1;
  data->images.push_back(picture.size() == data->size
                             ? picture
                             : picture.scaled(data->size, Qt::IgnoreAspectRatio,
                                              Qt::SmoothTransformation));
  // An icon drawn at a whole multiple of the list's size (32 pixels for a
  // list of 16) keeps all its pixels for screens that show that many per
  // point: scaled down and up again it would come out blurred.
  QPixmap sharp;
  const int ratio = picture.width() / data->size.width();
  if (ratio >= 2 && picture.size() == data->size * ratio) {
    sharp = picture;
    sharp.setDevicePixelRatio(ratio);
  }
  data->sharp.push_back(sharp);
  return static_cast<int>(data->images.size()) - 1;
}

int CImageList::GetImageCount() const {
  const ImageListData* data = FindImageList(m_hImageList);
  return data ? static_cast<int>(data->images.size()) : 0;
}

BOOL CImageList::GetIconSize(int& cx, int& cy) const {
  const ImageListData* data = FindImageList(m_hImageList);
  if (!data) return FALSE;
  cx = data->size.width();
  cy = data->size.height();
  return TRUE;
}
