// Pictures of windows, for documentation: a window drawn into a PNG file
// with a plain title bar (icon and caption) above its client area.
#pragma once

#include "platform/WinUser.h"

class CWnd;

namespace platform {

// Waiting events (layouts, paints) are processed first. The picture has
// the window's device pixels: at two pixels per point it is twice as wide
// and high as the window's rectangle. True when the file was written.
bool SaveWindowImage(const CWnd& window, const char* pngPath);

// An icon drawn into a square PNG file `side` pixels wide, for the desktop's
// icon themes: whole multiples of the icon's size keep its pixels sharp,
// other sizes are smoothed. True when the file was written.
bool SaveIconImage(HICON icon, int side, const char* pngPath);

}  // namespace platform
