// The demo window's resources: its dialog template and icons.
#include "DemoResource.h"
#include "platform/ListCtrl.h"
#include "platform/Resource.h"
#include "platform/TreeCtrl.h"

namespace {

using namespace platform;

constexpr DWORD kTreeStyle =
    WS_BORDER | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
constexpr DWORD kListStyle =
    WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS;

// The controls where they stand at the template's smallest size; the
// window places them anew for every size it gets (CDemoDlg::Layout). Every
// button has a mnemonic of its own.
constexpr DialogItem kItems[] = {
    Control("", IDC_DEMO_TREE, "SysTreeView32", kTreeStyle, 7, 7, 150, 146),
    Control("", IDC_DEMO_LIST, "SysListView32", kListStyle, 164, 7, 299, 146),
    PushButton("Long &operation...", IDC_DEMO_LONG_RUN, 7, 158, 74, 14),
    PushButton("Open &file...", IDC_DEMO_OPEN_FILE, 84, 158, 74, 14),
    PushButton("&Pick folder...", IDC_DEMO_PICK_FOLDER, 7, 175, 74, 14),
    PushButton("Open &document", IDC_DEMO_OPEN_DOCUMENT, 84, 175, 74, 14),
    LText("Highlight:", IDC_DEMO_HIGHLIGHT_TEXT, 164, 161, 36, 8),
    PushButton("&Label only", IDC_DEMO_HIGHLIGHT_LABEL, 202, 158, 58, 14),
    PushButton("&All columns", IDC_DEMO_HIGHLIGHT_COLUMNS, 263, 158, 58, 14),
    PushButton("F&ull row", IDC_DEMO_HIGHLIGHT_ROW, 324, 158, 58, 14),
    PushButton("&Sample rows", IDC_DEMO_SAMPLE_ROWS, 405, 158, 58, 14),
    PushButton("&Close", IDCANCEL, 405, 175, 58, 14),
    ListBox(IDC_DEMO_LOG, 7, 194, 456, 50, WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT),
};

// Opens larger than its smallest size (470 by 250), and can be resized.
constexpr DialogTemplate kDialogs[] = {
    {IDD_ZN_DEMO, "ZnWidgets demo",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME |
         DS_SETFONT,
     WS_EX_APPWINDOW, 0, 0, 560, 340, "MS Sans Serif", 8, kItems},
};

// A window of two panes, the demo's icon: drawn at 32 pixels, so it stays
// sharp with two pixels per point and is scaled down where a point has one.
constexpr const char* kDemoIcon[] = {
    "32 32 10 1",
    ". c None",
    "B c #6A9AD8",
    "Y c #C89820",
    "b c #3070C0",
    "g c #B4B4B4",
    "h c #CCE0F8",
    "k c #303030",
    "t c #5080C8",
    "w c #FFFFFF",
    "y c #F0C040",
    "................................",
    "................................",
    "................................",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    ".kBBBBBBBBBBBBBBBBBBBBBBBBBBBBk.",
    ".kbbbbbbbbbbbbbbbbbbbbbbbwbwbbk.",
    ".kbbbbbbbbbbbbbbbbbbbbbbbwbwbbk.",
    ".kbbbbbbbbbbbbbbbbbbbbbbbbbbbbk.",
    ".kbbbbbbbbbbbbbbbbbbbbbbbbbbbbk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwYYwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwyyyywwwwwwgwwbbbbtttttttwwk.",
    ".kwwyyyywttttwgwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwwwYYwwwwwwghhhhhhhhhhhhhhhk.",
    ".kwwwwyyyywwwwghhbbbbttttttthhk.",
    ".kwwwwyyyywttwghhhhhhhhhhhhhhhk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwwwYYwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwwwyyyywwwwgwwbbbbtttttttwwk.",
    ".kwwwwyyyywttwgwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwYYwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwyyyywwwwwwgwwbbbbtttttttwwk.",
    ".kwwyyyywttttwgwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kwwwwwwwwwwwwgwwwwwwwwwwwwwwwk.",
    ".kkkkkkkkkkkkkkkkkkkkkkkkkkkkkk.",
    "................................",
    "................................",
    "................................"};

// A sheet of paper, the icon of the list's rows, drawn at 32 pixels as the
// demo's icon is.
constexpr const char* kDocumentIcon[] = {
    "32 32 8 1",
    ". c None",
    "b c #3070C0",
    "e c #E4E4E4",
    "f c #E0E0E0",
    "g c #9A9A9A",
    "k c #404040",
    "l c #9DBCE6",
    "w c #FFFFFF",
    "................................",
    "................................",
    "......kkkkkkkkkkkkk.............",
    "......keeeeeeeeeeegk............",
    "......kewwwwwwwwwwgfk...........",
    "......kewwwwwwwwwwgffk..........",
    "......kewbbbbbbbbwgfffk.........",
    "......kewbbbbbbbbwgffffk........",
    "......kewwwwwwwwwwgfffffk.......",
    "......kewwwwwwwwwwgggggggk......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewlbbbbbbbbbbbblwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewlbbbbbbbbbbblwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewlbbbbbbbbbbbblwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewlbbbbbbbblwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......kewwwwwwwwwwwwwwwwek......",
    "......keeeeeeeeeeeeeeeeeek......",
    "......kkkkkkkkkkkkkkkkkkkk......",
    "................................",
    "................................"};

constexpr IconResource kIcons[] = {{IDR_ZN_DEMO_ICON, kDemoIcon},
                                   {IDR_ZN_DEMO_DOCUMENT, kDocumentIcon}};

constexpr ResourceModule kModule{"znwidgets-demo", kDialogs, kIcons, {}, {}};
const ResourceRegistration g_resources(kModule);

}  // namespace
