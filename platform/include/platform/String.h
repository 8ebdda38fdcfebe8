/// @file
/// CString: the framework's byte string, the base of the suite's string class.
///
/// A CString holds a byte sequence of known length followed by a terminator, so
/// it can be handed to any function that expects a zero-terminated text. It may
/// hold zero bytes when it was built with an explicit length; searches,
/// comparisons and edits then see the whole stored length, not only the bytes
/// before the first zero.
///
/// Text is UTF-8 (the active code page of the port). Lengths and indexes count
/// bytes. Case mapping is the C locale's: only the ASCII letters change.
/// A null text pointer is treated as the empty text everywhere.
#pragma once

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

class CString {
public:
  // --- Construction -------------------------------------------------------
  CString() noexcept = default;
  CString(const CString& other) = default;
  CString(CString&& other) noexcept = default;
  /// The character repeated `count` times; a count below 1 gives "".
  CString(char ch, int count = 1);
  /// Exactly `count` bytes of `bytes`, zero bytes included; a count below 1 or
  /// a null pointer gives "".
  CString(const char* bytes, int count);
  CString(const char* text);                ///< zero-terminated text
  CString(const unsigned char* text);       ///< zero-terminated text
  /// Zero-terminated UTF-16 text, converted to UTF-8; an unpaired surrogate
  /// becomes U+FFFD.
  CString(const unsigned short* wide);
  /// Port extension: takes over a standard string as it is.
  explicit CString(std::string bytes) noexcept : m_data(std::move(bytes)) {}
  ~CString() = default;

  CString& operator=(const CString& other) = default;
  CString& operator=(CString&& other) noexcept = default;
  CString& operator=(const char* text);
  CString& operator=(const unsigned char* text);
  CString& operator=(char ch);

  // --- Size and access ----------------------------------------------------
  int GetLength() const noexcept { return static_cast<int>(m_data.size()); }
  bool IsEmpty() const noexcept { return m_data.empty(); }
  void Empty() noexcept { m_data.clear(); }
  /// The byte at `index`; 0 outside 0..length-1.
  char GetAt(int index) const noexcept;
  char operator[](int index) const noexcept { return GetAt(index); }
  /// Writes one byte; an index outside 0..length-1 changes nothing.
  void SetAt(int index, char ch) noexcept;
  operator const char*() const noexcept { return m_data.c_str(); }
  const char* GetString() const noexcept { return m_data.c_str(); }
  /// Port extensions: the stored bytes without copying.
  std::string_view GetView() const noexcept { return m_data; }
  const std::string& GetStdString() const noexcept { return m_data; }

  // --- Raw buffer ---------------------------------------------------------
  /// A writable buffer of at least minLength + 1 bytes holding the content.
  /// Bytes beyond the content are zero. Valid until the next other call.
  char* GetBuffer(int minLength);
  /// GetBuffer(length) followed by ReleaseBuffer(length).
  char* GetBufferSetLength(int length);
  /// Ends a GetBuffer: the length becomes `newLength` (at most the buffer's
  /// size); -1 takes the length up to the first zero byte.
  void ReleaseBuffer(int newLength = -1);

  // --- Comparison -----------------------------------------------------------
  /// <0, 0, >0 comparing unsigned bytes over the whole length.
  int Compare(const char* text) const noexcept;
  /// The same after ASCII lower-casing of both sides.
  int CompareNoCase(const char* text) const noexcept;

  // --- Substrings (counts below 0 give "", counts beyond the end are cut) ---
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Left(int count) const;
  CString Right(int count) const;

  // --- Editing ----------------------------------------------------------------
  void MakeUpper() noexcept;
  void MakeLower() noexcept;
  void MakeReverse() noexcept;
  /// Whitespace is blank, tab, line feed, carriage return, vertical tab and
  /// form feed.
  void TrimLeft();
  void TrimLeft(char ch);
  void TrimLeft(const char* charSet);
  void TrimRight();
  void TrimRight(char ch);
  void TrimRight(const char* charSet);

  // --- Search (byte searches: safe for UTF-8) ----------------------------------
  /// First position at or after `start`; -1 when none or when `start` lies
  /// outside 0..length. An empty substring is found at `start`.
  int Find(char ch, int start = 0) const noexcept;
  int Find(const char* sub, int start = 0) const noexcept;
  int ReverseFind(char ch) const noexcept;
  /// First position of any byte of `charSet`; -1 when none.
  int FindOneOf(const char* charSet) const noexcept;

  // --- Formatting and concatenation --------------------------------------------
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void FormatV(const char* format, va_list args);

  CString& operator+=(const CString& other);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(const CString& a, char b);
  friend CString operator+(char a, const CString& b);

  friend bool operator==(const CString& a, const CString& b) noexcept {
    return a.m_data == b.m_data;
  }
  friend bool operator==(const CString& a, const char* b) noexcept { return a.Compare(b) == 0; }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) noexcept {
    return a.Compare(b.m_data.c_str(), b.m_data.size()) <=> 0;
  }
  friend std::strong_ordering operator<=>(const CString& a, const char* b) noexcept {
    return a.Compare(b) <=> 0;
  }

private:
  int Compare(const char* bytes, std::size_t length) const noexcept;

  std::string m_data;
};

namespace platform {
/// Converts zero-terminated UTF-16 text to UTF-8 (unpaired surrogates become
/// U+FFFD). A null pointer gives "".
std::string Utf16ToUtf8(const unsigned short* wide);
}  // namespace platform
