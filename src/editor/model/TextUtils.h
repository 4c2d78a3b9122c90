// Free functions on Shift-JIS byte strings. Positions are 1-based where the
// name says "At" or "Pos".
#pragma once

#include <string>
#include <string_view>

#include "base/Strings.h"

namespace kelu {

// Number of bytes equal to `ch` among the first min(length, limit) bytes.
int CharCount(std::string_view s, char ch, int limit);
// True when a double-byte character begins at 1-based `index`.
bool IsLeadByteAt(std::string_view s, int index);
// True when 1-based `index` is the second byte of a double-byte character.
bool IsTrailByteAt(std::string_view s, int index);
// The byte at 1-based `pos`, or 0 outside the string.
unsigned char ByteAt(std::string_view s, int pos);
// True when `sub` occurs in `s` starting at a character boundary.
bool ContainsAtCharStart(std::string_view sub, std::string_view s);
// Replaces the content of `strings` with the lines of `text`: CR LF, a lone
// CR and a lone LF each end one line; a final line break adds no empty line.
void SplitLines(std::string_view text, TStrings& strings);
// Width of the leading blanks (space 1, full-width space 2); -1 when empty.
int LeadingSpaceWidth(std::string_view s);
// `s` without its leading bytes <= 0x20 and full-width spaces.
std::string TrimLeadingBlanks(std::string_view s);

constexpr int Max(int a, int b) {
  return a > b ? a : b;
}
constexpr int Min(int a, int b) {
  return a < b ? a : b;
}

}  // namespace kelu
