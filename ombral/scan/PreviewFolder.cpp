// CPreviewFolder: the record file (read with every line checked, written
// into a new file that replaces the old one) and the ownership tests.
#include "PreviewFolder.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "platform/Drives.h"
#include "platform/FileFind.h"
#include "platform/FileSystem.h"
#include "platform/Preview.h"
#include "platform/TreeFiles.h"

namespace {

constexpr std::string_view kFirstLine = "Ombral previews 1\n";
// A record of a folder of a million pictures stays well below this; a
// larger file is not one this scan wrote.
constexpr std::size_t kMaxRecordBytes = 64u << 20;

// Reads at most `limit` bytes of a file; false when it cannot be opened or
// is longer.
bool ReadSmallFile(const CString& path, std::size_t limit, std::string& text) {
  const std::string native = platform::ToNativePath(path.GetView());
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(native.empty() ? nullptr : std::fopen(native.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return false;
  text.clear();
  char buffer[65536];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file.get())) > 0;) {
    if (text.size() + n > limit) return false;
    text.append(buffer, n);
  }
  return !std::ferror(file.get());
}

// Names may hold any byte but '/' and NUL; the record keeps one per line,
// so '%', CR and LF are written as %25, %0D and %0A.
std::string EscapeName(const std::string& name) {
  std::string out;
  for (const char c : name) {
    if (c == '%') out += "%25";
    else if (c == '\n') out += "%0A";
    else if (c == '\r') out += "%0D";
    else out += c;
  }
  return out;
}

bool UnescapeName(std::string_view text, std::string& name) {
  name.clear();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      name += text[i];
      continue;
    }
    const std::string_view code = text.substr(i + 1, 2);
    if (code == "25") name += '%';
    else if (code == "0A") name += '\n';
    else if (code == "0D") name += '\r';
    else return false;
    i += 2;
  }
  return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos;
}

template <typename Number>
bool TakeNumber(std::string_view& line, Number& value) {
  const std::size_t blank = line.find(' ');
  if (blank == std::string_view::npos) return false;
  const auto [end, error] = std::from_chars(line.data(), line.data() + blank, value);
  if (error != std::errc() || end != line.data() + blank) return false;
  line.remove_prefix(blank + 1);
  return true;
}

// One line: "P|B pictureSize pictureTime previewSize previewTime width height name".
bool ParseLine(std::string_view line, std::string& name, CPreviewFolder::Record& record) {
  if (line.size() < 2 || (line[0] != 'P' && line[0] != 'B') || line[1] != ' ') return false;
  record.broken = line[0] == 'B';
  line.remove_prefix(2);
  if (!TakeNumber(line, record.pictureSize) || !TakeNumber(line, record.pictureTime) ||
      !TakeNumber(line, record.previewSize) || !TakeNumber(line, record.previewTime) ||
      !TakeNumber(line, record.width) || !TakeNumber(line, record.height))
    return false;
  const bool sized = record.width >= 1 && record.width <= platform::kMaxPreviewEdge && record.height >= 1 &&
                     record.height <= platform::kMaxPreviewEdge;
  // A preview the page shows needs its size; a broken picture has none.
  if (!record.broken && (!sized || !record.HasPreview())) return false;
  if (record.broken && (record.width != 0 || record.height != 0)) return false;
  return UnescapeName(line, name);
}

}  // namespace

CPreviewFolder::CPreviewFolder(const CString& root, const CString& folder)
    : m_root(root), m_path(folder + "\\" + kFolderName) {}

bool CPreviewFolder::IsPreviewFolder(const CString& path) {
  platform::FileStat stat;
  if (!platform::GetFileStat(path.GetView(), stat) || !stat.isDirectory) return false;
  // The first line is the mark; reading a few bytes is enough.
  const std::string native = platform::ToNativePath((path + "\\" + kRecordName).GetView());
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(native.empty() ? nullptr : std::fopen(native.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) return false;
  char head[kFirstLine.size()];
  return std::fread(head, 1, sizeof head, file.get()) == sizeof head &&
         std::string_view(head, sizeof head) == kFirstLine;
}

CPreviewFolder::State CPreviewFolder::Open() {
  m_records.clear();
  m_fileNames.clear();
  m_changed = false;
  switch (platform::CheckTreeEntry(m_root.GetView(), m_path.GetView())) {
    case platform::TreeEntry::Missing: m_state = State::Absent; return m_state;
    case platform::TreeEntry::PlainFolder: break;
    default: m_state = State::Foreign; return m_state;
  }
  if (platform::CheckTreeEntry(m_root.GetView(), RecordPath().GetView()) != platform::TreeEntry::PlainFile ||
      !ReadRecord()) {
    m_state = State::Foreign;
    return m_state;
  }
  CFileFind finder;
  BOOL more = finder.FindFile(m_path + "\\*.*");
  while (more) {
    more = finder.FindNextFile();
    if (!finder.IsDots() && !finder.IsDirectory()) m_fileNames.insert(finder.GetFileName().GetString());
  }
  m_state = State::Ours;
  return m_state;
}

bool CPreviewFolder::ReadRecord() {
  std::string text;
  if (!ReadSmallFile(RecordPath(), kMaxRecordBytes, text) || text.compare(0, kFirstLine.size(), kFirstLine) != 0)
    return false;
  // Lines that do not read as a record line are dropped: their pictures
  // simply get a new preview, and their files are not known as ours.
  std::string_view rest(text);
  rest.remove_prefix(kFirstLine.size());
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) break;  // a cut last line
    std::string name;
    Record record;
    if (ParseLine(rest.substr(0, end), name, record)) m_records.emplace(std::move(name), record);
    rest.remove_prefix(end + 1);
  }
  return true;
}

bool CPreviewFolder::Create() {
  if (!platform::MakeFolder(m_path.GetView()) || !platform::WriteNewFile(RecordPath().GetView(), kFirstLine)) {
    m_state = State::Foreign;
    return false;
  }
  m_records.clear();
  m_fileNames = {kRecordName};
  m_changed = false;
  m_state = State::Ours;
  return true;
}

const CPreviewFolder::Record* CPreviewFolder::Find(const std::string& picture) const {
  const auto found = m_records.find(picture);
  return found == m_records.end() ? nullptr : &found->second;
}

void CPreviewFolder::Set(const std::string& picture, const Record& record) {
  m_records[picture] = record;
  m_changed = true;
}

void CPreviewFolder::Erase(const std::string& picture) {
  if (m_records.erase(picture)) m_changed = true;
}

bool CPreviewFolder::Save() {
  std::string text(kFirstLine);
  for (const auto& [name, record] : m_records) {
    char numbers[160];
    std::snprintf(numbers, sizeof numbers, "%c %llu %lld %llu %lld %d %d ", record.broken ? 'B' : 'P',
                  static_cast<unsigned long long>(record.pictureSize), static_cast<long long>(record.pictureTime),
                  static_cast<unsigned long long>(record.previewSize), static_cast<long long>(record.previewTime),
                  record.width, record.height);
    text += numbers;
    text += EscapeName(name);
    text += '\n';
  }
  const CString temp = RecordPath() + ".new";
  // A new file left by an interrupted run is ours to replace; anything else
  // of that name (a link) makes the write fail rather than follow it.
  if (platform::CheckTreeEntry(m_root.GetView(), temp.GetView()) == platform::TreeEntry::PlainFile)
    platform::RemoveTreeFile(m_root.GetView(), temp.GetView());
  if (!platform::WriteNewFile(temp.GetView(), text)) return false;
  if (!platform::ReplaceFile(temp.GetView(), RecordPath().GetView())) {
    platform::RemoveTreeFile(m_root.GetView(), temp.GetView());
    return false;
  }
  m_changed = false;
  return true;
}

CString CPreviewFolder::PreviewPath(const std::string& picture) const {
  return m_path + "\\" + CString(PreviewName(picture));
}

std::string CPreviewFolder::PreviewLink(const std::string& picture) const {
  return std::string(kFolderName) + "/" + PreviewName(picture);
}

bool CPreviewFolder::IsOwnPreview(const std::string& picture) const {
  const Record* record = Find(picture);
  if (m_state != State::Ours || !record || !record->HasPreview()) return false;
  platform::FileStat stat;
  return platform::CheckTreeEntry(m_root.GetView(), PreviewPath(picture).GetView(), &stat) ==
             platform::TreeEntry::PlainFile &&
         stat.size == record->previewSize && stat.modifyTime == record->previewTime;
}
