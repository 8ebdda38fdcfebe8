// COmbralApp: Ombral's application object. Its start-up runs the main
// dialog with the command-line tail as the path to scan; the program ends
// when the dialog closes.
#pragma once

#include "platform/WinApp.h"

class COmbralApp : public CWinApp {
public:
  COmbralApp();

  // Runs the dialog and returns FALSE, so the program ends with it instead
  // of entering an event loop.
  BOOL InitInstance() override;
};
