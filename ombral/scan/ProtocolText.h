// Names in protocol lines: a file name may hold any byte but '/' and NUL,
// and a protocol line goes to a terminal or a list box. Control characters
// would start new lines or terminal commands there (a name could print a
// line of its own that looks like the scan's last status), so they are
// shown as escapes instead.
#pragma once

#include <string>
#include <string_view>

namespace ombral {

// The text with every control character shown as an escape: "\n", "\r",
// "\t", others as "\xHH"; bytes that are not valid UTF-8 as "\xHH", and
// the C1 controls (U+0080 to U+009F) as "\u0080" and so on. Text without
// such characters comes back unchanged.
std::string EscapeForProtocol(std::string_view text);

}  // namespace ombral
