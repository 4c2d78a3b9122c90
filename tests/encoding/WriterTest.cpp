#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/encoding/Encodings.h"
#include "base/Cp932.h"
#include "base/Exceptions.h"

namespace kelu {
namespace {

namespace fs = std::filesystem;

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kelu-writer-XXXXXX";
    dir = mkdtemp(tmpl);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  std::string dir;
};

TEST_F(WriterTest, WritesExactlyTheTextInEachEncoding) {
  TStringList lines;
  lines.Add("a");
  lines.Add("b");
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"SJIS", "a\r\nb\r\n"},
      {"UTF8N", "a\r\nb\r\n"},  // no extra line break
      {"UTF8(BOM)",
       "\xEF\xBB\xBF"
       "a\r\nb\r\n"},
      {"UNICODE(LE)", std::string("\xFF\xFE"
                                  "a\0\r\0\n\0b\0\r\0\n\0",
                                  14)},
  };
  for (const Case& c : cases) {
    std::string path = dir + "/out.txt";
    EXPECT_EQ(SaveStringsWithMojiCode(lines, c.name, path), 0u);
    EXPECT_EQ(Read(path), c.bytes) << c.name;
  }
  TStringList one;
  one.Add("A");
  SaveStringsWithMojiCode(one, "UNICODE(BE)", dir + "/be.txt");
  EXPECT_EQ(Read(dir + "/be.txt"), std::string("\xFE\xFF\0A\0\r\0\n", 8));
}

TEST_F(WriterTest, OpenAndSaveCyclesNeverGrowAFile) {
  std::string path = dir + "/cycle.txt";
  std::string original =
      "\xEF\xBB\xBF"
      "line\r\n\xE3\x81\x82\r\n";
  { std::ofstream(path, std::ios::binary) << original; }
  for (int i = 0; i < 3; ++i) {
    DecodedDocument doc = DecodeDocument(ReadFileBytes(path));
    TStringList lines;
    lines.SetText(doc.text);
    SaveStringsWithMojiCode(lines, doc.mojiCode, path);
  }
  EXPECT_EQ(Read(path), original);
}

TEST_F(WriterTest, BinaryIsNeverWrittenAndTheFileStays) {
  std::string path = dir + "/bin.dat";
  { std::ofstream(path, std::ios::binary) << "old"; }
  TStringList lines;
  lines.Add("new");
  EXPECT_THROW(SaveStringsWithMojiCode(lines, "BINARY", path), EInvalidOperation);
  EXPECT_THROW(SaveStringsWithMojiCode(lines, "KOI8", path), EInvalidOperation);
  EXPECT_EQ(Read(path), "old");
}

TEST_F(WriterTest, AFailedSaveLeavesTheOldFileAndNamesIt) {
  std::string sub = dir + "/ro";
  fs::create_directory(sub);
  std::string path = sub + "/keep.txt";
  { std::ofstream(path, std::ios::binary) << "precious"; }
  chmod(sub.c_str(), 0555);
  TStringList lines;
  lines.Add("replacement");
  if (geteuid() == 0) {
    // Root ignores directory permissions; use a path under a file instead.
    path = sub + "/keep.txt/child";
  }
  try {
    SaveStringsWithMojiCode(lines, "SJIS", path);
    ADD_FAILURE() << "the save did not fail";
  } catch (const EFileError& e) {
    EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("保存できませんでした"), std::string::npos);
  }
  chmod(sub.c_str(), 0755);
  EXPECT_EQ(Read(sub + "/keep.txt"), "precious");
  for (const auto& entry : fs::directory_iterator(sub)) {
    EXPECT_EQ(entry.path().filename(), "keep.txt") << "temporary file left behind";
  }
}

TEST_F(WriterTest, SavingThroughALinkKeepsTheLinkAndMode) {
  std::string target = dir + "/target.txt";
  std::string link = dir + "/link.txt";
  { std::ofstream(target, std::ios::binary) << "old"; }
  chmod(target.c_str(), 0640);
  fs::create_symlink(target, link);
  EXPECT_EQ(ResolveShortcut(link), fs::canonical(target).string());
  EXPECT_EQ(ResolveShortcut(target), target);
  TStringList lines;
  lines.Add("new");
  SaveStringsWithMojiCode(lines, "SJIS", link);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Read(target), "new\r\n");
  struct stat st;
  stat(target.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  // A dangling link resolves to itself.
  fs::create_symlink(dir + "/missing", dir + "/dangling");
  EXPECT_EQ(ResolveShortcut(dir + "/dangling"), dir + "/dangling");
}

}  // namespace
}  // namespace kelu

namespace kelu {
namespace {

// UTF-8 documents whose characters Shift-JIS cannot hold: opened, edited,
// saved in their own encoding, they come back byte for byte.
const std::pair<const char*, std::string> kForeignDocuments[] = {
    {"emoji", "\xE7\xB5\xB5\xE6\x96\x87\xE5\xAD\x97 \xF0\x9F\x98\x80\xF0\x9F\x8E\x89\r\n"},
    {"Latin", "Cr\xC3\xA8me br\xC3\xBBl\xC3\xA9" "e, \xC3\x85se, \xC5\x81\xC3\xB3" "d\xC5\xBA\r\n"},
    {"Hangul", "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4\xE3\x81\xA8\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\r\n"},
    {"Chinese", "\xE8\xBF\x99\xE6\x98\xAF\xE7\xAE\x80\xE4\xBD\x93\xE5\xAD\x97\r\n"},
    {"combining", "e\xCC\x81 a\xCC\x8A \xE2\x9D\xA4\xEF\xB8\x8F \xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\r\n"},
    {"private use", "\xEE\x80\x80\xEE\x80\x81 \xF0\x9F\x98\x80 \xEE\x9D\x97\r\n"},
    {"look-alikes", "\xC2\xA5" "100 \xE3\x80\x9C \xE2\x80\x94 \xC2\xAC\r\n"},
};

// UTF-8 text as the bytes of a file in encoding `name`, by iconv.
std::string FileBytes(const std::string& utf8, std::string_view name) {
  if (name == "UTF8N") return utf8;
  if (name == "UTF8(BOM)") return "\xEF\xBB\xBF" + utf8;
  if (name == "UNICODE(LE)") return "\xFF\xFE" + cp932::Convert(utf8, cp932::kUtf8, cp932::kUtf16LE);
  return "\xFE\xFF" + cp932::Convert(utf8, cp932::kUtf8, cp932::kUtf16BE);
}

TEST_F(WriterTest, ForeignCharactersSurviveOpenEditAndSave) {
  const std::string added = "\x92\xC7\x89\xC1\r\n";  // 追加, typed as the first line
  for (const auto& [what, utf8] : kForeignDocuments) {
    for (const char* name : {"UTF8N", "UTF8(BOM)", "UNICODE(LE)", "UNICODE(BE)"}) {
      const std::string path = dir + "/doc.txt";
      { std::ofstream(path, std::ios::binary) << FileBytes(utf8, name); }
      DecodedDocument doc = DecodeDocument(ReadFileBytes(path));
      ASSERT_EQ(doc.mojiCode, name) << what;
      EXPECT_EQ(doc.lossy, 0u) << what << " " << name;
      EXPECT_EQ(SaveTextWithMojiCode(added + doc.text, doc.mojiCode, path, &doc.codec), 0u)
          << what << " " << name;
      EXPECT_EQ(Read(path), FileBytes("\xE8\xBF\xBD\xE5\x8A\xA0\r\n" + utf8, name))
          << what << " " << name;
    }
  }
}

// EUC-JP holds é (JIS X 0212) but no emoji.
TEST_F(WriterTest, EncodingsWithoutTheCharactersCountThem) {
  DecodedDocument doc = DecodeDocument(std::string("\xE3\x81\x82\xF0\x9F\x98\x80\xC3\xA9\xF0\x9F\x98\x80\r\n"));
  ASSERT_EQ(doc.mojiCode, "UTF8N");
  struct Case {
    const char* name;
    std::size_t lost;
  };
  for (const Case& c : {Case{"SJIS", 3}, Case{"EUC", 2}, Case{"JIS", 3}, Case{"UTF8N", 0},
                        Case{"UNICODE(BE)", 0}}) {
    const std::string path = dir + "/out.txt";
    EXPECT_EQ(SaveTextWithMojiCode(doc.text, c.name, path, &doc.codec), c.lost) << c.name;
  }
  // They are written as "?"; everything else keeps its bytes.
  std::size_t lost = 0;
  EXPECT_EQ(EncodeDocument(doc.text, "SJIS", doc.codec, &lost), "\x82\xA0???\r\n");
  EXPECT_EQ(EncodeDocument("\xF0\x40\xF9\xFC", "SJIS", TTextCodec(), &lost), "\xF0\x40\xF9\xFC");
  EXPECT_EQ(lost, 0u);
}

TEST_F(WriterTest, TheCharacterPastTheUserAreaIsCountedAsLost) {
  // 1881 distinct characters without a Shift-JIS form (CJK extension B).
  std::u32string chars;
  for (char32_t c = 0x20000; c <= 0x20000 + TTextCodec::kUserCodes; ++c) chars.push_back(c);
  std::string utf8;
  {
    TTextCodec all;
    utf8 = all.ToUtf8(all.FromUtf32(chars.substr(0, TTextCodec::kUserCodes)));
    utf8 += "\xF0\xA0\x9D\x98";  // U+20758, the 1881st
  }
  DecodedDocument doc = DecodeDocument(utf8);
  ASSERT_EQ(doc.mojiCode, "UTF8N");
  EXPECT_EQ(doc.lossy, 1u);
  EXPECT_EQ(doc.codec.AssignedCount(), TTextCodec::kUserCodes);
  EXPECT_EQ(doc.text.back(), '?');
}

}  // namespace
}  // namespace kelu
