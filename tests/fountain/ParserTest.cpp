// The base parser: tokens of one row, brackets, and the row-to-row state.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "tests/fountain/FountainTestSupport.h"

namespace kelu {
namespace {

using test::ChainStates;
using test::FillRows;
using test::PlainFountain;
using test::RowTexts;
using test::S;
using test::Tok;
using test::Tokens;

struct TokenCase {
  const char* name;
  std::string row;  // Shift-JIS
  std::vector<Tok> tokens;
};

class BaseTokens : public ::testing::TestWithParam<TokenCase> {};

TEST_P(BaseTokens, Row) {
  PlainFountain fountain;
  auto parser = fountain.CreateParser();
  EXPECT_EQ(Tokens(*parser, GetParam().row), GetParam().tokens);
}

std::vector<TokenCase> BaseCases() {
  return {
      {"identifiers_and_symbols",
       "a_1 _b+c9",
       {{ttAnk, "a_1"}, {ttAnk, "_b"}, {ttSymbol, "+"}, {ttAnk, "c9"}}},
      {"blanks_and_controls_belong_to_no_token",
       " \x01\x08 x \x0b\x1f y",
       {{ttAnk, "x"}, {ttAnk, "y"}}},
      {"tab_is_a_token", "a\t\tb", {{ttAnk, "a"}, {ttTab, "\t"}, {ttTab, "\t"}, {ttAnk, "b"}}},
      {"nul_ends_the_row", std::string("ab\0cd", 5), {{ttAnk, "ab"}}},
      {"lf_ends_the_row", "ab\ncd", {{ttAnk, "ab"}}},
      {"cr_ends_the_row", "ab \r\ncd", {{ttAnk, "ab"}}},
      {"integer", "123", {{ttInteger, "123"}}},
      {"fraction", "1.25", {{ttFloat, "1.25"}}},
      {"point_then_letter", "1.x", {{ttFloat, "1"}, {ttSymbol, "."}, {ttAnk, "x"}}},
      {"trailing_point", "7.", {{ttFloat, "7"}, {ttSymbol, "."}}},
      {"exponent", "1e5 2E-3 4e+", {{ttFloat, "1e5"}, {ttFloat, "2E-3"}, {ttFloat, "4e+"}}},
      {"point_exponent", "1.e5", {{ttFloat, "1.e5"}}},
      {"fraction_exponent", "3.5e10x", {{ttFloat, "3.5e10"}, {ttAnk, "x"}}},
      {"two_points", "1.2.3", {{ttFloat, "1.2"}, {ttSymbol, "."}, {ttInteger, "3"}}},
      {"full_width_digits",
       S("\x82\x50\x82\x51\x81\x44\x82\x52\x81\x43\x82\x53" /* １２．３，４ */),
       {{ttDBDigits, S("\x82\x50\x82\x51\x81\x44\x82\x52\x81\x43\x82\x53" /* １２．３，４ */)}}},
      {"full_width_comma_first_is_a_symbol",
       S("\x81\x43\x82\x50" /* ，１ */),
       {{ttDBSymbol, S("\x81\x43" /* ， */)}, {ttDBDigits, S("\x82\x50" /* １ */)}}},
      {"full_width_letters",
       S("\x82\x60\x82\x9A\x82\x61" /* ＡｚＢ */),
       {{ttDBLetters, S("\x82\x60\x82\x9A\x82\x61" /* ＡｚＢ */)}}},
      {"hiragana_with_marks",
       S("\x82\xE7\x81\x5B\x82\xDF\x82\xF1\x81\x7C\x82\xBE" /* らーめん－だ */),
       {{ttHiragana, S("\x82\xE7\x81\x5B\x82\xDF\x82\xF1\x81\x7C\x82\xBE" /* らーめん－だ */)}}},
      {"katakana_with_marks",
       S("\x83\x89\x81\x5B\x83\x81\x83\x93" /* ラーメン */),
       {{ttKatakana, S("\x83\x89\x81\x5B\x83\x81\x83\x93" /* ラーメン */)}}},
      {"long_vowel_first_is_a_symbol",
       S("\x81\x5B\x83\x41" /* ーア */),
       {{ttDBSymbol, S("\x81\x5B" /* ー */)}, {ttKatakana, S("\x83\x41" /* ア */)}}},
      {"kana_groups_split",
       S("\x82\xA9\x82\xC8\x83\x4A\x83\x69" /* かなカナ */),
       {{ttHiragana, S("\x82\xA9\x82\xC8" /* かな */)},
        {ttKatakana, S("\x83\x4A\x83\x69" /* カナ */)}}},
      {"kanji_run",
       S("\x8A\xBF\x8E\x9A\x95\xCF\x8A\xB7" /* 漢字変換 */),
       {{ttKanji, S("\x8A\xBF\x8E\x9A\x95\xCF\x8A\xB7" /* 漢字変換 */)}}},
      {"double_byte_symbols",
       S("\x81\x41\x81\x42\x83\xB6" /* 、。Ω */),
       {{ttDBSymbol, S("\x81\x41" /* 、 */)},
        {ttDBSymbol, S("\x81\x42" /* 。 */)},
        {ttDBSymbol, S("\x83\xB6" /* Ω */)}}},
      {"half_width_kana",
       S("\xA1\xB1\xB2\xB3\xA3" /* ｡ｱｲｳ｣ */),
       {{ttKanaSymbol, S("\xA1" /* ｡ */)},
        {ttKana, S("\xB1\xB2\xB3" /* ｱｲｳ */)},
        {ttKanaSymbol, S("\xA3" /* ｣ */)}}},
      {"mixed",
       S("x=\x8A\xBF\x8E\x9A"
         "1" /* x=漢字1 */),
       {{ttAnk, "x"},
        {ttSymbol, "="},
        {ttKanji, S("\x8A\xBF\x8E\x9A" /* 漢字 */)},
        {ttInteger, "1"}}},
      // The base parser starts no mail, URL, comment or string.
      {"no_mail_or_url",
       "a@b.c http:",
       {{ttAnk, "a"},
        {ttSymbol, "@"},
        {ttAnk, "b"},
        {ttSymbol, "."},
        {ttAnk, "c"},
        {ttAnk, "http"},
        {ttSymbol, ":"}}},
      {"lone_lead_byte_with_low_trail",
       "\x82\x30x",
       {{ttDBSymbol, "\x82"}, {ttInteger, "0"}, {ttAnk, "x"}}},
      {"katakana_lead_with_high_trail_keeps_the_pair",
       "\x83\xF5z",
       {{ttDBSymbol, "\x83\xF5"}, {ttAnk, "z"}}},
      {"kanji_lead_with_low_trail", "\x88\x30", {{ttKanji, "\x88"}, {ttInteger, "0"}}},
  };
}

INSTANTIATE_TEST_SUITE_P(Parser, BaseTokens, ::testing::ValuesIn(BaseCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Parser, EndOfTheViewEndsTheRowAndOffsetsCountFromItsStart) {
  PlainFountain fountain;
  auto parser = fountain.CreateParser();
  const std::string buffer = "xx  abc def";
  std::string_view row = std::string_view(buffer).substr(4, 5);  // "abc d"
  parser->Start(row, FirstRowState(raBreak));
  ASSERT_EQ(parser->NextToken(), ttAnk);
  EXPECT_EQ(parser->TokenStart(), 0);
  EXPECT_EQ(parser->TokenLength(), 3);
  ASSERT_EQ(parser->NextToken(), ttAnk);
  EXPECT_EQ(parser->TokenStart(), 4);
  EXPECT_EQ(parser->TokenText(), "d");
  EXPECT_EQ(parser->NextToken(), ttEnd);
  EXPECT_EQ(parser->NextToken(), ttEnd);
}

TEST(Parser, ReserveWordsCompareWithoutCaseButNotForContinuedTokens) {
  PlainFountain fountain;
  TStringList words;
  words.Add("begin");
  fountain.SetReserveWordList(words);
  auto parser = fountain.CreateParser();
  parser->Start("BEGIN beginx", FirstRowState(raBreak));
  parser->NextToken();
  EXPECT_TRUE(parser->IsReserveWord());
  parser->NextToken();
  EXPECT_FALSE(parser->IsReserveWord());

  TRowAttributeData state = FirstRowState(raBreak);
  state.WrappedToken = ttAnk;  // "begin" goes on from the row before
  parser->Start("begin", state);
  EXPECT_EQ(parser->NextToken(), ttAnk);
  EXPECT_TRUE(parser->IsWrappedToken());
  EXPECT_FALSE(parser->IsReserveWord());
}

// ------------------------------------------------------------ brackets

class BracketRows : public ::testing::Test {
 protected:
  void SetUp() override {
    TFountainBracketItem* item = fountain.Brackets().Add();
    item->SetLeftBracket("/*");
    item->SetRightBracket("*/");
    item = fountain.Brackets().Add();
    item->SetLeftBracket("{");
    item->SetRightBracket("}");
    parser = fountain.CreateParser();
  }
  PlainFountain fountain;
  std::unique_ptr<TFountainParser> parser;
  TEditorStringList rows;
};

TEST_F(BracketRows, BracketOpenAtTheRowEndGoesOnInTheNextRow) {
  FillRows(rows, {{"a /* b", raBreak}, {"c */ d", raBreak}, {"e", raEnd}});
  auto states = ChainStates(*parser, rows);
  EXPECT_EQ(states[1].BracketIndex, 0);
  EXPECT_EQ(states[1].WrappedToken, 0);
  EXPECT_EQ(Tokens(*parser, rows.View(0), states[0]),
            (std::vector<Tok>{{ttAnk, "a"}, {ttBracket, "/* b"}}));
  EXPECT_EQ(Tokens(*parser, rows.View(1), states[1]),
            (std::vector<Tok>{{ttBracket, "c */"}, {ttAnk, "d"}}));
  EXPECT_EQ(states[2].BracketIndex, -1);
}

TEST_F(BracketRows, RightBracketCutByTheWrapLeavesOneByteToClose) {
  FillRows(rows, {{"a /* b *", raWrap}, {"/ c", raBreak}, {"d", raEnd}});
  auto states = ChainStates(*parser, rows);
  EXPECT_EQ(states[1].BracketIndex, 0);
  EXPECT_EQ(states[1].WrappedToken, ttBracket);
  EXPECT_EQ(states[1].Remain, 1);
  parser->Start(rows.View(1), states[1]);
  ASSERT_EQ(parser->NextToken(), ttBracket);
  EXPECT_EQ(parser->TokenText(), "/");
  EXPECT_EQ(parser->LatestBracketIndex(), 0);
  EXPECT_EQ(parser->BracketIndex(), -1);
  ASSERT_EQ(parser->NextToken(), ttAnk);
  EXPECT_EQ(parser->TokenText(), "c");
  EXPECT_EQ(states[2].BracketIndex, -1);
  EXPECT_EQ(states[2].WrappedToken, 0);
}

TEST_F(BracketRows, UnclosedBracketAcrossWrappedRowsStaysOpen) {
  FillRows(rows, {{"x /* a", raWrap}, {"b", raWrap}, {"*", raBreak}, {"c */ d", raBreak}});
  auto states = ChainStates(*parser, rows);
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(states[r].BracketIndex, 0) << r;
    EXPECT_EQ(states[r].WrappedToken, 0) << r;
    EXPECT_EQ(states[r].Remain, 0) << r;
  }
  EXPECT_EQ(Tokens(*parser, rows.View(2), states[2]), (std::vector<Tok>{{ttBracket, "*"}}));
  EXPECT_EQ(Tokens(*parser, rows.View(3), states[3]),
            (std::vector<Tok>{{ttBracket, "c */"}, {ttAnk, "d"}}));
}

TEST_F(BracketRows, BracketsOpenAndCloseInOneRowAndInCollectionOrder) {
  EXPECT_EQ(
      Tokens(*parser, "a{b}c/*{*/d"),
      (std::vector<Tok>{
          {ttAnk, "a"}, {ttBracket, "{b}"}, {ttAnk, "c"}, {ttBracket, "/*{*/"}, {ttAnk, "d"}}));
  // A bracket item with no right bracket ends the row after its left one.
  fountain.Brackets().Items(1)->SetRightBracket("");
  auto fresh = fountain.CreateParser();
  EXPECT_EQ(Tokens(*fresh, "a{b}c"), (std::vector<Tok>{{ttAnk, "a"}}));
  FillRows(rows, {{"a{b}c", raBreak}, {"d", raEnd}});
  EXPECT_EQ(ChainStates(*fresh, rows)[1].BracketIndex, -1);
}

TEST_F(BracketRows, StateOfARowNotComputedYetStartsOutsideBrackets) {
  TRowAttributeData state = FirstRowState(raBreak);
  state.BracketIndex = -2;
  EXPECT_EQ(Tokens(*parser, "a */", state),
            (std::vector<Tok>{{ttAnk, "a"}, {ttSymbol, "*"}, {ttSymbol, "/"}}));
  state.BracketIndex = 9;  // an item that no longer exists
  EXPECT_TRUE(Tokens(*parser, "a", state).empty());
}

// --------------------------------------------------------------- RowStep

// A blank row passes the state on; only a token cut by a soft wrap ends
// when the blank row is the last of its line (the next line starts outside
// it, as after any other last row).
TEST_F(BracketRows, BlankRowsPassTheStateOn) {
  FillRows(rows, {{"", raBreak}, {"   ", raBreak}, {"  ", raWrap}, {"x", raEnd}});
  for (int row : {0, 1, 2}) {
    TRowAttributeData state = FirstRowState(raBreak);
    state.RowAttribute = rows.RowAttributes(row);
    state.BracketIndex = 1;
    state.WrappedToken = ttAnk;
    state.Remain = 3;
    state.ExtIndex = 7;
    TRowAttributeData expected = state;
    if (row != 2) {
      expected.WrappedToken = 0;
      expected.Remain = 0;
    }
    parser->RowStep(row, rows, state);
    EXPECT_EQ(state, expected) << row;
  }
}

TEST_F(BracketRows, TokenCutByTheWrapCarriesItsKindAndLength) {
  TStringList words;
  words.Add("begin");
  fountain.SetReserveWordList(words);
  struct Case {
    RowTexts rows;
    int wrapped, remain;
  };
  const Case cases[] = {
      {{{"x abc", raWrap}, {"def y", raBreak}}, ttAnk, 3},
      {{{"x abc", raWrap}, {"def", raBreak}}, ttAnk, 3},
      {{{"x abc", raWrap}, {"def", raWrap}, {"g", raBreak}}, ttAnk, 0},  // scanned on
      {{{"x 12.", raWrap}, {"5 y", raBreak}}, ttFloat, 1},
      {{{"x beg", raWrap}, {"in y", raBreak}}, ttReserve, 2},
      {{{"x " + S("\x82\xA9\x82\xC8" /* かな */), raWrap},
        {S("\x82\xA9\x82\xC8" /* かな */) + "y", raBreak}},
       ttHiragana,
       4},
      {{{"x abc", raWrap}, {" def", raBreak}}, 0, 0},  // the cut falls between tokens
      {{{"x abc ", raWrap}, {"def", raBreak}}, 0, 0},
  };
  for (const Case& c : cases) {
    FillRows(rows, c.rows);
    auto states = ChainStates(*parser, rows);
    EXPECT_EQ(states[1].WrappedToken, c.wrapped) << rows[0];
    EXPECT_EQ(states[1].Remain, c.remain) << rows[0];
    EXPECT_EQ(states[1].BracketIndex, -1) << rows[0];
  }
  FillRows(rows, {{"x beg", raWrap}, {"in y", raBreak}});
  EXPECT_EQ(Tokens(*parser, rows.View(1), ChainStates(*parser, rows)[1]),
            (std::vector<Tok>{{ttReserve, "in"}, {ttAnk, "y"}}));
}

TEST_F(BracketRows, RemainThatWouldNotFitTheRowStateIsLeftToScanning) {
  std::string tail(300, 'b');
  FillRows(rows, {{"a", raWrap}, {tail + " c", raBreak}});
  auto states = ChainStates(*parser, rows);
  EXPECT_EQ(states[1].WrappedToken, ttAnk);
  EXPECT_EQ(states[1].Remain, 0);
  EXPECT_EQ(Tokens(*parser, rows.View(1), states[1]),
            (std::vector<Tok>{{ttAnk, tail}, {ttAnk, "c"}}));
}

// A painter that takes each row with the state RowStep chained to it ends
// each row with the same open bracket that RowStep hands to the next row.
TEST_F(BracketRows, RowStepAgreesWithThePainterOverADocument) {
  RowTexts texts;
  std::mt19937 random(7);
  const char* pieces[] = {"a", " ", "/*", "*/", "{", "}", "x1", "*", "/", "\t", "\x88\x9f"};
  for (int r = 0; r < 400; ++r) {
    std::string text;
    for (int n = random() % 8; n > 0; --n) text += pieces[random() % std::size(pieces)];
    texts.push_back({text, r == 399 ? raEnd : raBreak});
  }
  FillRows(rows, texts);
  auto states = ChainStates(*parser, rows);
  for (int r = 0; r + 1 < rows.Count(); ++r) {
    parser->Start(rows.View(r), states[r]);
    while (parser->NextToken() != ttEnd) {
    }
    EXPECT_EQ(parser->BracketIndex(), states[r + 1].BracketIndex) << "row " << r << ": " << rows[r];
    EXPECT_EQ(states[r + 1].WrappedToken, 0);
  }
}

// ------------------------------------------- the row end is never passed

// Every byte value as the last byte of an exactly sized heap row (so that
// the sanitizer build sees any read past it), through every start method and
// every continuation method of the base and the editor parser.
TEST(ParserBounds, NoMethodReadsPastTheRow) {
  TEditorFountain fountain;
  fountain.SetCommenter("//");
  fountain.SetQuotation(S("\x81\x75" /* 「 */));
  fountain.SetHexPrefix("0x");
  fountain.SetControlCode(true);
  fountain.SetMail(true);
  fountain.SetUrl(true);
  TFountainBracketItem* item = fountain.Brackets().Add();
  item->SetLeftBracket("\x81");  // a lead byte as left bracket
  item->SetRightBracket("\x81\x76");
  PlainFountain plain;
  auto parsers = {fountain.CreateParser(), plain.CreateParser()};

  const char* prefixes[] = {
      "",     "a",    "1",     "1.",       "1e",   "#",    "#$",   "0x", "//", "\x81", "a@b",
      "a@b.", "www.", "http:", "\x82\x9f", "\x83", "\x88", "\xa6", "\"", "'",  "\t"};
  for (const auto& parser : parsers) {
    for (const char* prefix : prefixes) {
      for (int last = 1; last < 256; ++last) {
        const std::size_t size = std::strlen(prefix) + 1;
        auto buffer = std::make_unique<char[]>(size);
        std::memcpy(buffer.get(), prefix, size - 1);
        buffer[size - 1] = static_cast<char>(last);
        const std::string_view row(buffer.get(), size);
        for (int wrapped = 0; wrapped <= ttHexCode; ++wrapped) {
          for (int bracket : {-1, 0}) {
            for (int remain : {0, 300}) {
              TRowAttributeData state = FirstRowState(raBreak);
              state.WrappedToken = static_cast<std::uint8_t>(wrapped);
              state.BracketIndex = bracket;
              state.Remain = remain;
              parser->Start(row, state);
              int tokens = 0;
              while (parser->NextToken() != ttEnd && ++tokens <= 64) {
                ASSERT_LE(static_cast<std::size_t>(parser->TokenStart() + parser->TokenLength()),
                          size);
                parser->TokenColor();
                parser->IsReserveWord();
              }
              ASSERT_LE(tokens, static_cast<int>(size) + 1);
            }
          }
        }
      }
    }
  }
}

// RowStep joins a wrapped row with the next one: a lead byte at the end of
// the last row of a text and of a wrapped row both stay inside the rows.
TEST(ParserBounds, RowStepOverRowsEndingInLeadBytes) {
  TEditorFountain fountain;
  fountain.SetCommenter("//");
  fountain.SetQuotation("\"");
  fountain.SetMail(true);
  TFountainBracketItem* item = fountain.Brackets().Add();
  item->SetLeftBracket("/*");
  item->SetRightBracket("*/");
  auto parser = fountain.CreateParser();
  TEditorStringList rows;
  for (const char* first : {"\x81", "a\x88", "/*\x82", "\"\x83", "a@b\x9f", "//\xfc"}) {
    for (TRowAttribute attribute : {raWrap, raBreak}) {
      FillRows(rows, {{first, attribute}, {"\xe0", raEnd}});
      auto states = ChainStates(*parser, rows);
      TRowAttributeData next = states[1];
      parser->RowStep(1, rows, next);
      EXPECT_LE(states[1].Remain, 1);
    }
  }
}

}  // namespace
}  // namespace kelu
