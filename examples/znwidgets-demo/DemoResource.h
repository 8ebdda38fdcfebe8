// The demo window's resource ids.
#pragma once

inline constexpr unsigned IDD_ZN_DEMO = 200;
inline constexpr unsigned IDR_ZN_DEMO_ICON = 201;
inline constexpr unsigned IDR_ZN_DEMO_DOCUMENT = 202;
inline constexpr unsigned IDB_ZN_DEMO_TREE = 203;

inline constexpr int IDC_DEMO_TREE = 1001;
inline constexpr int IDC_DEMO_LIST = 1002;
inline constexpr int IDC_DEMO_LOG = 1003;
inline constexpr int IDC_DEMO_HIGHLIGHT_LABEL = 1010;
inline constexpr int IDC_DEMO_HIGHLIGHT_COLUMNS = 1011;
inline constexpr int IDC_DEMO_HIGHLIGHT_ROW = 1012;
inline constexpr int IDC_DEMO_SAMPLE_ROWS = 1013;
inline constexpr int IDC_DEMO_HIGHLIGHT_TEXT = 1014;
inline constexpr int IDC_DEMO_LONG_RUN = 1020;
inline constexpr int IDC_DEMO_OPEN_FILE = 1021;
inline constexpr int IDC_DEMO_PICK_FOLDER = 1022;
inline constexpr int IDC_DEMO_OPEN_DOCUMENT = 1023;
