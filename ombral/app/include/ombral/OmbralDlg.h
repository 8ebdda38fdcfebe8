// COmbralDlg: Ombral's main dialog. It holds the scan settings in its
// controls, runs the scan (the "Scan..." button, or Enter), reports it in the
// protocol list and the status line, and offers the folder and file pickers,
// the open-in-browser button and the about box.
//
// The protocol list holds at most 3001 lines: once more than 3000 lines
// were added since it was last emptied, the next line empties it first. It
// is emptied at the start of every scan, by typing in the path, index or
// frame field, by a click on one of the options "Overwrite HTML files",
// "Recurse subdirectories", "Close after scan" and "No logging (faster)",
// and when it runs out of space (then it says so in its first line). The
// filter field and "Ignore empty paths" leave it alone.
#pragma once

#include "ombral/OmbralResource.h"
#include "ombral/OmbralScan.h"
#include "platform/Dialog.h"
#include "platform/ListBox.h"

class COmbralDlg : public CDialog, public COmbralScan {
public:
  enum { IDD = IDD_OMBRAL_DIALOG };

  explicit COmbralDlg(CWnd* parent = nullptr);

  // Puts `path` into the path field and runs the dialog modally; the
  // dialog's result (IDOK after "Close after scan", else IDCANCEL).
  virtual INT_PTR RunWithPath(const char* path);

  // Appends a line to the protocol, selects it (so it shows) and counts it.
  void AddProtocolLine(const char* text) override;
  // Empties the protocol.
  void ClearProtocol() override;
  // Empties the protocol and says so in its first line.
  void ResetProtocol();
  // Folds the protocol in (the window 350 pixels lower) or out again.
  void ToggleProtocol();

  CListBox m_listProtocol;
  int m_nProtocolLines = 0;  // lines added since the list was last emptied
  int m_bProtocolShown = 1;
  HICON m_hIcon = nullptr;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  // The scan run; with "Close after scan" a completed run ends the dialog.
  void OnOK() override;
  // Esc and the close box: asks "Close application?" first.
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  // The about item of the system menu shows the about box.
  void OnSysCommand(UINT id, LPARAM lParam) override;

  void OnCloseButton();
  void OnBrowseFolder();
  void OnBrowseFile();
  void OnOpenIndex();

  // The scan's reports.
  void SetStatusText(const char* text) override;
  void ShowWarning(const char* text) override;
  void LoadSettings() override;

private:
  // The window that owns the pickers: the program's main window.
  HWND PickerOwner() const;

  bool m_bResetting = false;
};
