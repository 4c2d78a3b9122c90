// Searches through the bound regular-expression library, and the editor's
// behaviour without it.
#include "editor/ex/matcher/EditorExSearch.h"

#include <gtest/gtest.h>

#include <chrono>

#include "base/Cp932.h"
#include "base/Sjis.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu {
namespace {

std::string Sj(const char* utf8) {
  return cp932::FromUtf8(utf8);
}

// Start and length of every hit, as "start+length ...".
std::string HitList(const TEditorExSearch& search) {
  std::string out;
  for (const TEditorExHit& h : search.Hits()) {
    if (!out.empty()) out += ' ';
    out += std::to_string(h.Start) + "+" + std::to_string(h.Length);
  }
  return out;
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RegexAvailable()) GTEST_SKIP() << RegexUnavailableText();
  }
  std::string Hits(const std::string& findString, TExSearchOptions options,
                   const std::string& text) {
    search_.SetFindString(findString);
    search_.SetExSearchOptions(options);
    search_.CollectHits(text);
    EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk) << search_.ErrorText();
    return HitList(search_);
  }
  TEditorExSearch search_;
};

TEST_F(SearchTest, HitsInMixedText) {
  struct Case {
    std::string pattern;
    TExSearchOptions options;
    std::string text;
    std::string hits;
  };
  const std::string slashes = Sj("表ソ") + "\\" + Sj("表");  // 95 5C 83 5C 5C 95 5C
  const Case cases[] = {
      // A backslash is the second byte of 表 and ソ: only the real one is hit.
      {"\\", {}, slashes, "5+1"},
      {"\\\\", {soRegexp}, slashes, "5+1"},
      // Escape sequences first, then the syntax: four backslashes typed.
      {"\\\\\\\\", {soRegexp, soEscSeq}, slashes, "5+1"},
      {"[\\\\]", {soRegexp}, slashes, "5+1"},
      // 'A' is the second byte of ア.
      {"a", {}, Sj("アa"), "3+1"},
      {"A", {soMatchCase}, Sj("アA"), "3+1"},
      // Case folding on and off.
      {"abc", {}, "Abc aBC abc", "1+3 5+3 9+3"},
      {"abc", {soMatchCase}, "Abc aBC abc", "9+3"},
      {"[a-c]+", {soRegexp}, "ABC", "1+3"},
      // Literal text is not a regular expression.
      {"a.c", {}, "abc a.c", "5+3"},
      {"a(b", {}, "a(b", "1+3"},
      // Each search starts where the last match ended.
      {"aa", {}, "aaaaa", "1+2 3+2"},
      {Sj("漢字"), {}, Sj("漢字と漢字"), "1+4 7+4"},
      {".", {soRegexp}, Sj("aあ"), "1+1 2+2"},
      // Escape sequences: with soEscSeq "a\tb" is a, TAB, b; "\q" stays.
      {"a\\tb", {soEscSeq}, "xa\tb a\\tb", "2+3"},
      {"a\\tb", {}, "xa\tb a\\tb", "6+4"},
      {"\\q", {soEscSeq}, "x\\q", "2+2"},
      // Whole words.
      {"abc", {soWholeWord}, "abcabc abc xabc", "8+3"},
      {Sj("カナ"), {soWholeWord}, Sj("カナダ カナー カナ"), "8+4 15+4"},
      {Sj("漢字"), {soWholeWord}, Sj("漢字かな 漢字字"), "1+4"},
      {"abc", {soWholeWord}, Sj("abc漢字"), "1+3"},
      // A pattern that can only match the empty string finds nothing.
      {"x*", {soRegexp}, "abc", ""},
      {"^", {soRegexp}, "abc", ""},
      {"(?=b)", {soRegexp}, "abc", ""},
      {"\\b", {soRegexp}, "abc", ""},
      {"b*", {soRegexp}, "abbc", "2+2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Hits(c.pattern, c.options, c.text), c.hits)
        << cp932::ToUtf8(c.pattern) << " in " << cp932::ToUtf8(c.text);
  }
}

TEST_F(SearchTest, GroupsLeaveOutEmptyOnes) {
  search_.SetExSearchOptions({soRegexp});
  search_.SetFindString("(a)(x)?(b)");
  ASSERT_EQ(search_.CollectHits("ab ab"), 2);
  EXPECT_EQ(search_.Hits()[1].Groups, (std::vector<std::string>{"ab", "a", "b"}));
  search_.SetFindString("(x*)(b)");
  ASSERT_EQ(search_.CollectHits("b"), 1);
  EXPECT_EQ(search_.Hits()[0].Groups, (std::vector<std::string>{"b", "b"}));
}

TEST_F(SearchTest, StepsThroughALine) {
  search_.SetExSearchOptions({soRegexp});
  search_.SetFindString("(\\d)x");
  const std::string line = "1x 2x " + std::string(992, '-') + " 3x";  // 3x starts at 1000
  ASSERT_TRUE(search_.FindInLineForward(line, 0, false));
  EXPECT_EQ(search_.FoundStart(), 1);
  EXPECT_EQ(search_.FoundLength(), 2);
  EXPECT_EQ(search_.FoundGroups(), (std::vector<std::string>{"1x", "1"}));
  ASSERT_TRUE(search_.FindInLineForward(line, 2, false));  // from the end of the first hit
  EXPECT_EQ(search_.FoundStart(), 4);
  ASSERT_TRUE(search_.FindInLineForward(line, 5, false));
  EXPECT_EQ(search_.FoundStart(), 1000);
  EXPECT_FALSE(search_.FindInLineForward(line, 1000, true));

  // With word wrap off a hit that starts after byte 1000 is not stepped to.
  const std::string longLine = std::string(1000, '-') + "7x";
  EXPECT_FALSE(search_.FindInLineForward(longLine, 0, false));
  EXPECT_EQ(search_.FoundStart(), 1000);  // unchanged
  ASSERT_TRUE(search_.FindInLineForward(longLine, 0, true));
  EXPECT_EQ(search_.FoundStart(), 1001);
  EXPECT_EQ(search_.Hits().size(), 1u);  // but it is a hit for the display

  ASSERT_TRUE(search_.FindInLineBackward(line, 5000, false));
  EXPECT_EQ(search_.FoundStart(), 1000);
  ASSERT_TRUE(search_.FindInLineBackward(line, 999, false));
  EXPECT_EQ(search_.FoundStart(), 4);
  EXPECT_FALSE(search_.FindInLineBackward(line, 0, false));
}

TEST_F(SearchTest, ReplaceInLine) {
  search_.SetExSearchOptions({soRegexp, soEscSeq});
  search_.SetFindString(Sj("(\\w+)@(\\w+)"));
  TEditorExReplaceRec rec;
  rec.ReplaceText = Sj("\\2の\\1");
  EXPECT_EQ(search_.ReplaceInLine(Sj("to: kelu@example, x@y."), rec), 2);
  EXPECT_EQ(rec.Text, Sj("to: exampleのkelu, yのx."));
  EXPECT_FALSE(rec.Overrun);
  EXPECT_EQ(search_.ReplaceInLine("none", rec), 0);
  EXPECT_EQ(rec.Text, "none");
}

// A text whose first logical line is wrapped over two rows.
class WrappedLines : public TExLineSource {
 public:
  int RowCount() const override { return 4; }
  std::string LogicalLineText(int row) const override {
    static const char* const lines[] = {"abcd", "abcd", "ef", "gh"};
    return row >= 0 && row < 4 ? lines[row] : "";
  }
  int LineFirstRow(int row) const override { return row == 1 ? 0 : row; }
  int LineLastRow(int row) const override { return row == 0 ? 1 : row; }
  bool EndsText(int row) const override { return row >= 3; }
};

TEST(GetLinesText, JoinsLogicalLines) {
  WrappedLines rows;
  EXPECT_EQ(GetLinesText(rows, 1, 1), "abcd\r\nef\r\n");
  EXPECT_EQ(GetLinesText(rows, 0, 0), "abcd\r\n");
  EXPECT_EQ(GetLinesText(rows, 2, 5), "ef\r\ngh");  // no line break after the last line
  EXPECT_EQ(GetLinesText(rows, 3, -1), "ef\r\ngh");
  EXPECT_EQ(GetLinesText(rows, 2, -3), "abcd\r\nef\r\ngh");  // back only as far as the top
}

TEST_F(SearchTest, LineSpanningSearch) {
  const TExLineList text({"xa", "by", "za", "b", "a"});
  struct Case {
    std::string pattern;
    TExSearchOptions options;
  };
  const Case patterns[] = {
      {"a\\r\\nb", {soRegexp, soEscSeq}},  // expanded to CR LF, then read by the syntax
      {"a\\r\\nb", {soRegexp}},            // read by the syntax directly
  };
  for (const Case& c : patterns) {
    search_.SetFindString(c.pattern);
    search_.SetExSearchOptions(c.options);
    ASSERT_TRUE(search_.IsMultiLineSearch());
    EXPECT_EQ(search_.CollectHits("a\r\nb"), 0);  // never underlined

    auto hit = search_.FindAcrossLines(text, 0, 0);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Row, 0);
    EXPECT_EQ(hit->Begin, 1);
    EXPECT_EQ(hit->Length, 4);
    // From one character further: the second one, in the same window.
    hit = search_.FindAcrossLines(text, 0, hit->Begin + 1);
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->Row, 0);
    EXPECT_EQ(hit->Begin, 9);
    // From the line after it: nothing, the last line has no line break.
    EXPECT_FALSE(search_.FindAcrossLines(text, 3, 0));
    EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk);
  }

  // One line at a time, no match can span lines.
  search_.SetFindLineFeedCount(0);  // ignored
  EXPECT_EQ(search_.FindLineFeedCount(), 5);
  search_.SetFindLineFeedCount(1);
  EXPECT_FALSE(search_.FindAcrossLines(text, 0, 0));
  search_.SetFindLineFeedCount(2);
  auto hit = search_.FindAcrossLines(text, 1, 0);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->Row, 2);
  EXPECT_EQ(hit->Begin, 1);

  // Not a line-spanning pattern: FindAcrossLines does nothing.
  search_.SetFindString("a");
  EXPECT_FALSE(search_.FindAcrossLines(text, 0, 0));
}

TEST_F(SearchTest, BadPatternIsReported) {
  search_.SetExSearchOptions({soRegexp});
  search_.SetFindString("a(b");
  EXPECT_EQ(search_.CollectHits("a(b"), 0);
  EXPECT_EQ(search_.Status(), TExSearchStatus::ssBadPattern);
  EXPECT_NE(search_.ErrorText().find("end pattern with unmatched parenthesis"), std::string::npos)
      << search_.ErrorText();
  // Still reported on the next row, without compiling again.
  EXPECT_EQ(search_.CollectHits("a(b"), 0);
  EXPECT_EQ(search_.Status(), TExSearchStatus::ssBadPattern);
  // Mended.
  search_.SetFindString("a(b)");
  EXPECT_EQ(search_.CollectHits("ab"), 1);
  EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk);
  EXPECT_TRUE(search_.ErrorText().empty());
}

TEST_F(SearchTest, CatastrophicPatternIsGivenUp) {
  const std::string as(20000, 'a');
  struct Case {
    std::string pattern;
    bool givenUp;
  };
  const Case cases[] = {
      {"(a*)*b", false},  // the library sees at once that there is no b
      {"(a+)+x", true},
      {"a.*a.*a.*x", true},
      {"(a|aa)+c", true},
  };
  for (const Case& c : cases) {
    search_.SetExSearchOptions({soRegexp});
    search_.SetFindString(c.pattern);
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(search_.CollectHits(as), 0) << c.pattern;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(seconds, 10.0) << c.pattern;  // unbounded, these run for hours
    if (c.givenUp) {
      EXPECT_EQ(search_.Status(), TExSearchStatus::ssGivenUp) << c.pattern;
      EXPECT_NE(search_.ErrorText().find("retry-limit"), std::string::npos) << search_.ErrorText();
    } else {
      EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk) << c.pattern;
    }
  }
  // The next line is searched as usual.
  EXPECT_EQ(search_.CollectHits("aac"), 1);
  EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk);
}

TEST_F(SearchTest, LongLinesAreNotGivenUp) {
  // A literal without case is retried at about every byte; a long line must
  // still be searched to its end.
  std::string line;
  while (line.size() < (2u << 20)) line += Sj("かなabc漢字 ");
  line += "Needle";
  search_.SetFindString("needle");
  search_.SetExSearchOptions({});
  EXPECT_EQ(search_.CollectHits(line), 1);
  EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk) << search_.ErrorText();
  search_.SetFindString("n[e]+dle");
  search_.SetExSearchOptions({soRegexp});
  EXPECT_EQ(search_.CollectHits(line), 1);
  EXPECT_EQ(search_.Status(), TExSearchStatus::ssOk) << search_.ErrorText();
}

// The binding pointed at a file that does not exist.
class MissingLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { BindRegexLibraryForTesting("libkelu-no-such-regex.so.0"); }
  void TearDown() override { BindRegexLibraryForTesting(kRegexLibraryFile); }
};

TEST_F(MissingLibraryTest, NothingIsFoundAndTheReasonIsGiven) {
  EXPECT_FALSE(RegexAvailable());
  EXPECT_NE(RegexUnavailableText().find("libkelu-no-such-regex.so.0"), std::string::npos)
      << RegexUnavailableText();
  EXPECT_EQ(RegexLibraryVersion(), "");
  EXPECT_EQ(RegexLibraryInfo(), "");

  TEditorExSearch search;
  search.SetFindString("a");
  EXPECT_EQ(search.CollectHits("aaa"), 0);
  EXPECT_EQ(search.Status(), TExSearchStatus::ssNoLibrary);
  EXPECT_EQ(search.ErrorText(), RegexUnavailableText());
  EXPECT_FALSE(search.FindInLineForward("aaa", 0, false));
  TEditorExReplaceRec rec;
  rec.ReplaceText = "b";
  EXPECT_EQ(search.ReplaceInLine("aaa", rec), 0);
  EXPECT_EQ(rec.Text, "aaa");
  search.SetExSearchOptions({soRegexp});
  search.SetFindString("a\\r\\nb");
  EXPECT_FALSE(search.FindAcrossLines(TExLineList({"a", "b"}), 0, 0));
  EXPECT_EQ(search.Status(), TExSearchStatus::ssNoLibrary);
}

TEST_F(MissingLibraryTest, CompiledPatternKeepsItsLibrary) {
  BindRegexLibraryForTesting(kRegexLibraryFile);
  if (!RegexAvailable()) GTEST_SKIP() << RegexUnavailableText();
  EXPECT_FALSE(RegexLibraryVersion().empty());
  TEditorExSearch search;
  search.SetFindString("a");
  EXPECT_EQ(search.CollectHits("aba"), 2);
  // The pattern is compiled once: later rows are searched with it even
  // though the binding now points elsewhere ...
  BindRegexLibraryForTesting("libkelu-no-such-regex.so.0");
  EXPECT_EQ(search.CollectHits("aba"), 2);
  // ... until the pattern changes and is compiled again.
  search.SetFindString("b");
  EXPECT_EQ(search.CollectHits("aba"), 0);
  EXPECT_EQ(search.Status(), TExSearchStatus::ssNoLibrary);
}

}  // namespace
}  // namespace kelu
