// ReplacingFile over POSIX: a temporary file made with O_CREAT | O_EXCL |
// O_NOFOLLOW beside its final name, renamed over it with renameat through
// the held folder. A named temporary (not O_TMPFILE with linkat) because
// linkat cannot replace an existing name: the rename would be needed anyway,
// and O_TMPFILE fails on some network and overlay file systems.
#include "platform/ReplacingFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <unistd.h>

#include "EntryStat.h"
#include "SysCalls.h"
#include "UniqueFd.h"

namespace platform {
namespace {

using posix::RetryOnEintr;
using posix::Sys;

std::atomic<const char*> g_tempPrefix{".#tmp."};
constexpr std::size_t kRandomDigits = 16;
// New bytes are kept in memory up to this size and compared with the old
// file at the end; a longer file is streamed, each piece compared with the
// old file's bytes at the same place as it goes out.
constexpr std::size_t kCompareLimit = 1u << 20;
// While every streamed piece so far equals the old file's, the pieces are
// held in memory instead of written, up to this much: an unchanged long file
// then makes no temporary file either. Past it (or at the first difference)
// the temporary file is made and what was held goes into it first.
constexpr std::size_t kHoldLimit = 64u << 20;

std::string TemporaryName() {
  static std::mutex mutex;
  static std::mt19937_64 engine{std::random_device{}() ^ (static_cast<std::uint64_t>(::getpid()) << 32)};
  std::uint64_t value;
  {
    std::lock_guard<std::mutex> lock(mutex);
    value = engine();
  }
  char text[64];
  std::snprintf(text, sizeof text, "%ld.%016llx", static_cast<long>(::getpid()), static_cast<unsigned long long>(value));
  return g_tempPrefix.load() + std::string(text);
}

// Reads exactly `count` bytes (fewer only at the end of the file).
bool ReadFull(int fd, char* buffer, std::size_t count, std::size_t& got) {
  got = 0;
  while (got < count) {
    const ssize_t n = RetryOnEintr([&] { return Sys().read(fd, buffer + got, count - got); });
    if (n < 0) return false;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = RetryOnEintr([&] { return Sys().write(fd, bytes.data(), bytes.size()); });
    if (n < 0) return false;
    if (n == 0) {
      errno = ENOSPC;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The process number in a temporary name, or 0 when the name is not one.
long TemporaryOwnerProcess(std::string_view name) {
  const std::string_view prefix = g_tempPrefix.load();
  if (name.substr(0, prefix.size()) != prefix) return 0;
  name.remove_prefix(prefix.size());
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || dot == 0 || name.size() - dot - 1 != kRandomDigits) return 0;
  long pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + dot, pid);
  if (error != std::errc() || end != name.data() + dot || pid <= 0) return 0;
  for (const char c : name.substr(dot + 1))
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return 0;
  return pid;
}

}  // namespace

void ReplacingFile::SetTemporaryPrefix(const char* prefix) { g_tempPrefix = prefix; }

unsigned ReplacingFile::FinalMode(const EntryInfo* old) const {
  unsigned mode = 0;
  if (m_options.forceMode && m_options.mode) mode = *m_options.mode & 0777;
  else if (old) mode = old->mode & 0777;
  else mode = m_options.mode ? (*m_options.mode & 0777) : (0666 & ~Sys().processUmask());
  return m_options.modeLimit ? mode & *m_options.modeLimit : mode;
}

bool ReplacingFile::IsTemporaryName(std::string_view name) { return TemporaryOwnerProcess(name) != 0; }

bool ReplacingFile::RemoveLeftover(const FolderHandle& folder, std::string_view name) {
  const long pid = TemporaryOwnerProcess(name);
  if (pid == 0 || pid == ::getpid()) return false;
  EntryInfo info;
  if (folder.Look(name, info).Failed() || info.kind != EntryKind::File || info.owner != EffectiveUser() ||
      info.links != 1)
    return false;
  // A process of that number that still runs may be writing it.
  if (Sys().kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) return false;
  const FileIdentity identity = info.Identity();
  return folder.RemoveFile(name, &identity).Ok();
}

ReplacingFile::~ReplacingFile() {
  Abandon();
  StopComparing();
}

bool ReplacingFile::Begin(SharedFolder folder, std::string name, const Options& options) {
  Abandon();
  m_folder = std::move(folder);
  m_name = std::move(name);
  m_options = options;
  m_pending.clear();
  m_compared = 0;
  m_keptAll = true;
  m_finished = false;
  m_size = 0;
  m_error = 0;
  m_takenBy = EntryKind::Missing;
  m_written = EntryInfo{};
  StopComparing();
  m_oldMatches = false;
  if (const int error = posix::CheckName(m_folder ? m_folder->NativeHandle() : -1, m_name)) {
    m_outcome = Fail(error);
    return false;
  }
  EntryInfo old;
  const bool hadOld = m_folder->Look(m_name, old).Ok();
  if (hadOld && old.kind != EntryKind::File) {
    m_takenBy = old.kind;
    m_outcome = Outcome::NameTaken;
    return false;
  }
  // The file is created with no more permissions than it will end with (a
  // preview of a private picture is never readable by others, not even
  // while it is written); the group's only once it has the group asked for.
  m_createMode = FinalMode(hadOld ? &old : nullptr);
  if (m_options.group) m_createMode &= ~static_cast<mode_t>(070);
  m_active = true;
  m_outcome = Outcome::Failed;
  // Where the old file may well stay, the temporary file is made only once
  // the new bytes turn out to differ (or pass the length kept in memory):
  // an unchanged file then leaves its folder untouched, modification time
  // included. Whether the folder takes new files is asked now, so a folder
  // that does not is still reported here.
  if (m_options.keepUnchanged && hadOld) {
    if (Sys().faccessat(m_folder->NativeHandle(), ".", W_OK | X_OK, AT_EACCESS) != 0) {
      m_outcome = Fail(errno);
      return false;
    }
    return true;
  }
  if (!CreateTemporary()) {
    m_outcome = Fail(m_error);
    return false;
  }
  return true;
}

bool ReplacingFile::CreateTemporary() {
  for (int attempt = 0; attempt < 8; ++attempt) {
    m_temp = TemporaryName();
    m_fd = RetryOnEintr([&] {
      return Sys().openat(m_folder->NativeHandle(), m_temp.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, m_createMode);
    });
    if (m_fd >= 0 || errno != EEXIST) break;
  }
  if (m_fd < 0) {
    m_error = errno;
    m_temp.clear();
    return false;
  }
  // What the folder's default ACL gave the new file goes: its mode alone
  // says who may read it.
  if (const int error = m_options.mayInheritAcl ? Sys().dropAcls(m_fd, false) : 0) {
    m_error = error;
    return false;
  }
  return true;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (!m_active || m_finished) return false;
  if (m_error != 0) return false;
  m_pending.append(bytes);
  m_size += bytes.size();
  if (m_pending.size() - m_compared > kCompareLimit) {
    if (m_keptAll) StartComparing();
    m_keptAll = false;
    CompareWithOld(std::string_view(m_pending).substr(m_compared));
    m_compared = m_pending.size();
    if (m_fd < 0 && m_oldMatches && m_pending.size() <= kHoldLimit) return true;
    if (m_fd < 0 && !CreateTemporary()) return false;
    return Flush();
  }
  return true;
}

void ReplacingFile::StartComparing() {
  m_oldMatches = false;
  if (!m_options.keepUnchanged) return;
  posix::UniqueFd fd;
  if (posix::OpenRegularAt(m_folder->NativeHandle(), m_name, O_RDONLY, fd, m_oldOpened).status != ReadStatus::Read)
    return;
  m_oldFd = fd.Release();
  m_oldMatches = true;
}

void ReplacingFile::CompareWithOld(std::string_view bytes) {
  if (!m_oldMatches) return;
  std::string buffer(bytes.size(), '\0');
  std::size_t got = 0;
  if (!ReadFull(m_oldFd, buffer.data(), buffer.size(), got) || got != bytes.size() || buffer != bytes) StopComparing();
}

void ReplacingFile::StopComparing() {
  m_oldMatches = false;
  posix::UniqueFd(std::exchange(m_oldFd, -1));
}

bool ReplacingFile::StreamedSameAsOld(const EntryInfo& old) {
  CompareWithOld(std::string_view(m_pending).substr(m_compared));
  if (!m_oldMatches) return false;
  // Every byte matched; the old file must also end here and be the file
  // that was read, unchanged while it was read.
  char extra = 0;
  std::size_t got = 0;
  const bool ended = ReadFull(m_oldFd, &extra, 1, got) && got == 0;
  struct stat now {};
  const bool same = ended && Sys().fstat(m_oldFd, &now) == 0 && old.Identity() == m_oldOpened.Identity() &&
                    static_cast<std::uint64_t>(now.st_size) == m_size && now.st_mtim.tv_sec == m_oldOpened.modifySeconds &&
                    static_cast<std::uint32_t>(now.st_mtim.tv_nsec) == m_oldOpened.modifyNanos;
  StopComparing();
  return same;
}

bool ReplacingFile::Flush() {
  if (m_error != 0) return false;
  if (!m_pending.empty() && !WriteAll(m_fd, m_pending)) {
    m_error = errno;
    return false;
  }
  m_pending.clear();
  m_compared = 0;
  return true;
}

bool ReplacingFile::SameAsOld(const EntryInfo& old) {
  if (!m_options.keepUnchanged || old.kind != EntryKind::File || old.size != m_size) return false;
  // The old file stays only when it is also as open to others as asked
  // (where the file system keeps permissions at all) and carries no access
  // control list that opens it to more.
  const bool modeDiffers = (m_options.forceMode && m_options.mode && (old.mode & 0777) != (*m_options.mode & 0777)) ||
                           (m_options.modeLimit && (old.mode & 0777 & ~*m_options.modeLimit) != 0);
  if (modeDiffers && m_folder->Traits().modesStored) return false;
  if (m_options.group && old.group != *m_options.group) return false;
  if (!m_keptAll) return StreamedSameAsOld(old) && m_folder->LookAcl(m_name) == AclState::None;
  std::string content;
  return m_folder->ReadFile(m_name, m_size, content) == ReadStatus::Read && content == m_pending &&
         m_folder->LookAcl(m_name) == AclState::None;
}

ReplacingFile::Outcome ReplacingFile::Fail(int error) {
  posix::UniqueFd(std::exchange(m_fd, -1));
  StopComparing();
  if (!m_temp.empty() && m_folder && m_folder->IsOpen()) Sys().unlinkat(m_folder->NativeHandle(), m_temp.c_str(), 0);
  m_temp.clear();
  m_pending.clear();
  m_compared = 0;
  m_active = false;
  m_finished = false;
  m_error = error;
  m_outcome = Outcome::Failed;
  return m_outcome;
}

void ReplacingFile::Abandon() {
  if (!m_active) return;
  const int error = m_error;
  m_finished = false;
  Fail(error);
}

ReplacingFile::Outcome ReplacingFile::Commit() { return Commit({}); }

ReplacingFile::Outcome ReplacingFile::Commit(const std::function<void()>& beforeName) {
  const Outcome outcome = Finish();
  const bool written = outcome == Outcome::Created || outcome == Outcome::Replaced;
  if ((written || outcome == Outcome::Unchanged) && beforeName) beforeName();
  return written ? Publish() : outcome;
}

ReplacingFile::Outcome ReplacingFile::Finish() {
  if (!m_active || m_finished) return m_outcome;
  if (m_error != 0) return Fail(m_error);
  EntryInfo old;
  const bool hadOld = m_folder->Look(m_name, old).Ok();
  if (hadOld && old.kind != EntryKind::File) {
    m_takenBy = old.kind;
    Fail(0);
    m_outcome = Outcome::NameTaken;
    return m_outcome;
  }
  if (hadOld && SameAsOld(old)) {
    Fail(0);
    m_written = old;
    m_outcome = Outcome::Unchanged;
    return m_outcome;
  }
  StopComparing();
  if (m_fd < 0 && !CreateTemporary()) return Fail(m_error);
  if (!Flush()) return Fail(m_error);

  mode_t mode = FinalMode(hadOld ? &old : nullptr);
  struct stat st {};
  if (Sys().fstat(m_fd, &st) != 0) return Fail(errno);
  if (m_options.group && st.st_gid != *m_options.group) {
    if (Sys().fchown(m_fd, static_cast<uid_t>(-1), static_cast<gid_t>(*m_options.group)) == 0)
      st.st_gid = *m_options.group;
    else
      mode &= ~static_cast<mode_t>(070);
  }
  if ((st.st_mode & 07777) != mode)
    if (const int error = posix::SetModeOf(m_fd, mode)) return Fail(error);
  // A network file system may report a failed write only at the close.
  if (const int error = posix::UniqueFd(std::exchange(m_fd, -1)).Close()) return Fail(error);
  m_pending.clear();
  m_written = posix::ToEntryInfo(st);
  m_written.size = m_size;
  m_written.mode = mode;
  m_written.links = 1;
  m_finished = true;
  m_outcome = hadOld ? Outcome::Replaced : Outcome::Created;
  return m_outcome;
}

ReplacingFile::Outcome ReplacingFile::Publish() {
  if (!m_finished) return m_outcome;
  m_finished = false;
  const int dir = m_folder->NativeHandle();
  if (m_outcome == Outcome::Replaced && m_options.exchange) {
    // The two names swap in one step; the old file, now under the temporary
    // name, goes afterwards. A rename over the old file would do the same,
    // but ext4 then starts writing the new file out at once, which costs a
    // page several times what writing it did.
    if (Sys().exchangeNames(dir, m_temp.c_str(), m_name.c_str()) == 0) {
      // Only a regular file goes: what else took the old name meanwhile is
      // left under the temporary name.
      struct stat st {};
      if (Sys().fstatat(dir, m_temp.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
        Sys().unlinkat(dir, m_temp.c_str(), 0);
      m_temp.clear();
      m_active = false;
      return m_outcome;
    }
    // The file system cannot swap names (or the old file went): rename.
  }
  if (Sys().renameat(dir, m_temp.c_str(), dir, m_name.c_str()) != 0) return Fail(errno);
  m_temp.clear();
  m_active = false;
  return m_outcome;
}

}  // namespace platform
