// The search's form of a text, on ICU (see platform/SearchFold.h).
#include "platform/SearchFold.h"

#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace platform {

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::string FoldForSearch(std::string_view text) {
  // Most names of a photo archive are ASCII, where all the steps come down
  // to lower case.
  if (IsAscii(text)) {
    std::string folded(text);
    for (char& c : folded)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
  }
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return std::string(text);
  // Ill-formed bytes become U+FFFD, one each.
  icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
  icu::UnicodeString decomposed = nfd->normalize(unicode, status);
  const icu::Locale& root = icu::Locale::getRoot();
  decomposed.toLower(root).toUpper(root).toLower(root);
  decomposed.findAndReplace(icu::UnicodeString(static_cast<UChar32>(0x03C2)), icu::UnicodeString(static_cast<UChar32>(0x03C3)));
  icu::UnicodeString again = nfd->normalize(decomposed, status);
  icu::UnicodeString bare;
  for (int32_t at = 0; at < again.length();) {
    const UChar32 c = again.char32At(at);
    if (u_charType(c) != U_NON_SPACING_MARK) bare.append(c);
    at += U16_LENGTH(c);
  }
  icu::UnicodeString composed = nfc->normalize(bare, status);
  if (U_FAILURE(status)) return std::string(text);
  std::string folded;
  composed.toUTF8String(folded);
  return folded;
}

}  // namespace platform
