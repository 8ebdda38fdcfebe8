/// @file
/// CZnWinQuarn: a small reader for UN/EDIFACT interchange files.
#pragma once

#include "platform/Object.h"

/// A small reader for UN/EDIFACT interchange files.
///
/// It reads the service string advice (the UNA segment), finds the first
/// segment with a given tag, takes one data element out of a segment, tells
/// whether a file is an interchange, and reads a one-character qualifier from
/// a file's first line. The object holds no state: every member works only on
/// its arguments, and every file a member opens is closed before it returns.
///
/// The service string advice is a text of 9 characters laid out as a UNA
/// segment: 0..2 "UNA", 3 component data element separator, 4 data element
/// separator, 5 decimal mark, 6 release character, 7 reserved, 8 segment
/// terminator. kDefaultAdvice applies whenever a file has none of its own.
///
/// Files are named by Windows paths (drive letters over the drive table) and
/// read as bytes. Blanks, tabs, carriage returns and line feeds before a
/// segment are not part of it, so an interchange with CR LF line ends, with LF
/// line ends or with none at all reads the same.
///
/// Reading is plain: only the first three characters of a tag are compared,
/// the release character is not honoured and component separators do not
/// split elements.
/// @ingroup zncore_edifact
class CZnWinQuarn : public CObject {
public:
  /// The default service string advice, "UNA:+.? '": component separator
  /// ':', data element separator '+', decimal mark '.', release character
  /// '?', a blank in the reserved place and the apostrophe as segment
  /// terminator; 10 bytes with the terminator.
  static constexpr const char kDefaultAdvice[] = "UNA:+.? '";

  /// A reader; it holds no state.
  CZnWinQuarn() = default;
  /// Nothing to free: no file stays open between calls.
  ~CZnWinQuarn() override;

  /// 1 when the file begins with a complete UNA segment: `advice` (at least
  /// 10 bytes) then holds its 9 characters and a terminator. Otherwise 0 and
  /// `advice` holds kDefaultAdvice: a missing or unreadable file, one that
  /// does not begin with "UNA", or one that ends within its first 9 bytes.
  /// A null `advice` gives 0.
  int GetEdifactUNASegment(const char* path, char* advice) const;

  /// Searches for the first segment whose first three characters are those of
  /// `tag`, and copies it, from its tag to its terminator inclusive, into
  /// `segment`, which must hold maxLength + 1 bytes. The terminator is the
  /// apostrophe unless the file begins with a UNA segment that names another.
  /// Results:
  ///  - 1 or more: found; the segment's number, the UNB segment being 1;
  ///  - 0: not found before the end of the file (a segment cut short by the
  ///    end of the file is not complete); or the tag is UNA: then `segment`
  ///    holds the file's first (up to) 9 characters, its UNA segment when it
  ///    has one;
  ///  - -1: the file cannot be opened or read;
  ///  - -2: after the optional UNA segment the file does not continue with
  ///    UNB (an empty or blank file included);
  ///  - -3: a segment read on the way is longer than maxLength (its
  ///    terminator counts, the blanks and line ends before it do not);
  ///    `segment` holds its first maxLength characters;
  ///  - -4: maxLength below 9, a tag shorter than 3 characters, or a null tag
  ///    or segment buffer.
  ///
  /// `segment` always ends up terminated (when not null); it is empty unless
  /// the result says what it holds (found, UNA, -3, or -2: the text found
  /// instead of UNB).
  int GetFirstEdifactSegment(const char* path, const char* tag, char* segment,
                             unsigned int maxLength) const;

  /// Copies data element `index` of `segment` into `element`, which must hold
  /// maxLength + 2 bytes: an element may have maxLength + 1 characters.
  /// Element 0 is the tag. Elements are split at the data element separator
  /// (advice position 4); the run of segment terminators (position 8) at the
  /// element's end is removed (TrimRight for a blank, tab or line feed as
  /// terminator). Missing advice positions (null or shorter advice) are taken
  /// from kDefaultAdvice; a null segment counts as empty.
  /// Results:
  ///  - the index: found;
  ///  - -1: the walk ends before the index;
  ///  - -2: the segment has fewer separators than the index;
  ///  - -3: an element up to and including the one wanted has more than
  ///    maxLength + 1 characters (the buffer then holds the first
  ///    maxLength + 1), or `element` is null.
  ///
  /// `element` is always terminated (when not null); it is empty on -1, -2.
  int GetEdifactElement(const char* segment, const char* advice, unsigned int index,
                        char* element, unsigned int maxLength) const;

  /// 1 when searches for UNB and for UNZ (maximum length 199) both find their
  /// segment, else 0.
  int IsEdifactMessage(const char* path) const;

  /// Puts the character at `position` (counted from 1) of the file's first
  /// line, followed by `suffix` (null counts as empty), into `qualifier`,
  /// which must hold strlen(suffix) + 2 bytes, and returns 1. The line ends
  /// before its LF or CR LF, and only its first 299 characters are read.
  /// Returns 0 and leaves `qualifier` empty when the file cannot be opened or
  /// read or is empty, or when `position` is 0 or beyond the line so read.
  /// A null `qualifier` gives 0.
  int GetLanguageQualifier(const char* path, unsigned int position, const char* suffix,
                           char* qualifier) const;
};
