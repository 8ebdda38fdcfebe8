// CPageRecord: reading with every line checked, lines added as pages are
// written, and the record written anew at the end.
#include "pages/PageRecord.h"

#include "Digest.h"
#include "pages/RecordText.h"

namespace {

constexpr std::string_view kHead = "Ombral pages 1\n";
// A record has a line per page (the digest and the page's place from the
// top; a few hundred bytes, rarely more than 4 KiB for the deepest names),
// and the top files; a killed run may have added a line per page. A file
// beyond this for its tree is not the scan's and is not read.
constexpr std::uint64_t kRecordBase = 1u << 20;
constexpr std::uint64_t kRecordBytesPerFolder = 8u << 10;

std::string LineOf(const std::string& place, const std::string& digest) {
  return digest + " " + record_text::Escape(place) + "\n";
}

}  // namespace

CPageRecord::State CPageRecord::Open(bool dryRun, std::size_t folders) {
  m_earlier.clear();
  m_now.clear();
  m_state = State::Foreign;
  if (!m_root || !m_root->IsOpen()) return m_state;
  std::string text;
  // Owner, links and mode are checked on the opened file before a byte of
  // it is read.
  const bool modesStored = m_root->Traits().modesStored;
  const std::uint64_t limit = kRecordBase + folders * kRecordBytesPerFolder;
  const auto trusted = [modesStored, limit](const platform::EntryInfo& opened) {
    return platform::IsOwnedBySelfOrAdmin(opened) && opened.links == 1 && ((opened.mode & 022) == 0 || !modesStored) &&
           opened.size <= limit;
  };
  switch (m_root->ReadFile(kName, UINT64_MAX, text, nullptr, trusted).status) {
    case platform::ReadStatus::Missing:
      m_state = State::Absent;
      if (dryRun || record_text::WriteRecord(m_root, kName, kHead).Failed()) return m_state;
      break;
    case platform::ReadStatus::Read:
      if (text.compare(0, kHead.size(), kHead) != 0) return m_state;
      for (std::string_view rest = std::string_view(text).substr(kHead.size()); !rest.empty();) {
        const std::size_t end = rest.find('\n');
        if (end == std::string_view::npos) break;  // a cut last line
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end + 1);
        std::string place;
        if (line.size() > 33 && line[32] == ' ' && CDigest::IsDigestText(line.substr(0, 32)) &&
            record_text::Unescape(line.substr(33), place) && !place.empty())
          m_earlier[place].insert(std::string(line.substr(0, 32)));
      }
      break;
    default:
      return m_state;
  }
  m_state = State::Ours;
  if (!dryRun)
    m_journal = platform::AppendFile::Open(*m_root, kName, [modesStored](const platform::EntryInfo& opened) {
      return platform::IsOwnedBySelfOrAdmin(opened) && opened.links == 1 && ((opened.mode & 022) == 0 || !modesStored);
    });
  return m_state;
}

void CPageRecord::Note(const std::string& place, const std::string& digest) {
  if (m_state != State::Ours) return;
  std::lock_guard<std::mutex> lock(m_mutex);
  const auto now = m_now.find(place);
  const bool known = (now != m_now.end() && now->second == digest) ||
                     (m_earlier.count(place) != 0 && m_earlier.at(place).count(digest) != 0);
  m_now[place] = digest;
  // A page the record already names needs no line: a run killed now
  // leaves a record that names it, and an unchanged tree's record is
  // never touched. A line that cannot be added costs only the proof of
  // this page, should the run be killed before the record is written anew.
  if (!known && m_journal.IsOpen()) (void)m_journal.Append(LineOf(place, digest));
}

bool CPageRecord::Knows(const std::string& place, const std::string& digest) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  if (const auto now = m_now.find(place); now != m_now.end() && now->second == digest) return true;
  const auto earlier = m_earlier.find(place);
  return earlier != m_earlier.end() && earlier->second.count(digest) != 0;
}

std::vector<std::string> CPageRecord::PlacesWhere(const std::function<bool(const std::string&)>& wanted) const {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::set<std::string> places;
  for (const auto& entry : m_earlier)
    if (wanted(entry.first)) places.insert(entry.first);
  for (const auto& entry : m_now)
    if (wanted(entry.first)) places.insert(entry.first);
  return {places.begin(), places.end()};
}

std::vector<std::string> CPageRecord::TopPlaces(const std::function<bool(const std::string&)>& wanted) const {
  return PlacesWhere([&](const std::string& place) { return place.find('/') == std::string::npos && wanted(place); });
}

std::vector<std::string> CPageRecord::PlacesIn(const std::string& sub) const {
  const std::string prefix = sub + "/";
  return PlacesWhere([&](const std::string& place) {
    return place.size() > prefix.size() && place.compare(0, prefix.size(), prefix) == 0 &&
           place.find('/', prefix.size()) == std::string::npos;
  });
}

void CPageRecord::Forget(const std::string& place) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_now.erase(place);
  m_earlier.erase(place);
}

platform::FsStatus CPageRecord::Save() {
  if (m_state != State::Ours) return {};
  std::string text(kHead);
  {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_journal.Close();
    // One line per place in the order of the places, whichever run wrote
    // it: the same pages give the same bytes, and the record stays as it is.
    auto earlier = m_earlier.begin();
    for (const auto& [place, digest] : m_now) {
      for (; earlier != m_earlier.end() && earlier->first < place; ++earlier)
        for (const std::string& old : earlier->second) text += LineOf(earlier->first, old);
      if (earlier != m_earlier.end() && earlier->first == place) ++earlier;
      text += LineOf(place, digest);
    }
    for (; earlier != m_earlier.end(); ++earlier)
      for (const std::string& old : earlier->second) text += LineOf(earlier->first, old);
  }
  return record_text::WriteRecord(m_root, kName, text);
}
