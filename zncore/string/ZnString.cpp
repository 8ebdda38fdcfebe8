// CZnString: access, editing, search, replacement and character runs.
#include "zncore/ZnString.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/Crt.h"

namespace {

std::string_view ViewOf(const char* text) { return text ? std::string_view(text) : std::string_view(); }

// The one-character text of a character; code 0 gives "".
std::string_view CharText(const char& ch) { return ch ? std::string_view(&ch, 1) : std::string_view(); }

std::string Lowered(std::string_view text) {
  std::string copy(text);
  platform::AsciiLower(copy);
  return copy;
}

bool IsSpecialTrimChar(char ch) { return ch == '\n' || ch == '\t' || ch == ' '; }

// Non-overlapping replacement from the left, resuming after each inserted
// replacement. `haystack` is where to search (the string itself, or a
// lower-cased copy of it for the case-free form); both have equal lengths.
int ReplaceOccurrences(std::string& text, std::string_view haystack, std::string_view find,
                       std::string_view replace, int all) {
  std::string result;
  int count = 0;
  std::size_t from = 0;
  for (std::size_t pos = haystack.find(find); pos != std::string_view::npos;
       pos = haystack.find(find, from)) {
    result.append(text, from, pos - from);
    result.append(replace);
    from = pos + find.size();
    ++count;
    if (!all) break;
  }
  if (count == 0) return 0;
  result.append(text, from, std::string::npos);
  text.swap(result);
  return count;
}

}  // namespace

char CZnString::GetAt(int index) const {
  if (index < 0 || index > GetLength()) return '~';
  return index == GetLength() ? '\0' : CString::GetAt(index);
}

CZnString& CZnString::Insert(int index, const char* text) {
  const std::string_view insert = ViewOf(text);
  if (insert.empty() || index < 0) return *this;
  std::string content(GetView());
  if (static_cast<std::size_t>(index) >= content.size()) content.resize(static_cast<std::size_t>(index), ' ');
  content.insert(static_cast<std::size_t>(index), insert);
  CString::operator=(CString(std::move(content)));
  return *this;
}

CZnString& CZnString::Insert(int index, char ch) {
  const char text[2] = {ch, '\0'};
  return Insert(index, text);
}

CZnString& CZnString::Delete(int index, int count) {
  const int length = GetLength();
  if (index < 0 || index >= length) return *this;
  if (count < 0 || count > length - index) count = length - index;
  CString::operator=(Left(index) + Right(length - index - count));
  return *this;
}

CZnString& CZnString::Replace(int index, int count, const char* text) {
  Delete(index, count);
  return Insert(index, text);
}

int CZnString::Find(char ch, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  return CString::Find(ch, start);
}

int CZnString::Find(const char* sub, int start) const {
  if (start < 0 || start > GetLength()) return -1;
  return CString::Find(sub, start);
}

int CZnString::FindNoCase(char ch, int start) const {
  // As unsigned numbers -1 is the largest value, so any position wins over it.
  const unsigned lower = static_cast<unsigned>(Find(platform::AsciiToLower(ch), start));
  const unsigned upper = static_cast<unsigned>(Find(platform::AsciiToUpper(ch), start));
  return static_cast<int>(lower < upper ? lower : upper);
}

int CZnString::FindNoCase(const char* sub, int start) const {
  if (!sub || start < 0 || start > GetLength()) return -1;
  const std::size_t pos = Lowered(GetView()).find(Lowered(sub), static_cast<std::size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

namespace {

// The last position at or before `start` where `sub` begins, comparing bytes.
int ReverseSearch(std::string_view text, std::string_view sub, int start) {
  const int n = static_cast<int>(sub.size());
  const int length = static_cast<int>(text.size());
  if (n < 1 || length < 1 || start < -1) return -1;
  if (start == -1 || start >= length) start = length - 1;
  // A text that would run past the end never matches.
  for (int pos = std::min(start, length - n); pos >= 0; --pos) {
    if (text.compare(static_cast<std::size_t>(pos), sub.size(), sub) == 0) return pos;
  }
  return -1;
}

}  // namespace

int CZnString::ReverseFind(const char* sub, int start) const {
  return ReverseSearch(GetView(), ViewOf(sub), start);
}

int CZnString::ReverseFindNoCase(char ch, int start) const {
  return ReverseFindNoCase(std::string(CharText(ch)).c_str(), start);
}

int CZnString::ReverseFindNoCase(const char* sub, int start) const {
  // Lower-case both once instead of comparing case-free at every position.
  return ReverseSearch(Lowered(GetView()), Lowered(ViewOf(sub)), start);
}

int CZnString::FindReplace(const char* find, const char* replace, int all) {
  if (!find || !*find || !replace) return 0;
  std::string text(GetView());
  const int count = ReplaceOccurrences(text, text, find, replace, all);
  if (count) CString::operator=(CString(std::move(text)));
  return count;
}

int CZnString::FindReplace(const char* find, char replace, int all) {
  return FindReplace(find, std::string(CharText(replace)).c_str(), all);
}

int CZnString::FindReplace(char find, char replace, int all) {
  return FindReplace(std::string(CharText(find)).c_str(), std::string(CharText(replace)).c_str(), all);
}

int CZnString::FindReplace(char find, const char* replace, int all) {
  return FindReplace(std::string(CharText(find)).c_str(), replace, all);
}

int CZnString::FindReplaceNoCase(const char* find, const char* replace, int all) {
  const std::string lowerFind = Lowered(ViewOf(find));
  if (lowerFind.empty()) return 0;
  std::string text(GetView());
  const int count = ReplaceOccurrences(text, Lowered(text), lowerFind, ViewOf(replace), all);
  if (count) CString::operator=(CString(std::move(text)));
  return count;
}

int CZnString::FindReplaceNoCase(const char* find, char replace, int all) {
  return FindReplaceNoCase(find, std::string(CharText(replace)).c_str(), all);
}

int CZnString::FindReplaceNoCase(char find, char replace, int all) {
  return FindReplaceNoCase(std::string(CharText(find)).c_str(), std::string(CharText(replace)).c_str(), all);
}

int CZnString::CountChar(char ch) const {
  int count = 0;
  for (char c : GetView()) count += (c == ch);
  return count;
}

CZnString& CZnString::DelChar(char ch, int keep) {
  if (!ch) return *this;
  if (keep < 0) keep = 0;
  // Deleting the leftmost occurrence until `keep` remain, in one pass.
  int surplus = CountChar(ch) - keep;
  if (surplus <= 0) return *this;
  std::string text;
  for (char c : GetView()) {
    if (c == ch && surplus > 0) {
      --surplus;
      continue;
    }
    text += c;
  }
  CString::operator=(CString(std::move(text)));
  return *this;
}

CZnString& CZnString::DelEndChar(char ch) {
  if (IsSpecialTrimChar(ch)) {
    TrimRight();
  } else {
    TrimRight(ch);
  }
  return *this;
}

CZnString& CZnString::DelLeadChar(char ch) {
  if (IsSpecialTrimChar(ch)) {
    TrimLeft();
    return *this;
  }
  // The leading run becomes blanks, so TrimLeft takes it together with any
  // whitespace that follows it.
  std::string text(GetView());
  for (char& c : text) {
    if (c != ch) break;
    c = ' ';
  }
  CString::operator=(CString(std::move(text)));
  TrimLeft();
  return *this;
}

CZnString& CZnString::DoubleChar(char ch, char doubled) {
  const char pair = doubled ? doubled : ch;
  const char replace[3] = {pair, pair, '\0'};
  FindReplace(ch, replace, 1);
  return *this;
}

CZnString& CZnString::OneChar(char ch, char single) {
  const char find[3] = {ch, ch, '\0'};
  FindReplace(find, single ? single : ch, 1);
  return *this;
}
