// CZnFileFind: extension, folder and filter tests on the entry last found.
#include "platform/Crt.h"
#include "zncore/ZnStringArray.h"

CZnString CZnFileFind::GetExtension(int upper) const {
  std::string ext = platform::SplitPath(GetFileName().GetView()).ext;
  if (upper) platform::AsciiUpper(ext);
  if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
  return CZnString(CString(std::move(ext)));
}

int CZnFileFind::IsRealDirectory() const { return IsDirectory() && !IsDots() ? 1 : 0; }

int CZnFileFind::IsMultiFilterMatch(const char* filter) const {
  if (!filter || !*filter) return 1;
  const CZnString ext = GetExtension(1);
  if (ext.IsEmpty()) return 0;
  return std::string_view(filter).find(ext.GetView()) != std::string_view::npos ? 1 : 0;
}

CZnString CZnFileFind::GetPath(int upper) const {
  const platform::PathParts parts = platform::SplitPath(GetFilePath().GetView());
  std::string path = parts.drive + parts.dir;
  if (upper) platform::AsciiUpper(path);
  return CZnString(CString(std::move(path)));
}
