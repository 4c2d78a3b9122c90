// The one notion of "a character at this byte" of Shift-JIS text. A lead
// byte (81-9F, E0-FC) begins a double-byte character only when a byte follows
// it inside the string; a lead byte at the very end counts as a one-byte
// character, so no scan ever reads past the end of a string.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelu::sjis {

constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsLeadByte(char c) {
  return IsLeadByte(static_cast<unsigned char>(c));
}

// Length in bytes (1 or 2) of the character that starts at byte `i` of `s`;
// 0 when `i` is at or past the end.
constexpr std::size_t CharLength(std::string_view s, std::size_t i) {
  if (i >= s.size()) return 0;
  return (IsLeadByte(s[i]) && i + 1 < s.size()) ? 2 : 1;
}

// Same over a raw byte range [p, end).
constexpr std::size_t CharLength(const char* p, const char* end) {
  if (p >= end) return 0;
  return (IsLeadByte(*p) && p + 1 < end) ? 2 : 1;
}

// True when a double-byte character starts at byte `i`.
constexpr bool IsDoubleByteAt(std::string_view s, std::size_t i) {
  return CharLength(s, i) == 2;
}

// The start of the character that holds byte `i`, scanning from the string's
// start (trail bytes can look like lead bytes, so only a scan from a known
// boundary tells).
std::size_t CharStart(std::string_view s, std::size_t i);

// Number of characters in `s`.
std::size_t CharCount(std::string_view s);

}  // namespace kelu::sjis
