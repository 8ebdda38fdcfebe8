// Dialog data exchange on real controls: both directions, the typing limit
// and a failed validation.
#include <gtest/gtest.h>

#include "TestDialog.h"
#include "platform/Edit.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

class Exchange : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(m_dialog.Create(kTestDialogId)); }
  CTestDialog m_dialog;
};

TEST_F(Exchange, LoadingShowsTheMembersAndSavingReadsTheControls) {
  EXPECT_EQ(ShownText(m_dialog, kEditId), "start");
  EXPECT_EQ(m_dialog.IsDlgButtonChecked(kCheckId), static_cast<UINT>(BST_CHECKED));
  Retype(m_dialog, kEditId, "abc");
  Click(m_dialog, kCheckId);
  EXPECT_TRUE(m_dialog.UpdateData(TRUE));
  EXPECT_EQ(m_dialog.m_text, "abc");
  EXPECT_EQ(m_dialog.m_check, 0);
  EXPECT_NE(m_dialog.m_list.m_hWnd, nullptr);
}

TEST_F(Exchange, CheckValuesMapToTheThreeStates) {
  struct Row {
    int value;
    int shown;
  };
  for (const Row& row : {Row{0, BST_UNCHECKED}, Row{1, BST_CHECKED}, Row{2, BST_INDETERMINATE},
                         Row{-3, BST_CHECKED}}) {
    m_dialog.m_third = row.value;
    m_dialog.UpdateData(FALSE);
    EXPECT_EQ(m_dialog.IsDlgButtonChecked(kThirdStateId), static_cast<UINT>(row.shown))
        << row.value;
  }
  // A two-state box shows "indeterminate" as checked.
  m_dialog.m_check = 2;
  m_dialog.UpdateData(FALSE);
  EXPECT_EQ(m_dialog.IsDlgButtonChecked(kCheckId), static_cast<UINT>(BST_CHECKED));
}

TEST_F(Exchange, TheLimitStopsTypingButNeverCutsTheProgramsText) {
  Retype(m_dialog, kEditId, "1234567");
  EXPECT_EQ(ShownText(m_dialog, kEditId), "12345");  // limit 5
  Retype(m_dialog, kEditId, "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC");
  EXPECT_EQ(ShownText(m_dialog, kEditId), "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6");

  m_dialog.m_text = "a text set by the program";
  m_dialog.UpdateData(FALSE);
  EXPECT_EQ(ShownText(m_dialog, kEditId), "a text set by the program");
  Type(m_dialog, kEditId, "x");  // no room to grow
  EXPECT_EQ(ShownText(m_dialog, kEditId), "a text set by the program");
}

TEST_F(Exchange, ATooLongTextFailsSavingWithAMessageAndTheFocus) {
  RecordingMessageBoxes boxes;
  m_dialog.m_text = "longer than five";
  m_dialog.m_check = 0;
  m_dialog.UpdateData(FALSE);
  Click(m_dialog, kCheckId);
  EXPECT_FALSE(m_dialog.UpdateData(TRUE));
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Enter no more than 5 characters."});
  EXPECT_EQ(boxes.Boxes()[0].type & MB_ICONMASK, MB_ICONEXCLAMATION);
  EXPECT_TRUE(HasFocus(m_dialog, kEditId));
  // The exchange stopped at the failing field: the check box was not read.
  EXPECT_EQ(m_dialog.m_check, 0);
}

TEST_F(Exchange, TheLimitCountsCharactersNotBytes) {
  RecordingMessageBoxes boxes;
  m_dialog.m_text = "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6";  // five letters, ten bytes
  m_dialog.UpdateData(FALSE);
  EXPECT_TRUE(m_dialog.UpdateData(TRUE));
  EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Exchange, LoadingAnUnchangedTextSendsNoChange) {
  const std::size_t before = m_dialog.CommandsWith(EN_CHANGE).size();
  m_dialog.UpdateData(FALSE);
  EXPECT_EQ(m_dialog.CommandsWith(EN_CHANGE).size(), before);
  m_dialog.m_text = "other";
  m_dialog.UpdateData(FALSE);
  EXPECT_EQ(m_dialog.CommandsWith(EN_CHANGE).size(), before + 1);
}

// The edit field bound to a number within 16..4096.
class CNumberDialog : public CTestDialog {
public:
  int m_number = 42;

protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, kEditId, m_number);
    DDV_MinMaxInt(dx, m_number, 16, 4096);
    DDX_Check(dx, kCheckId, m_check);
  }
};

TEST(ExchangeNumbers, AFieldReadsAsAWholeNumberWithinItsRangeOrSaysWhatIsWrong) {
  CNumberDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  EXPECT_EQ(ShownText(dialog, kEditId), "42");
  struct Row {
    const char* typed;
    int value;            // after saving
    const char* message;  // null when saving succeeds
  };
  const Row rows[] = {
      {" 320 ", 320, nullptr},
      {"+17", 17, nullptr},
      {"4096", 4096, nullptr},
      {"15", 15, "Enter an integer between 16 and 4096."},
      {"-20", -20, "Enter an integer between 16 and 4096."},
      {"12abc", 42, "Enter an integer."},
      {"", 42, "Enter an integer."},
      {"+", 42, "Enter an integer."},
      {"99999999999", 42, "Enter an integer."},
  };
  for (const Row& row : rows) {
    RecordingMessageBoxes boxes;
    dialog.m_number = 42;
    dialog.m_check = 7;
    Retype(dialog, kEditId, row.typed);
    EXPECT_EQ(dialog.UpdateData(TRUE), row.message == nullptr) << row.typed;
    EXPECT_EQ(dialog.m_number, row.value) << row.typed;
    if (row.message) {
      EXPECT_EQ(boxes.Texts(), std::vector<std::string>{row.message}) << row.typed;
      EXPECT_TRUE(HasFocus(dialog, kEditId));
      EXPECT_EQ(dialog.m_check, 7);  // the exchange stopped at the field
    } else {
      EXPECT_TRUE(boxes.Boxes().empty()) << row.typed;
    }
  }
  dialog.m_number = -7;
  dialog.UpdateData(FALSE);
  EXPECT_EQ(ShownText(dialog, kEditId), "-7");
}

}  // namespace
