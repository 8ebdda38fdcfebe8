// GramTable: what the search index keeps for each gram, found by the
// gram's packed number. The index looks a gram up some thirty times a name,
// a few ten million times for an archive of a million names, and a map of
// nodes spent most of the index's time there: this table is one array,
// open addressing with linear probing, at most half full, so a look is a
// multiplication and one or two neighbouring slots. The highest number
// marks a free slot: no gram packs to it (three code points of 21 bits, or
// a run of four: the top bit, a run of three's number and a code point).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace gallery {

template <typename Value>
class GramTable {
public:
  using Key = std::uint64_t;

  // The value of `key`, made (value-initialized) when it is not there yet.
  Value& operator[](Key key) {
    if ((m_count + 1) * 2 > m_slots.size()) Grow();
    Slot& slot = m_slots[Place(key)];
    if (slot.key == kFree) {
      slot.key = key;
      ++m_count;
    }
    return slot.value;
  }

  // The value of `key`, or null.
  const Value* Find(Key key) const {
    if (m_slots.empty()) return nullptr;
    const Slot& slot = m_slots[Place(key)];
    return slot.key == key ? &slot.value : nullptr;
  }
  Value* Find(Key key) { return const_cast<Value*>(std::as_const(*this).Find(key)); }

  std::size_t size() const { return m_count; }

  // Calls `visit(key, value)` for every key, in no particular order.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (const Slot& slot : m_slots)
      if (slot.key != kFree) visit(slot.key, slot.value);
  }

private:
  static constexpr Key kFree = ~Key{0};
  struct Slot {
    Key key = kFree;
    Value value{};
  };

  // The slot that holds `key`, or the free one where it would go.
  std::size_t Place(Key key) const {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> m_shift) & mask;
    while (m_slots[at].key != kFree && m_slots[at].key != key) at = (at + 1) & mask;
    return at;
  }

  void Grow() {
    std::vector<Slot> old = std::move(m_slots);
    const std::size_t size = old.empty() ? 1024 : old.size() * 2;
    m_slots.assign(size, Slot{});
    m_shift = 64;
    for (std::size_t s = size; s > 1; s >>= 1) --m_shift;
    for (Slot& slot : old)
      if (slot.key != kFree) {
        Slot& to = m_slots[Place(slot.key)];
        to.key = slot.key;
        to.value = std::move(slot.value);
      }
  }

  std::vector<Slot> m_slots;
  std::size_t m_count = 0;
  unsigned m_shift = 64;
};

}  // namespace gallery
