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

constexpr DialogItem kItems[] = {
    Control("", IDC_DEMO_TREE, "SysTreeView32", kTreeStyle, 7, 7, 150, 196),
    Control("", IDC_DEMO_LIST, "SysListView32", kListStyle, 164, 7, 299, 196),
    PushButton("Long operation...", IDC_DEMO_LONG_RUN, 7, 208, 74, 14),
    PushButton("Open file...", IDC_DEMO_OPEN_FILE, 84, 208, 73, 14),
    PushButton("Pick folder...", IDC_DEMO_PICK_FOLDER, 7, 225, 74, 14),
    PushButton("Open document", IDC_DEMO_OPEN_DOCUMENT, 84, 225, 73, 14),
    LText("Highlight:", -1, 164, 211, 36, 8),
    PushButton("Label only", IDC_DEMO_HIGHLIGHT_LABEL, 202, 208, 58, 14),
    PushButton("All columns", IDC_DEMO_HIGHLIGHT_COLUMNS, 263, 208, 58, 14),
    PushButton("Full row", IDC_DEMO_HIGHLIGHT_ROW, 324, 208, 58, 14),
    PushButton("Sample rows", IDC_DEMO_SAMPLE_ROWS, 405, 208, 58, 14),
    PushButton("Close", IDCANCEL, 405, 225, 58, 14),
    ListBox(IDC_DEMO_LOG, 7, 244, 456, 50, WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT),
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_ZN_DEMO, "ZnWidgets demo",
     WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT,
     WS_EX_APPWINDOW, 0, 0, 470, 300, "MS Sans Serif", 8, kItems},
};

// A small window of two panes, the demo's icon.
constexpr const char* kDemoIcon[] = {
    "16 16 5 1",        ". c None",         "k c #303030",      "w c #FFFFFF",
    "b c #3070C0",      "y c #F0C040",      "kkkkkkkkkkkkkkkk", "kbbbbbbbbbbbbbbk",
    "kkkkkkkkkkkkkkkk", "kwwwwkwwwwwwwwwk", "kyyywkwbbbbbbbwk", "kwwwwkwwwwwwwwwk",
    "kwyywkwbbbbbbwwk", "kwwwwkwwwwwwwwwk", "kwyywkwbbbbbbbwk", "kwwwwkwwwwwwwwwk",
    "kyyywkwbbbbbwwwk", "kwwwwkwwwwwwwwwk", "kwwwwkwbbbbbbbwk", "kwwwwkwwwwwwwwwk",
    "kwwwwkwwwwwwwwwk", "kkkkkkkkkkkkkkkk"};

// A sheet of paper, the icon of the list's rows.
constexpr const char* kDocumentIcon[] = {
    "16 16 4 1",        ". c None",         "b c #404040",      "w c #FFFFFF",
    "f c #3070C0",      "..bbbbbbbbb.....", "..bwwwwwwwbb....", "..bwwwwwwwbwb...",
    "..bwffffwwbbbb..", "..bwwwwwwwwwwb..", "..bwffffffffwb..", "..bwwwwwwwwwwb..",
    "..bwffffffffwb..", "..bwwwwwwwwwwb..", "..bwffffffffwb..", "..bwwwwwwwwwwb..",
    "..bwffffffwwwb..", "..bwwwwwwwwwwb..", "..bwwwwwwwwwwb..", "..bbbbbbbbbbbb..",
    "................"};

constexpr IconResource kIcons[] = {{IDR_ZN_DEMO_ICON, kDemoIcon},
                                   {IDR_ZN_DEMO_DOCUMENT, kDocumentIcon}};

constexpr ResourceModule kModule{"znwidgets-demo", kDialogs, kIcons, {}, {}};
const ResourceRegistration g_resources(kModule);

}  // namespace
