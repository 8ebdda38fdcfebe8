// The C run-time pieces of the original platform that the libraries use:
// Windows path splitting, C-locale case mapping, byte comparison and printf
// formatting into a string.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>

namespace platform {

// ASCII-only case mapping (the C locale): other bytes, UTF-8 included, stay.
inline char AsciiToUpper(char c) noexcept { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }
inline char AsciiToLower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? char(c + 32) : c; }
void AsciiUpper(std::string& text) noexcept;
void AsciiLower(std::string& text) noexcept;

// printf-style formatting of any length.
std::string FormatV(const char* format, va_list args);

// The four parts of a Windows path. Each part is cut to 255 bytes (the drive
// to 2), as the fixed buffers of the original splitter are.
struct PathParts {
  std::string drive;  // "X:" when the second character is a colon, else ""
  std::string dir;    // up to and including the last backslash or slash
  std::string fname;  // the name up to its last dot
  std::string ext;    // from the last dot of the name on, "" without a dot
};
PathParts SplitPath(std::string_view path);

}  // namespace platform

// Splits `path` into the caller's buffers (any may be null). The drive buffer
// must hold _MAX_DRIVE bytes, the others _MAX_DIR / _MAX_FNAME / _MAX_EXT.
void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext);
// Upper- or lower-cases a zero-terminated text in place (ASCII letters only).
char* _strupr(char* text);
char* _strlwr(char* text);
// Compares zero-terminated texts as unsigned bytes: <0, 0, >0.
int _mbscmp(const unsigned char* a, const unsigned char* b);
// Compares without regard to ASCII case: <0, 0, >0.
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, std::size_t count);
