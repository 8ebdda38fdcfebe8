// CPreviewFolder: opening and trusting the record, reading it with every
// line checked, adding lines as previews are written, and writing it anew.
#include "PreviewFolder.h"

#include "Digest.h"
#include "RecordText.h"
#include "platform/Preview.h"
#include "platform/ReplacingFile.h"

namespace {

using platform::EntryInfo;
using platform::EntryKind;

// A record of a folder of a million pictures stays well below this; a
// larger file is not one this scan wrote.
constexpr std::uint64_t kMaxRecordBytes = 256u << 20;
// Previews are small; a file of a preview's name beyond this is no preview.
constexpr std::uint64_t kMaxPreviewBytes = 64u << 20;

}  // namespace

CPreviewFolder::CPreviewFolder(platform::SharedFolder pictures, CString picturesPath)
    : m_pictures(std::move(pictures)), m_path(picturesPath + "\\" + kFolderName) {}

bool CPreviewFolder::IsTrustedRecord(const EntryInfo& record) const {
  if (record.kind != EntryKind::File || !platform::IsOwnedBySelfOrAdmin(record)) return false;
  // Whoever may change the record must be able to change the folder's
  // files anyway: the record then grants nobody a removal they could not
  // make themselves.
  if ((record.mode & 002) && !(m_folderInfo.mode & 002)) return false;
  if ((record.mode & 020) && !((m_folderInfo.mode & 020) && m_folderInfo.group == record.group)) return false;
  return true;
}

CPreviewFolder::State CPreviewFolder::Open(bool removeLeftovers) {
  m_records.clear();
  m_fileNames.clear();
  m_changed = false;
  m_folder.reset();
  const platform::FsStatus looked = m_pictures ? m_pictures->Look(kFolderName, m_folderInfo)
                                               : platform::FsStatus::Of(EBADF);
  if (looked.Failed()) {
    m_state = looked.Is(ENOENT) ? State::Absent : State::Foreign;
    return m_state;
  }
  if (m_folderInfo.kind != EntryKind::Folder) {
    m_state = State::Foreign;
    return m_state;
  }
  auto folder = std::make_shared<platform::FolderHandle>(m_pictures->OpenFolder(kFolderName));
  m_state = State::Foreign;
  if (!folder->IsOpen()) return m_state;
  m_folder = std::move(folder);
  std::vector<platform::FolderName> names;
  if (!ReadRecord() || m_folder->List(names).Failed()) {
    m_folder.reset();
    m_records.clear();
    return m_state;
  }
  for (const platform::FolderName& name : names) {
    if (platform::ReplacingFile::IsTemporaryName(name.name)) {
      if (removeLeftovers) platform::ReplacingFile::RemoveLeftover(*m_folder, name.name);
      continue;
    }
    if (name.kind != EntryKind::Folder) m_fileNames.insert(name.name);
  }
  m_state = State::Ours;
  return m_state;
}

bool CPreviewFolder::ReadRecord() {
  std::string text;
  EntryInfo info;
  if (m_folder->ReadFile(kRecordName, kMaxRecordBytes, text, &info) != platform::ReadStatus::Read ||
      !IsTrustedRecord(info))
    return false;
  int version = 0;
  if (text.compare(0, preview_record::kHead3.size(), preview_record::kHead3) == 0) version = 3;
  else if (text.compare(0, preview_record::kHead2.size(), preview_record::kHead2) == 0) version = 2;
  else if (text.compare(0, preview_record::kHead1.size(), preview_record::kHead1) == 0) version = 1;
  else return false;
  // Lines that do not read as a record line are dropped: their pictures
  // simply get a new preview, and their files are not known as ours. A
  // later line of a picture (added while a run wrote its preview) wins.
  std::string_view rest(text);
  rest.remove_prefix(version == 1 ? preview_record::kHead1.size() : preview_record::kHead2.size());
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) break;  // a cut last line
    std::string name;
    Line line;
    if (preview_record::Parse(rest.substr(0, end), version, name, line)) m_records[std::move(name)] = line;
    rest.remove_prefix(end + 1);
  }
  // A first-form record is written anew in the second form.
  m_changed = version == 1;
  // A record of the third form stays one, also in a scan without the gallery.
  m_diskThird = version == 3;
  m_third = m_third || m_diskThird;
  return true;
}

bool CPreviewFolder::Create() {
  m_state = State::Foreign;
  if (!m_pictures || m_pictures->MakeFolder(kFolderName, 0755).Failed()) return false;
  auto folder = std::make_shared<platform::FolderHandle>(m_pictures->OpenFolder(kFolderName));
  if (!folder->IsOpen() || m_pictures->Look(kFolderName, m_folderInfo).Failed()) return false;
  m_folder = std::move(folder);
  m_records.clear();
  m_changed = true;
  if (!Save()) {
    m_folder.reset();
    return false;
  }
  m_fileNames = {kRecordName};
  m_state = State::Ours;
  return true;
}

const CPreviewFolder::Line* CPreviewFolder::Find(const std::string& picture) const {
  const auto found = m_records.find(picture);
  return found == m_records.end() ? nullptr : &found->second;
}

void CPreviewFolder::Set(const std::string& picture, const Line& line) {
  m_records[picture] = line;
  m_changed = true;
}

void CPreviewFolder::Erase(const std::string& picture) {
  if (m_records.erase(picture)) m_changed = true;
}

bool CPreviewFolder::Save() {
  if (!m_folder) return false;
  bool third = m_third;
  for (const auto& [name, line] : m_records) third = third || line.HasFacts();
  std::string text(third ? preview_record::kHead3 : preview_record::kHead2);
  for (const auto& [name, line] : m_records) text += preview_record::Format(name, line, third);
  std::lock_guard<std::mutex> lock(m_journalMutex);
  m_journal.Close();  // lines added from now on go to the new file
  if (!record_text::WriteRecord(m_folder, kRecordName, text)) return false;
  m_changed = false;
  m_diskThird = third;
  return true;
}

bool CPreviewFolder::Note(const std::string& picture, const Line& line) const {
  if (!m_folder) return false;
  std::lock_guard<std::mutex> lock(m_journalMutex);
  if (!m_journal.IsOpen()) m_journal = platform::AppendFile::Open(*m_folder, kRecordName);
  // A line takes the form of the record it is added to.
  return m_journal.Append(preview_record::Format(picture, line, m_diskThird)).Ok();
}

bool CPreviewFolder::LookPreview(const std::string& picture, EntryInfo& info) const {
  return m_folder && m_folder->Look(PreviewName(picture), info).Ok();
}

bool CPreviewFolder::IsOwnPreviewContent(const std::string& picture, bool markCounts) const {
  if (m_state != State::Ours || !m_folder) return false;
  const Line* line = Find(picture);
  std::string bytes;
  EntryInfo info;
  if (m_folder->ReadFile(PreviewName(picture), kMaxPreviewBytes, bytes, &info) != platform::ReadStatus::Read)
    return false;
  if (line && line->HasPreview()) {
    if (line->legacy ? line->IsPreviewFile(Stamp::Of(info)) : CDigest::Of(bytes) == line->digest) return true;
  }
  return markCounts && platform::IsMarkedPreview(bytes);
}

bool CPreviewFolder::LookRendition(const std::string& picture, EntryInfo& info) const {
  return m_folder && m_folder->Look(RenditionName(picture), info).Ok();
}

bool CPreviewFolder::IsOwnRenditionContent(const std::string& picture) const {
  const Line* line = Find(picture);
  std::string bytes;
  return m_state == State::Ours && m_folder && line && line->HasRendition() &&
         m_folder->ReadFile(RenditionName(picture), kMaxPreviewBytes, bytes) == platform::ReadStatus::Read &&
         CDigest::Of(bytes) == line->renditionDigest;
}

void CPreviewFolder::UseThirdForm() {
  if (!m_third) m_changed = true;
  m_third = true;
}

CString CPreviewFolder::RenditionPath(const std::string& picture) const {
  return m_path + "\\" + CString(RenditionName(picture));
}

CString CPreviewFolder::PreviewPath(const std::string& picture) const {
  return m_path + "\\" + CString(PreviewName(picture));
}

std::string CPreviewFolder::PreviewLink(const std::string& picture) const {
  return std::string(kFolderName) + "/" + PreviewName(picture);
}
