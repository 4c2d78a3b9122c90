// The editor fountain: its settings, its parser's token order and colours,
// and the colours as a painter sees them across soft wraps.
#include "editor/fountain/EditorFountain.h"

#include <gtest/gtest.h>

#include "base/Sjis.h"

#include "tests/fountain/FountainTestSupport.h"

namespace kelu {
namespace {

using test::ChainStates;
using test::FillRows;
using test::S;
using test::Tok;
using test::Tokens;

struct Counter {
  int calls = 0;
  void Handle(TObject*) { ++calls; }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Counter::Handle>(this); }
};

struct EditorCase {
  const char* name;
  void (*setup)(TEditorFountain&);
  std::string row;
  std::vector<Tok> tokens;
};

class EditorTokens : public ::testing::TestWithParam<EditorCase> {};

TEST_P(EditorTokens, Row) {
  TEditorFountain fountain;
  GetParam().setup(fountain);
  auto parser = fountain.CreateParser();
  EXPECT_EQ(Tokens(*parser, GetParam().row), GetParam().tokens);
}

void Nothing(TEditorFountain&) {}
void MailOn(TEditorFountain& f) {
  f.SetMail(true);
}
void UrlOn(TEditorFountain& f) {
  f.SetUrl(true);
}
void MailAndUrlOn(TEditorFountain& f) {
  f.SetMail(true);
  f.SetUrl(true);
}
void SlashComment(TEditorFountain& f) {
  f.SetCommenter("//");
}
void MailAndSlashComment(TEditorFountain& f) {
  f.SetMail(true);
  f.SetCommenter("//");
}
void UrlAndHttpComment(TEditorFountain& f) {
  f.SetUrl(true);
  f.SetCommenter("http");
}
void DoubleQuote(TEditorFountain& f) {
  f.SetQuotation("\"x");
}  // only the first character counts
void KagiQuote(TEditorFountain& f) {
  f.SetQuotation(S("\x81\x76" /* 」 */));
}
void ControlCodes(TEditorFountain& f) {
  f.SetControlCode(true);
}
void HexPrefix0x(TEditorFountain& f) {
  f.SetHexPrefix("0x");
}
void ControlCodesAndDollarPrefix(TEditorFountain& f) {
  f.SetControlCode(true);
  f.SetHexPrefix("$");
}

std::vector<EditorCase> EditorCases() {
  return {
      {"mail", MailOn, "to abc@example.com.", {{ttAnk, "to"}, {ttMail, "abc@example.com."}}},
      {"no_point_after_at_is_no_mail",
       MailOn,
       "abc@example",
       {{ttAnk, "abc"}, {ttSymbol, "@"}, {ttAnk, "example"}}},
      {"mail_off",
       Nothing,
       "a@b.c",
       {{ttAnk, "a"}, {ttSymbol, "@"}, {ttAnk, "b"}, {ttSymbol, "."}, {ttAnk, "c"}}},
      {"mail_cannot_start_with_at", MailOn, "@a.b@c.d", {{ttSymbol, "@"}, {ttMail, "a.b@c.d"}}},
      {"urls",
       UrlOn,
       "http://x.jp/a?b=1#c https://y ftp:z www.k htt:",
       {{ttUrl, "http://x.jp/a?b=1#c"},
        {ttUrl, "https://y"},
        {ttUrl, "ftp:z"},
        {ttUrl, "www.k"},
        {ttAnk, "htt"},
        {ttSymbol, ":"}}},
      {"url_off", Nothing, "www.k", {{ttAnk, "www"}, {ttSymbol, "."}, {ttAnk, "k"}}},
      {"mail_before_url", MailAndUrlOn, "www.x@y.z", {{ttMail, "www.x@y.z"}}},
      {"mail_before_comment",
       MailAndSlashComment,
       "//a@b.c x // c",
       {{ttMail, "//a@b.c"}, {ttAnk, "x"}, {ttComment, "// c"}}},
      {"url_before_comment",
       UrlAndHttpComment,
       "http://a http x",
       {{ttUrl, "http://a"}, {ttComment, "http x"}}},
      {"comment_to_the_row_end",
       SlashComment,
       S("a // \x8A\xBF\x8E\x9A \"x" /* a // 漢字 \"x */),
       {{ttAnk, "a"}, {ttComment, S("// \x8A\xBF\x8E\x9A \"x" /* // 漢字 \"x */)}}},
      {"quotation_with_doubled_quote",
       DoubleQuote,
       "a \"b \"\"c\"\" d\" e",
       {{ttAnk, "a"}, {ttQuotation, "\"b \"\"c\"\" d\""}, {ttAnk, "e"}}},
      {"unclosed_quotation_runs_to_the_end", DoubleQuote, "\"ab", {{ttQuotation, "\"ab"}}},
      {"double_byte_quotation_character",
       KagiQuote,
       S("\x81\x76\x82\xA0\x81\x75\x81\x76x" /* 」あ「」x */),
       {{ttQuotation, S("\x81\x76\x82\xA0\x81\x75\x81\x76" /* 」あ「」 */)}, {ttAnk, "x"}}},
      {"control_codes",
       ControlCodes,
       "#$1fG #12a #",
       {{ttHexCode, "#$1f"},
        {ttAnk, "G"},
        {ttDecimalCode, "#12"},
        {ttAnk, "a"},
        {ttDecimalCode, "#"}}},
      {"control_codes_off", Nothing, "#12", {{ttSymbol, "#"}, {ttInteger, "12"}}},
      {"hex_prefix_without_case",
       HexPrefix0x,
       "0X1f 0xg 01",
       {{ttHex, "0X1f"}, {ttHex, "0x"}, {ttAnk, "g"}, {ttInteger, "01"}}},
      {"control_code_before_hex_prefix",
       ControlCodesAndDollarPrefix,
       "#$A $B",
       {{ttHexCode, "#$A"}, {ttHex, "$B"}}},
  };
}

INSTANTIATE_TEST_SUITE_P(EditorParser, EditorTokens, ::testing::ValuesIn(EditorCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditorParser, TokenColors) {
  TEditorFountain fountain;
  fountain.SetCommenter("//");
  fountain.SetQuotation("'");
  fountain.SetUrl(true);
  TFountainBracketItem* bracket = fountain.Brackets().Add();
  bracket->SetLeftBracket("<");
  bracket->SetRightBracket(">");
  TStringList words;
  words.Add("if");
  fountain.SetReserveWordList(words);
  TEditorColors& c = fountain.Colors();
  auto parser = fountain.CreateParser();

  const std::string row =
      S("IF x + 1.5 'q' <b> www.a \x8A\xBF\t// z" /* IF x + 1.5 'q' <b> www.a 漢\t// z */);
  parser->Start(row, FirstRowState(raBreak));
  std::vector<TFountainColor*> expected = {
      &fountain.Reserve(),   &c.Ank(), &c.Symbol(), &c.Int(),          &c.Str(),
      &bracket->ItemColor(), &c.Url(), &c.DBCS(),   nullptr /* tab */, &c.Comment()};
  for (TFountainColor* color : expected) {
    ASSERT_NE(parser->NextToken(), ttEnd);
    EXPECT_EQ(parser->TokenColor(), color) << TokenKindName(parser->Token());
  }
  EXPECT_EQ(parser->NextToken(), ttEnd);
  EXPECT_EQ(c.Reserve(), &fountain.Reserve());
}

TEST(EditorParser, CommentGoesOnThroughWrappedRowsToTheEndOfItsLine) {
  TEditorFountain fountain;
  fountain.SetCommenter("//");
  auto parser = fountain.CreateParser();
  TEditorStringList rows;
  FillRows(rows,
           {{"ab /", raWrap}, {"/ cd", raWrap}, {"ef", raWrap}, {"gh", raBreak}, {"ij", raEnd}});
  auto states = ChainStates(*parser, rows);
  EXPECT_EQ(Tokens(*parser, rows.View(0), states[0]),
            (std::vector<Tok>{{ttAnk, "ab"}, {ttSymbol, "/"}}));
  for (int r = 1; r <= 3; ++r) {
    EXPECT_EQ(states[r].WrappedToken, ttComment) << r;
    EXPECT_EQ(states[r].Remain, 0) << r;
    EXPECT_EQ(Tokens(*parser, rows.View(r), states[r]), (std::vector<Tok>{{ttComment, rows[r]}}))
        << r;
  }
  EXPECT_EQ(states[4].WrappedToken, 0);
  EXPECT_EQ(Tokens(*parser, rows.View(4), states[4]), (std::vector<Tok>{{ttAnk, "ij"}}));
}

TEST(EditorParser, QuotationGoesOnInTheWrappedRowAndDoubledQuotesStayInside) {
  TEditorFountain fountain;
  fountain.SetQuotation("\"");
  auto parser = fountain.CreateParser();
  TEditorStringList rows;
  FillRows(rows, {{"s = \"a\"\"b", raWrap},
                  {"c\"\"d", raWrap},
                  {"e\" f", raBreak},
                  {"\"g", raBreak},
                  {"h", raEnd}});
  auto states = ChainStates(*parser, rows);
  EXPECT_EQ(states[1].WrappedToken, ttQuotation);
  EXPECT_EQ(states[1].Remain, 0);  // found by scanning
  EXPECT_EQ(Tokens(*parser, rows.View(1), states[1]), (std::vector<Tok>{{ttQuotation, "c\"\"d"}}));
  EXPECT_EQ(Tokens(*parser, rows.View(2), states[2]),
            (std::vector<Tok>{{ttQuotation, "e\""}, {ttAnk, "f"}}));
  // An unclosed string ends with its logical line.
  EXPECT_EQ(states[4].WrappedToken, 0);
  EXPECT_EQ(Tokens(*parser, rows.View(4), states[4]), (std::vector<Tok>{{ttAnk, "h"}}));
}

// A logical line cut by a soft wrap at every character boundary: the second
// row, painted with the state that RowStep hands it, shows every byte that
// belongs to a token in the colour the unwrapped line gives it.
TEST(EditorParser, WrappedRowShowsTheColoursOfTheUnwrappedLine) {
  TEditorFountain fountain;
  fountain.SetCommenter("//");
  fountain.SetQuotation("\"");
  fountain.SetHexPrefix("0x");
  fountain.SetControlCode(true);
  fountain.SetMail(true);
  fountain.SetUrl(true);
  for (auto [left, right] : {std::pair{"/*", "*/"}, std::pair{"{", "}"}}) {
    TFountainBracketItem* item = fountain.Brackets().Add();
    item->SetLeftBracket(left);
    item->SetRightBracket(right);
  }
  TStringList words;
  words.Add("begin");
  words.Add("end");
  fountain.SetReserveWordList(words);
  auto parser = fountain.CreateParser();

  auto colours = [&](std::string_view row, const TRowAttributeData& state) {
    std::vector<const TFountainColor*> byByte(row.size(), nullptr);
    parser->Start(row, state);
    while (parser->NextToken() != ttEnd) {
      for (int i = 0; i < parser->TokenLength(); ++i) {
        byByte[parser->TokenStart() + i] = parser->TokenColor();
      }
    }
    return byByte;
  };
  const std::string lines[] = {
      "begin x := 12.5e3 + 0x1F; // note it",
      "s := \"a b\" + #$1F + #12 end",
      "see http://example.com/a?b=1 or mail me@example.co.jp now",
      "a /* in bracket */ b { curly } c",
      S("\x8A\xBF\x8E\x9A\x82\xA9\x82\xC8\x83\x4A\x83\x69\xB6\xC5\x82\x50\x82\x51\x81\x44\x82\x52"
        "\x82\x60\x82\x61\x81\x41"
        "end" /* 漢字かなカナｶﾅ１２．３ＡＢ、end */),
  };
  TEditorStringList rows;
  for (const std::string& line : lines) {
    const auto whole = colours(line, FirstRowState(raBreak));
    for (std::size_t cut = sjis::CharLength(line, 0); cut < line.size();
         cut += sjis::CharLength(line, cut)) {
      FillRows(rows, {{line.substr(0, cut), raWrap}, {line.substr(cut), raBreak}});
      const auto seen = colours(rows.View(1), ChainStates(*parser, rows)[1]);
      for (std::size_t i = 0; i < seen.size(); ++i) {
        if (static_cast<unsigned char>(line[cut + i]) <= ' ') continue;  // blanks: no token
        EXPECT_EQ(seen[i], whole[cut + i])
            << cp932::ToUtf8(line) << ", cut at " << cut << ", byte " << cut + i;
      }
    }
  }
}

TEST(EditorFountain, DefaultsAndPublishedProperties) {
  TEditorFountain fountain;
  TEditorColors& c = fountain.Colors();
  EXPECT_EQ(c.Select().BkColor(), clNavy);
  EXPECT_EQ(c.Select().Color(), clWhite);
  EXPECT_EQ(c.Hit().BkColor(), clNone);
  EXPECT_EQ(c.Ank().Style(), 0);
  EXPECT_TRUE(fountain.Commenter().empty());
  EXPECT_FALSE(fountain.Mail() || fountain.Url() || fountain.ControlCode());
  EXPECT_NE(dynamic_cast<TEditorBracketCollection*>(&fountain.Brackets()), nullptr);

  std::vector<std::string> names;
  for (const TPropInfo* p : fountain.ClassInfo()->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "FileExtList", "Brackets", "Reserve", "ReserveWordList", "Colors",
                       "Commenter", "ControlCode", "HexPrefix", "Mail", "Quotation", "Url"}));
  names.clear();
  for (const TPropInfo* p : c.ClassInfo()->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Ank", "Comment", "DBCS", "Hit", "Int", "Mail",
                                             "Reserve", "Select", "Str", "Symbol", "Url"}));
  // The Reserve of the colours is the fountain's own.
  EXPECT_EQ(c.ClassInfo()->Find("Reserve")->GetObj(c), &fountain.Reserve());
  fountain.ClassInfo()->Find("ControlCode")->SetOrd(fountain, 1);
  EXPECT_TRUE(fountain.ControlCode());
}

TEST(EditorFountain, PlainSettingsNotifyNobodyButColoursDo) {
  TEditorFountain fountain;
  Counter counter;
  fountain.NotifyEventList().Add(counter.Event());
  fountain.SetCommenter("//");
  fountain.SetQuotation("'");
  fountain.SetMail(true);
  EXPECT_EQ(counter.calls, 0);
  fountain.Colors().Comment().SetColor(clGreen);
  EXPECT_EQ(counter.calls, 1);
}

TEST(EditorFountain, SetAllLeavesSelectHitAndBracketsAndNotifiesOnce) {
  struct Case {
    const char* name;
    void (*set)(TEditorFountain&);
    TColor (*get)(const TFountainColor&);
    TColor value;
  };
  const Case cases[] = {
      {"SetAllBkColor", [](TEditorFountain& f) { f.SetAllBkColor(clRed); },
       [](const TFountainColor& c) { return c.BkColor(); }, clRed},
      {"SetAllColor", [](TEditorFountain& f) { f.SetAllColor(clBlue); },
       [](const TFountainColor& c) { return c.Color(); }, clBlue},
      {"SetAllStyle", [](TEditorFountain& f) { f.SetAllStyle(StyleBit(fsItalic)); },
       [](const TFountainColor& c) { return static_cast<TColor>(c.Style()); }, StyleBit(fsItalic)},
  };
  for (const Case& k : cases) {
    TEditorFountain fountain;
    TEditorColors& c = fountain.Colors();
    TFountainColor& bracket = fountain.Brackets().Add()->ItemColor();
    const TColor select = k.get(c.Select()), hit = k.get(c.Hit()), br = k.get(bracket);
    Counter counter;
    fountain.NotifyEventList().Add(counter.Event());
    k.set(fountain);
    EXPECT_EQ(counter.calls, 1) << k.name;
    for (TFountainColor* color : std::initializer_list<TFountainColor*>{
             &c.Ank(), &c.Comment(), &c.DBCS(), &c.Int(), &c.Mail(), c.Reserve(), &c.Str(),
             &c.Symbol(), &c.Url()}) {
      EXPECT_EQ(k.get(*color), k.value) << k.name;
    }
    EXPECT_EQ(k.get(c.Select()), select) << k.name;
    EXPECT_EQ(k.get(c.Hit()), hit) << k.name;
    EXPECT_EQ(k.get(bracket), br) << k.name;
  }
}

TEST(EditorFountain, ColorsAssignCopiesReserveAndNotifiesOnce) {
  TEditorFountain from, to;
  from.Colors().Url().SetColor(clBlue);
  from.Colors().Select().SetBkColor(clGray);
  from.Reserve().SetStyle(StyleBit(fsBold));
  Counter counter;
  to.NotifyEventList().Add(counter.Event());
  to.SetColors(from.Colors());
  EXPECT_EQ(counter.calls, 1);
  EXPECT_EQ(to.Colors().Url().Color(), clBlue);
  EXPECT_EQ(to.Colors().Select().BkColor(), clGray);
  EXPECT_EQ(to.Reserve().Style(), StyleBit(fsBold));
}

TEST(EditorFountain, HasItalicSeesColorsAndBrackets) {
  TEditorFountain fountain;
  EXPECT_FALSE(fountain.HasItalic());
  fountain.Colors().Hit().SetStyle(StyleBit(fsItalic));
  EXPECT_TRUE(fountain.HasItalic());
  EXPECT_TRUE(fountain.HasItalic(fountain.Colors()));
  fountain.Colors().Hit().SetStyle(0);
  fountain.EditorBrackets().Add();
  fountain.EditorBrackets().SetStyle(StyleBit(fsItalic));
  EXPECT_TRUE(fountain.HasItalic());
  EXPECT_FALSE(fountain.HasItalic(fountain.Colors()));
}

TEST(EditorFountain, BracketCollectionSetsEveryItemWithOneReport) {
  TEditorFountain fountain;
  TEditorBracketCollection& brackets = fountain.EditorBrackets();
  brackets.Add();
  brackets.Add();
  Counter counter;
  fountain.NotifyEventList().Add(counter.Event());
  brackets.SetBkColor(clYellow);
  EXPECT_EQ(counter.calls, 1);
  brackets.SetColor(clRed);
  EXPECT_EQ(counter.calls, 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(brackets.Items(i)->ItemColor().BkColor(), clYellow);
    EXPECT_EQ(brackets.Items(i)->ItemColor().Color(), clRed);
  }
}

TEST(EditorParser, DirectlyConstructedParserHasTheEditorTables) {
  TEditorFountain fountain;
  fountain.SetQuotation("\"");
  TEditorParser parser(&fountain);
  TRowAttributeData state = FirstRowState(raBreak);
  state.WrappedToken = ttQuotation;
  EXPECT_EQ(Tokens(parser, "ab\" c", state),
            (std::vector<Tok>{{ttQuotation, "ab\""}, {ttAnk, "c"}}));
}

}  // namespace
}  // namespace kelu
