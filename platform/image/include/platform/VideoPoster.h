// Posters of videos: one frame of a video made into a preview, and the
// video's length.
//
//   platform::ReadingFile video;
//   if (platform::ReadingFile::Open(folder, "clip.mp4", video) == platform::ReadStatus::Read) {
//     platform::PreviewImage poster = platform::MakeVideoPoster(video, 240, budget, options);
//     if (poster.status == platform::PreviewStatus::Made) ... poster.jpeg, poster.facts.durationMillis ...
//   }
//
// The poster is the frame about a second in (the first frame of a video
// shorter than two seconds); where that frame is (nearly) black, the first
// frame after it that is not, within a few seconds; where all of those are
// black, the frame a second in after all. It is turned upright as the
// container says, shown at its display aspect, and made into a preview
// (and a large preview, PreviewOptions::largeEdge) by the same code and
// with the same mark as a picture's; no rendition is ever made. The facts
// give the video's size as shown and its length.
//
// Containers read: MP4, M4V and MOV (the ISO family) and WebM (Matroska);
// video coded as H.264, H.265, MPEG-4 Part 2, VP8, VP9 or AV1. Everything
// is read through the open file alone: the container may name no other
// file or address, and none is opened.
//
// A video is hostile input, so every step is bounded: the header is read
// from at most kMaxVideoProbeBytes, the frames from at most
// kMaxVideoReadBytes and kMaxVideoPackets packets, kMaxVideoFrames frames
// are decoded, and the whole poster takes at most kVideoPosterSeconds of
// wall time. A video above kMaxVideoPixels pixels is TooLarge, not decoded.
// The memory its decoding may take (the container's tables, a decoder's
// reference frames, the poster) is taken from the budget before the
// decoder starts, as a picture's is (OverBudget when it cannot fit).
//
// Statuses: NotAPicture for content that is no container read here;
// Broken for a damaged container or one without a frame to show, or one
// that runs into a bound (endless streams, frames that never come);
// Failed when the wall time ran out (a slow disk: tried again later) or
// memory ran short. Several threads may make posters at once.
#pragma once

#include <string_view>

#include "platform/FolderHandle.h"
#include "platform/Preview.h"

namespace platform {

inline constexpr long long kMaxVideoPixels = 8192LL * 8192;
inline constexpr std::uint64_t kMaxVideoProbeBytes = 8u << 20;
inline constexpr std::uint64_t kMaxVideoReadBytes = 256u << 20;
inline constexpr int kMaxVideoPackets = 6000;
inline constexpr int kMaxVideoFrames = 900;
inline constexpr int kVideoPosterSeconds = 30;

// Makes the poster of the video open in `video`; `longerEdge` is clamped to
// kMinPreviewEdge..kMaxPreviewEdge. Of `options` only largeEdge counts.
// The budget is taken and given back here: on return nothing of it is
// held. The file's position is moved.
PreviewImage MakeVideoPoster(ReadingFile& video, int longerEdge, PreviewBudget& budget, const PreviewOptions& options);

// True when the name ends in .mp4 .m4v .mov or .webm (any case): the files
// worth handing to MakeVideoPoster.
bool HasVideoExtension(std::string_view fileName);

}  // namespace platform
