// The page editor's search over its rows: find-next from hit to hit in each
// hit style, logical lines wrapped over several rows, the line-spanning
// search, and what is reported when nothing can be searched.
#include <gtest/gtest.h>

#include <chrono>

#include "EditorExTestSupport.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu {
namespace {

using test::MakeEditorEx;
using test::Sjis;

// "row:byte+length" of the hit or selection shown.
std::string Shown(const TEditorEx& e) {
  const TSelectionRange& s = e.Selection();
  return std::to_string(s.StrRow) + ":" + std::to_string(s.StrByte) + "+" +
         std::to_string(std::max(e.HitLength(), e.SelLength()));
}

// FindNext from the caret until it fails: every hit shown, in order.
std::string Steps(TEditorEx& e) {
  std::string out;
  for (int i = 0; i < 50 && e.FindNext(); ++i) {
    if (!out.empty()) out += ' ';
    out += Shown(e);
  }
  return out;
}

class EditorExSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RegexAvailable()) GTEST_SKIP() << RegexUnavailableText();
  }
};

TEST_F(EditorExSearchTest, FindNextStepsThroughMixedText) {
  struct Case {
    const char* text;  // UTF-8
    const char* pattern;
    TExSearchOptions options;
    const char* hits;
  };
  const Case cases[] = {
      // A backslash is the second byte of 表 and ソ: only the real ones are
      // hit, literal or as a regular expression (four typed backslashes
      // with escape sequences: two after expanding, one for the syntax).
      {"表ソ\\表\r\nソ\\x", "\\", {}, "0:4+1 1:2+1"},
      {"表ソ\\表\r\nソ\\x", "\\\\", {soRegexp}, "0:4+1 1:2+1"},
      {"表ソ\\表\r\nソ\\x", "\\\\\\\\", {soRegexp, soEscSeq}, "0:4+1 1:2+1"},
      {"表ソ\\表\r\nソ\\x", "ソ", {}, "0:2+2 1:0+2"},
      // Letters in either case, or with case.
      {"Abc aBC\r\nabc", "abc", {}, "0:0+3 0:4+3 1:0+3"},
      {"Abc aBC\r\nabc", "abc", {soMatchCase}, "1:0+3"},
      {"Abc aBC\r\nabc", "a[b]C", {soRegexp}, "0:0+3 0:4+3 1:0+3"},
      // Letters around other characters; full-width letters as they are.
      {"x\r\n検索vETRA\r\n検 索Vetra\r\nの検索VetraX", "検索Vetra", {}, "1:0+9 3:2+9"},
      {"x\r\n検索vETRA\r\n検 索Vetra\r\nの検索VetraX", "検索Vetra", {soMatchCase}, "3:2+9"},
      {"ａｂｃ\r\nＡＢＣ表ａｂｃ", "表ａｂｃ", {}, "1:6+8"},
      // Whole words: kinds of character change at word ends; the long-vowel
      // mark ends a katakana word.
      {"カナダ カナー\r\nひらかな かなカナ", "カナ", {soWholeWord}, "0:7+4 1:13+4"},
      {"ひらかな かなカナ\r\n漢字かな 新漢字", "かな", {soWholeWord}, "0:9+4 1:4+4"},
      {"漢字かな 新漢字\r\nabc漢字 xabc", "漢字", {soWholeWord}, "0:0+4 1:3+4"},
      {"漢字かな 新漢字\r\nabc漢字 xabc", "abc", {soWholeWord}, "1:0+3"},
      // Escape sequences.
      {"a\tb a\\tb", "a\\tb", {soEscSeq}, "0:0+3"},
      {"a\tb a\\tb", "a\\tb", {}, "0:4+4"},
      {"a\tb a\\qb", "a\\qb", {soEscSeq}, "0:4+4"},
      // Nothing to find.
      {"abc", "", {}, ""},
      {"abc", "x*", {soRegexp}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.pattern) + " in " + c.text);
    auto e = MakeEditorEx(c.text);
    e->SetExSearchOptions(c.options);
    e->SetFindString(Sjis(c.pattern));
    EXPECT_EQ(Steps(*e), c.hits);
    EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssOk) << e->SearchErrorText();
    EXPECT_EQ(e->FoundFlg(), *c.hits != '\0');
  }
}

TEST_F(EditorExSearchTest, FindNextStepsPastTheShownHitInEachHitStyle) {
  struct Case {
    TEditorHitStyle style;
    TSelectionState state;
    bool caretAtStart;  // the caret stands at the hit's start, else at its end
  };
  for (const Case c : {Case{hsSelect, stSelected, false}, Case{hsDraw, stHit, false},
                       Case{hsCaret, stHit, true}}) {
    SCOPED_TRACE(static_cast<int>(c.style));
    auto e = MakeEditorEx("ab ab\r\nab\r\nx");
    e->SetHitStyle(c.style);
    e->SetFindString("ab");
    const TRowCol expected[] = {{0, 0}, {0, 3}, {1, 0}};
    for (TRowCol hit : expected) {
      // The first one stands exactly at the caret.
      ASSERT_TRUE(e->FindNext());
      EXPECT_EQ(e->SelectionState(), c.state);
      EXPECT_EQ(e->Selection().StrRow, hit.Row);
      EXPECT_EQ(e->Selection().StrCol, hit.Col);
      EXPECT_EQ(e->HitLength(), 2);
      EXPECT_EQ(e->Row(), hit.Row);
      EXPECT_EQ(e->Col(), c.caretAtStart ? hit.Col : hit.Col + 2);
      EXPECT_EQ(e->FoundStart(), hit.Col + 1);
    }
    // No wrapping around: the caret and the hit stay.
    EXPECT_FALSE(e->FindNext());
    EXPECT_EQ(e->Row(), 1);
    EXPECT_EQ(e->Col(), c.caretAtStart ? 0 : 2);
    EXPECT_EQ(e->SelectionState(), c.state);
    EXPECT_TRUE(e->FoundFlg());
  }
}

// A pattern typed in Unicode goes through the document's codec: characters
// the document holds through its table are found, and only they.
TEST_F(EditorExSearchTest, ForeignCharactersAreFoundThroughTheDocumentsCodec) {
  auto e = MakeEditorEx();
  TTextCodec codec;
  e->Lines().SetTextStr(codec.FromUtf8("a\xF0\x9F\x98\x80 \xC3\xA9 \xF0\x9F\x98\x80\r\n"
                                       "\xEE\x80\x80 \xF0\x9F\x98\x80"));
  e->SetCodec(codec);
  e->SetRowCol(0, 0);
  e->SetFindString(e->Codec().FromUtf8("\xF0\x9F\x98\x80"));  // 😀
  EXPECT_EQ(Steps(*e), "0:1+2 0:7+2 1:3+2");
  e->SetRowCol(0, 0);
  e->SetFindString(e->Codec().FromUtf8("\xEE\x80\x80"));  // U+E000 has a code of its own
  EXPECT_EQ(Steps(*e), "1:0+2");
}

TEST_F(EditorExSearchTest, FindNextStartsAtTheCaret) {
  auto e = MakeEditorEx("ab ab ab\r\nab");
  e->SetFindString("ab");
  e->SetRowCol(0, 1);
  EXPECT_EQ(Steps(*e), "0:3+2 0:6+2 1:0+2");
  e->CleanSelection();
  e->SetRowCol(1, 1);
  EXPECT_FALSE(e->FindNext());
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 1);
}

// One logical line wrapped over two rows, the hit across the wrap.
TEST_F(EditorExSearchTest, HitsInWrappedLogicalLines) {
  auto e = MakeEditorEx("");
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  const std::string line = std::string(18, 'x') + "hit" + std::string(10, 'y');
  e->Lines().SetTextStr(line + "\r\nhit");
  ASSERT_EQ(e->RowCount(), 3);
  ASSERT_EQ(e->LineIndex(1), 20) << "the line is wrapped after 20 bytes";

  EXPECT_EQ(e->LineFirstRow(1), 0);
  EXPECT_EQ(e->LineLastRow(0), 1);
  EXPECT_EQ(e->LineFirstRow(2), 2);
  EXPECT_EQ(e->LineLastRow(7), 7);  // outside the text: unchanged
  EXPECT_EQ(e->GetLogicalLineText(1), line);
  EXPECT_EQ(e->GetLinesText(1, 1), line + "\r\nhit");
  EXPECT_EQ(e->GetLinesText(2, -1), line + "\r\nhit");

  // Any row of the logical line stands for all of it.
  e->SetFindString("hit");
  EXPECT_EQ(e->CollectHits(1), 1);
  EXPECT_EQ(e->Hits()[0].Start, 19);

  // Found from the first row and from the second (the caret's offset in the
  // logical line counts the rows before it).
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(e->Selection().StrRow, 0);
  EXPECT_EQ(e->Selection().StrByte, 18);
  EXPECT_EQ(e->Selection().EndRow, 1);
  EXPECT_EQ(e->SelText(), "hit");
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 1);
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(Shown(*e), "2:0+3");

  e->CleanSelection();
  e->SetRowCol(0, 5);
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(Shown(*e), "0:18+3");
  // From inside the hit (the caret's offset in the line is 20): the next one.
  e->CleanSelection();
  e->SetRowCol(1, 0);
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(Shown(*e), "2:0+3");

  // Backward and replacing work on the whole logical line too.
  ASSERT_TRUE(e->FindInLineBackward(1, 25));
  EXPECT_EQ(e->FoundStart(), 19);
  TEditorExReplaceRec rec;
  rec.RowIndex = 1;
  rec.ReplaceText = "HIT";
  EXPECT_EQ(e->ReplaceInLine(rec), 1);
  EXPECT_EQ(rec.Text, std::string(18, 'x') + "HIT" + std::string(10, 'y'));
  EXPECT_EQ(e->GetLogicalLineText(0), line);  // the editor's text is not changed
}

TEST_F(EditorExSearchTest, LineSpanningSearchSelectsAcrossTheLineBreak) {
  auto e = MakeEditorEx("xa\r\nby\r\na\r\nb\r\n表a\r\nz");
  e->SetExSearchOptions({soRegexp, soEscSeq});
  e->SetFindString("a\\r\\nb");
  ASSERT_TRUE(e->IsMultiLineSearch());
  EXPECT_EQ(e->CollectHits(0), 0);  // never underlined

  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(e->SelectionState(), stSelected);  // a plain selection, whatever the hit style
  EXPECT_EQ(e->Selection().StrRow, 0);
  EXPECT_EQ(e->Selection().StrByte, 1);
  EXPECT_EQ(e->Selection().EndRow, 1);
  EXPECT_EQ(e->SelText(), "a\r\nb");
  EXPECT_FALSE(e->FoundFlg());
  // Again: one character past the selection's start, the next one.
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(e->Selection().StrRow, 2);
  EXPECT_EQ(e->SelText(), "a\r\nb");
  EXPECT_FALSE(e->FindNext());

  // One line at a time nothing can span lines.
  e->CleanSelection();
  e->SetRowCol(0, 0);
  e->SetFindLineFeedCount(1);
  EXPECT_FALSE(e->FindNext());
  e->SetFindLineFeedCount(0);  // ignored
  EXPECT_EQ(e->FindLineFeedCount(), 1);

  // Without escape sequences the syntax reads \r\n itself.
  e->SetFindLineFeedCount(5);
  e->SetExSearchOptions({soRegexp});
  e->SetFindString(Sjis("(b|表)a?\\r\\n"));
  e->SetRowCol(3, 0);
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(e->SelText(), "b\r\n");
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(e->SelText(), Sjis("表a\r\n"));
  EXPECT_FALSE(e->FindNext());
}

TEST_F(EditorExSearchTest, WhatCannotBeSearchedIsReported) {
  auto e = MakeEditorEx(std::string(20000, 'a') + "\r\nax\r\na(b");
  e->SetRowCol(0, 5);
  e->SetExSearchOptions({soRegexp});

  e->SetFindString("a(b");
  EXPECT_FALSE(e->FindNext());
  EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssBadPattern);
  EXPECT_NE(e->SearchErrorText().find("unmatched parenthesis"), std::string::npos)
      << e->SearchErrorText();
  EXPECT_EQ(e->CollectHits(2), 0);
  EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssBadPattern);

  // Backtracking without end is given up on the long line, and find-next
  // stops there instead of trying every following line the same way.
  e->SetFindString("(a+)+x");
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_FALSE(e->FindNext());
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 10.0);
  EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssGivenUp);
  EXPECT_FALSE(e->SearchErrorText().empty());
  EXPECT_EQ(e->Row(), 0);
  EXPECT_EQ(e->Col(), 5);
  EXPECT_EQ(e->SelectionState(), stNone);
  // The next line alone is searched as usual.
  EXPECT_EQ(e->CollectHits(1), 1);
  EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssOk);

  // A literal pattern never fails to compile.
  e->SetExSearchOptions({});
  e->SetFindString("a(b");
  ASSERT_TRUE(e->FindNext());
  EXPECT_EQ(Shown(*e), "2:0+3");
}

TEST(EditorExWithoutLibraryTest, NothingIsFoundAndTheReasonIsGiven) {
  BindRegexLibraryForTesting("libkelu-no-such-regex.so.0");
  {
    auto e = MakeEditorEx("abc\r\nabc");
    EXPECT_FALSE(e->RegexAvailable());
    EXPECT_EQ(e->RegexLibraryVersion(), "");
    EXPECT_EQ(e->RegexLibraryInfo(), "");
    e->SetFindString("b");
    EXPECT_FALSE(e->FindNext());
    EXPECT_FALSE(e->FoundFlg());
    EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssNoLibrary);
    EXPECT_NE(e->SearchErrorText().find("libkelu-no-such-regex.so.0"), std::string::npos)
        << e->SearchErrorText();
    EXPECT_EQ(e->CollectHits(0), 0);
    e->SetExSearchOptions({soRegexp, soEscSeq});
    e->SetFindString("c\\r\\na");
    EXPECT_FALSE(e->FindNext());
    EXPECT_EQ(e->SelectionState(), stNone);
    // Painting the hits finds nothing and does not fail.
    e->ExMarks().FindMark().SetVisible(true);
    e->SetFindString("b");
    test::Show(*e);
    EXPECT_FALSE(test::Shot(*e).isNull());
  }
  BindRegexLibraryForTesting(kRegexLibraryFile);
  auto e = MakeEditorEx("abc");
  if (!e->RegexAvailable()) GTEST_SKIP() << RegexUnavailableText();
  EXPECT_FALSE(e->RegexLibraryVersion().empty());
  e->SetFindString("b");
  EXPECT_TRUE(e->FindNext());
}

TEST(EditorExTest, ConstructionDefaultsAndPublishedProperties) {
  auto e = MakeEditorEx();
  EXPECT_EQ(e->Caret().SelDragMode(), dmManual);
  EXPECT_EQ(e->FindLineFeedCount(), 5);
  EXPECT_EQ(e->ExSearchOptions(), TExSearchOptions{});
  EXPECT_FALSE(e->FoundFlg());
  EXPECT_FALSE(e->ExMarks().Indicated());
  EXPECT_EQ(e->VerticalLines().Count(), 0);
  EXPECT_EQ(e->DroppedFiles().Count(), 0);

  const TClassInfo* info = e->ClassInfo();
  for (const char* name : {"ExMarks", "VerticalLines", "ExSearchOptions", "FindLineFeedCount",
                           "OpenFileName", "MojiCode", "ChangedFlg", "RedoFlg", "Caret", "Font"}) {
    EXPECT_TRUE(info->Find(name)) << name;
  }
  // The options as a set property, stored as their bits.
  const TPropInfo* options = info->Find("ExSearchOptions");
  options->SetOrd(*e, TExSearchOptions{soRegexp, soEscSeq}.Bits());
  EXPECT_EQ(e->ExSearchOptions(), (TExSearchOptions{soRegexp, soEscSeq}));
  EXPECT_EQ(options->Type->ValueName(1), "soRegexp");
  info->Find("MojiCode")->SetStr(*e, "UTF8N");
  EXPECT_EQ(e->MojiCode(), "UTF8N");
  info->Find("FindLineFeedCount")->SetOrd(*e, 0);  // ignored
  EXPECT_EQ(e->FindLineFeedCount(), 5);
}

}  // namespace
}  // namespace kelu
