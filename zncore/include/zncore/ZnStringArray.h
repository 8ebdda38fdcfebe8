/// @file
/// CZnStringArray: a string array with sorted insertion, search, replacement,
/// sorting and a recursive file lister; CZnFileFind: a file finder with
/// extension, path and filter tests on the entry last found.
#pragma once

#include "platform/FileFind.h"
#include "platform/StringArray.h"
#include "zncore/ZnString.h"

/// A file finder with extension, path and filter tests on the entry last
/// found.
///
/// It searches as CFileFind does (FindFile, then FindNextFile before each
/// entry). Like the base's queries, its members never raise; without a
/// current entry the texts are empty and the numbers 0.
/// @ingroup zncore_arrays
class CZnFileFind : public CFileFind {
public:
  /// A finder without a search.
  CZnFileFind() = default;
  /// Ends the search.
  ~CZnFileFind() override = default;

  /// The current entry's extension without its dot ("" without one), as
  /// written, or upper-cased when `upper` is non-zero: "photo.Jpeg" gives
  /// "Jpeg", upper-cased "JPEG"; "archive.tar.gz" gives "gz".
  CZnString GetExtension(int upper) const;
  /// 1 for a folder that is not "." or "..", else 0.
  int IsRealDirectory() const;
  /// 1 when the upper-cased extension occurs in `filter` as a substring, or
  /// when the filter is null or empty; 0 for a name without extension. The
  /// filter is taken as given: pass it upper-cased ("GIF|JPG").
  int IsMultiFilterMatch(const char* filter) const;
  /// Drive and folder of the current entry's full path, with the trailing
  /// backslash, upper-cased when `upper` is non-zero: `T:\Pics\2001\a.jpg`
  /// gives `T:\Pics\2001\`.
  CZnString GetPath(int upper) const;
  /// The current entry's size in bytes; 0 for a folder.
  unsigned long GetSize() const { return static_cast<unsigned long>(GetLength()); }
  /// The same as GetSize (two names of one member).
  unsigned long GetFileSize() const { return GetSize(); }
};

/// A string array with sorted insertion, search, replacement, sorting and a
/// recursive file lister.
///
/// Orders used below: "byte order" compares unsigned bytes; "upper-cased"
/// compares copies with the ASCII letters upper-cased.
///
/// Sorted insertion follows one rule: a text goes before the first element
/// greater than it, so it comes after its equals. In an array that is not in
/// order that is still the first greater element from the left.
/// @ingroup zncore_arrays
class CZnStringArray : public CStringArray {
public:
  /// An empty array.
  CZnStringArray() = default;
  /// Frees the elements.
  ~CZnStringArray() override = default;

  /// The number of elements, as GetSize.
  int GetCount() const { return GetSize(); }
  /// A copy of the element; for an index outside 0..count-1 the index itself
  /// in decimal ("7", "-1"). Never raises.
  CString GetAt(int index) const;

  /// Appends (sorted 0) or inserts before the first element greater than the
  /// text (sorted non-zero; upper-cased order with noCase, else byte order),
  /// so an equal text goes after its equals. Null counts as "". Returns the
  /// new index.
  int Add(const char* text, int sorted = 0, int noCase = 0);
  /// Add(text, 1, 0): sorted insertion in byte order.
  int AddSort(const char* text) { return Add(text, 1, 0); }
  /// Appends the text unless Find(text, noCase, exact) finds it at i; then
  /// adds nothing and returns -1 - i (found at 0 gives -1, at 3 gives -4).
  /// Returns the new index otherwise.
  int AddExclusive(const char* text, int noCase, int exact);
  /// The first element equal to (exact) or containing (not exact) the text,
  /// upper-cased on both sides with noCase; -1 when none. Null counts as "",
  /// which every element contains.
  int Find(const char* text, int noCase, int exact) const;
  /// Replaces the first occurrence of `find` in one element (a null `replace`
  /// counts as empty). 1 when the index is valid and `find` not empty, even
  /// when nothing occurred; else 0.
  int ReplaceStringAt(int index, const char* find, const char* replace);
  /// Stable sort in byte order: ascending when `ascending` is non-zero, else
  /// descending (equal elements keep their order either way). Returns the
  /// number of neighbour exchanges an insertion sort makes, that is the
  /// number of pairs out of order (wrapping like a 32-bit counter); 0 for an
  /// empty array. The first argument is not used.
  int Sort(int reserved, int ascending);

  /// Adds the full paths of the entries of `path` (trailing backslashes
  /// ignored; null or "" names the root of the current drive), each as the
  /// folder in absolute form, a backslash and the name:
  ///  - without recurse only the files of `path` itself (folders are neither
  ///    listed nor entered, so foldersOnly without recurse adds nothing);
  ///  - with recurse also its folders and every entry below them;
  ///  - with foldersOnly, folders only.
  ///
  /// `filter` ("GIF|JPG"; null, "" and "*.*" for none) keeps the entries,
  /// folders included, whose upper-cased extension occurs in it; a folder
  /// that does not pass is still entered. With sorted the paths go in as
  /// sorted insertion (Add with `sorted` and noCase) would put them; without,
  /// they are appended in the order found, a folder after the entries below
  /// it. With clear the array is emptied first. Returns 1 when an entry of
  /// `path` itself was added, else 0 (also for a folder that cannot be read).
  /// A folder already on the way down (a symbolic link loop) is listed but
  /// not entered again; a folder below that cannot be read is listed and
  /// skipped.
  int FileList(const char* path, const char* filter, int sorted, int recurse, int noCase,
               int foldersOnly, int clear);

protected:
  /// FileList's work for one folder, without the trimming and the emptying:
  /// `path` has no trailing backslash (null or "" names the root of the
  /// current drive), `filter` is already upper-cased, or empty (or null) for
  /// none. The result is FileList's.
  int GetFileList(const char* path, const char* filter, int sorted, int recurse, int noCase,
                  int foldersOnly);
};
