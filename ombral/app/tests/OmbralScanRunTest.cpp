// The scan on a thread of its own, driven as a user drives it on a tree of
// 100,000 files: the window answers while it runs, "Stop" ends it, closing
// asks and stops it, and what it reports matches a scan run in one piece.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "ombral/OmbralDlg.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;
using Clock = std::chrono::steady_clock;

int MillisecondsSince(Clock::time_point start) {
  return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// W:\Big: 100 folders of 1,000 empty pictures each, made once for the suite.
class OmbralScanRun : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    s_drive = new TempDrive('W');
    for (int folder = 0; folder < 100; ++folder) {
      char name[32];
      std::snprintf(name, sizeof name, "Big/F%03d", folder);
      s_drive->MakeDir(name);
      const std::string base = s_drive->Native(name) + "/p";
      for (int file = 0; file < 1000; ++file) std::ofstream(base + std::to_string(file) + ".jpg");
    }
  }
  static void TearDownTestSuite() {
    delete s_drive;
    s_drive = nullptr;
  }
  void SetUp() override {
    m_dialog.m_strPath = "W:\\Big";
    m_dialog.m_bNoLogging = 0;  // a line per file: the protocol is busy too
  }
  bool Scanning() const { return m_dialog.IsScanning(); }

  static TempDrive* s_drive;
  RecordingMessageBoxes m_boxes;
  COmbralDlg m_dialog;
};

TempDrive* OmbralScanRun::s_drive = nullptr;

TEST_F(OmbralScanRun, TheWindowAnswersWhileItRunsAndStopEndsItAtOnce) {
  ASSERT_TRUE(m_dialog.Create(COmbralDlg::IDD));
  Click(m_dialog, IDOK);
  ASSERT_TRUE(Scanning());
  EXPECT_EQ(ShownText(m_dialog, IDOK), "&Stop");
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_PATH)->IsWindowEnabled());  // the settings wait
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_NO_LOGGING)->IsWindowEnabled());
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_CLOSE)->IsWindowEnabled());
  EXPECT_TRUE(RunEventsUntil([&] { return ShownText(m_dialog, IDC_STATUS) == "Scanning..."; }, 5000));
  EXPECT_TRUE(RunEventsUntil([&] { return ListLines(m_dialog, IDC_PROTOCOL).size() > 100; }, 10000));
  for (int round = 0; round < 5; ++round) {
    const int latency = TimerLatency(10, 2000);
    EXPECT_GE(latency, 0);
    EXPECT_LT(latency, 100) << "round " << round;
  }
  ASSERT_TRUE(Scanning()) << "the tree must take longer to scan than the checks above";
  // The protocol follows the scan: its newest line is selected and shows.
  const std::vector<std::string> shown = ListLines(m_dialog, IDC_PROTOCOL);
  EXPECT_EQ(ListSelection(m_dialog, IDC_PROTOCOL), static_cast<int>(shown.size()) - 1);
  const bool walking = shown.back().rfind("    adding image link: p", 0) == 0 ||
                       shown.back().rfind("Search path: W:\\Big\\F", 0) == 0 ||
                       shown.back().rfind("Get path statistics on path W:\\Big\\F", 0) == 0;
  EXPECT_TRUE(walking) << shown.back();

  const Clock::time_point pressed = Clock::now();
  Click(m_dialog, IDOK);
  EXPECT_TRUE(RunEventsUntil([&] { return !Scanning(); }, 5000));
  EXPECT_LT(MillisecondsSince(pressed), 500);
  EXPECT_EQ(ShownText(m_dialog, IDC_STATUS), "SCAN CANCELED!");
  EXPECT_EQ(ShownText(m_dialog, IDOK), "&Scan...");
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_PATH)->IsWindowEnabled());
  // A stopped run keeps the main index as it was (there was none) and
  // reports no totals.
  EXPECT_FALSE(s_drive->Exists("Big/_xbmidx.html"));
  for (const std::string& line : ListLines(m_dialog, IDC_PROTOCOL)) EXPECT_NE(line.rfind("FOUND IMAGES", 0), 0u);
  EXPECT_TRUE(m_boxes.Boxes().empty());
}

TEST_F(OmbralScanRun, ClosingDuringAScanAsksStopsItAndClosesOnceItHasEnded) {
  ModalTimeout timeout(60000);
  m_boxes.Answer(IDNO);
  m_boxes.Answer(IDYES);
  bool stillScanning = false;
  Clock::time_point closed;
  Post([&] {
    Click(m_dialog, IDOK);
    Press(m_dialog, Key::Escape);  // No: the scan goes on
    stillScanning = Scanning() && !m_dialog.StopRequested();
    closed = Clock::now();
    ClickCloseBox(m_dialog);  // Yes: it stops, then the dialog closes
  });
  EXPECT_EQ(m_dialog.RunWithPath("W:\\Big"), IDCANCEL);
  EXPECT_LT(MillisecondsSince(closed), 2000);
  EXPECT_TRUE(stillScanning);
  EXPECT_TRUE(m_dialog.StopRequested());
  EXPECT_FALSE(Scanning());
  EXPECT_EQ(m_boxes.Texts(), (std::vector<std::string>{"Close application?", "Close application?"}));
  EXPECT_FALSE(s_drive->Exists("Big/_xbmidx.html"));
}

TEST_F(OmbralScanRun, CloseDuringAScanStopsItWithoutAsking) {
  ModalTimeout timeout(60000);
  Post([&] {
    Click(m_dialog, IDOK);
    Click(m_dialog, IDC_CLOSE);
    Click(m_dialog, IDC_CLOSE);  // once more while it stops: still one close
  });
  EXPECT_EQ(m_dialog.RunWithPath("W:\\Big"), IDCANCEL);
  EXPECT_TRUE(m_dialog.StopRequested());
  EXPECT_TRUE(m_boxes.Boxes().empty());
  EXPECT_FALSE(s_drive->Exists("Big/_xbmidx.html"));
}

TEST_F(OmbralScanRun, ADialogThatGoesDuringAScanStopsItFirst) {
  auto dialog = std::make_unique<COmbralDlg>();
  dialog->m_strPath = "W:\\Big";
  ASSERT_TRUE(dialog->Create(COmbralDlg::IDD));
  Click(*dialog, IDOK);
  ASSERT_TRUE(dialog->IsScanning());
  const Clock::time_point start = Clock::now();
  dialog.reset();  // must neither wait for the whole tree nor touch what is gone
  EXPECT_LT(MillisecondsSince(start), 2000);
  ProcessEvents();
  EXPECT_FALSE(s_drive->Exists("Big/_xbmidx.html"));
}

// --- The protocol of a run on its own thread ---------------------------------------------

// A run on the dialog's thread, one line at a time as the run makes them,
// gives the reference: the thread's batches must show the same.
TEST(OmbralScanProtocol, ARunOnItsOwnThreadShowsWhatARunInOnePieceShows) {
  TempDrive drive('T');
  for (int folder = 0; folder < 6; ++folder) {
    for (int file = 0; file < 700; ++file) {
      drive.WriteFile("Pics/F" + std::to_string(folder) + "/p" + std::to_string(file) + ".jpg");
    }
  }
  RecordingMessageBoxes boxes;
  COmbralDlg threaded;
  COmbralDlg inPlace;
  for (COmbralDlg* dialog : {&threaded, &inPlace}) {
    dialog->m_strPath = "T:\\Pics";
    dialog->m_bNoLogging = 0;  // 4,200 files: more lines than the list keeps
    ASSERT_TRUE(dialog->Create(COmbralDlg::IDD));
  }
  Click(threaded, IDOK);
  ASSERT_TRUE(RunEventsUntil([&] { return !threaded.IsScanning(); }, 60000));
  inPlace.RunScan();

  const std::vector<std::string> expected = ListLines(inPlace, IDC_PROTOCOL);
  ASSERT_GT(expected.size(), 100u);
  EXPECT_EQ(expected.back(), "FOUND PATHS: 7");
  EXPECT_EQ(ListLines(threaded, IDC_PROTOCOL), expected);
  EXPECT_EQ(threaded.m_nProtocolLines, inPlace.m_nProtocolLines);
  EXPECT_EQ(ListSelection(threaded, IDC_PROTOCOL), ListSelection(inPlace, IDC_PROTOCOL));
  EXPECT_EQ(ShownText(threaded, IDC_STATUS), "SCAN COMPLETED");
  EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
