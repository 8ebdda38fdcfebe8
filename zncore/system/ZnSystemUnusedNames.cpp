// CZnSystem: the first numbered file name that is not taken yet.
//
// The answer is the one a probe per number (FileExist of the full path)
// gives, in the same order. To stay fast in a folder with many taken names,
// after the first few probes the folder is listed once and the numbered
// names in it are read from the listing: a plain file or folder is taken as listed, a link is probed, and
// the first number missing from the listing is confirmed with one probe.
// Names with wildcard characters or separators need real searches and are
// probed one by one.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "../file/FileProbe.h"
#include "platform/Crt.h"
#include "platform/FolderList.h"
#include "zncore/ZnString.h"
#include "zncore/ZnSystem.h"

namespace {

// The result buffer is written as the original formatting did: at most
// 1,024 bytes with the terminator.
constexpr std::size_t kResultLimit = 1024;
// Numbers probed one by one before the folder is listed.
constexpr long kProbesBeforeListing = 32;

// Names "<prefix><number, `width` digits at least><suffix>" in `directory`.
struct NumberedNames {
  std::string directory;
  std::string prefix;
  std::string suffix;
  int width = 0;
  long last = 0;  // the highest number tried

  std::string Name(long number) const {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%0*ld", width, number);
    return prefix + digits + suffix;
  }
  std::string FullPath(long number) const { return directory + "\\" + Name(number); }
  bool Taken(long number) const { return zncore::detail::FileExist(CString(FullPath(number)), CString()) != 0; }

  // The number a listed name stands for, or -1. Every number tried has
  // exactly `width` digits.
  long NumberOf(std::string_view name) const {
    const std::size_t size = prefix.size() + static_cast<std::size_t>(width) + suffix.size();
    if (name.size() != size || name.substr(0, prefix.size()) != prefix ||
        name.substr(size - suffix.size()) != suffix)
      return -1;
    long number = 0;
    for (char c : name.substr(prefix.size(), static_cast<std::size_t>(width))) {
      if (c < '0' || c > '9') return -1;
      number = number * 10 + (c - '0');
    }
    return number <= last ? number : -1;
  }

  // Wildcards make a name a pattern, and a separator moves it to another
  // folder: such names cannot be looked up in one listing.
  bool Plain() const {
    const std::string name = Name(0);
    return name.find_first_of("*?\\/") == std::string::npos;
  }
};

long FirstFreeByProbes(const NumberedNames& names, long from) {
  for (long number = from; number <= names.last; ++number)
    if (!names.Taken(number)) return number;
  return -1;
}

// The first free number, or -1 when all are taken.
long FirstFree(const NumberedNames& names) {
  // A few probes first: a folder with few taken names, however many others
  // it holds, is answered without reading all its names.
  long start = 0;
  for (; start <= names.last && start < kProbesBeforeListing; ++start)
    if (!names.Taken(start)) return start;
  std::vector<platform::FolderEntry> entries;
  // The candidates' folder, spelled as a search for a full path takes it.
  const std::string folder = names.directory + "\\";
  if (!names.Plain() || !platform::ListFolder(folder, entries)) return FirstFreeByProbes(names, start);

  struct Listed {
    long number;
    bool certain;
  };
  std::vector<Listed> listed;
  for (const platform::FolderEntry& entry : entries)
    if (const long number = names.NumberOf(entry.name); number >= 0) listed.push_back({number, entry.certain});
  std::sort(listed.begin(), listed.end(), [](const Listed& a, const Listed& b) { return a.number < b.number; });

  auto next = listed.begin();
  for (long number = start; number <= names.last; ++number) {
    while (next != listed.end() && next->number < number) ++next;
    if (next != listed.end() && next->number == number) {
      if (next->certain || names.Taken(number)) continue;
      return number;  // a link that leads nowhere: the probe found the name free
    }
    // Not listed: free, unless the folder changed since it was read.
    if (!names.Taken(number)) return number;
  }
  return -1;
}

void WriteResult(char* result, const std::string& text) {
  const std::size_t n = std::min(text.size(), kResultLimit - 1);
  std::memcpy(result, text.data(), n);
  result[n] = '\0';
}

// Removes trailing backslashes from the caller's directory, in place.
std::string TidyDirectory(char* directory) {
  CZnString text(directory);
  text.DelEndChar('\\');
  std::strcpy(directory, text);  // never longer than before
  return text.GetStdString();
}

int Search(const NumberedNames& names, char* result, int fullPath, const char* allTaken) {
  const long number = FirstFree(names);
  if (number < 0) {
    WriteResult(result, allTaken);
    return 0;
  }
  WriteResult(result, fullPath ? names.FullPath(number) : names.Name(number));
  return 1;
}

}  // namespace

int CZnSystem::GetUnusedFileName(char* directory, char* extension, char* result, int fullPath) {
  if (!directory || !extension || !result) return 0;
  NumberedNames names;
  names.directory = TidyDirectory(directory);
  CZnString ext(extension);
  ext.DelLeadChar('.');
  std::strcpy(extension, ext);
  names.suffix = "." + ext.GetStdString();
  names.width = 7;
  names.last = 9999997;
  return Search(names, result, fullPath, "all names (00000000.xxx->99999999.x) used");
}

int CZnSystem::GetUnusedFileNameSuffix(char* directory, char* name, char* result, int fullPath) {
  if (!directory || !name || !result) return 0;
  NumberedNames names;
  names.directory = TidyDirectory(directory);
  CZnString text(name);
  text.DelLeadChar('\\');
  text.DelEndChar('.');
  const std::string title = platform::SplitPath(text.GetView()).fname;
  std::strcpy(name, title.c_str());  // a part of the text: never longer
  names.prefix = title + ".";
  names.width = 3;
  names.last = 997;
  return Search(names, result, fullPath, "all names (*.000->*.999) used");
}
