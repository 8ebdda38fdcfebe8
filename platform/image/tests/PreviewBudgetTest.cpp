#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/Preview.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/TestPictures.h"

using platform::PreviewBudget;
using platform::PreviewStatus;

namespace {

// Long enough for a waiting thread to have run on if it was not waiting.
void Pause() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

}  // namespace

TEST(PreviewBudget, RefusesAtOnceWhatCanNeverFit) {
  PreviewBudget budget(100);
  EXPECT_FALSE(budget.Acquire(101));
  EXPECT_EQ(budget.Held(), 0u);
  EXPECT_TRUE(budget.Acquire(0));
  EXPECT_TRUE(budget.Acquire(100));
  EXPECT_EQ(budget.Held(), 100u);
  EXPECT_FALSE(budget.Acquire(101));  // even while full: no waiting for the impossible
  budget.Release(100);
  EXPECT_EQ(budget.Held(), 0u);
  EXPECT_EQ(budget.Peak(), 100u);
}

TEST(PreviewBudget, WaitsUntilOthersGiveBack) {
  PreviewBudget budget(100);
  ASSERT_TRUE(budget.Acquire(60));
  std::atomic<bool> got{false};
  std::thread waiter([&] {
    EXPECT_TRUE(budget.Acquire(50));
    got = true;
  });
  Pause();
  EXPECT_FALSE(got);
  budget.Release(60);
  waiter.join();
  EXPECT_TRUE(got);
  EXPECT_EQ(budget.Held(), 50u);
  EXPECT_EQ(budget.Peak(), 60u);
}

TEST(PreviewBudget, LargeRequestsAreNotOvertakenBySmallOnes) {
  PreviewBudget budget(100);
  ASSERT_TRUE(budget.Acquire(60));
  std::mutex mutex;
  std::vector<std::string> order;
  std::thread large([&] {
    budget.Acquire(100);
    std::lock_guard<std::mutex> lock(mutex);
    order.push_back("large");
  });
  Pause();
  std::thread small([&] {
    budget.Acquire(10);  // would fit beside the 60 at once, but comes second
    std::lock_guard<std::mutex> lock(mutex);
    order.push_back("small");
  });
  Pause();
  EXPECT_TRUE(order.empty());
  budget.Release(60);
  // The large one runs, then gives back, and the small one follows.
  for (;;) {
    Pause();
    std::lock_guard<std::mutex> lock(mutex);
    if (!order.empty()) break;
  }
  budget.Release(100);
  large.join();
  small.join();
  EXPECT_EQ(order, (std::vector<std::string>{"large", "small"}));
}

// Threads that each hold their input while they ask for decoding memory,
// with a limit where two inputs and one decode fit but not two decodes:
// holding the input while waiting for the estimate would deadlock here.
TEST(PreviewBudget, DecodingThreadsShareTheLimitWithoutDeadlock) {
  platform::testing::TempDrive drive{'T'};
  ASSERT_TRUE(platform::testing::WriteTestPicture(drive.Native("p.jpg"), 1200, 900));
  const std::string bytes = drive.ReadFile("p.jpg");
  PreviewBudget probe(platform::kDefaultPreviewBudget);
  const std::uint64_t needed = platform::MakePreviewImage(bytes, 240, probe, 0).needed;
  ASSERT_GT(needed, 0u);

  const std::uint64_t held = bytes.size();
  PreviewBudget budget(needed + held + held / 2);
  std::atomic<int> made{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 3; ++i) {
        if (!budget.Acquire(held)) return;
        if (platform::MakePreviewImage(bytes, 240, budget, held).status == PreviewStatus::Made) ++made;
      }
      platform::EndPreviewThread();
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(made, 12);
  EXPECT_EQ(budget.Held(), 0u);
  EXPECT_LE(budget.Peak(), budget.Limit());
  EXPECT_GE(budget.Peak(), needed + held);
}
