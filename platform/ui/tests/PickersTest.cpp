// The pickers: the original filter-list format, the non-blocking default
// and the desktop's file dialog.
#include "platform/Pickers.h"

#include <gtest/gtest.h>

#include <QAbstractProxyModel>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>

#include "platform/Shell.h"
#include "platform/WinApp.h"
#include "platform/testing/TempDrive.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using platform::FileFilter;
using platform::ParseFilterList;
using namespace platform::testing;

TEST(ParseFilterList, ReadsPairsUpToTheEmptyText) {
  using Filters = std::vector<FileFilter>;
  EXPECT_EQ(ParseFilterList(nullptr), Filters{});
  EXPECT_EQ(ParseFilterList(""), Filters{});
  EXPECT_EQ(ParseFilterList("All files (*.*)\0*.*\0"), (Filters{{"All files (*.*)", "*.*"}}));
  EXPECT_EQ(ParseFilterList("Pictures\0*.jpg;*.gif\0Text\0*.txt\0"),
            (Filters{{"Pictures", "*.jpg;*.gif"}, {"Text", "*.txt"}}));
  // A description without its patterns ends the list.
  EXPECT_EQ(ParseFilterList("Pictures\0*.jpg\0Orphan\0"), (Filters{{"Pictures", "*.jpg"}}));
}

TEST(Pickers, WithoutAHandlerEveryPickerIsCancelled) {
  std::string path = "unchanged";
  EXPECT_FALSE(platform::ShowOpenFilePicker({}, path));
  EXPECT_FALSE(platform::ShowFolderPicker({}, path));
  EXPECT_EQ(path, "unchanged");
}

// Types a name into the dialog's file-name field, as a user does.
void TypeFileName(QFileDialog& dialog, const char* name) {
  auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
  ASSERT_NE(field, nullptr);
  field->setText(QString::fromUtf8(name));
}

class DesktopPicker : public ::testing::Test {
protected:
  platform::testing::ScopedDesktopHandlers m_handlers;
  QFileDialog* Front() { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); }
  TempDrive m_drive{'P'};
};

TEST_F(DesktopPicker, OpensInTheInitialFolderAndAnswersInDriveForm) {
  ModalTimeout timeout;
  m_drive.WriteFile("Pics/a.JPG");
  m_drive.WriteFile("Pics/b.txt");
  platform::OpenFileRequest request;
  request.initialFolder = m_drive.WinPath("Pics");
  request.filters = {{"Pictures", "*.jpg"}, {"All files (*.*)", "*.*"}};
  request.flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
  Post([&] {
    QFileDialog* dialog = Front();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), "Open");
    EXPECT_EQ(dialog->directory().absolutePath().toStdString(), m_drive.Native("Pics"));
    EXPECT_EQ(dialog->nameFilters().size(), 2);
    // The patterns apply without regard to case: only a.JPG shows.
    auto* proxy = dialog->proxyModel();
    auto* files = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
    const QModelIndex folder = files->index(QString::fromStdString(m_drive.Native("Pics")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return files->rowCount(folder) == 2; }, 5000));
    EXPECT_EQ(proxy->rowCount(proxy->mapFromSource(folder)), 1);
    TypeFileName(*dialog, "a.JPG");
    static_cast<QDialog*>(dialog)->accept();  // what the Open button does
  });
  std::string path;
  EXPECT_TRUE(platform::ShowOpenFilePicker(request, path));
  EXPECT_EQ(path, "P:\\Pics\\a.JPG");
}

TEST_F(DesktopPicker, ACancelledPickerAnswersNothing) {
  ModalTimeout timeout;
  Post([&] {
    ASSERT_NE(Front(), nullptr);
    EXPECT_EQ(Front()->windowTitle(), "Choose the pictures");
    Front()->reject();
  });
  platform::FolderRequest request;
  request.title = "Choose the pictures";
  std::string path = "unchanged";
  EXPECT_FALSE(platform::ShowFolderPicker(request, path));
  EXPECT_EQ(path, "unchanged");
}

TEST_F(DesktopPicker, TheFolderPickerAnswersTheChosenFolder) {
  ModalTimeout timeout;
  m_drive.MakeDir("Album");
  Post([&] {
    ASSERT_NE(Front(), nullptr);
    EXPECT_EQ(Front()->windowTitle(), "Browse for Folder");
    Front()->setDirectory(QString::fromStdString(m_drive.Native()));
    TypeFileName(*Front(), "Album");
    static_cast<QDialog*>(Front())->accept();
  });
  std::string path;
  EXPECT_TRUE(platform::ShowFolderPicker({}, path));
  EXPECT_EQ(path, "P:\\Album");
}

}  // namespace
