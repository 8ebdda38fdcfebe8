// Console queries over POSIX.
#include "platform/Console.h"

#include <csignal>
#include <unistd.h>

namespace platform {

bool IsTerminal(std::FILE* stream) { return stream && isatty(fileno(stream)) == 1; }

namespace {

void (*volatile g_interruptHandler)() = nullptr;

void OnSignal(int) {
  if (void (*handler)() = g_interruptHandler) handler();
}

}  // namespace

void OnInterrupt(void (*handler)()) {
  g_interruptHandler = handler;
  struct sigaction action {};
  sigemptyset(&action.sa_mask);
  if (handler) {
    action.sa_handler = &OnSignal;
    // The first signal asks; the next one finds the default back and ends
    // the program.
    action.sa_flags = SA_RESETHAND;
  } else {
    action.sa_handler = SIG_DFL;
  }
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

}  // namespace platform
