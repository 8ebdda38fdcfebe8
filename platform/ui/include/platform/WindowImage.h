// Pictures of windows, for documentation: a window drawn into a PNG file
// with a plain title bar (icon and caption) above its client area.
#pragma once

class CWnd;

namespace platform {

// Waiting events (layouts, paints) are processed first. True when the file
// was written.
bool SaveWindowImage(const CWnd& window, const char* pngPath);

}  // namespace platform
