// File-name patterns as file searches use them: '*' matches any run of
// characters, '?' exactly one character (a whole UTF-8 sequence), letters
// match without regard to ASCII case. As on the original system, "*.*"
// matches every name, a pattern ending in ".*" also matches names without an
// extension, and a pattern ending in "." matches names without a dot.
#pragma once

#include <string_view>

namespace platform {

bool HasWildcards(std::string_view pattern) noexcept;
bool MatchesWildcard(std::string_view name, std::string_view pattern) noexcept;

}  // namespace platform
