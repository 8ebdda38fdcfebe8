// The dialog font: the template's face and size, with the faces of the
// original desktop mapped to the system's sans-serif.
#pragma once

#include <QFont>

#include "../common/DialogUnits.h"

namespace platform::ui {

QFont DialogFont(const char* face, int pointSize);
// The font's dialog base units: the average width of A-Z a-z and the height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

}  // namespace platform::ui
