// The desktop handlers shown for real, answered by a posted user action.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "TestDialog.h"
#include "platform/MessageBox.h"
#include "platform/Pickers.h"
#include "platform/Shell.h"
#include "platform/WinApp.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

// Installs the desktop handlers for one test.
class DesktopHandlers : public ::testing::Test {
protected:
  platform::testing::ScopedDesktopHandlers m_handlers;
};

// The box in front, once it runs.
QMessageBox* FrontBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

TEST_F(DesktopHandlers, AMessageBoxShowsCaptionTextIconAndButtons) {
  ModalTimeout timeout;
  CTestDialog owner;
  ASSERT_TRUE(owner.Create(kTestDialogId));
  Post([&] {
    QMessageBox* box = FrontBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Ombral for Windows");
    EXPECT_EQ(box->text(), "Close <application>?");
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->buttons().size(), 2);
    EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Yes));
    EXPECT_EQ(box->parentWidget()->windowTitle(), "Test dialog");
    box->button(QMessageBox::No)->click();
  });
  EXPECT_EQ(owner.MessageBox("Close <application>?", "Ombral for Windows",
                             MB_YESNO | MB_ICONQUESTION),
            IDNO);
}

TEST_F(DesktopHandlers, EachButtonSetAnswersWithItsIds) {
  struct Row {
    UINT type;
    QMessageBox::StandardButton click;
    int answer;
  };
  const Row rows[] = {{MB_OK | MB_ICONEXCLAMATION, QMessageBox::Ok, IDOK},
                      {MB_OKCANCEL, QMessageBox::Cancel, IDCANCEL},
                      {MB_YESNOCANCEL, QMessageBox::Cancel, IDCANCEL},
                      {MB_YESNO, QMessageBox::Yes, IDYES}};
  for (const Row& row : rows) {
    ModalTimeout timeout;
    Post([&] {
      ASSERT_NE(FrontBox(), nullptr);
      FrontBox()->button(row.click)->click();
    });
    EXPECT_EQ(AfxMessageBox("text", row.type), row.answer) << row.type;
  }
}

}  // namespace
