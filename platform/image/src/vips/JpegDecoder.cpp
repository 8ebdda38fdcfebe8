// The JPEG library reports errors through a callback that must not return;
// it jumps back to the call that started the work. The jump skips only the
// library's own C frames, and the functions holding a setjmp keep no
// objects with destructors alive across it.
#include "JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

namespace platform::image {

namespace {

// The library's error manager first, so the library's pointer to it is a
// pointer to the whole.
struct Errors {
  jpeg_error_mgr manager{};
  std::jmp_buf jump{};
  bool inData = false;  // warnings count as damage from the first scan on
};

}  // namespace

struct JpegDecoder::State {
  jpeg_decompress_struct info{};
  Errors errors;
  bool created = false;
  std::string_view data;
};

namespace {

// Errors of the library's memory manager: out of memory, or a picture
// whose coefficients exceed the memory the library was allowed (JPEGMEM)
// and would need a temporary file it does not have.
bool IsResourceError(int code) {
  switch (code) {
    case JERR_OUT_OF_MEMORY:
    case JERR_NO_BACKING_STORE:
    case JERR_TFILE_CREATE:
    case JERR_TFILE_READ:
    case JERR_TFILE_SEEK:
    case JERR_TFILE_WRITE:
      return true;
    default:
      return false;
  }
}

std::string FormatMessage(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX] = {};
  info->err->format_message(info, text);
  return text;
}

}  // namespace

// The library calls these through plain function pointers, with the state
// reachable from the error manager it was given.
extern "C" {
static void JpegErrorExit(j_common_ptr info) {
  Errors* errors = reinterpret_cast<Errors*>(info->err);
  std::longjmp(errors->jump, 1);
}

static void JpegEmitMessage(j_common_ptr info, int level) {
  Errors* errors = reinterpret_cast<Errors*>(info->err);
  if (level >= 0) return;  // trace output
  ++info->err->num_warnings;
  if (errors->inData) std::longjmp(errors->jump, 2);
}
}

JpegDecoder::JpegDecoder(std::string_view data) : m_state(std::make_unique<State>()) {
  m_state->data = data;
  m_state->info.err = jpeg_std_error(&m_state->errors.manager);
  m_state->errors.manager.error_exit = JpegErrorExit;
  m_state->errors.manager.emit_message = JpegEmitMessage;
}

JpegDecoder::~JpegDecoder() {
  if (m_state->created) jpeg_destroy_decompress(&m_state->info);
}

JpegDecoder::Outcome JpegDecoder::ReadHeader() {
  jpeg_decompress_struct& info = m_state->info;
  if (setjmp(m_state->errors.jump) != 0) {
    m_message = FormatMessage(reinterpret_cast<j_common_ptr>(&info));
    return IsResourceError(info.err->msg_code) ? Outcome::OutOfResources : Outcome::Damaged;
  }
  jpeg_create_decompress(&info);
  m_state->created = true;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(m_state->data.data()),
               static_cast<unsigned long>(m_state->data.size()));
  jpeg_read_header(&info, TRUE);
  switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE: info.out_color_space = JCS_GRAYSCALE; break;
    case JCS_CMYK:
    case JCS_YCCK: info.out_color_space = JCS_CMYK; break;
    default: info.out_color_space = JCS_RGB; break;
  }
  return Outcome::Done;
}

int JpegDecoder::Width() const { return static_cast<int>(m_state->info.image_width); }
int JpegDecoder::Height() const { return static_cast<int>(m_state->info.image_height); }

int JpegDecoder::Bands() const {
  switch (m_state->info.out_color_space) {
    case JCS_GRAYSCALE: return 1;
    case JCS_CMYK: return 4;
    default: return 3;
  }
}

bool JpegDecoder::MultiScan() const { return jpeg_has_multiple_scans(const_cast<jpeg_decompress_struct*>(&m_state->info)); }

std::uint64_t JpegDecoder::CoefficientBytes() const {
  // The coefficient buffer holds every component's blocks, rounded up to
  // whole MCUs, 64 coefficients of two bytes each.
  const jpeg_decompress_struct& info = m_state->info;
  std::uint64_t total = 0;
  for (int i = 0; i < info.num_components; ++i) {
    const jpeg_component_info& component = info.comp_info[i];
    const std::uint64_t h = static_cast<std::uint64_t>(component.h_samp_factor > 0 ? component.h_samp_factor : 1);
    const std::uint64_t v = static_cast<std::uint64_t>(component.v_samp_factor > 0 ? component.v_samp_factor : 1);
    const std::uint64_t across = (component.width_in_blocks + h - 1) / h * h;
    const std::uint64_t down = (component.height_in_blocks + v - 1) / v * v;
    total += across * down * sizeof(JBLOCK);
  }
  return total;
}

JpegDecoder::Outcome JpegDecoder::Decode(int eighths, PixelRows& pixels, int& width, int& height) {
  jpeg_decompress_struct& info = m_state->info;
  // Set before the jump point: a jump must find the phase it happened in.
  m_state->errors.inData = true;
  if (setjmp(m_state->errors.jump) != 0) {
    m_message = FormatMessage(reinterpret_cast<j_common_ptr>(&info));
    return IsResourceError(info.err->msg_code) ? Outcome::OutOfResources : Outcome::Damaged;
  }
  // 1/2, 1/4 and 1/8 are 4/8, 2/8 and 1/8 to the library: the same sizes
  // and transforms whichever way they are written.
  info.scale_num = static_cast<unsigned>(eighths);
  info.scale_denom = 8;
  jpeg_start_decompress(&info);
  width = static_cast<int>(info.output_width);
  height = static_cast<int>(info.output_height);
  const std::size_t rowBytes = static_cast<std::size_t>(info.output_width) * static_cast<std::size_t>(info.output_components);
  pixels.resize(rowBytes * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.data() + rowBytes * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  // Reading to the end marker finds data the scans left over, the trace of
  // entropy data that came apart.
  jpeg_finish_decompress(&info);
  // Adobe writes CMYK inverted (0 = full ink); the resampler and the
  // colour conversion after it expect ink amounts.
  if (info.out_color_space == JCS_CMYK && info.saw_Adobe_marker)
    for (unsigned char& sample : pixels) sample = static_cast<unsigned char>(255 - sample);
  return Outcome::Done;
}

}  // namespace platform::image
