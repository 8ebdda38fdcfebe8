/// @file
/// CStringArray: a growable array of CString.
#pragma once

#include <vector>

#include "platform/Object.h"
#include "platform/String.h"

/// A growable array of CString, indexed from 0.
///
/// Element access by index (GetAt, SetAt, ElementAt and the [] operators)
/// requires an index in 0..size-1 and raises std::out_of_range for any other;
/// the editing members ignore a bad index or count instead, as each one says.
///
/// CStringArray belongs to the platform layer (`platform_core`); ZnCore's
/// CZnStringArray derives from it.
/// @ingroup platform_base
class CStringArray : public CObject {
public:
  /// An empty array.
  CStringArray() = default;
  /// Frees the elements.
  ~CStringArray() override = default;

  /// The number of elements.
  int GetSize() const noexcept { return static_cast<int>(m_items.size()); }
  /// The highest valid index: size - 1, so -1 for an empty array.
  int GetUpperBound() const noexcept { return GetSize() - 1; }
  /// Grows with empty strings or shrinks to `newSize` (below 0 counts as 0).
  void SetSize(int newSize);
  /// Removes every element.
  void RemoveAll() noexcept;

  /// The element at `index`, read-only; the index must lie in 0..size-1,
  /// else std::out_of_range is raised.
  const CString& GetAt(int index) const { return m_items.at(Checked(index)); }
  /// Replaces the element at `index` with `text` (null gives ""); raises
  /// std::out_of_range for an index outside 0..size-1.
  void SetAt(int index, const char* text);
  /// The element at `index`, writable; raises std::out_of_range for an index
  /// outside 0..size-1. Resets the order tag, as a write through it may
  /// follow.
  CString& ElementAt(int index);
  /// GetAt(index).
  const CString& operator[](int index) const { return GetAt(index); }
  /// ElementAt(index).
  CString& operator[](int index) { return ElementAt(index); }

  /// Appends the text (null gives "") and returns its index.
  int Add(const char* text);
  /// Appends a copy of `text` and returns its index.
  int Add(const CString& text);
  /// Sets the element, growing the array with empty strings when needed; a
  /// negative index changes nothing.
  void SetAtGrow(int index, const char* text);
  /// Inserts `count` copies of the text before `index` (at the end when
  /// index >= size, at the start when it is negative); a count below 1
  /// inserts nothing.
  void InsertAt(int index, const char* text, int count = 1);
  /// Removes `count` elements from `index` on, fewer when the array ends
  /// first. An index outside 0..size-1 or a count below 1 changes nothing.
  void RemoveAt(int index, int count = 1);

  /// Port extension for derived classes that keep the array in a known order:
  /// a tag naming the order the content is known to be in (0 = unknown). Every
  /// change made through this class, and every writable element access, resets
  /// it, so a set tag is always true.
  int GetOrderTag() const noexcept { return m_orderTag; }
  /// Port extension: records that the content is in the order `tag` names;
  /// the caller answers for it being true.
  void SetOrderTag(int tag) noexcept { m_orderTag = tag; }

  /// Port extension: the elements, read-only, without copying.
  const std::vector<CString>& Items() const noexcept { return m_items; }
  /// Port extension: replaces every element with `items` at once.
  void ReplaceAll(std::vector<CString> items) noexcept;

private:
  static std::size_t Checked(int index) { return static_cast<std::size_t>(index); }

  std::vector<CString> m_items;
  int m_orderTag = 0;
};
