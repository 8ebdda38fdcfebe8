// Test seam: list boxes report that they are out of space once they hold
// `lines` lines, so the out-of-space path can be run without exhausting the
// memory. A negative count removes the limit. Returns the previous limit.
#pragma once

namespace platform::testing {

int SetListBoxCapacity(int lines);

}  // namespace platform::testing
