// CDigest over the suite's own MD5.
#include "Digest.h"

#include <algorithm>
#include <limits>

void CDigest::Update(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size(), std::numeric_limits<unsigned int>::max() / 2);
    CZnFile::MD5Update(&m_context, reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<unsigned int>(chunk));
    bytes.remove_prefix(chunk);
  }
}

std::string CDigest::Hex() {
  unsigned char digest[16];
  CZnFile::MD5Final(digest, &m_context);
  CZnFile::MD5Init(&m_context);
  static const char kDigits[] = "0123456789abcdef";
  std::string text(32, '0');
  for (int i = 0; i < 16; ++i) {
    text[2 * i] = kDigits[digest[i] >> 4];
    text[2 * i + 1] = kDigits[digest[i] & 15];
  }
  return text;
}

bool CDigest::IsDigestText(std::string_view text) {
  return text.size() == 32 &&
         std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}
