// ISO-2022-JP ("JIS") and Shift-JIS are two codings of the same character
// set, so they convert into each other by arithmetic, byte exactly: the NEC
// special characters of row 13 included. Nothing goes through Unicode.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelu {

// ISO-2022-JP text (ESC $ B, ESC $ @, ESC ( B, ESC ( J, ESC ( I, SO/SI and
// 8-bit half-width katakana) to Shift-JIS. Two-byte codes outside JIS X 0208
// (JIS X 0212) become "?" and are counted.
std::string JisToSjis(std::string_view jis, std::size_t* lossy = nullptr);

// Shift-JIS to ISO-2022-JP: JIS X 0208 in ESC $ B, half-width katakana in
// ESC ( I, back to ESC ( B before every single-byte character and at the end.
// Characters beyond row 94 (the IBM extensions, user-defined characters) and
// stray bytes become "?" and are counted.
std::string SjisToJis(std::string_view sjis, std::size_t* lossy = nullptr);

}  // namespace kelu
