// The libraries under the previews report every failure as text; the words
// of running out are few and stable (the JPEG library's "Insufficient
// memory" and "Backing store not supported" when a picture exceeds the
// memory it may use, the pixel library's "out of memory", the allocators'
// "cannot allocate"), while the ways of rejecting data are many. So a failure is
// put down to a resource only by these words; all else the library said is
// taken as its verdict on the data.
#include "DecodeFailure.h"

#include <string>

#include "platform/Crt.h"

namespace platform::image {

bool IsResourceFailure(std::string_view libraryText) {
  std::string text(libraryText);
  AsciiUpper(text);
  for (const char* words : {"OUT OF MEMORY", "INSUFFICIENT MEMORY", "NOT ENOUGH MEMORY", "MEMORY ALLOCATION",
                            "CANNOT ALLOCATE", "UNABLE TO ALLOCATE", "FAILED TO ALLOCATE", "COULD NOT ALLOCATE",
                            "MEMORY EXHAUSTED", "MEMORYALLOCATIONFAILED", "CACHE RESOURCES EXHAUSTED", "BACKING STORE",
                            "UNABLE TO CREATE THREAD", "TOO MANY OPEN FILES", "INTERRUPTED", "KILLED"})
    if (text.find(words) != std::string::npos) return true;
  return false;
}

}  // namespace platform::image
