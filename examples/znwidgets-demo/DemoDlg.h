// CDemoDlg: one window that shows every ZnWidgets class at work.
//
// Left, a CZnTreeCtrl with the drives under "Dateien", read lazily as the
// user expands them; selecting a folder fills the CZnListCtrl on the right
// with its files (name, date, size, type). A heading click sorts the list
// (sizes as numbers, a second click the other way round, the heading's
// arrow showing the order) and groups it by type; the three highlight
// buttons choose the selection's shape, and the selection stays visible
// while they have the focus. At first the list holds a few hundred
// generated rows. The buttons below run a long cancellable operation under
// CZnProgressDlg, show the file and folder pickers and open the selected
// file with CZnWndTool, and every action is logged in a CZnListBox at the
// bottom. The window can be resized: the tree, the list and the log grow
// with it, the buttons keep their size and their place at its edges.
#pragma once

#include <string>

#include "DemoList.h"
#include "DemoTree.h"
#include "platform/Dialog.h"
#include "znwidgets/ZnWidgets.h"

class CDemoDlg : public CDialog {
public:
  CDemoDlg();

  // Fills the list with `count` generated rows (the same ones every time).
  void FillSampleRows(int count);
  // Fills the list with the files of the folder the tree item stands for;
  // false when the item is no drive or folder (nothing changes then).
  bool ShowFolder(HTREEITEM item);
  // Works through `steps` items under a progress dialog; returns the number
  // done (fewer when "Abbrechen" was pressed).
  int RunLongOperation(int steps);
  // The progress dialog while RunLongOperation runs, else null.
  CZnProgressDlg* CurrentProgress() { return m_pProgress; }
  // The folder whose files the list shows; "" for the generated rows.
  const CZnString& ShownFolder() const { return m_strFolder; }
  // The "Dateien" item that holds the drives.
  HTREEITEM FilesItem() const { return m_hFiles; }

  CDemoTree m_tree;
  CDemoList m_list;
  CZnListBox m_log;

protected:
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnGetMinMaxInfo(MINMAXINFO* info) override;

private:
  void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void PrepareColumns();
  void SetHighlight(CZnListCtrl::EHighlight type, const char* name);
  void PickFile();
  void PickFolder();
  void OpenDocument();
  void ListFolder(const CZnString& folder);
  // The size column as wide as its longest text (`characters`) needs.
  void FitSizeColumn(std::size_t characters);
  // A folder listing shows its progress window after this many files, and
  // updates it (and answers the user) after each step of files.
  static constexpr int kFilesBeforeProgress = 2000;
  static constexpr int kFilesPerStep = 500;
  void Sorted(int column, bool ascending);
  // Places the controls for a client area of `width` by `height` pixels.
  void Layout(int width, int height);
  // Moves the control `id` to a rectangle of the client area.
  void Place(int id, int x, int y, int width, int height);
  // A size in dialog units as pixels of this dialog's font.
  CSize Units(int x, int y) const;

  HTREEITEM m_hFiles = nullptr;
  CZnString m_strFolder;
  CZnProgressDlg* m_pProgress = nullptr;
};
