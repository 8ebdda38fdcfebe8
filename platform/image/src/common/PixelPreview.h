// Previews of pixels decoded elsewhere (a video's frame): the same
// resampling, saving and mark as a picture's preview. Internal to
// platform_image.
#pragma once

#include <cstddef>

#include "platform/Preview.h"

namespace platform::image {

// Makes the preview (and, with `largeEdge` above `edge` and a frame larger
// than the preview, the large preview) of `width` x `height` RGB pixels,
// 3 bytes each, rows `stride` bytes apart, first turned clockwise by
// `quarterTurns` quarter turns. Only the images and their sizes of the
// result are filled; its status is Made or Failed.
PreviewImage MakePixelPreview(const unsigned char* rgb, int width, int height, std::size_t stride, int quarterTurns,
                              int edge, int largeEdge);

}  // namespace platform::image
