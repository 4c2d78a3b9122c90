// The fountain's settings objects: colours, brackets, reserved words, change
// notification and the property visitors.
#include "editor/fountain/Fountain.h"

#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "tests/fountain/FountainTestSupport.h"

namespace kelu {
namespace {

using test::PlainFountain;
using test::PlainParser;

struct Counter {
  int calls = 0;
  TObject* sender = nullptr;
  void Handle(TObject* s) {
    ++calls;
    sender = s;
  }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Counter::Handle>(this); }
};

TEST(FountainColor, SettersReportOnlyRealChangesAndAssignReportsOnce) {
  TFountainColor color;
  EXPECT_EQ(color.BkColor(), clNone);
  EXPECT_EQ(color.Color(), clNone);
  EXPECT_EQ(color.Style(), 0);
  Counter counter;
  color.OnChange = counter.Event();
  color.SetColor(clRed);
  color.SetColor(clRed);
  color.SetBkColor(clNone);
  EXPECT_EQ(counter.calls, 1);

  TFountainColor source;
  source.SetBkColor(clBlue);
  source.SetColor(clLime);
  source.SetStyle(StyleBit(fsBold) | StyleBit(fsItalic));
  counter.calls = 0;
  color.Assign(source);
  EXPECT_EQ(counter.calls, 1);
  EXPECT_EQ(color.BkColor(), clBlue);
  EXPECT_EQ(color.Color(), clLime);
  EXPECT_EQ(color.Style(), StyleBit(fsBold) | StyleBit(fsItalic));
}

TEST(FountainBrackets, FifteenthItemRaisesAndTheCollectionKeepsFourteen) {
  PlainFountain fountain;
  TFountainBracketCollection& brackets = fountain.Brackets();
  for (int i = 0; i < 14; ++i) brackets.Add()->SetLeftBracket(std::string(1, 'a' + i));
  try {
    brackets.Add();
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "TFountainBracketCollection\r\nYou can not add item over 14");
  }
  // An item created directly on the collection is refused the same way.
  EXPECT_THROW(new TFountainBracketItem(&brackets), EInvalidOperation);
  EXPECT_EQ(brackets.Count(), 14);
  EXPECT_EQ(brackets.Items(13)->LeftBracket(), "n");
}

TEST(FountainBrackets, AssignCopiesItemsAndEveryChangeReachesTheEventList) {
  PlainFountain fountain;
  Counter counter;
  fountain.NotifyEventList().Add(counter.Event());

  TFountainBracketItem* item = fountain.Brackets().Add();
  EXPECT_EQ(counter.calls, 1);
  EXPECT_EQ(counter.sender, &fountain);
  item->SetLeftBracket("/*");
  item->SetRightBracket("*/");
  item->SetLeftBracket("/*");
  item->ItemColor().SetColor(clGreen);
  EXPECT_EQ(counter.calls, 4);

  PlainFountain other;
  Counter otherCounter;
  other.NotifyEventList().Add(otherCounter.Event());
  other.SetBrackets(fountain.Brackets());
  EXPECT_EQ(otherCounter.calls, 1);
  ASSERT_EQ(other.Brackets().Count(), 1);
  EXPECT_EQ(other.Brackets().Items(0)->LeftBracket(), "/*");
  EXPECT_EQ(other.Brackets().Items(0)->RightBracket(), "*/");
  EXPECT_EQ(other.Brackets().Items(0)->ItemColor().Color(), clGreen);
  // The copy's colours report to the copy's fountain.
  other.Brackets().Items(0)->ItemColor().SetBkColor(clRed);
  EXPECT_EQ(otherCounter.calls, 2);
  EXPECT_EQ(counter.calls, 4);
}

TEST(Fountain, ReserveWordListIsSortedWithoutDuplicatesOrCase) {
  PlainFountain fountain;
  Counter counter;
  fountain.NotifyEventList().Add(counter.Event());
  TStringList words;
  for (const char* w : {"while", "Begin", "end", "BEGIN", "begin"}) words.Add(w);
  fountain.SetReserveWordList(words);
  EXPECT_EQ(counter.calls, 1);
  ASSERT_EQ(fountain.ReserveWordList().Count(), 3);
  EXPECT_EQ(fountain.ReserveWordList()[0], "Begin");
  EXPECT_EQ(fountain.ReserveWordList()[2], "while");
  EXPECT_TRUE(fountain.IsReserveWordText("WHILE"));
  EXPECT_FALSE(fountain.IsReserveWordText("whil"));
}

TEST(Fountain, ReserveColorReportsWithTheFountainAsSender) {
  PlainFountain fountain;
  Counter counter;
  fountain.NotifyEventList().Add(counter.Event());
  TFountainColor color;
  color.SetColor(clMaroon);
  fountain.SetReserve(color);
  fountain.Reserve().SetStyle(StyleBit(fsUnderline));
  EXPECT_EQ(counter.calls, 2);
  EXPECT_EQ(counter.sender, &fountain);
  EXPECT_EQ(fountain.Reserve().Color(), clMaroon);
}

TEST(Fountain, ParserNeedsAFountain) {
  try {
    PlainParser parser(nullptr);
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_STREQ(e.what(), "TFountainParser.Create need instance of TFountain");
  }
  PlainFountain fountain;
  EXPECT_EQ(fountain.CreateParser()->Fountain(), &fountain);
}

TEST(Fountain, HasItalicLooksIntoReserveAndBracketItems) {
  PlainFountain fountain;
  fountain.Brackets().Add()->ItemColor().SetStyle(StyleBit(fsBold));
  EXPECT_FALSE(fountain.HasItalic());
  fountain.Brackets().Add()->ItemColor().SetStyle(StyleBit(fsItalic));
  EXPECT_TRUE(fountain.HasItalic());
  fountain.Brackets().Items(1)->ItemColor().SetStyle(0);
  EXPECT_FALSE(fountain.HasItalic());
  fountain.Reserve().SetStyle(StyleBit(fsItalic) | StyleBit(fsStrikeOut));
  EXPECT_TRUE(fountain.HasItalic());
}

TEST(Fountain, SetAllColorsSetsOnlyTheFlaggedValues) {
  struct Case {
    int flags;
    TColor bk, fg;
    TFontStyles style;
  };
  const TFontStyles bold = StyleBit(fsBold);
  for (const Case& c : {Case{1, clRed, clNone, 0}, Case{2, clNone, clBlue, 0},
                        Case{4, clNone, clNone, bold}, Case{7, clRed, clBlue, bold}}) {
    PlainFountain fountain;
    fountain.Brackets().Add();
    TFountainColor value;
    value.SetBkColor(clRed);
    value.SetColor(clBlue);
    value.SetStyle(bold);
    fountain.SetAllColors(fountain, value, c.flags);
    for (const TFountainColor* color : std::initializer_list<const TFountainColor*>{
             &fountain.Reserve(), &fountain.Brackets().Items(0)->ItemColor()}) {
      EXPECT_EQ(color->BkColor(), c.bk) << c.flags;
      EXPECT_EQ(color->Color(), c.fg) << c.flags;
      EXPECT_EQ(color->Style(), c.style) << c.flags;
    }
  }
}

TEST(Fountain, PublishedPropertiesInOrder) {
  PlainFountain fountain;
  std::vector<std::string> names;
  for (const TPropInfo* p : fountain.ClassInfo()->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names,
            (std::vector<std::string>{"FileExtList", "Brackets", "Reserve", "ReserveWordList"}));
  TFountainBracketItem* item = fountain.Brackets().Add();
  names.clear();
  for (const TPropInfo* p : item->ClassInfo()->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"ItemColor", "LeftBracket", "RightBracket"}));
  const TPropInfo* bk = fountain.Reserve().ClassInfo()->Find("BkColor");
  ASSERT_NE(bk, nullptr);
  EXPECT_TRUE(bk->IsDefault(fountain.Reserve()));
  item->ClassInfo()->Find("RightBracket")->SetStr(*item, "*/");
  EXPECT_EQ(item->RightBracket(), "*/");
}

TEST(TokenKinds, Names) {
  EXPECT_STREQ(TokenKindName(ttEnd), "ttEnd");
  EXPECT_STREQ(TokenKindName(ttAnk), "ttAnk");
  EXPECT_STREQ(TokenKindName(ttKanji), "ttKanji");
  EXPECT_STREQ(TokenKindName(ttDoubleQuote), "ttDoubleQuote");
  EXPECT_STREQ(TokenKindName(ttQuotation), "ttQuotation");
  EXPECT_STREQ(TokenKindName(ttHexCode), "ttHexCode");
  for (int unused : {-1, 2, 5, 10, 13, 29, 255}) {
    EXPECT_STREQ(TokenKindName(unused), "ttUnknown") << unused;
  }
}

}  // namespace
}  // namespace kelu
