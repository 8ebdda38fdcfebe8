// Text helpers of the window layer: UTF-8 character counts and cuts, and
// the mnemonic markers of control texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::ui {

// Characters (code points) of UTF-8 text; a byte that starts no valid
// sequence counts as one character.
int CountCharacters(std::string_view text);
// The length of the longest prefix of at most `maxBytes` bytes that does not
// end inside a UTF-8 sequence.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);
// Copies at most size - 1 bytes of `text` (never a partial character) and a
// terminator into `buffer`; returns the bytes copied. Nothing for size < 1.
std::size_t CopyTextTo(std::string_view text, char* buffer, std::size_t size);
// The text as shown: "&x" shows "x" (x is the mnemonic), "&&" shows "&".
std::string StripMnemonics(std::string_view text);

}  // namespace platform::ui
