#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/MessageBox.h"
#include "zncore/ZnString.h"

namespace {
CZnString Bytes(std::string bytes) { return CZnString(CString(std::move(bytes))); }

// Records every box and answers OK, so no test waits for a user.
class RecordingBoxes : public platform::MessageBoxHandler {
public:
  struct Box {
    bool hasOwner;
    std::string text;
    std::string caption;
    UINT type;
  };
  RecordingBoxes() : m_previous(platform::SetMessageBoxHandler(this)) {}
  ~RecordingBoxes() override { platform::SetMessageBoxHandler(m_previous); }
  int Show(HWND owner, const char* text, const char* caption, UINT type) override {
    boxes.push_back({owner != nullptr, text ? text : "", caption ? caption : "", type});
    return IDOK;
  }
  std::vector<Box> boxes;

private:
  platform::MessageBoxHandler* m_previous;
};
}  // namespace

TEST(ZnStringHex, ConHexToStringReadsWholePairs) {
  struct Row {
    const char* hex;
    unsigned int count;
    std::string bytes;
  };
  const Row rows[] = {
      {"3031", 4, "01"},
      {"4a4B", 4, "JK"},
      {"41424", 5, "AB"},       // odd count: the last digit is not read
      {"4142", 99, "AB"},       // count lowered to the length
      {"4142", 3, "A"},
      {"4142", 0, ""},
      {"FFff00", 6, std::string("\xFF\xFF\0", 3)},
      {"zz4g", 4, std::string("\0\x40", 2)},  // non-digits count as 0
      {"", 10, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.hex);
    EXPECT_EQ(CZnString(row.hex).ConHexToString(row.count), Bytes(row.bytes));
  }
}

TEST(ZnStringHex, StringToHexModesAndBankHexAgree) {
  struct Row {
    std::string bytes;
    unsigned int count;
    int mode;
    const char* hex;
  };
  const Row rows[] = {
      {"AB", 3, 0, "4142"},
      {"AB", 1, 0, "41"},
      {"\xFF", 1, 1, "0xFF "},
      {"\n", 1, 1, "0x0A "},
      {"\n", 1, 2, "0A "},
      {"\n", 1, 7, "0A"},
      {"\n\x80", 2, -1, "0A80"},
      {std::string("a\0b", 3), 3, 2, "61 00 62 "},
      {"\xC3\xA4", 2, 1, "0xC3 0xA4 "},
      {"", 5, 1, ""},
      {"AB", 0, 1, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.hex);
    const CZnString s = Bytes(row.bytes);
    EXPECT_EQ(s.ConStringToHex(row.count, row.mode), row.hex);
    EXPECT_EQ(s.ConStringToBankHex(row.count, row.mode), row.hex);
  }
  // Round trip over every byte value.
  const CZnString all = CZnString().BuildAlphabet(0, 256);
  EXPECT_EQ(CZnString(all.ConStringToHex(256, 0)).ConHexToString(512), all);
}

TEST(ZnStringBits, BitStringSignedByteAndTilde) {
  struct Row {
    std::string text;
    int index;
    int bits;
    const char* result;
  };
  const Row rows[] = {
      {"A", 0, 8, "01000001"},
      {"A", 0, 4, "0001"},
      {"A", 0, 10, "0001000001"},
      {"\x80", 0, 12, "111110000000"},  // bits above 7 repeat bit 7
      {"\xFF", 0, 3, "111"},
      {"A", 0, 0, ""},
      {"A", 0, -3, ""},
      {"A", 1, 8, "00000000"},   // the terminator
      {"A", 2, 8, "01111110"},   // beyond it a tilde
      {"A", -1, 8, "01111110"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.result);
    EXPECT_EQ(Bytes(row.text).GetBitString(row.index, row.bits), row.result);
  }
  // Bit 7 and the 99992 bits above it are set, bits 0 to 6 are not.
  EXPECT_EQ(CZnString("\x80").GetBitString(0, 100000).CountChar('1'), 99993);
}

TEST(ZnStringBits, BitStreamJoinsGroups) {
  const CZnString ab("AB");
  EXPECT_EQ(ab.GetBitStream(2, 4, 1), " 0001 0010");
  EXPECT_EQ(ab.GetBitStream(2, 4, 0), "00010010");
  EXPECT_EQ(ab.GetBitStream(9, 8, 0), "0100000101000010");  // count lowered to the length
  EXPECT_EQ(ab.GetBitStream(0, 8, 1), "");
  EXPECT_EQ(ab.GetBitStream(-4, 8, 1), "");
  EXPECT_EQ(ab.GetBitStream(2, 0, 1), "  ");
  EXPECT_EQ(Bytes(std::string("\0\x01", 2)).GetBitStream(2, 2, 1), " 00 01");
}

TEST(ZnStringFormatLong, FullStopsBetweenGroupsOfThree) {
  struct Row {
    long value;
    const char* text;
  };
  const Row rows[] = {
      {0, "0"},
      {999, "999"},
      {1000, "1.000"},
      {1234567, "1.234.567"},
      {-123, "-123"},
      {-1234, "-1.234"},
      {-123456, "-123.456"},
      {2147483647L, "2.147.483.647"},
      {-2147483647L - 1, "-2.147.483.648"},
      {LONG_MAX, "9.223.372.036.854.775.807"},
      {LONG_MIN, "-9.223.372.036.854.775.808"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CZnString().FormatLong(row.value), row.text) << row.value;
  }
}

TEST(ZnStringFormatDouble, ShowsItsBoxAndReturnsEmpty) {
  RecordingBoxes boxes;
  const CZnString s("unchanged");
  EXPECT_EQ(s.FormatDouble(3.25, 2), "");
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_FALSE(boxes.boxes[0].hasOwner);
  EXPECT_EQ(boxes.boxes[0].text, "SO SORRY!\nThis function (FormatDouble) is not implemented in this version.");
  EXPECT_EQ(boxes.boxes[0].caption, "VELK-MFC DLL");
  EXPECT_EQ(boxes.boxes[0].type, MB_OK);
  EXPECT_EQ(s, "unchanged");
}

TEST(ZnStringGetCharMeaning, NamesUpTo32ThenTheCharacter) {
  struct Row {
    int code;
    std::string name;
  };
  const Row rows[] = {
      {0, "EOL"},  {8, "BSP"},  {9, "TAB"},   {10, "CR "},  {13, "LF "},  {16, "SLE"},
      {17, "CS1"}, {18, "DC1"}, {21, "DC4"},  {26, "SIB"},  {31, "US "},  {32, "SPC"},
      {33, "!"},   {65, "A"},   {-1, "\xFF"}, {0x141, "A"}, {-256, std::string(1, '\0')},
      {INT_MIN, std::string(1, '\0')},
  };
  const CZnString any;
  for (const Row& row : rows) EXPECT_EQ(any.GetCharMeaning(row.code), Bytes(row.name)) << row.code;
}
