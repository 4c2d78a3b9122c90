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
      // Half-width kana whose bytes also pair up as EUC-JP kanji: kana, as
      // the kanji alone (渦慨) would be no Japanese text.
      {"\xb1\xb2\xb3\xb4", jcSjis, "half-width kana pairs"},
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
      // Mended: a NUL byte anywhere outside UTF-16 makes a file binary.
      {std::string("text\0\x01\x02", 7), jcBinary, "NUL after text"},
      {std::string(600, 'a') + std::string("\0", 1), jcBinary, "NUL beyond the scanned range"},
      {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), jcBinary, "PNG header"},
      {"%PDF-1.4\n%\xC3\xA4\xC3\xBC\xC3\xB6\n", jcBinary, "the start of a PDF"},
      // Mended: EUC-JP with JIS X 0212 codes (鷗外 with 鷗 as 8F EC BF).
      {"\x8f\xec\xbf\xb3\xb0\xa4\xce\xbe\xae\xc0\xe2", jcEuc, "JIS X 0212 in EUC-JP"},
      {"\xa4\xb3\xa4\xce\x8f\xb0\xa1\xa4\xcf", jcEuc, "JIS X 0212 after kana"},
      // Mended: ISO-2022-JP whose only escape is to half-width katakana.
      {"x \x1b(I\x4f\x32\x45\x3d\x1b(B", jcJis83, "ESC ( I"},
      // Mended: Shift-JIS half-width kana that happens to be well-formed
      // UTF-8 ("x ﾏｲﾅｽ" reads as Greek and Latin letters) or EUC-JP.
      {"x \xcf\xb2\xc5\xbd", jcSjis, "x ﾏｲﾅｽ"},
      {"\xc3\xbd\xc4\xb0", jcSjis, "ﾃｽﾄｰ"},
      {"\xba\xdd\xcb\xdf\xad\xb0\xc0\xb0 \xcc\xdf\xdb\xb8\xde\xd7\xd1", jcSjis, "ｺﾝﾋﾟｭｰﾀｰ ﾌﾟﾛｸﾞﾗﾑ"},
      // Latin letters in UTF-8 stay UTF-8 beside them.
      {"caf\xC3\xA9", jcUtf8N, "short Latin-1 word"},
      {"na\xC3\xAFve r\xC3\xA9sum\xC3\xA9", jcUtf8N, "Latin-1 words"},
      {"\xa4\xb3\xa4\xf3\xa4\xcb\xa4\xc1\xa4\xcf", jcEuc, "こんにちは in EUC-JP"},
      {"\xc6\xfc\xcb\xdc", jcEuc, "日本 in EUC-JP"},
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
