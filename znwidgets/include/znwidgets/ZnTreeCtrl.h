// CZnTreeCtrl: a tree control that shows drives, folders and files, trees
// read from Zn INI files (name=value lines whose values form a tree) and
// their data files, and searches its items and INI sections.
//
// The tree type switches behaviour (ZN_TREE_*): in a file tree (1)
// expanding a folder reads its contents, and double-clicking a file runs
// it. Folders and drives whose contents are not read yet carry one
// placeholder child, ZN_TREE_PLACEHOLDER, so they show an expand button;
// expanding such an item under a top-level item named "Dateien" replaces
// the placeholder with the folder's subfolders (each with its own
// placeholder) and files; expanding under any other top-level item makes
// the tree a plain one (type 3) and reads nothing. So a browsable tree of
// drives is filled under a top-level item "Dateien". Folder items carry
// a leading blank, so sorted insertion puts them before the files.
//
// Items are inserted as the last child, or at their sorted place
// (without regard to case) when a filler's `sorted` is non-zero. A parent
// of TVI_ROOT means the tree's first top-level item, or the top level when
// the tree is empty.
//
// A progress dialog (CZnProgressDlg), made by CreateProgressDlg or handed
// in by SetProgressDlg, serves the lazy folder reading; the fillers and
// searches take their own dialog argument (null: none). The dialog keeps
// the program responsive: its updates handle waiting events, at most about
// every 30 ms. The destructor leaves the dialog alone (DestroyProgressDlg
// ends it); it deletes the image list made by CreateIcons.
//
// Path buffers (char* results) hold 260 bytes; a text that does not fit is
// refused (an empty text) or cut at a character boundary as each member
// says, never written past the buffer. The CZnString forms take any length.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/TreeCtrl.h"
#include "zncore/ZnString.h"

class CImageList;
class CZnProgressDlg;
namespace znwidgets::detail {
class TreeProgress;
}

// Tree types.
inline constexpr unsigned long ZN_TREE_NONE = 0;    // nothing special (also during a search)
inline constexpr unsigned long ZN_TREE_FILES = 1;   // drives, folders and files
inline constexpr unsigned long ZN_TREE_ZNINI = 2;   // read from a Zn INI file
inline constexpr unsigned long ZN_TREE_PLAIN = 3;   // expanded under a top item other than "Dateien"
inline constexpr unsigned long ZN_TREE_ZNDATA = 5;  // read from a Zn data file

// The child of a folder or drive whose contents are not read yet.
inline constexpr const char* ZN_TREE_PLACEHOLDER = "__leer / none__";
// The top-level item under which expanding reads folders.
inline constexpr const char* ZN_TREE_FILES_ITEM = "Dateien";
// How deep the recursive Zn INI fillers follow values.
inline constexpr int ZN_TREE_MAX_DEPTH = 64;

class CZnTreeCtrl : public CTreeCtrl {
public:
  CZnTreeCtrl() = default;
  // Deletes the image list; leaves the progress dialog alone.
  ~CZnTreeCtrl() override;
  CZnTreeCtrl(const CZnTreeCtrl&) = delete;
  CZnTreeCtrl& operator=(const CZnTreeCtrl&) = delete;

  // --- Members ------------------------------------------------------------------------------
  // An owner window kept for the caller; nothing else uses it. The
  // argument of GetOwner is not used.
  void SetOwner(CWnd* owner) { m_pOwner = owner; }
  CWnd* GetOwner(CWnd* ignored) const;
  void SetTreeType(unsigned long type) { m_nTreeType = type; }
  unsigned long GetTreeType() const { return m_nTreeType; }

  // Makes a progress dialog with this control as parent, keeps it (a dialog
  // kept before is destroyed first), shows it when `show` is non-zero,
  // hidden otherwise, with title, status and the range 0..100. Null when the
  // dialog cannot be made.
  CZnProgressDlg* CreateProgressDlg(const char* title, const char* status, unsigned long show);
  // Destroys and deletes the kept dialog; nothing when there is none.
  void DestroyProgressDlg();
  // Keeps a dialog made elsewhere; DestroyProgressDlg then deletes it.
  void SetProgressDlg(CZnProgressDlg* dialog) { m_pProgressDlg = dialog; }
  CZnProgressDlg* GetProgressDlg() const { return m_pProgressDlg; }

  // Makes the image list from the bitmap resource `bitmapId` cut into
  // images `cx` pixels wide, white as the transparent colour, and gives it
  // to the tree. 1 when made; 0 when there is one already or the bitmap
  // cannot be had.
  int CreateIcons(int bitmapId, int cx);
  // Takes the list from the tree and deletes it; 1.
  int DestroyIcons();

  // Expands every item from the top, reading folders as it goes (each
  // expansion shows new items that are expanded in turn); collapses the
  // top-level items.
  void ExpandAll();
  void CollapseAll();
  // Deletes the item's first child when it is the placeholder.
  void ClearDummyItem(HTREEITEM item);
  // Deletes every child of the item; 0 for a null item, else 1.
  int DeleteSubItems(HTREEITEM item);
  // Reads the folder of `item` into it (file trees only). With `refresh`
  // the children go first and the folder is read again; without, the
  // folder is read only when the item was never expanded and its only
  // child is the placeholder.
  void GetSubFileItems(HTREEITEM item, int refresh, CZnProgressDlg* dialog);

  // --- Paths and texts ---------------------------------------------------------------------------
  // The path of an item: its text and its ancestors' texts up to the
  // nearest drive item (second character ':'), leading blanks removed,
  // joined by `separator`.
  //   driveRoot: a drive item (or a top-level item) counts as its first
  //     two characters ("C:"), and an item that is one ends in the
  //     separator ("C:\").
  //   trailingSeparator: an item with children ends in exactly one
  //     separator.
  //   keepDrive: zero drops a leading "X:" ("C:\a" gives "\a").
  // The result is also left in `path`; a null item gives "" (or "\" with
  // driveRoot).
  CZnString GetTreeItemPath(HTREEITEM item, CZnString& path, char separator, int driveRoot,
                            int trailingSeparator, int keepDrive);
  // The same into a 260-byte `buffer`; a longer path gives "". Returns
  // `buffer`.
  char* GetTreeItemPath(HTREEITEM item, char* buffer, char separator, int driveRoot,
                        int trailingSeparator, int keepDrive);
  // The number of backslashes in the item's plain path (separator '\',
  // all switches 0): 0 for a top-level item. The text is not used.
  int GetItemLevel(HTREEITEM item, char* ignored);
  // The top-level ancestor (the item itself at the top); null for null.
  HTREEITEM GetBaseItem(HTREEITEM item);
  // The text of the top-level ancestor (its first two characters with
  // `driveOnly`), "" for a null item. The text goes into a buffer of the
  // library shared by both members and overwritten by the next call of
  // either; also into `buffer` (260 bytes, cut to fit) when not null.
  // Returns `buffer`, or the shared buffer when `buffer` is null.
  char* GetBaseItemText(HTREEITEM item, char* buffer, int driveOnly);
  // The same for the item's parent ("" when it has none).
  char* GetParentItemText(HTREEITEM item, char* buffer, int driveOnly);
  CString GetParentItemTextEx(HTREEITEM item, int driveOnly);
  // 1 or 0: the expanded bit, the expanded-once bit; "visible": the item
  // is top-level or itself expanded.
  int IsItemExpanded(HTREEITEM item);
  int IsItemExpandedOnce(HTREEITEM item);
  int IsItemVisible(HTREEITEM item);

  // --- Fillers ---------------------------------------------------------------------------------
  // A line of a Zn INI file counts for key K when, after leading blanks, it
  // begins with K and its name (the text before the first "=") is K; its
  // value is the text after the "=" without trailing line ends; empty
  // values are skipped. Lines longer than 999 bytes are read as several
  // lines; a line ends at a zero byte. `clear` deletes all items first.

  // Inserts the values of the lines for `key` under `parent`; with
  // `recursive` each value's own lines below it, sorted, level by level.
  // A value that is a key already on the way down, or a level deeper than
  // ZN_TREE_MAX_DEPTH, is shown without being followed, so a file that
  // describes a cycle ends. 1 when the file could be opened, else 0. Tree
  // type 2.
  int InitTreeWithRecZnIni(const char* path, const char* key, HTREEITEM parent, int clear,
                           int sorted, int recursive, CZnProgressDlg* dialog);
  // Inserts the values of the lines for `key`; with `twoLevels`, under each
  // value V the values of the lines after V's line whose name begins with
  // V. Reads `file` from its position when not null (and closes it), else
  // opens `path`. 1 when there was a file, else 0. Tree type 2.
  int InitTreeWithZnIni(const char* path, std::FILE* file, const char* key, HTREEITEM parent,
                        int clear, int sorted, int twoLevels, CZnProgressDlg* dialog);
  // As InitTreeWithRecZnIni for data files: the line must begin with the key
  // byte for byte, the name then equals it without regard to case. Tree
  // type 5.
  int InitTreeWithZnData(const char* path, const char* key, HTREEITEM parent, int clear,
                         int sorted, int recursive, CZnProgressDlg* dialog);
  // The entries of `folder` matching `mask`, in the file search's order,
  // without "." and "..": folders as a blank and the name with
  // `folderImage` (and a placeholder child with `placeholders`), files
  // with `fileImage`; an image above 0 comes with `selectedImage`, else the
  // item has none. `clear` deletes the parent's children first. 1 when the
  // mask matched anything, else 0. Tree type 1.
  int InitTreeWithFiles(const char* folder, const char* mask, HTREEITEM parent, int clear,
                        int sorted, int placeholders, int folderImage, int fileImage,
                        int selectedImage, CZnProgressDlg* dialog);
  // One item per drive ("C:", with " (label)" and " (kind)" on request),
  // each with a placeholder child; A: and B: only `withFloppies`. A drive
  // that does not answer within the platform's query limit shows an empty
  // label and the kind "UNDEF". `clear` deletes all items first. 1. Tree
  // type 1.
  int InitTreeWithDrives(HTREEITEM parent, int withFloppies, int clear, int sorted,
                         int withVolumeName, int withDriveType, int image, int selectedImage,
                         CZnProgressDlg* dialog);
  // Reserved: 1, nothing done, tree type unchanged.
  int InitTreeWithStrList(const char* list, unsigned long count, HTREEITEM parent, char separator,
                          int clear, int sorted, int a, int b, int c, CZnProgressDlg* dialog);
  int InitTreeWithIniSections(const char* path, HTREEITEM parent, int clear, int sorted, int a,
                              int b, CZnProgressDlg* dialog);

  // --- Search ----------------------------------------------------------------------------------
  // The first item from `start` (TVI_ROOT: the first top-level item) on,
  // searching each item's children before its next sibling (or next
  // visible item with `nextVisible`), whose text equals `text` (without
  // regard to case with `ignoreCase`) or, with `contained`, occurs within
  // `text`. With `select` the item found is selected (its ancestors
  // expand) and the tree gets the focus. Null when none matches; the
  // selection and the tree type stay as they were.
  HTREEITEM FindTreeItem(const char* text, HTREEITEM start, int ignoreCase, int nextVisible,
                         int select, int contained, CZnProgressDlg* dialog);
  // As FindTreeItem, for an item whose text is the beginning of `text` (an
  // empty item text matches any text); the walk goes by siblings.
  HTREEITEM FindTreeItemBase(const char* text, HTREEITEM start, int ignoreCase, int select,
                             CZnProgressDlg* dialog);
  // Searches every entry (name=value) of every section but "Main" of the
  // INI file for both patterns (byte for byte) and inserts, sorted under
  // `parent`, one item per hit: the value of the section's key <section
  // name><keySuffix>, ",         " and the section name. 1 when the
  // sections were searched; 0 when the file has none or memory is short.
  int FindInSection(const char* iniFile, const char* pattern1, const char* pattern2,
                    HTREEITEM parent, const char* keySuffix, CZnProgressDlg* dialog);

protected:
  // The handlers act only while m_bHandlersOn is non-zero; each answers 0.
  // A click keeps the selection before it as the last item; a double click
  // on a file of a file tree runs it (RunFile: a program starts, a
  // document opens with its program); expanding an item decides the tree
  // type from its top-level item and reads folders lazily.
  void OnTreeClick(NMHDR* header, LRESULT* result) override;
  void OnTreeRightClick(NMHDR* header, LRESULT* result) override;
  void OnTreeDoubleClick(NMHDR* header, LRESULT* result) override;
  void OnTreeSelChange(NMHDR* header, LRESULT* result) override;
  void OnItemExpanding(NMHDR* header, LRESULT* result) override;
  void OnItemExpanded(NMHDR* header, LRESULT* result) override;

  CWnd* m_pOwner = nullptr;
  HTREEITEM m_hLastItem = nullptr;  // the selection before the latest click, or the latest one
  int m_nReserved = 0;
  unsigned long m_nTreeType = ZN_TREE_NONE;
  CZnProgressDlg* m_pProgressDlg = nullptr;
  int m_bHandlersOn = 1;
  CImageList* m_pImageList = nullptr;

private:
  bool IsFolderAbove(HTREEITEM item, const CZnString& path);
  HTREEITEM MapParent(HTREEITEM parent);
  HTREEITEM Insert(const char* text, HTREEITEM parent, int sorted);
  int FillZnIni(const char* path, const char* key, HTREEITEM parent, int clear, int sorted,
                int recursive, bool dataFile, CZnProgressDlg* dialog);
  int FillZnIniLevel(std::FILE* file, const char* path, const char* key, HTREEITEM parent,
                     int sorted, int recursive, bool dataFile, znwidgets::detail::TreeProgress& progress,
                     std::vector<std::string>& keysOnPath);
  HTREEITEM FindItem(const char* text, HTREEITEM start, int ignoreCase, int nextVisible,
                     int contained, bool leadingPart, CZnProgressDlg* dialog);
};
