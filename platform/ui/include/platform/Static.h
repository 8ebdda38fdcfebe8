// CStatic: a static text or icon of a dialog.
#pragma once

#include "platform/Wnd.h"

class CStatic : public CWnd {
public:
  // Shows an icon (an SS_ICON static); returns the previous one.
  HICON SetIcon(HICON icon);
  HICON GetIcon() const;
};
