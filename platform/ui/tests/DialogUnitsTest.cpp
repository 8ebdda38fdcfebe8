#include "common/DialogUnits.h"

#include <gtest/gtest.h>

namespace {

using platform::ui::DialogBaseUnits;
using platform::ui::DialogUnitsToPixels;

TEST(DialogUnits, ConvertWithAQuarterOfTheWidthAndAnEighthOfTheHeight) {
  const DialogBaseUnits base{6.0, 13.0};  // the original desktop's 8-point font
  const RECT pixels = DialogUnitsToPixels(RECT{4, 8, 104, 24}, base);
  EXPECT_EQ(pixels.left, 6);
  EXPECT_EQ(pixels.top, 13);
  EXPECT_EQ(pixels.right, 156);
  EXPECT_EQ(pixels.bottom, 39);
}

TEST(DialogUnits, RoundEachEdgeSoSharedEdgesStayShared) {
  const DialogBaseUnits base{6.786, 12.797};
  // Two controls side by side in the template touch in pixels too, although
  // the sizes alone would round differently.
  const RECT left = DialogUnitsToPixels(RECT{225, 24, 240, 36}, base);
  const RECT right = DialogUnitsToPixels(RECT{240, 24, 255, 36}, base);
  EXPECT_EQ(left.right, right.left);
  EXPECT_EQ(left.right, 407);  // 240 * 6.786 / 4 = 407.16
  EXPECT_EQ(left.bottom, 58);  // 36 * 12.797 / 8 = 57.59
}

}  // namespace
