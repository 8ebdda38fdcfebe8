// Feeds random bytes and arguments to CZnString's field, path, conversion
// and check members. Under AddressSanitizer any read or write outside a
// string or buffer stops the run; a few invariants the members promise are
// checked on the way.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/MessageBox.h"
#include "platform/testing/FuzzInput.h"
#include "zncore/ZnString.h"

namespace {

using platform::testing::FuzzInput;

// A small signed number, sometimes far out of range.
int Number(FuzzInput& in) {
  const std::uint8_t b = in.Byte();
  if (b == 0xFF) return 2147483647;
  if (b == 0xFE) return -2147483647 - 1;
  return static_cast<int>(b) - 64;
}

// A short zero-terminated text, or (flag set) null.
std::string Text(FuzzInput& in, bool& isNull) {
  isNull = in.Byte() == 0xFF;
  return in.Text();
}

class SilentBoxes : public platform::MessageBoxHandler {
public:
  int Show(HWND, const char*, const char*, UINT) override { return IDOK; }
};

void Check(bool condition) {
  if (!condition) std::abort();
}

// The editing and search core, on which several members below build.
void Core(const CZnString& s, const char* a, const char* b, char ch, int n, int m) {
  (void)s.GetAt(n);
  (void)s.Find(a, n);
  (void)s.FindNoCase(a, n);
  (void)s.FindNoCase(ch, n);
  (void)s.ReverseFind(a, n);
  (void)s.ReverseFindNoCase(a, m);
  (void)s.CountChar(ch);
  CZnString edit(s);
  const int before = edit.GetSize();
  if (edit.FindReplace(a, b, n & 1) == 0 && b) Check(edit.GetSize() == before);
  edit.FindReplaceNoCase(b, a, m & 1);
  edit.FindReplace(ch, static_cast<char>(m), 1);
  edit.Delete(n, m).Insert(m & 0xFFF, a).Replace(n & 0xFFF, m, b);
  edit.DelChar(ch, n).DelEndChar(ch).DelLeadChar(ch).DoubleChar(ch, b ? b[0] : '\0').OneChar(ch, 0);
}

void Fields(const CZnString& s, const char* a, const char* b, char ch, int n, int m) {
  const int count = s.GetFieldCount(a);
  Check(count >= 1);
  (void)s.GetField(a, n);
  (void)s.GetField(ch, n);
  (void)s.GetFieldCount(ch);
  (void)s.GetDelimitedField(a, b, n);
  CZnString key, value;
  if (s.PartString(key, a, value)) Check(key.GetSize() + value.GetSize() <= s.GetSize());
  (void)s.PartString(key, ch, value);
  (void)s.IsComment(a);
  (void)s.BuildAlphabet(n, m);
  (void)s.ReturnXChars(ch, static_cast<unsigned>(n) % 1024);
  Check(CZnString(s).SortChars(n & 1).GetSize() == s.GetSize());
  (void)s.CountDigits(n & 1);
}

void Paths(const CZnString& s, const char* a, char ch, int n) {
  (void)s.GetDrive(n & 1);
  (void)s.GetPath();
  (void)s.GetFilename();
  (void)s.GetFiletitle();
  (void)s.GetExtension();
  (void)s.SetFileExtension(a, n & 1);
  (void)s.AbsolutePath(a);
  (void)s.RelativePath(a);
  (void)s.GetFirstPath();
  (void)s.GetLastPath();
  (void)s.GetFileNameByWildcard(a);
  (void)s.IsValidFileName(n & 1);
  CZnString copy(s);
  Check(copy.FindReplaceCharset(a, ch).GetSize() == s.GetSize());
  Check(copy.ReplaceInvalidFilenameChars(ch).GetSize() == s.GetSize());
  (void)s.ConvertANSI(a);
  (void)s.ConvertANSI(nullptr);
}

void Conversions(const CZnString& s, char ch, int n, int m) {
  (void)s.ConHexToString(static_cast<unsigned>(n));
  const CZnString hex = s.ConStringToHex(static_cast<unsigned>(n), m);
  Check(hex == s.ConStringToBankHex(static_cast<unsigned>(n), m));
  (void)s.GetBitString(n, m % 80);
  (void)s.GetBitStream(n, m % 80, m & 1);
  // Unsigned products wrap instead of overflowing; every long value is fair.
  (void)s.FormatLong(static_cast<long>(static_cast<unsigned long>(n) * 1000003UL * static_cast<unsigned long>(m)));
  (void)s.GetCharMeaning(static_cast<int>(static_cast<unsigned>(n) * 7u + static_cast<unsigned char>(ch)));
}

void Checks(const CZnString& s, const char* a, bool aIsNull, int n, int m) {
  (void)s.IsValidID(a);
  (void)s.IsValidPwd(n, m, n, m, n);
  (void)s.IncludesOnly(a);
  (void)s.IsNumeric(n & 1);
  (void)s.IsAlpha();
  (void)s.IsAnsi();
  (void)s.IsAscii();
  (void)s.CheckByteParity(n, m & 1, m);
  (void)s.CheckParity(n & 1, static_cast<unsigned>(m));
  const int count = n & 63;
  const CZnString random = s.MakeRandomCharset(count, m & 3, aIsNull ? nullptr : a, n & 2);
  Check(random.GetSize() == (count > 0 ? count : 0) + ((n & 2) ? 0 : 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static SilentBoxes boxes;
  static const bool installed = (platform::SetMessageBoxHandler(&boxes), true);
  (void)installed;

  FuzzInput in(data, size);
  const char ch = static_cast<char>(in.Byte());
  const int n = Number(in);
  const int m = Number(in);
  bool aIsNull = false, bIsNull = false;
  const std::string a = Text(in, aIsNull);
  const std::string b = Text(in, bIsNull);
  const char* pa = aIsNull ? nullptr : a.c_str();
  const char* pb = bIsNull ? nullptr : b.c_str();
  const std::string_view rest = in.Rest();
  const CZnString s{CString(std::string(rest))};

  Core(s, pa, pb, ch, n, m);
  Fields(s, pa, pb, ch, n, m);
  Paths(s, pa, ch, n);
  Conversions(s, ch, n, m);
  Checks(s, pa, aIsNull, n, m);
  return 0;
}
