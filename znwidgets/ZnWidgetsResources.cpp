// ZnWidgets' resources, registered with the platform while the library is
// loaded, so that its dialogs find their templates from any program that
// uses the library: the progress dialog (template 104).
#include "platform/Resource.h"
#include "znwidgets/ZnProgressDlg.h"

namespace {

using namespace platform;

constexpr DialogItem kProgressItems[] = {
    LText("", IDC_ZN_PROGRESS_STATUS, 12, 3, 255, 15),
    LText("", IDC_ZN_PROGRESS_ITEM, 12, 21, 255, 8),
    CText(" 0 %", IDC_ZN_PROGRESS_PERCENT, 118, 33, 42, 8),
    Control("", IDC_ZN_PROGRESS_BAR, "msctls_progress32", WS_BORDER, 12, 44, 255, 19),
    DefPushButton("Abbrechen", IDCANCEL, 114, 72, 50, 14),
};

constexpr DialogTemplate kDialogs[] = {
    {IDD_ZN_PROGRESS, "Verarbeitung läuft...",
     WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 0, 0, 0, 280,
     89, "MS Sans Serif", 8, kProgressItems},
};

constexpr ResourceModule kModule{"znwidgets", kDialogs, {}, {}, {}};
const ResourceRegistration g_registration(kModule);

}  // namespace
