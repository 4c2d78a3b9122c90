#include <gtest/gtest.h>

#include "FakeEditor.h"

namespace kelu {
namespace {

using testing::FakeEditor;

TEST(Undo, OneStepPerChange) {
  FakeEditor e;
  e.lines.SetText("abc\r\n");
  e.rows.ReplaceRows(0, 1, "abcd\r\n");
  e.rows.ReplaceRows(0, 1, "abcde\r\n");
  e.rows.ReplaceRows(0, 1, "x\r\ny\r\n");
  EXPECT_EQ(e.rows.UndoObj().UndoList().Count(), 3);
  e.rows.Undo();
  EXPECT_EQ(e.lines.Text(), "abcde\r\n");
  e.rows.Undo();
  e.rows.Undo();
  EXPECT_EQ(e.lines.Text(), "abc\r\n");
  EXPECT_FALSE(e.rows.UndoObj().CanUndo());
  e.rows.Redo();
  e.rows.Redo();
  e.rows.Redo();
  EXPECT_EQ(e.lines.Text(), "x\r\ny\r\n");
}

TEST(Undo, MaximumOf64AndNeverLess) {
  FakeEditor e;
  e.lines.SetText("0\r\n");
  for (int i = 1; i <= 65; ++i) e.rows.ReplaceRows(0, 1, std::to_string(i) + "\r\n");
  int undone = 0;
  while (e.rows.UndoObj().CanUndo()) {
    e.rows.Undo();
    ++undone;
  }
  EXPECT_EQ(undone, 64);
  EXPECT_EQ(e.lines.Text(), "1\r\n");
  e.rows.UndoObj().SetUndoListMax(10);
  EXPECT_EQ(e.rows.UndoObj().UndoListMax(), 64);
  e.rows.UndoObj().SetUndoListMax(2147483647);
  EXPECT_EQ(e.rows.UndoObj().UndoListMax(), 2147483647);
}

TEST(Undo, AppendToAnEmptyEditorIsDeletedAndAddedAgain) {
  FakeEditor e;
  e.lines.Add("first");
  EXPECT_EQ(e.lines.Text(), "first\r\n");
  e.rows.Undo();
  EXPECT_EQ(e.rows.GetCount(), 0);
  e.rows.Redo();
  EXPECT_EQ(e.lines.Text(), "first\r\n");
}

TEST(Undo, NewChangeAfterUndoDropsRedo) {
  FakeEditor e;
  e.lines.SetText("a\r\n");
  e.rows.ReplaceRows(0, 1, "b\r\n");
  e.rows.Undo();
  EXPECT_TRUE(e.rows.UndoObj().CanRedo());
  e.rows.ReplaceRows(0, 1, "c\r\n");
  EXPECT_FALSE(e.rows.UndoObj().CanRedo());
}

TEST(Undo, CaretReturnsWhereItStood) {
  FakeEditor e;
  e.lines.SetText("hello\r\nworld\r\n");
  e.row = 1;
  e.col = 3;
  e.rows.ReplaceRows(1, 1, "wor-ld\r\n");
  e.row = 0;
  e.col = 1;
  e.rows.Undo();
  EXPECT_EQ(e.row, 1);  // before the change
  EXPECT_EQ(e.col, 3);
  e.row = 0;
  e.col = 0;
  e.rows.Redo();
  EXPECT_EQ(e.row, 0);  // where it was when the step was undone
  EXPECT_EQ(e.col, 1);
}

TEST(Undo, WordWrapSwitchClearsBothLists) {
  FakeEditor e;
  e.lines.SetText("a\r\n");
  e.rows.ReplaceRows(0, 1, "b\r\n");
  e.rows.ReplaceRows(0, 1, "c\r\n");
  e.rows.Undo();
  e.rows.SetWordWrap(true);
  EXPECT_FALSE(e.rows.UndoObj().CanUndo());
  EXPECT_FALSE(e.rows.UndoObj().CanRedo());
}

TEST(Undo, MarksSurviveUndoOfALineDeletion) {
  FakeEditor e;
  e.lines.SetText("a\r\nb\r\nc\r\n");
  e.rows.SetRowMarks(1, 1 << 4);
  e.rows.SetRowMarks(2, 1 << 5);
  e.rows.AddMarks((1 << 4) | (1 << 5));
  e.lines.Delete(1);
  EXPECT_EQ(e.rows.RowMarks(1), (1 << 4) | (1 << 5));
  e.rows.Undo();
  EXPECT_EQ(e.lines.Text(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(e.rows.RowMarks(2) & (1 << 5), 1 << 5);
  EXPECT_EQ(e.rows.MarksInUse(), (1 << 4) | (1 << 5));
}

}  // namespace
}  // namespace kelu
