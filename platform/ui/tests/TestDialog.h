// A dialog with one control of each kind, for the window layer's tests. It
// records the commands it receives and binds an edit field, a check box and
// a list box to members.
#pragma once

#include <utility>
#include <vector>

#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/ListBox.h"

inline constexpr UINT kTestDialogId = 9001;
inline constexpr UINT kTestIconId = 9100;
inline constexpr int kEditId = 101;
inline constexpr int kCheckId = 102;
inline constexpr int kActionId = 103;
inline constexpr int kListId = 104;
inline constexpr int kLabelId = 105;
inline constexpr int kGroupedId = 106;
inline constexpr int kIconId = 107;
inline constexpr int kThirdStateId = 108;

class CTestDialog : public CDialog {
public:
  explicit CTestDialog(CWnd* parent = nullptr) : CDialog(kTestDialogId, parent) {}

  CString m_text = "start";
  int m_check = 1;
  int m_third = 0;
  int m_limit = 5;
  CListBox m_list;
  bool m_endInInit = false;
  bool m_initDone = false;

  std::vector<std::pair<int, UINT>> m_commands;  // id, notification
  std::vector<UINT> m_sysCommands;
  int m_okCalls = 0;
  int m_cancelCalls = 0;

  // The commands with this notification code, by id.
  std::vector<int> CommandsWith(UINT code) const;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSysCommand(UINT id, LPARAM lParam) override;
  void OnOK() override;
  void OnCancel() override;
};
