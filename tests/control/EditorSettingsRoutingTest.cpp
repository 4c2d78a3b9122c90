// How changes of the editor control's settings reach it, and its published
// properties.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/fountain/EditorFountain.h"

namespace kelu {
namespace {

using test::MakeEditor;
using test::Sjis;

// The undo history, the selection and the row marks survive every settings
// change that leaves the rows as they are; only folding the rows again
// (which changes them) starts a new history.
TEST(EditorSettingsRoutingTest, OnlyChangedRowsEmptyTheUndoList) {
  struct Case {
    const char* name;
    bool wordWrap;
    void (*change)(TEditor&);
    bool rowsChange;
  };
  const Case cases[] = {
      {"TabSpaceCount", false, [](TEditor& e) { e.Caret().SetTabSpaceCount(4); }, false},
      {"Style", false, [](TEditor& e) { e.Caret().SetStyle(csBrief); }, false},
      {"Assign the same caret", true, [](TEditor& e) { e.Caret().Assign(TEditorCaret()); }, false},
      {"SoftTab", false, [](TEditor& e) { e.Caret().SetSoftTab(true); }, false},
      {"Assign the same wrap options", true,
       [](TEditor& e) {
         TEditorWrapOption same;
         same.Assign(e.WrapOption());
         e.SetWrapOption(same);
       },
       false},
      {"the same word wrap", true, [](TEditor& e) { e.SetWordWrap(true); }, false},
      {"the same hit style", false, [](TEditor& e) { e.SetHitStyle(hsSelect); }, false},
      {"a wrap option while not wrapping", false,
       [](TEditor& e) { e.WrapOption().SetWrapByte(30); }, false},
      {"the wrap width", true, [](TEditor& e) { e.WrapOption().SetWrapByte(30); }, true},
      {"the tab width while wrapping", true, [](TEditor& e) { e.Caret().SetTabSpaceCount(2); },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor();
    e->SetWordWrap(c.wordWrap);
    e->Lines().SetTextStr("\t" + std::string(74, 'a') + "\r\ndef\r\n");
    e->ScreenStrings().ReplaceRows(e->RowCount() - 1, 1, "xyz\r\n");
    e->PutRowMark(0, 3);
    e->SetRowCol(0, 0);
    e->SetSelLength(3);
    ASSERT_TRUE(e->CanUndo());
    ASSERT_TRUE(e->Selected());
    const int rows = e->RowCount();
    c.change(*e);
    EXPECT_EQ(e->CanUndo(), !c.rowsChange);
    EXPECT_EQ(e->Selected(), !c.rowsChange);
    EXPECT_EQ(e->RowCount() != rows, c.rowsChange);
    EXPECT_NE(e->ScreenStrings().RowMarks(0) & (1u << 3), 0u);
  }
}

TEST(EditorSettingsRoutingTest, TheTabWidthChangesTheColumns) {
  auto e = MakeEditor("\tx");
  EXPECT_EQ(e->RowEndCol(0), 9);
  e->Caret().SetTabSpaceCount(4);
  EXPECT_EQ(e->RowEndCol(0), 5);
  EXPECT_EQ(e->ColumnMap(Sjis("a\tb")), "12331");
}

TEST(EditorSettingsRoutingTest, MetricsFollowTheSettings) {
  auto e = MakeEditor();
  e->Leftbar().SetVisible(false);
  e->Ruler().SetVisible(false);
  const int rowHeight = e->RowHeight(), colWidth = e->ColWidth();
  EXPECT_EQ(e->TextTop(), e->Margin().Top());
  EXPECT_EQ(e->TextLeft(), e->Margin().Left() + e->Imagebar().Width());
  e->Margin().SetLine(3);
  EXPECT_EQ(e->RowHeight(), rowHeight + 3);
  e->Marks().Underline().SetVisible(true);
  EXPECT_EQ(e->RowHeight(), rowHeight + 4);
  EXPECT_EQ(e->Margin().UnderlineGap(), 1);
  e->Margin().SetCharacter(2);
  EXPECT_EQ(e->ColWidth(), colWidth + 2);
  e->Ruler().SetVisible(true);
  EXPECT_EQ(e->TextTop(), e->Margin().Top() + 11);
  e->Ruler().SetEdge(false);
  EXPECT_EQ(e->TextTop(), e->Margin().Top() + 10);
  e->Leftbar().SetVisible(true);
  EXPECT_EQ(e->LeftbarWidth(), 8 + 4 * e->ColWidth() + 4 + 2);
  EXPECT_EQ(e->TextLeft(), e->Margin().Left() + e->Imagebar().Width() + e->LeftbarWidth());
  e->Imagebar().SetVisible(false);
  EXPECT_EQ(e->TextLeft(), e->Margin().Left() + e->LeftbarWidth());
}

TEST(EditorSettingsRoutingTest, VisibleRowsAndColumnsFollowTheSize) {
  auto e = MakeEditor({}, 400, 300);
  test::Show(*e);
  const int rows = (300 - e->TextTop() - 5) / e->RowHeight();
  const int cols = (400 - e->TextLeft() - e->ColWidth() / 2) / e->ColWidth();
  EXPECT_EQ(e->VisibleRows(), rows);
  EXPECT_EQ(e->VisibleCols(), cols);
  e->SetScrollBars(ssBoth);
  EXPECT_LT(e->VisibleRows(), rows + 1);
  EXPECT_LT(e->VisibleCols(), cols);
  e->resize(400, 10);
  QApplication::processEvents();
  EXPECT_EQ(e->VisibleRows(), 1);
}

TEST(EditorSettingsRoutingTest, UndoListMaxIsAtLeast64) {
  auto e = MakeEditor();
  e->SetUndoListMax(10);
  EXPECT_EQ(e->UndoListMax(), 64);
  e->SetUndoListMax(100);
  EXPECT_EQ(e->UndoListMax(), 100);
}

// A change inside the view's fountain re-colours the rows.
TEST(EditorSettingsRoutingTest, FountainChangesReparseTheRows) {
  auto e = MakeEditor("a /* b\r\nc */ d\r\ne");
  auto bracketOf = [&](int row) { return e->ScreenStrings().BracketIndexes(row); };
  EXPECT_EQ(bracketOf(1), -1);
  auto* item = e->View().Brackets().Add();
  item->SetLeftBracket("/*");
  item->SetRightBracket("*/");
  EXPECT_EQ(bracketOf(1), 0);  // row 1 starts inside the bracket
  // The reserved words through the control's property, and assigned into
  // directly as property copies do.
  TStringList words;
  words.Add("foo");
  e->SetReserveWordList(words);
  EXPECT_EQ(e->View().Fountain().ReserveWordList().GetCount(), 1);
  e->ScreenStrings().SetRowState(2, TRowAttributeData{});
  e->ScreenStrings().SetBracketIndexes(2, -2);
  words.Add("bar");
  e->ReserveWordList().Assign(words);
  EXPECT_NE(bracketOf(2), -2);
}

TEST(EditorSettingsRoutingTest, AnAttachedFountainIsForgottenWhenDestroyed) {
  auto e = MakeEditor("(* a\r\nb *)\r\nc");
  {
    TEditorFountain fountain;
    auto* item = fountain.Brackets().Add();
    static_cast<TFountainBracketItem*>(item)->SetLeftBracket("(*");
    static_cast<TFountainBracketItem*>(item)->SetRightBracket("*)");
    e->SetFountain(&fountain);
    EXPECT_EQ(&e->ActiveFountain(), &fountain);
    EXPECT_EQ(e->ScreenStrings().BracketIndexes(1), 0);
    fountain.Colors().Int().SetColor(clRed);  // reaches the control, no crash
  }
  EXPECT_EQ(e->Fountain(), nullptr);
  EXPECT_EQ(&e->ActiveFountain(), &e->View().Fountain());
  EXPECT_EQ(e->ScreenStrings().BracketIndexes(1), -1);
  test::Show(*e);
}

TEST(EditorSettingsRoutingTest, PublishedPropertiesCopySettingsBetweenEditors) {
  auto from = MakeEditor();
  auto to = MakeEditor("abc");
  from->SetColor(clCream);
  from->SetHitStyle(hsDraw);
  from->SetScrollBars(ssVertical);
  from->Ruler().SetVisible(true);
  from->Caret().SetTabSpaceCount(4);
  from->View().SetCommenter(";");
  from->WrapOption().SetWrapByte(40);
  from->SetWordWrap(true);
  TStringList words;
  words.Add("begin");
  from->SetReserveWordList(words);
  const TClassInfo* info = from->ClassInfo();
  ASSERT_NE(info, nullptr);
  for (const char* name :
       {"Caret", "Color", "Font", "HitStyle", "Ruler", "ScrollBars", "View", "WordWrap",
        "WrapOption", "ReserveWordList", "Marks", "Margin", "Leftbar", "Imagebar", "Speed"}) {
    const TPropInfo* p = info->Find(name);
    ASSERT_NE(p, nullptr) << name;
    if (p->Kind() == TTypeKind::tkClass) {
      p->GetObj(*to)->Assign(*p->GetObj(*from));
    } else {
      p->SetOrd(*to, p->GetOrd(*from));
    }
  }
  EXPECT_EQ(to->Color(), clCream);
  EXPECT_EQ(to->HitStyle(), hsDraw);
  EXPECT_EQ(to->ScrollBars(), ssVertical);
  EXPECT_TRUE(to->Ruler().Visible());
  EXPECT_EQ(to->Caret().TabSpaceCount(), 4);
  EXPECT_EQ(to->View().Commenter(), ";");
  EXPECT_EQ(to->WrapOption().WrapByte(), 40);
  EXPECT_TRUE(to->WordWrap());
  EXPECT_EQ(to->ReserveWordList().GetCount(), 1);
}

TEST(EditorSharingTest, EditorsSharingRowsSeeEachOthersChangesAndOutliveEachOther) {
  auto first = MakeEditor("abc\r\ndef\r\nghi");
  auto second = MakeEditor("other");
  second->ShareLines(first.get());
  EXPECT_EQ(&second->ScreenStrings(), &first->ScreenStrings());
  EXPECT_EQ(second->Lines().GetTextStr(), "abc\r\ndef\r\nghi");
  int changes = 0;
  struct Counter {
    int* n;
    void Hit(TObject*) { ++*n; }
  } counter{&changes};
  second->OnChange = TNotifyEvent::Of<&Counter::Hit>(&counter);
  first->Lines().Put(1, "DEF");
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(second->Modified());
  // Each keeps its own caret and selection.
  second->SetRowCol(2, 1);
  first->SetRowCol(0, 2);
  EXPECT_EQ(second->Row(), 2);
  second->SetSel(0, 3);
  EXPECT_FALSE(first->Selected());
  // A text that shrinks keeps every caret on the rows.
  first->Lines().SetTextStr("x");
  EXPECT_EQ(second->Row(), 0);
  // The list lives as long as an editor shows it.
  first.reset();
  EXPECT_EQ(second->Lines().GetTextStr(), "x");
  second->Lines().Add("y");
  test::Show(*second);
  EXPECT_EQ(second->Lines().GetTextStr(), "x\r\ny");
}

}  // namespace
}  // namespace kelu
