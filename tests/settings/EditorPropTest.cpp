// Property sets: copying between sets, the design values, and the order in
// which a set is given to an editor (through a stand-in with the editor's
// published properties; the real control is tested with the widgets).
#include "settings/EditorProp.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "SettingsTestSupport.h"
#include "base/Exceptions.h"
#include "settings/EditorPropAssign.h"

namespace kelu {
namespace {

using test::Sjis;

TEST(EditorPropTest, SetsCopyEverythingButTheLineFeedCount) {
  TEditorExProp a;
  a.SetColor(clYellow);
  a.Caret().SetTabSpaceCount(4);
  a.Font().SetName(Sjis("ＭＳ ゴシック"));
  a.SetHitStyle(hsCaret);
  a.Leftbar().SetVisible(true);
  a.Marks().EofMark().SetVisible(true);
  a.ReserveWordList().Add("begin");
  a.SetScrollBars(ssBoth);
  a.View().Colors().Comment().SetColor(clGreen);
  a.SetWordWrap(true);
  a.WrapOption().SetWrapByte(40);
  a.FileExtList().Add("txt");
  a.ExMarks().TabMark().SetVisible(true);
  a.SetFindString(Sjis("検索"));
  a.SetExSearchOptions({soRegexp, soWholeWord});
  a.VerticalLines().Add()->SetPosition(15);
  a.SetFindLineFeedCount(9);

  TEditorExProp b;
  b.Assign(a);
  TEditorExProp c;
  a.AssignTo(c);
  for (TEditorExProp* s : {&b, &c}) {
    EXPECT_EQ(s->Color(), clYellow);
    EXPECT_EQ(s->Caret().TabSpaceCount(), 4);
    EXPECT_EQ(s->Font().Name(), Sjis("ＭＳ ゴシック"));
    EXPECT_EQ(s->HitStyle(), hsCaret);
    EXPECT_TRUE(s->Leftbar().Visible());
    EXPECT_TRUE(s->Marks().EofMark().Visible());
    EXPECT_EQ(s->ReserveWordList().Count(), 1);
    EXPECT_EQ(s->ScrollBars(), ssBoth);
    EXPECT_EQ(s->View().Colors().Comment().Color(), clGreen);
    EXPECT_TRUE(s->WordWrap());
    EXPECT_EQ(s->WrapOption().WrapByte(), 40);
    EXPECT_TRUE(s->HasExtension("TXT"));
    EXPECT_TRUE(s->ExMarks().TabMark().Visible());
    EXPECT_EQ(s->FindString(), Sjis("検索"));
    EXPECT_EQ(s->ExSearchOptions(), TExSearchOptions({soRegexp, soWholeWord}));
    ASSERT_EQ(s->VerticalLines().Count(), 1);
    EXPECT_EQ(s->VerticalLines().Item(0).Position(), 15);
    EXPECT_EQ(s->FindLineFeedCount(), 5);
    // Owned, not shared.
    EXPECT_NE(&s->Caret(), &a.Caret());
  }

  // A plain set takes the editor part of an extended one.
  TEditorProp plain;
  plain.Assign(a);
  EXPECT_EQ(plain.WrapOption().WrapByte(), 40);

  // Nothing else can be assigned.
  TFont font;
  EXPECT_THROW(b.Assign(font), EConvertError);
}

TEST(EditorPropTest, TheDesignValues) {
  TEditorExProp set;
  set.SetWordWrap(true);
  set.Leftbar().SetVisible(true);
  set.VerticalLines().Add();
  SetStoredDesignValues(set);
  EXPECT_EQ(set.Color(), clWindow);
  EXPECT_EQ(set.Font().Name(), "FixedSys");
  EXPECT_EQ(set.Font().Height(), -12);
  EXPECT_EQ(set.Font().Size(), 9);
  EXPECT_EQ(set.Font().Charset(), SHIFTJIS_CHARSET);
  EXPECT_EQ(set.Font().Color(), clWindowText);
  EXPECT_TRUE(set.Caret().AutoIndent());
  EXPECT_EQ(set.Caret().SelDragMode(), dmAutomatic);
  EXPECT_EQ(set.Caret().TabSpaceCount(), 8);
  EXPECT_EQ(set.HitStyle(), hsSelect);
  EXPECT_TRUE(set.Imagebar().Visible());
  EXPECT_FALSE(set.Leftbar().Visible());
  EXPECT_EQ(set.Leftbar().BkColor(), clSilver);
  EXPECT_EQ(set.Margin().Left(), 19);
  EXPECT_FALSE(set.Ruler().Visible());
  EXPECT_EQ(set.ScrollBars(), ssNone);
  EXPECT_EQ(set.View().Brackets().Count(), 0);
  EXPECT_EQ(set.View().Colors().Select().BkColor(), clNavy);
  EXPECT_EQ(set.View().Colors().Select().Color(), clWhite);
  EXPECT_EQ(set.View().Colors().Comment().Color(), clNone);
  EXPECT_FALSE(set.WordWrap());
  EXPECT_EQ(set.WrapOption().WrapByte(), 80);
  EXPECT_EQ(set.WrapOption().FollowStr(),
            Sjis("、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』!),.:;?]}｡｣､･ｰﾞﾟ"));
  EXPECT_EQ(set.WrapOption().LeadStr(), Sjis("（［｛「『([{｢"));
  EXPECT_EQ(set.WrapOption().PunctuationStr(), Sjis("、。，．,.｡､"));
  EXPECT_FALSE(set.ExMarks().Indicated());
  EXPECT_EQ(set.ExMarks().Hit().Color(), clNone);
  EXPECT_EQ(set.ExSearchOptions(), TExSearchOptions());
  EXPECT_EQ(set.FindLineFeedCount(), 5);
  EXPECT_EQ(set.VerticalLines().Count(), 0);
}

// An editor as the copying sees it: the settings objects and a log of the
// calls that matter for the order; a setter can be made to fail.
struct TStandInEditor {
  TColor color = clWhite;
  TEditorCaret caret;
  TFont font;
  TEditorHitStyle hitStyle = hsSelect;
  TEditorImagebar imagebar;
  TEditorLeftbar leftbar;
  TEditorMargin margin;
  TEditorMarks marks;
  TStringList reserveWordList;
  TEditorRuler ruler;
  TScrollStyle scrollBars = ssNone;
  TEditorSpeed speed;
  TEditorViewInfo view;
  bool wordWrap = false;
  TEditorWrapOption wrapOption;
  TEditorExMarks exMarks;
  std::string findString;
  TExSearchOptions exSearchOptions;
  TVerticalLines verticalLines{nullptr};
  int findLineFeedCount = 5;
  std::vector<std::string> log;
  bool failMarks = false;

  TColor Color() const { return color; }
  void SetColor(TColor v) { color = v; }
  TEditorCaret& Caret() { return caret; }
  void SetCaret(const TEditorCaret& v) { caret.Assign(v); }
  TFont& Font() { return font; }
  void SetFont(const TFont& v) { font.Assign(v); }
  TEditorHitStyle HitStyle() const { return hitStyle; }
  void SetHitStyle(TEditorHitStyle v) { hitStyle = v; }
  TEditorImagebar& Imagebar() { return imagebar; }
  void SetImagebar(const TEditorImagebar& v) { imagebar.Assign(v); }
  TEditorLeftbar& Leftbar() { return leftbar; }
  void SetLeftbar(const TEditorLeftbar& v) { leftbar.Assign(v); }
  TEditorMargin& Margin() { return margin; }
  void SetMargin(const TEditorMargin& v) { margin.Assign(v); }
  TEditorMarks& Marks() { return marks; }
  void SetMarks(const TEditorMarks& v) {
    if (failMarks) throw std::runtime_error("marks");
    marks.Assign(v);
  }
  TStringList& ReserveWordList() { return reserveWordList; }
  void SetReserveWordList(const TStrings& v) { reserveWordList.Assign(v); }
  TEditorRuler& Ruler() { return ruler; }
  void SetRuler(const TEditorRuler& v) { ruler.Assign(v); }
  TScrollStyle ScrollBars() const { return scrollBars; }
  void SetScrollBars(TScrollStyle v) { scrollBars = v; }
  TEditorSpeed& Speed() { return speed; }
  void SetSpeed(const TEditorSpeed& v) { speed.Assign(v); }
  TEditorViewInfo& View() { return view; }
  void SetView(const TEditorViewInfo& v) { view.Assign(v); }
  bool WordWrap() const { return wordWrap; }
  void SetWordWrap(bool v) {
    log.push_back(v ? "WordWrap=True" : "WordWrap=False");
    wordWrap = v;
  }
  TEditorWrapOption& WrapOption() { return wrapOption; }
  void SetWrapOption(const TEditorWrapOption& v) {
    log.push_back("WrapOption");
    wrapOption.Assign(v);
  }
  TEditorExMarks& ExMarks() { return exMarks; }
  void SetExMarks(const TEditorExMarks& v) { exMarks.Assign(v); }
  const std::string& FindString() const { return findString; }
  void SetFindString(std::string_view v) { findString = v; }
  TExSearchOptions ExSearchOptions() const { return exSearchOptions; }
  void SetExSearchOptions(TExSearchOptions v) { exSearchOptions = v; }
  TVerticalLines& VerticalLines() { return verticalLines; }
  void SetVerticalLines(const TVerticalLines& v) { verticalLines.Assign(v); }
};

TEST(EditorPropTest, WrapOptionsComeBeforeWrappingOnAndAfterWrappingOff) {
  TEditorExProp set;
  set.SetWordWrap(true);
  TStandInEditor editor;
  CopyPropToEditorEx(set, editor);
  EXPECT_EQ(editor.log, (std::vector<std::string>{"WrapOption", "WordWrap=True"}));
  set.SetWordWrap(false);
  editor.log.clear();
  CopyPropToEditorEx(set, editor);
  EXPECT_EQ(editor.log, (std::vector<std::string>{"WordWrap=False", "WrapOption"}));
}

TEST(EditorPropTest, ACopyFromOneEditorToAnotherShowsTheSameSettings) {
  TStandInEditor first;
  first.color = clBlack;
  first.font.SetName("IPAGothic");
  first.marks.RetMark().SetVisible(true);
  first.view.Colors().Str().SetColor(clRed);
  first.exSearchOptions = {soMatchCase};
  first.verticalLines.Add()->SetColor(clLime);
  first.findString = "x";
  first.findLineFeedCount = 8;
  TEditorExProp set;
  CopyEditorExToProp(set, first);
  TStandInEditor other;
  CopyPropToEditorEx(set, other);
  EXPECT_EQ(other.color, clBlack);
  EXPECT_EQ(other.font.Name(), "IPAGothic");
  EXPECT_TRUE(other.marks.RetMark().Visible());
  EXPECT_EQ(other.view.Colors().Str().Color(), clRed);
  EXPECT_EQ(other.exSearchOptions, TExSearchOptions({soMatchCase}));
  ASSERT_EQ(other.verticalLines.Count(), 1);
  EXPECT_EQ(other.verticalLines.Item(0).Color(), clLime);
  EXPECT_EQ(other.findString, "x");
  // The editor's line feed count is not the set's business.
  EXPECT_EQ(other.findLineFeedCount, 5);
}

TEST(EditorPropTest, AFailingSetterEndsThatPartOfTheCopyingQuietly) {
  TEditorExProp set;
  set.SetColor(clRed);
  set.Ruler().SetVisible(true);
  set.ExMarks().DBSpaceMark().SetVisible(true);
  TStandInEditor editor;
  editor.failMarks = true;
  CopyPropToEditorEx(set, editor);
  EXPECT_EQ(editor.color, clRed);           // before the failure
  EXPECT_FALSE(editor.ruler.Visible());     // after it
  EXPECT_TRUE(editor.exMarks.DBSpaceMark().Visible());  // the extended part goes on
}

}  // namespace
}  // namespace kelu
