// A property set and the editor control: taking the settings of one editor
// and giving them to another, folding the text once, and keeping what the
// user has (undo, selection, row marks) when nothing the rows depend on
// changes.
#include "settings/qt/EditorPropEditor.h"

#include <gtest/gtest.h>

#include "EditorExTestSupport.h"
#include "editor/ex/EditorEx.h"

namespace kelu {
namespace {

using test::MakeEditorEx;
using test::Sjis;

TEST(EditorPropEditorTest, AWrappingSetFoldsTheTextAtItsWidth) {
  auto e = MakeEditorEx(std::string(100, 'x') + "\r\nshort\r\n");
  ASSERT_FALSE(e->WordWrap());
  const int rows = e->RowCount();
  TEditorExProp set;
  set.SetWordWrap(true);
  set.WrapOption().SetWrapByte(40);
  AssignToEditor(set, *e);
  EXPECT_TRUE(e->WordWrap());
  EXPECT_EQ(e->WrapOption().WrapByte(), 40);
  EXPECT_EQ(e->RowCount(), rows + 2);
  EXPECT_EQ(e->ScreenStrings().Get(0).size(), 40u);
  EXPECT_EQ(e->ScreenStrings().Get(2).size(), 20u);

  // Unwrapping: the rows go back first, then the options are taken.
  set.SetWordWrap(false);
  set.WrapOption().SetWrapByte(60);
  AssignToEditor(set, *e);
  EXPECT_FALSE(e->WordWrap());
  EXPECT_EQ(e->RowCount(), rows);
  EXPECT_EQ(e->WrapOption().WrapByte(), 60);
}

TEST(EditorPropEditorTest, TheLineFeedCountStaysTheEditors) {
  auto e = MakeEditorEx("abc");
  e->SetFindLineFeedCount(3);
  TEditorExProp set;
  set.SetFindLineFeedCount(9);
  AssignToEditor(set, *e);
  EXPECT_EQ(e->FindLineFeedCount(), 3);
  AssignFromEditor(set, *e);
  EXPECT_EQ(set.FindLineFeedCount(), 9);
}

TEST(EditorPropEditorTest, AnotherEditorShowsWhatTheFirstShows) {
  auto first = MakeEditorEx("class x { // note\r\n\t\"s\"　end\r\n");
  first->SetColor(clCream);
  first->Font().SetName("IPAGothic");
  first->Font().SetSize(12);
  first->View().SetCommenter("//");
  first->View().Colors().Comment().SetColor(clGreen);
  first->View().Colors().Str().SetColor(clMaroon);
  first->Marks().RetMark().SetVisible(true);
  first->Marks().EofMark().SetVisible(true);
  first->ExMarks().DBSpaceMark().SetVisible(true);
  first->ExMarks().TabMark().SetVisible(true);
  first->SetExSearchOptions({soRegexp, soMatchCase});
  first->SetFindString("x");
  first->VerticalLines().Add()->SetPosition(12);
  first->Leftbar().SetVisible(true);
  first->Ruler().SetVisible(true);

  TEditorExProp set;
  AssignFromEditor(set, *first);
  auto other = MakeEditorEx("class x { // note\r\n\t\"s\"　end\r\n");
  AssignToEditor(set, *other);
  EXPECT_EQ(other->Color(), clCream);
  EXPECT_TRUE(other->Font() == first->Font());
  EXPECT_EQ(other->View().Commenter(), "//");
  EXPECT_EQ(other->View().Colors().Comment().Color(), clGreen);
  EXPECT_TRUE(other->Marks().RetMark().Visible());
  EXPECT_TRUE(other->ExMarks().TabMark().Visible());
  EXPECT_EQ(other->ExSearchOptions(), TExSearchOptions({soRegexp, soMatchCase}));
  EXPECT_EQ(other->FindString(), "x");
  ASSERT_EQ(other->VerticalLines().Count(), 1);
  EXPECT_EQ(other->VerticalLines().Item(0).Position(), 12);

  // And they look alike.
  test::Show(*first);
  test::Show(*other);
  EXPECT_EQ(test::Shot(*first), test::Shot(*other));
}

TEST(EditorPropEditorTest, TheSameSettingsAgainKeepUndoSelectionAndMarks) {
  auto e = MakeEditorEx();
  e->SetWordWrap(true);
  e->WrapOption().SetWrapByte(30);
  e->Lines().SetTextStr(Sjis("\t" + std::string(60, 'a') + "\r\n二行目\r\n"));
  e->SetRowCol(0, 0);
  e->InsertChars("z");
  e->PutRowMark(1, 2);
  e->SetRowCol(0, 0);
  e->SetSelLength(4);
  ASSERT_TRUE(e->CanUndo());
  ASSERT_TRUE(e->Selected());
  const std::string text = e->Lines().Text();
  const int rows = e->RowCount();

  TEditorExProp set;
  AssignFromEditor(set, *e);
  AssignToEditor(set, *e);
  // Settings that change no row: colours, marks, the ruler, the font.
  set.SetColor(clAqua);
  set.Font().SetSize(14);
  set.Ruler().SetVisible(true);
  set.Marks().Underline().SetVisible(true);
  set.ExMarks().SpaceMark().SetVisible(true);
  set.Caret().SetStyle(csBrief);
  set.SetExSearchOptions({soRegexp});
  AssignToEditor(set, *e);
  EXPECT_TRUE(e->CanUndo());
  EXPECT_TRUE(e->Selected());
  EXPECT_EQ(e->SelLength(), 4);
  EXPECT_EQ(e->RowCount(), rows);
  EXPECT_NE(e->ScreenStrings().RowMarks(1) & (1u << 2), 0u);
  e->Undo();
  EXPECT_EQ(e->Lines().Text(), Sjis("\t" + std::string(60, 'a') + "\r\n二行目\r\n"));
  EXPECT_NE(text, e->Lines().Text());

  // A change of what the rows are folded by folds them again.
  set.WrapOption().SetWrapByte(20);
  AssignToEditor(set, *e);
  EXPECT_GT(e->RowCount(), rows);
}

}  // namespace
}  // namespace kelu
