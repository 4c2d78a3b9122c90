#include "app/encoding/Jis.h"

#include "base/Sjis.h"

namespace kelu {

namespace {

enum class Mode { Ascii, Kanji, Kana, Unsupported };

constexpr bool IsJisByte(unsigned char c) {
  return c >= 0x21 && c <= 0x7E;
}

}  // namespace

std::string JisToSjis(std::string_view jis, std::size_t* lossy) {
  std::string out;
  out.reserve(jis.size());
  std::size_t lost = 0;
  Mode mode = Mode::Ascii;
  bool shiftedOut = false;  // SO ... SI selects half-width katakana
  std::size_t i = 0;
  auto at = [&](std::size_t k) -> unsigned char {
    return k < jis.size() ? static_cast<unsigned char>(jis[k]) : 0;
  };
  while (i < jis.size()) {
    unsigned char c = at(i);
    if (c == 0x1B) {
      unsigned char a = at(i + 1), b = at(i + 2);
      if (a == '$' && (b == 'B' || b == '@')) {
        mode = Mode::Kanji;
        i += 3;
        continue;
      }
      if (a == '$' && b == '(' && (at(i + 3) == 'B' || at(i + 3) == 'D')) {
        mode = at(i + 3) == 'B' ? Mode::Kanji : Mode::Unsupported;
        i += 4;
        continue;
      }
      if (a == '(' && (b == 'B' || b == 'J' || b == 'H')) {
        mode = Mode::Ascii;
        i += 3;
        continue;
      }
      if (a == '(' && b == 'I') {
        mode = Mode::Kana;
        i += 3;
        continue;
      }
      out.push_back(static_cast<char>(c));  // an escape we do not know: kept
      ++i;
      continue;
    }
    if (c == 0x0E) {
      shiftedOut = true;
      ++i;
      continue;
    }
    if (c == 0x0F) {
      shiftedOut = false;
      ++i;
      continue;
    }
    if (c >= 0xA1 && c <= 0xDF) {  // 8-bit half-width katakana
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    }
    if (shiftedOut && c >= 0x21 && c <= 0x5F) {
      out.push_back(static_cast<char>(c + 0x80));
      ++i;
      continue;
    }
    if ((mode == Mode::Kanji || mode == Mode::Unsupported) && IsJisByte(c) &&
        IsJisByte(at(i + 1))) {
      if (mode == Mode::Unsupported) {
        out.push_back('?');
        ++lost;
      } else {
        unsigned j1 = c, j2 = at(i + 1);
        unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
        unsigned s2 = j2 + ((j1 & 1) ? (j2 >= 0x60 ? 0x20 : 0x1F) : 0x7E);
        out.push_back(static_cast<char>(s1));
        out.push_back(static_cast<char>(s2));
      }
      i += 2;
      continue;
    }
    if (mode == Mode::Kana && c >= 0x21 && c <= 0x5F) {
      out.push_back(static_cast<char>(c + 0x80));
      ++i;
      continue;
    }
    out.push_back(static_cast<char>(c));
    ++i;
  }
  if (lossy) *lossy = lost;
  return out;
}

std::string SjisToJis(std::string_view sjis, std::size_t* lossy) {
  std::string out;
  out.reserve(sjis.size() + sjis.size() / 4);
  std::size_t lost = 0;
  Mode mode = Mode::Ascii;
  auto enter = [&](Mode m) {
    if (mode == m) return;
    mode = m;
    switch (m) {
      case Mode::Ascii:
        out += "\x1B(B";
        break;
      case Mode::Kanji:
        out += "\x1B$B";
        break;
      case Mode::Kana:
        out += "\x1B(I";
        break;
      case Mode::Unsupported:
        break;
    }
  };
  auto replacement = [&] {
    enter(Mode::Ascii);
    out.push_back('?');
    ++lost;
  };
  std::size_t i = 0;
  while (i < sjis.size()) {
    unsigned char c = static_cast<unsigned char>(sjis[i]);
    std::size_t n = sjis::CharLength(sjis, i);
    if (n == 2) {
      unsigned char t = static_cast<unsigned char>(sjis[i + 1]);
      bool validTrail = t >= 0x40 && t <= 0xFC && t != 0x7F;
      if (!validTrail) {
        replacement();
        i += 1;  // the next byte is a character of its own
        continue;
      }
      unsigned s1 = c >= 0xE0 ? c - 0x40 : c;
      unsigned j1 = (s1 - 0x81) * 2 + 0x21;
      unsigned j2;
      if (t >= 0x9F) {
        ++j1;
        j2 = t - 0x7E;
      } else {
        j2 = (t >= 0x80 ? t - 1 : t) - 0x1F;
      }
      if (j1 > 0x7E) {
        replacement();
      } else {
        enter(Mode::Kanji);
        out.push_back(static_cast<char>(j1));
        out.push_back(static_cast<char>(j2));
      }
      i += 2;
      continue;
    }
    if (c >= 0xA1 && c <= 0xDF) {
      enter(Mode::Kana);
      out.push_back(static_cast<char>(c - 0x80));
    } else if (c < 0x80) {
      enter(Mode::Ascii);
      out.push_back(static_cast<char>(c));
    } else {
      replacement();
    }
    ++i;
  }
  enter(Mode::Ascii);
  if (lossy) *lossy = lost;
  return out;
}

}  // namespace kelu
