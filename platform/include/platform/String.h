/// @file
/// CString: the framework's byte string, the base of the suite's string class.
#pragma once

#include <compare>
#include <cstdarg>
#include <string>
#include <string_view>

/// The framework's byte string, the base of the suite's string class.
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
///
/// CString belongs to the platform layer (`platform_core`); ZnCore's CZnString
/// derives from it.
/// @ingroup platform_base
class CString {
public:
  /// @name Construction and assignment
  /// @{

  /// The empty string.
  CString() noexcept = default;
  /// A copy of `other`.
  CString(const CString& other) = default;
  /// Takes over the bytes of `other`, which is left valid but unspecified.
  CString(CString&& other) noexcept = default;
  /// The character repeated `count` times; a count below 1 gives "".
  CString(char ch, int count = 1);
  /// Exactly `count` bytes of `bytes`, zero bytes included; a count below 1 or
  /// a null pointer gives "".
  CString(const char* bytes, int count);
  /// The zero-terminated text `text`; null gives "".
  CString(const char* text);
  /// The zero-terminated text `text`, byte for byte; null gives "".
  CString(const unsigned char* text);
  /// Zero-terminated UTF-16 text, converted to UTF-8; an unpaired surrogate
  /// becomes U+FFFD. Null gives "".
  CString(const unsigned short* wide);
  /// Port extension: takes over a standard string as it is.
  explicit CString(std::string bytes) noexcept : m_data(std::move(bytes)) {}
  /// Frees the bytes.
  ~CString() = default;

  /// Copies `other`; returns this string.
  CString& operator=(const CString& other) = default;
  /// Takes over the bytes of `other`; returns this string.
  CString& operator=(CString&& other) noexcept = default;
  /// Copies the zero-terminated text (null gives ""); `text` may point into
  /// this string itself. Returns this string.
  CString& operator=(const char* text);
  /// The same for a text of unsigned bytes.
  CString& operator=(const unsigned char* text);
  /// The one character `ch` (a zero byte too: the length becomes 1).
  CString& operator=(char ch);
  /// @}

  /// @name Size and access
  /// @{

  /// The number of bytes, zero bytes included.
  int GetLength() const noexcept { return static_cast<int>(m_data.size()); }
  /// True when the string has no bytes.
  bool IsEmpty() const noexcept { return m_data.empty(); }
  /// Makes the string empty.
  void Empty() noexcept { m_data.clear(); }
  /// The byte at `index`; 0 outside 0..length-1.
  char GetAt(int index) const noexcept;
  /// The byte at `index`, as GetAt: 0 outside 0..length-1.
  char operator[](int index) const noexcept { return GetAt(index); }
  /// Writes one byte; an index outside 0..length-1 changes nothing.
  void SetAt(int index, char ch) noexcept;
  /// The bytes with their terminator; valid until the string changes.
  operator const char*() const noexcept { return m_data.c_str(); }
  /// The bytes with their terminator; valid until the string changes.
  const char* GetString() const noexcept { return m_data.c_str(); }
  /// Port extension: the stored bytes without copying; valid until the
  /// string changes.
  std::string_view GetView() const noexcept { return m_data; }
  /// Port extension: the stored standard string, read-only, without copying.
  const std::string& GetStdString() const noexcept { return m_data; }
  /// @}

  /// @name Raw buffer
  /// @{

  /// A writable buffer of at least minLength + 1 bytes holding the content;
  /// the string grows to `minLength` bytes when it is shorter (a smaller or
  /// negative `minLength` changes nothing). Bytes beyond the content are
  /// zero. Valid until the next other call.
  char* GetBuffer(int minLength);
  /// GetBuffer(length) followed by ReleaseBuffer(length): the string then has
  /// exactly `length` bytes (0 for a negative length). Returns the buffer.
  char* GetBufferSetLength(int length);
  /// Ends a GetBuffer: the length becomes `newLength` (at most the buffer's
  /// size); -1 (any negative value) takes the length up to the first zero
  /// byte.
  void ReleaseBuffer(int newLength = -1);
  /// @}

  /// @name Comparison
  /// @{

  /// -1, 0 or 1 as the string is less than, equal to or greater than `text`,
  /// comparing unsigned bytes over the whole length (a shorter string that
  /// is a prefix of the other is less). Null counts as "".
  int Compare(const char* text) const noexcept;
  /// The same after ASCII lower-casing of both sides.
  int CompareNoCase(const char* text) const noexcept;
  /// @}

  /// @name Substrings
  /// Counts below 0 give "", counts beyond the end are cut there, and a
  /// negative first position counts as 0.
  /// @{

  /// The bytes from `first` to the end; "" when `first` is at or beyond the
  /// end.
  CString Mid(int first) const;
  /// At most `count` bytes from `first` on; "" when `first` is at or beyond
  /// the end.
  CString Mid(int first, int count) const;
  /// The first `count` bytes.
  CString Left(int count) const;
  /// The last `count` bytes.
  CString Right(int count) const;
  /// @}

  /// @name Editing
  /// @{

  /// Upper-cases the ASCII letters; other bytes stay.
  void MakeUpper() noexcept;
  /// Lower-cases the ASCII letters; other bytes stay.
  void MakeLower() noexcept;
  /// Reverses the order of the bytes (a UTF-8 sequence of several bytes is
  /// reversed too).
  void MakeReverse() noexcept;
  /// Removes leading whitespace: blank, tab, line feed, carriage return,
  /// vertical tab and form feed.
  void TrimLeft();
  /// Removes the leading run of `ch` (a zero byte too).
  void TrimLeft(char ch);
  /// Removes leading bytes that occur in `charSet`; a null or empty set
  /// changes nothing.
  void TrimLeft(const char* charSet);
  /// Removes trailing whitespace (the six characters of TrimLeft()).
  void TrimRight();
  /// Removes the trailing run of `ch` (a zero byte too).
  void TrimRight(char ch);
  /// Removes trailing bytes that occur in `charSet`; a null or empty set
  /// changes nothing.
  void TrimRight(const char* charSet);
  /// @}

  /// @name Search
  /// Byte searches, safe for UTF-8. Each returns a 0-based position or -1.
  /// @{

  /// The first position of `ch` at or after `start`; -1 when none or when
  /// `start` lies outside 0..length.
  int Find(char ch, int start = 0) const noexcept;
  /// The first position of `sub` at or after `start`; -1 when none, when
  /// `start` lies outside 0..length or when `sub` is null. An empty
  /// substring is found at `start`.
  int Find(const char* sub, int start = 0) const noexcept;
  /// The last position of `ch`; -1 when none.
  int ReverseFind(char ch) const noexcept;
  /// The first position of any byte of `charSet`; -1 when none, and for a
  /// null or empty set.
  int FindOneOf(const char* charSet) const noexcept;
  /// @}

  /// @name Formatting and concatenation
  /// @{

  /// Replaces the content with the printf-style formatting of the arguments,
  /// of any length. A null format, or one the C library refuses, gives "".
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));
  /// The same with the arguments as a `va_list`.
  void FormatV(const char* format, va_list args);

  /// Appends `other`; returns this string.
  CString& operator+=(const CString& other);
  /// Appends the zero-terminated text (null appends nothing); returns this
  /// string.
  CString& operator+=(const char* text);
  /// Appends one byte (a zero byte too); returns this string.
  CString& operator+=(char ch);

  /// `a` followed by `b`.
  friend CString operator+(const CString& a, const CString& b);
  /// `a` followed by the text `b` (null adds nothing).
  friend CString operator+(const CString& a, const char* b);
  /// The text `a` (null counts as "") followed by `b`.
  friend CString operator+(const char* a, const CString& b);
  /// `a` followed by the byte `b`.
  friend CString operator+(const CString& a, char b);
  /// The byte `a` followed by `b`.
  friend CString operator+(char a, const CString& b);

  /// True when both hold the same bytes, zero bytes included.
  friend bool operator==(const CString& a, const CString& b) noexcept {
    return a.m_data == b.m_data;
  }
  /// True when Compare(b) is 0 (null counts as "").
  friend bool operator==(const CString& a, const char* b) noexcept { return a.Compare(b) == 0; }
  /// Orders by unsigned bytes over the whole lengths, as Compare does.
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) noexcept {
    return a.Compare(b.m_data.c_str(), b.m_data.size()) <=> 0;
  }
  /// Orders against a zero-terminated text as Compare does.
  friend std::strong_ordering operator<=>(const CString& a, const char* b) noexcept {
    return a.Compare(b) <=> 0;
  }
  /// @}

private:
  int Compare(const char* bytes, std::size_t length) const noexcept;

  std::string m_data;
};

namespace platform {
/// Converts zero-terminated UTF-16 text to UTF-8 (unpaired surrogates become
/// U+FFFD). A null pointer gives "".
std::string Utf16ToUtf8(const unsigned short* wide);
}  // namespace platform
