// CPreviewFolder: opening and trusting the record, reading it with every
// line checked, adding lines as previews are written, and writing it anew.
#include "previews/PreviewFolder.h"

#include <iterator>

#include "Digest.h"
#include "pages/RecordText.h"
#include "platform/Preview.h"
#include "platform/ReplacingFile.h"

namespace {

using platform::EntryInfo;
using platform::EntryKind;

// A record has one line per picture the folder had (a few hundred bytes,
// at most about 1.5 KiB with the longest name and camera, and a killed run
// may have added a second); it is refused unread beyond this for a folder
// of so many names: a file that large is not one this scan wrote.
constexpr std::uint64_t kRecordBase = 1u << 20;
constexpr std::uint64_t kRecordBytesPerName = 4u << 10;
// Previews are small; a file of a preview's name beyond this is no preview.
constexpr std::uint64_t kMaxPreviewBytes = 64u << 20;

}  // namespace

std::string CPreviewFolder::FileNameFor(const std::string& picture, std::string_view suffix) {
  constexpr std::size_t kNameMax = 255;
  constexpr std::size_t kMark = 17;  // '~' and 16 digits
  if (picture.size() + suffix.size() <= kNameMax) return picture + std::string(suffix);
  std::size_t keep = kNameMax - kMark - suffix.size();
  // Back to the start of a character: never half of a UTF-8 sequence.
  while (keep > 0 && (static_cast<unsigned char>(picture[keep]) & 0xC0) == 0x80) --keep;
  return picture.substr(0, keep) + "~" + CDigest::Of(picture).substr(0, 16) + std::string(suffix);
}

CPreviewFolder::CPreviewFolder(platform::SharedFolder pictures, CString picturesPath)
    : m_pictures(std::move(pictures)), m_path(picturesPath + "\\" + kFolderName) {}

bool CPreviewFolder::IsTrustedRecord(const EntryInfo& record) const {
  // A second link could be another tree's record, or lead a line this scan
  // adds into a file of somebody else's.
  if (record.kind != EntryKind::File || !platform::IsOwnedBySelfOrAdmin(record) || record.links != 1) return false;
  // Where the file system keeps no permissions, every file shows the same
  // mode; what it says tells nothing.
  if (!m_traits.modesStored) return true;
  // Whoever may change the record must be able to change the folder's
  // files anyway: the record then grants nobody a removal they could not
  // make themselves.
  if ((record.mode & 002) && !(m_folderInfo.mode & 002)) return false;
  if ((record.mode & 020) && !((m_folderInfo.mode & 020) && m_folderInfo.group == record.group)) return false;
  return true;
}

CPreviewFolder::State CPreviewFolder::Open(bool removeLeftovers, std::size_t pictureCount) {
  m_records.clear();
  m_noted.clear();
  m_fileNames.clear();
  m_changed = false;
  m_adoptable = false;
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
  m_traits = folder->Traits();
  std::vector<platform::FolderName> names;
  if (folder->List(names).Failed()) return m_state;
  bool onlyFiles = true;
  for (platform::FolderName& name : names) {
    if (platform::ReplacingFile::IsTemporaryName(name.name)) {
      if (removeLeftovers) platform::ReplacingFile::RemoveLeftover(*folder, name.name);
      continue;
    }
    if (name.kind != EntryKind::Folder) m_fileNames.insert(std::move(name.name));
    else onlyFiles = false;
  }
  m_folder = std::move(folder);
  const std::uint64_t limit = kRecordBase + (names.size() + pictureCount) * kRecordBytesPerName;
  switch (ReadRecord(limit)) {
    case platform::ReadStatus::Read:
      m_state = State::Ours;
      if (removeLeftovers) NarrowAccess();
      return m_state;
    case platform::ReadStatus::Missing:
      // A folder of the scan's user that nobody else may write into and
      // that holds nothing: made by a run that could not write its record
      // (a full disk, a kill). It is adopted when previews are made.
      if (onlyFiles && m_fileNames.empty() && platform::IsOwnedBySelfOrAdmin(m_folderInfo) &&
          m_folderInfo.owner == platform::EffectiveUser() &&
          ((m_folderInfo.mode & 022) == 0 || !m_traits.modesStored)) {
        m_adoptable = true;
        m_state = State::Absent;
        return m_state;
      }
      break;
    default:
      break;
  }
  m_folder.reset();
  m_records.clear();
  m_fileNames.clear();
  return m_state;
}

void CPreviewFolder::LimitAccess(std::uint32_t modeLimit, std::optional<std::uint32_t> group) {
  m_modeLimit = modeLimit;
  m_group = group;
}

void CPreviewFolder::NarrowAccess() {
  // A default list (left by an earlier version, or set since) would give
  // new previews to whoever it names: it goes, and the files made under it
  // are looked at one by one.
  m_inheritedAcls = m_pictures->LookAcl(kFolderName) != platform::AclState::None;
  if (m_inheritedAcls) (void)m_folder->DropAcls();
  const bool groupWrong = m_group && m_folderInfo.group != *m_group;
  const std::uint32_t wanted = m_folderInfo.mode & m_modeLimit & (groupWrong ? ~070u : ~0u);
  if (wanted != m_folderInfo.mode && m_traits.modesStored && m_folder->SetMode(wanted).Ok()) m_folderInfo.mode = wanted;
}

platform::ReadStatus CPreviewFolder::ReadRecord(std::uint64_t limit) {
  std::string text;
  // Owner, links and mode are checked on the opened file before a byte of
  // it is read, and a record too large for its folder is not read at all.
  const platform::ReadResult read = m_folder->ReadFile(
      kRecordName, UINT64_MAX, text, nullptr,
      [this, limit](const EntryInfo& opened) { return IsTrustedRecord(opened) && opened.size <= limit; });
  if (read.status != platform::ReadStatus::Read) return read.status;
  int version = 0;
  for (const std::string_view head :
       {preview_record::kHead1, preview_record::kHead2, preview_record::kHead3, preview_record::kHead4,
        preview_record::kHead5}) {
    ++version;
    if (text.compare(0, head.size(), head) == 0) break;
    if (version == preview_record::kLatestForm) return platform::ReadStatus::Refused;
  }
  // Lines that do not read as a record line are dropped: their pictures
  // simply get a new preview, and their files are not known as ours. A
  // later line of a picture (added while a run wrote its preview) wins.
  std::string_view rest(text);
  rest.remove_prefix(preview_record::kHead1.size());  // every head is as long
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) break;  // a cut last line
    std::string name;
    Line line;
    // The record is written in name order: each line goes in at the end.
    if (preview_record::Parse(rest.substr(0, end), version, name, line))
      m_records.insert_or_assign(m_records.end(), std::move(name), std::move(line));
    rest.remove_prefix(end + 1);
  }
  // A first-form record is written anew in the second form.
  m_changed = version == 1;
  // A record of a later form stays one, also in a scan without the gallery.
  m_diskForm = std::max(version, 2);
  m_form = std::max(m_form, m_diskForm);
  return platform::ReadStatus::Read;
}

platform::FsStatus CPreviewFolder::Create() {
  m_state = State::Foreign;
  if (!m_pictures) return platform::FsStatus::Of(EBADF);
  if (!m_adoptable) {
    if (const platform::FsStatus made = m_pictures->MakeFolder(kFolderName, 0755 & m_modeLimit, m_group); made.Failed())
      return made;
    auto folder = std::make_shared<platform::FolderHandle>(m_pictures->OpenFolder(kFolderName));
    if (!folder->IsOpen()) return platform::FsStatus::Of(folder->Error());
    m_folder = std::move(folder);
    m_traits = m_folder->Traits();
  }
  if (const platform::FsStatus looked = m_pictures->Look(kFolderName, m_folderInfo); looked.Failed()) return looked;
  if (m_adoptable) NarrowAccess();
  m_adoptable = false;
  m_records.clear();
  m_changed = true;
  if (const platform::FsStatus saved = Save(); saved.Failed()) {
    m_folder.reset();
    return saved;
  }
  m_fileNames = {kRecordName};
  m_state = State::Ours;
  return {};
}

const CPreviewFolder::Line* CPreviewFolder::Find(const std::string& picture) const {
  const auto found = m_records.find(picture);
  return found == m_records.end() ? nullptr : &found->second;
}

void CPreviewFolder::Set(const std::string& picture, const Line& line) {
  std::lock_guard<std::mutex> lock(m_journalMutex);
  m_records[picture] = line;
  m_changed = true;
}

void CPreviewFolder::Erase(const std::string& picture) {
  std::lock_guard<std::mutex> lock(m_journalMutex);
  if (m_records.erase(picture)) m_changed = true;
}

platform::FsStatus CPreviewFolder::WriteWhole(bool withNoted) const {
  // Lines noted by jobs whose results the walk has not taken yet are newer
  // than the ones it holds.
  std::map<std::string, Line> merged;
  const std::map<std::string, Line>* lines = &m_records;
  if (withNoted && !m_noted.empty()) {
    merged = m_records;
    for (const auto& [name, line] : m_noted) merged[name] = line;
    lines = &merged;
  }
  int form = m_form;
  for (const auto& [name, line] : *lines) form = std::max(form, preview_record::FormFor(line));
  static constexpr std::string_view kHeads[] = {preview_record::kHead2, preview_record::kHead3, preview_record::kHead4,
                                                 preview_record::kHead5};
  std::string text(kHeads[form - 2]);
  for (const auto& [name, line] : *lines) {
    if (!line.legacy) {
      text += preview_record::Format(name, line, form);
      continue;
    }
    Line later = line;
    if (Upgrade(name, later)) text += preview_record::Format(name, later, form);
  }
  m_journal.Close();  // lines added from now on go to the new file
  if (const platform::FsStatus written = record_text::WriteRecord(m_folder, kRecordName, text); written.Failed())
    return written;
  m_diskForm = form;
  return {};
}

platform::FsStatus CPreviewFolder::Save() {
  if (!m_folder) return platform::FsStatus::Of(EBADF);
  std::lock_guard<std::mutex> lock(m_journalMutex);
  // The walk has taken every job's line by now.
  m_noted.clear();
  // What is left of a first-form record (the pictures the walk did not
  // meet) is written as it reads back.
  for (auto it = m_records.begin(); it != m_records.end();)
    it = it->second.legacy && !Upgrade(it->first, it->second) ? m_records.erase(it) : std::next(it);
  if (const platform::FsStatus written = WriteWhole(false); written.Failed()) return written;
  m_changed = false;
  return {};
}

bool CPreviewFolder::Note(const std::string& picture, const Line& line) const {
  if (!m_folder) return false;
  std::lock_guard<std::mutex> lock(m_journalMutex);
  // A line takes the form of the record it is added to. One with a large
  // preview needs the fourth, one with a video's length the fifth: a record
  // of an earlier form is written anew in it first (once), with every line
  // noted so far, so the line names every file it stands for. Until then
  // the noted lines are kept for that (only where the gallery's lines are
  // written: the classic pages' records never get a large preview or a
  // video).
  if (m_diskForm < preview_record::kLatestForm && m_form >= 3) m_noted[picture] = line;
  const int form = preview_record::FormFor(line);
  if (form >= 4 && form > m_diskForm) {
    const bool written = WriteWhole(true).Ok();
    if (written) m_noted.clear();
    return written;
  }
  if (!m_journal.IsOpen())
    m_journal = platform::AppendFile::Open(*m_folder, kRecordName,
                                           [this](const EntryInfo& opened) { return IsTrustedRecord(opened); });
  return m_journal.Append(preview_record::Format(picture, line, m_diskForm)).Ok();
}

bool CPreviewFolder::LookPreview(const std::string& picture, EntryInfo& info) const {
  return m_folder && m_folder->Look(PreviewName(picture), info).Ok();
}

CPreviewFolder::KeptFiles CPreviewFolder::LookKept(const std::string& picture, const Line& line) const {
  const auto look = [this](const std::string& name) -> std::optional<EntryInfo> {
    EntryInfo info;
    if (m_folder && m_folder->Look(name, info).Ok()) return info;
    return std::nullopt;
  };
  KeptFiles kept;
  kept.line = &line;
  if (const std::string name = PreviewName(picture); line.kind == Line::Kind::Preview && HasFile(name))
    kept.preview = look(name);
  if (line.HasLarge()) kept.large = look(LargePreviewName(picture));
  if (line.HasRendition()) kept.rendition = look(RenditionName(picture));
  return kept;
}

bool CPreviewFolder::Upgrade(const std::string& picture, Line& line) const {
  if (!line.legacy) return true;
  const Line first = line;
  line.legacy = false;
  if (line.kind != Line::Kind::Preview) return true;
  std::string bytes;
  EntryInfo info;
  if (!m_folder ||
      m_folder->ReadFile(PreviewName(picture), kMaxPreviewBytes, bytes, &info) != platform::ReadStatus::Read ||
      !first.IsPreviewFile(Stamp::Of(info)))
    return false;
  line.preview = Stamp::Of(info);
  line.digest = CDigest::Of(bytes);
  return true;
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

bool CPreviewFolder::IsOwnRenditionContent(const std::string& picture) const {
  const Line* line = Find(picture);
  std::string bytes;
  return m_state == State::Ours && m_folder && line && line->HasRendition() &&
         m_folder->ReadFile(RenditionName(picture), kMaxPreviewBytes, bytes) == platform::ReadStatus::Read &&
         CDigest::Of(bytes) == line->renditionDigest;
}

void CPreviewFolder::UseThirdForm() {
  if (m_form < 3) m_changed = true;
  m_form = std::max(m_form, 3);
}

bool CPreviewFolder::IsOwnLargeContent(const std::string& picture) const {
  const Line* line = Find(picture);
  std::string bytes;
  return m_state == State::Ours && m_folder && line && line->HasLarge() &&
         m_folder->ReadFile(LargePreviewName(picture), kMaxPreviewBytes, bytes) == platform::ReadStatus::Read &&
         CDigest::Of(bytes) == line->largeDigest;
}

CString CPreviewFolder::LargePath(const std::string& picture) const {
  return m_path + "\\" + CString(LargePreviewName(picture));
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
