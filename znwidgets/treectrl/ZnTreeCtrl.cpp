// CZnTreeCtrl: members, the progress dialog, icons, expansion, the
// placeholder, lazy folder reading and the notification handlers.
#include "znwidgets/ZnTreeCtrl.h"

#include <cstring>

#include "platform/FileSystem.h"
#include "platform/ImageList.h"
#include "platform/RunFile.h"
#include "znwidgets/ZnProgressDlg.h"

CZnTreeCtrl::~CZnTreeCtrl() { delete m_pImageList; }

CWnd* CZnTreeCtrl::GetOwner(CWnd*) const { return m_pOwner; }

// --- Progress dialog and icons ---------------------------------------------------------------

CZnProgressDlg* CZnTreeCtrl::CreateProgressDlg(const char* title, const char* status,
                                               unsigned long show) {
  // A dialog kept before would otherwise stay up, its owner disabled.
  DestroyProgressDlg();
  auto* dialog = new CZnProgressDlg;
  if (!dialog->Create(this)) {
    delete dialog;
    return nullptr;
  }
  m_pProgressDlg = dialog;
  dialog->ShowWindow(show ? SW_SHOW : SW_HIDE);
  dialog->SetTitle(title ? title : "");
  dialog->SetStatus(status ? status : "");
  dialog->SetRange(0, 100);
  return dialog;
}

void CZnTreeCtrl::DestroyProgressDlg() {
  if (m_pProgressDlg) {
    m_pProgressDlg->DestroyWindow();
    delete m_pProgressDlg;
  }
  m_pProgressDlg = nullptr;
}

int CZnTreeCtrl::CreateIcons(int bitmapId, int cx) {
  if (m_pImageList) return 0;
  auto* list = new CImageList;
  if (!list->Create(static_cast<UINT>(bitmapId), cx, 1, RGB(255, 255, 255))) {
    delete list;
    return 0;
  }
  m_pImageList = list;
  SetImageList(list, TVSIL_NORMAL);
  return 1;
}

int CZnTreeCtrl::DestroyIcons() {
  SetImageList(nullptr, TVSIL_NORMAL);
  UpdateWindow();
  delete m_pImageList;
  m_pImageList = nullptr;
  return 1;
}

// --- Expansion and children ---------------------------------------------------------------------

void CZnTreeCtrl::ExpandAll() {
  for (HTREEITEM item = GetRootItem(); item; item = GetNextVisibleItem(item)) {
    Expand(item, TVE_EXPAND);
  }
}

void CZnTreeCtrl::CollapseAll() {
  for (HTREEITEM item = GetRootItem(); item; item = GetNextVisibleItem(item)) {
    Expand(item, TVE_COLLAPSE);
  }
}

void CZnTreeCtrl::ClearDummyItem(HTREEITEM item) {
  HTREEITEM child = item ? GetChildItem(item) : nullptr;
  if (child && GetItemText(child) == ZN_TREE_PLACEHOLDER) DeleteItem(child);
}

int CZnTreeCtrl::DeleteSubItems(HTREEITEM item) {
  if (!item) return 0;
  while (HTREEITEM child = GetChildItem(item)) {
    if (!DeleteItem(child)) break;
  }
  return 1;
}

int CZnTreeCtrl::IsItemExpanded(HTREEITEM item) {
  return GetItemState(item, TVIS_EXPANDED) ? 1 : 0;
}

int CZnTreeCtrl::IsItemExpandedOnce(HTREEITEM item) {
  return GetItemState(item, TVIS_EXPANDEDONCE) ? 1 : 0;
}

int CZnTreeCtrl::IsItemVisible(HTREEITEM item) {
  return !GetParentItem(item) || IsItemExpanded(item) ? 1 : 0;
}

void CZnTreeCtrl::GetSubFileItems(HTREEITEM item, int refresh, CZnProgressDlg* dialog) {
  if (m_nTreeType != ZN_TREE_FILES || !item) return;
  if (refresh) {
    DeleteSubItems(item);
  } else {
    if (IsItemExpandedOnce(item)) return;
    HTREEITEM child = GetChildItem(item);
    if (!child || GetItemText(child) != ZN_TREE_PLACEHOLDER) return;
    DeleteItem(child);
  }
  CZnString path;
  GetTreeItemPath(item, path, '\\', 1, 0, 1);
  if (IsFolderAbove(item, path)) return;
  InitTreeWithFiles(path, "*.*", item, 0, 1, 1, 0, 1, 10, dialog);
}

// A folder that is also the folder of an item above (a link back up) is
// not read: its contents would repeat at every level, and ExpandAll would
// never end.
bool CZnTreeCtrl::IsFolderAbove(HTREEITEM item, const CZnString& path) {
  platform::FileIdentity folder;
  if (!platform::GetFileIdentity(path.GetString(), folder)) return false;
  for (HTREEITEM above = GetParentItem(item); above; above = GetParentItem(above)) {
    CZnString abovePath;
    GetTreeItemPath(above, abovePath, '\\', 1, 0, 1);
    platform::FileIdentity identity;
    if (platform::GetFileIdentity(abovePath.GetString(), identity) && identity == folder) return true;
    const CString text = GetItemText(above);
    if (text.GetLength() >= 2 && text[1] == ':') break;  // the drive item: paths begin there
  }
  return false;
}

// --- Handlers ----------------------------------------------------------------------------------------

void CZnTreeCtrl::OnTreeClick(NMHDR*, LRESULT* result) {
  *result = 0;
  // The click has not moved the selection yet: this is the one before it.
  if (m_bHandlersOn) m_hLastItem = GetSelectedItem();
}

void CZnTreeCtrl::OnTreeRightClick(NMHDR*, LRESULT* result) { *result = 0; }

void CZnTreeCtrl::OnTreeDoubleClick(NMHDR*, LRESULT* result) {
  *result = 0;
  if (!m_bHandlersOn) return;
  HTREEITEM selected = GetSelectedItem();
  if (selected && m_nTreeType == ZN_TREE_FILES) {
    CZnString path;
    GetTreeItemPath(selected, path, '\\', 1, 1, 1);
    // A drive or a folder with children ends in a backslash: nothing runs.
    if (!path.IsEmpty() && path[path.GetLength() - 1] == '\\') return;
    RunFile(m_hWnd, path, SW_SHOWNORMAL);
  }
  m_hLastItem = selected;
}

void CZnTreeCtrl::OnTreeSelChange(NMHDR*, LRESULT* result) {
  *result = 0;
  if (!m_bHandlersOn) return;
  HTREEITEM selected = GetSelectedItem();
  if (GetCount() > 0 && selected) m_hLastItem = selected;
}

void CZnTreeCtrl::OnItemExpanding(NMHDR* header, LRESULT* result) {
  *result = 0;
  if (!m_bHandlersOn) return;
  HTREEITEM item = reinterpret_cast<NMTREEVIEW*>(header)->itemNew.hItem;
  const bool files = std::strcmp(GetItemText(GetBaseItem(item)), ZN_TREE_FILES_ITEM) == 0;
  m_nTreeType = files ? ZN_TREE_FILES : ZN_TREE_PLAIN;
  if (files) GetSubFileItems(item, 0, m_pProgressDlg);
}

void CZnTreeCtrl::OnItemExpanded(NMHDR*, LRESULT* result) { *result = 0; }

// --- Reserved ----------------------------------------------------------------------------------------

int CZnTreeCtrl::InitTreeWithStrList(const char*, unsigned long, HTREEITEM, char, int, int, int, int,
                                     int, CZnProgressDlg*) {
  return 1;
}

int CZnTreeCtrl::InitTreeWithIniSections(const char*, HTREEITEM, int, int, int, int, CZnProgressDlg*) {
  return 1;
}
