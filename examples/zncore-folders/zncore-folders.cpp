// zncore-folders FOLDER: lists every folder below FOLDER, sorted without
// regard to case, with the MD5 digest of the first file in each (by name).
//
// Shows ZnCore at work: CZnStringArray::FileList walks the tree (symbolic
// link loops are listed but not entered), CZnFile reads a file and the
// MD5 members digest it. Paths may be POSIX paths or Windows paths on a
// drive letter mapped with ZN_DRIVES.
#include <cstdio>

#include "zncore/ZnCore.h"

namespace {

// The digest of a file as 32 hexadecimal digits; "" when it cannot be read.
CZnString DigestOf(const char* path) {
  CZnFile file;
  if (!file.Open(path, CFile::modeRead | CFile::typeBinary)) return "";
  MD5Context context;
  CZnFile::MD5Init(&context);
  unsigned char block[65536];
  try {
    while (const UINT read = file.Read(block, sizeof block)) {
      CZnFile::MD5Update(&context, block, read);
      if (read < sizeof block) break;
    }
  } catch (const CFileException&) {
    return "";
  }
  unsigned char digest[16];
  CZnFile::MD5Final(digest, &context);
  CZnString text;
  for (unsigned char byte : digest) {
    CString hex;
    hex.Format("%02x", byte);
    text += hex;
  }
  return text;
}

// The first file of the folder by name (folders and links to folders do
// not count); "" when it holds none.
CZnString FirstFileOf(const CString& folder) {
  CZnStringArray entries;
  entries.FileList(folder.GetString(), nullptr, 1, 0, 1, 0, 1);
  for (int i = 0; i < entries.GetCount(); ++i) {
    const CString entry = entries.GetAt(i);
    if (CZnFile::GetFileSize(entry.GetString()) != CZnFile::kUnknownSize) return entry;
  }
  return "";
}

void PrintFolder(const CString& folder) {
  const CZnString first = FirstFileOf(folder);
  if (first.IsEmpty()) {
    std::printf("%s  (no files)\n", folder.GetString());
  } else {
    std::printf("%s  %s  %s\n", folder.GetString(), DigestOf(first.GetString()).GetString(),
                first.GetFilename().GetString());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zncore-folders FOLDER\n");
    return 2;
  }
  PrintFolder(argv[1]);
  // Every folder below the root, sorted without regard to case.
  CZnStringArray folders;
  folders.FileList(argv[1], nullptr, 1, 1, 1, 1, 1);
  for (int i = 0; i < folders.GetCount(); ++i) PrintFolder(folders.GetAt(i));
  return 0;
}
