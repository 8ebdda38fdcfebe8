// Resource and control ids of the Ombral dialog program.
#pragma once

inline constexpr unsigned IDD_ABOUTBOX = 100;
inline constexpr unsigned IDS_ABOUTBOX = 101;
inline constexpr unsigned IDD_OMBRAL_DIALOG = 102;
inline constexpr unsigned IDR_MAINFRAME = 128;  // the program's icon

// The about box's item in the system menu.
inline constexpr unsigned IDM_ABOUTBOX = 0x0010;

inline constexpr int IDC_STATIC = -1;
inline constexpr int IDC_PATH = 1000;
inline constexpr int IDC_INDEX_FILE = 1001;
inline constexpr int IDC_OVERWRITE = 1003;
inline constexpr int IDC_RECURSE = 1004;
inline constexpr int IDC_FRAME_FILE = 1005;
inline constexpr int IDC_BROWSE_FOLDER = 1006;
inline constexpr int IDC_PROTOCOL = 1007;
inline constexpr int IDC_CLOSE_AFTER_SCAN = 1009;
inline constexpr int IDC_NO_LOGGING = 1010;
inline constexpr int IDC_IGNORE_EMPTY_PATHS = 1011;
inline constexpr int IDC_BROWSE_FILE = 1012;
inline constexpr int IDC_FILTER = 1013;
inline constexpr int IDC_OPEN_INDEX = 1014;
inline constexpr int IDC_TOGGLE_PROTOCOL = 1015;
inline constexpr int IDC_STATUS = 1016;
inline constexpr int IDC_CLOSE = 1017;
// The group boxes, addressed when the window's size changes.
inline constexpr int IDC_SETTINGS_GROUP = 1018;
inline constexpr int IDC_OPTIONS_GROUP = 1019;
inline constexpr int IDC_LOGGING_GROUP = 1020;
// Previews and the removal of stale pages, as ombral-scan offers them.
inline constexpr int IDC_PREVIEWS = 1021;
inline constexpr int IDC_PREVIEW_EDGE = 1022;
inline constexpr int IDC_PREVIEW_UNIT = 1023;
inline constexpr int IDC_REMOVE_STALE = 1024;
inline constexpr int IDC_DRY_RUN = 1025;
// The gallery's pages instead of the classic ones.
inline constexpr int IDC_GALLERY = 1026;
// Folders done of folders found, in the status line's place while a scan runs.
inline constexpr int IDC_PROGRESS = 1027;
