// CStringArray.
#include "platform/StringArray.h"

#include <algorithm>

void CStringArray::SetSize(int newSize) {
  m_orderTag = 0;
  m_items.resize(static_cast<std::size_t>(std::max(newSize, 0)));
}

void CStringArray::RemoveAll() noexcept {
  m_orderTag = 0;
  m_items.clear();
}

void CStringArray::SetAt(int index, const char* text) {
  m_orderTag = 0;
  m_items.at(Checked(index)) = text;
}

CString& CStringArray::ElementAt(int index) {
  m_orderTag = 0;
  return m_items.at(Checked(index));
}

int CStringArray::Add(const char* text) { return Add(CString(text)); }

int CStringArray::Add(const CString& text) {
  m_orderTag = 0;
  m_items.push_back(text);
  return GetSize() - 1;
}

void CStringArray::SetAtGrow(int index, const char* text) {
  if (index < 0) return;
  m_orderTag = 0;
  if (index >= GetSize()) m_items.resize(static_cast<std::size_t>(index) + 1);
  m_items[static_cast<std::size_t>(index)] = text;
}

void CStringArray::InsertAt(int index, const char* text, int count) {
  if (count < 1) return;
  m_orderTag = 0;
  const std::size_t at = static_cast<std::size_t>(std::clamp(index, 0, GetSize()));
  m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), static_cast<std::size_t>(count),
                 CString(text));
}

void CStringArray::RemoveAt(int index, int count) {
  if (index < 0 || index >= GetSize() || count < 1) return;
  m_orderTag = 0;
  const int end = std::min(GetSize(), index + count);
  m_items.erase(m_items.begin() + index, m_items.begin() + end);
}

void CStringArray::ReplaceAll(std::vector<CString> items) noexcept {
  m_orderTag = 0;
  m_items = std::move(items);
}
