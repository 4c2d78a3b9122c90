#include "editor/model/ColumnMap.h"

#include <algorithm>

#include "base/Sjis.h"

namespace kelu {

const TDelimiters& DefaultDelimiters() {
  static const TDelimiters delimiters = [] {
    TDelimiters d{};
    auto range = [&](int lo, int hi) {
      for (int c = lo; c <= hi; ++c) d[c] = true;
    };
    range(0x00, 0x2F);
    range(0x3A, 0x40);
    range(0x5B, 0x5E);
    range(0x60, 0x60);
    range(0x7B, 0x80);
    range(0xA0, 0xA5);
    range(0xFD, 0xFF);
    return d;
  }();
  return delimiters;
}

namespace {

// Number of fill columns after a tab standing at column `c`.
inline int TabFill(int c, const TColumnMapSettings& s) {
  int n = s.tabWidth - c % s.tabWidth - 1;
  if (s.wordWrap) n = std::min(n, s.wrapByte - c % s.wrapByte - 1);
  return std::max(n, 0);
}

}  // namespace

void BuildColumnMap(std::string_view row, const TColumnMapSettings& s, std::string& map) {
  map.clear();
  const int limit = s.Limit();
  const TDelimiters& delims = *s.delimiters;
  std::size_t i = 0;
  while (i < row.size() && static_cast<int>(map.size()) < limit) {
    unsigned char c = static_cast<unsigned char>(row[i]);
    if (sjis::CharLength(row, i) == 2) {
      map += "45";
      i += 2;
      continue;
    }
    int col = static_cast<int>(map.size());
    map.push_back(delims[c] ? '2' : '1');
    if (c == '\t') map.append(static_cast<std::size_t>(TabFill(col, s)), '3');
    ++i;
  }
}

std::string ColumnMap(std::string_view row, const TColumnMapSettings& settings) {
  std::string map;
  BuildColumnMap(row, settings, map);
  return map;
}

int TextWidth(std::string_view s, const TColumnMapSettings& settings) {
  int width = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t n = sjis::CharLength(s, i);
    if (n == 2) {
      width += 2;
    } else if (s[i] == '\t') {
      width += 1 + TabFill(width, settings);
    } else {
      ++width;
    }
    i += n;
  }
  return width;
}

std::string ExpandTabs(std::string_view s, const TColumnMapSettings& settings) {
  std::string out;
  out.reserve(s.size());
  int width = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t n = sjis::CharLength(s, i);
    if (n == 2) {
      out.append(s.substr(i, 2));
      width += 2;
    } else if (s[i] == '\t') {
      int cols = 1 + TabFill(width, settings);
      out.append(static_cast<std::size_t>(cols), ' ');
      width += cols;
    } else {
      out.push_back(s[i]);
      ++width;
    }
    i += n;
  }
  return out;
}

int ColumnToByte(std::string_view map, int column, int rowLength) {
  if (column < 0) return 0;
  if (column >= static_cast<int>(map.size())) return rowLength;
  int fills = static_cast<int>(std::count(map.begin(), map.begin() + column + 1, '3'));
  return std::min(column - fills, rowLength);
}

int ByteToColumn(std::string_view row, int byte, const TColumnMapSettings& settings) {
  byte = std::clamp(byte, 0, static_cast<int>(row.size()));
  int width = TextWidth(row.substr(0, static_cast<std::size_t>(byte)), settings);
  std::string map;
  BuildColumnMap(row, settings, map);
  return std::min(width, static_cast<int>(map.size()));
}

}  // namespace kelu
