#include "base/TextCodec.h"

#include <gtest/gtest.h>

#include "base/Cp932.h"
#include "base/Sjis.h"

namespace kelu {
namespace {

// UTF-8 texts whose characters Shift-JIS cannot hold (or holds only as a
// look-alike), each with the number of distinct such characters.
struct TForeignText {
  const char* name;
  std::string utf8;
  int codes;
};

const TForeignText kForeignTexts[] = {
    {"emoji", "\xE3\x81\x82\xF0\x9F\x98\x80 ok \xF0\x9F\x98\x80\xF0\x9F\x8E\x89", 2},  // あ😀 ok 😀🎉
    {"Latin", "caf\xC3\xA9 na\xC3\xAFve \xC3\x85ngstr\xC3\xB6m", 4},                   // é ï Å ö
    {"Hangul", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xE6\x97\xA5", 3},                // 한국어 日
    {"simplified Chinese", "\xE8\xBF\x99\xE8\xAF\xB4\xE4\xB8\xAD\xE6\x96\x87", 2},     // 这说中文
    // e + combining acute, a flag (two regional indicators), a heart with
    // a variation selector, a family joined with ZWJ.
    {"combining sequences",
     "e\xCC\x81 \xF0\x9F\x87\xAF\xF0\x9F\x87\xB5 \xE2\x9D\xA4\xEF\xB8\x8F "
     "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9",
     8},
    {"look-alikes", "\xC2\xA5" "100 \xE3\x80\x9C \xE2\x88\x92 \xEF\xBD\x9E", 3},  // ¥ 〜 − (～ is exact)
    {"tag and C1 characters", "x\xF3\xA0\x80\x81y\xC2\x85z", 2},
};

TEST(TTextCodec, ForeignCharactersSurviveEveryUnicodeForm) {
  for (const TForeignText& t : kForeignTexts) {
    TTextCodec codec;
    std::size_t lost = 99;
    const std::string sjis = codec.FromUtf8(t.utf8, &lost);
    EXPECT_EQ(lost, 0u) << t.name;
    EXPECT_EQ(codec.AssignedCount(), t.codes) << t.name;
    EXPECT_EQ(codec.ToUtf8(sjis, &lost), t.utf8) << t.name;
    EXPECT_EQ(lost, 0u) << t.name;
    // The same characters as UTF-16 in both byte orders and as UTF-16 units.
    for (bool big : {false, true}) {
      const std::string bytes = codec.ToUtf16Bytes(sjis, big);
      TTextCodec other;
      const std::string again = other.FromUtf16Bytes(bytes, big, &lost);
      EXPECT_EQ(lost, 0u) << t.name;
      EXPECT_EQ(other.ToUtf16Bytes(again, big), bytes) << t.name;
      EXPECT_EQ(other.ToUtf8(again), t.utf8) << t.name;
    }
    const std::u16string units = codec.ToUtf16(sjis);
    EXPECT_EQ(codec.FromUtf16(units), sjis) << t.name;
    EXPECT_EQ(codec.FromUtf32(codec.ToUtf32(sjis)), sjis) << t.name;
    EXPECT_EQ(codec.AssignedCount(), t.codes) << t.name << ": a character met again keeps its code";
  }
}

TEST(TTextCodec, CodesAreUserDefinedDoubleByteCharacters) {
  TTextCodec codec;
  const std::string sjis = codec.FromUtf8("a\xC3\xA9" "b");  // aéb
  ASSERT_EQ(sjis.size(), 4u);
  EXPECT_EQ(sjis, "a\xF0\x40" "b");
  EXPECT_TRUE(codec.IsAssigned(0xF040));
  EXPECT_EQ(codec.CharOfPair(0xF0, 0x40), U'\u00E9');
  // A code outside the table keeps its standard meaning.
  EXPECT_EQ(codec.CharOfPair(0xF0, 0x41), U'\uE001');
  EXPECT_EQ(codec.CharOf('A'), U'A');
  EXPECT_EQ(codec.CharOfPair(0x82, 0xA0), U'\u3042');
  EXPECT_EQ(UserAreaCode(187), 0xF0FC);
  EXPECT_EQ(UserAreaIndex(0xF9FC), TTextCodec::kUserCodes - 1);
  EXPECT_EQ(UserAreaIndex(0xF07F), -1);
  EXPECT_EQ(UserAreaIndex(0xEFFC), -1);
}

TEST(TTextCodec, StandardUserDefinedCharactersKeepTheirCodes) {
  // U+E000 and U+E002 in the input take F040 and F042 even where they come
  // after the first character that needs a code.
  TTextCodec codec;
  const std::string utf8 = "\xF0\x9F\x98\x80\xEE\x80\x80\xEE\x80\x82\xC3\xA9";  // 😀 U+E000 U+E002 é
  const std::string sjis = codec.FromUtf8(utf8);
  EXPECT_EQ(sjis, "\xF0\x41\xF0\x40\xF0\x42\xF0\x43");
  EXPECT_EQ(codec.ToUtf8(sjis), utf8);
  EXPECT_EQ(codec.AssignedCount(), 2);
  EXPECT_EQ(codec.CountAssigned(sjis), 2u);

  // A standard character whose code went to another character gets a code
  // of its own.
  TTextCodec taken;
  taken.FromUtf8("\xC3\xA9");  // é takes F040
  const std::string pua = taken.FromUtf8("\xEE\x80\x80");
  EXPECT_NE(pua, "\xF0\x40");
  EXPECT_EQ(taken.ToUtf8(pua), "\xEE\x80\x80");
}

TEST(TTextCodec, CodesTheTextUsesAreNeverHandedOut) {
  std::string text = "\xF0\x40\xF0\x42 x";
  TTextCodec codec;
  int scans = 0;
  codec.SetScanner([&](TTextCodec& c) {
    ++scans;
    c.Reserve(text);
  });
  EXPECT_EQ(codec.FromUtf8("plain \xE3\x81\x82"), "plain \x82\xA0");
  EXPECT_EQ(scans, 0) << "no scan while no code is needed";
  EXPECT_EQ(codec.FromUtf8("\xC3\xA9\xC3\xA8"), "\xF0\x41\xF0\x43");
  EXPECT_EQ(scans, 1);
  codec.FromUtf8("\xC3\xAA");
  EXPECT_EQ(scans, 1) << "the scan runs once until the text is set again";
  codec.SetScanPending();
  text = "\xF0\x44";
  EXPECT_EQ(codec.FromUtf8("\xC3\xAB"), "\xF0\x45");
  EXPECT_EQ(scans, 2);
}

TEST(TTextCodec, BeyondTheAreaCharactersBecomeQuestionMarks) {
  std::u32string chars;
  for (char32_t c = 0x20000; c < 0x20000 + TTextCodec::kUserCodes + 1; ++c) chars.push_back(c);
  TTextCodec codec;
  std::size_t lost = 0;
  const std::string sjis = codec.FromUtf32(chars, &lost);
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(codec.AssignedCount(), TTextCodec::kUserCodes);
  EXPECT_EQ(sjis.substr(sjis.size() - 3), "\xF9\xFC?");
  // Characters met before still convert; the standard user-defined ones too.
  EXPECT_EQ(codec.FromUtf32(U"\U00020000", &lost), "\xF0\x40");
  EXPECT_EQ(lost, 0u);
  codec.FromUtf32(U"\U0002FFFF", &lost);
  EXPECT_EQ(lost, 1u);

  // The codes the text uses count against the area.
  TTextCodec reserved;
  reserved.Reserve("\xF0\x40\xF5\x80");
  reserved.FromUtf32(chars.substr(0, TTextCodec::kUserCodes - 1), &lost);
  EXPECT_EQ(lost, 1u);
}

TEST(TTextCodec, MalformedInputBecomesQuestionMarks) {
  TTextCodec codec;
  std::size_t lost = 0;
  EXPECT_EQ(codec.FromUtf8("a\xFF" "b\xE3\x81" "c\xED\xA0\x80", &lost), "a?b??c???");
  EXPECT_EQ(lost, 6u);
  EXPECT_EQ(codec.FromUtf16(u"x\xD800y", &lost), "x?y");
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(codec.ToUtf8("x\x82", &lost), "x?");
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(codec.ToUtf8("\x80\xA0\xFD\x85\x40", &lost), "????");
  EXPECT_EQ(lost, 4u);
  EXPECT_EQ(codec.AssignedCount(), 0);
}

TEST(TTextCodec, CopiesCarryTheMapping) {
  TTextCodec codec;
  const std::string sjis = codec.FromUtf8("\xF0\x9F\x98\x80");
  TTextCodec copy = codec;
  EXPECT_TRUE(copy.SameMapping(codec));
  EXPECT_EQ(copy.ToUtf8(sjis), "\xF0\x9F\x98\x80");
  TTextCodec moved = std::move(copy);
  EXPECT_EQ(moved.ToUtf8(sjis), "\xF0\x9F\x98\x80");
  EXPECT_FALSE(TTextCodec().SameMapping(codec));
}

TEST(TTextCodec, WithoutADocumentCharactersWithoutAFormAreLost) {
  std::size_t lost = 0;
  EXPECT_EQ(cp932::FromUtf8("\xF0\x9F\x98\x80 \xE3\x81\x82", &lost), "? \x82\xA0");
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(cp932::ToUtf8("\xF0\x40"), "\xEE\x80\x80");
}

}  // namespace
}  // namespace kelu
