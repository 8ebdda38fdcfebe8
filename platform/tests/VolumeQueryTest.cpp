// Drive facts with a time limit: real drives answer, a drive that never
// answers (a stand-in for a dead network mount) costs at most the limit.
#include "platform/VolumeQuery.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Drives.h"
#include "platform/testing/TempDrive.h"

namespace {

using Clock = std::chrono::steady_clock;

// Answers every drive at once, except N:, which hangs until released.
class HangingDrive : public platform::VolumeProber {
public:
  HangingDrive() : m_previous(platform::SetVolumeProber(this)) {}
  ~HangingDrive() override {
    platform::SetVolumeProber(m_previous);
    Release();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait(lock, [&] { return m_inside == 0; });
  }
  void Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_released = true;
    m_changed.notify_all();
  }
  platform::VolumeFacts Probe(const std::string& root) override {
    std::unique_lock<std::mutex> lock(m_mutex);
    ++m_inside;
    ++m_calls;
    if (root[0] == 'N') m_changed.wait(lock, [&] { return m_released; });
    --m_inside;
    m_changed.notify_all();
    return {true, DRIVE_REMOTE, "NET"};
  }
  int Calls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
  }

private:
  platform::VolumeProber* m_previous;
  std::mutex m_mutex;
  std::condition_variable m_changed;
  bool m_released = false;
  int m_inside = 0;
  int m_calls = 0;
};

TEST(QueryVolume, ARealDriveAnswersWithItsKindAndLabel) {
  platform::testing::TempDrive drive('V');
  platform::MapDrive('V', drive.Folder(), "DATA");
  const platform::VolumeFacts facts = platform::QueryVolume("V:\\");
  EXPECT_TRUE(facts.answered);
  EXPECT_EQ(facts.type, GetDriveTypeA("V:\\"));
  EXPECT_EQ(facts.label, "DATA");
  const platform::VolumeFacts missing = platform::QueryVolume("Q:\\");  // not mapped
  EXPECT_TRUE(missing.answered);
  EXPECT_EQ(missing.type, DRIVE_NO_ROOT_DIR);
  EXPECT_EQ(missing.label, "");
}

TEST(QueryVolume, ADriveThatNeverAnswersCostsAtMostTheLimit) {
  platform::testing::TempDrive dead('N');
  HangingDrive prober;
  const int previous = platform::SetVolumeQueryLimit(300);
  int waits = 0;
  const auto start = Clock::now();
  const platform::VolumeFacts facts = platform::QueryVolume("N:\\", [&] { ++waits; });
  const auto took = Clock::now() - start;
  EXPECT_FALSE(facts.answered);
  EXPECT_EQ(facts.type, DRIVE_UNKNOWN);
  EXPECT_EQ(facts.label, "");
  EXPECT_GE(took, std::chrono::milliseconds(250));
  EXPECT_LT(took, std::chrono::seconds(3));
  EXPECT_GE(waits, 2);  // the caller could keep its windows painted
  // While the first question hangs, asking again costs nothing and starts
  // no second helper.
  const auto again = Clock::now();
  EXPECT_FALSE(platform::QueryVolume("n:\\").answered);
  EXPECT_LT(Clock::now() - again, std::chrono::milliseconds(100));
  EXPECT_EQ(prober.Calls(), 1);
  // Other drives answer meanwhile.
  EXPECT_EQ(platform::QueryVolume("C:\\").label, "NET");
  prober.Release();
  for (int i = 0; i < 100 && !platform::QueryVolume("N:\\").answered; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  EXPECT_TRUE(platform::QueryVolume("N:\\").answered);
  platform::SetVolumeQueryLimit(previous);
}

}  // namespace
