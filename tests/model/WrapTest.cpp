#include <gtest/gtest.h>

#include "FakeEditor.h"

namespace kelu {
namespace {

using testing::FakeEditor;

// Wraps one line at width 20 with the given options; rows as "text|attribute".
std::vector<std::string> Wrap(const std::string& line,
                              std::function<void(TEditorWrapOption&)> setup = {}) {
  FakeEditor e;
  e.rows.WrapOption().SetWrapByte(20);
  if (setup) setup(e.rows.WrapOption());
  e.rows.SetWordWrap(true);
  e.lines.SetText(line + "\r\n");
  return e.Rows();
}

const std::string kMaru = "\x81\x42";     // 。
const std::string kKagi = "\x81\x75";     // 「
const std::string kKagiEnd = "\x81\x76";  // 」
const std::string kA = "\x82\xa0";        // あ

TEST(Wrap, PlainRowsOfTheWrapWidth) {
  std::string letters(45, 'x');
  EXPECT_EQ(Wrap(letters), (std::vector<std::string>{std::string(20, 'x') + "|raWrap",
                                                     std::string(20, 'x') + "|raWrap",
                                                     std::string(5, 'x') + "|raBreak"}));
}

TEST(Wrap, DoubleByteCharacterNeverCut) {
  // 19 letters, then あ whose lead byte would stand in column 20.
  auto rows = Wrap(std::string(19, 'x') + kA + "yy");
  EXPECT_EQ(rows[0], std::string(19, 'x') + "|raWrap");
  EXPECT_EQ(rows[1], kA + "yy|raBreak");
}

TEST(Wrap, ExactWidthAndFollowRetMark) {
  std::string exact(20, 'x');
  EXPECT_EQ(Wrap(exact), (std::vector<std::string>{exact + "|raWrap", "|raBreak"}));
  EXPECT_EQ(Wrap(exact, [](auto& o) { o.SetFollowRetMark(true); }),
            (std::vector<std::string>{exact + "|raBreak"}));
}

TEST(Wrap, HangingPunctuation) {
  std::string line = std::string(20, 'x') + kMaru + "tail";
  EXPECT_EQ(Wrap(line)[0], std::string(20, 'x') + "|raWrap");
  auto rows = Wrap(line, [](auto& o) { o.SetFollowPunctuation(true); });
  EXPECT_EQ(rows[0], std::string(20, 'x') + kMaru + "|raWrap");  // 22 columns
  EXPECT_EQ(rows[1], "tail|raBreak");
}

TEST(Wrap, LeadingRules) {
  auto leading = [](auto& o) { o.SetLeading(true); };
  // 「 at columns 19-20 may not end a row: it moves down.
  auto rows = Wrap(std::string(18, 'x') + kKagi + "abcdef", leading);
  EXPECT_EQ(rows[0], std::string(18, 'x') + "|raWrap");
  EXPECT_EQ(rows[1], kKagi + "abcdef|raBreak");
  // 」 may not begin a row: the character before it comes down too.
  rows = Wrap(std::string(20, 'x') + kKagiEnd + "abc", leading);
  EXPECT_EQ(rows[0], std::string(19, 'x') + "|raWrap");
  EXPECT_EQ(rows[1], "x" + kKagiEnd + "abc|raBreak");
  // ...but a row never shrinks below (20 div 5) x 4 = 16 columns.
  std::string closers;
  for (int i = 0; i < 5; ++i) closers += kKagiEnd;
  rows = Wrap(std::string(14, 'x') + closers + "yz", leading);
  EXPECT_EQ(rows[0].substr(0, rows[0].find('|')).size(), 16u);
}

TEST(Wrap, WordBreakCutsAfterDelimiters) {
  auto rows = Wrap("alpha beta gamma delta epsilon", [](auto& o) { o.SetWordBreak(true); });
  EXPECT_EQ(rows[0], "alpha beta gamma |raWrap");
  EXPECT_EQ(rows[1], "delta epsilon|raBreak");
  // No delimiter above W div 3: cut at W div 3 = column 6.
  rows = Wrap("ab " + std::string(30, 'x'), [](auto& o) { o.SetWordBreak(true); });
  EXPECT_EQ(rows[0], "ab " + std::string(3, 'x') + "|raWrap");
}

TEST(Wrap, WrapByteIsClamped) {
  TEditorWrapOption o;
  o.SetWrapByte(10);
  EXPECT_EQ(o.WrapByte(), 20);
  o.SetWrapByte(1000);
  EXPECT_EQ(o.WrapByte(), 250);
}

TEST(Wrap, LoneLeadByteAtTheEndOfALongLine) {
  // Mis-detected Latin-1 text: the last byte looks like a lead byte.
  auto rows = Wrap(std::string(25, 'x') + "\x82");
  EXPECT_EQ(rows[1], std::string(5, 'x') + "\x82|raBreak");
}

TEST(Wrap, ANewTabWidthWrapsTheRowsAgain) {
  FakeEditor e;
  e.rows.WrapOption().SetWrapByte(20);
  e.rows.SetWordWrap(true);
  e.lines.SetText("a\tb\tc\td\te\r\n");  // 33 columns with tabs of 8
  EXPECT_EQ(e.rows.GetCount(), 2);
  e.tabWidth = 2;  // now 9 columns: one row
  e.rows.TabWidthChanged();
  EXPECT_EQ(e.Rows(), (std::vector<std::string>{"a\tb\tc\td\te|raBreak"}));
  int changes = e.repaints;
  e.rows.TabWidthChanged();  // nothing new: nothing happens
  EXPECT_EQ(e.repaints, changes);
}

TEST(Wrap, CountMatchesTheRowsMade) {
  FakeEditor e;
  e.rows.WrapOption().SetWrapByte(20);
  e.rows.WrapOption().SetLeading(true);
  e.rows.WrapOption().SetFollowPunctuation(true);
  e.rows.SetWordWrap(true);
  for (const std::string& line :
       {std::string(45, 'x'), std::string(20, 'y'), std::string(3, 'z'),
        std::string(18, 'x') + kKagi + kMaru + kMaru + std::string(30, 'q'),
        std::string("\t\tab\tc") + std::string(40, 'r')}) {
    TEditorStringList out;
    e.rows.WrapText(line, out);
    EXPECT_EQ(e.rows.CountWrappedRows(line), out.GetCount()) << line;
  }
}

}  // namespace
}  // namespace kelu
