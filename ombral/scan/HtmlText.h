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

// For SRC and HREF values: '#', '%', '?' and every byte that is not part of
// valid UTF-8 percent-encoded; '&' as "&amp;" and '"' as "&quot;".
std::string EscapeLink(std::string_view name);

// For visible text: '&', '<', '>' as entities; a byte that is not part of
// valid UTF-8 shown as U+FFFD.
std::string EscapeText(std::string_view name);

}  // namespace ombral
