#include "pages/HtmlText.h"

#include <gtest/gtest.h>

namespace {
struct EscapeRow {
  const char* name;
  const char* link;
  const char* text;
};

const EscapeRow kRows[] = {
    {"a.jpg", "a.jpg", "a.jpg"},
    {"with space.png", "with space.png", "with space.png"},
    {"x & y.jpg", "x &amp; y.jpg", "x &amp; y.jpg"},
    {"a#b?c%d.jpg", "a%23b%3Fc%25d.jpg", "a#b?c%d.jpg"},
    {"say \"hi\".jpg", "say &quot;hi&quot;.jpg", "say \"hi\".jpg"},
    {"<b>.jpg", "<b>.jpg", "&lt;b&gt;.jpg"},
    {"caf\xC3\xA9.jpg", "caf\xC3\xA9.jpg", "caf\xC3\xA9.jpg"},          // valid UTF-8 stays
    {"\xF0\x9F\x98\x80.png", "\xF0\x9F\x98\x80.png", "\xF0\x9F\x98\x80.png"},
    {"caf\xE9.jpg", "caf%E9.jpg", "caf\xEF\xBF\xBD.jpg"},               // Latin-1 byte
    {"\xC0\xAF", "%C0%AF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong form
    {"\xED\xA0\x80", "%ED%A0%80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},  // surrogate
    {"\xF4\x90\x80\x80", "%F4%90%80%80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    {"cut\xE2\x82", "cut%E2%82", "cut\xEF\xBF\xBD\xEF\xBF\xBD"},        // sequence cut short
    {"2001/Jan/_FileIndex.html", "2001/Jan/_FileIndex.html", "2001/Jan/_FileIndex.html"},
    // Nothing a browser could take for an address with a scheme, or lose.
    {"javascript:alert(1).jpg", "./javascript:alert(1).jpg", "javascript:alert(1).jpg"},
    {"C:x.jpg", "./C:x.jpg", "C:x.jpg"},
    {"2001/a:b.jpg", "2001/a:b.jpg", "2001/a:b.jpg"},
    {"line\nbreak.jpg", "line%0Abreak.jpg", "line\nbreak.jpg"},
    {"tab\tand\x7F.jpg", "tab%09and%7F.jpg", "tab\tand\x7F.jpg"},
    // Spaces a browser strips from the ends of an address; those inside stay.
    {" lead/ a b .jpg ", "%20lead/ a b .jpg%20", " lead/ a b .jpg "},
    {"  ", "%20%20", "  "},
};
}  // namespace

TEST(HtmlText, LinksAndVisibleText) {
  for (const EscapeRow& row : kRows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(ombral::EscapeLink(row.name), row.link);
    EXPECT_EQ(ombral::EscapeText(row.name), row.text);
    // In an attribute, the text with its quotes escaped as well.
    std::string attribute = row.text;
    for (std::size_t at = 0; (at = attribute.find('"', at)) != std::string::npos; at += 6) attribute.replace(at, 1, "&quot;");
    EXPECT_EQ(ombral::EscapeAttribute(row.name), attribute);
  }
}
