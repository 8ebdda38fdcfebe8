// The preview mark: the comment segment every preview starts with.
// Internal to platform_image.
#pragma once

#include <string>

namespace platform::image {

// Puts the mark right after the start-of-image marker of `jpeg`; false
// (leaving it alone) when it does not start with that marker.
bool AddPreviewMark(std::string& jpeg);

}  // namespace platform::image
