#include <gtest/gtest.h>

#include "app/encoding/Encodings.h"
#include "base/Exceptions.h"

namespace kelu {
namespace {

const std::string kSjisSample =
    "\x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x65\x83\x4c\x83\x58\x83\x67\r\n"  // 日本語のテキスト
    "abc \xb1\xb2\xb3 \x81\x60\r\n";                                        // abc ｱｲｳ ～

TEST(DecodeDocument, EveryEncodingComesBackAsTheSameShiftJis) {
  for (std::string_view name : {moji::kSjis, moji::kUtf16LE, moji::kUtf16BE, moji::kUtf8Bom,
                                moji::kUtf8N, moji::kEuc, moji::kJis}) {
    std::size_t lost = 0;
    std::string bytes = EncodeDocument(kSjisSample, name, &lost);
    EXPECT_EQ(lost, 0u) << name;
    DecodedDocument doc = DecodeDocument(bytes);
    EXPECT_EQ(doc.mojiCode, name);
    EXPECT_EQ(doc.text, kSjisSample) << name;
    EXPECT_EQ(doc.lossy, 0u);
  }
}

TEST(DecodeDocument, SpecialCases) {
  DecodedDocument empty = DecodeDocument("");
  EXPECT_EQ(empty.mojiCode, "SJIS");
  EXPECT_EQ(empty.text, "");

  // A NUL byte outside UTF-16 makes a file binary: nothing is cut off.
  DecodedDocument nul = DecodeDocument(std::string("ab\0cd", 5));
  EXPECT_EQ(nul.mojiCode, "BINARY");
  EXPECT_EQ(nul.text, "");

  EXPECT_EQ(DecodeDocument(std::string("\0ab", 3)).mojiCode, "BINARY");
  DecodedDocument markOnly = DecodeDocument("\xFF\xFE");
  EXPECT_EQ(markOnly.mojiCode, "UNICODE(LE)");
  EXPECT_EQ(markOnly.text, "");
  EXPECT_EQ(DecodeDocument("\xFE\xFF").mojiCode, "UNICODE(BE)");

  // UTF-16 stops at the first 0x0000 unit.
  DecodedDocument le =
      DecodeDocument(std::string("\xFF\xFE"
                                 "A\0\0\0B\0",
                                 8));
  EXPECT_EQ(le.text, "A");
  EXPECT_EQ(le.droppedAfterNul, 4u);

  // A character with no Shift-JIS form gets a code of the document's own;
  // malformed UTF-8 is counted.
  DecodedDocument foreign = DecodeDocument("\xE3\x81\x82 caf\xC3\xA9 \xE3\x81\x82");
  EXPECT_EQ(foreign.mojiCode, "UTF8N");
  EXPECT_EQ(foreign.text, "\x82\xa0 caf\xF0\x40 \x82\xa0");
  EXPECT_EQ(foreign.lossy, 0u);
  EXPECT_EQ(foreign.codec.AssignedCount(), 1);
  DecodedDocument malformed = DecodeDocument("\xEF\xBB\xBF\xE3\x81\x82 \xE3\x81 x");
  EXPECT_EQ(malformed.text, "\x82\xa0 ?? x");
  EXPECT_EQ(malformed.lossy, 2u);
}

TEST(DecodeDocument, EucOrSjisOpensAsEucOnlyWhenValidEuc) {
  EXPECT_EQ(DecodeDocument("\xa4\xa2\xb1\xb2\xb3\xb4").mojiCode, "EUC");
  EXPECT_EQ(DecodeDocument("\xa4\xa2\xb1\xb2\xb3\xb4").text, "\x82\xa0\x89Q\x8aS");  // あ渦慨
  // Half-width kana in Shift-JIS with an odd count is not valid EUC.
  EXPECT_EQ(DecodeDocument("\xb1\xb2\xb3").mojiCode, "SJIS");
}

TEST(Encoders, StreamsAndMarks) {
  std::string stream;
  SjisToUtf16BEStream(&stream, "A\r\n");
  EXPECT_EQ(stream, std::string("\xFE\xFF\0A\0\r\0\n", 8));
  stream.clear();
  SjisToUtf16LEStream(&stream, "A");
  EXPECT_EQ(stream, std::string("\xFF\xFE"
                                "A\0",
                                4));
  EXPECT_THROW(SjisToUtf16LEStream(nullptr, "A"), EInvalidOperation);
  try {
    SjisToUtf16BEStream(nullptr, "A");
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "無効なMemoryStream.");
  }
  EXPECT_EQ(SjisToUtf8(""), "");
  EXPECT_EQ(SjisToUtf8Bom("a"),
            "\xEF\xBB\xBF"
            "a");
}

TEST(Encoders, BinaryAndUnknownNamesAreRefused) {
  EXPECT_THROW(EncodeDocument("x", "BINARY"), EInvalidOperation);
  EXPECT_THROW(EncodeDocument("x", "utf8n"), EInvalidOperation);  // names are case-sensitive
}

TEST(Encoders, NecAndIbmCodesSurviveAsShiftJis) {
  // Shift-JIS pages are never re-encoded: the bytes are the text.
  std::string nec = "\x87\x40\x87\x8a\xed\x40\xfa\x40\xfa\x55";
  EXPECT_EQ(EncodeDocument(nec, "SJIS"), nec);
  EXPECT_EQ(DecodeDocument(nec).text, nec);
}

}  // namespace
}  // namespace kelu

namespace kelu {
namespace {

TEST(Jis, EveryJisX0208CodeRoundTripsByteExactly) {
  // All leads 81-9F and E0-EF with every valid trail: rows 1 to 94,
  // whatever is assigned there (NEC row 13 included).
  std::string all;
  for (int lead = 0x81; lead <= 0xEF; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(trail));
    }
    all += "\r\n";
  }
  all += "ascii \xb1\xb2\xb3\xb4\xb5 kana\r\n";
  std::size_t lost = 1;
  std::string jis = EncodeDocument(all, moji::kJis, &lost);
  EXPECT_EQ(lost, 0u);
  for (char c : jis) ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "JIS is 7-bit";
  DecodedDocument doc = DecodeDocument(jis);
  EXPECT_EQ(doc.mojiCode, "JIS");
  EXPECT_EQ(doc.text, all);
}

TEST(Jis, WhatJisCannotHoldIsCounted) {
  std::size_t lost = 0;
  // IBM extension FA 40, a stray 0x80 and a lead byte with a bad trail.
  std::string jis = EncodeDocument(
      "a\xfa\x40"
      "b\x80"
      "c\x82\x20"
      "d",
      moji::kJis, &lost);
  EXPECT_EQ(lost, 3u);
  EXPECT_EQ(jis, "a?b?c? d");
}

TEST(Jis, DecoderAcceptsTheCommonVariants) {
  // JIS X 0208-1978, JIS-Roman, SO/SI katakana, 8-bit katakana, JIS X 0212.
  std::string text =
      DecodeDocument("\x1b$@\x30\x21\x1b(Jx\x0e\x31\x0f\xb2\x1b$(D\x30\x21\x1b(B").text;
  EXPECT_EQ(text,
            "\x88\x9f"
            "x\xb1\xb2?");
  DecodedDocument doc = DecodeDocument("\x1b$B\x30\x21\x1b$(D\x30\x21\x1b(B");
  EXPECT_EQ(doc.text, "\x88\x9f?");
  EXPECT_EQ(doc.lossy, 1u);
}

}  // namespace
}  // namespace kelu
