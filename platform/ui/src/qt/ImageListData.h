// What an image list holds, for the views that show its images: the table
// of live lists by handle, each with its image size and pictures.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QVariant>
#include <vector>

#include "platform/ImageList.h"

namespace platform::ui {

struct ImageListData {
  QSize size;
  UINT flags = 0;
  int grow = 0;
  std::vector<QPixmap> images;  // at the list's size
  // Beside each image, the picture it was made from when that was a whole
  // multiple of the list's size (its device pixel ratio says which), for
  // screens with more pixels per point; a null picture otherwise.
  std::vector<QPixmap> sharp;
  int overlays[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  CImageList* owner = nullptr;
};

// The list of a live handle; null for null or a deleted list.
ImageListData* FindImageList(HIMAGELIST handle);
// Image `index` as a view's decoration: an icon with the image and its
// sharp picture where it has one (a view picks by the screen), else the
// image itself; an empty value for a dead handle or a bad index.
QVariant ImageListDecoration(HIMAGELIST handle, int index);
// The picture of image `index` to draw on a device of `pixelRatio` device
// pixels per point: the sharp one when it has as many, else the image.
QPixmap ImageListPicture(const ImageListData& data, std::size_t index, qreal pixelRatio);
// The image size of the list; an empty size for a dead handle.
QSize ImageListSize(HIMAGELIST handle);

}  // namespace platform::ui
