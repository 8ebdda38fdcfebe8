// CDemoDlg: the demo window's behaviour.
#include "DemoDlg.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <thread>

#include "DemoResource.h"
#include "platform/DataExchange.h"
#include "platform/File.h"
#include "platform/FileFind.h"
#include "platform/Resource.h"

namespace {

struct FileType {
  const char* extension;  // upper case, with its full stop
  const char* name;
};
constexpr FileType kTypes[] = {
    {".JPG", "JPEG-Bild"},  {".JPEG", "JPEG-Bild"},    {".PNG", "PNG-Bild"},
    {".GIF", "GIF-Bild"},   {".BMP", "BMP-Bild"},      {".TXT", "Textdokument"},
    {".HTML", "HTML-Dokument"}, {".HTM", "HTML-Dokument"}, {".PDF", "PDF-Dokument"},
};

const char* TypeOf(const CZnString& name) {
  CZnString extension = name.GetExtension();
  extension.MakeUpper();
  for (const FileType& type : kTypes) {
    if (extension == type.extension) return type.name;
  }
  return "Datei";
}

// A small generator of the same pseudo-random numbers on every run, so the
// sample rows (and the pictures drawn of them) never change.
class SampleNumbers {
public:
  unsigned Next(unsigned range) {
    m_state = m_state * 1103515245u + 12345u;
    return (m_state >> 8) % range;
  }

private:
  unsigned m_state = 20261207u;
};

// The list's columns.
constexpr int kSizeColumn = 2;
constexpr int kTypeColumn = 3;

// The layout, in dialog units: margins, gaps and the controls that keep
// their size. The smallest client area leaves the buttons below the list
// room beside each other and the panes room to show a few rows.
constexpr int kMargin = 7;
constexpr int kGap = 3;
constexpr int kTreeWidth = 150;        // at least; it takes 3/10 of a wider window
constexpr int kLogHeight = 50;
constexpr int kButtonHeight = 14;
constexpr int kLeftButtonWidth = 74;   // below the tree
constexpr int kButtonWidth = 58;       // below the list
constexpr int kLabelWidth = 36;        // "Highlight:"
constexpr int kMinWidth = 470;
constexpr int kMinHeight = 250;

constexpr const char* kWords[] = {"Strand", "Berg", "Hafen", "Garten", "Schnee", "Abend",
                                  "Markt", "Turm", "Wald", "Fluss"};
constexpr const char* kExtensions[] = {"jpg", "jpg", "jpg", "png", "gif", "txt", "html"};

}  // namespace

CDemoDlg::CDemoDlg() : CDialog(IDD_ZN_DEMO) {}

void CDemoDlg::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  DDX_Control(dx, IDC_DEMO_TREE, m_tree);
  DDX_Control(dx, IDC_DEMO_LIST, m_list);
  DDX_Control(dx, IDC_DEMO_LOG, m_log);
}

BOOL CDemoDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_tree.m_onSelect = [this](HTREEITEM item) { ShowFolder(item); };
  m_list.m_onOpen = [this] { OpenDocument(); };
  m_list.m_onSorted = [this](int column, bool ascending) { Sorted(column, ascending); };
  if (HICON icon = platform::LoadIconResource(IDR_ZN_DEMO_ICON)) {
    SetIcon(icon, ICON_BIG);
    SetIcon(icon, ICON_SMALL);
  }
  // The drives under "Dateien": expanding one reads its folders lazily.
  m_hFiles = m_tree.InsertItem(ZN_TREE_FILES_ITEM);
  m_tree.InitTreeWithDrives(m_hFiles, 0, 0, 1, 1, 1, 0, 0, nullptr);
  m_tree.Expand(m_hFiles, TVE_EXPAND);

  PrepareColumns();
  m_list.ChangeListViewMode(1, 1);
  // The owner-drawn view leaves without LVS_SHOWSELALWAYS: put it back, so
  // the selected row stays highlighted while a button has the focus.
  m_list.ModifyStyle(0, LVS_SHOWSELALWAYS);
  // Nothing is sorted yet: no group starts to mark.
  m_list.m_bGroupingOn = 0;
  m_list.m_crGroupChange = 0;
  m_list.SetNumberColumn(kSizeColumn, 1);
  m_list.SetGroupColumn(kTypeColumn);
  m_list.CreateIcons(0, 0);
  m_list.AddIcon(IDR_ZN_DEMO_DOCUMENT);
  FillSampleRows(300);
  Log("Select a folder in the tree, or click a heading to sort the list (by type it is grouped).");
  return TRUE;
}

CSize CDemoDlg::Units(int x, int y) const {
  CRect rect(0, 0, x, y);
  MapDialogRect(&rect);
  return CSize(rect.right, rect.bottom);
}

void CDemoDlg::Place(int id, int x, int y, int width, int height) {
  if (CWnd* control = GetDlgItem(id)) control->MoveWindow(x, y, width, height, FALSE);
}

void CDemoDlg::Layout(int width, int height) {
  const CSize margin = Units(kMargin, kMargin);
  const CSize gap = Units(kGap, kGap);
  const CSize button = Units(kButtonWidth, kButtonHeight);
  const int leftButton = Units(kLeftButtonWidth, 0).cx;
  // Bottom up: the log, two rows of buttons, then the tree and the list
  // share what is left.
  const int logTop = height - margin.cy - Units(0, kLogHeight).cy;
  const int secondRow = logTop - Units(0, 5).cy - button.cy;
  const int firstRow = secondRow - gap.cy - button.cy;
  const int panes = firstRow - Units(0, 5).cy - margin.cy;
  const int treeWidth = std::max(Units(kTreeWidth, 0).cx, (width - 3 * margin.cx) * 3 / 10);
  const int listLeft = 2 * margin.cx + treeWidth;
  Place(IDC_DEMO_TREE, margin.cx, margin.cy, treeWidth, panes);
  Place(IDC_DEMO_LIST, listLeft, margin.cy, width - margin.cx - listLeft, panes);
  Place(IDC_DEMO_LOG, margin.cx, logTop, width - 2 * margin.cx, Units(0, kLogHeight).cy);

  // Below the tree, at the left edge.
  const int secondColumn = margin.cx + leftButton + gap.cx;
  Place(IDC_DEMO_LONG_RUN, margin.cx, firstRow, leftButton, button.cy);
  Place(IDC_DEMO_OPEN_FILE, secondColumn, firstRow, leftButton, button.cy);
  Place(IDC_DEMO_PICK_FOLDER, margin.cx, secondRow, leftButton, button.cy);
  Place(IDC_DEMO_OPEN_DOCUMENT, secondColumn, secondRow, leftButton, button.cy);
  // Below the list: the highlight shapes from its left edge, the rows and
  // Close at the right edge.
  const CSize label = Units(kLabelWidth, 8);
  Place(IDC_DEMO_HIGHLIGHT_TEXT, listLeft, firstRow + (button.cy - label.cy) / 2, label.cx, label.cy);
  int x = listLeft + label.cx + Units(2, 0).cx;
  for (int id : {IDC_DEMO_HIGHLIGHT_LABEL, IDC_DEMO_HIGHLIGHT_COLUMNS, IDC_DEMO_HIGHLIGHT_ROW}) {
    Place(id, x, firstRow, button.cx, button.cy);
    x += button.cx + gap.cx;
  }
  const int right = width - margin.cx - button.cx;
  Place(IDC_DEMO_SAMPLE_ROWS, right, firstRow, button.cx, button.cy);
  Place(IDCANCEL, right, secondRow, button.cx, button.cy);
  Invalidate();
}

void CDemoDlg::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  if (type != SIZE_MINIMIZED && m_list.m_hWnd) Layout(cx, cy);
}

void CDemoDlg::OnGetMinMaxInfo(MINMAXINFO* info) {
  // The smallest client area, with the frame the window has around it.
  CRect window;
  CRect client;
  GetWindowRect(&window);
  GetClientRect(&client);
  const CSize smallest = Units(kMinWidth, kMinHeight);
  info->ptMinTrackSize.x = smallest.cx + window.Width() - client.Width();
  info->ptMinTrackSize.y = smallest.cy + window.Height() - client.Height();
}

void CDemoDlg::PrepareColumns() {
  m_list.InsertCol("Name", -1, 130);
  m_list.InsertCol("Geändert", -1, 140);
  m_list.InsertCol("Größe", -1, 65);
  m_list.InsertCol("Typ", -1, 110);
  LVCOLUMN size{};
  size.mask = LVCF_FMT;
  size.fmt = LVCFMT_RIGHT;
  m_list.SetColumn(2, &size);
}

void CDemoDlg::FillSampleRows(int count) {
  SampleNumbers numbers;
  m_list.DeleteListContents(0, -1);
  for (int i = 0; i < count; ++i) {
    CString row;
    row.Format("%s_%04d.%s|%02u.%02u.%u %02u:%02u:%02u|%s|", kWords[numbers.Next(10)], i + 1,
               kExtensions[numbers.Next(7)], numbers.Next(28) + 1, numbers.Next(12) + 1,
               1998 + numbers.Next(12), numbers.Next(24), numbers.Next(60), numbers.Next(60),
               CZnString().FormatLong(static_cast<long>(numbers.Next(4000000) + 200)).GetString());
    CZnString name(row.Left(row.Find('|')));
    row += TypeOf(name);
    m_list.Insert(row, -1, 0, '|', 0);
  }
  m_list.SortAgain();
  m_strFolder.Empty();
  Log("%d generated rows", count);
}

bool CDemoDlg::ShowFolder(HTREEITEM item) {
  if (!item || item == m_hFiles || m_tree.GetItemText(item) == ZN_TREE_PLACEHOLDER) return false;
  CZnString path;
  m_tree.GetTreeItemPath(item, path, '\\', 1, 0, 1);
  CFileStatus status;
  if (!CFile::GetStatus(path, status) || !(status.m_attribute & CFile::directory)) return false;
  ListFolder(path);
  return true;
}

void CDemoDlg::ListFolder(const CZnString& folder) {
  CWaitCursor wait;
  m_list.DeleteListContents(0, -1);
  CZnString pattern = folder;
  pattern.TrimRight('\\');
  m_strFolder = pattern;
  pattern += "\\*.*";
  CFileFind finder;
  int files = 0;
  std::size_t widestSize = 0;
  // A big folder takes seconds: after the first few thousand files a
  // progress window shows the count and keeps the window answering (its
  // Cancel stops the listing with what is there).
  std::unique_ptr<CZnProgressDlg> progress;
  bool cancelled = false;
  for (BOOL more = finder.FindFile(pattern); more && !cancelled;) {
    more = finder.FindNextFile();
    if (finder.IsDots() || finder.IsDirectory()) continue;
    const CZnString name = finder.GetFileName();
    CFileStatus status;
    CZnString changed;
    if (CFile::GetStatus(finder.GetFilePath(), status)) {
      CZnTime(status.m_mtime).GetTimeAsString(changed, 0);
    }
    // Cell by cell: a name may hold the separator a joined row would use.
    const int row = m_list.InsertItem(m_list.GetItemCount(), name, 0);
    m_list.SetItemText(row, 1, changed);
    const CZnString size = CZnString().FormatLong(static_cast<long>(finder.GetLength()));
    widestSize = std::max<std::size_t>(widestSize, static_cast<std::size_t>(size.GetLength()));
    m_list.SetItemText(row, 2, size);
    m_list.SetItemText(row, 3, TypeOf(name));
    ++files;
    if (files % kFilesPerStep != 0) continue;
    if (!progress && files >= kFilesBeforeProgress) {
      progress = std::make_unique<CZnProgressDlg>();
      if (progress->Create(this)) progress->SetStatus(m_strFolder);
      else progress.reset();
    }
    if (progress) {
      CString count;
      count.Format("%d Dateien gelesen", files);
      progress->SetItemText(count);
      progress->SetRange(0, 2);
      progress->SetPos(static_cast<unsigned>((files / kFilesPerStep) % 3));
      cancelled = progress->CheckCancelButton() != 0;
    }
  }
  finder.Close();
  if (progress) progress->DestroyWindow();
  FitSizeColumn(widestSize);
  m_list.SortAgain();
  Log(cancelled ? "%s: %d files (cancelled)" : "%s: %d files", m_strFolder.GetString(), files);
}

void CDemoDlg::FitSizeColumn(std::size_t characters) {
  // Digits and separators are about four dialog units wide each, plus the
  // cell's margins; the column never gets narrower than it was made.
  RECT width{0, 0, static_cast<LONG>(characters * 4 + 10), 0};
  MapDialogRect(&width);
  if (width.right > m_list.GetColumnWidth(2)) m_list.SetColumnWidth(2, width.right);
}

int CDemoDlg::RunLongOperation(int steps) {
  CZnProgressDlg progress;
  if (!progress.Create(this)) return 0;
  m_pProgress = &progress;
  progress.SetStatus("Einträge werden verarbeitet...");
  progress.SetRange(0, steps > 0 ? static_cast<unsigned>(steps) : 1u);
  int done = 0;
  while (done < steps) {
    // The work of one item.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ++done;
    if (done % 25 == 1) {
      CString item;
      item.Format("Eintrag %d von %d", done, steps);
      progress.SetItemText(item);
    }
    progress.SetPos(static_cast<unsigned>(done));
    if (progress.CheckCancelButton()) break;
  }
  m_pProgress = nullptr;
  progress.DestroyWindow();
  if (done < steps) {
    Log("Long operation cancelled after %d of %d steps", done, steps);
  } else {
    Log("Long operation done: %d steps", steps);
  }
  return done;
}

void CDemoDlg::Sorted(int column, bool ascending) {
  char heading[64] = "";
  m_list.GetColumnText(column, heading, sizeof heading);
  Log("Sorted by %s, %s%s", heading, ascending ? "ascending" : "descending",
      column == kTypeColumn ? ", grouped" : "");
}

void CDemoDlg::SetHighlight(CZnListCtrl::EHighlight type, const char* name) {
  m_list.SetHighlightType(type);
  Log("Highlight: %s", name);
}

void CDemoDlg::PickFile() {
  CZnString path;
  if (CZnWndTool().GetFileSelection(path, m_hWnd, nullptr, "", nullptr, 1)) {
    Log("File picked: %s", path.GetString());
  } else {
    Log("No file picked");
  }
}

void CDemoDlg::PickFolder() {
  CZnString path;
  if (CZnWndTool().GetFolderSelection(path, m_hWnd, "Choose a folder to list", nullptr)) {
    ListFolder(path);
  } else {
    Log("No folder picked");
  }
}

void CDemoDlg::OpenDocument() {
  const int row = m_list.GetCurSel();
  if (m_strFolder.IsEmpty() || row < 0 || row >= m_list.GetItemCount()) {
    Log("Select a file of a folder first");
    return;
  }
  const CString name = m_list.GetItemText(row, 0);
  if (name.IsEmpty()) return;  // a separator row
  const CZnString path = m_strFolder + "\\" + name;
  char message[ZN_EXECUTE_MESSAGE_SIZE] = "";
  if (const int code = CZnWndTool().ExecuteFile(m_hWnd, path, message)) {
    Log("Cannot open %s (%d): %s", path.GetString(), code, message);
  } else {
    Log("Opened %s", path.GetString());
  }
}

void CDemoDlg::Log(const char* format, ...) {
  va_list args;
  va_start(args, format);
  CString line;
  line.FormatV(format, args);
  va_end(args);
  m_log.AddSelString(line, 0, 500);
}

BOOL CDemoDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDC_DEMO_HIGHLIGHT_LABEL:
        SetHighlight(CZnListCtrl::HighlightLabelOnly, "label only");
        return TRUE;
      case IDC_DEMO_HIGHLIGHT_COLUMNS:
        SetHighlight(CZnListCtrl::HighlightAllColumns, "all columns");
        return TRUE;
      case IDC_DEMO_HIGHLIGHT_ROW:
        SetHighlight(CZnListCtrl::HighlightFullRow, "full row");
        return TRUE;
      case IDC_DEMO_SAMPLE_ROWS:
        FillSampleRows(300);
        return TRUE;
      case IDC_DEMO_LONG_RUN:
        RunLongOperation(3000);
        return TRUE;
      case IDC_DEMO_OPEN_FILE:
        PickFile();
        return TRUE;
      case IDC_DEMO_PICK_FOLDER:
        PickFolder();
        return TRUE;
      case IDC_DEMO_OPEN_DOCUMENT:
        OpenDocument();
        return TRUE;
      default:
        break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}
