/// @file
/// CStringArray: a growable array of CString.
#pragma once

#include <vector>

#include "platform/Object.h"
#include "platform/String.h"

class CStringArray : public CObject {
public:
  CStringArray() = default;
  ~CStringArray() override = default;

  int GetSize() const noexcept { return static_cast<int>(m_items.size()); }
  int GetUpperBound() const noexcept { return GetSize() - 1; }
  /// Grows with empty strings or shrinks to `newSize` (below 0 counts as 0).
  void SetSize(int newSize);
  void RemoveAll() noexcept;

  /// Element access; the index must lie in 0..size-1.
  const CString& GetAt(int index) const { return m_items.at(Checked(index)); }
  void SetAt(int index, const char* text);
  CString& ElementAt(int index);
  const CString& operator[](int index) const { return GetAt(index); }
  CString& operator[](int index) { return ElementAt(index); }

  /// Appends and returns the new index.
  int Add(const char* text);
  int Add(const CString& text);
  /// Sets the element, growing the array with empty strings when needed.
  void SetAtGrow(int index, const char* text);
  /// Inserts `count` copies before `index` (at the end when index >= size).
  void InsertAt(int index, const char* text, int count = 1);
  void RemoveAt(int index, int count = 1);

  /// Port extension for derived classes that keep the array in a known order:
  /// a tag naming the order the content is known to be in (0 = unknown). Every
  /// change made through this class, and every writable element access, resets
  /// it, so a set tag is always true.
  int GetOrderTag() const noexcept { return m_orderTag; }
  void SetOrderTag(int tag) noexcept { m_orderTag = tag; }

  /// Port extension: the elements, read-only, and a bulk replacement.
  const std::vector<CString>& Items() const noexcept { return m_items; }
  void ReplaceAll(std::vector<CString> items) noexcept;

private:
  static std::size_t Checked(int index) { return static_cast<std::size_t>(index); }

  std::vector<CString> m_items;
  int m_orderTag = 0;
};
