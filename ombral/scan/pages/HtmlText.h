// Escaping of file-system names for the pages.
//
// The pages declare UTF-8. Names reach them as the file system spells them,
// which may include bytes that are not UTF-8 and characters that end a link
// ('#', '?', '%') or open markup ('&', '<', '"'). Names without such bytes
// come out unchanged.
#pragma once

#include <string>
#include <string_view>

namespace ombral {

// For SRC and HREF values (a name, or names joined by '/'): '#', '%', '?',
// control characters and every byte that is not part of valid UTF-8
// percent-encoded; '&' as "&amp;" and '"' as "&quot;". When the first
// segment holds a ':' the link starts with "./", so that a browser never
// reads a name such as "javascript:x.jpg" as an address with a scheme.
// Spaces at the start and the end of the whole value are percent-encoded
// too: a browser strips them from an address, and the link would miss a
// name that begins or ends with one.
std::string EscapeLink(std::string_view name);

// For visible text: '&', '<', '>' as entities; a byte that is not part of
// valid UTF-8 shown as U+FFFD.
std::string EscapeText(std::string_view name);

// For a text in an attribute value (alt, title): as EscapeText, and '"' as
// "&quot;", which would end the value.
std::string EscapeAttribute(std::string_view name);

// Length of the valid UTF-8 sequence at `pos`, or 0 when the byte there does
// not start one (stray continuation, overlong form, surrogate, beyond
// U+10FFFF, or cut short).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

}  // namespace ombral
