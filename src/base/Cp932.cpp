#include "base/Cp932.h"

#include <iconv.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "base/Exceptions.h"
#include "base/Sjis.h"

namespace kelu::cp932 {

namespace {

// One converter per (from, to) pair for the whole process; everything runs
// on one thread.
struct Handle {
  iconv_t cd;
  explicit Handle(iconv_t c) : cd(c) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() { iconv_close(cd); }
};

iconv_t Converter(const char* from, const char* to) {
  static std::map<std::pair<std::string, std::string>, std::unique_ptr<Handle>> cache;
  auto key = std::make_pair(std::string(from), std::string(to));
  auto it = cache.find(key);
  if (it != cache.end()) return it->second->cd;
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    throw EInvalidOperation(std::string("文字コード変換を準備できません: ") + from + " → " + to);
  }
  cache.emplace(key, std::make_unique<Handle>(cd));
  return cd;
}

bool IsUtf16(const char* name) {
  return std::strncmp(name, "UTF-16", 6) == 0;
}
bool IsUtf8(const char* name) {
  return std::strcmp(name, kUtf8) == 0;
}
bool IsCp932(const char* name) {
  return std::strcmp(name, kCp932) == 0;
}
bool IsEuc(const char* name) {
  return std::strcmp(name, kEucJp) == 0;
}

// Number of input bytes to skip over an invalid or unconvertible character.
std::size_t SkipLength(const char* from, const char* p, std::size_t left) {
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(p[i]); };
  if (left == 0) return 0;
  if (IsUtf8(from)) {
    std::size_t n = Utf8SequenceLength(std::string_view(p, left));
    return n ? n : 1;
  }
  if (IsUtf16(from)) {
    if (left < 2) return left;
    bool le = std::strcmp(from, kUtf16LE) == 0;
    unsigned unit = le ? (b(0) | (b(1) << 8)) : ((b(0) << 8) | b(1));
    if (unit >= 0xD800 && unit <= 0xDBFF && left >= 4) {
      unsigned low = le ? (b(2) | (b(3) << 8)) : ((b(2) << 8) | b(3));
      if (low >= 0xDC00 && low <= 0xDFFF) return 4;
    }
    return 2;
  }
  if (IsCp932(from)) {
    if (sjis::IsLeadByte(b(0)) && left >= 2 && b(1) >= 0x40 && b(1) <= 0xFC && b(1) != 0x7F) {
      return 2;
    }
    return 1;
  }
  if (IsEuc(from)) {
    if (b(0) == 0x8F) return left >= 3 ? 3 : left;
    if (b(0) == 0x8E || b(0) >= 0xA1) return left >= 2 ? 2 : left;
    return 1;
  }
  return 1;
}

// Characters that the converter to CP932 takes without an exact form: it
// writes a look-alike that reads back as another character (U+00A5 YEN SIGN
// becomes 5C, which is U+005C) or drops them (the tag characters
// U+E0000..U+E007F). They count as lost, like a "?".
bool IsOneWayToCp932(char32_t c) {
  switch (c) {
    case 0x00A2:
    case 0x00A3:
    case 0x00A5:
    case 0x00AC:
    case 0x2014:
    case 0x2016:
    case 0x203E:
    case 0x2212:
    case 0x301C:
      return true;
    default:
      return c >= 0xE0000 && c <= 0xE007F;
  }
}

// Whether the one-way character that the byte at `i` begins or ends stands
// there: C2, E2 and F3 begin them, 9C ends E3 80 9C (U+301C).
bool OneWayAt(std::string_view s, std::size_t i) {
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = at(i);
  if (b == 0x9C) return i >= 2 && at(i - 2) == 0xE3 && at(i - 1) == 0x80;
  std::size_t n = Utf8SequenceLength(s.substr(i));
  if (n < 2) return false;
  char32_t c = b & (0xFF >> (n + 1));
  for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (at(i + k) & 0x3F);
  return IsOneWayToCp932(c);
}

// How many such characters UTF-8 text holds. Only four byte values can begin
// or end one, so the text is scanned sixteen bytes at a time for them.
std::size_t CountOneWayUtf8(std::string_view s) {
  std::size_t count = 0;
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i c2 = _mm_set1_epi8(static_cast<char>(0xC2));
  const __m128i e2 = _mm_set1_epi8(static_cast<char>(0xE2));
  const __m128i f3 = _mm_set1_epi8(static_cast<char>(0xF3));
  const __m128i x9c = _mm_set1_epi8(static_cast<char>(0x9C));
  for (; i + 16 <= s.size(); i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
    __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, c2), _mm_cmpeq_epi8(v, e2)),
                               _mm_or_si128(_mm_cmpeq_epi8(v, f3), _mm_cmpeq_epi8(v, x9c)));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    while (mask) {
      unsigned bit = static_cast<unsigned>(__builtin_ctz(mask));
      if (OneWayAt(s, i + bit)) ++count;
      mask &= mask - 1;
    }
  }
#endif
  for (; i < s.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(s[i]);
    if ((b == 0xC2 || b == 0xE2 || b == 0xF3 || b == 0x9C) && OneWayAt(s, i)) ++count;
  }
  return count;
}

std::size_t CountOneWayUtf16(std::string_view s, bool bigEndian) {
  std::size_t count = 0;
  auto unit = [&](std::size_t i) -> char32_t {
    auto b0 = static_cast<unsigned char>(s[i]), b1 = static_cast<unsigned char>(s[i + 1]);
    return bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0);
  };
  for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < s.size()) {
      char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (IsOneWayToCp932(c)) ++count;
  }
  return count;
}

// The standard mapping, read from iconv once: every double-byte code and
// every single byte to Unicode, and back for each character iconv writes as
// a code that reads back as that same character.
struct TStandardTables {
  std::vector<char32_t> pairs = std::vector<char32_t>(65536, kNoChar);
  char32_t bytes[256];
  std::vector<std::uint16_t> codes = std::vector<std::uint16_t>(65536, 0);

  static char32_t One(iconv_t cd, const char* in, std::size_t n) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[16];
    char* src = const_cast<char*>(in);
    char* dst = buffer;
    std::size_t inLeft = n, outLeft = sizeof buffer;
    if (iconv(cd, &src, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0 ||
        sizeof buffer - outLeft != 4) {
      return kNoChar;
    }
    char32_t c;
    std::memcpy(&c, buffer, 4);
    return c;
  }

  TStandardTables() {
    const char* utf32 = "UTF-32LE";
    iconv_t toUnicode = iconv_open(utf32, kCp932);
    iconv_t fromUnicode = iconv_open(kCp932, utf32);
    if (toUnicode == reinterpret_cast<iconv_t>(-1) ||
        fromUnicode == reinterpret_cast<iconv_t>(-1)) {
      throw EInvalidOperation("文字コード変換を準備できません: CP932");
    }
    for (unsigned b = 0; b < 256; ++b) {
      char c = static_cast<char>(b);
      bytes[b] = b < 0x80 ? b : (sjis::IsLeadByte(static_cast<unsigned char>(b)) ? kNoChar : One(toUnicode, &c, 1));
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!sjis::IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrailByte(static_cast<unsigned char>(trail))) continue;
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        pairs[lead << 8 | trail] = One(toUnicode, pair, 2);
      }
    }
    // Back: what iconv writes for each character, kept when it reads back
    // as the same character.
    auto keep = [&](char32_t c) {
      if (c < 0x80 || c > 0xFFFF || (c >= 0xE000 && c <= 0xE757) || codes[c] != 0) return;
      char buffer[4];
      char* src = reinterpret_cast<char*>(&c);
      char* dst = buffer;
      std::size_t inLeft = 4, outLeft = sizeof buffer;
      iconv(fromUnicode, nullptr, nullptr, nullptr, nullptr);
      if (iconv(fromUnicode, &src, &inLeft, &dst, &outLeft) == static_cast<std::size_t>(-1)) return;
      const std::size_t n = sizeof buffer - outLeft;
      const auto b0 = static_cast<unsigned char>(buffer[0]);
      if (n == 1 && bytes[b0] == c) codes[c] = b0;
      if (n == 2) {
        const auto code = static_cast<std::uint16_t>(b0 << 8 | static_cast<unsigned char>(buffer[1]));
        if (pairs[code] == c) codes[c] = code;
      }
    };
    for (unsigned b = 0x80; b < 256; ++b) keep(bytes[b]);
    for (char32_t c : pairs) {
      if (c != kNoChar) keep(c);
    }
    iconv_close(toUnicode);
    iconv_close(fromUnicode);
  }
};

const TStandardTables& Tables() {
  static const TStandardTables tables;
  return tables;
}

}  // namespace

char32_t CharOfByte(unsigned char byte) {
  return Tables().bytes[byte];
}

char32_t CharOfPair(std::uint16_t code) {
  return Tables().pairs[code];
}

std::uint16_t CodeOfChar(char32_t c) {
  return c <= 0xFFFF ? Tables().codes[c] : 0;
}

std::size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char c = b(0);
  if (c < 0x80) return 1;
  auto cont = [&](std::size_t i) { return i < s.size() && (b(i) & 0xC0) == 0x80; };
  if (c >= 0xC2 && c <= 0xDF) return cont(1) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    if (!cont(1) || !cont(2)) return 0;
    if (c == 0xE0 && b(1) < 0xA0) return 0;   // overlong
    if (c == 0xED && b(1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (!cont(1) || !cont(2) || !cont(3)) return 0;
    if (c == 0xF0 && b(1) < 0x90) return 0;   // overlong
    if (c == 0xF4 && b(1) >= 0x90) return 0;  // above U+10FFFF
    return 4;
  }
  return 0;
}

bool IsWellFormedUtf8(std::string_view bytes, bool* multibyte) {
  bool multi = false;
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  while (p < end) {
    // Fast path over ASCII, eight bytes at a time.
    while (end - p >= 8) {
      std::uint64_t w;
      std::memcpy(&w, p, 8);
      if (w & 0x8080808080808080ull) break;
      p += 8;
    }
    if (p >= end) break;
    if (static_cast<unsigned char>(*p) < 0x80) {
      ++p;
      continue;
    }
    std::size_t n = Utf8SequenceLength(std::string_view(p, end - p));
    if (n == 0) {
      if (multibyte) *multibyte = multi;
      return false;
    }
    multi = true;
    p += n;
  }
  if (multibyte) *multibyte = multi;
  return true;
}

std::string Convert(std::string_view bytes, const char* from, const char* to, std::size_t* lossy) {
  std::size_t lost = 0;
  std::string out;
  if (bytes.empty()) {
    if (lossy) *lossy = 0;
    return out;
  }
  iconv_t cd = Converter(from, to);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);

  // UTF-8 never gets longer as CP932 (a "?" replaces a whole sequence); the
  // other directions can grow, and the buffer grows when they do.
  std::size_t capacity = bytes.size() + bytes.size() / 2 + 16;
  if (IsUtf8(from) && IsCp932(to)) capacity = bytes.size() + 16;
  if (IsUtf16(to)) capacity = bytes.size() * 2 + 16;
  out.resize(capacity);

  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  std::size_t used = 0;
  const bool utf16Out = IsUtf16(to);
  const bool bigEndianOut = std::strcmp(to, kUtf16BE) == 0;

  auto grow = [&](std::size_t extra) {
    if (out.size() - used < extra) out.resize(out.size() * 2 + extra);
  };

  while (true) {
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    std::size_t r =
        iconv(cd, inLeft ? &in : nullptr, inLeft ? &inLeft : nullptr, &outPtr, &outLeft);
    used = out.size() - outLeft;
    if (r != static_cast<std::size_t>(-1)) {
      if (inLeft == 0) {
        // Flush the shift state of stateful encodings.
        grow(16);
        outPtr = out.data() + used;
        outLeft = out.size() - used;
        if (iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
          grow(64);
          continue;
        }
        used = out.size() - outLeft;
        break;
      }
      continue;
    }
    if (errno == E2BIG) {
      out.resize(out.size() * 2 + 16);
      continue;
    }
    // EILSEQ or EINVAL: replace one character by "?".
    std::size_t skip = SkipLength(from, in, inLeft);
    in += skip;
    inLeft -= skip;
    ++lost;
    grow(64);
    outPtr = out.data() + used;
    outLeft = out.size() - used;
    iconv(cd, nullptr, nullptr, &outPtr, &outLeft);  // back to the initial state
    used = out.size() - outLeft;
    if (utf16Out) {
      out[used++] = bigEndianOut ? '\0' : '?';
      out[used++] = bigEndianOut ? '?' : '\0';
    } else {
      out[used++] = '?';
    }
    if (inLeft == 0) {
      // Nothing left; the state is already initial.
      break;
    }
  }
  out.resize(used);
  if (lossy) {
    if (IsCp932(to) && IsUtf8(from)) lost += CountOneWayUtf8(bytes);
    if (IsCp932(to) && IsUtf16(from)) lost += CountOneWayUtf16(bytes, std::strcmp(from, kUtf16BE) == 0);
    *lossy = lost;
  }
  return out;
}

}  // namespace kelu::cp932
