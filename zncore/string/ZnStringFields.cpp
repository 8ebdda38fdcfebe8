// CZnString: fields, tokens and character runs.
#include <algorithm>
#include <climits>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "zncore/ZnString.h"

namespace {

std::string_view ViewOf(const char* text) { return text ? std::string_view(text) : std::string_view(); }

// The one-character text of a character; code 0 gives "".
std::string_view CharText(const char& ch) { return ch ? std::string_view(&ch, 1) : std::string_view(); }

CZnString FromView(std::string_view bytes) { return CZnString(CString(std::string(bytes))); }

// Field `n` of `text` split at `delimiter`. After the last delimiter the
// remaining text is the last field; any later number gives "".
std::string_view FieldOf(std::string_view text, std::string_view delimiter, int n) {
  // An empty delimiter is found where each field begins: every field is "".
  if (n < 0 || delimiter.empty()) return {};
  std::size_t begin = 0;
  for (int i = 0;; ++i) {
    const std::size_t end = text.find(delimiter, begin);
    if (end == std::string_view::npos) return i == n ? text.substr(begin) : std::string_view();
    if (i == n) return text.substr(begin, end - begin);
    begin = end + delimiter.size();
  }
}

int FieldCountOf(std::string_view text, std::string_view delimiter) {
  if (delimiter.empty()) return 1;
  int count = 1;
  for (std::size_t pos = text.find(delimiter); pos != std::string_view::npos;
       pos = text.find(delimiter, pos + delimiter.size())) {
    ++count;
  }
  return count;
}

bool IsDigitByte(char c, int extended) {
  if (c >= '0' && c <= '9') return true;
  return extended && (c == '!' || c == '.' || c == ',' || c == ':');
}

}  // namespace

CZnString CZnString::GetField(const char* delimiter, int n) const {
  return FromView(FieldOf(GetView(), ViewOf(delimiter), n));
}

CZnString CZnString::GetField(char delimiter, int n) const {
  // A zero delimiter cannot occur in a zero-terminated original, so the
  // whole string is field 0 and nothing follows it.
  if (!delimiter) return n == 0 ? *this : CZnString();
  return FromView(FieldOf(GetView(), CharText(delimiter), n));
}

int CZnString::GetFieldCount(const char* delimiter) const {
  return FieldCountOf(GetView(), ViewOf(delimiter));
}

int CZnString::GetFieldCount(char delimiter) const {
  return FieldCountOf(GetView(), CharText(delimiter));
}

CZnString CZnString::GetDelimitedField(const char* opening, const char* closing, int n) const {
  if (n < 0) return CZnString();
  const std::string_view text = GetView();
  const std::string_view open = ViewOf(opening);
  const std::string_view close = ViewOf(closing);
  std::size_t search = 0;
  for (int i = 0;; ++i) {
    const std::size_t openPos = text.find(open, search);
    if (openPos == std::string_view::npos) return CZnString();
    const std::size_t begin = openPos + open.size();
    const std::size_t closePos = text.find(close, begin);
    if (closePos == std::string_view::npos) return CZnString();
    // The restart counts the closing delimiter's length from the opening
    // position, so one delimiter used for both sides closes one field and
    // opens the next.
    const std::size_t next = openPos + close.size();
    // Without progress (an empty closing delimiter right at the search
    // position) every later field is this one: stop instead of looping.
    if (i == n || next == search) return FromView(text.substr(begin, closePos - begin));
    search = next;
  }
}

int CZnString::PartString(CZnString& key, const char* separator, CZnString& value) const {
  const std::string_view text = GetView();
  const std::string_view sep = ViewOf(separator);
  const std::size_t pos = text.find(sep);
  // Both parts are built before either output is assigned, since the
  // outputs may be this object itself.
  if (pos == std::string_view::npos) {
    CZnString whole(*this);
    value.Empty();
    key = std::move(whole);
    return 0;
  }
  CZnString before = FromView(text.substr(0, pos));
  CZnString after = FromView(text.substr(pos + sep.size()));
  key = std::move(before);
  value = std::move(after);
  return 1;
}

int CZnString::PartString(CZnString& key, char separator, CZnString& value) const {
  const char text[2] = {separator, '\0'};
  return PartString(key, text, value);
}

int CZnString::IsComment(const char* commentChars) const {
  CString trimmed(*this);
  trimmed.TrimLeft();
  if (trimmed.IsEmpty()) return 1;
  return ViewOf(commentChars).find(trimmed.GetView().front()) != std::string_view::npos ? 1 : 0;
}

CZnString CZnString::ReturnXChars(char ch, unsigned int count) const {
  // A CString's length is an int; a longer run could not be measured.
  if (count > static_cast<unsigned int>(INT_MAX)) throw std::length_error("ReturnXChars: count too large");
  return CZnString(CString(std::string(count, ch)));
}

CZnString CZnString::BuildAlphabet(int first, int end) const {
  first = std::max(first, 0);
  end = std::min(end, 256);
  std::string alphabet;
  for (int code = first; code < end; ++code) alphabet += static_cast<char>(code);
  return CZnString(CString(std::move(alphabet)));
}

CZnString& CZnString::SortChars(int ascending) {
  // Sorting equal bytes in any order gives the same bytes, so a plain sort
  // has the result of the original exchange sort, without its n*n time.
  std::string bytes(GetView());
  auto asUnsigned = [](char c) { return static_cast<unsigned char>(c); };
  if (ascending) {
    std::sort(bytes.begin(), bytes.end(), [&](char a, char b) { return asUnsigned(a) < asUnsigned(b); });
  } else {
    std::sort(bytes.begin(), bytes.end(), [&](char a, char b) { return asUnsigned(a) > asUnsigned(b); });
  }
  CString::operator=(CString(std::move(bytes)));
  return *this;
}

int CZnString::CountDigits(int extended) const {
  const std::string_view text = GetView();
  return static_cast<int>(std::count_if(text.begin(), text.end(), [extended](char c) { return IsDigitByte(c, extended); }));
}
