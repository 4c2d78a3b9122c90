#include "editor/model/TextUtils.h"

#include <gtest/gtest.h>

#include "editor/model/RowList.h"

namespace kelu {
namespace {

TEST(TextUtils, LeadAndTrailBytesFromTheStart) {
  const std::string s = "a\x82\xa0";  // a あ
  EXPECT_TRUE(IsLeadByteAt(s, 2));
  EXPECT_TRUE(IsTrailByteAt(s, 3));
  EXPECT_FALSE(IsLeadByteAt(s, 3));
  EXPECT_FALSE(ContainsAtCharStart("\xa0", s));
  EXPECT_FALSE(IsLeadByteAt(s, 0));
  EXPECT_FALSE(IsLeadByteAt(s, 4));
  // 表 is 95 5C: the backslash is a trail byte.
  EXPECT_FALSE(ContainsAtCharStart("\\", "\x95\\"));
  EXPECT_TRUE(ContainsAtCharStart("\\", "\x95\\\\"));
  // A lead byte as the last byte is a one-byte character.
  EXPECT_FALSE(IsLeadByteAt("ab\x82", 3));
  EXPECT_FALSE(IsTrailByteAt("ab\x82", 4));
  EXPECT_EQ(ByteAt("ab", 2), 'b');
  EXPECT_EQ(ByteAt("ab", 3), 0);
  EXPECT_EQ(CharCount("a,b,c", ',', 3), 1);
  EXPECT_EQ(CharCount("a,b,c", ',', 100), 2);
}

TEST(TextUtils, LeadingBlanks) {
  EXPECT_EQ(LeadingSpaceWidth("\x81\x40  x"), 4);
  EXPECT_EQ(LeadingSpaceWidth(""), -1);
  EXPECT_EQ(LeadingSpaceWidth("x"), 0);
  EXPECT_EQ(LeadingSpaceWidth("\x81"), 0);
  EXPECT_EQ(TrimLeadingBlanks("\t \x81\x40x y"), "x y");
  EXPECT_EQ(TrimLeadingBlanks("\x81"), "\x81");
}

TEST(TextUtils, SplitLinesIntoAnyList) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"a\r\nb\rc\n", {"a", "b", "c"}}, {"a\r\n\r\n", {"a", ""}}, {"", {}}, {"\r\r", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const Case& c : cases) {
    TStringList plain;
    plain.Add("stale");
    SplitLines(c.text, plain);
    TEditorStringList rows;
    rows.Add("stale");
    SplitLines(c.text, rows);
    ASSERT_EQ(plain.Count(), static_cast<int>(c.lines.size()));
    ASSERT_EQ(rows.Count(), static_cast<int>(c.lines.size()));
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(plain[i], c.lines[i]);
      EXPECT_EQ(rows[i], c.lines[i]);
      EXPECT_EQ(rows.BracketIndexes(static_cast<int>(i)), -2);
    }
  }
}

}  // namespace
}  // namespace kelu
