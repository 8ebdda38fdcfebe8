// A scan's worth of previews in one process: 20,000 small pictures of many
// shapes, several edges and renditions, made on more threads than cores.
// The image library's state lives for the whole process, so faults that
// build up (shared code memory, caches, per-thread buffers, open files)
// show only after thousands of previews; under the sanitizers any bad write
// ends the test. The process's open files and threads must stay flat and
// its memory bounded once the first batch has warmed everything up.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/Preview.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::PreviewStatus;
using platform::testing::PictureOptions;

namespace {

constexpr int kPreviews = 20000;
constexpr int kBatches = 4;

struct Sample {
  std::string name;
  std::string bytes;
  int width = 0, height = 0;
  bool rendition = false;  // a format browsers do not show: a rendition comes with its preview
};

// What the process holds now: open descriptors, threads, resident memory.
struct Footprint {
  long files = 0, threads = 0, residentKiB = 0;
};

Footprint Measure() {
  Footprint now;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++now.files;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("Threads:", 0) == 0) now.threads = std::stol(line.substr(8));
    if (line.rfind("VmRSS:", 0) == 0) now.residentKiB = std::stol(line.substr(6));
  }
  return now;
}

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
  return false;
}

}  // namespace

TEST(PreviewSoak, TwentyThousandPreviewsOnSeveralThreadsKeepTheProcessFlat) {
  platform::testing::TempDrive drive{'T'};
  // Shapes of phones and cameras (4:3, 3:4, 16:9, 9:16), panoramas both
  // ways, squares and slivers, at sizes from a few dozen pixels to a few
  // hundred; JPEGs mostly, as archives are, and the other formats beside.
  struct Shape {
    int width, height;
  };
  const Shape shapes[] = {{320, 240}, {240, 320}, {384, 216}, {216, 384}, {480, 80}, {80, 480},
                          {200, 200}, {97, 61},   {48, 36},   {400, 17},  {33, 330}, {256, 192}};
  const char* const formats[] = {"jpg", "jpg", "jpg", "png", "webp", "gif", "tif"};
  std::vector<Sample> samples;
  int n = 0;
  for (const Shape& shape : shapes) {
    for (const char* format : formats) {
      Sample sample;
      sample.name = "p" + std::to_string(n) + "." + format;
      PictureOptions options;
      options.alpha = std::string(format) == "png" && n % 2 == 0;
      options.interlaced = std::string(format) == "jpg" && n % 3 == 0;
      const int scale = 60 + (n * 37) % 60;  // 60..119 %: no two pictures shrink alike
      sample.width = std::max(8, shape.width * scale / 100);
      sample.height = std::max(8, shape.height * scale / 100);
      ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native(sample.name), sample.width, sample.height, options))
          << sample.name;
      sample.bytes = drive.ReadFile(sample.name);
      sample.rendition = std::string(format) == "tif";
      samples.push_back(std::move(sample));
      ++n;
    }
  }
  const int edges[] = {16, 64, 120, 200, 240, 320};

  platform::PreviewBudget budget(platform::kDefaultPreviewBudget);
  std::atomic<int> next{0}, made{0}, renditions{0};
  std::atomic<int> failures{0};
  std::string firstFailure;
  std::atomic_flag failureNamed = ATOMIC_FLAG_INIT;
  const auto work = [&](int end) {
    for (int i = next.fetch_add(1); i < end; i = next.fetch_add(1)) {
      const Sample& sample = samples[static_cast<std::size_t>(i) % samples.size()];
      const int edge = edges[static_cast<std::size_t>(i / 7) % std::size(edges)];
      platform::PreviewOptions options;
      options.renditionEdge = sample.rendition ? 2 * edge : 0;
      const platform::PreviewImage image = platform::MakePreviewImage(sample.bytes, edge, budget, 0, options);
      const int longer = std::max(image.width, image.height);
      const int wanted = std::min(edge, std::max(sample.width, sample.height));
      // Made, the longer edge as asked (never enlarged), and the rendition
      // for the formats that need one.
      const bool good = image.status == PreviewStatus::Made && std::abs(longer - wanted) <= 1 &&
                        image.jpeg.size() > 100 && image.rendition.empty() != sample.rendition;
      if (good) {
        ++made;
        renditions += !image.rendition.empty();
      } else if (failures.fetch_add(1) == 0 && !failureNamed.test_and_set()) {
        firstFailure = sample.name + " at edge " + std::to_string(edge) + ": status " +
                       std::to_string(static_cast<int>(image.status)) + ", " + std::to_string(image.width) + " x " +
                       std::to_string(image.height) + ", " + image.reason;
      }
    }
    platform::EndPreviewThread();
  };

  // More threads than cores, so compilations and clean-ups in the library
  // meet on every machine.
  const unsigned threadCount = std::max(4u, std::thread::hardware_concurrency());
  std::vector<Footprint> after;
  for (int batch = 1; batch <= kBatches; ++batch) {
    next = kPreviews * (batch - 1) / kBatches;
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < threadCount; ++t) threads.emplace_back(work, kPreviews * batch / kBatches);
    for (std::thread& thread : threads) thread.join();
    after.push_back(Measure());
  }

  EXPECT_EQ(failures.load(), 0) << firstFailure;
  EXPECT_EQ(made.load(), kPreviews);
  EXPECT_GT(renditions.load(), kPreviews / 10);
  EXPECT_EQ(budget.Held(), 0u);
  for (int batch = 0; batch < kBatches; ++batch)
    std::printf("after %5d previews: %ld open files, %ld threads, %ld MiB resident\n",
                kPreviews * (batch + 1) / kBatches, after[batch].files, after[batch].threads,
                after[batch].residentKiB / 1024);
  // Warmed up after the first batch: nothing more is kept open, and no
  // more threads are kept than the library's pool of idle helpers, which
  // breathes by a few.
  for (int batch = 1; batch < kBatches; ++batch) {
    EXPECT_EQ(after[batch].files, after[0].files) << "batch " << batch + 1;
    EXPECT_LE(after[batch].threads, after[0].threads + 4) << "batch " << batch + 1;
  }
  // Memory: the allocator keeps what it was given, the sanitizer quarantines
  // freed blocks up to its own limit; beyond that, 15,000 more previews may
  // not cost more than a few megabytes.
  const long slackKiB = UnderSanitizer() ? 300 * 1024 : 16 * 1024;
  EXPECT_LE(after[kBatches - 1].residentKiB, after[0].residentKiB + slackKiB);
}
