// The text work of the search that needs no regular-expression library.
#include "editor/ex/matcher/SearchText.h"

#include <gtest/gtest.h>

#include "base/Cp932.h"

namespace kelu {
namespace {

std::string Sj(const char* utf8) {
  return cp932::FromUtf8(utf8);
}

TEST(ExpandEscapeSequences, Cases) {
  struct Case {
    std::string typed;
    std::string expanded;
  };
  const Case cases[] = {
      {"a\\tb", "a\tb"},
      {"\\r\\n", "\r\n"},
      {"a\\\\b", "a\\b"},
      {"\\q", "\\q"},  // an unknown escape stays as typed
      {"x\\", "x\\"},  // a backslash at the end stays
      {"\\\\t", "\\t"},
      // 表 and ソ end in 5C: their second byte is no escape, and a pending
      // backslash before a double-byte character is kept.
      {Sj("表t") + "\\n", Sj("表t") + "\n"},
      {Sj("ソn"), Sj("ソn")},
      {"\\" + Sj("表"), "\\" + Sj("表")},
  };
  for (const Case& c : cases) EXPECT_EQ(ExpandEscapeSequences(c.typed), c.expanded) << c.typed;
}

TEST(IsMultiLineSearch, NeedsTheFourCharactersAndRegexp) {
  EXPECT_TRUE(IsMultiLineSearch("a\\r\\nb", {soRegexp}));
  EXPECT_FALSE(IsMultiLineSearch("a\\r\\nb", {soEscSeq}));
  EXPECT_FALSE(IsMultiLineSearch("a\\n", {soRegexp, soEscSeq}));
  EXPECT_FALSE(IsMultiLineSearch("a\r\nb", {soRegexp}));
}

// The kind of every byte of `text`, and of the places just outside it, with
// a space after the first and before the last.
std::string Kinds(const std::string& text) {
  std::string kinds;
  for (int i = 0; i <= static_cast<int>(text.size()) + 1; ++i) {
    if (i == static_cast<int>(text.size()) + 1) kinds += ' ';
    kinds += GetCharKind(text, i);
    if (i == 0) kinds += ' ';
  }
  return kinds;
}

TEST(GetCharKind, Kinds) {
  struct Case {
    std::string text;
    std::string kinds;
  };
  const Case cases[] = {
      // Letters, digits, the hyphen and DEL; other punctuation, blanks, controls.
      {"a9-_ \t.\x01\x7f", "0 111000011 0"},
      // Half-width katakana without ｡ and ･; full-width letters; katakana;
      // hiragana; kanji; the long-vowel mark and 、; a single byte 80.
      {Sj("ｱ｡･Ａアあ漢ー、") + "\x80", "0 2003344556600000 0"},
      // A lead byte with nothing after it is a one-byte character of kind 0.
      {"a\x95", "0 10 0"},
      // The second byte of ア is 'A', of ソ a backslash: both belong to the
      // katakana.
      {Sj("アbソ"), "0 44144 0"},
      // A run of bytes that could all be lead bytes: 亜亜 is 88 9F 88 9F.
      {"x" + Sj("亜亜"), "0 16666 0"},
  };
  for (const Case& c : cases) EXPECT_EQ(Kinds(c.text), c.kinds) << cp932::ToUtf8(c.text);
}

TEST(IsWholeWord, AroundKanaKanjiAndAscii) {
  struct Case {
    std::string text;
    std::string word;
    bool whole;
  };
  const Case cases[] = {
      {"x abc.", "abc", true},
      {"xabc", "abc", false},
      {"abc", "abc", true},  // the text's edges count as delimiters
      {Sj("カナダ"), Sj("カナ"), false},
      {Sj("カナー"), Sj("カナ"), true},  // the long-vowel mark ends the word
      {Sj("の カナ。"), Sj("カナ"), true},
      {Sj("abc漢字"), "abc", true},  // a Latin word before a kanji
      {Sj("漢字かな"), Sj("漢字"), true},
      {Sj("漢字かな"), Sj("漢"), false},
      {Sj("ｱｲｳ"), Sj("ｱｲ"), false},
      {Sj("ａｂ１"), Sj("ａｂ"), false},  // full-width digits and letters are one kind
      // 'bc' right after ア, whose trail byte is 'A': still a whole word.
      {Sj("アbc"), "bc", true},
  };
  for (const Case& c : cases) {
    std::size_t at = c.text.find(c.word);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(IsWholeWord(c.text, static_cast<int>(at) + 1, static_cast<int>(c.word.size())),
              c.whole)
        << cp932::ToUtf8(c.text) << " / " << cp932::ToUtf8(c.word);
  }
}

TEST(IsWordDelimiter, TheDoubleByteDelimiters) {
  const std::string all = Sj(
      "　、。，．・：；？！゛゜´｀¨＾￣＿〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈〉《》「」『』【】"
      "＋－±×÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽");
  ASSERT_EQ(all.size(), 2u * 92);
  for (std::size_t i = 0; i < all.size(); i += 2) {
    unsigned code =
        static_cast<unsigned char>(all[i]) << 8 | static_cast<unsigned char>(all[i + 1]);
    EXPECT_TRUE(IsWordDelimiter(code)) << std::hex << code;
  }
  for (const char* other : {"ヽ", "々", "ア", "あ", "漢", "Ａ"}) {
    std::string s = Sj(other);
    unsigned code = static_cast<unsigned char>(s[0]) << 8 | static_cast<unsigned char>(s[1]);
    EXPECT_FALSE(IsWordDelimiter(code)) << other;
  }
}

TEST(ExpandReplaceText, GroupReferences) {
  struct Case {
    std::string replace;
    std::vector<std::string> groups;
    TExSearchOptions options;
    std::string result;
  };
  std::vector<std::string> thirteen;
  for (int i = 0; i < 13; ++i) thirteen.push_back("g" + std::to_string(i));
  const TExSearchOptions both{soRegexp, soEscSeq};
  const Case cases[] = {
      {"[\\1]", {"ab", "a"}, both, "[a]"},
      {"\\0-\\0", {"ab", "a"}, both, "ab-ab"},
      // Two groups, the first matched nothing: the second group's text is
      // entry 1, so \2 stays.
      {"\\1\\2", {"b", "b"}, both, "b\\2"},
      // Downwards: \12 is group 12, not group 1 followed by '2'.
      {"\\12|\\1", thirteen, both, "g12|g1"},
      {"\\12", {"ab", "a"}, both, "a2"},
      // Only with both options.
      {"[\\1]", {"ab", "a"}, {soRegexp}, "[\\1]"},
      {"[\\1]", {"ab", "a"}, {soEscSeq}, "[\\1]"},
      // The 5C of 表 followed by '1' is no reference.
      {Sj("表1\\1"), {"ab", "a"}, both, Sj("表1a")},
  };
  for (const Case& c : cases) {
    TEditorExHit hit{1, 2, c.groups};
    EXPECT_EQ(ExpandReplaceText(c.replace, hit, c.options), c.result) << c.replace;
  }
}

TEST(ReplaceHits, RebuildsTheLine) {
  const TExSearchOptions both{soRegexp, soEscSeq};
  bool overrun = true;
  std::vector<TEditorExHit> hits = {{2, 1, {"1"}}, {4, 2, {"22", "2"}}};
  EXPECT_EQ(ReplaceHits("a1b22c", hits, "<\\1>", both, overrun), "a<\\1>b<2>c");
  EXPECT_FALSE(overrun);
  hits = {{1, 2, {"ab"}}, {5, 2, {"ef"}}};
  EXPECT_EQ(ReplaceHits("abcdef", hits, "#", {}, overrun), "#cd#");
  EXPECT_FALSE(overrun);
  EXPECT_EQ(ReplaceHits("abc", {}, "#", {}, overrun), "abc");
  // A hit that runs past the end of the line (the line changed since).
  hits = {{2, 5, {"bcdef"}}};
  EXPECT_EQ(ReplaceHits("abc", hits, "#", {}, overrun), "a#");
  EXPECT_TRUE(overrun);
}

TEST(SelectHit, ForwardAndBackwardWithTheLineLimit) {
  const std::vector<TEditorExHit> hits = {{1, 2, {}}, {5, 2, {}}, {1001, 2, {}}, {1005, 2, {}}};
  struct Case {
    int offset;
    bool wrap;
    int forward;
    int backward;
  };
  const Case cases[] = {
      {0, false, 0, -1},    {1, false, 1, 0},  // backward takes a hit that starts before the offset
      {4, false, 1, 0},                        // a hit at the offset itself is found forward
      {5, false, -1, 1},                       // the next hit starts after byte 1000
      {5, true, 2, 1},      {1004, true, 3, 2},
      {1200, false, -1, 1},  // backward: offset taken as 1000
      {1200, true, -1, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SelectHitForward(hits, c.offset, c.wrap), c.forward) << c.offset << " " << c.wrap;
    EXPECT_EQ(SelectHitBackward(hits, c.offset, c.wrap), c.backward) << c.offset << " " << c.wrap;
  }
  EXPECT_EQ(SelectHitForward({}, 0, true), -1);
}

}  // namespace
}  // namespace kelu
