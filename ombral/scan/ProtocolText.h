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

// A protocol line about a file or folder the scan could not handle: `what`
// ("Cannot write file") and the quoted path, then why in the system's own
// words ("Cannot write file \"T:\\a.html\": No space left on device.");
// without a reason (`error` 0), with "!" as it always ended. `tail` comes
// after the path (" with write permission").
std::string ProblemText(std::string_view what, std::string_view path, int error, std::string_view tail = {});

}  // namespace ombral
