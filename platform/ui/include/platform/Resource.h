// Resources: dialog templates, icons and strings that a module (a library or
// the program) keeps in static tables and registers with the platform while
// it is loaded, so a dialog finds its template by number wherever it lives.
//
// Dialog templates give positions and sizes in dialog units: a horizontal
// unit is a quarter of the dialog font's average character width, a vertical
// unit an eighth of its height (see DialogUnits). The builders below read like
// the statements of a resource script and add the same default styles.
//
// Lookups search the most recently registered module first: the program's
// resources (registered last, after the libraries it loads) take precedence
// over a library's, as they do on the original platform.
#pragma once

#include <span>
#include <string_view>

#include "platform/String.h"
#include "platform/WinUser.h"

namespace platform {

enum class ControlKind { Button, Edit, Static, ListBox, Progress, ListView, TreeView };

// The kind of a control named by its window class, as a resource script's
// CONTROL statement names it ("msctls_progress32", "SysListView32",
// "SysTreeView32", "Button", "Edit", "Static", "ListBox"). A class the
// platform does not make stops the build when the table is constexpr.
constexpr ControlKind ControlKindOfClass(std::string_view className) {
  if (className == "msctls_progress32") return ControlKind::Progress;
  if (className == "SysListView32") return ControlKind::ListView;
  if (className == "SysTreeView32") return ControlKind::TreeView;
  if (className == "Button") return ControlKind::Button;
  if (className == "Edit") return ControlKind::Edit;
  if (className == "Static") return ControlKind::Static;
  if (className == "ListBox") return ControlKind::ListBox;
  throw "unknown control class";
}

// One control of a dialog template.
struct DialogItem {
  ControlKind kind;
  const char* text;   // the window text; for an SS_ICON static unused
  int id;             // control id; -1 for a static that is never addressed
  short x, y, cx, cy; // dialog units, relative to the client area
  DWORD style;        // WS_* bits plus the kind's BS_/ES_/SS_/LBS_ bits
  UINT imageId;       // the icon resource of an SS_ICON static, else 0
};

struct DialogTemplate {
  UINT id;
  const char* caption;
  DWORD style;           // WS_* and DS_* bits of the dialog window
  DWORD exStyle;         // WS_EX_* bits
  short x, y, cx, cy;    // dialog units; cx and cy are the client area
  const char* fontFace;  // the original dialog faces map to the system sans-serif
  int pointSize;
  std::span<const DialogItem> items;
};

// An icon as an XPM image (width height colours chars-per-pixel, the colour
// lines, then one line per row), the plain-text picture format the window
// system reads directly.
struct IconResource {
  UINT id;
  std::span<const char* const> xpm;
};

// A bitmap as an XPM image (see IconResource); image lists cut it into
// images of equal width.
struct BitmapResource {
  UINT id;
  std::span<const char* const> xpm;
};

struct StringResource {
  UINT id;
  const char* text;  // UTF-8
};

struct ResourceModule {
  const char* name;
  std::span<const DialogTemplate> dialogs;
  std::span<const IconResource> icons;
  std::span<const StringResource> strings;
  std::span<const BitmapResource> bitmaps;
};

// Registers a module's tables for as long as the object lives. A module
// defines one at namespace scope, so it registers when its library is loaded
// and unregisters when it is unloaded. The tables must outlive the object.
class ResourceRegistration {
public:
  explicit ResourceRegistration(const ResourceModule& module);
  ~ResourceRegistration();
  ResourceRegistration(const ResourceRegistration&) = delete;
  ResourceRegistration& operator=(const ResourceRegistration&) = delete;

private:
  const ResourceModule* m_module;
};

// Null (or an empty text) when no registered module has the id.
const DialogTemplate* FindDialogTemplate(UINT id);
const IconResource* FindIconResource(UINT id);
const char* FindStringResource(UINT id);
// The bitmap with that id when its image is complete; null otherwise.
const BitmapResource* FindBitmapResource(UINT id);

// The icon with that id, loaded once and kept for the life of the process;
// null when there is none.
HICON LoadIconResource(UINT id);
// The lines of a loaded icon's XPM image; empty for a null handle.
std::span<const char* const> IconImageLines(HICON icon);

// --- Builders, one per resource-script statement ---------------------------------
inline constexpr DWORD kChildVisible = WS_CHILD | WS_VISIBLE;

constexpr DialogItem PushButton(const char* text, int id, short x, short y, short cx, short cy,
                                DWORD style = 0) {
  return {ControlKind::Button, text, id, x, y, cx, cy,
          kChildVisible | BS_PUSHBUTTON | WS_TABSTOP | style, 0};
}
constexpr DialogItem DefPushButton(const char* text, int id, short x, short y, short cx, short cy,
                                   DWORD style = 0) {
  return {ControlKind::Button, text, id, x, y, cx, cy,
          kChildVisible | BS_DEFPUSHBUTTON | WS_TABSTOP | style, 0};
}
constexpr DialogItem AutoCheckBox(const char* text, int id, short x, short y, short cx, short cy,
                                  DWORD style = 0) {
  return {ControlKind::Button, text, id, x, y, cx, cy,
          kChildVisible | BS_AUTOCHECKBOX | WS_TABSTOP | style, 0};
}
constexpr DialogItem GroupBox(const char* text, int id, short x, short y, short cx, short cy,
                              DWORD style = 0) {
  return {ControlKind::Button, text, id, x, y, cx, cy, kChildVisible | BS_GROUPBOX | style, 0};
}
constexpr DialogItem EditText(int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return {ControlKind::Edit, "", id, x, y, cx, cy,
          kChildVisible | ES_LEFT | WS_BORDER | WS_TABSTOP | style, 0};
}
constexpr DialogItem LText(const char* text, int id, short x, short y, short cx, short cy,
                           DWORD style = 0) {
  return {ControlKind::Static, text, id, x, y, cx, cy, kChildVisible | SS_LEFT | WS_GROUP | style,
          0};
}
constexpr DialogItem CText(const char* text, int id, short x, short y, short cx, short cy,
                           DWORD style = 0) {
  return {ControlKind::Static, text, id, x, y, cx, cy,
          kChildVisible | SS_CENTER | WS_GROUP | style, 0};
}
// An icon static; its size is the icon's own size in pixels.
constexpr DialogItem Icon(UINT iconId, int id, short x, short y, DWORD style = 0) {
  return {ControlKind::Static, "", id, x, y, 0, 0, kChildVisible | SS_ICON | style, iconId};
}
constexpr DialogItem ListBox(int id, short x, short y, short cx, short cy, DWORD style = 0) {
  return {ControlKind::ListBox, "", id, x, y, cx, cy,
          kChildVisible | LBS_NOTIFY | WS_BORDER | style, 0};
}

// A control of any window class (the resource script's CONTROL statement):
//   Control("", 1003, "msctls_progress32", WS_BORDER, 12, 44, 255, 19)
// WS_CHILD and WS_VISIBLE are added, as the statement adds them.
constexpr DialogItem Control(const char* text, int id, const char* className, DWORD style,
                             short x, short y, short cx, short cy) {
  return {ControlKindOfClass(className), text, id, x, y, cx, cy, kChildVisible | style, 0};
}

}  // namespace platform

// The string resource with that id into `text`; FALSE (and `text` emptied)
// when there is none.
BOOL AfxLoadString(UINT id, CString& text);
