// Pictures of the list control: files sorted by a heading click on their
// type and grouped (separator rows, the first row of each group in blue),
// one row selected with the full-row highlight, owner drawn with icons.
#include "Shots.h"
#include "platform/DataExchange.h"
#include "platform/Dialog.h"
#include "platform/Resource.h"
#include "znwidgets/ZnListCtrl.h"

namespace znwidgets::shots {
namespace {

constexpr UINT kDialogId = 9701;
constexpr UINT kIconId = 9702;
constexpr int kListId = 1000;

constexpr const char* kDocument[] = {
    "16 16 4 1",        ". c None",         "b c #404040",      "w c #FFFFFF",
    "f c #3070C0",      "..bbbbbbbbb.....", "..bwwwwwwwbb....", "..bwwwwwwwbwb...",
    "..bwffffwwbbbb..", "..bwwwwwwwwwwb..", "..bwffffffffwb..", "..bwwwwwwwwwwb..",
    "..bwffffffffwb..", "..bwwwwwwwwwwb..", "..bwffffffffwb..", "..bwwwwwwwwwwb..",
    "..bwffffffwwwb..", "..bwwwwwwwwwwb..", "..bwwwwwwwwwwb..", "..bbbbbbbbbbbb..",
    "................"};
constexpr platform::IconResource kIcons[] = {{kIconId, kDocument}};

constexpr platform::DialogItem kItems[] = {
    platform::Control("", kListId, "SysListView32", LVS_REPORT | WS_BORDER | WS_TABSTOP, 7, 7, 336, 196),
};
constexpr platform::DialogTemplate kDialogs[] = {
    {kDialogId, "Dateien", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 0, 0, 0, 350, 210,
     "MS Sans Serif", 8, kItems}};
constexpr platform::ResourceModule kModule{"znwidgets_listctrl_shots", kDialogs, kIcons, {}, {}};
const platform::ResourceRegistration g_resources(kModule);

constexpr const char* kRows[] = {
    "beach.jpg|14.07.2001 18:22:10|284.512|JPEG-Bild",
    "readme.txt|03.02.2002 09:15:00|1.204|Textdokument",
    "Schneehütte.png|02.01.2001 11:05:44|512.003|PNG-Bild",
    "logo.gif|28.11.2000 16:40:31|8.771|GIF-Bild",
    "sunset evening.jpg|15.07.2001 20:41:03|301.877|JPEG-Bild",
    "_FileIndex.html|06.12.2026 14:05:09|2.315|HTML-Dokument",
    "checkers.jpg|09.03.2002 12:00:00|96.430|JPEG-Bild",
    "fractal.jpg|10.03.2002 08:30:12|733.018|JPEG-Bild",
    "notes.txt|11.03.2002 17:45:59|655|Textdokument",
    "_xbmidx.html|06.12.2026 14:05:09|1.877|HTML-Dokument",
};

class CFilesDialog : public CDialog {
public:
  CFilesDialog() : CDialog(kDialogId) {}
  CZnListCtrl m_list;

protected:
  void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, kListId, m_list); }
};

}  // namespace

bool DrawListCtrlShots(const std::string& outDir) {
  CFilesDialog dialog;
  if (!dialog.Create(kDialogId)) return false;
  CZnListCtrl& list = dialog.m_list;
  list.InsertCol("Name", -1, 140);
  list.InsertCol("Geändert", -1, 145);
  list.InsertCol("Größe", -1, 70);
  list.InsertCol("Typ", -1, 115);
  LVCOLUMN size{};
  size.mask = LVCF_FMT;
  size.fmt = LVCFMT_RIGHT;
  list.SetColumn(2, &size);
  list.ChangeListViewMode(1, 1);
  list.CreateIcons(0, 0);
  list.AddIcon(kIconId);
  for (const char* row : kRows) list.Insert(row, -1, 0, '|', 0);
  // A click on the heading "Typ": sorted by type, then grouped.
  NMLISTVIEW click{};
  click.hdr.hwndFrom = list.m_hWnd;
  click.hdr.idFrom = kListId;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = 3;
  LRESULT result = 0;
  list.OnColumnclick(&click.hdr, &result);
  list.SetCurSel(list.FindString("sunset evening.jpg", -1, 0, 0));
  list.SetFocus();
  return Save(dialog, outDir, "znwidgets-listctrl.png");
}

}  // namespace znwidgets::shots
