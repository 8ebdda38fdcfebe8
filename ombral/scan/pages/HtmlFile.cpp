// CHtmlFile: page output through the platform's replacing writer.
#include "ombral/HtmlFile.h"

#include <cerrno>
#include <cstdarg>

#include "Digest.h"
#include "platform/Crt.h"
#include "platform/ReplacingFile.h"

using Outcome = platform::ReplacingFile::Outcome;

CHtmlFile::CHtmlFile() : m_file(std::make_unique<platform::ReplacingFile>()), m_digest(std::make_unique<CDigest>()) {}

CHtmlFile::~CHtmlFile() = default;

bool CHtmlFile::Open(platform::SharedFolder folder, std::string name, std::string path, bool dryRun,
                     const platform::ReplacingFile::Options& options) {
  Abandon();
  m_path = std::move(path);
  m_takenBy = platform::EntryKind::Missing;
  m_error = 0;
  m_dryRun = dryRun;
  *m_digest = CDigest();
  if (dryRun) {
    platform::EntryInfo info;
    if (!folder || !folder->IsOpen()) {
      m_error = EBADF;
      return false;
    }
    if (folder->Look(name, info).Ok() && info.kind != platform::EntryKind::File) {
      m_takenBy = info.kind;
      return false;
    }
    m_open = true;
    return true;
  }
  if (!m_file->Begin(std::move(folder), std::move(name), options)) {
    if (m_file->GetOutcome() == Outcome::NameTaken) m_takenBy = m_file->TakenBy();
    else m_error = m_file->Error();
    return false;
  }
  m_open = true;
  return true;
}

void CHtmlFile::Write(std::string_view text) {
  if (!m_open || text.empty()) return;
  m_digest->Update(text);
  if (!m_dryRun) m_file->Write(text);
}

void CHtmlFile::Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = platform::FormatV(format, args);
  va_end(args);
  Write(text);
}

bool CHtmlFile::Close(const std::function<void(const std::string&)>& beforePublish) {
  if (!m_open) return false;
  m_open = false;
  const std::string digest = m_digest->Hex();
  if (m_dryRun) return true;
  const Outcome outcome = m_file->Commit([&] {
    if (beforePublish) beforePublish(digest);
  });
  switch (outcome) {
    case Outcome::Created: case Outcome::Replaced: case Outcome::Unchanged:
      return true;
    case Outcome::NameTaken:
      m_takenBy = m_file->TakenBy();
      return false;
    case Outcome::Failed:
      m_error = m_file->Error();
      return false;
  }
  return false;
}

std::unique_ptr<platform::ReplacingFile> CHtmlFile::Release(std::string& digest) {
  if (!m_open) return nullptr;
  m_open = false;
  digest = m_digest->Hex();
  if (m_dryRun) return nullptr;
  auto file = std::move(m_file);
  m_file = std::make_unique<platform::ReplacingFile>();
  return file;
}

void CHtmlFile::Abandon() {
  m_open = false;
  m_file->Abandon();
}
