// MD5 throughput of CZnFile. Reads a file in 64 KiB pieces through CFile and
// feeds each piece to MD5Update, as a digest of a file is made; then feeds
// the same bytes again from memory to show the cost of the digest alone.
// Prints the digest and the best time of each way.
//
// Usage: zncore_md5_bench <file> [runs]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/testing/Timing.h"
#include "zncore/ZnFile.h"

using platform::testing::BestSeconds;

namespace {

constexpr UINT kPiece = 64 * 1024;

std::string Hex(const unsigned char digest[16]) {
  char text[33];
  for (int i = 0; i < 16; ++i) std::snprintf(text + 2 * i, 3, "%02x", digest[i]);
  return text;
}


std::string DigestOfFile(const char* path) {
  CFile file(path, CFile::modeRead);
  std::vector<unsigned char> piece(kPiece);
  MD5Context context;
  CZnFile::MD5Init(&context);
  for (UINT n; (n = file.Read(piece.data(), kPiece)) > 0;) CZnFile::MD5Update(&context, piece.data(), n);
  unsigned char digest[16];
  CZnFile::MD5Final(digest, &context);
  return Hex(digest);
}

std::string DigestOfMemory(const std::vector<unsigned char>& data) {
  MD5Context context;
  CZnFile::MD5Init(&context);
  for (std::size_t pos = 0; pos < data.size(); pos += kPiece) {
    const auto n = static_cast<unsigned int>(std::min<std::size_t>(kPiece, data.size() - pos));
    CZnFile::MD5Update(&context, data.data() + pos, n);
  }
  unsigned char digest[16];
  CZnFile::MD5Final(digest, &context);
  return Hex(digest);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <file> [runs]\n", argv[0]);
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  try {
    std::string digest;
    const double fileSeconds = BestSeconds(runs, [&] { digest = DigestOfFile(argv[1]); });

    CFile file(argv[1], CFile::modeRead);
    std::vector<unsigned char> data(static_cast<std::size_t>(file.GetLength()));
    file.Read(data.data(), static_cast<UINT>(data.size()));
    std::string memoryDigest;
    const double memorySeconds = BestSeconds(runs, [&] { memoryDigest = DigestOfMemory(data); });
    if (memoryDigest != digest) {
      std::fprintf(stderr, "digests differ: %s %s\n", digest.c_str(), memoryDigest.c_str());
      return 1;
    }
    std::printf("digest %s\nbytes %zu\nfile_seconds %.4f\nmemory_seconds %.4f\n", digest.c_str(), data.size(),
                fileSeconds, memorySeconds);
  } catch (CFileException& error) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
    return 1;
  }
  return 0;
}
