#include "platform/Console.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>

namespace {

std::atomic<int> g_interrupts{0};

}  // namespace

TEST(Console, AnInterruptAsksOnceAndTheNextOneFindsTheDefaultBack) {
  platform::OnInterrupt([] { ++g_interrupts; });
  std::raise(SIGINT);
  EXPECT_EQ(g_interrupts.load(), 1);
  // The handler was given up with the first interrupt: a second one would
  // end the program. Check that without dying: ignore it for the moment.
  struct sigaction now {};
  sigaction(SIGINT, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
  platform::OnInterrupt([] { ++g_interrupts; });
  std::raise(SIGTERM);
  EXPECT_EQ(g_interrupts.load(), 2);
  platform::OnInterrupt(nullptr);
  sigaction(SIGTERM, nullptr, &now);
  EXPECT_EQ(now.sa_handler, SIG_DFL);
}
