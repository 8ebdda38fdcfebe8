// Ombral's resources: the main dialog (102), the about box (100), the system
// menu's about item (101) and the program icon (128), registered while the
// program's library is loaded.
#include "ombral/OmbralResource.h"
#include "platform/Resource.h"

namespace {

using namespace platform;

constexpr DialogItem kMainItems[] = {
    // Each field comes right after its label, which names it (for screen
    // readers too) and takes the focus to it with Alt and its letter.
    LText("P&ath to scan:", IDC_STATIC, 12, 26, 42, 8),
    EditText(IDC_PATH, 57, 24, 168, 12, ES_AUTOHSCROLL),
    PushButton("<", IDC_BROWSE_FOLDER, 225, 24, 15, 12),
    PushButton("...", IDC_BROWSE_FILE, 241, 24, 15, 12),
    PushButton("->", IDC_OPEN_INDEX, 259, 24, 15, 12),
    LText("HTML inde&x:", IDC_STATIC, 12, 48, 42, 8),
    EditText(IDC_INDEX_FILE, 57, 45, 216, 12, ES_AUTOHSCROLL),
    LText("HTML fra&me:", IDC_STATIC, 12, 68, 42, 8),
    EditText(IDC_FRAME_FILE, 57, 66, 216, 12, ES_AUTOHSCROLL),
    LText("&Filter:", IDC_STATIC, 12, 87, 39, 8),
    EditText(IDC_FILTER, 57, 84, 216, 12, ES_AUTOHSCROLL),
    AutoCheckBox("&Overwrite HTML files", IDC_OVERWRITE, 297, 24, 87, 10),
    AutoCheckBox("&Recurse subdirectories", IDC_RECURSE, 297, 39, 87, 10),
    AutoCheckBox("Close af&ter scan", IDC_CLOSE_AFTER_SCAN, 297, 54, 84, 10),
    AutoCheckBox("&No logging (faster)", IDC_NO_LOGGING, 297, 69, 84, 10),
    AutoCheckBox("&Ignore empty paths", IDC_IGNORE_EMPTY_PATHS, 297, 84, 84, 10),
    // The options of today's archives, off at first, share the status line's
    // row: the status texts are short, and the folded dialog shows that row.
    AutoCheckBox("&Gallery", IDC_GALLERY, 170, 108, 42, 10, WS_GROUP),
    AutoCheckBox("Pre&views", IDC_PREVIEWS, 216, 108, 46, 10, WS_GROUP),
    EditText(IDC_PREVIEW_EDGE, 264, 107, 22, 11, ES_AUTOHSCROLL | ES_NUMBER),
    LText("px", IDC_PREVIEW_UNIT, 288, 109, 12, 8),
    AutoCheckBox("Remove stal&e pages", IDC_REMOVE_STALE, 306, 108, 88, 10, WS_GROUP),
    AutoCheckBox("&Dry run", IDC_DRY_RUN, 400, 108, 47, 10),
    DefPushButton("&Scan...", IDOK, 397, 12, 50, 14),
    PushButton("&Close", IDC_CLOSE, 397, 33, 50, 14),
    PushButton("&Protocoll <<", IDC_TOGGLE_PROTOCOL, 397, 90, 50, 14),
    ListBox(IDC_PROTOCOL, 14, 142, 427, 186,
            LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP),
    LText("", IDC_STATUS, 9, 111, 156, 8),
    Control("", IDC_PROGRESS, "msctls_progress32", WS_BORDER, 9, 109, 156, 11),
    GroupBox("Settings", IDC_SETTINGS_GROUP, 6, 6, 276, 99),
    GroupBox("Options", IDC_OPTIONS_GROUP, 291, 6, 99, 99),
    GroupBox("Logging", IDC_LOGGING_GROUP, 6, 126, 444, 207),
};

constexpr DialogItem kAboutItems[] = {
    Icon(IDR_MAINFRAME, IDC_STATIC, 11, 17),
    LText("Ombral, Version 1.0", IDC_STATIC, 40, 10, 119, 8, SS_NOPREFIX),
    LText("Copyright \xC2\xA9 1998", IDC_STATIC, 40, 25, 119, 8),
    DefPushButton("OK", IDOK, 178, 7, 32, 14, WS_GROUP),
};

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

constexpr DialogTemplate kDialogs[] = {
    // A sizing frame: the protocol grows with the window.
    {IDD_OMBRAL_DIALOG, "Ombral Windows",
     kDialogStyle | WS_VISIBLE | WS_MINIMIZEBOX | WS_THICKFRAME,
     WS_EX_APPWINDOW, 0, 0, 454, 338, "MS Sans Serif", 8, kMainItems},
    {IDD_ABOUTBOX, "Info \xC3\xBC" "ber Ombral", kDialogStyle, 0, 0, 0, 217, 55, "MS Sans Serif",
     8, kAboutItems},
};

constexpr StringResource kStrings[] = {
    {IDS_ABOUTBOX, "Inf&o \xC3\xBC" "ber Ombral..."},
};

// A framed picture in front of which lies a page of index lines.
constexpr const char* kProgramIcon[] = {
    "32 32 10 1",
    ". c None",
    "k c #202020",
    "f c #8B5A2B",
    "s c #9CD0F5",
    "S c #6FB3EA",
    "y c #FFD23F",
    "g c #6DBE45",
    "G c #3E8E2F",
    "w c #FFFFFF",
    "b c #2F5597",
    "................................",
    "................................",
    ".kkkkkkkkkkkkkkkkkkkkkkkkk......",
    ".kfffffffffffffffffffffffk......",
    ".kfffffffffffffffffffffffk......",
    ".kffSSSSSSSSSSSSSSSSSSSffk......",
    ".kffSSSSSSSSSSSSSSSSSSSffk......",
    ".kffSSSSSSSSSSSSSyyySSSffk......",
    ".kffSSSSSSSSSSSSyyyyySSffk......",
    ".kffssssssssssssyyyyyssffk......",
    ".kffssssssssssssyyyyyssffk......",
    ".kffsssssssssssssyyysssffk......",
    ".kffssssssssssssgggggssffk......",
    ".kffsssssssssssgggggggsffk......",
    ".kffssssssssssggkkkkkkkkkkk.....",
    ".kffggssGGGGGgggkwwwwwwwwwwk....",
    ".kffggGGGGGGGGggkwwwwwwwwwwwk...",
    ".kffgGGGGGGGGGGGkwwwwwwwwwwwwk..",
    ".kffGGGGGGGGGGGGkwwwwwwwwwwwwwk.",
    ".kffGGGGGGGGGGGGkwwwwwwwwwwwwwk.",
    ".kffGGGGGGGGGGGGkwbbbbbbbbbbwwk.",
    ".kffffffffffffffkwwwwwwwwwwwwwk.",
    ".kffffffffffffffkwbbbbbbbbbbbwk.",
    ".kkkkkkkkkkkkkkkkwwwwwwwwwwwwwk.",
    "................kwbbbbbbbbbwwwk.",
    "................kwwwwwwwwwwwwwk.",
    "................kwbbbbbbbbbbbwk.",
    "................kwwwwwwwwwwwwwk.",
    "................kwbbbbbbbbwwwwk.",
    "................kwwwwwwwwwwwwwk.",
    "................kkkkkkkkkkkkkkk.",
    "................................"
};

constexpr IconResource kIcons[] = {{IDR_MAINFRAME, kProgramIcon}};

constexpr ResourceModule kModule{"ombral", kDialogs, kIcons, kStrings, {}};
const ResourceRegistration g_registration(kModule);

}  // namespace
