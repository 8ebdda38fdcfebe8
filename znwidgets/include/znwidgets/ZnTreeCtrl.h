/// @file
/// CZnTreeCtrl: a tree control for drives, folders, files and Zn INI trees,
/// with tree search.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/TreeCtrl.h"
#include "zncore/ZnString.h"

class CImageList;
class CZnProgressDlg;
namespace znwidgets::detail {
struct ZnIniFill;
}

/// Tree type: nothing special (also while a search runs).
/// @ingroup znwidgets_tree
inline constexpr unsigned long ZN_TREE_NONE = 0;
/// Tree type: drives, folders and files; expanding reads folders,
/// double-clicking a file runs it.
/// @ingroup znwidgets_tree
inline constexpr unsigned long ZN_TREE_FILES = 1;
/// Tree type: read from a Zn INI file.
/// @ingroup znwidgets_tree
inline constexpr unsigned long ZN_TREE_ZNINI = 2;
/// Tree type: an item was expanded under a top-level item other than
/// "Dateien".
/// @ingroup znwidgets_tree
inline constexpr unsigned long ZN_TREE_PLAIN = 3;
/// Tree type: read from a Zn data file.
/// @ingroup znwidgets_tree
inline constexpr unsigned long ZN_TREE_ZNDATA = 5;

/// The child of a folder or drive whose contents are not read yet.
/// @ingroup znwidgets_tree
inline constexpr const char* ZN_TREE_PLACEHOLDER = "__leer / none__";
/// The top-level item under which expanding reads folders.
/// @ingroup znwidgets_tree
inline constexpr const char* ZN_TREE_FILES_ITEM = "Dateien";
/// How many levels deep the recursive Zn INI fillers follow values.
/// @ingroup znwidgets_tree
inline constexpr int ZN_TREE_MAX_DEPTH = 64;
/// The most items one call of a Zn INI filler (InitTreeWithRecZnIni,
/// InitTreeWithZnData, InitTreeWithZnIni) inserts. Values that name keys
/// more than once make the tree grow with every level (a file whose keys
/// each name the next key twice describes 2^(depth+1) - 1 items in a few
/// dozen lines), so the depth limit alone does not bound the work.
/// @ingroup znwidgets_tree
inline constexpr long ZN_TREE_MAX_FILL_ITEMS = 100000;
/// The most lines one call of a Zn INI filler reads, counting every time a
/// line is read again: each inserted item reads the whole file once more
/// to find its own children, so the work grows with items times lines (a
/// file of 7,000 lines, one item each, is still read whole). Together with
/// ZN_TREE_MAX_FILL_ITEMS this bounds a call to a few seconds.
/// @ingroup znwidgets_tree
inline constexpr long ZN_TREE_MAX_FILL_LINES = 50000000;

/// A tree control that shows drives, folders and files, trees read from Zn
/// INI files (name=value lines whose values form a tree) and their data
/// files, and searches its items and INI sections.
///
/// The tree type (ZN_TREE_*) switches behaviour: in a file tree expanding a
/// folder reads its contents, and double-clicking a file runs it. Folders
/// and drives whose contents are not read yet carry one placeholder child,
/// ZN_TREE_PLACEHOLDER, so they show an expand button. Expanding such an
/// item under a top-level item named "Dateien" replaces the placeholder
/// with the folder's subfolders (each with its own placeholder) and files;
/// expanding under any other top-level item makes the tree a plain one
/// (ZN_TREE_PLAIN) and reads nothing. So a browsable tree of drives is
/// filled under a top-level item "Dateien". Folder items carry a leading
/// blank, so sorted insertion puts them before the files.
///
/// Items are inserted as the last child, or at their sorted place (without
/// regard to case) when a filler's `sorted` is non-zero. A parent of
/// TVI_ROOT means the tree's first top-level item, or the top level when
/// the tree is empty.
///
/// A progress dialog (CZnProgressDlg), made by CreateProgressDlg or handed
/// in by SetProgressDlg, serves the lazy folder reading; the fillers and
/// searches take their own dialog argument (null: none). The dialog keeps
/// the program responsive: its updates handle waiting events, at most about
/// every 30 ms. The destructor leaves the dialog alone (DestroyProgressDlg
/// ends it); it deletes the image list made by CreateIcons.
///
/// Path buffers (char* results) hold 260 bytes; a text that does not fit is
/// refused (an empty text) or cut at a character boundary as each member
/// says, never written past the buffer. The CZnString forms take any length.
///
/// The control is a tree view of a dialog template ("SysTreeView32"),
/// attached with DDX_Control or SubclassDlgItem, or made by CTreeCtrl's
/// Create.
/// @ingroup znwidgets_tree
class CZnTreeCtrl : public CTreeCtrl {
public:
  /// An object without a window: tree type ZN_TREE_NONE, handlers on, no
  /// owner, progress dialog or image list.
  CZnTreeCtrl() = default;
  /// Deletes the image list; leaves the progress dialog alone.
  ~CZnTreeCtrl() override;
  /// Not copyable: the object stands for one window.
  CZnTreeCtrl(const CZnTreeCtrl&) = delete;
  /// Not copyable: the object stands for one window.
  CZnTreeCtrl& operator=(const CZnTreeCtrl&) = delete;

  /// @name Members
  /// @{

  /// Keeps an owner window for the caller; nothing else uses it.
  void SetOwner(CWnd* owner) { m_pOwner = owner; }
  /// The owner kept by SetOwner; the argument is not used.
  CWnd* GetOwner(CWnd* ignored) const;
  /// Sets the tree type (ZN_TREE_*).
  void SetTreeType(unsigned long type) { m_nTreeType = type; }
  /// The tree type (ZN_TREE_*).
  unsigned long GetTreeType() const { return m_nTreeType; }
  /// @}

  /// @name Progress dialog and icons
  /// @{

  /// Makes a progress dialog with this control as parent, keeps it (a
  /// dialog kept before is destroyed first), shows it when `show` is
  /// non-zero, hidden otherwise, with title, status and the range 0..100.
  /// Null when the dialog cannot be made.
  CZnProgressDlg* CreateProgressDlg(const char* title, const char* status, unsigned long show);
  /// Destroys and deletes the kept dialog; nothing when there is none.
  void DestroyProgressDlg();
  /// Keeps a dialog made elsewhere; DestroyProgressDlg then deletes it.
  void SetProgressDlg(CZnProgressDlg* dialog) { m_pProgressDlg = dialog; }
  /// The kept dialog; null when there is none.
  CZnProgressDlg* GetProgressDlg() const { return m_pProgressDlg; }
  /// Makes the image list from the bitmap resource `bitmapId` cut into
  /// images `cx` pixels wide, white as the transparent colour, and gives it
  /// to the tree. 1 when made; 0 when there is one already or the bitmap
  /// cannot be had. The lazy folder reading shows image 0 for folders, 1
  /// for files and 10 for a selected file.
  int CreateIcons(int bitmapId, int cx);
  /// Takes the list from the tree and deletes it; 1.
  int DestroyIcons();
  /// @}

  /// @name Expansion and children
  /// @{

  /// Expands every item from the top, reading folders as it goes (each
  /// expansion shows new items that are expanded in turn).
  void ExpandAll();
  /// Collapses the top-level items.
  void CollapseAll();
  /// Deletes the item's first child when it is the placeholder.
  void ClearDummyItem(HTREEITEM item);
  /// Deletes every child of the item; 0 for a null item, else 1.
  int DeleteSubItems(HTREEITEM item);
  /// Reads the folder of `item` into it (file trees only). With `refresh`
  /// the children go first and the folder is read again; without, the
  /// folder is read only when the item was never expanded and its first
  /// child is the placeholder. A folder that is also the folder of an item
  /// above it (a link back up) is not read.
  void GetSubFileItems(HTREEITEM item, int refresh, CZnProgressDlg* dialog);
  /// 1 when the item's children show (expanded), else 0.
  int IsItemExpanded(HTREEITEM item);
  /// 1 when the item was ever expanded, else 0.
  int IsItemExpandedOnce(HTREEITEM item);
  /// 1 when the item is top-level or itself expanded, else 0.
  int IsItemVisible(HTREEITEM item);
  /// @}

  /// @name Paths and texts
  /// @{

  /// The path of an item: its text and its ancestors' texts up to the
  /// nearest drive item (second character ':'), leading blanks removed,
  /// joined by `separator`.
  ///  - driveRoot: a drive item (or a top-level item) counts as its first
  ///    two characters ("C:"), and an item that is one ends in the
  ///    separator (`C:\`).
  ///  - trailingSeparator: an item with children ends in exactly one
  ///    separator.
  ///  - keepDrive: zero drops a leading "X:" (`C:\a` gives `\a`).
  ///
  /// The result is also left in `path`; a null item gives "" (or the
  /// separator alone with driveRoot).
  CZnString GetTreeItemPath(HTREEITEM item, CZnString& path, char separator, int driveRoot,
                            int trailingSeparator, int keepDrive);
  /// The same into a 260-byte `buffer`; a longer path gives "". Returns
  /// `buffer`.
  char* GetTreeItemPath(HTREEITEM item, char* buffer, char separator, int driveRoot,
                        int trailingSeparator, int keepDrive);
  /// The number of backslashes in the item's plain path (separator `\`,
  /// all switches 0): 0 for a top-level item. The text is not used.
  int GetItemLevel(HTREEITEM item, char* ignored);
  /// The top-level ancestor (the item itself at the top); null for null.
  HTREEITEM GetBaseItem(HTREEITEM item);
  /// The text of the top-level ancestor (its first two characters with
  /// `driveOnly`), "" for a null item. The text goes into a buffer of the
  /// library (260 bytes; a longer text is cut at a character boundary)
  /// shared by both text members and overwritten by the next call of
  /// either; also into `buffer` (260 bytes) when not null. Returns
  /// `buffer`, or the shared buffer when `buffer` is null: that pointer
  /// stays valid, and shows the latest text of either member.
  char* GetBaseItemText(HTREEITEM item, char* buffer, int driveOnly);
  /// As GetBaseItemText for the item's parent ("" when it has none).
  char* GetParentItemText(HTREEITEM item, char* buffer, int driveOnly);
  /// The parent's text (its first two characters with `driveOnly`); "" for
  /// a null item or an item without parent.
  CString GetParentItemTextEx(HTREEITEM item, int driveOnly);
  /// @}

  /// @name Fillers
  /// A line of a Zn INI file counts for key K when, after leading blanks,
  /// it begins with K and its name (the text before the first "=") is K;
  /// its value is the text after the "=" without trailing line ends and
  /// blanks; empty values are skipped. Lines longer than 999 bytes are read
  /// as several lines; a line ends at a zero byte. `clear` deletes all
  /// items first.
  /// @{

  /// Inserts the values of the lines for `key` under `parent`; with
  /// `recursive` each value's own lines below it, sorted, level by level.
  /// A value that is a key already on the way down, or a level deeper than
  /// ZN_TREE_MAX_DEPTH, is shown without being followed, so a file that
  /// describes a cycle ends. A call that would insert more than
  /// ZN_TREE_MAX_FILL_ITEMS items or read more than ZN_TREE_MAX_FILL_LINES
  /// lines stops there and leaves the items inserted so far. 1 when the
  /// file could be opened and read within those limits; 0 when it could
  /// not be opened or the limits stopped the call. Tree type
  /// ZN_TREE_ZNINI.
  int InitTreeWithRecZnIni(const char* path, const char* key, HTREEITEM parent, int clear,
                           int sorted, int recursive, CZnProgressDlg* dialog);
  /// Inserts the values of the lines for `key`; with `twoLevels`, under
  /// each value V the values of the lines after V's line whose name begins
  /// with V. Reads `file` from its position when not null (and closes it),
  /// else opens `path`. The limits of InitTreeWithRecZnIni apply (each
  /// value reads the rest of the file again). 1 when there was a file and
  /// the limits did not stop the call, else 0. Tree type ZN_TREE_ZNINI.
  int InitTreeWithZnIni(const char* path, std::FILE* file, const char* key, HTREEITEM parent,
                        int clear, int sorted, int twoLevels, CZnProgressDlg* dialog);
  /// As InitTreeWithRecZnIni for data files: the line must begin with the
  /// key byte for byte, the name then equals it without regard to case.
  /// The same limits apply. Tree type ZN_TREE_ZNDATA.
  int InitTreeWithZnData(const char* path, const char* key, HTREEITEM parent, int clear,
                         int sorted, int recursive, CZnProgressDlg* dialog);
  /// The entries of `folder` matching `mask`, in the file search's order,
  /// without "." and "..": folders as a blank and the name with
  /// `folderImage` (and a placeholder child with `placeholders`), files
  /// with `fileImage`; an image above 0 comes with `selectedImage`, else
  /// the item has none. `clear` deletes the parent's children first. 1 when
  /// the mask matched anything, else 0. Tree type ZN_TREE_FILES.
  int InitTreeWithFiles(const char* folder, const char* mask, HTREEITEM parent, int clear,
                        int sorted, int placeholders, int folderImage, int fileImage,
                        int selectedImage, CZnProgressDlg* dialog);
  /// One item per drive ("C:", with " (label)" and " (kind)" on request:
  /// UNDEF, NoRoot, Removable, Fixed, Net, CDRom, RAM), each with a
  /// placeholder child; A: and B: only `withFloppies`. A drive that does
  /// not answer within the platform's query limit (a dead network mount)
  /// shows an empty label and the kind "UNDEF". 1. Tree type ZN_TREE_FILES.
  int InitTreeWithDrives(HTREEITEM parent, int withFloppies, int clear, int sorted,
                         int withVolumeName, int withDriveType, int image, int selectedImage,
                         CZnProgressDlg* dialog);
  /// Reserved: 1, nothing done, tree type unchanged.
  int InitTreeWithStrList(const char* list, unsigned long count, HTREEITEM parent, char separator,
                          int clear, int sorted, int a, int b, int c, CZnProgressDlg* dialog);
  /// Reserved: 1, nothing done, tree type unchanged.
  int InitTreeWithIniSections(const char* path, HTREEITEM parent, int clear, int sorted, int a,
                              int b, CZnProgressDlg* dialog);
  /// @}

  /// @name Search
  /// @{

  /// The first item from `start` (TVI_ROOT: the first top-level item) on,
  /// searching each item's children before its next sibling (or next
  /// visible item with `nextVisible`), whose text equals `text` (without
  /// regard to case with `ignoreCase`) or, with `contained`, occurs within
  /// `text`. With `select` the item found is selected (its ancestors
  /// expand) and the tree gets the focus. Null when none matches; the
  /// selection and the tree type stay as they were.
  HTREEITEM FindTreeItem(const char* text, HTREEITEM start, int ignoreCase, int nextVisible,
                         int select, int contained, CZnProgressDlg* dialog);
  /// As FindTreeItem, for an item whose text is the beginning of `text` (an
  /// empty item text matches any text); the walk goes by siblings.
  HTREEITEM FindTreeItemBase(const char* text, HTREEITEM start, int ignoreCase, int select,
                             CZnProgressDlg* dialog);
  /// Searches every entry (name=value) of every section but "Main" of the
  /// INI file for both patterns (byte for byte) and inserts, sorted under
  /// `parent`, one item per hit: the value of the section's key made of
  /// the section name and `keySuffix`, ",         " and the section name. Section names and
  /// keys are cut to 299 bytes, entries and values to 2,999. 1 when the
  /// sections were searched; 0 when the file has none or memory is short.
  int FindInSection(const char* iniFile, const char* pattern1, const char* pattern2,
                    HTREEITEM parent, const char* keySuffix, CZnProgressDlg* dialog);
  /// @}

protected:
  /// @name Handlers
  /// They act only while m_bHandlersOn is non-zero; each answers 0. The
  /// notifications they handle are the tree's: the parent window does not
  /// get NM_CLICK, NM_RCLICK, NM_DBLCLK, TVN_SELCHANGED, TVN_ITEMEXPANDING
  /// or TVN_ITEMEXPANDED from it (a derived class that wants to act on one
  /// overrides the handler and calls this class's first).
  /// @{

  /// Keeps the selection before the click as the last item.
  void OnTreeClick(NMHDR* header, LRESULT* result) override;
  /// Does nothing.
  void OnTreeRightClick(NMHDR* header, LRESULT* result) override;
  /// In a file tree, runs the selected file (RunFile: a program starts, a
  /// document opens with its program; the path is never given to a shell);
  /// a drive or folder with children runs nothing. Keeps the selection as
  /// the last item (not after a drive or folder).
  void OnTreeDoubleClick(NMHDR* header, LRESULT* result) override;
  /// Keeps the new selection as the last item.
  void OnTreeSelChange(NMHDR* header, LRESULT* result) override;
  /// Sets the tree type from the item's top-level item (ZN_TREE_FILES under
  /// "Dateien", else ZN_TREE_PLAIN) and in a file tree reads the folder.
  void OnItemExpanding(NMHDR* header, LRESULT* result) override;
  /// Does nothing.
  void OnItemExpanded(NMHDR* header, LRESULT* result) override;
  /// @}

  CWnd* m_pOwner = nullptr;                   ///< kept by SetOwner
  HTREEITEM m_hLastItem = nullptr;            ///< the selection before the latest click, or the latest one
  int m_nReserved = 0;                        ///< not used
  unsigned long m_nTreeType = ZN_TREE_NONE;   ///< ZN_TREE_*
  CZnProgressDlg* m_pProgressDlg = nullptr;   ///< the dialog of the lazy folder reading
  int m_bHandlersOn = 1;                      ///< the handlers act while non-zero
  CImageList* m_pImageList = nullptr;         ///< made by CreateIcons, owned

private:
  bool IsFolderAbove(HTREEITEM item, const CZnString& path);
  char* ShareItemText(HTREEITEM source, char* buffer, int driveOnly);
  HTREEITEM MapParent(HTREEITEM parent);
  HTREEITEM Insert(const char* text, HTREEITEM parent, int sorted);
  int FillZnIni(const char* path, const char* key, HTREEITEM parent, int clear, int sorted,
                int recursive, bool dataFile, CZnProgressDlg* dialog);
  void FillZnIniLevel(std::FILE* file, const char* key, HTREEITEM parent, int sorted,
                      znwidgets::detail::ZnIniFill& fill);
  HTREEITEM FindItem(const char* text, HTREEITEM start, int ignoreCase, int nextVisible,
                     int contained, bool leadingPart, CZnProgressDlg* dialog);
};
