// Video posters with FFmpeg's libavformat (the container), libavcodec (the
// frames) and libswscale (one frame to RGB at the poster's size); the
// preview itself is made by the picture code (PixelPreview.h).
//
// The container is read through the caller's open file by callbacks of our
// own: the library opens nothing, neither a path nor an address nor a file
// the container names (its io_open refuses every request), and takes only
// the two container families listed in VideoPoster.h. Every loop that
// hostile data could stretch has its bound; the interrupt callback ends
// any blocking step once the wall time is up.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/display.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include "../common/PixelPreview.h"
#include "platform/VideoPoster.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// What the container's reading holds besides the frames: the probe and I/O
// buffers, the demuxer's tables of samples and clusters, the packets.
constexpr std::uint64_t kContainerBytes = 48u << 20;
// A decoder holds its reference frames and the frame it decodes into (H.264
// and H.265 keep up to 16 at small sizes, about 6 at 4K); each pixel of a
// frame takes up to 3 bytes (10-bit 4:2:0, 8-bit 4:4:4).
constexpr std::uint64_t kFrameBytesPerPixel = 3 * 12;
// No single allocation of the library may be larger: an 8K frame's plane of
// 16-bit samples fits, a table a hostile header claims does not.
constexpr std::size_t kLargestAllocation = 160u << 20;
constexpr int kIoBufferBytes = 64 << 10;
// The largest frame of a stream whose container does not give its size.
constexpr long long kUnsizedVideoPixels = 3840LL * 2160;
// The poster is the frame this far in, or past black frames up to this
// much further.
constexpr double kPosterSecond = 1.0;
constexpr double kBlackSearchSeconds = 5.0;
// A frame is black when the mean brightness of its poster is below this
// (of 255).
constexpr double kBlackLuma = 20.0;
// A stream that decodes this many packets in a row to errors is damaged.
constexpr int kMaxDecodeErrors = 64;

// The library's error messages of the calling thread, for the reason of a
// failure; its log never reaches standard error.
thread_local std::string* t_messages = nullptr;

void OnLibraryLog(void*, int level, const char* format, va_list args) {
  if (!t_messages || level > AV_LOG_ERROR || t_messages->size() > 512) return;
  char line[256];
  va_list copy;
  va_copy(copy, args);
  std::vsnprintf(line, sizeof line, format, copy);
  va_end(copy);
  std::string text(line);
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (text.empty()) return;
  if (!t_messages->empty()) *t_messages += "; ";
  *t_messages += text;
}

void StartLibrary() {
  static std::once_flag once;
  std::call_once(once, [] {
    av_log_set_callback(OnLibraryLog);
    av_max_alloc(kLargestAllocation);
  });
}

// The file as the library sees it, with what reading it has cost so far.
struct Source {
  explicit Source(ReadingFile& video) : file(video) {}
  ReadingFile& file;
  std::uint64_t size = 0;
  std::uint64_t position = 0;
  std::uint64_t bytesRead = 0;
  std::uint64_t readLimit = kMaxVideoProbeBytes;
  Clock::time_point deadline;
  int error = 0;         // the system's error of a failed read
  bool overRead = false;  // the read limit stopped it
  bool late = false;      // the wall time ran out

  bool Late() {
    if (!late && Clock::now() > deadline) late = true;
    return late;
  }
};

int ReadPacket(void* opaque, std::uint8_t* buffer, int size) {
  Source& source = *static_cast<Source*>(opaque);
  if (source.Late()) return AVERROR_EXIT;
  if (source.bytesRead >= source.readLimit) {
    source.overRead = true;
    return AVERROR(EFBIG);
  }
  const std::size_t want = static_cast<std::size_t>(
      std::min<std::uint64_t>(static_cast<std::uint64_t>(size), source.readLimit - source.bytesRead));
  const long long n = source.file.ReadAt(source.position, buffer, want);
  if (n < 0) {
    source.error = source.file.Error();
    return AVERROR(EIO);
  }
  if (n == 0) return AVERROR_EOF;
  source.position += static_cast<std::uint64_t>(n);
  source.bytesRead += static_cast<std::uint64_t>(n);
  return static_cast<int>(n);
}

std::int64_t SeekSource(void* opaque, std::int64_t offset, int whence) {
  Source& source = *static_cast<Source*>(opaque);
  const auto size = static_cast<std::int64_t>(std::min<std::uint64_t>(source.size, INT64_MAX / 2));
  std::int64_t at = 0;
  switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE: return size;
    case SEEK_SET: at = offset; break;
    case SEEK_CUR: at = static_cast<std::int64_t>(source.position) + offset; break;
    case SEEK_END: at = size + offset; break;
    default: return AVERROR(EINVAL);
  }
  if (at < 0 || offset > INT64_MAX / 2 || offset < -(INT64_MAX / 2)) return AVERROR(EINVAL);
  source.position = static_cast<std::uint64_t>(at);
  return at;
}

int IsInterrupted(void* opaque) { return static_cast<Source*>(opaque)->Late() ? 1 : 0; }

// A container may name other files (a reference movie, a playlist); none
// is ever opened.
int RefuseOpen(AVFormatContext*, AVIOContext**, const char*, int, AVDictionary**) { return AVERROR(EPERM); }

// The library's objects, each freed when it goes.
struct FormatContext {
  AVFormatContext* context = nullptr;
  AVIOContext* io = nullptr;
  ~FormatContext() {
    if (context) avformat_close_input(&context);
    if (io) {
      av_freep(&io->buffer);
      avio_context_free(&io);
    }
  }
};
struct CodecFree {
  void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};
struct PacketFree {
  void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameFree {
  void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScaleFree {
  void operator()(SwsContext* context) const { sws_freeContext(context); }
};

bool IsReadCodec(AVCodecID id) {
  for (const AVCodecID known : {AV_CODEC_ID_H264, AV_CODEC_ID_HEVC, AV_CODEC_ID_MPEG4, AV_CODEC_ID_VP8,
                                AV_CODEC_ID_VP9, AV_CODEC_ID_AV1})
    if (id == known) return true;
  return false;
}

// One frame in RGB at the size the poster is made from.
struct Picture {
  std::vector<unsigned char> rgb;
  int width = 0;
  int height = 0;
  int shownWidth = 0;  // the frame's size as shown, before it was fitted
  int shownHeight = 0;
  bool Empty() const { return rgb.empty(); }
};

// The size `width` x `height` pixels are shown at: stretched by their
// aspect (a frame's own where it has one, else the stream's).
void ShownSize(int pixelsWide, int pixelsHigh, AVRational frameAspect, AVRational streamAspect, int& width,
               int& height) {
  width = pixelsWide;
  height = pixelsHigh;
  const AVRational aspect = frameAspect.num > 0 && frameAspect.den > 0 ? frameAspect : streamAspect;
  if (aspect.num > 0 && aspect.den > 0) {
    const double stretched = std::round(static_cast<double>(pixelsWide) * aspect.num / aspect.den);
    if (stretched >= 1 && stretched <= 4.0 * pixelsWide) width = static_cast<int>(stretched);
  }
}

// `frame` in RGB, shown size fitted into `longest` pixels (never enlarged).
bool ToPicture(const AVFrame& frame, AVRational aspect, int longest, Picture& picture) {
  int& width = picture.shownWidth;
  int& height = picture.shownHeight;
  ShownSize(frame.width, frame.height, frame.sample_aspect_ratio, aspect, width, height);
  const double factor = std::min(1.0, static_cast<double>(longest) / std::max(width, height));
  picture.width = std::max(1, static_cast<int>(std::lround(width * factor)));
  picture.height = std::max(1, static_cast<int>(std::lround(height * factor)));
  std::unique_ptr<SwsContext, ScaleFree> scale(
      sws_getContext(frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), picture.width,
                     picture.height, AV_PIX_FMT_RGB24, SWS_AREA, nullptr, nullptr, nullptr));
  if (!scale) return false;
  // Video is mostly coded in the colours of HD television where it does
  // not say; the scaler's own default is those of SD.
  const int space = frame.colorspace != AVCOL_SPC_UNSPECIFIED ? frame.colorspace
                    : frame.height >= 720                       ? SWS_CS_ITU709
                                                                : SWS_CS_ITU601;
  sws_setColorspaceDetails(scale.get(), sws_getCoefficients(space), frame.color_range == AVCOL_RANGE_JPEG,
                           sws_getCoefficients(SWS_CS_DEFAULT), 1, 0, 1 << 16, 1 << 16);
  const int stride = picture.width * 3;
  picture.rgb.assign(static_cast<std::size_t>(stride) * static_cast<std::size_t>(picture.height), 0);
  std::uint8_t* planes[4] = {picture.rgb.data(), nullptr, nullptr, nullptr};
  int strides[4] = {stride, 0, 0, 0};
  return sws_scale(scale.get(), frame.data, frame.linesize, 0, frame.height, planes, strides) == picture.height;
}

bool IsBlack(const Picture& picture) {
  double sum = 0;
  for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
    sum += 0.299 * picture.rgb[i] + 0.587 * picture.rgb[i + 1] + 0.114 * picture.rgb[i + 2];
  const double pixels = static_cast<double>(picture.rgb.size() / 3);
  return pixels == 0 || sum / pixels < kBlackLuma;
}

void Fail(PreviewImage& result, PreviewStatus status, std::string reason) {
  result.status = status;
  result.reason = std::move(reason);
}

std::string WithMessages(std::string what, const std::string& messages) {
  return messages.empty() ? what : what + ": " + messages;
}

// Why reading stopped, where it was not the data's fault: the wall time
// or the disk.
bool SourceFailure(const Source& source, PreviewImage& result) {
  if (source.late) {
    Fail(result, PreviewStatus::Failed, "took more than " + std::to_string(kVideoPosterSeconds) + " s");
    return true;
  }
  if (source.error != 0) {
    Fail(result, PreviewStatus::Failed, std::string("cannot read: ") + std::strerror(source.error));
    return true;
  }
  return false;
}

std::string MiB(std::uint64_t bytes) { return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MiB"; }

// Reading, after the container's header: the frames until the poster's.
class FrameSearch {
public:
  FrameSearch(AVFormatContext& format, AVCodecContext& codec, int stream, Source& source, int longest)
      : m_format(format), m_codec(codec), m_stream(stream), m_source(source), m_longest(longest) {
    const AVStream& st = *format.streams[stream];
    m_aspect = st.sample_aspect_ratio.num > 0 ? st.sample_aspect_ratio : st.codecpar->sample_aspect_ratio;
  }

  // Decodes up to the poster's frame from `target` seconds in; false with
  // `result` telling why when there is none.
  bool Run(double target, Picture& poster, PreviewImage& result) {
    const AVStream& st = *m_format.streams[m_stream];
    const std::int64_t start = st.start_time != AV_NOPTS_VALUE ? st.start_time : 0;
    m_target = start + av_rescale_q(static_cast<std::int64_t>(target * AV_TIME_BASE), AV_TIME_BASE_Q, st.time_base);
    m_searchEnd = m_target + av_rescale_q(static_cast<std::int64_t>(kBlackSearchSeconds * AV_TIME_BASE),
                                          AV_TIME_BASE_Q, st.time_base);
    // Where the container cannot seek, the frames are read from the start.
    if (target > 0 && av_seek_frame(&m_format, m_stream, m_target, AVSEEK_FLAG_BACKWARD) < 0)
      (void)av_seek_frame(&m_format, m_stream, start, AVSEEK_FLAG_BACKWARD);
    m_source.bytesRead = 0;
    m_source.readLimit = kMaxVideoReadBytes;
    std::unique_ptr<AVPacket, PacketFree> packet(av_packet_alloc());
    std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
    m_before.reset(av_frame_alloc());
    if (!packet || !frame || !m_before) throw std::bad_alloc();
    bool flushed = false;
    int packets = 0, errors = 0;
    while (!m_done) {
      if (m_source.Late()) return SourceFailure(m_source, result), false;
      if (!flushed) {
        const int read = av_read_frame(&m_format, packet.get());
        if (read < 0) {
          if (SourceFailure(m_source, result)) return false;
          flushed = true;  // the end, a cut, or the read limit: what the decoder holds is still shown
          avcodec_send_packet(&m_codec, nullptr);
        } else {
          const bool ours = packet->stream_index == m_stream;
          if (ours && ++packets > kMaxVideoPackets) {
            Fail(result, PreviewStatus::Broken, "no frame to show within " + std::to_string(kMaxVideoPackets) + " packets");
            return false;
          }
          const int sent = ours ? avcodec_send_packet(&m_codec, packet.get()) : 0;
          av_packet_unref(packet.get());
          if (sent < 0 && sent != AVERROR(EAGAIN) && ++errors > kMaxDecodeErrors) break;
        }
      }
      for (;;) {
        const int received = avcodec_receive_frame(&m_codec, frame.get());
        if (received == AVERROR(EAGAIN)) {
          m_done = flushed;  // a decoder told the end wants nothing more
          break;
        }
        if (received < 0) {
          m_done = true;
          break;
        }
        errors = 0;
        if (!Take(*frame, result)) return false;
        if (m_done) break;
      }
    }
    if (m_source.overRead && m_poster.Empty() && m_firstBlack.Empty()) {
      Fail(result, PreviewStatus::Broken, "no frame to show within " + MiB(kMaxVideoReadBytes));
      return false;
    }
    // A video that ends before its second: its last frame.
    if (m_poster.Empty() && m_firstBlack.Empty() && m_haveBefore && !ToPicture(*m_before, m_aspect, m_longest, m_poster))
      return Fail(result, PreviewStatus::Broken, "cannot convert the frame"), false;
    poster = std::move(!m_poster.Empty() ? m_poster : m_firstBlack);
    if (poster.Empty()) return Fail(result, PreviewStatus::Broken, "no frame to show"), false;
    return true;
  }

private:
  // One decoded frame: kept as the one before the target, or looked at as
  // the poster.
  bool Take(AVFrame& frame, PreviewImage& result) {
    if (++m_frames > kMaxVideoFrames) {
      Fail(result, PreviewStatus::Broken, "no frame to show within " + std::to_string(kMaxVideoFrames) + " frames");
      return false;
    }
    // A stream may change its size midway; the decoder's own pixel limit
    // holds it to the bound, this to sense.
    if (frame.width <= 0 || frame.height <= 0 ||
        static_cast<long long>(frame.width) * frame.height > kMaxVideoPixels) {
      Fail(result, PreviewStatus::TooLarge, "");
      return false;
    }
    const std::int64_t at = frame.best_effort_timestamp;
    if (at != AV_NOPTS_VALUE && at < m_target) {
      av_frame_unref(m_before.get());
      av_frame_move_ref(m_before.get(), &frame);
      m_haveBefore = true;
      return true;
    }
    Picture picture;
    if (!ToPicture(frame, m_aspect, m_longest, picture)) {
      Fail(result, PreviewStatus::Broken, "cannot convert the frame");
      return false;
    }
    av_frame_unref(&frame);
    if (!IsBlack(picture)) {
      m_poster = std::move(picture);
      m_done = true;
    } else {
      if (m_firstBlack.Empty()) m_firstBlack = std::move(picture);
      if (at == AV_NOPTS_VALUE || at > m_searchEnd) m_done = true;
    }
    return true;
  }

  AVFormatContext& m_format;
  AVCodecContext& m_codec;
  const int m_stream;
  Source& m_source;
  const int m_longest;
  AVRational m_aspect{0, 1};
  std::int64_t m_target = 0;
  std::int64_t m_searchEnd = 0;
  std::unique_ptr<AVFrame, FrameFree> m_before;
  bool m_haveBefore = false;
  Picture m_poster;
  Picture m_firstBlack;
  int m_frames = 0;
  bool m_done = false;
};

// Quarter turns clockwise that show the video upright, from its display
// matrix (which gives the turn counter-clockwise).
int QuarterTurns(const AVStream& stream) {
  const std::uint8_t* matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, nullptr);
  if (!matrix) return 0;
  const double degrees = -av_display_rotation_get(reinterpret_cast<const std::int32_t*>(matrix));
  if (!std::isfinite(degrees)) return 0;
  return static_cast<int>(((std::lround(degrees / 90.0) % 4) + 4) % 4);
}

long long DurationMillis(const AVFormatContext& format, const AVStream& stream) {
  if (format.duration != AV_NOPTS_VALUE && format.duration > 0) return format.duration / 1000;
  if (stream.duration != AV_NOPTS_VALUE && stream.duration > 0)
    return av_rescale_q(stream.duration, stream.time_base, AVRational{1, 1000});
  return 0;
}

// Everything after the library started; `holding` is what this call holds
// of the budget, given back by the caller.
void MakePoster(ReadingFile& video, int edge, const PreviewOptions& options, PreviewBudget& budget,
                std::uint64_t& holding, PreviewImage& result) {
  std::string messages;
  struct Watch {
    explicit Watch(std::string& text) { t_messages = &text; }
    ~Watch() { t_messages = nullptr; }
  } watch(messages);

  Source source(video);
  source.size = video.Info().size;
  source.deadline = Clock::now() + std::chrono::seconds(kVideoPosterSeconds);
  if (!budget.Acquire(kContainerBytes)) {
    result.needed = kContainerBytes;
    return Fail(result, PreviewStatus::OverBudget,
                "reading the container needs " + MiB(kContainerBytes) + ", the budget is " + MiB(budget.Limit()));
  }
  holding = kContainerBytes;

  FormatContext format;
  format.context = avformat_alloc_context();
  auto* buffer = static_cast<unsigned char*>(av_malloc(kIoBufferBytes));
  if (!format.context || !buffer) {
    av_free(buffer);
    throw std::bad_alloc();
  }
  format.io = avio_alloc_context(buffer, kIoBufferBytes, 0, &source, ReadPacket, nullptr, SeekSource);
  if (!format.io) {
    av_free(buffer);
    throw std::bad_alloc();
  }
  AVFormatContext& context = *format.context;
  context.pb = format.io;
  context.flags |= AVFMT_FLAG_CUSTOM_IO;
  context.interrupt_callback = {IsInterrupted, &source};
  context.io_open = RefuseOpen;
  context.probesize = 1 << 20;
  context.max_analyze_duration = 5 * static_cast<std::int64_t>(AV_TIME_BASE);
  context.max_streams = 32;
  context.format_whitelist = av_strdup("mov,matroska");
  context.protocol_whitelist = av_strdup("none");
  if (!context.format_whitelist || !context.protocol_whitelist) throw std::bad_alloc();
  // On failure the library frees the context (not our I/O).
  if (avformat_open_input(&format.context, nullptr, nullptr, nullptr) < 0) {
    format.context = nullptr;
    if (SourceFailure(source, result)) return;
    return Fail(result, source.overRead ? PreviewStatus::Broken : PreviewStatus::NotAPicture,
                WithMessages(source.overRead ? "header larger than " + MiB(kMaxVideoProbeBytes) : "not a video read here",
                             messages));
  }
  const AVCodec* decoder = nullptr;
  const int stream = av_find_best_stream(format.context, AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
  if (stream < 0) return Fail(result, PreviewStatus::Broken, "no video stream");
  const AVStream& st = *format.context->streams[stream];
  const AVCodecParameters& parameters = *st.codecpar;
  if (!IsReadCodec(parameters.codec_id) || !decoder)
    return Fail(result, PreviewStatus::Broken, std::string("video coded as ") + avcodec_get_name(parameters.codec_id) +
                                                   " is not read");
  // Some containers leave the size to the stream's own headers (MPEG-4
  // Part 2 in MP4): such a stream is decoded up to kUnsizedVideoPixels, and
  // its budget taken for that.
  const bool sized = parameters.width > 0 && parameters.height > 0;
  const auto pixels = sized ? static_cast<std::uint64_t>(parameters.width) * static_cast<std::uint64_t>(parameters.height)
                            : static_cast<std::uint64_t>(kUnsizedVideoPixels);
  if (pixels > static_cast<std::uint64_t>(kMaxVideoPixels)) return Fail(result, PreviewStatus::TooLarge, "");
  // Decoders allocate frames of whole coding blocks and with borders, a
  // little larger than the picture shown.
  const std::uint64_t framePixels =
      sized ? (static_cast<std::uint64_t>(parameters.width) + 128) * (static_cast<std::uint64_t>(parameters.height) + 128)
            : pixels;
  std::unique_ptr<AVCodecContext, CodecFree> codec(avcodec_alloc_context3(decoder));
  if (!codec) throw std::bad_alloc();
  if (avcodec_parameters_to_context(codec.get(), &parameters) < 0)
    return Fail(result, PreviewStatus::Broken, "bad codec parameters");
  // One thread per poster (the callers make posters side by side), and no
  // frame larger than the bound whatever the stream says later.
  codec->thread_count = 1;
  codec->pkt_timebase = st.time_base;
  codec->max_pixels = static_cast<std::int64_t>(framePixels);
  if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
    return Fail(result, PreviewStatus::Broken, WithMessages("cannot start the decoder", messages));

  const int turns = QuarterTurns(st);
  const int longer = sized ? std::max(parameters.width, parameters.height) : kMaxLargePreviewEdge;
  const int largest =
      options.largeEdge > edge && longer > edge ? std::min({longer, options.largeEdge, kMaxLargePreviewEdge}) : edge;
  result.needed = kContainerBytes + framePixels * kFrameBytesPerPixel +
                  static_cast<std::uint64_t>(largest) * static_cast<std::uint64_t>(largest) * 3 * 3;
  if (result.needed > budget.Limit())
    return Fail(result, PreviewStatus::OverBudget,
                "decoding needs " + MiB(result.needed) + ", the budget is " + MiB(budget.Limit()));
  // As with pictures: what is held goes back, and all comes again in one
  // request.
  budget.Release(holding);
  holding = 0;
  budget.Acquire(result.needed);
  holding = result.needed;

  result.facts.durationMillis = DurationMillis(*format.context, st);
  const double target = result.facts.durationMillis >= 2000 ? kPosterSecond : 0.0;
  Picture poster;
  FrameSearch search(*format.context, *codec, stream, source, largest);
  if (!search.Run(target, poster, result)) {
    if (result.status == PreviewStatus::Broken) result.reason = WithMessages(result.reason, messages);
    return;
  }
  PreviewImage made = image::MakePixelPreview(poster.rgb.data(), poster.width, poster.height,
                                              static_cast<std::size_t>(poster.width) * 3, turns, edge,
                                              options.largeEdge);
  made.needed = result.needed;
  made.facts = result.facts;
  made.facts.width = turns % 2 ? poster.shownHeight : poster.shownWidth;
  made.facts.height = turns % 2 ? poster.shownWidth : poster.shownHeight;
  result = std::move(made);
}

}  // namespace

PreviewImage MakeVideoPoster(ReadingFile& video, int longerEdge, PreviewBudget& budget, const PreviewOptions& options) {
  PreviewImage result;
  std::uint64_t holding = 0;
  try {
    if (!video.IsOpen()) {
      Fail(result, PreviewStatus::Failed, "the video is not open");
    } else {
      StartLibrary();
      MakePoster(video, std::clamp(longerEdge, kMinPreviewEdge, kMaxPreviewEdge), options, budget, holding, result);
    }
  } catch (const std::bad_alloc&) {
    Fail(result, PreviewStatus::Failed, "out of memory");
  }
  budget.Release(holding);
  if (result.status != PreviewStatus::Made) {
    result.jpeg.clear();
    result.large.clear();
    result.width = result.height = result.largeWidth = result.largeHeight = 0;
  }
  return result;
}

}  // namespace platform
