// The main of GUI test programs: starts the window system (offscreen when
// there is no display, as under CTest's test discovery) and runs the tests,
// flushing the deletions windows leave behind after each one.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <cstdlib>

#include "platform/WinApp.h"

namespace {

class FlushAfterEachTest : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  ::testing::InitGoogleTest(&argc, argv);
  platform::WindowSystem windows("gui-tests");
  ::testing::UnitTest::GetInstance()->listeners().Append(new FlushAfterEachTest);
  return RUN_ALL_TESTS();
}
