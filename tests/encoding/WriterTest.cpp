#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/encoding/Encodings.h"
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
