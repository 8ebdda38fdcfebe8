// Fixed texts of the folder pages that more than the page writer needs: the
// stale-file check proves a page is one of ours by its closing lines.
#pragma once

namespace ombral {

// The folder footer's credit line, the last line before the page's end.
inline constexpr const char* kCreditLine =
    "Created with Ombral by Arne Velde - <A HREF=\"http://www.tessalyworks.example/\">TessalyWorks</A>";

// The end of every page.
inline constexpr const char* kPageEnd = "\r\n</P>\r\n</BODY BGCOLOR=#C0C0C0>\r\n</HTML>\r\n";

// The start of the main index and of every folder page.
inline constexpr const char* kPageStart = "<HTML>\r\n<HEAD>\r\n";

}  // namespace ombral
