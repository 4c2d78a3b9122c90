// Colours as the settings hold them: 0x00BBGGRR for a plain colour, the
// system colours as 0x80000000 + index, and clNone for "no colour".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kelu {

using TColor = std::int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;  // 536870911
inline constexpr TColor clDefault = 0x20000000;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr TColor kSystemColorBase = static_cast<TColor>(0x80000000u);
inline constexpr TColor clScrollBar = kSystemColorBase + 0;
inline constexpr TColor clBackground = kSystemColorBase + 1;
inline constexpr TColor clActiveCaption = kSystemColorBase + 2;
inline constexpr TColor clInactiveCaption = kSystemColorBase + 3;
inline constexpr TColor clMenu = kSystemColorBase + 4;
inline constexpr TColor clWindow = kSystemColorBase + 5;
inline constexpr TColor clWindowFrame = kSystemColorBase + 6;
inline constexpr TColor clMenuText = kSystemColorBase + 7;
inline constexpr TColor clWindowText = kSystemColorBase + 8;
inline constexpr TColor clCaptionText = kSystemColorBase + 9;
inline constexpr TColor clActiveBorder = kSystemColorBase + 10;
inline constexpr TColor clInactiveBorder = kSystemColorBase + 11;
inline constexpr TColor clAppWorkSpace = kSystemColorBase + 12;
inline constexpr TColor clHighlight = kSystemColorBase + 13;
inline constexpr TColor clHighlightText = kSystemColorBase + 14;
inline constexpr TColor clBtnFace = kSystemColorBase + 15;
inline constexpr TColor clBtnShadow = kSystemColorBase + 16;
inline constexpr TColor clGrayText = kSystemColorBase + 17;
inline constexpr TColor clBtnText = kSystemColorBase + 18;
inline constexpr TColor clInactiveCaptionText = kSystemColorBase + 19;
inline constexpr TColor clBtnHighlight = kSystemColorBase + 20;
inline constexpr TColor cl3DDkShadow = kSystemColorBase + 21;
inline constexpr TColor cl3DLight = kSystemColorBase + 22;
inline constexpr TColor clInfoText = kSystemColorBase + 23;
inline constexpr TColor clInfoBk = kSystemColorBase + 24;

// The name of a colour that has one ("clWindowText"), else "$" and eight
// upper-case hexadecimal digits.
std::string ColorToString(TColor color);
// The colour of a name or a "$"/decimal number; nullopt when it is neither.
std::optional<TColor> StringToColor(std::string_view text);
// The colour's name, or nullopt when it has none.
std::optional<std::string> ColorToIdent(TColor color);

// A system colour resolved to its RGB value (0x00BBGGRR) from the desktop's
// classic defaults; plain colours are returned unchanged. clNone and
// clDefault resolve to black.
TColor ColorToRGB(TColor color);

// The red, green and blue parts of a resolved colour.
constexpr int RedOf(TColor rgb) {
  return rgb & 0xFF;
}
constexpr int GreenOf(TColor rgb) {
  return (rgb >> 8) & 0xFF;
}
constexpr int BlueOf(TColor rgb) {
  return (rgb >> 16) & 0xFF;
}
constexpr TColor RGB(int r, int g, int b) {
  return r | (g << 8) | (b << 16);
}

}  // namespace kelu
