// How changes of the editor control's settings reach it, and its published
// properties.
#include <gtest/gtest.h>

#include "EditorTestSupport.h"
#include "editor/fountain/EditorFountain.h"

namespace kelu {
namespace {

using test::MakeEditor;
using test::Sjis;

// An editor with something to undo.
std::unique_ptr<TEditor> EditedEditor() {
  auto e = MakeEditor("abc\r\ndef\r\n");
  e->ScreenStrings().ReplaceRows(0, 1, "xyz\r\n");
  EXPECT_TRUE(e->CanUndo());
  return e;
}

TEST(EditorSettingsRoutingTest, NotifyingCaretChangesEmptyTheUndoList) {
  struct Case {
    const char* name;
    void (*change)(TEditorCaret&);
    bool empties;
  };
  const Case cases[] = {
      {"TabSpaceCount", [](TEditorCaret& c) { c.SetTabSpaceCount(4); }, true},
      {"Style", [](TEditorCaret& c) { c.SetStyle(csBrief); }, true},
      {"Assign", [](TEditorCaret& c) { c.Assign(TEditorCaret()); }, true},
      {"same TabSpaceCount", [](TEditorCaret& c) { c.SetTabSpaceCount(9); }, false},
      {"SoftTab", [](TEditorCaret& c) { c.SetSoftTab(true); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = EditedEditor();
    c.change(e->Caret());
    EXPECT_EQ(e->CanUndo(), !c.empties);
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
