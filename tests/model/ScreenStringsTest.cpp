#include <gtest/gtest.h>

#include "FakeEditor.h"

namespace kelu {
namespace {

using testing::FakeEditor;

TEST(ReplaceRows, ReplacesInsertsAndJoinsLines) {
  FakeEditor e;
  e.lines.SetText("one\r\ntwo\r\nthree");
  e.rows.ReplaceRows(1, 1, "TWO\r\n");
  EXPECT_EQ(e.lines.Text(), "one\r\nTWO\r\nthree");
  // Text without a line break joins the following line.
  e.rows.ReplaceRows(0, 1, "ONE");
  EXPECT_EQ(e.lines.Text(), "ONETWO\r\nthree");
  // Count 0 inserts before the row.
  e.rows.ReplaceRows(1, 0, "new\r\n");
  EXPECT_EQ(e.lines.Text(), "ONETWO\r\nnew\r\nthree");
  // Replacing the last row decides whether the text ends with a break.
  e.rows.ReplaceRows(2, 1, "end\r\n");
  EXPECT_EQ(e.Rows().back(), "end|raBreak");
  // Nothing happens outside the rows or with nothing to do.
  std::string before = e.lines.Text();
  e.rows.ReplaceRows(5, 1, "x");
  e.rows.ReplaceRows(0, 0, "");
  e.rows.ReplaceRows(-1, 1, "x");
  EXPECT_EQ(e.lines.Text(), before);
}

TEST(ReplaceRows, LastChangeRecordsTheBlockAndClearsAfterTheUpdate) {
  FakeEditor e;
  e.lines.SetText("a\r\nb\r\nc\r\n");
  TLastChange seen;
  e.rows.BeginUpdate();
  e.rows.ReplaceRows(1, 1, "x\r\ny\r\n");
  seen = e.rows.LastChange();
  e.rows.EndUpdate();
  // The following line is re-wrapped with the changed one.
  EXPECT_EQ(seen.firstRow, 1);
  EXPECT_EQ(seen.oldRowCount, 2);
  EXPECT_EQ(seen.newRowCount, 3);
  EXPECT_TRUE(seen.changed);
  EXPECT_FALSE(e.rows.LastChange().changed);
}

TEST(ReplaceRows, OneNotificationPerChange) {
  FakeEditor e;
  e.lines.SetText("a\r\nb\r\n");
  int before = e.changes;
  e.rows.ReplaceRows(0, 1, "xyz\r\n");
  EXPECT_EQ(e.changes, before + 1);
}

TEST(RowMarks, FollowTheirRows) {
  FakeEditor e;
  e.lines.SetText("a\r\nb\r\nc\r\nd\r\n");
  e.rows.SetRowMarks(1, 1 << 3);
  e.rows.AddMarks(1 << 3);
  // Deleting a whole line moves its marks to the line taking its place.
  e.lines.Delete(1);
  EXPECT_EQ(e.rows.RowMarks(1), 1 << 3);
  EXPECT_EQ(e.lines[1], "c");

  // A line break typed at column 0 pushes the mark down with the line.
  e.col = 0;
  e.rows.ReplaceRows(1, 1, "\r\nc\r\n");
  EXPECT_EQ(e.rows.RowMarks(1), 0);
  EXPECT_EQ(e.rows.RowMarks(2), 1 << 3);
  // Typed in the middle, the mark stays on the first part.
  e.col = 1;
  e.rows.ReplaceRows(2, 1, "c\r\nrest\r\n");
  EXPECT_EQ(e.rows.RowMarks(2), 1 << 3);
  EXPECT_EQ(e.rows.RowMarks(3), 0);
  EXPECT_EQ(e.rows.MarksInUse(), 1 << 3);
}

TEST(RowMarks, MarksInUseStaysExactForPictureMarksOnSeveralRows) {
  FakeEditor e;
  e.lines.SetText("a\r\nb\r\nc\r\n");
  const std::uint16_t picture = 1 << 12;
  e.rows.SetRowMarks(0, picture);
  e.rows.SetRowMarks(2, picture);
  e.rows.AddMarks(picture);
  e.lines.Delete(2);
  e.lines.Delete(1);  // the mark of the old row 2 went to row 1, now to row 0
  EXPECT_EQ(e.rows.MarksInUse(), picture);
  e.lines.Clear();
  EXPECT_EQ(e.rows.MarksInUse(), 0);
}

TEST(Reparse, StopsWhereTheStateAgreesAndLooksTwoScreensAhead) {
  FakeEditor e;
  e.screenRows = 5;
  auto* b = e.fountain.Brackets().Add();
  b->SetLeftBracket("/*");
  b->SetRightBracket("*/");
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  e.lines.SetText(text);
  // Only the first rows got a state; the rest waits for painting.
  EXPECT_NE(e.rows.BracketIndexes(5), -2);
  EXPECT_EQ(e.rows.BracketIndexes(60), -2);
  e.rows.EnsureRowState(60);
  EXPECT_EQ(e.rows.BracketIndexes(60), -1);

  // With every state known, a change that keeps the state re-stores only
  // the rows it replaced (the changed row and the following line).
  e.bracketsFull = true;
  e.rows.ReparseAll();
  e.invalidatedRows = 0;
  e.rows.ReplaceRows(10, 1, "LINE\r\n");
  EXPECT_EQ(e.invalidatedRows, 2);
  // Opening a bracket changes every row below: the window ends two screens
  // ahead and the rest becomes "not computed".
  e.rows.ReplaceRows(20, 1, "/* open\r\n");
  EXPECT_EQ(e.rows.BracketIndexes(21), 0);
  EXPECT_EQ(e.rows.BracketIndexes(30), 0);
  EXPECT_EQ(e.rows.BracketIndexes(31), -2);
  e.rows.EnsureRowState(90);
  EXPECT_EQ(e.rows.BracketIndexes(90), 0);
}

TEST(Reparse, WithoutBracketsALineIsColouredWithoutTheLinesAbove) {
  FakeEditor e;
  e.screenRows = 2;
  std::string text;
  for (int i = 0; i < 100; ++i) text += "x \"quoted\" 12\r\n";
  e.fountain.SetQuotation("\"");
  e.lines.SetText(text);
  EXPECT_EQ(e.rows.BracketIndexes(50), -2);
  e.rows.EnsureRowState(80);
  EXPECT_EQ(e.rows.BracketIndexes(80), -1);
  EXPECT_EQ(e.rows.BracketIndexes(50), -2);  // never needed
  // With a bracket the lines above count again.
  auto* b = e.fountain.Brackets().Add();
  b->SetLeftBracket("/*");
  b->SetRightBracket("*/");
  e.rows.ReplaceRows(2, 1, "/* open\r\n");
  e.rows.EnsureRowState(90);
  EXPECT_EQ(e.rows.BracketIndexes(90), 0);
}

// A quotation left open across a soft wrap whose last row holds only
// blanks: the next line starts outside it, parsed from the top or from its
// own start.
TEST(Reparse, AnOpenQuotationEndsWithItsLineAfterABlankRow) {
  FakeEditor e;
  e.fountain.SetQuotation("\"");
  e.rows.WrapOption().SetWrapByte(10);
  e.rows.SetWordWrap(true);
  e.lines.SetText("ab \"cdefghij          \r\nxy \"z\"\r\n");
  ASSERT_GE(e.rows.GetCount(), 3);
  const int next = e.rows.LineToRow(1);
  ASSERT_EQ(e.rows.View(next - 1).find_first_not_of(' '), std::string_view::npos);
  std::vector<TRowAttributeData> full;
  for (int r = 0; r < e.rows.GetCount(); ++r) {
    e.rows.EnsureRowState(r);
    full.push_back(e.rows.RowState(r));
  }
  EXPECT_EQ(full[static_cast<std::size_t>(next)].WrappedToken, 0);
  // An edit in the second line colours it from its own start.
  e.rows.ReplaceRows(next, 1, "xy \"z\"!\r\n");
  e.rows.EnsureRowState(next);
  EXPECT_TRUE(e.rows.RowState(next).SameCarriedState(full[static_cast<std::size_t>(next)]));
}

TEST(LineIndex, FollowsEditsWithWordWrap) {
  FakeEditor e;
  e.rows.WrapOption().SetWrapByte(20);
  e.rows.SetWordWrap(true);
  e.lines.SetText(std::string(50, 'a') + "\r\nshort\r\n" + std::string(30, 'b') + "\r\n");
  ASSERT_EQ(e.lines.Count(), 3);
  EXPECT_EQ(e.lines.LineToRow(1), 3);
  EXPECT_EQ(e.lines.LineToRow(2), 4);
  EXPECT_EQ(e.lines.LineToRow(3), e.rows.GetCount());
  e.lines.Insert(1, std::string(45, 'c'));
  EXPECT_EQ(e.lines.Count(), 4);
  EXPECT_EQ(e.lines.LineToRow(2), 6);
  EXPECT_EQ(e.lines[1], std::string(45, 'c'));
  EXPECT_EQ(e.rows.RowToLine(7), 3);
}

}  // namespace
}  // namespace kelu
