// CHtmlFile: a page being written. Texts go out as given (the page texts
// carry their CR LF line ends themselves).
//
// The page is written beside its name and takes the name in one step when
// it is closed (platform/ReplacingFile.h): a reader, a crash or a kill sees
// the old page or the new one, never a part; a link, folder or special file
// that holds the name is never written through or replaced; a failed write
// leaves the old page whole. The digest of the bytes is kept, so the scan
// can later prove the page is the one it wrote.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/FolderHandle.h"
#include "platform/ReplacingFile.h"

class CDigest;
namespace platform {
class ReplacingFile;
}

class CHtmlFile {
public:
  CHtmlFile();
  ~CHtmlFile();  // an open page is dropped; the old one stays
  CHtmlFile(const CHtmlFile&) = delete;
  CHtmlFile& operator=(const CHtmlFile&) = delete;

  // Starts the page `name` of `folder`; `path` is its path text for
  // messages. With `dryRun` nothing is ever written (the name is still
  // checked). `options` set who may read the page (see ReplacingFile). False when the name is held by something else than a plain
  // file (TakenBy()) or the page cannot be created (Error()).
  bool Open(platform::SharedFolder folder, std::string name, std::string path, bool dryRun = false,
            const platform::ReplacingFile::Options& options = {});
  bool IsOpen() const { return m_open; }
  const std::string& GetPath() const { return m_path; }
  // What held the name when Open or Close failed on it; Missing otherwise.
  platform::EntryKind TakenBy() const { return m_takenBy; }
  int Error() const { return m_error; }

  void Write(std::string_view text);
  void Format(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Finishes the page: `beforePublish`, when given, is called with the
  // digest of its bytes just before the page takes its name. False when
  // the page could not be written (the old one stays; TakenBy() or
  // Error() tells why).
  bool Close(const std::function<void(const std::string& digest)>& beforePublish = {});
  // Drops the page being written; the old one stays.
  void Abandon();
  // Hands over the page with all its bytes, to be finished elsewhere (see
  // platform::ReplacingFile::Finish and Publish), with the digest of its
  // bytes; null for a dry run. The page is closed here afterwards.
  std::unique_ptr<platform::ReplacingFile> Release(std::string& digest);

private:
  std::unique_ptr<platform::ReplacingFile> m_file;
  std::unique_ptr<CDigest> m_digest;
  std::string m_path;
  bool m_open = false;
  bool m_dryRun = false;
  platform::EntryKind m_takenBy = platform::EntryKind::Missing;
  int m_error = 0;
};
