// Lists the folders below a folder, sorted, with the MD5 digest of each
// folder's name: ZnCore as another program uses it.
#include <cstdio>

#include "zncore/ZnCore.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: core_consumer FOLDER\n");
    return 2;
  }
  CZnStringArray folders;
  folders.FileList(argv[1], nullptr, 1, 1, 1, 1, 1);
  for (int i = 0; i < folders.GetCount(); ++i) {
    CZnString name = folders.GetAt(i);
    MD5Context context;
    unsigned char digest[16];
    CZnFile::MD5Init(&context);
    CZnFile::MD5Update(&context, reinterpret_cast<const unsigned char*>(name.GetString()),
                       static_cast<unsigned>(name.GetLength()));
    CZnFile::MD5Final(digest, &context);
    name.FindReplace(argv[1], "", 1);
    std::printf("%s %02x%02x\n", name.GetString(), digest[0], digest[1]);
  }
  return folders.GetCount() > 0 ? 0 : 1;
}
