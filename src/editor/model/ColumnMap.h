// The column map of a row: one code character per screen column.
//   '1' a single-byte character that is not a word delimiter
//   '2' a single-byte word delimiter (a tab is one)
//   '3' a fill column of a tab
//   '4' the lead byte of a double-byte character
//   '5' its trail byte
// A tab takes its own column plus fill columns up to the next tab stop; with
// word wrap on the fill also stops at the wrap column. The map stops once it
// reaches 1000 columns (word wrap off) or the wrap width + 3 (on).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kelu {

// The bytes that count as word delimiters.
using TDelimiters = std::array<bool, 256>;

// Control characters, blank, ASCII punctuation except the underscore, DEL,
// 80 and the half-width punctuation A0-A5, and FD-FF.
const TDelimiters& DefaultDelimiters();

inline constexpr int kMaxColumns = 1000;

struct TColumnMapSettings {
  int tabWidth = 8;
  const TDelimiters* delimiters = &DefaultDelimiters();
  bool wordWrap = false;
  int wrapByte = 80;

  int Limit() const { return wordWrap ? wrapByte + 3 : kMaxColumns; }
};

// Builds the map of `row` into `map` (its previous content is replaced).
void BuildColumnMap(std::string_view row, const TColumnMapSettings& settings, std::string& map);
std::string ColumnMap(std::string_view row, const TColumnMapSettings& settings);

// The display width of `s` with no length limit: double-byte characters 2,
// tabs to the next tab stop (limited by the wrap column when word wrap is on),
// everything else 1.
int TextWidth(std::string_view s, const TColumnMapSettings& settings);

// `s` with every tab replaced by the blanks it covers.
std::string ExpandTabs(std::string_view s, const TColumnMapSettings& settings);

// Column (0-based) to byte (0-based) on a map; a column beyond the map gives
// `rowLength`.
int ColumnToByte(std::string_view map, int column, int rowLength);
// The display width of the first `byte` bytes of `row`, not more than the
// row's width.
int ByteToColumn(std::string_view row, int byte, const TColumnMapSettings& settings);

}  // namespace kelu
