// Telling a damaged picture from a failure that is not about the picture.
// Internal to platform_image.
#pragma once

#include <string_view>

namespace platform::image {

// True when an image library's error text says it ran out of a resource
// (memory, threads, files) or was stopped, rather than that it rejected the
// data. Such a failure says nothing about the picture: it is tried again.
bool IsResourceFailure(std::string_view libraryText);

}  // namespace platform::image
