// CZnDialog: centring, the always-on-top band and id list files.
#include "znwidgets/ZnDialog.h"

#include <cstring>
#include <string>

#include "platform/Geometry.h"
#include "zncore/ZnFile.h"

namespace {

// The first bytes of a record that hold its name.
constexpr unsigned int kNameField = 30;
constexpr std::size_t kMaxName = kNameField - 1;

// The names of the file's non-empty records joined by "|", cut after the
// last whole name that fits into `limit` bytes (separators included). Empty
// when the file is unreadable or not a whole number of records.
std::string ReadIdNames(const char* path, unsigned int recordSize, std::size_t limit) {
  std::string names;
  if (!path || recordSize < kNameField) return names;
  const unsigned long size = CZnFile::GetFileSize(path);
  if (size != CZnFile::kUnknownSize && size % recordSize != 0) return names;
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return names;
  std::string record(recordSize, '\0');
  try {
    while (file.Read(record.data(), recordSize) == recordSize) {
      const std::size_t length = strnlen(record.data(), kMaxName);
      if (length == 0) continue;
      const std::size_t added = length + (names.empty() ? 0 : 1);
      if (names.size() + added > limit) break;
      if (!names.empty()) names += '|';
      names.append(record.data(), length);
    }
  } catch (const CFileException&) {
    // A read error ends the list where it happened.
  }
  file.Abort();
  return names;
}

}  // namespace

void CZnDialog::CenterTheWindow(HWND relativeTo, HWND window) {
  CWnd* target = CWnd::FromHandle(window);
  if (!target) return;
  CRect w;
  target->GetWindowRect(&w);
  int left = 0;
  int top = 0;
  if (relativeTo) {
    CWnd* reference = CWnd::FromHandle(relativeTo);
    if (!reference) return;
    CRect r;
    reference->GetWindowRect(&r);
    left = r.left + (r.Width() - w.Width()) / 2;
    top = r.top + (r.Height() - w.Height()) / 2;
  } else {
    left = (GetSystemMetrics(SM_CXFULLSCREEN) - w.Width()) / 2;
    top = (GetSystemMetrics(SM_CYFULLSCREEN) - w.Height()) / 2;
  }
  target->MoveWindow(left, top, w.Width(), w.Height(), TRUE);
}

void CZnDialog::SetTopMost(HWND window, int topMost) {
  SetWindowPos(window, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

char* CZnDialog::CopyIdList(const char* path, unsigned int recordSize, char* text,
                            std::size_t textSize) {
  if (!text || textSize == 0) return text;
  const std::string names = ReadIdNames(path, recordSize, textSize - 1);
  std::memcpy(text, names.c_str(), names.size() + 1);
  return text;
}

char* CZnDialog::CopyIdList(const char* path, unsigned int recordSize, char* text) {
  if (!text) return text;
  const std::string names = ReadIdNames(path, recordSize, std::string::npos);
  std::memcpy(text, names.c_str(), names.size() + 1);
  return text;
}

char* CZnDialog::CopyIdListDec(char*, unsigned int, char*, char*) { return nullptr; }

int CZnDialog::InitIdList(CComboBox*, CListBox*, char*, unsigned int, char*) { return 0; }

int CZnDialog::InitIdListDec(CComboBox*, CListBox*, char*, unsigned int, char*, char*) {
  return 0;
}

int CZnDialog::InitIdListFromFiles(CComboBox*, CListBox*, char*, unsigned int) { return 0; }
