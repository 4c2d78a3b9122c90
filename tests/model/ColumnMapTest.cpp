#include "editor/model/ColumnMap.h"

#include <gtest/gtest.h>

namespace kelu {
namespace {

TEST(ColumnMap, CodesPerColumn) {
  struct Case {
    std::string row;
    int tab;
    bool wrap;
    int wrapByte;
    std::string map;
  };
  const Case cases[] = {
      {"ab\tc", 4, false, 80, "11231"},
      {"\x82\xa0x", 8, false, 80, "451"},
      {"a,b c", 8, false, 80, "12121"},
      {"\t", 4, false, 80, "2333"},
      {"_z9", 8, false, 80, "111"},
      // A lead byte with nothing after it is a one-byte character.
      {"ab\x82", 8, false, 80, "111"},
      // With word wrap the tab's fill stops at the wrap column.
      {std::string(18, 'x') + "\t", 8, true, 20, std::string(18, '1') + "23"},
  };
  for (const Case& c : cases) {
    TColumnMapSettings s;
    s.tabWidth = c.tab;
    s.wordWrap = c.wrap;
    s.wrapByte = c.wrapByte;
    EXPECT_EQ(ColumnMap(c.row, s), c.map) << c.row;
    EXPECT_EQ(TextWidth(c.row, s), static_cast<int>(c.map.size()));
  }
}

TEST(ColumnMap, StopsAtTheLimit) {
  TColumnMapSettings off;
  EXPECT_EQ(ColumnMap(std::string(2000, 'a'), off).size(), 1000u);
  TColumnMapSettings on;
  on.wordWrap = true;
  on.wrapByte = 20;
  EXPECT_EQ(ColumnMap(std::string(100, 'a'), on).size(), 23u);
}

TEST(ColumnMap, ColumnsAndBytes) {
  TColumnMapSettings s;
  s.tabWidth = 4;
  const std::string row = "ab\tc\x82\xa0";
  std::string map = ColumnMap(row, s);  // 1 1 2 3 1 4 5
  struct Case {
    int column, byte;
  };
  for (Case c : {Case{0, 0}, Case{2, 2}, Case{3, 2}, Case{4, 3}, Case{5, 4}, Case{6, 5}, Case{7, 6},
                 Case{50, 6}}) {
    EXPECT_EQ(ColumnToByte(map, c.column, static_cast<int>(row.size())), c.byte) << c.column;
  }
  for (Case c : {Case{0, 0}, Case{2, 2}, Case{4, 3}, Case{5, 4}, Case{7, 6}, Case{7, 99}}) {
    EXPECT_EQ(ByteToColumn(row, c.byte, s), c.column) << c.byte;
  }
  EXPECT_EQ(ExpandTabs(row, s), "ab  c\x82\xa0");
}

}  // namespace
}  // namespace kelu
