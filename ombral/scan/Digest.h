// The digest by which the scan recognises the files it wrote: MD5 of the
// bytes, as 32 lower-case hexadecimal digits. A file is the scan's own when
// its bytes have the digest the scan recorded for that place.
#pragma once

#include <string>
#include <string_view>

#include "zncore/ZnFile.h"

class CDigest {
public:
  CDigest() { CZnFile::MD5Init(&m_context); }
  void Update(std::string_view bytes);
  // The digest of everything fed so far; the object starts afresh after it.
  std::string Hex();

  static std::string Of(std::string_view bytes) {
    CDigest digest;
    digest.Update(bytes);
    return digest.Hex();
  }
  // True for 32 lower-case hexadecimal digits.
  static bool IsDigestText(std::string_view text);

private:
  MD5Context m_context;
};
