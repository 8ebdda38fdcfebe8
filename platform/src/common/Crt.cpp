// C run-time helpers: case mapping, formatting and the Windows path splitter.
#include "platform/Crt.h"

#include <cstdio>
#include <cstring>

#include "platform/WinTypes.h"

namespace platform {

void AsciiUpper(std::string& text) noexcept {
  for (char& c : text) c = AsciiToUpper(c);
}

void AsciiLower(std::string& text) noexcept {
  for (char& c : text) c = AsciiToLower(c);
}

std::string FormatV(const char* format, va_list args) {
  if (!format) return {};
  va_list probe;
  va_copy(probe, args);
  const int needed = std::vsnprintf(nullptr, 0, format, probe);
  va_end(probe);
  if (needed <= 0) return {};
  std::string result(static_cast<std::size_t>(needed), '\0');
  std::vsnprintf(result.data(), result.size() + 1, format, args);
  return result;
}

PathParts SplitPath(std::string_view path) {
  constexpr std::size_t kPartLimit = _MAX_DIR - 1;  // 255 bytes, as every part buffer
  PathParts parts;
  if (path.size() >= 2 && path[1] == ':') {
    parts.drive = path.substr(0, 2);
    path.remove_prefix(2);
  }
  const std::size_t lastSep = path.find_last_of("\\/");
  if (lastSep != std::string_view::npos) {
    parts.dir = path.substr(0, std::min(lastSep + 1, kPartLimit));
    path.remove_prefix(lastSep + 1);
  }
  const std::size_t lastDot = path.rfind('.');
  std::string_view name = path;
  if (lastDot != std::string_view::npos) {
    parts.ext = path.substr(lastDot, kPartLimit);
    name = path.substr(0, lastDot);
  }
  parts.fname = name.substr(0, kPartLimit);
  return parts;
}

}  // namespace platform

namespace {
void CopyPart(const std::string& part, char* out) {
  if (!out) return;
  std::memcpy(out, part.data(), part.size());
  out[part.size()] = '\0';
}
}  // namespace

void _splitpath(const char* path, char* drive, char* dir, char* fname, char* ext) {
  const platform::PathParts parts = platform::SplitPath(path ? path : "");
  CopyPart(parts.drive, drive);
  CopyPart(parts.dir, dir);
  CopyPart(parts.fname, fname);
  CopyPart(parts.ext, ext);
}

char* _strupr(char* text) {
  for (char* p = text; p && *p; ++p) *p = platform::AsciiToUpper(*p);
  return text;
}

char* _strlwr(char* text) {
  for (char* p = text; p && *p; ++p) *p = platform::AsciiToLower(*p);
  return text;
}

int _mbscmp(const unsigned char* a, const unsigned char* b) {
  return std::strcmp(reinterpret_cast<const char*>(a ? a : reinterpret_cast<const unsigned char*>("")),
                     reinterpret_cast<const char*>(b ? b : reinterpret_cast<const unsigned char*>("")));
}

int _stricmp(const char* a, const char* b) { return _strnicmp(a, b, static_cast<std::size_t>(-1)); }

int _strnicmp(const char* a, const char* b, std::size_t count) {
  if (!a) a = "";
  if (!b) b = "";
  for (std::size_t i = 0; i < count; ++i) {
    const unsigned char ca = static_cast<unsigned char>(platform::AsciiToLower(a[i]));
    const unsigned char cb = static_cast<unsigned char>(platform::AsciiToLower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}
