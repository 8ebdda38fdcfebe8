// CString: construction, access, buffer, comparison, substrings and editing.
#include "platform/String.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/Crt.h"

namespace {

bool IsTrimSpace(char c) noexcept {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view ViewOf(const char* text) noexcept {
  return text ? std::string_view(text) : std::string_view();
}

int CompareBytes(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = std::min(a.size(), b.size());
  if (n != 0) {
    if (int r = std::memcmp(a.data(), b.data(), n); r != 0) return r < 0 ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

CString::CString(char ch, int count) {
  if (count > 0) m_data.assign(static_cast<std::size_t>(count), ch);
}

CString::CString(const char* bytes, int count) {
  if (bytes && count > 0) m_data.assign(bytes, static_cast<std::size_t>(count));
}

CString::CString(const char* text) : m_data(ViewOf(text)) {}

CString::CString(const unsigned char* text)
    : m_data(ViewOf(reinterpret_cast<const char*>(text))) {}

CString::CString(const unsigned short* wide) : m_data(platform::Utf16ToUtf8(wide)) {}

CString& CString::operator=(const char* text) {
  // The text may point into this string itself: build first, then swap in.
  std::string copy(ViewOf(text));
  m_data.swap(copy);
  return *this;
}

CString& CString::operator=(const unsigned char* text) {
  return *this = reinterpret_cast<const char*>(text);
}

CString& CString::operator=(char ch) {
  m_data.assign(1, ch);
  return *this;
}

char CString::GetAt(int index) const noexcept {
  if (index < 0 || index >= GetLength()) return 0;
  return m_data[static_cast<std::size_t>(index)];
}

void CString::SetAt(int index, char ch) noexcept {
  if (index >= 0 && index < GetLength()) m_data[static_cast<std::size_t>(index)] = ch;
}

char* CString::GetBuffer(int minLength) {
  if (minLength > GetLength()) m_data.resize(static_cast<std::size_t>(minLength), '\0');
  return m_data.data();
}

char* CString::GetBufferSetLength(int length) {
  GetBuffer(length);
  ReleaseBuffer(length < 0 ? 0 : length);
  return m_data.data();
}

void CString::ReleaseBuffer(int newLength) {
  std::size_t length;
  if (newLength < 0) {
    length = std::strlen(m_data.c_str());  // stops at the terminator at the latest
  } else {
    length = std::min(static_cast<std::size_t>(newLength), m_data.size());
  }
  m_data.resize(length);
}

int CString::Compare(const char* bytes, std::size_t length) const noexcept {
  return CompareBytes(m_data, std::string_view(bytes, length));
}

int CString::Compare(const char* text) const noexcept { return CompareBytes(m_data, ViewOf(text)); }

int CString::CompareNoCase(const char* text) const noexcept {
  std::string a = m_data;
  std::string b(ViewOf(text));
  platform::AsciiLower(a);
  platform::AsciiLower(b);
  return CompareBytes(a, b);
}

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  if (first < 0) first = 0;
  if (count <= 0 || first >= GetLength()) return CString();
  count = std::min(count, GetLength() - first);
  return CString(m_data.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
  if (count <= 0) return CString();
  count = std::min(count, GetLength());
  return Mid(GetLength() - count, count);
}

void CString::MakeUpper() noexcept { platform::AsciiUpper(m_data); }

void CString::MakeLower() noexcept { platform::AsciiLower(m_data); }

void CString::MakeReverse() noexcept { std::reverse(m_data.begin(), m_data.end()); }

void CString::TrimLeft() {
  auto it = std::find_if_not(m_data.begin(), m_data.end(), IsTrimSpace);
  m_data.erase(m_data.begin(), it);
}

void CString::TrimLeft(char ch) {
  m_data.erase(0, std::min(m_data.find_first_not_of(ch), m_data.size()));
}

void CString::TrimLeft(const char* charSet) {
  const std::string_view set = ViewOf(charSet);
  if (set.empty()) return;
  m_data.erase(0, std::min(m_data.find_first_not_of(set), m_data.size()));
}

void CString::TrimRight() {
  auto it = std::find_if_not(m_data.rbegin(), m_data.rend(), IsTrimSpace);
  m_data.erase(it.base(), m_data.end());
}

void CString::TrimRight(char ch) {
  const std::size_t last = m_data.find_last_not_of(ch);
  m_data.resize(last == std::string::npos ? 0 : last + 1);
}

void CString::TrimRight(const char* charSet) {
  const std::string_view set = ViewOf(charSet);
  if (set.empty()) return;
  const std::size_t last = m_data.find_last_not_of(set);
  m_data.resize(last == std::string::npos ? 0 : last + 1);
}

int CString::Find(char ch, int start) const noexcept {
  if (start < 0 || start > GetLength()) return -1;
  const std::size_t pos = m_data.find(ch, static_cast<std::size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const char* sub, int start) const noexcept {
  if (!sub || start < 0 || start > GetLength()) return -1;
  const std::size_t pos = m_data.find(sub, static_cast<std::size_t>(start));
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(char ch) const noexcept {
  const std::size_t pos = m_data.rfind(ch);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const char* charSet) const noexcept {
  const std::string_view set = ViewOf(charSet);
  if (set.empty()) return -1;
  const std::size_t pos = m_data.find_first_of(set);
  return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

void CString::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  FormatV(format, args);
  va_end(args);
}

void CString::FormatV(const char* format, va_list args) { m_data = platform::FormatV(format, args); }

CString& CString::operator+=(const CString& other) {
  m_data += other.m_data;
  return *this;
}

CString& CString::operator+=(const char* text) {
  m_data += ViewOf(text);
  return *this;
}

CString& CString::operator+=(char ch) {
  m_data += ch;
  return *this;
}

CString operator+(const CString& a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, const char* b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const char* a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(const CString& a, char b) {
  CString result(a);
  result += b;
  return result;
}

CString operator+(char a, const CString& b) {
  CString result(a);
  result += b;
  return result;
}
