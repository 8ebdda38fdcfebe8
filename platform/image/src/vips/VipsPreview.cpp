// Previews with libvips: its thumbnail operation decodes a JPEG already
// shrunk (the decoder skips detail it would throw away) and turns the result
// by the EXIF orientation; the JPEG is saved into memory with every piece of
// metadata stripped and then written and renamed into place by this file.
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vips/vips.h>

#include "../common/PictureFormat.h"
#include "platform/Drives.h"
#include "platform/Preview.h"

namespace platform {
namespace {

using image::PictureFormat;

constexpr int kJpegQuality = 82;

// Set once the library is up; per-thread clean-up before that would touch
// a library that was never started.
std::atomic<bool> g_started{false};

// One-time set-up: no operation cache (a picture changed on disk must be
// read again, and open files must not pile up), one thread per preview (the
// callers run previews side by side), only the decoders of the formats this
// file lets through, and the library's warnings kept off standard error.
bool StartLibrary() {
  static bool started = [] {
    if (VIPS_INIT("ombral") != 0) return false;
    vips_cache_set_max(0);
    vips_cache_set_max_files(0);
    vips_concurrency_set(1);
    vips_operation_block_set("VipsForeignLoad", TRUE);
    for (const char* allowed : {"VipsForeignLoadJpeg", "VipsForeignLoadPng", "VipsForeignLoadNsgif",
                                "VipsForeignLoadWebp", "VipsForeignLoadTiff", "VipsForeignLoadMagick"})
      vips_operation_block_set(allowed, FALSE);
    g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO),
                      [](const gchar*, GLogLevelFlags, const gchar*, gpointer) {}, nullptr);
    g_started = true;
    return true;
  }();
  return started;
}

// The format of a file by its first bytes; None when it cannot be read.
PictureFormat SniffFile(const std::string& native) {
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return PictureFormat::None;
  unsigned char head[image::kSniffBytes] = {};
  std::size_t got = 0;
  while (got < sizeof head) {
    const ssize_t n = ::read(fd, head + got, sizeof head - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return image::SniffPictureFormat(head, got);
}

// Drops the references it holds when it goes.
struct ImageRef {
  VipsImage* image = nullptr;
  ~ImageRef() {
    if (image) g_object_unref(image);
  }
};

// The picture's pixel count from its header alone; -1 when the header
// cannot be read.
long long PixelCount(const std::string& native) {
  ImageRef header;
  header.image = vips_image_new_from_file(native.c_str(), "access", VIPS_ACCESS_SEQUENTIAL, nullptr);
  if (!header.image) return -1;
  return static_cast<long long>(vips_image_get_width(header.image)) * vips_image_get_height(header.image);
}

// Writes `size` bytes to a new file in the preview's folder and renames it
// to the preview's name; 0 or the error code. `result` gets the file's size
// and time.
int WriteInPlace(const std::string& nativePreview, const void* data, std::size_t size, PreviewResult& result) {
  const std::size_t slash = nativePreview.rfind('/');
  std::string temp = (slash == std::string::npos ? std::string(".") : nativePreview.substr(0, slash)) +
                     "/.preview-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  int error = 0;
  const char* bytes = static_cast<const char*>(data);
  for (std::size_t done = 0; done < size && error == 0;) {
    const ssize_t n = ::write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) error = n < 0 ? errno : ENOSPC;
    else done += static_cast<std::size_t>(n);
  }
  // mkostemp makes the file private; a preview is read by whoever reads
  // the pages.
  if (error == 0 && ::fchmod(fd, 0644) != 0) error = errno;
  struct stat written {};
  if (error == 0 && ::fstat(fd, &written) != 0) error = errno;
  result.fileSize = static_cast<unsigned long long>(written.st_size);
  result.modifyTime = written.st_mtime;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(temp.c_str(), nativePreview.c_str()) != 0) error = errno;
  if (error != 0) ::unlink(temp.c_str());
  return error;
}

}  // namespace

PreviewResult MakePreview(std::string_view picture, std::string_view preview, int longerEdge) {
  PreviewResult result;
  const std::string nativePicture = ToNativePath(picture);
  const std::string nativePreview = ToNativePath(preview);
  if (nativePicture.empty() || nativePreview.empty() || SniffFile(nativePicture) == PictureFormat::None) {
    result.status = PreviewStatus::NotAPicture;
    return result;
  }
  if (!StartLibrary()) {
    result.status = PreviewStatus::Broken;
    return result;
  }
  const long long pixels = PixelCount(nativePicture);
  if (pixels <= 0 || pixels > kMaxPreviewSourcePixels) {
    result.status = pixels > 0 ? PreviewStatus::TooLarge : PreviewStatus::Broken;
    vips_error_clear();
    return result;
  }
  const int edge = longerEdge < kMinPreviewEdge ? kMinPreviewEdge : (longerEdge > kMaxPreviewEdge ? kMaxPreviewEdge : longerEdge);

  // The thumbnail is a pipeline: decoding happens while it is saved, so a
  // broken picture shows up as a failed save.
  ImageRef thumb, flat;
  void* jpeg = nullptr;
  std::size_t jpegSize = 0;
  bool ok = vips_thumbnail(nativePicture.c_str(), &thumb.image, edge, "height", edge, "size", VIPS_SIZE_DOWN,
                           "fail_on", VIPS_FAIL_ON_ERROR, nullptr) == 0;
  VipsImage* out = thumb.image;
  if (ok && vips_image_hasalpha(out)) {
    VipsArrayDouble* white = vips_array_double_newv(1, 255.0);
    ok = vips_flatten(out, &flat.image, "background", white, nullptr) == 0;
    vips_area_unref(VIPS_AREA(white));
    out = flat.image;
  }
  ok = ok && vips_jpegsave_buffer(out, &jpeg, &jpegSize, "Q", kJpegQuality, "strip", TRUE, "optimize_coding", TRUE,
                                  nullptr) == 0;
  if (!ok) {
    g_free(jpeg);
    vips_error_clear();
    result.status = PreviewStatus::Broken;
    return result;
  }
  result.width = vips_image_get_width(out);
  result.height = vips_image_get_height(out);
  result.error = WriteInPlace(nativePreview, jpeg, jpegSize, result);
  g_free(jpeg);
  result.status = result.error == 0 ? PreviewStatus::Made : PreviewStatus::WriteFailed;
  if (result.status != PreviewStatus::Made) result.width = result.height = 0;
  return result;
}

void EndPreviewThread() {
  if (g_started) vips_thread_shutdown();
}

}  // namespace platform
