#include "app/encoding/Plausibility.h"

#include <cstdint>

#include "base/Cp932.h"
#include "base/Sjis.h"

namespace kelu {

namespace {

constexpr bool In(unsigned c, unsigned lo, unsigned hi) {
  return c >= lo && c <= hi;
}

bool IsAsciiAlnum(unsigned char c) {
  return In(c, '0', '9') || In(c, 'A', 'Z') || In(c, 'a', 'z');
}

// ------------------------------------------------------------------ UTF-8

double Utf8Weight(char32_t c) {
  if (In(c, 0x3040, 0x30FF) || In(c, 0x4E00, 0x9FFF) || In(c, 0x3000, 0x303F) ||
      In(c, 0xFF01, 0xFF9F) || In(c, 0x3400, 0x4DBF)) {
    return 10;
  }
  if (In(c, 0x2000, 0x2BFF) || In(c, 0xAC00, 0xD7AF)) return 8;
  if (In(c, 0x00A0, 0x00FF)) return 7;
  if (c >= 0x10000) return 7;
  if (In(c, 0x0100, 0x017F) || In(c, 0x0391, 0x03C9) || In(c, 0x0400, 0x045F)) return 6;
  if (c >= 0x0800) return 5;
  if (In(c, 0x0080, 0x009F)) return 0;
  return 2;
}

TReadingScore WeighUtf8(std::string_view s, bool cut) {
  TReadingScore r;
  r.valid = true;
  for (std::size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    const std::size_t n = cp932::Utf8SequenceLength(s.substr(i));
    if (n == 0) {
      // A sequence cut at the end of a cut text is no fault.
      if (cut && s.size() - i < 4) break;
      r.valid = false;
      return r;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(s.data() + i);
    char32_t c = n == 2   ? (p[0] & 0x1Fu) << 6 | (p[1] & 0x3Fu)
                 : n == 3 ? (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu)
                          : (p[0] & 0x07u) << 18 | (p[1] & 0x3Fu) << 12 | (p[2] & 0x3Fu) << 6 |
                                (p[3] & 0x3Fu);
    ++r.chars;
    r.weight += Utf8Weight(c);
    i += n;
  }
  return r;
}

// ---------------------------------------------- half-width kana in context

// A half-width katakana run of one or two characters touching an ASCII
// letter or digit reads as stray bytes of another encoding ("cafﾃｩ"), not
// as a word.
double KanaRunWeight(std::size_t run, bool touches) {
  return (run <= 2 && touches) ? 2 : 7;
}

// -------------------------------------------------------------- Shift-JIS

double SjisPairWeight(unsigned lead, unsigned trail) {
  const unsigned code = lead << 8 | trail;
  if (lead == 0x82 || lead == 0x83) return 10;
  if (lead == 0x81) return 9;
  if (lead == 0x84) return 6;
  if (lead == 0x87) return 4;
  if (In(code, 0x889F, 0x9872)) return 10;
  if (In(code, 0x989F, 0xEAA4)) return 6;
  if (In(lead, 0xF0, 0xF9)) return 0;
  return 3;  // NEC-selected and IBM extensions
}

TReadingScore WeighSjis(std::string_view s, bool cut) {
  TReadingScore r;
  r.valid = true;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    if (In(b, 0xA1, 0xDF)) {
      std::size_t end = i;
      while (end < s.size() && In(static_cast<unsigned char>(s[end]), 0xA1, 0xDF)) ++end;
      const bool touches = (i > 0 && IsAsciiAlnum(static_cast<unsigned char>(s[i - 1]))) ||
                           (end < s.size() && IsAsciiAlnum(static_cast<unsigned char>(s[end])));
      const double w = KanaRunWeight(end - i, touches);
      r.chars += static_cast<int>(end - i);
      r.weight += w * static_cast<double>(end - i);
      i = end;
      continue;
    }
    if (sjis::IsLeadByte(b)) {
      if (i + 1 >= s.size()) {
        if (!cut) r.valid = false;
        break;
      }
      const auto t = static_cast<unsigned char>(s[i + 1]);
      if (!cp932::IsTrailByte(t) ||
          cp932::CharOfPair(static_cast<std::uint16_t>(b << 8 | t)) == cp932::kNoChar) {
        r.valid = false;
        return r;
      }
      ++r.chars;
      r.weight += SjisPairWeight(b, t);
      i += 2;
      continue;
    }
    r.valid = false;  // 80, A0, FD-FF
    return r;
  }
  return r;
}

// ----------------------------------------------------------------- EUC-JP

// Whether the JIS X 0208 code of an EUC pair is a character (through the
// same code's Shift-JIS form); rows 85-94 are the user-defined area.
bool EucPairDefined(unsigned a, unsigned b) {
  const unsigned row = a - 0xA0, col = b - 0xA0;  // 1..94
  if (row >= 85) return true;
  const unsigned lead = row <= 62 ? (row + 1) / 2 + 0x80 : (row + 1) / 2 + 0xC0;
  unsigned trail;
  if (row % 2 == 1) {
    trail = col + 0x3F + (col >= 64 ? 1 : 0);
  } else {
    trail = col + 0x9E;
  }
  return cp932::CharOfPair(static_cast<std::uint16_t>(lead << 8 | trail)) != cp932::kNoChar;
}

double EucPairWeight(unsigned a) {
  if (a == 0xA4 || a == 0xA5 || a == 0xA3) return 10;
  if (a == 0xA1 || a == 0xA2) return 9;
  if (In(a, 0xA6, 0xA8)) return 6;
  if (a == 0xAD) return 4;
  if (In(a, 0xB0, 0xCF)) return 10;
  if (In(a, 0xD0, 0xF4)) return 6;
  if (a >= 0xF5) return 0;
  return 3;
}

struct TEucScore : TReadingScore {
  bool kanaOrPunctuation = false;
};

TEucScore WeighEuc(std::string_view s, bool cut) {
  TEucScore r;
  r.valid = true;
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char b = at(i);
    if (b < 0x80) {
      ++i;
      continue;
    }
    const std::size_t need = b == 0x8F ? 3 : 2;
    if (i + need > s.size()) {
      if (!cut) r.valid = false;
      break;
    }
    if (b == 0x8E) {
      if (!In(at(i + 1), 0xA1, 0xDF)) {
        r.valid = false;
        return r;
      }
      std::size_t end = i;
      while (end + 1 < s.size() && at(end) == 0x8E && In(at(end + 1), 0xA1, 0xDF)) end += 2;
      const std::size_t run = (end - i) / 2;
      const bool touches = (i > 0 && IsAsciiAlnum(at(i - 1))) || (end < s.size() && IsAsciiAlnum(at(end)));
      r.chars += static_cast<int>(run);
      r.weight += KanaRunWeight(run, touches) * static_cast<double>(run);
      r.kanaOrPunctuation = true;
      i = end;
      continue;
    }
    if (b == 0x8F) {
      if (!In(at(i + 1), 0xA1, 0xFE) || !In(at(i + 2), 0xA1, 0xFE)) {
        r.valid = false;
        return r;
      }
      ++r.chars;
      r.weight += 5;
      i += 3;
      continue;
    }
    if (!In(b, 0xA1, 0xFE) || !In(at(i + 1), 0xA1, 0xFE) || !EucPairDefined(b, at(i + 1))) {
      r.valid = false;
      return r;
    }
    if (In(b, 0xA1, 0xA5)) r.kanaOrPunctuation = true;
    ++r.chars;
    r.weight += EucPairWeight(b);
    i += 2;
  }
  return r;
}

}  // namespace

TPlausibility WeighReadings(std::string_view text, bool cut) {
  TPlausibility p;
  p.utf8 = WeighUtf8(text, cut);
  p.sjis = WeighSjis(text, cut);
  TEucScore euc = WeighEuc(text, cut);
  // Japanese prose in EUC-JP has kana or punctuation; kanji alone whose
  // bytes are also a run of half-width kana is taken for the kana.
  if (euc.valid && !euc.kanaOrPunctuation && p.sjis.valid) euc.weight *= 0.6;
  p.euc = euc;

  double best = -1;
  // On equal weights: UTF-8, then EUC-JP, then Shift-JIS.
  auto consider = [&](const TReadingScore& r, TReading reading) {
    if (r.valid && r.chars > 0 && r.Average() > best) {
      best = r.Average();
      p.best = reading;
    }
  };
  consider(p.utf8, TReading::rdUtf8);
  consider(p.euc, TReading::rdEuc);
  consider(p.sjis, TReading::rdSjis);
  return p;
}

}  // namespace kelu
