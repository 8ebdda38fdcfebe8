// Test support: short real videos kept beside this header's library
// (platform/image/testing/videos, made once with the ffmpeg program), 96 x 64
// pixels of a moving colour pattern at 10 frames a second:
//   clip.mp4         3 s, H.264
//   clip.webm        3 s, VP8
//   clip.mov         3 s, MPEG-4 Part 2, to be shown turned a quarter clockwise
//   black-start.mp4  4 s, H.264, black for its first 2.5 s
//   frozen-clock.webm  1,000 frames of 64 x 48, VP8, every one at time 0,
//                      in a file whose header says 10 hours: a stream whose
//                      clock never reaches the poster's second
#pragma once

#include <string>

namespace platform::testing {

// The bytes of one of the videos above; "" when it cannot be read.
std::string TestVideo(const std::string& name);

}  // namespace platform::testing
