// CZnTreeCtrl: trees of folders and files, and of drives.
#include <string>

#include "TreeProgress.h"
#include "platform/Crt.h"
#include "platform/FileFind.h"
#include "platform/FileSystem.h"
#include "platform/VolumeQuery.h"
#include "znwidgets/ZnTreeCtrl.h"

using znwidgets::detail::TreeProgress;

namespace {

const char* DriveTypeName(UINT type) {
  switch (type) {
    case DRIVE_NO_ROOT_DIR: return "NoRoot";
    case DRIVE_REMOVABLE: return "Removable";
    case DRIVE_FIXED: return "Fixed";
    case DRIVE_REMOTE: return "Net";
    case DRIVE_CDROM: return "CDRom";
    case DRIVE_RAMDISK: return "RAM";
    default: return "UNDEF";
  }
}

}  // namespace

int CZnTreeCtrl::InitTreeWithFiles(const char* folder, const char* mask, HTREEITEM parent,
                                   int clear, int sorted, int placeholders, int folderImage,
                                   int fileImage, int selectedImage, CZnProgressDlg* dialog) {
  m_nTreeType = ZN_TREE_FILES;
  parent = MapParent(parent);
  if (clear && GetCount() > 0) {
    if (parent == TVI_ROOT) DeleteAllItems();
    else DeleteSubItems(parent);
  }
  CZnString pattern(folder ? folder : "");
  pattern.DelEndChar('\\');
  pattern += '\\';
  pattern += mask ? mask : "*.*";
  CFileFind finder;
  if (!finder.FindFile(pattern)) return 0;
  TreeProgress progress(dialog);
  progress.Label(nullptr, "Dateien und Verzeichnisse werden eingelesen...", 0, 100);
  const HTREEITEM after = sorted ? TVI_SORT : TVI_LAST;
  bool more = true;
  while (more) {
    more = finder.FindNextFile();
    if (finder.IsDots()) continue;
    const bool isFolder = finder.IsDirectory();
    // The blank puts folders before files in sorted order.
    CZnString text(isFolder ? " " : "");
    text += finder.GetFileName();
    const int image = isFolder ? folderImage : fileImage;
    progress.Step(text);
    HTREEITEM item = image > 0 ? InsertItem(text, image, selectedImage, parent, after)
                               : InsertItem(text, parent, after);
    if (isFolder && placeholders && item) InsertItem(ZN_TREE_PLACEHOLDER, item, TVI_LAST);
  }
  finder.Close();
  return 1;
}

int CZnTreeCtrl::InitTreeWithDrives(HTREEITEM parent, int withFloppies, int clear, int sorted,
                                    int withVolumeName, int withDriveType, int image,
                                    int selectedImage, CZnProgressDlg* dialog) {
  m_nTreeType = ZN_TREE_FILES;
  TreeProgress progress(dialog);
  progress.Label(nullptr, "Laufwerke werden eingelesen...", 0, 10);
  // Cleared before the parent is mapped, which would otherwise name an
  // item the clearing deletes.
  if (clear && GetCount() > 0) DeleteAllItems();
  parent = MapParent(parent);
  char roots[300] = "";
  const DWORD length = GetLogicalDriveStringsA(sizeof roots, roots);
  if (length == 0 || length >= sizeof roots) roots[0] = '\0';  // more than fits: none
  const HTREEITEM after = sorted ? TVI_SORT : TVI_LAST;
  for (const char* root = roots; *root; root += std::char_traits<char>::length(root) + 1) {
    progress.ShowItem(root);
    progress.Step();
    if (!withFloppies && platform::AsciiToUpper(root[0]) <= 'B') continue;
    CZnString text(root);
    text.DelEndChar('\\');
    if (withVolumeName || withDriveType) {
      // A drive that does not answer in time (a dead network mount) shows
      // no label and an unknown kind instead of freezing the window.
      const platform::VolumeFacts facts = platform::QueryVolume(root, [&] { progress.Pump(); });
      if (withVolumeName) text += " (" + CString(facts.label) + ")";
      if (withDriveType) text += " (" + CString(DriveTypeName(facts.type)) + ")";
    }
    HTREEITEM item = image > 0 ? InsertItem(text, image, selectedImage, parent, after)
                               : InsertItem(text, parent, after);
    if (item) InsertItem(ZN_TREE_PLACEHOLDER, item, TVI_LAST);
  }
  return 1;
}
