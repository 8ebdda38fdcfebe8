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
// The result is turned by the EXIF orientation, shrunk, laid on white (or
// on a checkerboard), saved as a JPEG with every piece of metadata
// stripped, and marked. A large preview and a rendition, when asked for,
// come from the same decode: the picture is decoded and shrunk to the
// largest of them, held in memory, and each smaller one is shrunk from the
// one before it.
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
#include "../common/PixelPreview.h"
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
//
// With `screenSized`, the decoder's scaling left less than a factor of two
// to the resampler (a rendition for a screen): that rest is resampled with
// a bicubic kernel, which is as sharp there as the thumbnail's Lanczos
// kernel and costs two thirds of it on a picture of millions of pixels.
bool JpegThumbnail(std::string_view picture, image::JpegDecoder& decoder, int edge, int eighths, bool screenSized,
                   ImageRef& thumb, image::PixelRows& pixels, PreviewImage& result, const ErrorWindow& errors) {
  int width = 0, height = 0;
  switch (decoder.Decode(eighths, pixels, width, height)) {
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
  // not the picture's. The thumbnail operation turns and converts; with
  // the rest resampled already, it has nothing left to shrink.
  ImageRef resampled;
  VipsImage* source = typed.image;
  if (screenSized && std::max(width, height) > edge) {
    if (vips_resize(typed.image, &resampled.image, static_cast<double>(edge) / std::max(width, height), "kernel",
                    VIPS_KERNEL_CUBIC, nullptr) != 0) {
      const std::string text = errors.Text();
      SetFailure(result, PreviewStatus::Failed, "cannot resample" + (text.empty() ? "" : ": " + text));
      return false;
    }
    source = resampled.image;
  }
  if (vips_thumbnail_image(source, &thumb.image, edge, "height", edge, "size", VIPS_SIZE_DOWN, nullptr) != 0) {
    const std::string text = errors.Text();
    SetFailure(result, PreviewStatus::Failed, "cannot resample" + (text.empty() ? "" : ": " + text));
    return false;
  }
  return true;
}

// The two greys of the checkerboard under transparent parts: mid greys,
// close enough to each other to stay calm, apart enough to be seen; the
// gallery's viewer draws the same behind a transparent original.
constexpr unsigned char kBoardDark = 0x8a;
constexpr unsigned char kBoardLight = 0xb0;

// Lays `in`, which has an alpha band, on a checkerboard of `square`-pixel
// squares: the picture in 8-bit samples, then its colour blended with the
// board by its alpha.
bool LayOnBoard(VipsImage* in, int square, ImageRef& out) {
  ImageRef eight, colour, alpha, tile, tiles, board;
  VipsImage* samples = in;
  if (vips_image_get_format(in) != VIPS_FORMAT_UCHAR) {
    const VipsInterpretation grey = vips_image_get_interpretation(in);
    const VipsInterpretation want = grey == VIPS_INTERPRETATION_B_W || grey == VIPS_INTERPRETATION_GREY16
                                        ? VIPS_INTERPRETATION_B_W
                                        : VIPS_INTERPRETATION_sRGB;
    if (vips_colourspace(in, &eight.image, want, nullptr) != 0) return false;
    samples = eight.image;
  }
  const int bands = vips_image_get_bands(samples);
  const int width = vips_image_get_width(samples);
  const int height = vips_image_get_height(samples);
  std::vector<unsigned char> pattern(static_cast<std::size_t>(4) * square * square);
  for (int y = 0; y < 2 * square; ++y)
    for (int x = 0; x < 2 * square; ++x)
      pattern[static_cast<std::size_t>(y) * 2 * square + x] = (x / square + y / square) % 2 ? kBoardLight : kBoardDark;
  tile.image = vips_image_new_from_memory_copy(pattern.data(), pattern.size(), 2 * square, 2 * square, 1,
                                               VIPS_FORMAT_UCHAR);
  return tile.image && vips_extract_band(samples, &colour.image, 0, "n", bands - 1, nullptr) == 0 &&
         vips_extract_band(samples, &alpha.image, bands - 1, nullptr) == 0 &&
         vips_replicate(tile.image, &tiles.image, (width + 2 * square - 1) / (2 * square),
                        (height + 2 * square - 1) / (2 * square), nullptr) == 0 &&
         vips_crop(tiles.image, &board.image, 0, 0, width, height, nullptr) == 0 &&
         vips_ifthenelse(alpha.image, colour.image, board.image, &out.image, "blend", TRUE, nullptr) == 0;
}

// Flattens onto white (or with `square` above 0 onto the checkerboard),
// saves and marks the JPEG of `thumb`. A failure here is one of a decoded
// picture: damage only when the library, decoding the picture on demand as
// it saves, says so.
bool SaveJpeg(VipsImage* thumb, bool decodedAlready, int quality, int square, std::string& bytes, int& width,
              int& height, PreviewImage& result, const ErrorWindow& errors, bool optimize = true) {
  ImageRef flat;
  VipsImage* out = thumb;
  bool ok = true;
  if (vips_image_hasalpha(out) && square > 0) {
    ok = LayOnBoard(out, square, flat);
    out = flat.image;
  } else if (vips_image_hasalpha(out)) {
    VipsArrayDouble* white = vips_array_double_newv(1, 255.0);
    ok = vips_flatten(out, &flat.image, "background", white, nullptr) == 0;
    vips_area_unref(VIPS_AREA(white));
    out = flat.image;
  }
  void* jpeg = nullptr;
  std::size_t jpegSize = 0;
  ok = ok && vips_jpegsave_buffer(out, &jpeg, &jpegSize, "Q", quality, "strip", TRUE, "optimize_coding",
                                  optimize ? TRUE : FALSE, nullptr) == 0;
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

bool SavePreview(VipsImage* thumb, bool decodedAlready, int square, PreviewImage& result, const ErrorWindow& errors) {
  if (!SaveJpeg(thumb, decodedAlready, kJpegQuality, square, result.jpeg, result.width, result.height, result, errors))
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

// The checkerboard's squares are about this many pixels in the preview,
// and as large in proportion in the larger pictures made with it, so the
// pattern does not jump when a viewer swaps one for another.
constexpr int kBoardSquare = 8;

// What one decode makes: the preview, and on request a large preview and
// a rendition, each with its longer edge (0: not made).
struct Outputs {
  int preview = 0;
  int large = 0;
  int rendition = 0;
  bool checkerboard = false;
  int previewLonger = 0;  // the preview's longer edge as it will be, for the squares

  int Largest() const { return std::max({preview, large, rendition}); }
  bool Extra() const { return large > 0 || rendition > 0; }
  // The checkerboard's square in a picture whose longer edge is `longer`;
  // 0 for white.
  int Square(int longer) const {
    if (!checkerboard) return 0;
    const int reference = std::max(previewLonger, 1);
    return std::max(1, (kBoardSquare * longer + reference / 2) / reference);
  }
};

int LongerEdge(VipsImage* image) { return std::max(vips_image_get_width(image), vips_image_get_height(image)); }

// `in` (8-bit samples without alpha, held in memory) `factor` times
// smaller each way, each pixel the mean of the pixels it covers (fewer at
// the right and bottom edges). A plain box, a fraction of the resampler's
// cost, for the part of a large shrink that the resampler's kernel would
// spread over many pixels anyway.
bool BoxShrink(VipsImage* in, int factor, ImageRef& out) {
  const int width = in->Xsize, height = in->Ysize, bands = in->Bands;
  const int outWidth = (width + factor - 1) / factor, outHeight = (height + factor - 1) / factor;
  const std::size_t outRow = static_cast<std::size_t>(outWidth) * static_cast<std::size_t>(bands);
  std::vector<unsigned char> pixels(outRow * static_cast<std::size_t>(outHeight));
  std::vector<std::uint32_t> sums(outRow);
  for (int y = 0; y < outHeight; ++y) {
    std::fill(sums.begin(), sums.end(), 0u);
    const int rows = std::min(factor, height - y * factor);
    for (int row = 0; row < rows; ++row) {
      const VipsPel* line = VIPS_IMAGE_ADDR(in, 0, y * factor + row);
      std::uint32_t* sum = sums.data();
      for (int x = 0; x < width; x += factor, sum += bands) {
        const int columns = std::min(factor, width - x);
        for (int column = 0; column < columns; ++column, line += bands)
          for (int band = 0; band < bands; ++band) sum[band] += line[band];
      }
    }
    unsigned char* target = pixels.data() + outRow * static_cast<std::size_t>(y);
    for (int x = 0; x < outWidth; ++x) {
      const auto count = static_cast<std::uint32_t>(rows * std::min(factor, width - x * factor));
      for (int band = 0; band < bands; ++band) {
        const std::size_t at = static_cast<std::size_t>(x) * bands + band;
        target[at] = static_cast<unsigned char>((sums[at] + count / 2) / count);
      }
    }
  }
  out.image = vips_image_new_from_memory_copy(pixels.data(), pixels.size(), outWidth, outHeight, bands,
                                              VIPS_FORMAT_UCHAR);
  return out.image != nullptr;
}

// A picture made of `source` whose longer edge is at most `edge`. A source
// held in memory that is four or more times larger is first box-shrunk to
// no less than twice the edge, which leaves the resampler the factor of two
// its kernel needs for a sharp result at a fraction of its cost.
bool Shrink(VipsImage* source, int edge, ImageRef& out, PreviewImage& result, const ErrorWindow& errors) {
  ImageRef boxed;
  const int factor = std::max(vips_image_get_width(source), vips_image_get_height(source)) / (2 * std::max(edge, 1));
  if (factor >= 2 && source->data && vips_image_get_format(source) == VIPS_FORMAT_UCHAR &&
      !vips_image_hasalpha(source) && BoxShrink(source, factor, boxed))
    source = boxed.image;
  if (vips_thumbnail_image(source, &out.image, edge, "height", edge, "size", VIPS_SIZE_DOWN, nullptr) == 0) return true;
  const std::string text = errors.Text();
  SetFailure(result, PreviewStatus::Failed, "cannot resample" + (text.empty() ? "" : ": " + text));
  return false;
}

// Saves the rendition of `held` within its byte limit: at its quality, then
// lower, then at half the edge each time down to twice the preview's edge;
// the smallest one made stands when none fits.
bool SaveRendition(VipsImage* held, std::size_t limit, const Outputs& outputs, PreviewImage& result,
                   const ErrorWindow& errors) {
  ImageRef smaller;
  VipsImage* source = held;
  for (;;) {
    const int square = outputs.Square(LongerEdge(source));
    for (const int quality : {kRenditionQuality, 70, 55}) {
      // Without the second pass that fits the coding tables to the picture:
      // it halves the time of a large picture's encoding and would save
      // only a few per cent of its bytes.
      if (!SaveJpeg(source, true, quality, square, result.rendition, result.renditionWidth, result.renditionHeight,
                    result, errors, false))
        return false;
      if (result.rendition.size() <= limit) return true;
    }
    const int longer = LongerEdge(source);
    if (longer / 2 < 2 * outputs.preview) return true;  // as small as a rendition gets; its bytes are bounded by its pixels
    ImageRef next;
    if (!Shrink(source, longer / 2, next, result, errors)) return false;
    std::swap(smaller.image, next.image);
    source = smaller.image;
  }
}

// The pictures of one decode, from `held`, the decoded picture already
// shrunk to the largest of them and held in memory: the largest first,
// each smaller one shrunk from the one before it, the preview last.
void MakeOutputs(VipsImage* held, std::size_t pictureBytes, const Outputs& outputs, PreviewImage& result,
                 const ErrorWindow& errors) {
  // The held picture was turned upright and brought to sRGB when it was
  // made; nothing must turn or convert it a second time.
  vips_image_remove(held, VIPS_META_ORIENTATION);
  vips_image_remove(held, VIPS_META_ICC_NAME);
  ImageRef chain[2];
  VipsImage* source = held;
  // A rendition larger than the large preview comes first; otherwise the
  // large preview does.
  const bool renditionFirst = outputs.rendition >= outputs.large;
  for (int step = 0; step < 2; ++step) {
    const bool rendition = renditionFirst == (step == 0);
    const int edge = rendition ? outputs.rendition : outputs.large;
    if (edge == 0) continue;
    ImageRef& made = chain[step];
    if (LongerEdge(source) > edge) {
      ImageRef shrunk;
      if (!Shrink(source, edge, shrunk, result, errors)) return;
      made.image = vips_image_copy_memory(shrunk.image);
      if (!made.image) {
        SetFailure(result, PreviewStatus::Failed, "cannot resample: " + errors.Text());
        return;
      }
    } else {
      g_object_ref(source);
      made.image = source;
    }
    source = made.image;
    if (rendition) {
      if (!SaveRendition(source, std::max(2 * pictureBytes, kRenditionFloor), outputs, result, errors)) return;
    } else if (!SaveJpeg(source, true, kJpegQuality, outputs.Square(LongerEdge(source)), result.large,
                         result.largeWidth, result.largeHeight, result, errors)) {
      return;
    }
  }
  ImageRef thumb;
  if (!Shrink(source, outputs.preview, thumb, result, errors)) return;
  if (!SavePreview(thumb.image, true, outputs.Square(LongerEdge(thumb.image)), result, errors)) {
    result.rendition.clear();
    result.large.clear();
    result.renditionWidth = result.renditionHeight = result.largeWidth = result.largeHeight = 0;
  }
}

// Holds `image` (its pixels computed now, into memory) and makes the
// pictures of one decode from it. Decoding that happens here shows
// damage as a broken picture.
void HoldAndMake(VipsImage* image, bool decodedAlready, std::size_t pictureBytes, const Outputs& outputs,
                 PreviewImage& result, const ErrorWindow& errors) {
  ImageRef held;
  held.image = vips_image_copy_memory(image);
  if (!held.image) {
    if (decodedAlready) SetFailure(result, PreviewStatus::Failed, "cannot resample: " + errors.Text());
    else SetLibraryFailure(result, errors, "cannot decode");
    return;
  }
  MakeOutputs(held.image, pictureBytes, outputs, result, errors);
}

// Each thread's buffer for a JPEG's decoded rows, kept from one picture to
// the next: a buffer of megabytes taken afresh for every picture costs a
// page fault for each of its pages every time (a fifth of a rendition's
// time). Kept only up to this size; a larger one goes when its picture is
// done.
constexpr std::size_t kKeptRowBytes = 32u << 20;
thread_local image::PixelRows t_rows;

// The thread's rows for one picture, emptied (and given back when large)
// when it is done.
struct RowsLease {
  image::PixelRows& rows = t_rows;
  RowsLease() = default;
  RowsLease(const RowsLease&) = delete;
  RowsLease& operator=(const RowsLease&) = delete;
  ~RowsLease() {
    rows.clear();
    if (rows.capacity() > kKeptRowBytes) image::PixelRows().swap(rows);
  }
};

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
  const std::uint64_t longer = std::max(shape.width, shape.height);
  Outputs outputs;
  outputs.preview = edge;
  outputs.previewLonger = static_cast<int>(std::min<std::uint64_t>(longer, static_cast<std::uint64_t>(edge)));
  outputs.checkerboard = options.checkerboard;
  if (options.renditionEdge > 0) {
    const int asked = std::clamp(options.renditionEdge, edge, kMaxRenditionEdge);
    if (!BrowsersShow(format) || (options.renditionOfLarge && longer > static_cast<std::uint64_t>(asked)))
      outputs.rendition = static_cast<int>(std::min<std::uint64_t>(longer, static_cast<std::uint64_t>(asked)));
    // A JPEG's rendition is what its decoder gives at the most eighths that
    // stay within the edge (2000 px of a 4000 px photo for 2048): the edge
    // is a bound, not a size. Resampling the rest and decoding the larger
    // scale cost twice the rendition, and the viewer shows the size the
    // page's data names.
    if (decoder && outputs.rendition > 0 && longer > static_cast<std::uint64_t>(outputs.rendition)) {
      const std::uint64_t eighths = 8 * static_cast<std::uint64_t>(outputs.rendition) / longer;
      if (eighths >= 1) outputs.rendition = static_cast<int>((longer * eighths + 7) / 8);
    }
  }
  if (options.largeEdge > edge && longer > static_cast<std::uint64_t>(edge))
    outputs.large = static_cast<int>(
        std::min<std::uint64_t>(longer, static_cast<std::uint64_t>(std::min(options.largeEdge, kMaxLargePreviewEdge))));
  // A JPEG with more to make than the preview is decoded at the size the
  // largest of them needs: a large preview, like the preview, with a factor
  // of two left to the resampler (sharper than the decoder's scaling
  // alone); a rendition, which is looked at full size, at the fewest
  // eighths that still hold it.
  if (decoder && outputs.Extra()) {
    const int forPreviews = 8 / image::JpegShrinkOnLoad(shape.width, shape.height, std::max(edge, outputs.large));
    shape.jpegEighths =
        std::max(forPreviews, outputs.rendition > 0 ? image::JpegEighthsOnLoad(longer, outputs.rendition) : 1);
  }
  result.needed = image::EstimateDecodeBytes(shape, edge);
  // The large preview and the rendition are held in memory whole while they
  // are saved and shrunk.
  for (const int extra : {outputs.large, outputs.rendition})
    result.needed += static_cast<std::uint64_t>(extra) * static_cast<std::uint64_t>(extra) * 3 * 3;
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

  // A JPEG's decoded pixels, under the thumbnail until it is saved.
  const RowsLease lease;
  image::PixelRows& pixels = lease.rows;
  ImageRef thumb;
  if (decoder) {
    const int eighths = shape.jpegEighths > 0 ? shape.jpegEighths
                                              : 8 / image::JpegShrinkOnLoad(shape.width, shape.height, edge);
    const bool screenSized = outputs.rendition > 0 && outputs.rendition == outputs.Largest();
    if (!JpegThumbnail(picture, *decoder, outputs.Largest(), eighths, screenSized, thumb, pixels, result, errors))
      return;
    decoder.reset();  // its buffers go before the resampling starts
    if (outputs.Extra()) HoldAndMake(thumb.image, true, picture.size(), outputs, result, errors);
    else SavePreview(thumb.image, true, outputs.Square(LongerEdge(thumb.image)), result, errors);
    return;
  }
  // The thumbnail operation decodes lazily: damage shows when it is saved
  // (or held). Its own fail_on argument does not reach the loader; the
  // loader's options do.
  const int first = outputs.Largest();
  if (vips_thumbnail_buffer(const_cast<char*>(picture.data()), picture.size(), &thumb.image, first, "height", first,
                            "size", VIPS_SIZE_DOWN, "option_string", "fail_on=warning", nullptr) != 0) {
    SetLibraryFailure(result, errors, "cannot decode");
    return;
  }
  if (outputs.Extra()) HoldAndMake(thumb.image, false, picture.size(), outputs, result, errors);
  else SavePreview(thumb.image, false, outputs.Square(LongerEdge(thumb.image)), result, errors);
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

namespace image {

PreviewImage MakePixelPreview(const unsigned char* rgb, int width, int height, std::size_t stride, int quarterTurns,
                              int edge, int largeEdge) {
  PreviewImage result;
  try {
    if (!StartLibrary()) {
      SetFailure(result, PreviewStatus::Failed, "the image library did not start");
      return result;
    }
    const ErrorWindow errors;
    // The rows are packed into one block the library holds itself: the
    // caller's frame may have padding between its rows.
    std::vector<unsigned char> packed(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
      std::memcpy(packed.data() + static_cast<std::size_t>(y) * width * 3, rgb + static_cast<std::size_t>(y) * stride,
                  static_cast<std::size_t>(width) * 3);
    ImageRef frame, turned;
    frame.image = vips_image_new_from_memory_copy(packed.data(), packed.size(), width, height, 3, VIPS_FORMAT_UCHAR);
    if (!frame.image) {
      SetFailure(result, PreviewStatus::Failed, "cannot resample: " + errors.Text());
      return result;
    }
    VipsImage* source = frame.image;
    static constexpr VipsAngle kTurns[] = {VIPS_ANGLE_D0, VIPS_ANGLE_D90, VIPS_ANGLE_D180, VIPS_ANGLE_D270};
    const int turns = ((quarterTurns % 4) + 4) % 4;
    if (turns != 0) {
      ImageRef lazy;
      if (vips_rot(frame.image, &lazy.image, kTurns[turns], nullptr) != 0 ||
          !(turned.image = vips_image_copy_memory(lazy.image))) {
        SetFailure(result, PreviewStatus::Failed, "cannot turn the frame: " + errors.Text());
        return result;
      }
      source = turned.image;
    }
    const int clamped = std::clamp(edge, kMinPreviewEdge, kMaxPreviewEdge);
    const int longer = LongerEdge(source);
    Outputs outputs;
    outputs.preview = clamped;
    outputs.previewLonger = std::min(longer, clamped);
    if (largeEdge > clamped && longer > clamped) outputs.large = std::min({longer, largeEdge, kMaxLargePreviewEdge});
    g_decodes.fetch_add(1);
    MakeOutputs(source, packed.size(), outputs, result, errors);
  } catch (const std::bad_alloc&) {
    SetFailure(result, PreviewStatus::Failed, "out of memory");
  }
  return result;
}

}  // namespace image

}  // namespace platform
