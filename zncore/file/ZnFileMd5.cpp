// CZnFile's MD5 digest (RFC 1321). Whole 64-byte blocks of the input are
// folded straight from the caller's memory; only a partial block at either
// end is gathered in the context. Words are read least significant byte
// first on every machine, so the digest does not depend on byte order.
#include <bit>
#include <cstring>

#include "zncore/ZnFile.h"

namespace {

using Word = std::uint32_t;

Word LoadLittleEndian(const unsigned char* bytes) {
  Word word;
  std::memcpy(&word, bytes, sizeof word);
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  return word;
}

void StoreLittleEndian(Word word, unsigned char* bytes) {
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap32(word);
  std::memcpy(bytes, &word, sizeof word);
}

// The four auxiliary functions of RFC 1321 in forms with fewer operations.
constexpr Word F(Word x, Word y, Word z) { return z ^ (x & (y ^ z)); }
constexpr Word G(Word x, Word y, Word z) { return y ^ (z & (x ^ y)); }
constexpr Word H(Word x, Word y, Word z) { return x ^ y ^ z; }
constexpr Word I(Word x, Word y, Word z) { return y ^ (x | ~z); }

template <Word (*Function)(Word, Word, Word)>
inline void Step(Word& a, Word b, Word c, Word d, Word x, Word constant, int shift) {
  a = b + std::rotl(a + Function(b, c, d) + x + constant, shift);
}

// The 64 steps over one block; `word(i)` gives its i-th 32-bit word.
template <typename Words>
inline void Rounds(Word state[4], const Words& w) {
  Word a = state[0], b = state[1], c = state[2], d = state[3];

  Step<F>(a, b, c, d, w(0), 0xd76aa478, 7);
  Step<F>(d, a, b, c, w(1), 0xe8c7b756, 12);
  Step<F>(c, d, a, b, w(2), 0x242070db, 17);
  Step<F>(b, c, d, a, w(3), 0xc1bdceee, 22);
  Step<F>(a, b, c, d, w(4), 0xf57c0faf, 7);
  Step<F>(d, a, b, c, w(5), 0x4787c62a, 12);
  Step<F>(c, d, a, b, w(6), 0xa8304613, 17);
  Step<F>(b, c, d, a, w(7), 0xfd469501, 22);
  Step<F>(a, b, c, d, w(8), 0x698098d8, 7);
  Step<F>(d, a, b, c, w(9), 0x8b44f7af, 12);
  Step<F>(c, d, a, b, w(10), 0xffff5bb1, 17);
  Step<F>(b, c, d, a, w(11), 0x895cd7be, 22);
  Step<F>(a, b, c, d, w(12), 0x6b901122, 7);
  Step<F>(d, a, b, c, w(13), 0xfd987193, 12);
  Step<F>(c, d, a, b, w(14), 0xa679438e, 17);
  Step<F>(b, c, d, a, w(15), 0x49b40821, 22);

  Step<G>(a, b, c, d, w(1), 0xf61e2562, 5);
  Step<G>(d, a, b, c, w(6), 0xc040b340, 9);
  Step<G>(c, d, a, b, w(11), 0x265e5a51, 14);
  Step<G>(b, c, d, a, w(0), 0xe9b6c7aa, 20);
  Step<G>(a, b, c, d, w(5), 0xd62f105d, 5);
  Step<G>(d, a, b, c, w(10), 0x02441453, 9);
  Step<G>(c, d, a, b, w(15), 0xd8a1e681, 14);
  Step<G>(b, c, d, a, w(4), 0xe7d3fbc8, 20);
  Step<G>(a, b, c, d, w(9), 0x21e1cde6, 5);
  Step<G>(d, a, b, c, w(14), 0xc33707d6, 9);
  Step<G>(c, d, a, b, w(3), 0xf4d50d87, 14);
  Step<G>(b, c, d, a, w(8), 0x455a14ed, 20);
  Step<G>(a, b, c, d, w(13), 0xa9e3e905, 5);
  Step<G>(d, a, b, c, w(2), 0xfcefa3f8, 9);
  Step<G>(c, d, a, b, w(7), 0x676f02d9, 14);
  Step<G>(b, c, d, a, w(12), 0x8d2a4c8a, 20);

  Step<H>(a, b, c, d, w(5), 0xfffa3942, 4);
  Step<H>(d, a, b, c, w(8), 0x8771f681, 11);
  Step<H>(c, d, a, b, w(11), 0x6d9d6122, 16);
  Step<H>(b, c, d, a, w(14), 0xfde5380c, 23);
  Step<H>(a, b, c, d, w(1), 0xa4beea44, 4);
  Step<H>(d, a, b, c, w(4), 0x4bdecfa9, 11);
  Step<H>(c, d, a, b, w(7), 0xf6bb4b60, 16);
  Step<H>(b, c, d, a, w(10), 0xbebfbc70, 23);
  Step<H>(a, b, c, d, w(13), 0x289b7ec6, 4);
  Step<H>(d, a, b, c, w(0), 0xeaa127fa, 11);
  Step<H>(c, d, a, b, w(3), 0xd4ef3085, 16);
  Step<H>(b, c, d, a, w(6), 0x04881d05, 23);
  Step<H>(a, b, c, d, w(9), 0xd9d4d039, 4);
  Step<H>(d, a, b, c, w(12), 0xe6db99e5, 11);
  Step<H>(c, d, a, b, w(15), 0x1fa27cf8, 16);
  Step<H>(b, c, d, a, w(2), 0xc4ac5665, 23);

  Step<I>(a, b, c, d, w(0), 0xf4292244, 6);
  Step<I>(d, a, b, c, w(7), 0x432aff97, 10);
  Step<I>(c, d, a, b, w(14), 0xab9423a7, 15);
  Step<I>(b, c, d, a, w(5), 0xfc93a039, 21);
  Step<I>(a, b, c, d, w(12), 0x655b59c3, 6);
  Step<I>(d, a, b, c, w(3), 0x8f0ccc92, 10);
  Step<I>(c, d, a, b, w(10), 0xffeff47d, 15);
  Step<I>(b, c, d, a, w(1), 0x85845dd1, 21);
  Step<I>(a, b, c, d, w(8), 0x6fa87e4f, 6);
  Step<I>(d, a, b, c, w(15), 0xfe2ce6e0, 10);
  Step<I>(c, d, a, b, w(6), 0xa3014314, 15);
  Step<I>(b, c, d, a, w(13), 0x4e0811a1, 21);
  Step<I>(a, b, c, d, w(4), 0xf7537e82, 6);
  Step<I>(d, a, b, c, w(11), 0xbd3af235, 10);
  Step<I>(c, d, a, b, w(2), 0x2ad7d2bb, 15);
  Step<I>(b, c, d, a, w(9), 0xeb86d391, 21);

  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

// One block straight from bytes in memory.
void TransformBytes(Word state[4], const unsigned char* block) {
  Rounds(state, [block](int i) { return LoadLittleEndian(block + 4 * i); });
}

}  // namespace

void CZnFile::MD5Transform(unsigned int state[4], const unsigned int block[16]) {
  Rounds(state, [block](int i) { return block[i]; });
}

void CZnFile::ByteReverse(unsigned char* bytes, unsigned int groups) {
  for (unsigned int i = 0; i < groups; ++i) {
    const Word word = LoadLittleEndian(bytes + 4 * i);
    std::memcpy(bytes + 4 * i, &word, sizeof word);
  }
}

void CZnFile::MD5Init(MD5Context* context) {
  if (!context) return;
  context->state[0] = 0x67452301;
  context->state[1] = 0xefcdab89;
  context->state[2] = 0x98badcfe;
  context->state[3] = 0x10325476;
  context->bitCount[0] = context->bitCount[1] = 0;
}

void CZnFile::MD5Update(MD5Context* context, const unsigned char* data, unsigned int length) {
  if (!context || length == 0 || !data) return;
  const Word oldLow = context->bitCount[0];
  context->bitCount[0] = oldLow + (static_cast<Word>(length) << 3);
  if (context->bitCount[0] < oldLow) ++context->bitCount[1];
  context->bitCount[1] += length >> 29;

  const unsigned int waiting = (oldLow >> 3) & 0x3f;
  if (waiting != 0) {
    const unsigned int room = 64 - waiting;
    if (length < room) {
      std::memcpy(context->block + waiting, data, length);
      return;
    }
    std::memcpy(context->block + waiting, data, room);
    TransformBytes(context->state, context->block);
    data += room;
    length -= room;
  }
  for (; length >= 64; data += 64, length -= 64) TransformBytes(context->state, data);
  std::memcpy(context->block, data, length);
}

void CZnFile::MD5Final(unsigned char digest[16], MD5Context* context) {
  if (!context) return;
  unsigned int used = (context->bitCount[0] >> 3) & 0x3f;
  context->block[used++] = 0x80;
  // The length goes into the last 8 bytes of a block: when they are taken,
  // the padding needs a block of its own.
  if (used > 56) {
    std::memset(context->block + used, 0, 64 - used);
    TransformBytes(context->state, context->block);
    used = 0;
  }
  std::memset(context->block + used, 0, 56 - used);
  StoreLittleEndian(context->bitCount[0], context->block + 56);
  StoreLittleEndian(context->bitCount[1], context->block + 60);
  TransformBytes(context->state, context->block);
  if (digest)
    for (int i = 0; i < 4; ++i) StoreLittleEndian(context->state[i], digest + 4 * i);
  std::memset(context, 0, sizeof *context);
}

int CZnFile::GetMD5OnFile(unsigned char*) { return 1; }

char* CZnFile::GetMD5OnMessage(unsigned char*, int, unsigned char* buffer, int) {
  return reinterpret_cast<char*>(buffer);
}
