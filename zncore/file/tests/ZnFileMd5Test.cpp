#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zncore/ZnFile.h"

namespace {

std::string Hex(const unsigned char digest[16]) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  for (int i = 0; i < 16; ++i) {
    text += digits[digest[i] >> 4];
    text += digits[digest[i] & 15];
  }
  return text;
}

// The digest of `data` fed in pieces of `piece` bytes (0: all at once).
std::string Md5(const std::string& data, std::size_t piece = 0) {
  MD5Context context;
  CZnFile::MD5Init(&context);
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  if (piece == 0) piece = data.size() + 1;
  for (std::size_t pos = 0; pos < data.size(); pos += piece)
    CZnFile::MD5Update(&context, bytes + pos, static_cast<unsigned int>(std::min(piece, data.size() - pos)));
  unsigned char digest[16];
  CZnFile::MD5Final(digest, &context);
  return Hex(digest);
}

// Reaches the protected block function and byte-order helper.
struct Md5Internals : CZnFile {
  using CZnFile::ByteReverse;
  using CZnFile::MD5Transform;
};

}  // namespace

TEST(Md5, TheTestSuiteOfRfc1321) {
  const struct {
    const char* message;
    const char* digest;
  } rows[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& row : rows) EXPECT_EQ(Md5(row.message), row.digest) << '"' << row.message << '"';
  EXPECT_EQ(Md5(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, AnySplitOfTheInputGivesTheSameDigest) {
  std::string data;
  for (int i = 0; i < 1000; ++i) data += static_cast<char>((i * 131 + 7) & 0xFF);
  const std::string whole = Md5(data);
  for (std::size_t piece : {1u, 3u, 63u, 64u, 65u, 127u, 999u}) EXPECT_EQ(Md5(data, piece), whole) << piece;
}

TEST(Md5, PaddingNeedsASecondBlockFrom56BytesOn) {
  const struct {
    std::size_t length;
    const char* digest;
  } rows[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"},
      {56, "3b0c8ac703f828b04c6c197006d17218"},
      {63, "b06521f39153d618550606be297466d5"},
      {64, "014842d480b571495a4a0363793f7367"},
      {65, "c743a45e0d2e6a95cb859adae0248435"},
  };
  for (const auto& row : rows) EXPECT_EQ(Md5(std::string(row.length, 'a')), row.digest) << row.length;
}

TEST(Md5, EmptyUpdatesChangeNothingAndFinalClearsTheContext) {
  MD5Context context, before;
  CZnFile::MD5Init(&context);
  CZnFile::MD5Update(&context, reinterpret_cast<const unsigned char*>("abc"), 3);
  std::memcpy(&before, &context, sizeof context);
  CZnFile::MD5Update(&context, reinterpret_cast<const unsigned char*>("xyz"), 0);
  CZnFile::MD5Update(&context, nullptr, 0);
  EXPECT_EQ(std::memcmp(&before, &context, sizeof context), 0);
  unsigned char digest[16];
  CZnFile::MD5Final(digest, &context);
  EXPECT_EQ(Hex(digest), "900150983cd24fb0d6963f7d28e17f72");
  const MD5Context zero{};
  EXPECT_EQ(std::memcmp(&zero, &context, sizeof context), 0);
}

TEST(Md5, BitCountCarriesIntoItsHighWord) {
  MD5Context context;
  CZnFile::MD5Init(&context);
  context.bitCount[0] = 0xFFFFFFF8u;  // one byte short of 2^32 bits
  const unsigned char byte = 'x';
  CZnFile::MD5Update(&context, &byte, 1);
  EXPECT_EQ(context.bitCount[0], 0u);
  EXPECT_EQ(context.bitCount[1], 1u);
}

TEST(Md5, BlockFunctionWorksOnNativeWords) {
  // The block of the empty message after padding: 0x80, zeros, length 0.
  unsigned char block[64] = {0x80};
  Md5Internals::ByteReverse(block, 16);
  unsigned int state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  unsigned int words[16];
  std::memcpy(words, block, sizeof words);
  Md5Internals::MD5Transform(state, words);
  unsigned char digest[16];
  std::memcpy(digest, state, sizeof digest);
  Md5Internals::ByteReverse(digest, 4);
  EXPECT_EQ(Hex(digest), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Md5, ReservedMembersComputeNothing) {
  CZnFile file;
  unsigned char buffer[4] = {1, 2, 3, 4};
  EXPECT_EQ(file.GetMD5OnFile(buffer), 1);
  EXPECT_EQ(file.GetMD5OnFile(nullptr), 1);
  EXPECT_EQ(file.GetMD5OnMessage(buffer, 4, buffer + 1, 2), reinterpret_cast<char*>(buffer + 1));
  EXPECT_EQ(buffer[0], 1);
  EXPECT_EQ(buffer[3], 4);
}
