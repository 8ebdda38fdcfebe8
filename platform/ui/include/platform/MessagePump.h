// The message pump of long operations that run on the user-interface
// thread: it handles the events that are waiting (repaints, clicks, keys,
// posted actions) and returns at once when none is, so it may be called for
// every item of a long loop. Keys reach the window that has the focus as
// they would from the program's own loop, so Esc and Enter act as dialog
// keys there. Handlers of any window of the program may run inside it.
#pragma once

namespace platform {

void PumpWaitingMessages();

}  // namespace platform
