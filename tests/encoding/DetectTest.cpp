#include <gtest/gtest.h>

#include "app/encoding/Encodings.h"

namespace kelu {
namespace {

std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int c : b) s.push_back(static_cast<char>(c));
  return s;
}

TEST(DetectMojiCode, TableOfCases) {
  struct Case {
    std::string text;
    TJapaneseCode code;
    const char* why;
  };
  const std::string ascii500(500, 'a');
  const Case cases[] = {
      {"", jcBinary, "empty"},
      {Bytes({0xFF, 0xFE}), jcUtf16LE, "mark only"},
      {Bytes({0xFE, 0xFF}), jcUtf16BE, "mark only"},
      {Bytes({0xFF, 0xFE, 0x41, 0x00}), jcUtf16LE, "FF FE is not binary"},
      {Bytes({0xEF, 0xBB, 0xBF, 0x41}), jcUtf8Bom, "mark and text"},
      {Bytes({0xEF, 0xBB, 0xBF}), jcEucOrSjis, "mark alone is examined as Japanese"},
      {"hello \xE3\x81\x82\xE3\x81\x84 world", jcUtf8N, "three-byte UTF-8"},
      {"plain ascii text", jcAscii, "7-bit"},
      {"ab\x01"
       "cd",
       jcBinary, "control byte"},
      {"abcd\x01", jcAscii, "the last byte is not looked at"},
      {"\x82\xa0\x82\xa2\x82\xa4", jcSjis, "hiragana in Shift-JIS"},
      {"\xa4\xa2\xa4\xa4\xf0\xa1", jcEuc, "EUC-only pattern"},
      {"\xb1\xb2\xb3\xb4", jcEucOrSjis, "half-width kana pairs"},
      {"a\x1b$B\x30\x21\x1b(Bb", jcJis83, "JIS X 0208-1983 escape"},
      {"a\x1b$@\x30\x21\x1b(Bb", jcJis78, "JIS X 0208-1978 escape"},
      {"\xe3\x81\x82", jcUtf8N, "short UTF-8 is still UTF-8 when well-formed"},
      // Mended: a two-byte sequence first (the scan gives up) or a four-byte
      // one, anywhere in the file.
      {"caf\xC3\xA9 \xE3\x81\x82", jcUtf8N, "two-byte sequence first"},
      {ascii500 + "caf\xC3\xA9", jcUtf8N, "UTF-8 only after the scanned range"},
      {"emoji \xF0\x9F\x98\x80 here", jcUtf8N, "four-byte sequence"},
      // Not UTF-8: stays with the Japanese detection.
      {"\x93\xfa\x96\x7b\x8c\xea", jcSjis, "日本語 in Shift-JIS"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectMojiCode(c.text), c.code) << c.why;
  }
}

TEST(DetectJapaneseCode, ControlBytesBeforeAnyDecision) {
  std::string late(600, 'a');
  late[550] = '\x01';
  // Beyond the limit only the main loop sees it, and only while undecided.
  EXPECT_EQ(DetectJapaneseCode(late), jcBinary);
  std::string decided = "\x82\xa0" + std::string(600, 'a');
  decided[560] = '\x01';
  EXPECT_EQ(DetectJapaneseCode(decided), jcSjis);
  EXPECT_EQ(DetectJapaneseCode("\xff"
                               "abc"),
            jcBinary);
}

}  // namespace
}  // namespace kelu
