// A job on a thread of its own: its tasks run on the user-interface thread
// in the order posted, posting never waits for that thread, and the tasks
// of a thread object that goes never run.
#include "platform/WorkerThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

TEST(WorkerThread, TasksRunOnTheInterfaceThreadInTheOrderPosted) {
  CWorkerThread worker;
  const std::thread::id here = std::this_thread::get_id();
  std::vector<int> order;
  bool allHere = true;
  bool jobThreadSeen = false;
  ASSERT_TRUE(worker.Start([&] {
    jobThreadSeen = worker.IsJobThread();
    for (int i = 0; i < 1000; ++i) {
      worker.Post([&, i] {
        allHere = allHere && std::this_thread::get_id() == here;
        order.push_back(i);
      });
    }
  }));
  EXPECT_FALSE(worker.IsJobThread());
  ASSERT_TRUE(RunEventsUntil([&] { return order.size() == 1000; }, 10000));
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_TRUE(jobThreadSeen);
  EXPECT_TRUE(allHere);
  for (int i = 0; i < 1000; ++i) EXPECT_EQ(order[i], i);
}

TEST(WorkerThread, PostingNeverWaitsForTheInterfaceThread) {
  CWorkerThread worker;
  int ran = 0;
  ASSERT_TRUE(worker.Start([&] {
    for (int i = 0; i < 100; ++i) worker.Post([&] { ++ran; });
  }));
  // No events are handled while this thread waits: the job ends anyway.
  worker.Wait();
  EXPECT_FALSE(worker.IsRunning());
  EXPECT_EQ(ran, 0);
  worker.RunPostedTasks();
  EXPECT_EQ(ran, 100);
}

TEST(WorkerThread, OneJobAtATime) {
  CWorkerThread worker;
  std::atomic<bool> release{false};
  ASSERT_TRUE(worker.Start([&] {
    while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }));
  EXPECT_TRUE(worker.IsRunning());
  EXPECT_FALSE(worker.Start([] {}));
  EXPECT_FALSE(worker.Start(nullptr));
  release.store(true);
  worker.Wait();
  bool second = false;
  ASSERT_TRUE(worker.Start([&] { second = true; }));
  worker.Wait();
  EXPECT_TRUE(second);
}

TEST(WorkerThread, TheTasksOfAThreadObjectThatGoesNeverRun) {
  bool ran = false;
  {
    CWorkerThread worker;
    std::atomic<bool> stop{false};
    ASSERT_TRUE(worker.Start([&] {
      worker.Post([&] { ran = true; });
      while (!stop.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }));
    stop.store(true);  // the job's own way to stop; the object waits for it
  }
  ProcessEvents();
  EXPECT_FALSE(ran);
}

TEST(WorkerThread, ADelayedTaskWaitsItsTimeAndGoesWithTheThreadObject) {
  CWorkerThread worker;
  bool ran = false;
  const auto start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::duration waited{};
  ASSERT_TRUE(worker.Start([&] {
    worker.PostAfter(60, [&] {
      waited = std::chrono::steady_clock::now() - start;
      ran = true;
    });
  }));
  worker.Wait();
  worker.RunPostedTasks();  // takes it up; its time is not yet come
  EXPECT_FALSE(ran);
  ASSERT_TRUE(RunEventsUntil([&] { return ran; }, 5000));
  EXPECT_GE(waited, std::chrono::milliseconds(60));

  bool dropped = true;
  {
    CWorkerThread gone;
    gone.PostAfter(10, [&] { dropped = false; });
    ProcessEvents();  // the timer starts
  }
  RunEventsUntil([] { return false; }, 50);
  EXPECT_TRUE(dropped);
}

TEST(WorkerThread, AJobThatThrowsEndsWithoutTakingTheProgramWithIt) {
  CWorkerThread worker;
  ASSERT_TRUE(worker.Start([] { throw std::runtime_error("broken"); }));
  worker.Wait();
  EXPECT_FALSE(worker.IsRunning());
}

}  // namespace
