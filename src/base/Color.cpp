#include "base/Color.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "base/Strings.h"

namespace kelu {

namespace {

struct NamedColor {
  TColor color;
  const char* name;
};

constexpr std::array<NamedColor, 47> kColorNames{{
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
}};

// The classic desktop values of the system colours, in index order.
constexpr std::array<TColor, 25> kSystemDefaults{{
    0xC8C8C8,  // scroll bar
    0x000000,  // background
    0xD1B499,  // active caption
    0xDBCDBF,  // inactive caption
    0xF0F0F0,  // menu
    0xFFFFFF,  // window
    0x646464,  // window frame
    0x000000,  // menu text
    0x000000,  // window text
    0x000000,  // caption text
    0xB4B4B4,  // active border
    0xFCF7F4,  // inactive border
    0xABABAB,  // app workspace
    0xD77800,  // highlight
    0xFFFFFF,  // highlight text
    0xF0F0F0,  // button face
    0xA0A0A0,  // button shadow
    0x6D6D6D,  // gray text
    0x000000,  // button text
    0x000000,  // inactive caption text
    0xFFFFFF,  // button highlight
    0x696969,  // 3D dark shadow
    0xE3E3E3,  // 3D light
    0x000000,  // info text
    0xE1FFFF,  // info background
}};

}  // namespace

std::optional<std::string> ColorToIdent(TColor color) {
  for (const NamedColor& c : kColorNames) {
    if (c.color == color) return std::string(c.name);
  }
  return std::nullopt;
}

std::string ColorToString(TColor color) {
  if (auto name = ColorToIdent(color)) return *name;
  char buf[16];
  std::snprintf(buf, sizeof buf, "$%.8X", static_cast<unsigned>(color));
  return buf;
}

std::optional<TColor> StringToColor(std::string_view text) {
  for (const NamedColor& c : kColorNames) {
    if (SameTextSjis(text, c.name)) return c.color;
  }
  if (text.empty()) return std::nullopt;
  std::uint32_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  int base = 10;
  if (text[0] == '$') {
    ++first;
    base = 16;
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    first += 2;
    base = 16;
  }
  bool negative = false;
  if (base == 10 && first < last && *first == '-') {
    negative = true;
    ++first;
  }
  if (first == last) return std::nullopt;
  auto [ptr, ec] = std::from_chars(first, last, value, base);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return negative ? -static_cast<TColor>(value) : static_cast<TColor>(value);
}

TColor ColorToRGB(TColor color) {
  if (color == clNone || color == clDefault) return clBlack;
  if (color < 0) {
    unsigned index = static_cast<unsigned>(color) & 0xFF;
    return index < kSystemDefaults.size() ? kSystemDefaults[index] : clBlack;
  }
  return color & 0xFFFFFF;
}

}  // namespace kelu
