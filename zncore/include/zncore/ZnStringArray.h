/// @file
/// CZnStringArray: a string array with sorted insertion, search, replacement,
/// sorting and a recursive file lister; CZnFileFind: a file finder with
/// extension, path and filter tests on the entry last found.
///
/// Orders used below: "byte order" compares unsigned bytes; "upper-cased"
/// compares copies with the ASCII letters upper-cased.
#pragma once

#include "platform/FileFind.h"
#include "platform/StringArray.h"
#include "zncore/ZnString.h"

class CZnFileFind : public CFileFind {
public:
  CZnFileFind() = default;
  ~CZnFileFind() override = default;

  /// The current entry's extension without its dot ("" without one):
  /// "photo.Jpeg" gives "Jpeg", upper-cased "JPEG"; "archive.tar.gz" gives "gz".
  CZnString GetExtension(int upper) const;
  /// 1 for a folder that is not "." or "..", else 0.
  int IsRealDirectory() const;
  /// 1 when the upper-cased extension occurs in `filter` as a substring, or
  /// when the filter is null or empty; 0 for a name without extension. The
  /// filter is taken as given: pass it upper-cased ("GIF|JPG").
  int IsMultiFilterMatch(const char* filter) const;
  /// Drive and folder of the current entry's full path, with the trailing
  /// backslash: T:\Pics\2001\a.jpg gives T:\Pics\2001\.
  CZnString GetPath(int upper) const;
  /// The current entry's size in bytes (two names of one member).
  unsigned long GetSize() const { return static_cast<unsigned long>(GetLength()); }
  unsigned long GetFileSize() const { return GetSize(); }
};

class CZnStringArray : public CStringArray {
public:
  CZnStringArray() = default;
  ~CZnStringArray() override = default;

  int GetCount() const { return GetSize(); }
  /// A copy of the element; for an index outside 0..count-1 the index itself
  /// in decimal ("7", "-1").
  CString GetAt(int index) const;

  /// Appends (sorted 0) or inserts before the first element greater than the
  /// text (sorted non-zero; upper-cased order with noCase, else byte order),
  /// so an equal text goes after its equals. Returns the new index.
  int Add(const char* text, int sorted = 0, int noCase = 0);
  int AddSort(const char* text) { return Add(text, 1, 0); }
  /// Appends the text unless Find(text, noCase, exact) finds it at i; then
  /// adds nothing and returns -1 - i (found at 0 gives -1, at 3 gives -4).
  int AddExclusive(const char* text, int noCase, int exact);
  /// The first element equal to (exact) or containing (not exact) the text,
  /// upper-cased on both sides with noCase; -1 when none.
  int Find(const char* text, int noCase, int exact) const;
  /// Replaces the first occurrence of `find` in one element (a null `replace`
  /// counts as empty). 1 when the index is valid and `find` not empty, even
  /// when nothing occurred; else 0.
  int ReplaceStringAt(int index, const char* find, const char* replace);
  /// Stable sort in byte order (ascending non-zero) or its reverse. Returns
  /// the number of neighbour exchanges an insertion sort makes, that is the
  /// number of pairs out of order (wrapping like a 32-bit counter).
  int Sort(int reserved, int ascending);

  /// Adds the full paths of the entries of `path` (trailing backslashes
  /// ignored): with recurse, of every folder below it too, folders included;
  /// with foldersOnly, folders only. `filter` ("GIF|JPG"; null, "" and "*.*"
  /// for none) keeps entries whose upper-cased extension occurs in it. With
  /// clear the array is emptied first. Returns 1 when an entry of `path`
  /// itself was added, else 0. A folder already on the way down (a symbolic
  /// link loop) is listed but not entered again.
  int FileList(const char* path, const char* filter, int sorted, int recurse, int noCase,
               int foldersOnly, int clear);

protected:
  /// FileList's work for one folder; `filter` is already upper-cased, or
  /// empty for none.
  int GetFileList(const char* path, const char* filter, int sorted, int recurse, int noCase,
                  int foldersOnly);
};
