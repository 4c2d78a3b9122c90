// The INI file as text: lines kept, keys found and placed, values that read
// back as written, saving whole.
#include "settings/IniFile.h"

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"
#include "base/Exceptions.h"

namespace kelu {
namespace {

using test::TTempDir;

constexpr const char* kHandWritten =
    "; written by hand\n"
    "[エディタ設定値]\n"
    "KeluEditorVetra_c = 2\n"
    "this line is no key\n"
    "\n"
    "[フォント設定値]\n"
    "Font_FontName=メイリオ\n";

TEST(IniFileTest, WritingChangesOnlyTheKeysWritten) {
  TIniFile ini = TIniFile::FromText(kHandWritten);
  EXPECT_EQ(ini.Text(), kHandWritten);
  EXPECT_EQ(ini.Read("エディタ設定値", "KeluEditorVetra_c"), "2");
  EXPECT_EQ(ini.Read("フォント設定値", "font_fontname"), "メイリオ");
  EXPECT_FALSE(ini.Modified());

  ini.WriteString("エディタ設定値", "KeluEditorVetra_c", "2");  // unchanged text, same line
  EXPECT_FALSE(ini.Modified());
  ini.WriteString("エディタ設定値", "KeluEditorVetra_d0", "00FF");
  ini.WriteString("拡張子", "Ext_ItemCount", "1");
  EXPECT_TRUE(ini.Modified());
  EXPECT_EQ(ini.Text(),
            "; written by hand\n"
            "[エディタ設定値]\n"
            "KeluEditorVetra_c = 2\n"
            "KeluEditorVetra_d0=00FF\n"
            "this line is no key\n"
            "\n"
            "[フォント設定値]\n"
            "Font_FontName=メイリオ\n"
            "\n"
            "[拡張子]\n"
            "Ext_ItemCount=1\n");
}

TEST(IniFileTest, DuplicatesAndCaseAndDeletion) {
  TIniFile ini = TIniFile::FromText("[A]\nk=1\nK=2\n[a]\nm=3\n[B]\nk=4\n");
  EXPECT_EQ(ini.Read("a", "K"), "1");
  EXPECT_EQ(ini.Read("A", "m"), "3");
  EXPECT_EQ(ini.Keys("A"), (std::vector<std::string>{"k", "K", "m"}));
  EXPECT_TRUE(ini.DeleteKey("A", "k"));
  EXPECT_FALSE(ini.KeyExists("a", "k"));
  EXPECT_FALSE(ini.DeleteKey("A", "k"));
  EXPECT_EQ(ini.Read("B", "k"), "4");
  ini.EraseSection("a");
  EXPECT_FALSE(ini.SectionExists("A"));
  EXPECT_EQ(ini.Text(), "[B]\nk=4\n");
}

TEST(IniFileTest, EveryOneLineValueReadsBackAsWritten) {
  const struct {
    const char* value;
    const char* line;  // as written in the file
    const char* read;
  } cases[] = {
      {"", "k=", ""},
      {"plain", "k=plain", "plain"},
      {" leading", "k=\" leading\"", " leading"},
      {"trailing\t", "k=\"trailing\t\"", "trailing\t"},
      {"\"quoted\"", "k=\"\"quoted\"\"", "\"quoted\""},
      {"a=b", "k=a=b", "a=b"},
      {"全角　スペース", "k=全角　スペース", "全角　スペース"},
      {"two\r\nlines", "k=two  lines", "two  lines"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    TIniFile ini;
    ini.WriteString("s", "k", c.value);
    EXPECT_EQ(ini.Text(), std::string("[s]\n") + c.line + "\n");
    EXPECT_EQ(TIniFile::FromText(ini.Text()).Read("s", "k"), c.read);
  }
  // Hand-written blanks around keys and values do not count.
  EXPECT_EQ(TIniFile::FromText("[s]\n  key  =  value  \r\n").Read("s", "key"), "value");
}

TEST(IniFileTest, LoadsMissingAndShiftJisFilesAndSavesWhole) {
  TTempDir dir;
  EXPECT_FALSE(TIniFile::Load(dir.File("none.ini")).SectionExists("x"));

  const std::string sjis = test::Sjis("[拡張子]\nExt_Item0=テキスト\n");
  test::WriteText(dir.File("old.ini"), sjis);
  EXPECT_EQ(TIniFile::Load(dir.File("old.ini"), true).Read("拡張子", "Ext_Item0"), "テキスト");
  // A UTF-8 file with a damaged byte keeps its Japanese names.
  test::WriteText(dir.File("damaged.ini"), "[拡張子]\nExt_Item0=テキスト\xff\n");
  EXPECT_TRUE(TIniFile::Load(dir.File("damaged.ini"), true).SectionExists("拡張子"));

  TIniFile ini = TIniFile::Load(dir.File("sub/dir/new.ini"));
  ini.WriteString("s", "k", "v");
  ini.Save();
  EXPECT_EQ(test::ReadText(dir.File("sub/dir/new.ini")), "[s]\nk=v\n");
  EXPECT_FALSE(ini.Modified());

  // A byte-order mark stays.
  TIniFile bom = TIniFile::FromText("\xEF\xBB\xBF[s]\nk=v\n");
  EXPECT_EQ(bom.Read("s", "k"), "v");
  EXPECT_EQ(bom.Text(), "\xEF\xBB\xBF[s]\nk=v\n");
}

TEST(IniFileTest, AFailedSaveLeavesTheOldFile) {
  TTempDir dir;
  const std::string file = dir.File("KeluEditorVetra.ini");
  test::WriteText(file, "[s]\nk=old\n");
  TIniFile ini = TIniFile::Load(file);
  ini.WriteString("s", "k", "new");
  if (!test::MakeReadOnly(dir.Path())) GTEST_SKIP() << "no read-only folders here";
  try {
    ini.Save();
    FAIL() << "saved into a read-only folder";
  } catch (const EFileError& e) {
    EXPECT_NE(e.Message().find("保存できませんでした"), std::string::npos) << e.Message();
    EXPECT_NE(e.Message().find(file), std::string::npos) << e.Message();
  }
  test::MakeWritable(dir.Path());
  EXPECT_EQ(test::ReadText(file), "[s]\nk=old\n");
  EXPECT_TRUE(ini.Modified());
}

}  // namespace
}  // namespace kelu
