// The dialog on real widgets: its life (modal and modeless), how user
// actions reach its handlers, and what its controls look like.
#include <gtest/gtest.h>

#include <vector>

#include "TestDialog.h"
#include "common/DialogUnits.h"
#include "platform/Button.h"
#include "platform/Menu.h"
#include "platform/Resource.h"
#include "platform/Static.h"
#include "platform/testing/ListBoxCapacity.h"
#include "platform/testing/UiDriver.h"
#include "platform/testing/UiRecorders.h"

namespace {

using namespace platform::testing;

// A modeless test dialog, shown, for the tests of one dialog's behaviour.
class OpenDialog : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(m_dialog.Create(kTestDialogId));
    m_dialog.m_commands.clear();  // loading the field sent its change
  }
  CTestDialog m_dialog;
};

TEST(DialogLife, DoModalReturnsTheResultAndDestroysTheWindow) {
  ModalTimeout timeout;
  CTestDialog dialog;
  HWND seen = nullptr;
  Post([&] {
    seen = dialog.m_hWnd;
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_EQ(ActiveModalWindow(), &dialog);
    dialog.EndDialog(42);
  });
  EXPECT_EQ(dialog.DoModal(), 42);
  ASSERT_NE(seen, nullptr);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_list.m_hWnd, nullptr);  // the attached control went with it
  EXPECT_EQ(CWnd::FromHandle(seen), nullptr);
}

TEST(DialogLife, EndDialogInOnInitDialogNeverShowsTheDialog) {
  CTestDialog dialog;
  dialog.m_endInInit = true;
  EXPECT_EQ(dialog.DoModal(), 7);
  EXPECT_TRUE(dialog.m_initDone);
}

TEST(DialogLife, AMissingTemplateFailsWithoutAWindow) {
  CDialog dialog(4242);
  EXPECT_EQ(dialog.DoModal(), -1);
  EXPECT_FALSE(dialog.Create(4242));
  EXPECT_EQ(dialog.m_hWnd, nullptr);
}

TEST(DialogLife, EnterSavesAndEndsWithOk) {
  ModalTimeout timeout;
  CTestDialog dialog;
  Post([&] {
    Retype(dialog, kEditId, "new");
    Press(dialog, Key::Enter, kEditId);
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(dialog.m_okCalls, 1);
  EXPECT_EQ(dialog.m_text, "new");
}

TEST(DialogLife, EscAndTheCloseBoxCancelWithoutSaving) {
  for (bool closeBox : {false, true}) {
    ModalTimeout timeout;
    CTestDialog dialog;
    Post([&] {
      Retype(dialog, kEditId, "typed");
      closeBox ? ClickCloseBox(dialog) : Press(dialog, Key::Escape, kEditId);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << (closeBox ? "close box" : "Esc");
    EXPECT_EQ(dialog.m_cancelCalls, 1);
    EXPECT_EQ(dialog.m_text, "start");
  }
}

TEST(DialogLife, ANestedModalDialogRunsInsideTheFirst) {
  ModalTimeout timeout;
  CTestDialog outer;
  CTestDialog inner(&outer);
  int innerResult = 0;
  Post([&] {
    Post([&] {
      EXPECT_EQ(ActiveModalWindow(), &inner);
      EXPECT_EQ(inner.GetParent(), &outer);  // its owner
      inner.EndDialog(5);
    });
    innerResult = static_cast<int>(inner.DoModal());
    outer.EndDialog(6);
  });
  EXPECT_EQ(outer.DoModal(), 6);
  EXPECT_EQ(innerResult, 5);
}

TEST(DialogLife, ModelessDialogsGoWithTheirObject) {
  HWND handle = nullptr;
  {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(kTestDialogId));
    handle = dialog.m_hWnd;
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_FALSE(dialog.Create(kTestDialogId));  // already has its window
  }
  EXPECT_EQ(CWnd::FromHandle(handle), nullptr);

  CTestDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  EXPECT_TRUE(dialog.DestroyWindow());
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_FALSE(dialog.DestroyWindow());
}

// A dialog whose button destroys the dialog from inside the button's own
// notification.
class CSelfDestroyingDialog : public CTestDialog {
protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    if (LOWORD(wParam) == kActionId) return DestroyWindow();
    return CTestDialog::OnCommand(wParam, lParam);
  }
};

TEST(DialogLife, AWindowDestroyedInItsOwnHandlerGoesAfterTheEvent) {
  CSelfDestroyingDialog dialog;
  ASSERT_TRUE(dialog.Create(kTestDialogId));
  CWnd* action = dialog.GetDlgItem(kActionId);
  ASSERT_NE(action, nullptr);
  const HWND actionHandle = action->m_hWnd;
  Click(dialog, kActionId);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.m_list.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandle(actionHandle), nullptr);
  ProcessEvents();  // the widgets are deleted now
  EXPECT_FALSE(dialog.DestroyWindow());
}

TEST_F(OpenDialog, ClicksTypingAndChecksReachOnCommandById) {
  Click(m_dialog, kActionId);
  Click(m_dialog, kCheckId);
  Retype(m_dialog, kEditId, "ab");
  EXPECT_EQ(m_dialog.CommandsWith(BN_CLICKED), (std::vector<int>{kActionId, kCheckId}));
  EXPECT_EQ(m_dialog.CommandsWith(EN_CHANGE), (std::vector<int>{kEditId, kEditId}));  // a, ab
  EXPECT_EQ(m_dialog.IsDlgButtonChecked(kCheckId), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(OpenDialog, AGroupBoxDoesNotCoverTheControlsInIt) {
  Click(m_dialog, kGroupedId);
  EXPECT_EQ(m_dialog.CommandsWith(BN_CLICKED), std::vector<int>{kGroupedId});
}

TEST_F(OpenDialog, DisabledAndHiddenControlsIgnoreClicks) {
  m_dialog.GetDlgItem(kActionId)->EnableWindow(FALSE);
  Click(m_dialog, kActionId);
  EXPECT_FALSE(m_dialog.GetDlgItem(kActionId)->IsWindowEnabled());
  EXPECT_TRUE(m_dialog.GetDlgItem(kActionId)->GetStyle() & WS_DISABLED);
  EXPECT_TRUE(m_dialog.CommandsWith(BN_CLICKED).empty());
}

TEST_F(OpenDialog, TheSystemMenuCarriesAppendedItemsToOnSysCommand) {
  CMenu* menu = m_dialog.GetSystemMenu(FALSE);
  ASSERT_NE(menu, nullptr);
  menu->AppendMenu(MF_SEPARATOR);
  menu->AppendMenu(MF_STRING, 16, "&About...");
  EXPECT_EQ(SystemMenuTexts(m_dialog),
            (std::vector<std::string>{"Mi&nimize", "", "&Close\tAlt+F4", "", "&About..."}));
  EXPECT_TRUE(ChooseSystemMenuItem(m_dialog, 16));
  EXPECT_EQ(m_dialog.m_sysCommands, std::vector<UINT>{16});
  EXPECT_FALSE(ChooseSystemMenuItem(m_dialog, 17));
  // The standard Close item closes as the close box does.
  EXPECT_TRUE(ChooseSystemMenuItem(m_dialog, SC_CLOSE));
  EXPECT_EQ(m_dialog.m_cancelCalls, 1);
  EXPECT_FALSE(m_dialog.IsWindowVisible());
}

TEST_F(OpenDialog, AListOutOfSpaceTellsTheDialogBeforeTheCallReturns) {
  const int previous = SetListBoxCapacity(2);
  EXPECT_EQ(m_dialog.m_list.AddString("one"), 0);
  EXPECT_EQ(m_dialog.m_list.AddString("two"), 1);
  EXPECT_EQ(m_dialog.m_list.AddString("three"), LB_ERRSPACE);
  SetListBoxCapacity(previous);
  EXPECT_EQ(m_dialog.CommandsWith(LBN_ERRSPACE), std::vector<int>{kListId});
  EXPECT_EQ(ListLines(m_dialog, kListId), (std::vector<std::string>{"one", "two"}));
}

TEST_F(OpenDialog, ABatchOfLinesComesInOneStepAndStopsWhereTheSpaceEnds) {
  CListBox& list = m_dialog.m_list;
  list.AddString("first");
  const char* lines[] = {"a", nullptr, "c"};
  EXPECT_EQ(list.AddStrings(lines, 3), 3);
  EXPECT_EQ(ListLines(m_dialog, kListId), (std::vector<std::string>{"first", "a", "", "c"}));
  EXPECT_EQ(list.AddStrings(lines, 0), 0);
  EXPECT_EQ(list.AddStrings(nullptr, 2), LB_ERR);
  EXPECT_EQ(list.AddStrings(lines, -1), LB_ERR);

  // Out of space: what fits is in, and the dialog hears nothing yet.
  const int previous = SetListBoxCapacity(5);
  EXPECT_EQ(list.AddStrings(lines, 3), 1);
  SetListBoxCapacity(previous);
  EXPECT_EQ(list.GetCount(), 5);
  EXPECT_TRUE(m_dialog.CommandsWith(LBN_ERRSPACE).empty());
  // Adding lines selects nothing and sends nothing.
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  EXPECT_TRUE(m_dialog.CommandsWith(LBN_SELCHANGE).empty());

  CListBox gone;
  EXPECT_EQ(gone.AddStrings(lines, 3), LB_ERR);
}

TEST_F(OpenDialog, ListBoxLinesSelectionAndNotifications) {
  CListBox& list = m_dialog.m_list;
  EXPECT_EQ(list.AddString("b"), 0);
  EXPECT_EQ(list.InsertString(0, "a"), 0);
  EXPECT_EQ(list.InsertString(-1, "c"), 2);
  EXPECT_EQ(list.InsertString(9, "x"), LB_ERR);
  EXPECT_EQ(list.SetCurSel(2), 2);
  EXPECT_EQ(ListSelection(m_dialog, kListId), 2);
  EXPECT_EQ(list.SetCurSel(3), LB_ERR);
  EXPECT_EQ(list.GetCurSel(), LB_ERR);
  CString text;
  EXPECT_EQ(list.GetText(1, text), 1);
  EXPECT_EQ(text, "b");
  EXPECT_EQ(list.GetText(5, text), LB_ERR);
  EXPECT_EQ(list.DeleteString(0), 2);
  EXPECT_EQ(list.DeleteString(7), LB_ERR);
  // The program's own selections send nothing.
  EXPECT_TRUE(m_dialog.CommandsWith(LBN_SELCHANGE).empty());
  list.ResetContent();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(OpenDialog, ControlsSitAtTheirDialogUnitsInTheDialogFont) {
  RECT units{10, 10, 110, 22};  // the edit field
  m_dialog.MapDialogRect(&units);
  CRect edit;
  m_dialog.GetDlgItem(kEditId)->GetWindowRect(edit);
  m_dialog.ScreenToClient(reinterpret_cast<LPPOINT>(&edit.left));
  m_dialog.ScreenToClient(reinterpret_cast<LPPOINT>(&edit.right));
  EXPECT_EQ(edit, CRect(units));
  CRect client;
  m_dialog.GetClientRect(client);
  RECT size{0, 0, 200, 120};
  m_dialog.MapDialogRect(&size);
  EXPECT_EQ(client, CRect(size));
  // The font's units are those of an 8-point sans-serif: about 6 to 8
  // pixels per character, 11 to 15 per line at 96 dpi.
  EXPECT_GT(size.right, 200 * 5 / 4);
  EXPECT_LT(size.right, 200 * 9 / 4);
}

TEST_F(OpenDialog, MoveWindowTakesWhatGetWindowRectGives) {
  CRect before;
  m_dialog.GetWindowRect(before);
  m_dialog.MoveWindow(before.left, before.top, before.Width(), before.Height() - 50);
  CRect after;
  m_dialog.GetWindowRect(after);
  EXPECT_EQ(after.Height(), before.Height() - 50);
  EXPECT_EQ(after.TopLeft(), before.TopLeft());
  EXPECT_EQ(after.Width(), before.Width());
  m_dialog.MoveWindow(after.left, after.top, after.Width(), after.Height() + 50);
  m_dialog.GetWindowRect(after);
  EXPECT_EQ(after, before);
}

TEST_F(OpenDialog, TextsAsSetAndAsShown) {
  CString text;
  m_dialog.GetDlgItemText(kLabelId, text);
  EXPECT_EQ(text, "&Label && more");
  EXPECT_EQ(ShownText(m_dialog, kLabelId), "Label & more");
  m_dialog.SetWindowText("Caption \xC3\xBC");
  m_dialog.GetWindowText(text);
  EXPECT_EQ(text, "Caption \xC3\xBC");
  char small[10];
  EXPECT_EQ(m_dialog.GetWindowText(small, sizeof small), 8);  // not half the ü
  EXPECT_STREQ(small, "Caption ");
  EXPECT_EQ(m_dialog.GetWindowTextLength(), 10);
}

TEST_F(OpenDialog, HandlesFindTheirObjectsAndTemporaryWrappers) {
  EXPECT_EQ(CWnd::FromHandle(m_dialog.m_hWnd), &m_dialog);
  EXPECT_EQ(CWnd::FromHandle(m_dialog.m_list.m_hWnd), &m_dialog.m_list);
  CWnd* action = m_dialog.GetDlgItem(kActionId);
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(action->m_hWnd), nullptr);
  EXPECT_EQ(m_dialog.GetDlgItem(kActionId), action);  // the same wrapper again
  EXPECT_EQ(action->GetDlgCtrlID(), kActionId);
  EXPECT_EQ(action->GetParent(), &m_dialog);
  EXPECT_EQ(action->GetTopLevelParent(), &m_dialog);
  EXPECT_EQ(m_dialog.GetDlgItem(999), nullptr);
  CButton other;
  EXPECT_FALSE(other.Attach(m_dialog.m_list.m_hWnd));  // already attached
}

TEST(DialogLife, AnAttachedWindowStaysWhenADialogObjectThatMadeOneGoes) {
  CTestDialog owner;
  ASSERT_TRUE(owner.Create(kTestDialogId));
  HWND borrowed = nullptr;
  {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create(kTestDialogId));
    ASSERT_TRUE(dialog.DestroyWindow());
    ProcessEvents();
    borrowed = owner.GetDlgItem(kActionId)->m_hWnd;
    ASSERT_TRUE(dialog.Attach(borrowed));
  }
  ProcessEvents();
  EXPECT_NE(CWnd::FromHandle(borrowed), nullptr);
}

TEST_F(OpenDialog, IconsShowInTheIconStaticAndTheWindow) {
  const HICON icon = platform::LoadIconResource(kTestIconId);
  CWnd* iconStatic = m_dialog.GetDlgItem(kIconId);
  ASSERT_NE(iconStatic, nullptr);
  CRect rect;
  iconStatic->GetClientRect(rect);
  EXPECT_EQ(rect.Size(), CSize(4, 4));  // the icon's own size
  EXPECT_EQ(m_dialog.SetIcon(icon, ICON_BIG), nullptr);
  EXPECT_EQ(m_dialog.SetIcon(icon, ICON_SMALL), nullptr);
  EXPECT_EQ(m_dialog.GetIcon(ICON_BIG), icon);
}

TEST_F(OpenDialog, FocusStartsOnTheFirstTabStopAndEnterOnAButtonClicksIt) {
  EXPECT_TRUE(HasFocus(m_dialog, kEditId));
  m_dialog.GetDlgItem(kActionId)->SetFocus();
  Press(m_dialog, Key::Enter);
  EXPECT_EQ(m_dialog.CommandsWith(BN_CLICKED), std::vector<int>{kActionId});
  EXPECT_EQ(m_dialog.m_okCalls, 0);
}

// A dialog the user can resize, and one of fixed size, that record the
// sizes they hear of and name their smallest size.
constexpr UINT kSizingDialogId = 9021;
constexpr UINT kFixedDialogId = 9022;
constexpr UINT kHugeSizingDialogId = 9023;
constexpr UINT kHugeFixedDialogId = 9024;
constexpr platform::DialogItem kSizingItems[] = {platform::PushButton("&Go", IDOK, 5, 5, 50, 14)};
constexpr platform::DialogTemplate kSizingDialogs[] = {
    {kSizingDialogId, "Sizing",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MAXIMIZEBOX, 0, 0, 0, 120, 60,
     "MS Sans Serif", 8, kSizingItems},
    {kFixedDialogId, "Fixed", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 120, 60,
     "MS Sans Serif", 8, kSizingItems},
    // Far bigger than the offscreen screen (800 x 800 pixels).
    {kHugeSizingDialogId, "Huge sizing",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE, 0, 0, 0, 900, 900,
     "MS Sans Serif", 8, kSizingItems},
    {kHugeFixedDialogId, "Huge fixed", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 0, 900, 900,
     "MS Sans Serif", 8, kSizingItems},
};
constexpr platform::ResourceModule kSizingModule{"platform_ui_sizing_tests", kSizingDialogs, {}, {}, {}};
const platform::ResourceRegistration g_sizingResources(kSizingModule);

class CSizingDialog : public CDialog {
public:
  struct Size {
    UINT type;
    int cx, cy;
    bool operator==(const Size&) const = default;
  };
  std::vector<Size> m_sizes;
  POINT m_smallest{0, 0};
  POINT m_largest{0, 0};
  int m_asked = 0;

protected:
  void OnSize(UINT type, int cx, int cy) override { m_sizes.push_back({type, cx, cy}); }
  void OnGetMinMaxInfo(MINMAXINFO* info) override {
    ++m_asked;
    EXPECT_EQ(info->ptMinTrackSize.x, 0);  // zeros at first
    info->ptMinTrackSize = m_smallest;
    info->ptMaxTrackSize = m_largest;
  }
};

CRect WindowRectOf(const CWnd& window) {
  CRect rect;
  window.GetWindowRect(&rect);
  return rect;
}

TEST(DialogSize, AResizableDialogHearsEachNewSizeAndKeepsToItsSmallest) {
  CSizingDialog dialog;
  dialog.m_smallest = POINT{260, 150};
  ASSERT_TRUE(dialog.Create(kSizingDialogId));
  EXPECT_TRUE(dialog.m_sizes.empty());  // nothing before it shows
  dialog.ShowWindow(SW_SHOW);
  ProcessEvents();
  ASSERT_FALSE(dialog.m_sizes.empty());
  CRect client;
  dialog.GetClientRect(&client);
  EXPECT_EQ(dialog.m_sizes.back(), (CSizingDialog::Size{SIZE_RESTORED, client.Width(), client.Height()}));
  EXPECT_GT(dialog.m_asked, 0);
  const CRect frame = WindowRectOf(dialog);
  const int frameWidth = frame.Width() - client.Width();
  const int frameHeight = frame.Height() - client.Height();

  dialog.MoveWindow(frame.left, frame.top, 640, 480);
  EXPECT_EQ(dialog.m_sizes.back(), (CSizingDialog::Size{SIZE_RESTORED, 640 - frameWidth, 480 - frameHeight}));
  EXPECT_EQ(WindowRectOf(dialog).Width(), 640);
  // Not below the smallest size its handler names, frame included.
  dialog.MoveWindow(frame.left, frame.top, 100, 40);
  EXPECT_EQ(WindowRectOf(dialog).Width(), 260);
  EXPECT_EQ(WindowRectOf(dialog).Height(), 150);
  EXPECT_EQ(dialog.m_sizes.back(), (CSizingDialog::Size{SIZE_RESTORED, 260 - frameWidth, 150 - frameHeight}));
}

TEST(DialogSize, ADialogWithoutASizingFrameKeepsItsSizeAndIsNotAskedForLimits) {
  CSizingDialog dialog;
  dialog.m_smallest = POINT{900, 900};
  ASSERT_TRUE(dialog.Create(kFixedDialogId));
  dialog.ShowWindow(SW_SHOW);
  ProcessEvents();
  const CRect before = WindowRectOf(dialog);
  EXPECT_EQ(dialog.m_asked, 0);
  EXPECT_LT(before.Width(), 900);
  ASSERT_FALSE(dialog.m_sizes.empty());  // its size, when it showed
  dialog.MoveWindow(before.left, before.top, 50, 30);
  CRect client;
  dialog.GetClientRect(&client);
  EXPECT_EQ(dialog.m_sizes.back(), (CSizingDialog::Size{SIZE_RESTORED, client.Width(), client.Height()}));
  EXPECT_EQ(dialog.m_asked, 0);
}

TEST(DialogSize, ALargestSizeHoldsForTheUserAndForMoveWindow) {
  CSizingDialog dialog;
  dialog.m_smallest = POINT{200, 100};
  dialog.m_largest = POINT{400, 0};  // no limit in height
  ASSERT_TRUE(dialog.Create(kSizingDialogId));
  dialog.ShowWindow(SW_SHOW);
  ProcessEvents();
  const CRect frame = WindowRectOf(dialog);
  dialog.MoveWindow(frame.left, frame.top, 700, 650);
  EXPECT_EQ(WindowRectOf(dialog).Width(), 400);
  EXPECT_EQ(WindowRectOf(dialog).Height(), 650);
  // The limits are asked for before the move: a handler may change them.
  dialog.m_largest = POINT{500, 300};
  dialog.MoveWindow(frame.left, frame.top, 700, 650);
  EXPECT_EQ(WindowRectOf(dialog), CRect(frame.left, frame.top, frame.left + 500, frame.top + 300));
  // A largest size below the smallest counts as the smallest.
  dialog.m_largest = POINT{50, 50};
  dialog.MoveWindow(frame.left, frame.top, 700, 650);
  EXPECT_EQ(WindowRectOf(dialog).Width(), 200);
  EXPECT_EQ(WindowRectOf(dialog).Height(), 100);
}

TEST(DialogPlacement, ADialogBiggerThanTheScreenOpensInsideItsFreeArea) {
  const CRect area(0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN));
  CSizingDialog resizable;
  resizable.m_smallest = POINT{300, 200};
  ASSERT_TRUE(resizable.Create(kHugeSizingDialogId));
  ProcessEvents();
  CRect shown = WindowRectOf(resizable);
  EXPECT_GE(shown.left, area.left);
  EXPECT_GE(shown.top, area.top);
  EXPECT_LE(shown.right, area.right);  // made smaller to fit
  EXPECT_LE(shown.bottom, area.bottom);
  EXPECT_GE(shown.Width(), 300);

  // A fixed size cannot change: its caption at least is on the screen.
  CSizingDialog fixed;
  ASSERT_TRUE(fixed.Create(kHugeFixedDialogId));
  ProcessEvents();
  shown = WindowRectOf(fixed);
  EXPECT_EQ(shown.left, area.left);
  EXPECT_EQ(shown.top, area.top);
  EXPECT_GT(shown.Height(), area.Height());
}

}  // namespace
