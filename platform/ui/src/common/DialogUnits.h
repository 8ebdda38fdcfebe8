// Dialog units: template positions are given in units of the dialog font, so
// a dialog keeps its proportions with any font. A horizontal unit is a
// quarter of the font's average character width (the mean advance of the 52
// letters A-Z and a-z), a vertical unit an eighth of the font's height.
#pragma once

#include "platform/WinUser.h"

namespace platform::ui {

struct DialogBaseUnits {
  double charWidth = 0;   // average width of A-Z a-z, pixels
  double charHeight = 0;  // font height, pixels
};

// Each edge is converted and rounded on its own (not the size), so controls
// that share an edge in the template share it in pixels too.
RECT DialogUnitsToPixels(const RECT& units, const DialogBaseUnits& base);
int HorizontalUnitsToPixels(int units, const DialogBaseUnits& base);
int VerticalUnitsToPixels(int units, const DialogBaseUnits& base);

}  // namespace platform::ui
