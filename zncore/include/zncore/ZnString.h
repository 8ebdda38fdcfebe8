/// @file
/// CZnString: the suite's string type.
#pragma once

#include "platform/String.h"

/// The suite's string type.
///
/// A CString with editing, search, replace and trimming members (the first
/// groups) and the field, path, conversion and check members (the groups after
/// them). It adds no data of its own, so a CZnString can be used wherever a
/// CString is expected and is passed and returned by value.
///
/// Conventions of every member:
///  - positions are 0-based byte indexes; -1 means "not found";
///  - editing members return the object itself, so calls can be chained;
///  - a `char` argument of code 0 stands for the empty text where a member
///    turns a character into a one-character text;
///  - out-of-range input gives the documented neutral result (-1, 0, an
///    unchanged string, '~' from GetAt), never an error;
///  - the whole stored length is seen, zero bytes included.
/// @ingroup zncore_strings
class CZnString : public CString {
public:
  /// @name Construction
  /// Inline, as every module may carry its own copy.
  /// @{

  /// The empty string.
  CZnString() = default;
  /// A copy of `other`.
  CZnString(const CZnString& other) = default;
  /// Takes over the bytes of `other`.
  CZnString(CZnString&& other) noexcept = default;
  /// A copy of the framework string `other`.
  CZnString(const CString& other) : CString(other) {}
  /// Takes over the bytes of the framework string `other`.
  CZnString(CString&& other) noexcept : CString(std::move(other)) {}
  /// The character repeated `count` times; fewer than 1 gives "".
  CZnString(char ch, int count) : CString(ch, count) {}
  /// Exactly `count` bytes, zero bytes included; a count below 1 or a null
  /// pointer gives "".
  CZnString(const char* bytes, int count) : CString(bytes, count) {}
  /// The zero-terminated text of unsigned bytes; null gives "".
  CZnString(const unsigned char* text) : CString() { CString::operator=(text); }
  /// UTF-16 text, converted to the UTF-8 code page; null gives "".
  CZnString(const unsigned short* wide) : CString(wide) {}
  /// The zero-terminated text; null gives "".
  CZnString(const char* text) : CString(text) {}
  /// Frees the bytes.
  ~CZnString() = default;

  /// Copies `other`; returns this string.
  CZnString& operator=(const CZnString& other) = default;
  /// Takes over the bytes of `other`; returns this string.
  CZnString& operator=(CZnString&& other) noexcept = default;
  /// The assignments of CString: from a CString, a text (null gives "") or a
  /// character.
  using CString::operator=;
  /// @}

  /// @name Size and access
  /// @{

  /// The length in bytes, as GetLength.
  int GetSize() const { return GetLength(); }
  /// The byte at `index`; 0 at index == length; '~' below 0 or beyond.
  char GetAt(int index) const;
  /// @}

  /// @name Editing
  /// @{

  /// Inserts at `index`; beyond the end the gap is filled with blanks. A
  /// negative index or an empty (or null) text changes nothing.
  CZnString& Insert(int index, const char* text);
  /// Inserts one character as Insert(index, text) does; code 0 inserts
  /// nothing.
  CZnString& Insert(int index, char ch);
  /// Deletes `count` bytes at `index`; a negative count or one running past
  /// the end deletes to the end; an index outside the string changes nothing.
  CZnString& Delete(int index, int count);
  /// Delete(index, count) followed by Insert(index, text).
  CZnString& Replace(int index, int count, const char* text);
  /// @}

  /// @name Search
  /// @{

  /// The first position of `ch` at or after `start` (0..length, else -1).
  int Find(char ch, int start = 0) const;
  /// The first position of `sub` at or after `start` (0..length, else -1).
  /// An empty substring is found at `start`; null gives -1.
  int Find(const char* sub, int start = 0) const;
  /// The earlier of the lower- and upper-case character's positions at or
  /// after `start`; -1 when neither occurs or `start` lies outside 0..length.
  int FindNoCase(char ch, int start = 0) const;
  /// Find(sub, start) without regard to ASCII case; null gives -1.
  int FindNoCase(const char* sub, int start = 0) const;
  /// The last position of `ch`; -1 when none.
  int ReverseFind(char ch) const { return CString::ReverseFind(ch); }
  /// The last occurrence that begins at or before `start`; -1 (or any start
  /// at or beyond the length) means from the last character; a start below
  /// -1, an empty or null text or an empty string give -1.
  int ReverseFind(const char* sub, int start) const;
  /// ReverseFind of the one-character text of `ch` without regard to ASCII
  /// case; code 0 gives -1.
  int ReverseFindNoCase(char ch, int start) const;
  /// ReverseFind(sub, start) without regard to ASCII case.
  int ReverseFindNoCase(const char* sub, int start) const;
  /// @}

  /// @name Replacement
  /// The flag `all`: 0 replaces the first occurrence, any other value all.
  /// Each member returns the number of replacements. A replacement never
  /// takes part in a later search, so occurrences never overlap and
  /// "a" -> "aa" on "aaa" gives "aaaaaa" (3).
  /// @{

  /// Replaces `find` with `replace`. An empty or null search text, or a null
  /// replacement, changes nothing and gives 0.
  int FindReplace(const char* find, const char* replace, int all);
  /// Replaces `find` with the character `replace`; code 0 deletes.
  int FindReplace(const char* find, char replace, int all);
  /// Replaces the character `find` with the character `replace`; code 0 as
  /// `find` changes nothing, code 0 as `replace` deletes.
  int FindReplace(char find, char replace, int all);
  /// Replaces the character `find` with the text `replace`; code 0 as `find`,
  /// or a null replacement, changes nothing.
  int FindReplace(char find, const char* replace, int all);
  /// FindReplace without regard to ASCII case; the replacement goes in as
  /// given. A null replacement counts as empty (it deletes); an empty or null
  /// search text changes nothing.
  int FindReplaceNoCase(const char* find, const char* replace, int all);
  /// The same with a character as replacement; code 0 deletes.
  int FindReplaceNoCase(const char* find, char replace, int all);
  /// The same with characters for both; code 0 as `find` changes nothing,
  /// code 0 as `replace` deletes.
  int FindReplaceNoCase(char find, char replace, int all);
  /// @}

  /// @name Character runs
  /// @{

  /// The number of bytes equal to `ch` (code 0 counts zero bytes).
  int CountChar(char ch) const;
  /// Deletes occurrences from the left until at most `keep` remain (a
  /// negative `keep` counts as 0); code 0 changes nothing.
  CZnString& DelChar(char ch, int keep);
  /// Deletes the trailing run of `ch`. For a blank, tab or line feed all
  /// trailing whitespace goes (TrimRight).
  CZnString& DelEndChar(char ch);
  /// Deletes the leading run of `ch` and the whitespace right after it. For a
  /// blank, tab or line feed all leading whitespace goes (TrimLeft). Leading
  /// whitespace also goes when the string does not begin with `ch`.
  CZnString& DelLeadChar(char ch);
  /// DelEndChar(ch).
  CZnString& TrimRightChar(char ch) { return DelEndChar(ch); }
  /// DelLeadChar(ch).
  CZnString& TrimLeftChar(char ch) { return DelLeadChar(ch); }
  /// Every `ch` becomes two `doubled` (two `ch` when `doubled` is 0); code 0
  /// as `ch` changes nothing.
  CZnString& DoubleChar(char ch, char doubled);
  /// Every pair of `ch`, counted from the left without overlap, becomes one
  /// `single` (one `ch` when `single` is 0); code 0 as `ch` changes nothing.
  CZnString& OneChar(char ch, char single);
  /// @}

  /// @name Fields and tokens
  /// No quoting and no escapes: every occurrence of a delimiter counts. A null
  /// text counts as the empty text. These members leave the object unchanged
  /// (except that PartString may write into it as one of its outputs).
  /// @{

  /// Field `n` (0-based) of the fields the delimiter separates. Two delimiters
  /// in a row enclose an empty field, a delimiter at the start or the end adds
  /// an empty first or last field. A negative `n`, or one at or beyond
  /// GetFieldCount, gives "". With an empty delimiter every field is "".
  CZnString GetField(const char* delimiter, int n) const;
  /// The same with a one-character delimiter; code 0 makes the whole string
  /// field 0 and every later field "".
  CZnString GetField(char delimiter, int n) const;
  /// 1 + the number of non-overlapping delimiters, searched from the left. An
  /// empty string has 1 field; an empty delimiter gives 1.
  int GetFieldCount(const char* delimiter) const;
  /// The same with a one-character delimiter; code 0 gives 1.
  int GetFieldCount(char delimiter) const;
  /// The text between the n-th opening delimiter and the closing delimiter
  /// after it; "" when either is missing or `n` is negative. The search for
  /// the next opening delimiter restarts at the previous opening position
  /// plus the length of the CLOSING delimiter, so with "|" as both "|a|b|c|"
  /// has the fields a, b and c.
  CZnString GetDelimitedField(const char* opening, const char* closing, int n) const;
  /// Splits at the first separator: key = the text before it, value = the
  /// text after it, result 1. Without a separator key = the whole string,
  /// value = "", result 0. Neither part is trimmed. An empty separator is
  /// found at position 0. `key` and `value` may be this object.
  int PartString(CZnString& key, const char* separator, CZnString& value) const;
  /// The same with a one-character separator; code 0 is found at position 0
  /// (key "", value the whole string, result 1).
  int PartString(CZnString& key, char separator, CZnString& value) const;
  /// 1 when the string is empty, all whitespace, or its first character after
  /// leading whitespace is one of `commentChars`; else 0.
  int IsComment(const char* commentChars) const;
  /// `ch` repeated `count` times (a zero byte too); the object is not used.
  /// A count beyond the largest string length throws std::length_error.
  CZnString ReturnXChars(char ch, unsigned int count) const;
  /// The characters of the codes first .. end-1, with first raised to 0 and
  /// end lowered to 256; code 0 is a zero byte that counts in the length.
  /// "" when first >= end. The object is not used.
  CZnString BuildAlphabet(int first, int end) const;
  /// Sorts the bytes in place by unsigned value: ascending when `ascending`
  /// is non-zero, else descending.
  CZnString& SortChars(int ascending);
  /// The number of digits 0-9; with `extended` non-zero also of '!', '.',
  /// ',' and ':'. Bytes of code 128 and above never count.
  int CountDigits(int extended) const;
  /// @}

  /// @name Paths and file names
  /// The string is a Windows path: backslash (or slash) separators, a drive
  /// "X:". Members split it as _splitpath does: drive (the first two
  /// characters when the second is a colon), dir (up to and including the
  /// last separator), ext (from the last full stop after dir on) and fname
  /// (between dir and ext). Each part is cut after 255 bytes, as the fixed
  /// split buffers of the original platform are.
  /// All members except FindReplaceCharset and ReplaceInvalidFilenameChars
  /// leave the object unchanged.
  /// @{

  /// The drive ("C:"); with `withoutColon` non-zero without its colon ("C").
  /// "" for a path without a drive.
  CZnString GetDrive(int withoutColon) const;
  /// drive + dir without the trailing backslashes: `C:\pics\a.jpg` gives
  /// `C:\pics`, `C:\a.jpg` gives "C:", "a.jpg" gives "".
  CZnString GetPath() const;
  /// fname + ext: the name with its extension.
  CZnString GetFilename() const;
  /// fname: the name without its extension.
  CZnString GetFiletitle() const;
  /// ext: the extension with its full stop, "" without one.
  CZnString GetExtension() const;
  /// The path with the extension `extension` (a leading full stop is added
  /// when missing). The path's own extension stays unless `force` is non-zero
  /// or it has at most one character (none, or a lone full stop). An
  /// extension longer than 4 characters (a full stop counts), or an empty
  /// string, gives the string unchanged.
  CZnString SetFileExtension(const char* extension, int force) const;
  /// The path made absolute, without any normalisation ("..", "." stay):
  ///  - "X:..." comes back unchanged, and so does a native absolute path
  ///    "/..." (a port extension: it is absolute already);
  ///  - `\a` gets the current directory's drive in front (`C:\a`); when the
  ///    current directory lies on no drive it comes back unchanged;
  ///  - a relative path is joined to `base` (trailing backslashes removed)
  ///    with one backslash; a rooted `base` gets the current drive in front.
  ///    A null or empty base gives a backslash + path.
  /// There is no length limit.
  CZnString AbsolutePath(const char* base) const;
  /// The folder part of the path below `base`: the first occurrence of `base`
  /// is removed without regard to ASCII case (wherever it stands), and the
  /// dir of the rest is returned without trailing backslashes. A path that
  /// begins with a backslash comes back unchanged. `C:\pics\2000\a.jpg`
  /// with the base `C:\pics` gives `\2000`.
  CZnString RelativePath(const char* base) const;
  /// The first folder name of the dir part, cut at backslashes (runs of
  /// backslashes make no empty names; a slash does not cut); "" if none.
  CZnString GetFirstPath() const;
  /// The last folder name of the dir part, cut as GetFirstPath cuts; "" if
  /// none.
  CZnString GetLastPath() const;
  /// A name made from the wildcard pattern: drive and dir are the pattern's
  /// when it has them, else the path's; fname and ext are the path's where
  /// the pattern's part contains '*' (an empty pattern fname counts as "*"),
  /// else the pattern's. "*.htm" on `C:\pics\a.jpg` gives
  /// `C:\pics\a.htm`. A string that contains '*' comes back unchanged.
  CZnString GetFileNameByWildcard(const char* pattern) const;
  /// 1 when the string is a valid name, else 0. More than 260 bytes is
  /// invalid; so is any of ? * | < > " tab, line feed and apostrophe, and
  /// with `pathAllowed` 0 also `\ : /`. A zero byte is invalid too (no file
  /// name can hold one). An empty string is valid.
  int IsValidFileName(int pathAllowed) const;
  /// Overwrites in the object every byte that occurs in `charSet` with
  /// `replacement`; the length never changes. A null or empty set changes
  /// nothing. Returns a copy of the result.
  CZnString FindReplaceCharset(const char* charSet, char replacement);
  /// FindReplaceCharset with ? * | < > " tab, line feed, apostrophe, blank,
  /// `# ; \ : /` (15 characters).
  CZnString ReplaceInvalidFilenameChars(char replacement);
  /// `text` (or, when it is null, the object's content) with the German
  /// letters of the Windows Western European code page written out: bytes
  /// 196, 214, 220, 223, 228, 246, 252 become "Ae", "Oe", "Ue", "ss", "ae",
  /// "oe", "ue". Every other byte is copied, so UTF-8 text passes through
  /// unchanged except where such bytes occur in it.
  CZnString ConvertANSI(const char* text) const;
  /// @}

  /// @name Conversions
  /// These members return a new string and leave the object unchanged.
  /// @{

  /// The bytes written by the first `count` hexadecimal digits, read as pairs
  /// (count lowered to the length, then to an even number). A character
  /// that is not a hexadecimal digit counts as 0: "4a4B" gives "JK".
  CZnString ConHexToString(unsigned int count) const;
  /// The first `count` bytes (count lowered to the length) as two upper-case
  /// hexadecimal digits each: mode 1 "0x0A ", mode 2 "0A ", any other "0A"
  /// per byte (modes 1 and 2 end in a blank).
  CZnString ConStringToHex(unsigned int count, int mode) const;
  /// The same text as ConStringToHex, written half-byte by half-byte.
  CZnString ConStringToBankHex(unsigned int count, int mode) const;
  /// The lowest `bitCount` bits of the byte GetAt(index) returns, most
  /// significant first; the byte is signed, so bits above 7 repeat bit 7.
  /// "" for a bit count below 1; an index outside the string reads '~' (or
  /// the 0 at index == length).
  CZnString GetBitString(int index, int bitCount) const;
  /// GetBitString of each of the first `count` bytes (count lowered to the
  /// length; below 1 gives ""), joined; with `separate` non-zero each group
  /// has a blank in front of it.
  CZnString GetBitStream(int count, int bitCount, int separate) const;
  /// The value in decimal with a full stop between groups of three digits:
  /// 1234567 gives "1.234.567", -1234 gives "-1.234".
  CZnString FormatLong(long value) const;
  /// Not available: shows a message box saying so and returns "".
  CZnString FormatDouble(double value, int digits) const;
  /// The three-character name of a code from 0 to 32 ("EOL", "SOH", ...,
  /// "TAB", "CR " for 10, "LF " for 13, ..., "SPC"); any other code, a
  /// negative one too, gives the one-character string of its low byte.
  CZnString GetCharMeaning(int code) const;
  /// @}

  /// @name Character checks, parity and random characters
  /// Every check answers 1 (yes) or 0 (no) and leaves the object unchanged.
  /// An empty string passes IsValidID, IncludesOnly, IsNumeric, IsAlpha,
  /// IsAnsi and IsAscii.
  /// @{

  /// At most 30 bytes and none of the `forbidden` characters (null forbids
  /// none).
  int IsValidID(const char* forbidden) const;
  /// The length (`length` when non-zero, else the string's own) lies in
  /// minLength..maxLength and CountDigits(1) in minDigits..maxDigits.
  int IsValidPwd(int length, int minLength, int maxLength, int minDigits, int maxDigits) const;
  /// Every byte occurs in `allowed` (a zero byte never does; null allows
  /// nothing).
  int IncludesOnly(const char* allowed) const;
  /// Every byte counts for CountDigits(extended).
  int IsNumeric(int extended) const;
  /// Every byte is an ASCII letter.
  int IsAlpha() const;
  /// No byte is a German letter of the DOS code pages (129, 132, 142, 148,
  /// 153, 154, 225).
  int IsAnsi() const;
  /// No byte is a German letter of the Windows code page (196, 214, 220, 223,
  /// 228, 246, 252).
  int IsAscii() const;
  /// 1 when the lowest `bitCount` bits of the value `byte` (taken as a signed
  /// byte, so bits above 7 repeat bit 7) have even parity and `even` is
  /// non-zero, or odd parity and `even` is 0. A bit count below 1 counts no
  /// bit (even parity). The object is not used.
  int CheckByteParity(int byte, int even, int bitCount) const;
  /// 1 when each of the first `count` bytes has even (`even` non-zero) or odd
  /// parity. The count may pass the end: the terminator (0) and the '~'
  /// GetAt gives beyond it both have even parity. A count of 0 gives 1.
  int CheckParity(int even, unsigned int count) const;
  /// `count` random characters of the codes 33..64 ('!' to '\@') and 92..96
  /// (backslash to grave accent), never letters (none for a count below 1),
  /// each with odd bit parity for `parity` 1, even for 2, any for other
  /// values; followed by one zero byte, which counts in the length, unless
  /// `noTerminator` is non-zero. The bytes of `mixing` are added to the
  /// random values in turn; a null or empty mixing text adds nothing.
  /// The generator is the run-time library's rand, seeded with the current
  /// time in seconds at every call (which reseeds it for the whole program):
  /// two calls in the same second with the same arguments give the same
  /// string. NOT suitable for passwords, keys or any other secret: the output
  /// is predictable from the time.
  /// The object is not used.
  CZnString MakeRandomCharset(int count, int parity, const char* mixing, int noTerminator) const;
  /// @}
};
