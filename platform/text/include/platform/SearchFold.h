// The form in which the gallery's search compares names and queries, so
// that what people type finds what the disk holds: "é" typed finds a name
// stored decomposed (as macOS writes them), "istanbul" finds "İstanbul",
// "cafe" finds "Café", "strasse" finds "Straße".
//
// The steps, which the page's script repeats with the browser's own
// functions (String.prototype.normalize, toLowerCase, toUpperCase) so both
// sides agree to the character:
//   1. canonical decomposition (NFD);
//   2. lower case, upper case, lower case again (root locale): the full
//      case folding that also opens ligatures and sharp s ("ß" -> "ss",
//      "ﬁ" -> "fi", "ẞ" -> "ss"), and the dotless "ı" meets "i";
//   3. every final sigma "ς" becomes "σ" (lower-casing chose it by context);
//   4. decomposition again, every nonspacing mark (Mn) dropped: accents,
//      the dot of "İ", diacritics of every script;
//   5. canonical composition (NFC), so Hangul and the like stay compact.
// Bytes that are not UTF-8 count as U+FFFD each.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// `text` (UTF-8) in the search's form, as UTF-8.
std::string FoldForSearch(std::string_view text);

}  // namespace platform
