// SegmentScanner: the segment search of CZnWinQuarn, fed with the bytes of
// an interchange (after its UNA segment) in pieces of any size.
//
// It cuts the bytes into segments at the terminator, drops the blanks, tabs
// and line ends before each segment, checks that the first segment is UNB,
// counts the segments and stops at the first whose first three characters
// are the tag's. The segment being read is kept in the caller's buffer of
// maxLength + 1 bytes; nothing is written beyond it.
#pragma once

#include <cstddef>
#include <string_view>

namespace zncore::detail {

class SegmentScanner {
public:
  enum class State {
    Searching,  // more bytes are wanted
    Found,      // the buffer holds the segment found, Count() is its number
    NotUnb,     // the first segment is not UNB
    TooLong,    // a segment is longer than the maximum length
  };

  // `tag` has at least three characters; `maxLength` is at least 3.
  SegmentScanner(char terminator, const char* tag, char* buffer, std::size_t maxLength);

  // Takes the next bytes. Returns how many were used: all of them while
  // searching, fewer once the search has ended.
  std::size_t Feed(std::string_view bytes);
  // The end of the file: a first segment never seen makes the file NotUnb.
  void Finish();

  State GetState() const { return m_state; }
  int Count() const { return m_count; }

private:
  static bool IsBlank(char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; }
  // Appends bytes of the current segment, as far as the buffer allows.
  void Append(std::string_view bytes);
  // Runs the UNB test once the first segment's tag can be seen.
  void CheckFirstSegment(bool complete);
  void CompleteSegment();

  const char m_terminator;
  const char* const m_tag;
  char* const m_buffer;
  const std::size_t m_maxLength;
  std::size_t m_length = 0;  // characters of the current segment
  int m_count = 0;
  bool m_firstChecked = false;
  State m_state = State::Searching;
};

}  // namespace zncore::detail
