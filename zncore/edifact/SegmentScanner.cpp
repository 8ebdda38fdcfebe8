#include "SegmentScanner.h"

#include <algorithm>
#include <cstring>

namespace zncore::detail {

SegmentScanner::SegmentScanner(char terminator, const char* tag, char* buffer,
                               std::size_t maxLength)
    : m_terminator(terminator), m_tag(tag), m_buffer(buffer), m_maxLength(maxLength) {
  m_buffer[0] = '\0';
}

std::size_t SegmentScanner::Feed(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size() && m_state == State::Searching) {
    // Between segments blanks and line ends are skipped; a terminator still
    // ends a segment there, as it does when it is itself a blank.
    if (m_length == 0 && bytes[pos] != m_terminator && IsBlank(bytes[pos])) {
      ++pos;
      continue;
    }
    const void* hit = std::memchr(bytes.data() + pos, m_terminator, bytes.size() - pos);
    const std::size_t end = hit ? static_cast<const char*>(hit) - bytes.data() + 1 : bytes.size();
    Append(bytes.substr(pos, end - pos));
    pos = end;
    if (m_state == State::Searching && hit) CompleteSegment();
  }
  return pos;
}

void SegmentScanner::Append(std::string_view bytes) {
  const std::size_t room = m_maxLength - m_length;
  const std::size_t take = std::min(room, bytes.size());
  std::memcpy(m_buffer + m_length, bytes.data(), take);
  m_length += take;
  m_buffer[m_length] = '\0';
  CheckFirstSegment(false);
  if (m_state == State::Searching && take < bytes.size()) m_state = State::TooLong;
}

void SegmentScanner::CheckFirstSegment(bool complete) {
  if (m_firstChecked) return;
  if (m_length < 3 && !complete) return;
  m_firstChecked = true;
  if (m_length < 3 || std::memcmp(m_buffer, "UNB", 3) != 0) m_state = State::NotUnb;
}

void SegmentScanner::CompleteSegment() {
  CheckFirstSegment(true);
  if (m_state != State::Searching) return;
  ++m_count;
  if (m_length >= 3 && std::memcmp(m_buffer, m_tag, 3) == 0) {
    m_state = State::Found;
    return;
  }
  m_length = 0;
  m_buffer[0] = '\0';
}

void SegmentScanner::Finish() {
  if (m_state != State::Searching) return;
  CheckFirstSegment(true);
  if (m_state == State::Searching) m_buffer[0] = '\0';  // a segment cut short is no result
}

}  // namespace zncore::detail
