#include "DialogUnits.h"

#include <cmath>

namespace platform::ui {

int HorizontalUnitsToPixels(int units, const DialogBaseUnits& base) {
  return static_cast<int>(std::lround(units * base.charWidth / 4.0));
}

int VerticalUnitsToPixels(int units, const DialogBaseUnits& base) {
  return static_cast<int>(std::lround(units * base.charHeight / 8.0));
}

RECT DialogUnitsToPixels(const RECT& units, const DialogBaseUnits& base) {
  return RECT{HorizontalUnitsToPixels(units.left, base), VerticalUnitsToPixels(units.top, base),
              HorizontalUnitsToPixels(units.right, base),
              VerticalUnitsToPixels(units.bottom, base)};
}

}  // namespace platform::ui
