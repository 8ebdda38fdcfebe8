// The texts of the pages a scan writes: heads, footers, image entries, the
// frameset and welcome pages and the lines of the main index.
#include <string>
#include <string_view>

#include "pages/HtmlText.h"
#include "pages/classic/PageTexts.h"
#include "ombral/HtmlFile.h"
#include "ombral/OmbralScan.h"
#include "platform/Clock.h"
#include "zncore/ZnString.h"

namespace {

// The credits: the title text names the author and the maker, the folder
// pages end with a notice and a link to the maker's home page (PageTexts.h).
constexpr const char* kTitleText = "Picture Index by Arne Velde, Tessaly Works";
constexpr const char* kWelcomeNotice = "Ombral is made by Tessaly Works, written by Arne Velde.";
constexpr const char* kHomePage = "http://www.tessalyworks.example/";

// Pages that carry file-system names declare their encoding, so browsers do
// not guess a legacy one and break every non-ASCII link.
constexpr const char* kCharsetLine =
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n";

// `path` without the root's text in front (and the backslashes after it).
// Only in front: a root that occurs again further on (a folder of the same
// name below it) stays there.
std::string WithoutRoot(const char* path, const char* root) {
  std::string_view text = path ? path : "";
  const std::string_view prefix = root ? root : "";
  if (!prefix.empty() && text.substr(0, prefix.size()) == prefix) text.remove_prefix(prefix.size());
  while (!text.empty() && text.front() == '\\') text.remove_prefix(1);
  return std::string(text);
}

}  // namespace

void COmbralScan::WriteIndexHeader(CHtmlFile& file, const char* path, int main, int centred,
                                   std::uint64_t bytes, int count) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  file.Write(ombral::kPageStart);
  file.Write(kCharsetLine);
  file.Format("<TITLE>OMBRAL - %s</TITLE>\r\n</HEAD>\r\n\r\n<P>\r\n", kTitleText);
  file.Format("<H1 ALIGN=\"CENTER\"><FONT COLOR=\"0000FF\">%s</FONT></H1>\r\n", main ? "MAIN INDEX" : "INDEX");
  const std::string shownPath = ombral::EscapeText(path ? path : "");
  if (main) {
    file.Format("Date: %02d.%02d.%04d-%02d:%02d:%02d<BR>\r\nPath: %s<BR>\r\n</P>\r\n<HR>\r\n\r\n</P>\r\n<P>",
                now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond, shownPath.c_str());
  } else if (centred) {
    file.Format("Date:  %02d.%02d.%04d-%02d:%02d:%02d<BR>\r\nPath:  %s<BR>\r\n"
                "Stats: %d images (%llu bytes)<BR>\r\n</P>\r\n<HR>\r\n<P ALIGN=\"CENTER\">",
                now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond, shownPath.c_str(), count,
                static_cast<unsigned long long>(bytes));
  } else {
    file.Format("Date:  %02d.%02d.%04d-%02d:%02d:%02d<BR>\r\nPath:  %s<BR>\r\n</P>\r\n"
                "Stats: %d images (%llu bytes)<BR>\r\n<HR>\r\n\r\n</P>\r\n<P>",
                now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond, shownPath.c_str(), count,
                static_cast<unsigned long long>(bytes));
  }
}

void COmbralScan::WriteIndexFooter(CHtmlFile& file, int images, int main, double bytes) {
  const double kilobytes = bytes * (1.0 / 1024);
  if (main) {
    file.Format("\r\n\r\n<BR>\r\n<BR>\r\n</P>\r\n<HR>\r\nfile contains<BR>%d links<BR>with %.0f KB (images)<HR>\r\n",
                images, kilobytes);
  } else {
    file.Format("\r\n\r\n<BR>\r\n<BR>\r\n</P>\r\n<HR>\r\n%d images with %.0f KB<BR><BR>\r\n", images, kilobytes);
    file.Write(ombral::kCreditLine);
  }
  file.Write(ombral::kPageEnd);
}

void COmbralScan::WriteImageEntry(CHtmlFile& file, int number, const char* name, std::uint64_t size) {
  // The page lies in the image's folder, so the name alone is the link.
  file.Format("<IMG SRC=\"%s\"><BR>\r\nImage: %d - %s (%llu bytes)<BR>\r\n<BR>\r\n",
              ombral::EscapeLink(name).c_str(), number, ombral::EscapeText(name).c_str(),
              static_cast<unsigned long long>(size));
}

void COmbralScan::WritePreviewEntry(CHtmlFile& file, int number, const char* name, std::uint64_t size,
                                    const char* previewLink, int width, int height) {
  // The preview links to the picture beside the page; the browser loads it
  // only when it scrolls into view.
  file.Format("<A HREF=\"%s\"><IMG SRC=\"%s\" WIDTH=\"%d\" HEIGHT=\"%d\" loading=\"lazy\"></A><BR>\r\n"
              "Image: %d - %s (%llu bytes)<BR>\r\n<BR>\r\n",
              ombral::EscapeLink(name).c_str(), ombral::EscapeLink(previewLink).c_str(), width, height, number,
              ombral::EscapeText(name).c_str(), static_cast<unsigned long long>(size));
}

void COmbralScan::WriteFramesetPage(CHtmlFile& file, const char* indexPage, const char* welcomePage) {
  file.Format("<HTML>\r\n<HEAD>\r\n<TITLE>Tessaly Works Picture Archive Viewer</TITLE></HEAD>\r\n"
              "<FRAMESET COLS=\"220,*\" ONUNLOAD=\"0\">\r\n"
              "<FRAME SRC=\"%s\" NAME=\"Index\" MARGINWIDTH=\"2\" MARGINHEIGHT=\"2\">\r\n"
              "<FRAME SRC=\"%s\" NAME=\"Details\">\r\n"
              "<NOFRAMES><BODY></BODY></NOFRAMES></FRAMESET></HTML>\r\n",
              indexPage, welcomePage);
}

void COmbralScan::WriteWelcomePage(CHtmlFile& file) {
  file.Format("<HTML>\r\n<HEAD>\r\n<TITLE>OMBRAL - %s</TITLE>\r\n</HEAD>\r\n\r\n<P>\r\n"
              "<H1 ALIGN=\"CENTER\"><FONT COLOR=\"0000FF\">Choose index file on the left.</FONT></H1>\r\n"
              "</P>\r\n<P>",
              kTitleText);
  file.Format("%s<BR><HR>\r\n</P>\r\n</P><A HREF=\"", kWelcomeNotice);
  file.Format("%s\">Visit Tessaly Works!</A><BR><BR>\r\n</P>\r\n</BODY BGCOLOR=#C0C0C0>\r\n</HTML>\r\n", kHomePage);
}

void COmbralScan::WriteMainIndexLine(CHtmlFile& file, const char* root, const char* folder, const char* page) {
  // The link target is the page's (or folder's) path without the root text
  // in front, and slashes for backslashes; each slash left indents the line
  // one level.
  CZnString target(WithoutRoot(page ? page : folder, root).c_str());
  target.FindReplace('\\', '/', 1);
  std::string indent;
  for (int depth = target.CountChar('/'); depth > 0; --depth) indent += "&nbsp;&nbsp;";
  const std::string text = ombral::EscapeText(GetLastPathComponent(folder).GetView());
  if (page) {
    file.Format("%s<A HREF=\"%s\" target=\"Details\">%s</A><BR>\r\n", indent.c_str(),
                ombral::EscapeLink(target.GetView()).c_str(), text.c_str());
  } else {
    file.Format("%s%s<BR>\r\n", indent.c_str(), text.c_str());
  }
}

void COmbralScan::WriteMainIndexAlias(CHtmlFile& file, const char* root, const char* link, const char* targetPage) {
  // The link's own place sets the indentation; the target's page the link.
  CZnString place(WithoutRoot(link, root).c_str());
  CZnString target(WithoutRoot(targetPage, root).c_str());
  target.FindReplace('\\', '/', 1);
  std::string indent;
  for (int depth = place.CountChar('\\') + 1; depth > 0; --depth) indent += "&nbsp;&nbsp;";
  file.Format("%s<A HREF=\"%s\" target=\"Details\">%s</A><BR>\r\n", indent.c_str(),
              ombral::EscapeLink(target.GetView()).c_str(), ombral::EscapeText(GetLastPathComponent(link).GetView()).c_str());
}

CString COmbralScan::GetLastPathComponent(const char* path) const {
  const CString text(path);
  const int last = text.ReverseFind('\\');
  return last < 0 ? text : text.Mid(last + 1);
}
