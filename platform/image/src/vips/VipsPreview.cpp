// Previews with libvips. The header of a picture is read first, for the
// pixel cap and the memory estimate; then the budget is taken and the
// picture decoded:
//   a JPEG by the JPEG library directly (JpegDecoder), already shrunk,
//     because the library's own loader checks for warnings only before each
//     band of rows it decodes and so misses damage found in the last band,
//     which is where broken entropy data usually shows (the decoder runs
//     into the end marker, or stops short of it);
//   every other format by the library's thumbnail operation with its
//     loader set to fail on the first warning.
// The result is turned by the EXIF orientation, shrunk, laid on white,
// saved as a JPEG with every piece of metadata stripped, and marked.
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <vips/vips.h>
#if VIPS_MAJOR_VERSION == 8 && VIPS_MINOR_VERSION < 15
#include <vips/vector.h>
#endif

#include "../common/DecodeEstimate.h"
#include "../common/DecodeFailure.h"
#include "../common/ExifFacts.h"
#include "../common/PictureFormat.h"
#include "../common/PreviewMark.h"
#include "JpegDecoder.h"
#include "platform/Drives.h"
#include "platform/Preview.h"

namespace platform {
namespace {

using image::PictureFormat;
using image::PictureShape;

constexpr int kJpegQuality = 82;
// A rendition is looked at full screen: a little more quality than a preview.
constexpr int kRenditionQuality = 85;

// Pictures decoded since the process started (see PreviewDecodeCount).
std::atomic<std::uint64_t> g_decodes{0};

// Set once the library is up; per-thread clean-up before that would touch
// a library that was never started.
std::atomic<bool> g_started{false};

// Where the library's warnings on this thread go while a decode watches
// them (see ErrorWindow); null when none does.
thread_local std::string* t_warnings = nullptr;

// Some loaders say why a header failed only as a warning (the PNG loader
// passes libpng's "IHDR: CRC error" on that way and leaves its error text
// empty). Warnings never reach standard error; those on a thread whose
// decode watches them are kept for its reason.
void OnLibraryLog(const gchar*, GLogLevelFlags level, const gchar* message, gpointer) {
  if (t_warnings && (level & G_LOG_LEVEL_WARNING) && message && t_warnings->size() < 1024) {
    if (!t_warnings->empty()) *t_warnings += ' ';
    *t_warnings += message;
  }
}

// One-time set-up: no operation cache (a picture changed on disk must be
// read again, and open files must not pile up), one thread per preview (the
// callers run previews side by side), only the decoders of the formats this
// file lets through, and the library's warnings kept off standard error.
//
// Before 8.15 the library's vertical resampler compiles a small vector
// program for every picture it shrinks (the program depends on the shrink
// factor) through liborc, and frees it when the picture's pipeline goes.
// liborc's code memory is shared by the whole process and its allocator is
// not safe across threads: a chunk is split and marked used outside its
// lock, and freed and merged with no lock at all. With previews made on
// several threads, a compilation on one and a clean-up on another corrupt
// the chunk list; after a few thousand previews the heap is broken and the
// scan aborts. Those versions therefore run with their vector code off,
// which resamples in plain C: 2 to 5 % more time on a preview scan, and no
// runtime code generation at all. Later versions use precompiled SIMD
// paths with nothing generated at run time, so they keep it on.
bool StartLibrary() {
  static bool started = [] {
    if (VIPS_INIT("ombral") != 0) return false;
#if VIPS_MAJOR_VERSION == 8 && VIPS_MINOR_VERSION < 15
    vips_vector_set_enabled(FALSE);
#endif
    vips_cache_set_max(0);
    vips_cache_set_max_files(0);
    vips_concurrency_set(1);
    vips_operation_block_set("VipsForeignLoad", TRUE);
    // The HEIF loader reads HEIC, HEIF and AVIF; such content reaches it
    // only when the caller asked for the phones' formats (see
    // MakePreviewImage), since the format check comes first.
    for (const char* allowed : {"VipsForeignLoadJpeg", "VipsForeignLoadPng", "VipsForeignLoadNsgif",
                                "VipsForeignLoadWebp", "VipsForeignLoadTiff", "VipsForeignLoadMagick",
                                "VipsForeignLoadHeif"})
      vips_operation_block_set(allowed, FALSE);
    g_log_set_handler("VIPS", static_cast<GLogLevelFlags>(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO),
                      OnLibraryLog, nullptr);
    g_started = true;
    return true;
  }();
  return started;
}

// Drops the reference it holds when it goes.
struct ImageRef {
  VipsImage* image = nullptr;
  ImageRef() = default;
  ImageRef(const ImageRef&) = delete;
  ImageRef& operator=(const ImageRef&) = delete;
  ~ImageRef() {
    if (image) g_object_unref(image);
  }
};

// The library keeps one error text for the whole process, and any thread
// may add to it. A decode notes where the text ended when it began and, on
// failure, reads what was added since: its own message, perhaps with one of
// a decode beside it, and the warnings logged on its own thread. That can
// only make a damaged picture look like a resource failure (tried again
// next run), never the reverse, because a failure without any message also
// counts as a resource failure. The text is emptied when it grows long; a
// decode that sees it emptied reads it whole. One window per thread at a
// time.
class ErrorWindow {
public:
  ErrorWindow() {
    std::lock_guard<std::mutex> lock(s_mutex);
    if (std::strlen(vips_error_buffer()) > 4096) {
      vips_error_clear();
      ++s_generation;
    }
    m_generation = s_generation;
    m_offset = std::strlen(vips_error_buffer());
    t_warnings = &m_warnings;
  }
  ~ErrorWindow() { t_warnings = nullptr; }
  ErrorWindow(const ErrorWindow&) = delete;
  ErrorWindow& operator=(const ErrorWindow&) = delete;

  // What the library said since the window opened, on one line.
  std::string Text() const {
    std::lock_guard<std::mutex> lock(s_mutex);
    std::string text = vips_error_buffer();
    text.erase(0, m_generation == s_generation ? std::min(m_offset, text.size()) : 0);
    if (!m_warnings.empty()) text += (text.empty() ? "" : " ") + m_warnings;
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
  }

private:
  static inline std::mutex s_mutex;
  static inline unsigned long s_generation = 0;
  unsigned long m_generation = 0;
  std::size_t m_offset = 0;
  std::string m_warnings;
};

void SetFailure(PreviewImage& result, PreviewStatus status, std::string reason) {
  result.status = status;
  result.reason = std::move(reason);
  result.width = result.height = 0;
  result.jpeg.clear();
}

// A failure the library reported: damage unless its words say it ran out
// of something, or it said nothing this decode can read.
void SetLibraryFailure(PreviewImage& result, const ErrorWindow& errors, const char* what) {
  const std::string text = errors.Text();
  const bool resource = text.empty() || image::IsResourceFailure(text);
  SetFailure(result, resource ? PreviewStatus::Failed : PreviewStatus::Broken,
             std::string(what) + (text.empty() ? "" : ": " + text));
}

// The header of a picture in a format the JPEG decoder does not take:
// size, bands and sample size from the library's header reader.
bool ReadLibraryHeader(std::string_view picture, PictureShape& shape, PreviewImage& result, const ErrorWindow& errors) {
  ImageRef header;
  header.image = vips_image_new_from_buffer(picture.data(), picture.size(), "", "access", VIPS_ACCESS_SEQUENTIAL,
                                            nullptr);
  if (!header.image) {
    SetLibraryFailure(result, errors, "unreadable header");
    return false;
  }
  shape.width = static_cast<std::uint64_t>(vips_image_get_width(header.image));
  shape.height = static_cast<std::uint64_t>(vips_image_get_height(header.image));
  shape.bands = vips_image_get_bands(header.image);
  shape.bytesPerSample = static_cast<int>(vips_format_sizeof(vips_image_get_format(header.image)));
  int interlaced = 0;
  if (vips_image_get_typeof(header.image, "interlaced") && vips_image_get_int(header.image, "interlaced", &interlaced) == 0)
    shape.interlaced = interlaced != 0;
  int orientation = 1;
  if (vips_image_get_typeof(header.image, VIPS_META_ORIENTATION))
    vips_image_get_int(header.image, VIPS_META_ORIENTATION, &orientation);
  image::ExifFacts exif;
  const void* block = nullptr;
  std::size_t blockSize = 0;
  if (vips_image_get_typeof(header.image, VIPS_META_EXIF_NAME) &&
      vips_image_get_blob(header.image, VIPS_META_EXIF_NAME, &block, &blockSize) == 0 && block)
    image::ReadExif(std::string_view(static_cast<const char*>(block), blockSize), exif);
  const bool turned = orientation >= 5 && orientation <= 8;
  result.facts.width = static_cast<int>(turned ? shape.height : shape.width);
  result.facts.height = static_cast<int>(turned ? shape.width : shape.height);
  result.facts.taken = exif.taken;
  result.facts.camera = exif.camera;
  return true;
}

// A JPEG's facts: its size from the decoder, the rest from its own EXIF
// block.
void ReadJpegFacts(std::string_view picture, int width, int height, PictureFacts& facts) {
  image::ExifFacts exif;
  image::ReadExif(image::FindJpegExif(picture), exif);
  const bool turned = exif.orientation >= 5 && exif.orientation <= 8;
  facts.width = turned ? height : width;
  facts.height = turned ? width : height;
  facts.taken = exif.taken;
  facts.camera = exif.camera;
}

// A JPEG's own decode: the decoder's pixels, with the orientation and the
// colour profile from the library's reading of the same header, so the
// thumbnail turns and converts it as it would a picture it loaded itself.
bool JpegThumbnail(std::string_view picture, image::JpegDecoder& decoder, int edge, ImageRef& thumb,
                   std::vector<unsigned char>& pixels, PreviewImage& result, const ErrorWindow& errors) {
  int width = 0, height = 0;
  const int shrink = image::JpegShrinkOnLoad(static_cast<std::uint64_t>(decoder.Width()),
                                             static_cast<std::uint64_t>(decoder.Height()), edge);
  switch (decoder.Decode(shrink, pixels, width, height)) {
    case image::JpegDecoder::Outcome::Done: break;
    case image::JpegDecoder::Outcome::Damaged: SetFailure(result, PreviewStatus::Broken, decoder.Message()); return false;
    case image::JpegDecoder::Outcome::OutOfResources: SetFailure(result, PreviewStatus::Failed, decoder.Message()); return false;
  }
  ImageRef header, memory, typed;
  header.image = vips_image_new_from_buffer(picture.data(), picture.size(), "", "access", VIPS_ACCESS_SEQUENTIAL,
                                            nullptr);
  if (!header.image) {
    SetLibraryFailure(result, errors, "unreadable header");
    return false;
  }
  const int bands = decoder.Bands();
  const VipsInterpretation interpretation =
      bands == 1 ? VIPS_INTERPRETATION_B_W : bands == 4 ? VIPS_INTERPRETATION_CMYK : VIPS_INTERPRETATION_sRGB;
  memory.image = vips_image_new_from_memory(pixels.data(), pixels.size(), width, height, bands, VIPS_FORMAT_UCHAR);
  if (!memory.image || vips_copy(memory.image, &typed.image, "interpretation", interpretation, nullptr) != 0) {
    SetLibraryFailure(result, errors, "cannot resample");
    return false;
  }
  int orientation = 1;
  if (vips_image_get_typeof(header.image, VIPS_META_ORIENTATION) &&
      vips_image_get_int(header.image, VIPS_META_ORIENTATION, &orientation) == 0)
    vips_image_set_int(typed.image, VIPS_META_ORIENTATION, orientation);
  const void* profile = nullptr;
  std::size_t profileSize = 0;
  if (vips_image_get_typeof(header.image, VIPS_META_ICC_NAME) &&
      vips_image_get_blob(header.image, VIPS_META_ICC_NAME, &profile, &profileSize) == 0)
    vips_image_set_blob_copy(typed.image, VIPS_META_ICC_NAME, profile, profileSize);
  // From here on the data is decoded: a failure is the library's trouble,
  // not the picture's.
  if (vips_thumbnail_image(typed.image, &thumb.image, edge, "height", edge, "size", VIPS_SIZE_DOWN, nullptr) != 0) {
    const std::string text = errors.Text();
    SetFailure(result, PreviewStatus::Failed, "cannot resample" + (text.empty() ? "" : ": " + text));
    return false;
  }
  return true;
}

// Flattens onto white, saves and marks the preview of `thumb`. A failure
// here is one of a decoded picture: damage only when the library, decoding
// the picture on demand as it saves, says so.
bool SaveJpeg(VipsImage* thumb, bool decodedAlready, int quality, std::string& bytes, int& width, int& height,
              PreviewImage& result, const ErrorWindow& errors) {
  ImageRef flat;
  VipsImage* out = thumb;
  bool ok = true;
  if (vips_image_hasalpha(out)) {
    VipsArrayDouble* white = vips_array_double_newv(1, 255.0);
    ok = vips_flatten(out, &flat.image, "background", white, nullptr) == 0;
    vips_area_unref(VIPS_AREA(white));
    out = flat.image;
  }
  void* jpeg = nullptr;
  std::size_t jpegSize = 0;
  ok = ok && vips_jpegsave_buffer(out, &jpeg, &jpegSize, "Q", quality, "strip", TRUE, "optimize_coding", TRUE,
                                  nullptr) == 0;
  if (!ok) {
    g_free(jpeg);
    if (decodedAlready) {
      const std::string text = errors.Text();
      SetFailure(result, PreviewStatus::Failed, "cannot save the preview" + (text.empty() ? "" : ": " + text));
    } else {
      SetLibraryFailure(result, errors, "cannot decode");
    }
    return false;
  }
  try {
    bytes.assign(static_cast<const char*>(jpeg), jpegSize);
  } catch (...) {
    g_free(jpeg);
    throw;
  }
  g_free(jpeg);
  image::AddPreviewMark(bytes);
  width = vips_image_get_width(out);
  height = vips_image_get_height(out);
  return true;
}

bool SavePreview(VipsImage* thumb, bool decodedAlready, PreviewImage& result, const ErrorWindow& errors) {
  if (!SaveJpeg(thumb, decodedAlready, kJpegQuality, result.jpeg, result.width, result.height, result, errors))
    return false;
  result.status = PreviewStatus::Made;
  return true;
}

// Whether browsers show the format as it is; the others get a rendition
// when one is asked for.
bool BrowsersShow(PictureFormat format) { return format != PictureFormat::Heif && format != PictureFormat::Tiff; }

// A rendition may take no more than twice its picture's bytes, or this
// much where that is more: a small, smooth picture (a flat TIFF compresses to
// almost nothing) must not turn into megabytes of JPEG.
constexpr std::size_t kRenditionFloor = 256u << 10;

// Saves the rendition of `held` within its byte limit: at its quality, then
// lower, then at half the edge each time down to twice the preview's edge;
// the smallest one made stands when none fits.
bool SaveRendition(VipsImage* held, std::size_t limit, int edge, PreviewImage& result, const ErrorWindow& errors) {
  ImageRef smaller;
  VipsImage* source = held;
  for (;;) {
    for (const int quality : {kRenditionQuality, 70, 55}) {
      if (!SaveJpeg(source, true, quality, result.rendition, result.renditionWidth, result.renditionHeight, result,
                    errors))
        return false;
      if (result.rendition.size() <= limit) return true;
    }
    const int longer = std::max(vips_image_get_width(source), vips_image_get_height(source));
    if (longer / 2 < 2 * edge) return true;  // as small as a rendition gets; its bytes are bounded by its pixels
    ImageRef next;
    if (vips_thumbnail_image(source, &next.image, longer / 2, "height", longer / 2, "size", VIPS_SIZE_DOWN, nullptr) !=
        0) {
      const std::string text = errors.Text();
      SetFailure(result, PreviewStatus::Failed, "cannot resample" + (text.empty() ? "" : ": " + text));
      return false;
    }
    std::swap(smaller.image, next.image);
    source = smaller.image;
  }
}

// A rendition and the preview from one decode: the rendition is made and
// held in memory, saved, and shrunk again into the preview.
void MakeWithRendition(std::string_view picture, int edge, int renditionEdge, PreviewImage& result,
                       const ErrorWindow& errors) {
  ImageRef large, held, thumb;
  if (vips_thumbnail_buffer(const_cast<char*>(picture.data()), picture.size(), &large.image, renditionEdge, "height",
                            renditionEdge, "size", VIPS_SIZE_DOWN, "option_string", "fail_on=warning", nullptr) != 0) {
    SetLibraryFailure(result, errors, "cannot decode");
    return;
  }
  // Decoding happens here, while the pixels are copied into memory: damage
  // shows now.
  held.image = vips_image_copy_memory(large.image);
  if (!held.image) {
    SetLibraryFailure(result, errors, "cannot decode");
    return;
  }
  if (!SaveRendition(held.image, std::max(2 * picture.size(), kRenditionFloor), edge, result, errors)) return;
  if (vips_thumbnail_image(held.image, &thumb.image, edge, "height", edge, "size", VIPS_SIZE_DOWN, nullptr) != 0) {
    const std::string text = errors.Text();
    SetFailure(result, PreviewStatus::Failed, "cannot resample" + (text.empty() ? "" : ": " + text));
    return;
  }
  if (!SavePreview(thumb.image, true, result, errors)) {
    result.rendition.clear();
    result.renditionWidth = result.renditionHeight = 0;
  }
}

std::string MiB(std::uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MiB"; }

// Everything after the format check. `holding` is what this call holds of
// `budget` (the caller's bytes when it starts); it is kept up to date here
// and given back by the caller, whatever happens.
void MakeFromHeader(std::string_view picture, PictureFormat format, int edge, const PreviewOptions& options,
                    PreviewBudget& budget, std::uint64_t& holding, PreviewImage& result) {
  const std::uint64_t held = holding;
  const ErrorWindow errors;
  PictureShape shape;
  shape.format = format;
  std::unique_ptr<image::JpegDecoder> decoder;
  if (format == PictureFormat::Jpeg) {
    decoder = std::make_unique<image::JpegDecoder>(picture);
    switch (decoder->ReadHeader()) {
      case image::JpegDecoder::Outcome::Done: break;
      case image::JpegDecoder::Outcome::Damaged: SetFailure(result, PreviewStatus::Broken, decoder->Message()); return;
      case image::JpegDecoder::Outcome::OutOfResources: SetFailure(result, PreviewStatus::Failed, decoder->Message()); return;
    }
    shape.width = static_cast<std::uint64_t>(decoder->Width());
    shape.height = static_cast<std::uint64_t>(decoder->Height());
    shape.bands = decoder->Bands();
    shape.interlaced = decoder->MultiScan();
    shape.jpegCoefficientBytes = decoder->CoefficientBytes();
    ReadJpegFacts(picture, decoder->Width(), decoder->Height(), result.facts);
  } else if (!ReadLibraryHeader(picture, shape, result, errors)) {
    return;
  }
  if (shape.width == 0 || shape.height == 0) {
    SetFailure(result, PreviewStatus::Broken, "no pixels");
    return;
  }
  if (shape.width * shape.height > static_cast<std::uint64_t>(kMaxPreviewSourcePixels)) {
    SetFailure(result, PreviewStatus::TooLarge, "");
    return;
  }
  const int renditionEdge =
      options.renditionEdge > 0 && !BrowsersShow(format) ? std::clamp(options.renditionEdge, edge, kMaxPreviewEdge) : 0;
  result.needed = image::EstimateDecodeBytes(shape, edge);
  // A rendition is held in memory whole while it is saved and shrunk.
  if (renditionEdge > 0) result.needed += static_cast<std::uint64_t>(renditionEdge) * renditionEdge * 3 * 3;
  if (held > budget.Limit() || result.needed > budget.Limit() - held) {
    SetFailure(result, PreviewStatus::OverBudget,
               "decoding needs " + MiB(result.needed) + ", the budget is " + MiB(budget.Limit()));
    return;
  }
  // The caller's bytes go back first and come again with the estimate in
  // one request: waiting while holding part would let two threads each
  // hold what the other waits for.
  budget.Release(held);
  holding = 0;
  budget.Acquire(held + result.needed);
  holding = held + result.needed;
  g_decodes.fetch_add(1);

  std::vector<unsigned char> pixels;  // a JPEG's decoded pixels, under the thumbnail until it is saved
  ImageRef thumb;
  if (decoder) {
    if (!JpegThumbnail(picture, *decoder, edge, thumb, pixels, result, errors)) return;
    decoder.reset();  // its buffers go before the resampling starts
    SavePreview(thumb.image, true, result, errors);
    return;
  }
  if (renditionEdge > 0) {
    MakeWithRendition(picture, edge, renditionEdge, result, errors);
    return;
  }
  // The thumbnail operation decodes lazily: damage shows when it is saved.
  // Its own fail_on argument does not reach the loader; the loader's
  // options do.
  if (vips_thumbnail_buffer(const_cast<char*>(picture.data()), picture.size(), &thumb.image, edge, "height", edge,
                            "size", VIPS_SIZE_DOWN, "option_string", "fail_on=warning", nullptr) != 0) {
    SetLibraryFailure(result, errors, "cannot decode");
    return;
  }
  SavePreview(thumb.image, false, result, errors);
}

// The format of a file by its first bytes; None when it cannot be read.
// Opened without blocking (a FIFO must not stop the caller) and read only
// when it is a regular file: its whole content into `bytes`, which takes
// `held` of `budget` (none when the file is larger than the budget).
PictureFormat ReadPictureFile(const std::string& native, PreviewBudget& budget, std::string& bytes,
                              std::uint64_t& held, bool& overBudget) {
  const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return PictureFormat::None;
  struct stat status {};
  PictureFormat format = PictureFormat::None;
  if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (!budget.Acquire(size)) {
      overBudget = true;
    } else {
      held = size;
      bytes.resize(static_cast<std::size_t>(size));
      std::size_t got = 0;
      while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
      }
      bytes.resize(got);
      format = image::SniffPictureFormat(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }
  }
  ::close(fd);
  return format;
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

PreviewImage MakePreviewImage(std::string_view picture, int longerEdge, PreviewBudget& budget, std::uint64_t held) {
  return MakePreviewImage(picture, longerEdge, budget, held, PreviewOptions{});
}

PreviewImage MakePreviewImage(std::string_view picture, int longerEdge, PreviewBudget& budget, std::uint64_t held,
                              const PreviewOptions& options) {
  PreviewImage result;
  std::uint64_t holding = held;
  try {
    const PictureFormat format =
        image::SniffPictureFormat(reinterpret_cast<const unsigned char*>(picture.data()), picture.size());
    if (format == PictureFormat::None || (format == PictureFormat::Heif && !options.phoneFormats)) {
      result.status = PreviewStatus::NotAPicture;
    } else if (!StartLibrary()) {
      SetFailure(result, PreviewStatus::Failed, "the image library did not start");
    } else {
      const int edge = std::clamp(longerEdge, kMinPreviewEdge, kMaxPreviewEdge);
      MakeFromHeader(picture, format, edge, options, budget, holding, result);
    }
  } catch (const std::bad_alloc&) {
    SetFailure(result, PreviewStatus::Failed, "out of memory");
  }
  // Whatever happened, what this call holds goes back: the caller's bytes
  // alone, or those with the estimate.
  budget.Release(holding);
  return result;
}

PreviewResult MakePreview(std::string_view picture, std::string_view preview, int longerEdge) {
  static PreviewBudget budget(kDefaultPreviewBudget);
  PreviewResult result;
  const std::string nativePicture = ToNativePath(picture);
  const std::string nativePreview = ToNativePath(preview);
  std::string bytes;
  std::uint64_t held = 0;
  bool overBudget = false;
  if (nativePicture.empty() || nativePreview.empty() ||
      ReadPictureFile(nativePicture, budget, bytes, held, overBudget) == PictureFormat::None) {
    budget.Release(held);
    result.status = overBudget ? PreviewStatus::OverBudget : PreviewStatus::NotAPicture;
    return result;
  }
  const PreviewImage image = MakePreviewImage(bytes, longerEdge, budget, held);
  result.status = image.status;
  if (image.status != PreviewStatus::Made) return result;
  result.error = WriteInPlace(nativePreview, image.jpeg.data(), image.jpeg.size(), result);
  if (result.error != 0) {
    result.status = PreviewStatus::WriteFailed;
    return result;
  }
  result.width = image.width;
  result.height = image.height;
  return result;
}

bool ReadPictureFacts(std::string_view picture, bool phoneFormats, PictureFacts& facts) {
  facts = PictureFacts{};
  const PictureFormat format =
      image::SniffPictureFormat(reinterpret_cast<const unsigned char*>(picture.data()), picture.size());
  if (format == PictureFormat::None || (format == PictureFormat::Heif && !phoneFormats)) return false;
  try {
    if (format == PictureFormat::Jpeg) {
      image::JpegDecoder decoder(picture);
      if (decoder.ReadHeader() != image::JpegDecoder::Outcome::Done) return false;
      ReadJpegFacts(picture, decoder.Width(), decoder.Height(), facts);
      return true;
    }
    if (!StartLibrary()) return false;
    const ErrorWindow errors;
    PictureShape shape;
    PreviewImage result;
    if (!ReadLibraryHeader(picture, shape, result, errors)) return false;
    facts = result.facts;
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

std::uint64_t PreviewDecodeCount() { return g_decodes.load(); }

void EndPreviewThread() {
  if (g_started) vips_thread_shutdown();
}

}  // namespace platform
