// Test support for window code: drives real controls as a user would (mouse
// clicks, typed keys, the close box, the system menu) and reads what the
// user sees. Runs with the offscreen platform; needs the window system the
// GUI test main starts.
//
// Modal dialogs run their own event loop: post the actions that drive them
// before starting them (Post), and guard the test with a ModalTimeout so a
// dialog that does not close fails the test instead of hanging it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/WinUser.h"

class CWnd;

namespace platform::testing {

enum class Key { Enter, Escape, Space, Tab };

// --- Actions ---------------------------------------------------------------------------
// A left click in the middle of the dialog's control `id`.
void Click(const CWnd& dialog, int id);
// Keys typed into the control `id` (it gets the focus first).
void Type(const CWnd& dialog, int id, const std::string& utf8);
// Selects all of the field's text and types `utf8` over it.
void Retype(const CWnd& dialog, int id, const std::string& utf8);
// A key pressed in the control `id`; id 0 sends it to the window's focus.
void Press(const CWnd& window, Key key, int id = 0);
// Drags the files at `nativePaths` (as a file manager does, by their
// file:// addresses) onto control `id` of the dialog (0: the dialog itself)
// and drops them there.
void DropFiles(const CWnd& dialog, int id, const std::vector<std::string>& nativePaths);
// The caption's close box.
void ClickCloseBox(const CWnd& window);
// Opens the system menu and chooses the item with that command id; false
// (and nothing chosen) when the menu has no such enabled item.
bool ChooseSystemMenuItem(const CWnd& window, UINT id);

// --- What the user sees ----------------------------------------------------------------
// The lines of the list box `id`.
std::vector<std::string> ListLines(const CWnd& dialog, int id);
// The selected line's index, -1 when none.
int ListSelection(const CWnd& dialog, int id);
// The text shown by the control (a static's text without '&' marks).
std::string ShownText(const CWnd& dialog, int id);
// The name a screen reader says for control `id`.
std::string AccessibleName(const CWnd& dialog, int id);
// Alt and `letter`, as a mnemonic is typed.
void PressAlt(const CWnd& window, char letter);
bool HasFocus(const CWnd& dialog, int id);
// The texts of the window's system-menu items ("" for a separator).
std::vector<std::string> SystemMenuTexts(const CWnd& window);

// --- Event loop -----------------------------------------------------------------------------
// Runs `action` from the event loop once it is running (inside the next
// modal dialog's loop when one is started next).
void Post(std::function<void()> action);
// Processes pending events (paints, deferred deletions).
void ProcessEvents();
// The modal dialog in front; null when none runs.
CWnd* ActiveModalWindow();
// Runs the event loop (waiting for events, not spinning) until `done`
// answers true, which it is asked every few milliseconds; false when
// `milliseconds` passed first.
bool RunEventsUntil(const std::function<bool()>& done, int milliseconds);
// Starts a timer of `interval` milliseconds and runs the event loop until
// it fires; how many milliseconds that took, -1 when not within `limit`. A
// loop kept from its events shows as a long wait.
int TimerLatency(int interval, int limit);

// While it lives, a modal dialog still open `milliseconds` after the object
// was made is ended (with result -1) and the test fails.
class ModalTimeout {
public:
  explicit ModalTimeout(int milliseconds = 20000);
  ~ModalTimeout();
  ModalTimeout(const ModalTimeout&) = delete;
  ModalTimeout& operator=(const ModalTimeout&) = delete;

private:
  struct Impl;
  Impl* m_impl;
};

}  // namespace platform::testing
