// The progress bar control: range, position, step and their ends.
#include <gtest/gtest.h>

#include "platform/Dialog.h"
#include "platform/ProgressCtrl.h"
#include "platform/Resource.h"

namespace {

constexpr UINT kBarDialogId = 9011;
constexpr int kBarId = 201;
constexpr platform::DialogItem kItems[] = {
    platform::Control("", kBarId, "msctls_progress32", WS_BORDER, 5, 5, 100, 10)};
constexpr platform::DialogTemplate kDialogs[] = {
    {kBarDialogId, "Bar", WS_POPUP | WS_CAPTION, 0, 0, 0, 110, 20, "MS Sans Serif", 8, kItems}};
constexpr platform::ResourceModule kModule{"platform_ui_progress_tests", kDialogs, {}, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

class Bar : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kBarDialogId));
    ASSERT_TRUE(m_bar.SubclassDlgItem(kBarId, &m_dialog));
  }
  std::pair<int, int> Range() const {
    int lower = -1, upper = -1;
    m_bar.GetRange(lower, upper);
    return {lower, upper};
  }
  CDialog m_dialog;
  CProgressCtrl m_bar;
};

TEST_F(Bar, StartsEmptyOverZeroToHundred) {
  EXPECT_EQ(Range(), std::make_pair(0, 100));
  EXPECT_EQ(m_bar.GetPos(), 0);
}

TEST_F(Bar, SetPosAndOffsetPosAnswerThePreviousPositionAndStopAtTheEnds) {
  EXPECT_EQ(m_bar.SetPos(42), 0);
  EXPECT_EQ(m_bar.SetPos(150), 42);
  EXPECT_EQ(m_bar.GetPos(), 100);
  EXPECT_EQ(m_bar.SetPos(-5), 100);
  EXPECT_EQ(m_bar.GetPos(), 0);
  EXPECT_EQ(m_bar.OffsetPos(30), 0);
  EXPECT_EQ(m_bar.OffsetPos(90), 30);
  EXPECT_EQ(m_bar.GetPos(), 100);
  EXPECT_EQ(m_bar.OffsetPos(INT32_MIN), 100);
  EXPECT_EQ(m_bar.GetPos(), 0);
}

TEST_F(Bar, StepItStartsOverPastTheUpperEnd) {
  EXPECT_EQ(m_bar.SetStep(30), 10);
  m_bar.SetPos(80);
  EXPECT_EQ(m_bar.StepIt(), 80);
  EXPECT_EQ(m_bar.GetPos(), 10);
  EXPECT_EQ(m_bar.StepIt(), 10);
  EXPECT_EQ(m_bar.GetPos(), 40);
  m_bar.SetStep(-50);
  EXPECT_EQ(m_bar.StepIt(), 40);
  EXPECT_EQ(m_bar.GetPos(), 90);  // below the lower end it comes round from the top
}

TEST_F(Bar, ANewRangeTakesThePositionIntoIt) {
  m_bar.SetPos(70);
  m_bar.SetRange(0, 50);
  EXPECT_EQ(Range(), std::make_pair(0, 50));
  EXPECT_EQ(m_bar.GetPos(), 50);
  m_bar.SetRange32(-10, 70000);
  EXPECT_EQ(Range(), std::make_pair(-10, 70000));
  m_bar.SetRange(0, static_cast<short>(70000));  // 16-bit bounds wrap as the original's do
  EXPECT_EQ(Range(), std::make_pair(0, 4464));
}

TEST(BarWithoutWindow, DoesNothing) {
  CProgressCtrl bar;
  EXPECT_EQ(bar.SetPos(5), 0);
  EXPECT_EQ(bar.StepIt(), 0);
  EXPECT_EQ(bar.GetPos(), 0);
}

}  // namespace
