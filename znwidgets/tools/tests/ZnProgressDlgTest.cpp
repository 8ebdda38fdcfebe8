// The progress dialog on real widgets: its percent rule, cancel requests,
// the owner's state and the events it handles while the work goes on.
#include "znwidgets/ZnProgressDlg.h"

#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/Resource.h"
#include "platform/testing/UiDriver.h"

namespace {

using namespace platform::testing;

// An owner window with an edit field (a child to pass as parent) and a
// button whose clicks it counts.
constexpr UINT kOwnerId = 9511;
constexpr int kOwnerEditId = 1000;
constexpr int kOwnerButtonId = 1001;
constexpr platform::DialogItem kOwnerItems[] = {
    platform::EditText(kOwnerEditId, 5, 5, 100, 12),
    platform::PushButton("Count", kOwnerButtonId, 5, 20, 50, 14),
};
constexpr platform::DialogTemplate kDialogs[] = {
    {kOwnerId, "Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 0, 120, 40, "MS Sans Serif", 8,
     kOwnerItems}};
constexpr platform::ResourceModule kModule{"znwidgets_progress_tests", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

class COwner : public CDialog {
public:
  int m_clicks = 0;

protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == kOwnerButtonId) {
      ++m_clicks;
      return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
  }
};

// Reaches the bar and the protected members a test needs.
class CTestProgressDlg : public CZnProgressDlg {
public:
  using CZnProgressDlg::OnCommand;
  CProgressCtrl& Bar() { return m_Progress; }
  void UseTemplate(UINT id) { m_nIDTemplate = id; }
  int BarPos() { return m_Progress.GetPos(); }
  std::pair<int, int> BarRange() {
    int lower = 0, upper = 0;
    m_Progress.GetRange(lower, upper);
    return {lower, upper};
  }
};

class Progress : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_owner.Create(kOwnerId));
    ASSERT_EQ(m_dialog.Create(&m_owner), 1);
  }
  std::string Percent() { return ShownText(m_dialog, IDC_ZN_PROGRESS_PERCENT); }

  COwner m_owner;
  CTestProgressDlg m_dialog;
};

TEST_F(Progress, OpensWithItsCaptionTextsAndAnEmptyBarOverZeroToHundred) {
  CString caption;
  m_dialog.GetWindowText(caption);
  EXPECT_EQ(caption, "Verarbeitung läuft...");
  EXPECT_TRUE(m_dialog.IsWindowVisible());
  EXPECT_EQ(Percent(), " 0 %");
  EXPECT_EQ(ShownText(m_dialog, IDCANCEL), "Abbrechen");
  EXPECT_EQ(m_dialog.BarRange(), std::make_pair(0, 100));
  EXPECT_EQ(m_dialog.BarPos(), 0);
}

TEST_F(Progress, SetPosShowsTheFoldedPercentAndPutsTheBarThere) {
  struct Row {
    unsigned lower, upper, position;
    const char* label;
    int bar;
  };
  const Row rows[] = {
      {0, 100, 42, "42%", 42},  {0, 100, 100, "100%", 100}, {0, 100, 150, "50%", 50},
      {0, 100, 200, "0%", 0},   {0, 200, 50, "25%", 25},    {0, 3, 1, "33%", 33},
      {10, 100, 5, "-5%", 0},   {0, 100, 0, "0%", 0},
  };
  for (const Row& row : rows) {
    m_dialog.SetRange(row.lower, row.upper);
    m_dialog.SetPos(row.position);
    EXPECT_EQ(Percent(), row.label) << row.lower << ".." << row.upper << " at " << row.position;
    EXPECT_EQ(m_dialog.BarPos(), row.bar) << row.lower << ".." << row.upper << " at " << row.position;
    EXPECT_EQ(m_dialog.BarRange(), std::make_pair(0, 100));
  }
}

TEST_F(Progress, SetPosReturnsTheBarsPreviousPosition) {
  EXPECT_EQ(m_dialog.SetPos(42), 0);
  m_dialog.SetRange(0, 200);
  EXPECT_EQ(m_dialog.SetPos(50), 42);
  EXPECT_EQ(m_dialog.SetPos(0), 25);
}

TEST_F(Progress, AnEmptyRangeShowsZeroInsteadOfDividingByZero) {
  m_dialog.SetRange(7, 7);
  m_dialog.SetPos(9);
  EXPECT_EQ(Percent(), "0%");
}

TEST_F(Progress, OffsetPosAndStepItMoveTheBarAndLabelTogether) {
  EXPECT_EQ(m_dialog.OffsetPos(30), 0);
  EXPECT_EQ(Percent(), "30%");
  EXPECT_EQ(m_dialog.StepIt(), 30);  // the default step is 5
  EXPECT_EQ(Percent(), "35%");
  EXPECT_EQ(m_dialog.BarPos(), 35);
  EXPECT_EQ(m_dialog.SetStep(10), 5);
  m_dialog.OffsetPos(60);
  // Past 100 the bar starts over; the label folds the same sum.
  EXPECT_EQ(m_dialog.StepIt(), 95);
  EXPECT_EQ(m_dialog.BarPos(), 5);
  EXPECT_EQ(Percent(), "5%");
}

TEST_F(Progress, TheStepGivenBeforeCreateIsTheBarsStep) {
  CTestProgressDlg dialog;
  dialog.SetStep(20);
  ASSERT_EQ(dialog.Create(&m_owner), 1);
  EXPECT_EQ(dialog.StepIt(), 0);
  EXPECT_EQ(dialog.BarPos(), 20);
}

TEST_F(Progress, BoundsGivenBeforeCreateOnlyScaleThePositions) {
  CTestProgressDlg dialog;
  dialog.SetRange(0, 200);
  ASSERT_EQ(dialog.Create(&m_owner), 1);
  EXPECT_EQ(dialog.BarRange(), std::make_pair(0, 100));
  dialog.SetPos(100);
  EXPECT_EQ(ShownText(dialog, IDC_ZN_PROGRESS_PERCENT), "50%");
}

TEST_F(Progress, StatusItemTitleAndPercentLabelShowWhatTheyAreGiven) {
  m_dialog.SetStatus("Daten werden sortiert...");
  m_dialog.SetItemText("P:\\2001\\Sommer");
  m_dialog.SetTitle("Suche läuft...");
  EXPECT_EQ(ShownText(m_dialog, IDC_ZN_PROGRESS_STATUS), "Daten werden sortiert...");
  EXPECT_EQ(ShownText(m_dialog, IDC_ZN_PROGRESS_ITEM), "P:\\2001\\Sommer");
  CString caption;
  m_dialog.GetWindowText(caption);
  EXPECT_EQ(caption, "Suche läuft...");
  m_dialog.ShowPercent(0);
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_ZN_PROGRESS_PERCENT)->IsWindowVisible());
  m_dialog.ShowPercent(1);
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_ZN_PROGRESS_PERCENT)->IsWindowVisible());
}

TEST_F(Progress, EachWayToCancelIsReportedExactlyOnceAndTheDialogStays) {
  const std::pair<const char*, std::function<void()>> ways[] = {
      {"button", [&] { Click(m_dialog, IDCANCEL); }},
      {"Esc", [&] { Press(m_dialog, Key::Escape); }},
      {"Enter on the default button", [&] { Press(m_dialog, Key::Enter); }},
      {"close box", [&] { ClickCloseBox(m_dialog); }},
  };
  for (const auto& [name, cancel] : ways) {
    EXPECT_EQ(m_dialog.CheckCancelButton(), 0) << name;
    cancel();
    EXPECT_EQ(m_dialog.CheckCancelButton(), 1) << name;
    EXPECT_EQ(m_dialog.CheckCancelButton(), 0) << name;
    EXPECT_TRUE(m_dialog.IsWindowVisible()) << name;
  }
}

TEST_F(Progress, OkDoesNothing) {
  m_dialog.OnCommand(MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(m_dialog.CheckCancelButton(), 0);
  EXPECT_TRUE(m_dialog.IsWindowVisible());
}

TEST_F(Progress, WaitingEventsAreHandledInsideTheCallsThatPump) {
  int ran = 0;
  Post([&] { ++ran; });
  m_dialog.SetPos(10);
  EXPECT_EQ(ran, 1);
  Post([&] { ++ran; });
  m_dialog.OffsetPos(1);
  Post([&] { ++ran; });
  m_dialog.StepIt();
  EXPECT_EQ(ran, 3);
  // A click that is waiting when the working code polls.
  Post([&] { Click(m_dialog, IDCANCEL); });
  EXPECT_EQ(m_dialog.CheckCancelButton(), 1);
}

TEST_F(Progress, TheOwnerIsDisabledWhileTheDialogIsUpButTheDialogWorks) {
  EXPECT_FALSE(m_owner.IsWindowEnabled());
  EXPECT_TRUE(m_dialog.IsWindowEnabled());
  Click(m_owner, kOwnerButtonId);
  EXPECT_EQ(m_owner.m_clicks, 0);
  Click(m_dialog, IDCANCEL);
  EXPECT_EQ(m_dialog.CheckCancelButton(), 1);
  EXPECT_TRUE(m_dialog.DestroyWindow());
  EXPECT_EQ(m_dialog.m_hWnd, nullptr);
  EXPECT_TRUE(m_owner.IsWindowEnabled());
  Click(m_owner, kOwnerButtonId);
  EXPECT_EQ(m_owner.m_clicks, 1);
}

TEST(ProgressOwner, AChildAsParentDisablesItsTopLevelWindowUntilTheDestructor) {
  COwner owner;
  ASSERT_TRUE(owner.Create(kOwnerId));
  {
    CZnProgressDlg dialog;
    ASSERT_EQ(dialog.Create(owner.GetDlgItem(kOwnerEditId)), 1);
    EXPECT_FALSE(owner.IsWindowEnabled());
    EXPECT_TRUE(owner.GetDlgItem(kOwnerEditId)->IsWindowEnabled());
  }
  EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(ProgressOwner, AnOwnerThatWasDisabledStaysDisabled) {
  COwner owner;
  ASSERT_TRUE(owner.Create(kOwnerId));
  owner.EnableWindow(FALSE);
  {
    CZnProgressDlg dialog;
    ASSERT_EQ(dialog.Create(&owner), 1);
    EXPECT_TRUE(dialog.IsWindowEnabled());
    dialog.DestroyWindow();
    EXPECT_FALSE(owner.IsWindowEnabled());
  }
  EXPECT_FALSE(owner.IsWindowEnabled());
}

TEST(ProgressOwner, AFailedCreateLeavesTheOwnerAsItWas) {
  COwner owner;
  ASSERT_TRUE(owner.Create(kOwnerId));
  CTestProgressDlg dialog;
  dialog.UseTemplate(4242);  // not registered
  EXPECT_EQ(dialog.Create(&owner), 0);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(ProgressOwner, ASecondCreateFailsAndKeepsTheOwnerDisabled) {
  COwner owner;
  ASSERT_TRUE(owner.Create(kOwnerId));
  CZnProgressDlg dialog;
  ASSERT_EQ(dialog.Create(&owner), 1);
  EXPECT_EQ(dialog.Create(&owner), 0);
  EXPECT_FALSE(owner.IsWindowEnabled());
  dialog.DestroyWindow();
  EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(ProgressOwner, WithoutParentOrMainWindowNothingIsDisabled) {
  CZnProgressDlg dialog;
  ASSERT_EQ(dialog.Create(nullptr), 1);
  EXPECT_TRUE(dialog.IsWindowEnabled());
  EXPECT_EQ(dialog.CheckCancelButton(), 0);
}

TEST(ProgressOwner, AnOwnerDestroyedFirstIsNotTouchedLater) {
  auto owner = std::make_unique<COwner>();
  ASSERT_TRUE(owner->Create(kOwnerId));
  CZnProgressDlg dialog;
  ASSERT_EQ(dialog.Create(owner->GetDlgItem(kOwnerEditId)), 1);
  owner.reset();
  ProcessEvents();
  EXPECT_FALSE(dialog.DestroyWindow());  // the dialog went with its owner
}

}  // namespace
