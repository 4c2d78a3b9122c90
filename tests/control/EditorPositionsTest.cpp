// Places, the caret's column rules, offsets, the selection and the
// edit-control queries of the editor control.
#include <gtest/gtest.h>

#include <vector>

#include "EditorTestSupport.h"

namespace kelu {
namespace {

using test::MakeEditor;
using test::Sjis;

// ------------------------------------------------------------ column rules

struct ColCase {
  const char* name;
  const char* text;
  int tab;
  bool inTab;
  bool freeCaret;
  int from;
  int to;
  int expected;
};

TEST(EditorCaretTest, SetColKeepsTheCaretOnValidColumns) {
  const std::vector<ColCase> cases = {
      // "ab\tc", tab width 4: the tab at column 2 covers 2 and 3, c is at 4.
      {"right over tab blanks", "ab\tc", 4, false, true, 2, 3, 4},
      {"left over tab blanks", "ab\tc", 4, false, true, 4, 3, 2},
      {"inside a tab when allowed", "ab\tc", 4, true, true, 2, 3, 3},
      // A double-byte character at columns 3-4.
      {"right onto a trail byte", "abcあ", 8, false, true, 3, 4, 5},
      {"left onto a trail byte", "abcあ", 8, false, true, 5, 4, 3},
      {"free caret beyond the end", "abc", 8, false, true, 0, 50, 50},
      {"no free caret", "abc", 8, false, false, 0, 50, 3},
      {"never past column 1000", "abc", 8, false, true, 0, 5000, 1000},
  };
  for (const ColCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    e->Caret().SetTabSpaceCount(c.tab);
    e->Caret().SetInTab(c.inTab);
    e->Caret().SetFreeCaret(c.freeCaret);
    e->SetRowCol(0, c.from);
    ASSERT_EQ(e->Col(), c.from);
    e->SetCol(c.to);
    EXPECT_EQ(e->Col(), c.expected);
  }
}

TEST(EditorCaretTest, SetRowColMovesOffTrailBytesAndTabBlanks) {
  auto e = MakeEditor("aあb\r\nx\tz");
  e->SetRowCol(0, 2);  // the trail byte of あ
  EXPECT_EQ(e->Col(), 1);
  e->SetRowCol(1, 5);  // a blank of the tab at column 1
  EXPECT_EQ(e->Col(), 1);
  e->Caret().SetInTab(true);
  e->SetRowCol(0, 0);
  e->SetRowCol(1, 5);
  EXPECT_EQ(e->Col(), 5);
}

struct GoalCase {
  const char* name;
  bool keepCaret;
  bool freeRow;
  int middleCol;
  int lastCol;
};

TEST(EditorCaretTest, VerticalMovesThroughAShortRowUseTheGoalColumn) {
  // Column 40 of a long row, down through a 10-column row to a 60-column row.
  const std::string text =
      std::string(40, 'x') + "\r\n" + std::string(10, 'y') + "\r\n" + std::string(60, 'z');
  const std::vector<GoalCase> cases = {
      {"KeepCaret remembers the column", true, false, 10, 40},
      {"without KeepCaret the row end is kept", false, false, 10, 10},
      {"FreeRow keeps the column beyond the end", false, true, 40, 40},
  };
  for (const GoalCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(text);
    e->Caret().SetFreeCaret(false);
    e->Caret().SetKeepCaret(c.keepCaret);
    e->Caret().SetFreeRow(c.freeRow);
    e->SetRowCol(0, 40);
    e->SetRow(1);
    EXPECT_EQ(e->Col(), c.middleCol);
    e->SetRow(2);
    EXPECT_EQ(e->Col(), c.lastCol);
    // A horizontal move forgets the goal.
    e->SetCol(5);
    e->SetRow(1);
    e->SetRow(2);
    EXPECT_EQ(e->Col(), 5);
  }
}

TEST(EditorCaretTest, TheCaretStandsAfterAFinalLineBreakOnly) {
  auto e = MakeEditor("abc");
  e->SetRow(1);
  EXPECT_EQ(e->Row(), 0);
  e->Lines().SetTextStr("abc\r\n");
  e->SetRow(5);
  EXPECT_EQ(e->Row(), 1);
  e->SetRow(-3);
  EXPECT_EQ(e->Row(), 0);
}

TEST(EditorCaretTest, WithWordWrapTheCaretStaysInsideTheWrapWidth) {
  auto e = MakeEditor(std::string(45, 'a'));  // rows of 20, 20 and 5 bytes
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  ASSERT_EQ(e->RowCount(), 3);
  e->SetRowCol(0, 25);  // a wrapped row: its end is the next row's start
  EXPECT_EQ(e->Col(), 19);
  e->SetRowCol(2, 30);  // the last row: at most up to the wrap column
  EXPECT_EQ(e->Col(), 19);
  e->SetRowCol(2, 10);
  EXPECT_EQ(e->Col(), 10);
}

// ------------------------------------------------------------------ offsets

struct OffsetCase {
  const char* text;
  int offset;
  int row;
  int col;
  int readBack;  // SelStart of the place reached
};

TEST(EditorOffsetTest, SelStartPlacesTheCaretCountingLineBreaksAsTwo) {
  const std::vector<OffsetCase> cases = {
      {"ab\r\ncd", 4, 1, 0, 4},  {"ab\r\ncd", 3, 0, 2, 2}, {"ab\r\ncd", 0, 0, 0, 0},
      {"ab\r\ncd", -5, 0, 0, 0}, {"ab\r\ncd", 5, 1, 1, 5}, {"ab\r\ncd", 100, 1, 2, 6},
      {"ab\r\n", 100, 1, 0, 4},  {"aあb", 3, 0, 3, 3},     {"a\tb", 2, 0, 8, 2},
      {"\r\n\r\nx", 4, 2, 0, 4},
  };
  for (const OffsetCase& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.offset));
    auto e = MakeEditor(c.text);
    e->SetSelStart(c.offset);
    EXPECT_EQ(e->Row(), c.row);
    EXPECT_EQ(e->Col(), c.col);
    EXPECT_EQ(e->SelStart(), c.readBack);
  }
}

TEST(EditorOffsetTest, WrappedRowsAddNoLineBreak) {
  auto e = MakeEditor(std::string(45, 'a') + "\r\nb");
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  ASSERT_EQ(e->RowCount(), 4);
  EXPECT_EQ(e->TextLength(), 48);
  e->SetSelStart(25);
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 5);
  e->SetSelStart(47);
  EXPECT_EQ(e->Row(), 3);
  EXPECT_EQ(e->SelStart(), 47);
}

TEST(EditorOffsetTest, TheCaretInsideATabCountsTheTabItself) {
  auto e = MakeEditor("a\tb");
  e->Caret().SetTabSpaceCount(4);
  e->Caret().SetInTab(true);
  e->SetRowCol(0, 2);
  EXPECT_EQ(e->SelStart(), 1);
  e->SetRowCol(0, 4);
  EXPECT_EQ(e->SelStart(), 2);
  e->SetRowCol(0, 30);  // free caret beyond the end: the row's length
  EXPECT_EQ(e->SelStart(), 3);
}

// ---------------------------------------------------------------- selection

struct SelectionCase {
  const char* name;
  const char* text;
  TEditorSelectionMode mode;
  int anchorRow, anchorCol, row, col;
  const char* selText;
  int selLength;
};

TEST(EditorSelectionTest, SelTextAndSelLengthOfNormalAndBoxSelections) {
  const std::vector<SelectionCase> cases = {
      {"one row", "abcdef", smNormal, 0, 1, 0, 4, "bcd", 3},
      {"backwards", "abcdef", smNormal, 0, 4, 0, 1, "bcd", 3},
      {"across line breaks", "ab\r\ncd\r\nef", smNormal, 0, 1, 2, 1, "b\r\ncd\r\ne", 8},
      {"caret above the anchor", "ab\r\ncd\r\nef", smNormal, 2, 1, 0, 1, "b\r\ncd\r\ne", 8},
      {"up to the place after the text", "ab\r\ncd\r\n", smNormal, 0, 0, 2, 0, "ab\r\ncd\r\n", 8},
      {"double-byte characters", "あいう", smNormal, 0, 2, 0, 6, "いう", 4},
      {"box", "abcd\r\nefgh\r\n", smBox, 0, 1, 1, 3, "bc\r\nfg\r\n", 8},
      // あ covers columns 1-2: a box from column 2 starts at the next character.
      {"box edge on a trail byte", "aあbc\r\nxyzw", smBox, 1, 2, 0, 4, "b\r\nzw\r\n", 7},
      // A box ending on a lead byte takes the whole character.
      {"box edge on a lead byte", "aあbc\r\nxyzw", smBox, 0, 0, 1, 2, "aあ\r\nxy\r\n", 9},
      // The tab at column 1 covers 1-7: a box into its blanks takes it.
      {"box over tab blanks", "a\tb\r\n0123456789", smBox, 0, 1, 1, 3, "\t\r\n12\r\n", 7},
      {"box inside tab blanks only", "a\tb\r\n0123456789", smBox, 1, 2, 0, 4, "\r\n23\r\n", 6},
      {"box beyond short rows", "ab\r\nabcdef", smBox, 0, 3, 1, 5, "\r\nde\r\n", 6},
      // The place after a final line break is no row: nothing is read there.
      {"box down to the place after the text", "ab\r\ncd\r\n", smBox, 0, 0, 2, 1, "a\r\nc\r\n", 6},
  };
  for (const SelectionCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    e->Caret().SetInTab(true);
    e->SetSelectionMode(c.mode);
    e->SetRowCol(c.anchorRow, c.anchorCol);
    e->StartSelection();
    e->SetRowCol(c.row, c.col);
    e->UpdateSelection();
    ASSERT_TRUE(e->Selected());
    EXPECT_EQ(e->SelText(), Sjis(c.selText));
    EXPECT_EQ(e->SelLength(), c.selLength);
  }
}

TEST(EditorSelectionTest, WrappedRowsJoinWithoutLineBreak) {
  auto e = MakeEditor(std::string(20, 'a') + std::string(20, 'b') + "\r\nc");
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  e->SetRowCol(0, 15);
  e->StartSelection();
  e->SetRowCol(1, 5);
  e->UpdateSelection();
  EXPECT_EQ(e->SelText(), "aaaaabbbbb");
  EXPECT_EQ(e->SelLength(), 10);
}

TEST(EditorSelectionTest, SelLengthSelectsFromTheCaretAndLeavesTheCaretAtTheEnd) {
  auto e = MakeEditor("ab\r\ncd\r\nef");
  e->SetSelStart(1);
  e->SetSelLength(5);
  EXPECT_TRUE(e->Selected());
  EXPECT_EQ(e->SelText(), "b\r\ncd");
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 2);
  // A second length counts again from the selection's start; an end inside
  // a line break stops at the row's end.
  e->SetSelLength(2);
  EXPECT_EQ(e->SelText(), "b");
  e->SetSelLength(0);
  EXPECT_FALSE(e->Selected());
  EXPECT_EQ(e->SelStart(), 1);
  // A box selection is made normal first.
  e->SetSelectionMode(smBox);
  e->SetSelLength(3);
  EXPECT_EQ(e->SelectionMode(), smNormal);
  EXPECT_EQ(e->SelText(), "b\r\n");
}

TEST(EditorSelectionTest, SelectAllAndTheEditMessageSelection) {
  auto e = MakeEditor("abcdefgh\r\nij");
  e->SetSel(5, 2);
  EXPECT_EQ(e->SelText(), "cde");
  int start, end;
  e->GetSel(start, end);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 5);
  e->SetSel(0, -1);
  EXPECT_EQ(e->SelText(), "abcdefgh\r\nij");
  EXPECT_EQ(e->SelLength(), e->TextLength());
  e->SetSel(-1, 0);
  EXPECT_FALSE(e->Selected());
  e->GetSel(start, end);
  EXPECT_EQ(start, end);
}

TEST(EditorSelectionTest, IsInSelection) {
  auto e = MakeEditor("abcd\r\nefgh\r\nijkl");
  e->SetRowCol(0, 1);
  e->StartSelection();
  e->SetRowCol(1, 2);
  e->UpdateSelection();
  EXPECT_FALSE(e->IsInSelection(0, 0));
  EXPECT_TRUE(e->IsInSelection(0, 1));
  EXPECT_TRUE(e->IsInSelection(0, 3));
  EXPECT_TRUE(e->IsInSelection(1, 1));
  EXPECT_FALSE(e->IsInSelection(1, 2));
  EXPECT_FALSE(e->IsInSelection(2, 0));
  e->SetSelectionMode(smBox);
  EXPECT_FALSE(e->IsInSelection(0, 0));
  EXPECT_TRUE(e->IsInSelection(0, 1));
  EXPECT_TRUE(e->IsInSelection(1, 1));
  EXPECT_FALSE(e->IsInSelection(1, 2));
}

struct Events {
  std::vector<bool> selectionChanges;
  int modeChanges = 0;
  void Selection(TObject*, bool selected) { selectionChanges.push_back(selected); }
  void Mode(TObject*) { ++modeChanges; }
};

TEST(EditorSelectionTest, TheStateMachineAndItsEvents) {
  auto e = MakeEditor("abc\r\ndef");
  Events events;
  e->OnSelectionChange = TSelectionChangeEvent::Of<&Events::Selection>(&events);
  e->OnSelectionModeChange = TNotifyEvent::Of<&Events::Mode>(&events);
  e->SetRowCol(0, 1);
  e->StartSelection();
  EXPECT_EQ(e->SelectionState(), stStarted);
  EXPECT_FALSE(e->Selected());
  EXPECT_EQ(e->SelLength(), 0);
  e->SetRowCol(1, 1);
  e->UpdateSelection();
  e->SetRowCol(1, 2);
  e->UpdateSelection();
  EXPECT_EQ(e->SelectionState(), stSelected);
  e->SetSelectionMode(smBox);
  e->SetSelectionMode(smBox);
  e->CleanSelection();
  e->CleanSelection();
  EXPECT_EQ(e->SelectionState(), stNone);
  EXPECT_EQ(events.selectionChanges, (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(events.modeChanges, 1);
  // An anchor alone is dropped silently.
  e->StartSelection();
  e->CleanSelection();
  EXPECT_EQ(e->SelectionState(), stNone);
  e->UpdateSelection();
  EXPECT_EQ(e->SelectionState(), stNone);
  // Without rows there is nothing to anchor.
  auto empty = MakeEditor();
  empty->StartSelection();
  EXPECT_EQ(empty->SelectionState(), stNone);
}

TEST(EditorSelectionTest, SearchHitsInEachHitStyle) {
  auto e = MakeEditor("abcdef\r\nghi");
  for (TEditorHitStyle style : {hsSelect, hsDraw, hsCaret}) {
    SCOPED_TRACE(static_cast<int>(style));
    e->SetHitStyle(style);
    e->SetRowCol(0, 1);
    e->ShowHit(3);
    EXPECT_EQ(e->HitLength(), 3);
    EXPECT_EQ(e->SelStart(), 1);
    if (style == hsSelect) {
      EXPECT_EQ(e->SelectionState(), stSelected);
      EXPECT_EQ(e->SelLength(), 3);
    } else {
      EXPECT_EQ(e->SelectionState(), stHit);
      EXPECT_EQ(e->SelLength(), 0);  // a shown hit selects nothing
      EXPECT_EQ(e->SelText(), "");
    }
    EXPECT_EQ(e->Col(), style == hsCaret ? 1 : 4);
    // Changing the style clears the hit.
    e->SetHitStyle(style == hsSelect ? hsDraw : hsSelect);
    EXPECT_EQ(e->SelectionState(), stNone);
    EXPECT_EQ(e->HitLength(), 0);
  }
}

// ------------------------------------------------------ edit-control queries

TEST(EditorQueryTest, RowsOfOffsetsAndOffsetsOfRows) {
  auto e = MakeEditor("ab\r\ncd\r\nef");
  struct Case {
    int offset;
    int row;
  };
  for (Case c : {Case{0, 0}, {3, 0}, {4, 1}, {7, 1}, {8, 2}, {100, 2}}) {
    EXPECT_EQ(e->LineFromChar(c.offset), c.row) << c.offset;
  }
  e->SetRowCol(1, 1);
  EXPECT_EQ(e->LineFromChar(-1), 1);
  EXPECT_EQ(e->LineIndex(0), 0);
  EXPECT_EQ(e->LineIndex(2), 8);
  EXPECT_EQ(e->LineIndex(3), -1);
  EXPECT_EQ(e->LineIndex(-1), 4);
  EXPECT_EQ(e->LineLength(5), 2);
  EXPECT_EQ(e->LineLength(-1), 2);

  auto f = MakeEditor("ab\r\n");
  EXPECT_EQ(f->LineFromChar(4), 1);
}

TEST(EditorQueryTest, LineLengthOfASelectionCountsTheUnselectedBytes) {
  auto e = MakeEditor("abc\r\ndef");
  e->SetRowCol(0, 1);
  e->StartSelection();
  e->SetRowCol(1, 1);
  e->UpdateSelection();
  EXPECT_EQ(e->LineFromChar(-1), 0);
  EXPECT_EQ(e->LineLength(-1), 3);  // "a" and "ef"
}

TEST(EditorQueryTest, GetLineCopiesAtMostTheBufferSize) {
  auto e = MakeEditor("ab\r\ncdef");
  char buffer[8] = {};
  EXPECT_EQ(e->GetLine(1, buffer, 3), 3);
  EXPECT_EQ(std::string(buffer, 3), "cde");
  EXPECT_EQ(e->GetLine(1, buffer, 8), 4);
  EXPECT_EQ(e->GetLine(2, buffer, 8), 0);
  EXPECT_EQ(e->GetLine(-1, buffer, 8), 0);
}

TEST(EditorQueryTest, PixelsAndOffsets) {
  auto e = MakeEditor("ab\r\ncあd");
  const int w = e->ColWidth(), h = e->RowHeight();
  const int left = e->TextLeft(), top = e->TextTop();
  EXPECT_EQ(e->PosFromChar(5), QPoint(left + w, top + h));
  EXPECT_EQ(e->PosFromChar(7), QPoint(left + 3 * w, top + h));

  int offset = -1, row = -1;
  // Rounded to the nearest column boundary.
  ASSERT_TRUE(e->CharFromPos(QPoint(left + 2 * w + w * 6 / 10, top + h + 1), offset, row));
  EXPECT_EQ(row, 1);
  EXPECT_EQ(offset, 7);
  // A trail column counts as its lead.
  ASSERT_TRUE(e->CharFromPos(QPoint(left + 2 * w + 1, top + h + 1), offset, row));
  EXPECT_EQ(offset, 5);
  EXPECT_FALSE(e->CharFromPos(QPoint(-1, 5), offset, row));

  EXPECT_EQ(e->PixelToRowCol(left + w - 1, top + 2 * h, false), (TRowCol{2, 0}));
  EXPECT_EQ(e->PixelToRowCol(left + w - 1, top, true), (TRowCol{0, 1}));
  // Left of the text area maps below column 0 (before the limit to 0).
  e->SetTopCol(5);
  EXPECT_EQ(e->PixelToRowCol(left - 1, top, false).Col, 4);
}

TEST(EditorQueryTest, ScrollCaretIntoViewPutsTheCaretAThirdIn) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += std::string(300, 'x') + "\r\n";
  auto e = MakeEditor(text, 400, 300);
  e->SetRowCol(150, 250);
  e->ScrollCaretIntoView();
  EXPECT_EQ(e->TopRow(), 150 - e->VisibleRows() / 3);
  EXPECT_EQ(e->TopCol(), 250 - e->VisibleCols() / 3);
}

}  // namespace
}  // namespace kelu
