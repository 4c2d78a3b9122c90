#include "base/TextCodec.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <cstring>
#include <utility>

#include "base/Cp932.h"
#include "base/Sjis.h"

namespace kelu {

namespace {

constexpr char32_t kUserFirst = 0xE000;
constexpr char32_t kUserLast = kUserFirst + TTextCodec::kUserCodes - 1;  // U+E757

constexpr bool IsStandardUserChar(char32_t c) {
  return c >= kUserFirst && c <= kUserLast;
}

// Length of the run of ASCII bytes at p (at most end - p).
inline const unsigned char* SkipAscii(const unsigned char* p, const unsigned char* end) {
#if defined(__SSE2__)
  while (end - p >= 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(v);
    if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask));
    p += 16;
  }
#endif
  while (p < end && *p < 0x80) ++p;
  return p;
}

// The code point of the well-formed UTF-8 sequence of n bytes at p.
inline char32_t Utf8CodePoint(const unsigned char* p, std::size_t n) {
  switch (n) {
    case 2:
      return (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu);
    case 3:
      return (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
    default:
      return (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 | (p[3] & 0x3Fu);
  }
}

inline void PutCode(char*& o, std::uint16_t code) {
  if (code > 0xFF) *o++ = static_cast<char>(code >> 8);
  *o++ = static_cast<char>(code & 0xFF);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | c >> 6));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | c >> 12));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | c >> 18));
    out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

template <class PutUnit>
void PutUtf16(char32_t c, PutUnit&& put) {
  if (c < 0x10000) {
    put(static_cast<char16_t>(c));
  } else {
    c -= 0x10000;
    put(static_cast<char16_t>(0xD800 + (c >> 10)));
    put(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
  }
}

}  // namespace

int UserAreaIndex(std::uint16_t code) {
  const unsigned lead = code >> 8, trail = code & 0xFF;
  if (lead < 0xF0 || lead > 0xF9 || !cp932::IsTrailByte(static_cast<unsigned char>(trail))) {
    return -1;
  }
  return static_cast<int>((lead - 0xF0) * 188 + (trail - 0x40) - (trail > 0x7F ? 1 : 0));
}

std::uint16_t UserAreaCode(int index) {
  const int lead = 0xF0 + index / 188;
  int trail = 0x40 + index % 188;
  if (trail >= 0x7F) ++trail;
  return static_cast<std::uint16_t>(lead << 8 | trail);
}

// ------------------------------------------------------------ life cycle

TTextCodec::TTextCodec(bool assigns)
    : assigns_(assigns), table_(kUserCodes, 0), reserved_(kUserCodes, false) {}

TTextCodec::TTextCodec(const TTextCodec& other)
    : assigns_(other.assigns_),
      table_(other.table_),
      reserved_(other.reserved_),
      reverse_(other.reverse_),
      assigned_(other.assigned_),
      nextFree_(other.nextFree_) {}

TTextCodec& TTextCodec::operator=(const TTextCodec& other) {
  if (this == &other) return *this;
  assigns_ = other.assigns_;
  table_ = other.table_;
  reserved_ = other.reserved_;
  reverse_ = other.reverse_;
  assigned_ = other.assigned_;
  nextFree_ = other.nextFree_;
  // The text this codec belongs to may use codes the other one's did not.
  SetScanPending();
  return *this;
}

TTextCodec::TTextCodec(TTextCodec&& other) noexcept
    : assigns_(other.assigns_),
      table_(std::move(other.table_)),
      reserved_(std::move(other.reserved_)),
      reverse_(std::move(other.reverse_)),
      assigned_(other.assigned_),
      nextFree_(other.nextFree_) {}

TTextCodec& TTextCodec::operator=(TTextCodec&& other) noexcept {
  if (this == &other) return *this;
  assigns_ = other.assigns_;
  table_ = std::move(other.table_);
  reserved_ = std::move(other.reserved_);
  reverse_ = std::move(other.reverse_);
  assigned_ = other.assigned_;
  nextFree_ = other.nextFree_;
  SetScanPending();
  return *this;
}

TTextCodec::~TTextCodec() = default;

void TTextCodec::SetScanner(std::function<void(TTextCodec&)> scan) {
  scanner_ = std::move(scan);
  SetScanPending();
}

void TTextCodec::RunScanner() {
  if (!scanPending_) return;
  scanPending_ = false;
  scanner_(*this);
}

bool TTextCodec::SameMapping(const TTextCodec& other) const {
  return table_ == other.table_ && reserved_ == other.reserved_;
}

// ---------------------------------------------------------- the table

void TTextCodec::ReserveStandard(char32_t c) {
  const auto k = static_cast<std::size_t>(c - kUserFirst);
  if (table_[k] == 0) reserved_[k] = true;
}

void TTextCodec::Reserve(std::string_view s) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const auto* end = p + s.size();
  while (p < end) {
    p = SkipAscii(p, end);
    if (p >= end) break;
    const unsigned char b = *p;
    if (sjis::IsLeadByte(b) && p + 1 < end) {
      if (b >= 0xF0 && b <= 0xF9) {
        const int k = UserAreaIndex(static_cast<std::uint16_t>(b << 8 | p[1]));
        if (k >= 0 && table_[static_cast<std::size_t>(k)] == 0) {
          reserved_[static_cast<std::size_t>(k)] = true;
        }
      }
      p += 2;
    } else {
      ++p;
    }
  }
}

std::uint16_t TTextCodec::UserCode(char32_t c, const std::function<void()>* prescan) {
  if (auto it = reverse_.find(c); it != reverse_.end()) return UserAreaCode(it->second);
  // The first character that needs the table: the standard user-defined
  // characters of the whole input and of the document's text are taken
  // before any code is handed out, so none of them can be given away.
  if (prescan && *prescan) (*prescan)();
  if (scanPending_) RunScanner();
  if (IsStandardUserChar(c)) {
    const auto k = static_cast<std::size_t>(c - kUserFirst);
    if (table_[k] == 0) {
      reserved_[k] = true;
      return UserAreaCode(static_cast<int>(k));
    }
  }
  if (!assigns_) return 0;
  while (nextFree_ < kUserCodes && (table_[static_cast<std::size_t>(nextFree_)] != 0 ||
                                    reserved_[static_cast<std::size_t>(nextFree_)])) {
    ++nextFree_;
  }
  if (nextFree_ >= kUserCodes) return 0;
  const int k = nextFree_++;
  table_[static_cast<std::size_t>(k)] = c;
  reverse_.emplace(c, static_cast<std::uint16_t>(k));
  ++assigned_;
  return UserAreaCode(k);
}

std::uint16_t TTextCodec::CodeOf(char32_t c) {
  if (c < 0x80) return static_cast<std::uint16_t>(c);
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  if (std::uint16_t code = cp932::CodeOfChar(c)) return code;
  return UserCode(c, nullptr);
}

// ------------------------------------------------- Unicode to Shift-JIS

inline void TTextCodec::PutChar(char*& o, char32_t c, std::size_t& bad,
                                const std::function<void()>& prescan) {
  std::uint16_t code = 0;
  if (c <= 0x10FFFF) {
    code = cp932::CodeOfChar(c);
    if (code == 0) code = UserCode(c, &prescan);
  }
  if (code == 0) {
    *o++ = '?';
    ++bad;
  } else {
    PutCode(o, code);
  }
}

std::string TTextCodec::FromUtf8(std::string_view s, std::size_t* lost) {
  // Shift-JIS is never longer than the UTF-8 of the same characters, and a
  // "?" replaces at least one byte.
  std::string out;
  out.resize(s.size());
  char* o = out.data();
  std::size_t bad = 0;
  const auto* begin = reinterpret_cast<const unsigned char*>(s.data());
  const auto* p = begin;
  const auto* end = p + s.size();
  bool prescanned = false;
  const std::function<void()> prescan = [&] {
    if (prescanned) return;
    prescanned = true;
    // U+E000..U+E757 is EE 80 80 .. EE 9D 97.
    for (const auto* q = begin; q + 2 < end; ++q) {
      q = static_cast<const unsigned char*>(std::memchr(q, 0xEE, static_cast<std::size_t>(end - q)));
      if (!q || q + 2 >= end) break;
      if (cp932::Utf8SequenceLength(std::string_view(reinterpret_cast<const char*>(q), 3)) == 3) {
        const char32_t c = Utf8CodePoint(q, 3);
        if (IsStandardUserChar(c)) ReserveStandard(c);
      }
    }
  };
  while (p < end) {
    const unsigned char* ascii = SkipAscii(p, end);
    if (ascii != p) {
      std::memcpy(o, p, static_cast<std::size_t>(ascii - p));
      o += ascii - p;
      p = ascii;
      if (p >= end) break;
    }
    std::size_t n;
    // Three-byte sequences (all kana and kanji) without the general check
    // when they are plainly well-formed.
    if (*p >= 0xE1 && *p <= 0xEC && end - p >= 3 && (p[1] & 0xC0) == 0x80 &&
        (p[2] & 0xC0) == 0x80) {
      n = 3;
    } else {
      n = cp932::Utf8SequenceLength(
          std::string_view(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p)));
    }
    if (n == 0) {
      *o++ = '?';
      ++bad;
      ++p;
      continue;
    }
    const char32_t c = Utf8CodePoint(p, n);
    p += n;
    PutChar(o, c, bad, prescan);
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  if (lost) *lost = bad;
  return out;
}

template <class Next>
std::string TTextCodec::Decode(std::size_t capacity, Next next, std::size_t* lost,
                               const std::function<void()>& prescan) {
  // Each character takes at most two bytes, a "?" one.
  std::string out;
  out.resize(capacity);
  char* o = out.data();
  std::size_t bad = 0;
  char32_t c;
  while (next(c)) {
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else {
      PutChar(o, c, bad, prescan);
    }
  }
  out.resize(static_cast<std::size_t>(o - out.data()));
  if (lost) *lost = bad;
  return out;
}

namespace {

// Reads UTF-16 units one character at a time; a lone surrogate gives a
// character above U+10FFFF (which becomes "?").
template <class Unit>
struct TUtf16Reader {
  std::size_t count;
  Unit unit;
  std::size_t i = 0;
  bool operator()(char32_t& c) {
    if (i >= count) return false;
    const char32_t u = unit(i++);
    if (u >= 0xD800 && u <= 0xDBFF && i < count) {
      const char32_t low = unit(i);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        ++i;
        c = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        return true;
      }
    }
    c = (u >= 0xD800 && u <= 0xDFFF) ? 0x110000 : u;
    return true;
  }
};

template <class Unit>
TUtf16Reader<Unit> Utf16Reader(std::size_t count, Unit unit) {
  return TUtf16Reader<Unit>{count, unit};
}

}  // namespace

std::string TTextCodec::FromUtf16(std::u16string_view units, std::size_t* lost) {
  auto unit = [&](std::size_t i) -> char32_t { return units[i]; };
  auto prescan = [&] {
    for (char16_t u : units) {
      if (IsStandardUserChar(u)) ReserveStandard(u);
    }
  };
  return Decode(units.size() * 2, Utf16Reader(units.size(), unit), lost, prescan);
}

std::string TTextCodec::FromUtf16Bytes(std::string_view bytes, bool bigEndian, std::size_t* lost) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  auto unit = [b, bigEndian](std::size_t i) -> char32_t {
    return bigEndian ? (b[2 * i] << 8 | b[2 * i + 1]) : (b[2 * i + 1] << 8 | b[2 * i]);
  };
  const std::size_t count = bytes.size() / 2;
  auto prescan = [&] {
    for (std::size_t i = 0; i < count; ++i) {
      if (IsStandardUserChar(unit(i))) ReserveStandard(unit(i));
    }
  };
  return Decode(count * 2, Utf16Reader(count, unit), lost, prescan);
}

std::string TTextCodec::FromUtf32(std::u32string_view chars, std::size_t* lost) {
  std::size_t i = 0;
  auto next = [&](char32_t& c) {
    if (i >= chars.size()) return false;
    c = chars[i++];
    if (c >= 0xD800 && c <= 0xDFFF) c = 0x110000;
    return true;
  };
  auto prescan = [&] {
    for (char32_t c : chars) {
      if (IsStandardUserChar(c)) ReserveStandard(c);
    }
  };
  return Decode(chars.size() * 2, next, lost, prescan);
}

// ------------------------------------------------- Shift-JIS to Unicode

char32_t TTextCodec::CharOf(std::uint16_t code) const {
  if (code < 0x100) return cp932::CharOfByte(static_cast<unsigned char>(code));
  const int k = UserAreaIndex(code);
  if (k >= 0) {
    const char32_t c = table_[static_cast<std::size_t>(k)];
    return c ? c : kUserFirst + static_cast<char32_t>(k);
  }
  return cp932::CharOfPair(code);
}

bool TTextCodec::IsAssigned(std::uint16_t code) const {
  const int k = UserAreaIndex(code);
  return k >= 0 && table_[static_cast<std::size_t>(k)] != 0;
}

std::size_t TTextCodec::CountAssigned(std::string_view sjis) const {
  if (assigned_ == 0) return 0;
  std::size_t count = 0;
  Encode(sjis, [&](char32_t, std::uint16_t code) {
    if (code > 0xFF && IsAssigned(code)) ++count;
  });
  return count;
}

std::string TTextCodec::WithoutAssigned(std::string_view sjis, std::size_t* count) const {
  std::size_t n = 0;
  std::string out;
  if (assigned_ == 0) {
    out = std::string(sjis);
  } else {
    out.reserve(sjis.size());
    for (std::size_t i = 0; i < sjis.size();) {
      const std::size_t len = sjis::CharLength(sjis, i);
      const auto lead = static_cast<unsigned char>(sjis[i]);
      if (len == 2 && lead >= 0xF0 && lead <= 0xF9 &&
          IsAssigned(static_cast<std::uint16_t>(lead << 8 | static_cast<unsigned char>(sjis[i + 1])))) {
        out.push_back('?');
        ++n;
      } else {
        out.append(sjis.substr(i, len));
      }
      i += len;
    }
  }
  if (count) *count = n;
  return out;
}

// Calls emit(character, code) for every character of `sjis`; a byte or pair
// that is no character gives '?' with code 0. Returns their number.
template <class Emit>
std::size_t TTextCodec::Encode(std::string_view sjis, Emit&& emit) const {
  std::size_t bad = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(sjis.data());
  const auto* end = p + sjis.size();
  while (p < end) {
    const unsigned char b = *p;
    if (b < 0x80) {
      emit(static_cast<char32_t>(b), static_cast<std::uint16_t>(b));
      ++p;
      continue;
    }
    char32_t c;
    std::uint16_t code;
    if (sjis::IsLeadByte(b) && p + 1 < end && cp932::IsTrailByte(p[1])) {
      code = static_cast<std::uint16_t>(b << 8 | p[1]);
      c = CharOf(code);
      p += 2;
    } else {
      code = b;
      c = cp932::CharOfByte(b);
      ++p;
    }
    if (c == cp932::kNoChar) {
      ++bad;
      emit(U'?', std::uint16_t{0});
    } else {
      emit(c, code);
    }
  }
  return bad;
}

std::string TTextCodec::ToUtf8(std::string_view sjis, std::size_t* lost) const {
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 2 + 16);
  const std::size_t bad = Encode(sjis, [&](char32_t c, std::uint16_t) { AppendUtf8(out, c); });
  if (lost) *lost = bad;
  return out;
}

std::u16string TTextCodec::ToUtf16(std::string_view sjis, std::size_t* lost) const {
  std::u16string out;
  out.reserve(sjis.size());
  const std::size_t bad = Encode(sjis, [&](char32_t c, std::uint16_t) {
    PutUtf16(c, [&](char16_t u) { out.push_back(u); });
  });
  if (lost) *lost = bad;
  return out;
}

std::string TTextCodec::ToUtf16Bytes(std::string_view sjis, bool bigEndian,
                                     std::size_t* lost) const {
  std::string out;
  out.reserve(sjis.size() * 2);
  const std::size_t bad = Encode(sjis, [&](char32_t c, std::uint16_t) {
    PutUtf16(c, [&](char16_t u) {
      const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
      out.push_back(bigEndian ? hi : lo);
      out.push_back(bigEndian ? lo : hi);
    });
  });
  if (lost) *lost = bad;
  return out;
}

std::u32string TTextCodec::ToUtf32(std::string_view sjis, std::size_t* lost) const {
  std::u32string out;
  out.reserve(sjis.size());
  const std::size_t bad = Encode(sjis, [&](char32_t c, std::uint16_t) { out.push_back(c); });
  if (lost) *lost = bad;
  return out;
}

// ------------------------------------------- without a document

namespace cp932 {

std::string FromUtf8(std::string_view utf8, std::size_t* lossy) {
  TTextCodec standard(false);
  return standard.FromUtf8(utf8, lossy);
}

std::string ToUtf8(std::string_view sjis, std::size_t* lossy) {
  static const TTextCodec standard(false);
  return standard.ToUtf8(sjis, lossy);
}

}  // namespace cp932

}  // namespace kelu
