// CZnString: the suite's string type.
//
// A CString with editing, search, replace and trimming members (this file's
// first section) and the field, path, conversion and check members (the
// sections after it). It adds no data of its own, so a CZnString can be used
// wherever a CString is expected and is passed and returned by value.
//
// Conventions of every member:
//  - positions are 0-based byte indexes; -1 means "not found";
//  - editing members return the object itself, so calls can be chained;
//  - a `char` argument of code 0 stands for the empty text where a member
//    turns a character into a one-character text;
//  - out-of-range input gives the documented neutral result (-1, 0, an
//    unchanged string, '~' from GetAt), never an error;
//  - the whole stored length is seen, zero bytes included.
#pragma once

#include "platform/String.h"

class CZnString : public CString {
public:
  // --- Construction (inline, as every module may carry its own copy) -------
  CZnString() = default;
  CZnString(const CZnString& other) = default;
  CZnString(CZnString&& other) noexcept = default;
  CZnString(const CString& other) : CString(other) {}
  CZnString(CString&& other) noexcept : CString(std::move(other)) {}
  // The character repeated `count` times; fewer than 1 gives "".
  CZnString(char ch, int count) : CString(ch, count) {}
  // Exactly `count` bytes, zero bytes included.
  CZnString(const char* bytes, int count) : CString(bytes, count) {}
  CZnString(const unsigned char* text) : CString() { CString::operator=(text); }
  // UTF-16 text, converted to the UTF-8 code page; null gives "".
  CZnString(const unsigned short* wide) : CString(wide) {}
  CZnString(const char* text) : CString(text) {}
  ~CZnString() = default;

  CZnString& operator=(const CZnString& other) = default;
  CZnString& operator=(CZnString&& other) noexcept = default;
  using CString::operator=;

  // --- Size and access ------------------------------------------------------
  int GetSize() const { return GetLength(); }
  // The byte at `index`; 0 at index == length; '~' below 0 or beyond.
  char GetAt(int index) const;

  // --- Editing -----------------------------------------------------------------
  // Inserts at `index`; beyond the end the gap is filled with blanks. A
  // negative index or an empty text changes nothing.
  CZnString& Insert(int index, const char* text);
  CZnString& Insert(int index, char ch);  // code 0 inserts nothing
  // Deletes `count` bytes at `index`; a negative count or one running past
  // the end deletes to the end; an index outside the string changes nothing.
  CZnString& Delete(int index, int count);
  // Delete(index, count) followed by Insert(index, text).
  CZnString& Replace(int index, int count, const char* text);

  // --- Search --------------------------------------------------------------------
  // First position at or after `start` (0..length, else -1). An empty
  // substring is found at `start`.
  int Find(char ch, int start = 0) const;
  int Find(const char* sub, int start = 0) const;
  // The earlier of the lower- and upper-case character's positions.
  int FindNoCase(char ch, int start = 0) const;
  int FindNoCase(const char* sub, int start = 0) const;
  int ReverseFind(char ch) const { return CString::ReverseFind(ch); }
  // The last occurrence that begins at or before `start`; -1 (or any start
  // at or beyond the length) means from the last character; a start below
  // -1, an empty text or an empty string give -1.
  int ReverseFind(const char* sub, int start) const;
  int ReverseFindNoCase(char ch, int start) const;
  int ReverseFindNoCase(const char* sub, int start) const;

  // --- Replacement (the flag: 0 replaces the first occurrence, else all) ------
  // Each returns the number of replacements. A replacement never takes part
  // in a later search, so occurrences never overlap and "a" -> "aa" on "aaa"
  // gives "aaaaaa" (3). An empty or null search text, or a null replacement,
  // changes nothing. A character of code 0 as replacement deletes.
  int FindReplace(const char* find, const char* replace, int all);
  int FindReplace(const char* find, char replace, int all);
  int FindReplace(char find, char replace, int all);
  int FindReplace(char find, const char* replace, int all);
  // The same without regard to ASCII case; the replacement goes in as given.
  // A null replacement counts as empty.
  int FindReplaceNoCase(const char* find, const char* replace, int all);
  int FindReplaceNoCase(const char* find, char replace, int all);
  int FindReplaceNoCase(char find, char replace, int all);

  // --- Character runs ---------------------------------------------------------------
  int CountChar(char ch) const;
  // Deletes occurrences from the left until at most `keep` remain.
  CZnString& DelChar(char ch, int keep);
  // Deletes the trailing run of `ch`. For a blank, tab or line feed all
  // trailing whitespace goes (TrimRight).
  CZnString& DelEndChar(char ch);
  // Deletes the leading run of `ch` and the whitespace right after it. For a
  // blank, tab or line feed all leading whitespace goes (TrimLeft).
  CZnString& DelLeadChar(char ch);
  CZnString& TrimRightChar(char ch) { return DelEndChar(ch); }
  CZnString& TrimLeftChar(char ch) { return DelLeadChar(ch); }
  // Every `ch` becomes two `doubled` (two `ch` when `doubled` is 0).
  CZnString& DoubleChar(char ch, char doubled);
  // Every pair of `ch` becomes one `single` (one `ch` when `single` is 0).
  CZnString& OneChar(char ch, char single);
};
