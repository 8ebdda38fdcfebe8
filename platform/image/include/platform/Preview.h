// Previews of pictures: a small JPEG copy of a picture for index pages.
//
//   platform::PreviewResult result = platform::MakePreview("T:\\Pics\\a.jpg", "T:\\Pics\\_x\\a.jpg.jpg", 240);
//   if (result.status == platform::PreviewStatus::Made) ... result.width, result.height ...
//
// A preview is turned upright as the picture's EXIF orientation says, shrunk
// (never enlarged) so that its longer edge is at most the given edge, laid
// on white where the picture is transparent, and saved as a baseline JPEG
// without any metadata of the original (no EXIF, GPS position, comments or
// colour profile). Pictures are read by their content, not their name:
// JPEG, PNG, GIF (its first frame), BMP, WebP and TIFF. Every other content,
// and any picture whose data is cut short or broken, is refused without
// writing anything.
//
// MakePreview may be called from several threads at once; each call does its
// work on its own thread. A thread that called it calls EndPreviewThread
// before it ends, so the library's per-thread buffers are given back.
#pragma once

#include <string>
#include <string_view>

namespace platform {

enum class PreviewStatus {
  Made,         // the preview was written
  NotAPicture,  // the content is none of the formats above
  Broken,       // a picture whose data cannot be decoded (cut short, damaged)
  TooLarge,     // more pixels than kMaxPreviewSourcePixels
  WriteFailed,  // decoded, but the preview could not be written (errno-like code in `error`)
};

struct PreviewResult {
  PreviewStatus status = PreviewStatus::NotAPicture;
  int width = 0;   // the preview's size in pixels, when made
  int height = 0;
  int error = 0;   // the system's error code of a failed write
  unsigned long long fileSize = 0;  // the preview file's size and modification
  long long modifyTime = 0;         // time (seconds since 1970), when made
};

// Pictures above this many pixels are refused rather than decoded: they
// cost more memory and time than a preview is worth (a decompression bomb
// states billions).
inline constexpr long long kMaxPreviewSourcePixels = 200LL * 1000 * 1000;

// Longer edges a caller may ask for.
inline constexpr int kMinPreviewEdge = 16;
inline constexpr int kMaxPreviewEdge = 4096;

// Makes the preview of `picture` (any path form the drive table accepts) and
// puts it at `preview` in one step, replacing a file of that name: a reader
// never sees a half-written preview. The folder of `preview` must exist.
// `longerEdge` is clamped to kMinPreviewEdge..kMaxPreviewEdge.
PreviewResult MakePreview(std::string_view picture, std::string_view preview, int longerEdge);

// Gives back what the library keeps for the calling thread.
void EndPreviewThread();

// True when the name ends in the extension of one of the formats above
// (.jpg .jpeg .jpe .png .gif .bmp .webp .tif .tiff, any case): the files
// worth handing to MakePreview. A file so named that MakePreview refuses is
// a broken picture; any other file is simply not one.
bool HasPictureExtension(std::string_view fileName);

}  // namespace platform
