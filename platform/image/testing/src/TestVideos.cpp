// The kept test videos, read from the source tree.
#include "platform/testing/TestVideos.h"

#include <fstream>
#include <iterator>

namespace platform::testing {

std::string TestVideo(const std::string& name) {
  std::ifstream in(std::string(ZN_TEST_VIDEOS) + "/" + name, std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : std::string();
}

}  // namespace platform::testing
