#include "base/Cp932.h"

#include <gtest/gtest.h>

namespace kelu::cp932 {
namespace {

TEST(Cp932, WaveDashIsTheFullWidthTilde) {
  EXPECT_EQ(ToUtf8("\x81\x60"), "\xEF\xBD\x9E");  // U+FF5E
  EXPECT_EQ(FromUtf8("\xEF\xBD\x9E"), "\x81\x60");
}

TEST(Cp932, JapaneseRoundTrips) {
  const std::string sjis = "\x93\xfa\x96\x7b\x8c\xea abc \xb1\xb2\x87\x40";  // 日本語 abc ｱｲ ①
  std::size_t lost = 99;
  std::string utf8 = ToUtf8(sjis, &lost);
  EXPECT_EQ(lost, 0u);
  EXPECT_EQ(FromUtf8(utf8, &lost), sjis);
  EXPECT_EQ(lost, 0u);
}

TEST(Cp932, UnmappableCharactersBecomeQuestionMarksAndAreCounted) {
  std::size_t lost = 0;
  // U+00E9 (é) has no CP932 form; U+1F600 neither; then an invalid byte.
  EXPECT_EQ(FromUtf8("a\xC3\xA9"
                     "b\xF0\x9F\x98\x80"
                     "c\xFF"
                     "d",
                     &lost),
            "a?b?c?d");
  EXPECT_EQ(lost, 3u);
  // A lone lead byte at the end of Shift-JIS text.
  EXPECT_EQ(ToUtf8("x\x82", &lost), "x?");
  EXPECT_EQ(lost, 1u);
}

TEST(Cp932, LookAlikesAndDroppedCharactersCountAsLost) {
  // ¥ (U+00A5) is written as 5C, which reads back as a backslash; ～ as a
  // wave dash (U+301C) reads back as U+FF5E; a tag character disappears.
  struct Case {
    std::string utf8;
    std::size_t lost;
  };
  const Case cases[] = {
      {"\xC2\xA5" "100", 1},
      {"a\xE3\x80\x9C" "b", 1},
      {"\xE2\x80\x94\xE2\x88\x92\xC2\xAC", 3},
      {"x\xF3\xA0\x80\x81y", 1},
      {"\xEF\xBD\x9E\xE3\x80\x81\xE3\x82\x9C\xC2\xB1", 0},  // ～ 、 ゜ ± are exact
      {std::string(40, 'a') + "\xC2\xA3" + std::string(40, 'b'), 1},
  };
  for (const Case& c : cases) {
    std::size_t lost = 99;
    FromUtf8(c.utf8, &lost);
    EXPECT_EQ(lost, c.lost) << c.utf8;
  }
  std::size_t lost = 0;
  Convert(std::string("\xA5\x00" "A\x00", 4), kUtf16LE, kCp932, &lost);
  EXPECT_EQ(lost, 1u);
}

TEST(Cp932, Utf16BothWays) {
  std::size_t lost = 0;
  EXPECT_EQ(Convert("A\x82\xa0", kCp932, kUtf16LE, &lost), std::string("A\0\x42\x30", 4));
  EXPECT_EQ(Convert(std::string("\x30\x42\0A", 4), kUtf16BE, kCp932, &lost),
            "\x82\xa0"
            "A");
  // A lone surrogate.
  EXPECT_EQ(Convert(std::string("\x00\xD8\x41\x00", 4), kUtf16LE, kCp932, &lost), "?A");
  EXPECT_EQ(lost, 1u);
}

TEST(Cp932, StatefulTargetsGetValidReplacements) {
  std::size_t lost = 0;
  // ① (87 40) has no ISO-2022-JP form; the "?" must be written in ASCII mode.
  std::string jis = Convert("\x82\xa0\x87\x40\x82\xa0", kCp932, "ISO-2022-JP", &lost);
  EXPECT_EQ(lost, 1u);
  EXPECT_EQ(Convert(jis, "ISO-2022-JP-3", kCp932), "\x82\xa0?\x82\xa0");
}

TEST(Cp932, Utf8WellFormedness) {
  bool multi = false;
  EXPECT_TRUE(IsWellFormedUtf8("plain ascii", &multi));
  EXPECT_FALSE(multi);
  EXPECT_TRUE(IsWellFormedUtf8("caf\xC3\xA9", &multi));
  EXPECT_TRUE(multi);
  EXPECT_TRUE(IsWellFormedUtf8("\xF0\x9F\x98\x80"));
  EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
  EXPECT_FALSE(IsWellFormedUtf8("\xE3\x81"));          // cut short
}

}  // namespace
}  // namespace kelu::cp932
