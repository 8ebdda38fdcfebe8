// The INI reader: a streaming parser that stops as soon as it has its answer,
// and the copy rules of the original system's profile functions.
#include "platform/Profile.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Crt.h"
#include "platform/Drives.h"

namespace {

constexpr std::size_t kLineLimit = 65535;

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The default as the original reader takes it: null is "", trailing blanks go.
std::string_view TrimBlanksRight(const char* text) {
  std::string_view view = text ? text : "";
  while (!view.empty() && (view.back() == ' ' || view.back() == '\t')) view.remove_suffix(1);
  return view;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (platform::AsciiToUpper(a[i]) != platform::AsciiToUpper(b[i])) return false;
  return true;
}

// Reads lines of a file in blocks, each line cut at its first zero byte and
// at kLineLimit bytes, without its CR LF or LF.
class LineReader {
public:
  explicit LineReader(const char* file) {
    const std::string native = platform::ToNativePath(file ? file : "");
    if (!native.empty()) m_in.open(native, std::ios::binary);
  }

  bool Next(std::string& line) {
    line.clear();
    bool cut = false, any = false;
    for (;;) {
      if (m_pos == m_size && !Refill()) return any;
      any = true;
      const char c = m_block[m_pos++];
      if (c == '\n') break;
      if (c == '\0') cut = true;
      if (!cut && line.size() < kLineLimit) line += c;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
  }

private:
  bool Refill() {
    if (!m_in.is_open() || !m_in) return false;
    m_in.read(m_block, sizeof m_block);
    m_size = static_cast<std::size_t>(m_in.gcount());
    m_pos = 0;
    if (m_first && m_size >= 3 && std::memcmp(m_block, "\xEF\xBB\xBF", 3) == 0) m_pos = 3;
    m_first = false;
    return m_pos < m_size;
  }

  std::ifstream m_in;
  char m_block[65536];
  std::size_t m_pos = 0, m_size = 0;
  bool m_first = true;
};

// What a line of the file is.
struct ProfileLine {
  enum class Kind { Ignored, Section, Entry } kind = Kind::Ignored;
  std::string_view name;
  std::string_view value;
};

ProfileLine Classify(std::string_view text) {
  ProfileLine line;
  text = TrimBlanks(text);
  if (text.empty() || text[0] == ';') return line;
  if (text[0] == '[') {
    const std::size_t close = text.find(']');
    line.kind = ProfileLine::Kind::Section;
    line.name = TrimBlanks(text.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    return line;
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return line;
  line.kind = ProfileLine::Kind::Entry;
  line.name = TrimBlanks(text.substr(0, equals));
  line.value = TrimBlanks(text.substr(equals + 1));
  return line;
}

// Calls `visit` for every section header and every entry inside a section
// (with the section's name), until it returns false.
using Visitor = std::function<bool(const ProfileLine& line, std::string_view section)>;

void ParseProfile(const char* file, const Visitor& visit) {
  LineReader reader(file);
  std::string text, section;
  bool inSection = false;
  while (reader.Next(text)) {
    const ProfileLine line = Classify(text);
    if (line.kind == ProfileLine::Kind::Section) {
      section.assign(line.name);
      inSection = true;
      if (!visit(line, section)) return;
    } else if (line.kind == ProfileLine::Kind::Entry && inSection) {
      if (!visit(line, section)) return;
    }
  }
}

// Calls `entry` for each entry of the first section named `section`.
void ForEachEntryOfSection(const char* file, std::string_view section,
                           const std::function<bool(const ProfileLine&)>& entry) {
  bool inside = false, seen = false;
  ParseProfile(file, [&](const ProfileLine& line, std::string_view current) {
    if (line.kind == ProfileLine::Kind::Section) {
      if (inside) return false;  // the first section of the name has ended
      inside = !seen && SameName(current, section);
      seen = seen || inside;
      return true;
    }
    return !inside || entry(line);
  });
}

DWORD CopyText(std::string_view text, char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<DWORD>(n);
}

// The zero-separated list, ended by a second zero; cut to size - 2 bytes
// plus two zeros when it does not fit.
DWORD CopyList(const std::vector<std::string>& items, char* buffer, DWORD size) {
  if (!buffer || size == 0) return 0;
  if (size == 1) {
    buffer[0] = '\0';
    return 0;
  }
  std::size_t pos = 0;
  const std::size_t limit = size - 2;
  for (const std::string& item : items) {
    const std::size_t n = std::min(item.size(), limit - pos);
    std::memcpy(buffer + pos, item.data(), n);
    pos += n;
    if (n < item.size() || pos == limit) {
      buffer[pos] = buffer[pos + 1] = '\0';
      return static_cast<DWORD>(limit);
    }
    buffer[pos++] = '\0';
  }
  buffer[pos] = '\0';
  if (pos == 0) buffer[1] = '\0';
  return static_cast<DWORD>(pos);
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer, DWORD size,
                               LPCSTR file) {
  if (!section) return GetPrivateProfileSectionNamesA(buffer, size, file);
  if (!key) {
    std::vector<std::string> names;
    ForEachEntryOfSection(file, section, [&](const ProfileLine& line) {
      names.emplace_back(line.name);
      return true;
    });
    return CopyList(names, buffer, size);
  }
  bool found = false;
  std::string value;
  ForEachEntryOfSection(file, section, [&](const ProfileLine& line) {
    if (!SameName(line.name, key)) return true;
    found = true;
    value.assign(Unquoted(line.value));
    return false;
  });
  if (found) return CopyText(value, buffer, size);
  return CopyText(TrimBlanksRight(defaultValue), buffer, size);
}

DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR file) {
  std::vector<std::string> names;
  std::size_t total = 0;
  ParseProfile(file, [&](const ProfileLine& line, std::string_view) {
    if (line.kind != ProfileLine::Kind::Section) return true;
    names.emplace_back(line.name);
    total += line.name.size() + 1;
    return total < size;  // enough to fill the buffer: stop reading
  });
  return CopyList(names, buffer, size);
}

DWORD GetPrivateProfileSectionA(LPCSTR section, LPSTR buffer, DWORD size, LPCSTR file) {
  std::vector<std::string> entries;
  std::size_t total = 0;
  ForEachEntryOfSection(file, section ? section : "", [&](const ProfileLine& line) {
    std::string entry(line.name);
    entry += '=';
    entry.append(line.value);
    total += entry.size() + 1;
    entries.push_back(std::move(entry));
    return total < size;
  });
  return CopyList(entries, buffer, size);
}
