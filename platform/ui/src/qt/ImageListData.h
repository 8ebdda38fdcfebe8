// What an image list holds, for the views that show its images: the table
// of live lists by handle, each with its image size and pictures.
#pragma once

#include <QPixmap>
#include <QSize>
#include <vector>

#include "platform/ImageList.h"

namespace platform::ui {

struct ImageListData {
  QSize size;
  UINT flags = 0;
  int grow = 0;
  std::vector<QPixmap> images;
  int overlays[16] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  CImageList* owner = nullptr;
};

// The list of a live handle; null for null or a deleted list.
ImageListData* FindImageList(HIMAGELIST handle);
// Image `index` of the list; a null picture for a dead handle or a bad index.
QPixmap ImageListPixmap(HIMAGELIST handle, int index);
// The image size of the list; an empty size for a dead handle.
QSize ImageListSize(HIMAGELIST handle);

}  // namespace platform::ui
