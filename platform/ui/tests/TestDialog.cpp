#include "TestDialog.h"

#include "platform/Resource.h"

namespace {

using namespace platform;

constexpr const char* kIcon[] = {"4 4 2 1", ". c #FFFFFF", "x c #000080",
                                 "xxxx", "x..x", "x..x", "xxxx"};
constexpr IconResource kIcons[] = {{kTestIconId, kIcon}};

constexpr DialogItem kItems[] = {
    EditText(kEditId, 10, 10, 100, 12, ES_AUTOHSCROLL),
    AutoCheckBox("&Check", kCheckId, 10, 30, 80, 10),
    PushButton("&Action", kActionId, 120, 10, 50, 14),
    ListBox(kListId, 10, 50, 100, 40, WS_VSCROLL | WS_TABSTOP),
    LText("&Label && more", kLabelId, 120, 30, 70, 8),
    GroupBox("Group", -1, 115, 45, 80, 40),
    PushButton("In group", kGroupedId, 120, 58, 60, 14),
    Icon(kTestIconId, kIconId, 185, 10),
    {ControlKind::Button, "Three", kThirdStateId, 10, 95, 60, 10,
     kChildVisible | BS_AUTO3STATE | WS_TABSTOP, 0},
    DefPushButton("OK", IDOK, 140, 100, 50, 14),
    PushButton("Cancel", IDCANCEL, 80, 100, 50, 14),
};

constexpr DialogTemplate kDialogs[] = {
    {kTestDialogId, "Test dialog",
     DS_MODALFRAME | WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0,
     200, 120, "MS Sans Serif", 8, kItems},
};

constexpr ResourceModule kModule{"platform_ui_tests", kDialogs, kIcons, {}, {}};
const ResourceRegistration g_resources(kModule);

}  // namespace

std::vector<int> CTestDialog::CommandsWith(UINT code) const {
  std::vector<int> ids;
  for (const auto& [id, notification] : m_commands) {
    if (notification == code) ids.push_back(id);
  }
  return ids;
}

void CTestDialog::DoDataExchange(CDataExchange* dx) {
  DDX_Control(dx, kListId, m_list);
  DDX_Text(dx, kEditId, m_text);
  DDV_MaxChars(dx, m_text, m_limit);
  DDX_Check(dx, kCheckId, m_check);
  DDX_Check(dx, kThirdStateId, m_third);
}

BOOL CTestDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  m_initDone = true;
  if (m_endInInit) EndDialog(7);
  return TRUE;
}

BOOL CTestDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  m_commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
  return CDialog::OnCommand(wParam, lParam);
}

void CTestDialog::OnSysCommand(UINT id, LPARAM lParam) {
  m_sysCommands.push_back(id);
  CDialog::OnSysCommand(id, lParam);
}

void CTestDialog::OnOK() {
  ++m_okCalls;
  CDialog::OnOK();
}

void CTestDialog::OnCancel() {
  ++m_cancelCalls;
  CDialog::OnCancel();
}
