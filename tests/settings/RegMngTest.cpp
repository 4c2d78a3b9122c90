// The settings store: items, every filer operation, the keys it leaves in
// the file, damaged files and failed writes.
#include "settings/RegMng.h"

#include <gtest/gtest.h>

#include <functional>

#include "SettingsTestSupport.h"
#include "base/Exceptions.h"
#include "settings/ComponentStream.h"
#include "settings/EditorProp.h"
#include "settings/IniFile.h"

namespace kelu {
namespace {

using test::Sjis;
using test::TTempDir;

// A store on a file of its own with the application's three items and a
// few plain ones; messages are collected.
struct TStoreFixture {
  TTempDir dir;
  TRegManager manager;
  std::vector<std::string> messages;

  TStoreFixture() {
    manager.SetIniFileName(dir.File("KeluEditorVetra.ini"));
    manager.OnMessage = [this](const std::string& m) { messages.push_back(m); };
    manager.RegItems().Add("Keluエディタ", "エディタ設定値", "KeluEditorVetra");
    manager.RegItems().Add("フォント", "フォント設定値", "Font");
    manager.RegItems().Add("ファイル関連付け", "拡張子", "Ext");
    manager.RegItems().Add("Count", "数", "Count", "7");
    manager.RegItems().Add("Flag", "数", "Flag", "yes");
    manager.RegItems().Add("Title", "文字", "Title", "無題");
  }
  std::string Text() const { return test::ReadText(manager.IniFileName()); }
  void SetText(const std::string& text) const { test::WriteText(manager.IniFileName(), text); }
  TIniFile Ini() const { return TIniFile::Load(manager.IniFileName()); }
  TRegFiler& Filer(const char* name) { return manager.Filer(name); }
};

TStringList ListOf(std::initializer_list<const char*> items) {
  TStringList list;
  for (const char* item : items) list.Add(item);
  return list;
}

TEST(RegMngTest, TheEdgeCasesOfTheKeysWritten) {
  struct Case {
    const char* name;
    std::function<void(TStoreFixture&)> act;
    std::function<void(TStoreFixture&)> check;
  };
  const Case cases[] = {
      {"three strings then one",
       [](TStoreFixture& f) {
         TStringList three = ListOf({"txt", "c", "h"});
         f.Filer("ファイル関連付け").WriteStrings(&three);
         TStringList one = ListOf({"md"});
         f.Filer("ファイル関連付け").WriteStrings(&one);
       },
       [](TStoreFixture& f) {
         EXPECT_EQ(f.Ini().Keys("拡張子"), (std::vector<std::string>{"Ext_ItemCount", "Ext_Item0"}));
         EXPECT_EQ(f.Ini().Read("拡張子", "Ext_ItemCount"), "1");
         EXPECT_EQ(f.Ini().Read("拡張子", "Ext_Item0"), "md");
       }},
      {"an empty list",
       [](TStoreFixture& f) {
         TStringList two = ListOf({"txt", "c"});
         f.Filer("ファイル関連付け").WriteStrings(&two);
         TStringList none;
         f.Filer("ファイル関連付け").WriteStrings(&none);
       },
       [](TStoreFixture& f) { EXPECT_TRUE(f.Ini().Keys("拡張子").empty()); }},
      {"a 33-byte stream",
       [](TStoreFixture& f) { f.Filer("Keluエディタ").WriteStream(std::string(33, '\xAB')); },
       [](TStoreFixture& f) {
         TIniFile ini = f.Ini();
         EXPECT_EQ(ini.Read("エディタ設定値", "KeluEditorVetra_c"), "2");
         std::string line;
         for (int i = 0; i < 32; ++i) line += "AB";
         EXPECT_EQ(ini.Read("エディタ設定値", "KeluEditorVetra_d0"), line);
         EXPECT_EQ(ini.Read("エディタ設定値", "KeluEditorVetra_d1"), "AB");
         EXPECT_EQ(ini.Keys("エディタ設定値").size(), 3u);
         std::string back = "x";
         f.Filer("Keluエディタ").ReadStream(back);
         EXPECT_EQ(back, "x" + std::string(33, '\xAB'));
       }},
      {"a shorter stream takes the old lines away",
       [](TStoreFixture& f) {
         f.Filer("Keluエディタ").WriteStream(std::string(100, 'x'));
         f.Filer("Keluエディタ").WriteStream("y");
       },
       [](TStoreFixture& f) {
         EXPECT_EQ(f.Ini().Keys("エディタ設定値"),
                   (std::vector<std::string>{"KeluEditorVetra_c", "KeluEditorVetra_d0"}));
         EXPECT_EQ(f.Ini().Read("エディタ設定値", "KeluEditorVetra_d0"), "79");
       }},
      {"a component without a _c key is left as it is",
       [](TStoreFixture& f) { f.SetText("[エディタ設定値]\nKeluEditorVetra_d0=00\n"); },
       [](TStoreFixture& f) {
         TEditorExProp set;
         set.SetWordWrap(true);
         set.Caret().SetTabSpaceCount(4);
         f.Filer("Keluエディタ").ReadComponent(&set);
         EXPECT_TRUE(set.WordWrap());
         EXPECT_EQ(set.Caret().TabSpaceCount(), 4);
         EXPECT_TRUE(f.manager.ResetItems().empty());
       }},
      {"ReadBool with the default yes and no key",
       [](TStoreFixture&) {},
       [](TStoreFixture& f) {
         EXPECT_TRUE(f.Filer("Flag").ReadBool());
         f.manager.RegItems().Find("Flag")->SetDefaultValue("no");
         EXPECT_FALSE(f.Filer("Flag").ReadBool());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStoreFixture f;
    c.act(f);
    c.check(f);
    EXPECT_TRUE(f.messages.empty());
  }
}

TEST(RegMngTest, EveryKindOfValueReadsBack) {
  TStoreFixture f;
  EXPECT_EQ(f.Filer("count").ReadInteger(), 7);  // names ignore case
  f.Filer("Count").WriteInteger(-42);
  EXPECT_EQ(f.Filer("Count").ReadInteger(), -42);
  f.Filer("Flag").WriteBool(false);
  EXPECT_FALSE(f.Filer("Flag").ReadBool());
  EXPECT_EQ(f.Filer("Title").ReadItemString(), "無題");
  f.Filer("Title").WriteItemString("日本語の題");
  EXPECT_EQ(f.Filer("Title").ReadItemString(), "日本語の題");
  EXPECT_EQ(f.Filer("Title").ReadString("他", "鍵", "既定"), "既定");
  f.Filer("Title").WriteString("他", "鍵", "値");
  EXPECT_EQ(f.Filer("Title").ReadString("他", "鍵", "既定"), "値");
  f.Filer("Title").WriteString("", "鍵", "x");  // no section: nothing
  f.Filer("Title").DeleteKey("他", "鍵");
  EXPECT_EQ(f.Filer("Title").ReadString("他", "鍵", "既定"), "既定");

  TFont font;
  font.SetName(Sjis("メイリオ"));
  font.SetSize(12);
  font.SetColor(clRed);
  font.SetStyle(StyleBit(fsBold) | StyleBit(fsItalic));
  font.SetCharset(SHIFTJIS_CHARSET);
  f.Filer("フォント").WriteFont(&font);
  const TIniFile ini = f.Ini();
  EXPECT_EQ(ini.Read("フォント設定値", "Font_FontName"), "メイリオ");  // readable UTF-8
  EXPECT_EQ(ini.Read("フォント設定値", "Font_FontSize"), "12");
  EXPECT_EQ(ini.Read("フォント設定値", "Font_FontColor"), "clRed");
  EXPECT_EQ(ini.Read("フォント設定値", "Font_FontStyle"), "3");
  EXPECT_EQ(ini.Read("フォント設定値", "Font_FontCharset"), "128");
  TFont back;
  f.Filer("フォント").ReadFont(&back);
  EXPECT_TRUE(back == font);

  TStringList list = ListOf({"txt", "日本", "c"});
  f.Filer("ファイル関連付け").WriteStrings(&list);
  TStringList read = ListOf({"old"});
  f.Filer("ファイル関連付け").ReadStrings(&read);
  EXPECT_TRUE(read.Equals(list));
  EXPECT_TRUE(f.messages.empty());
  EXPECT_TRUE(f.manager.ResetItems().empty());
}

TEST(RegMngTest, UnknownItemsAndMissingStoresSayWhyAndDoNothing) {
  TStoreFixture f;
  TRegFiler& filer = f.Filer("ありません");
  EXPECT_EQ(f.messages, (std::vector<std::string>{"[' ありません '] is invalid."}));
  EXPECT_EQ(filer.Item(), nullptr);
  filer.WriteInteger(5);
  EXPECT_EQ(filer.ReadInteger(), 0);
  EXPECT_FALSE(filer.ReadBool());
  EXPECT_EQ(&f.Filer("Count"), &filer);  // one filer, bound again
  EXPECT_FALSE(std::filesystem::exists(f.manager.IniFileName()));

  f.messages.clear();
  f.manager.SetIniFileName("");
  f.Filer("Count").WriteInteger(1);
  EXPECT_EQ(f.messages, (std::vector<std::string>{"can not create Inifile object."}));

  f.messages.clear();
  f.manager.SetRegType(rtReg);
  f.Filer("Count").WriteInteger(1);
  EXPECT_EQ(f.messages, (std::vector<std::string>{"can not create Registry object."}));
}

// A file damaged in many ways at once: what can be read is read, the rest
// keeps its default, and each damaged item is named once.
TEST(RegMngTest, ADamagedFileStopsNothing) {
  struct Case {
    const char* name;
    const char* text;
    const char* item;  // the item named as reset, or "" for none
    std::function<void(TStoreFixture&)> check;
  };
  auto componentKept = [](TStoreFixture& f) {
    TEditorExProp set;
    set.SetHitStyle(hsCaret);
    f.Filer("Keluエディタ").ReadComponent(&set);
    EXPECT_EQ(set.HitStyle(), hsCaret);
  };
  auto listKept = [](TStoreFixture& f) {
    TStringList list = ListOf({"kept"});
    f.Filer("ファイル関連付け").ReadStrings(&list);
    EXPECT_TRUE(list.Equals(ListOf({"kept"})));
  };
  const Case cases[] = {
      {"garbage lines", "garbage\n[数]\n%%%\nCount=3\n]]]\n", "",
       [](TStoreFixture& f) { EXPECT_EQ(f.Filer("Count").ReadInteger(), 3); }},
      {"a hex line of odd length",
       "[エディタ設定値]\nKeluEditorVetra_c=1\nKeluEditorVetra_d0=ABC\n", "Keluエディタ",
       componentKept},
      {"a hex line with a character that is no digit",
       "[エディタ設定値]\nKeluEditorVetra_c=1\nKeluEditorVetra_d0=ABXY\n", "Keluエディタ",
       componentKept},
      {"a negative line count", "[エディタ設定値]\nKeluEditorVetra_c=-3\n", "Keluエディタ",
       componentKept},
      {"more lines counted than present",
       "[エディタ設定値]\nKeluEditorVetra_c=3\nKeluEditorVetra_d0=6F\n", "Keluエディタ",
       componentKept},
      {"a huge line count", "[エディタ設定値]\nKeluEditorVetra_c=2000000000\n", "Keluエディタ",
       componentKept},
      {"a stream that is no component",
       "[エディタ設定値]\nKeluEditorVetra_c=1\nKeluEditorVetra_d0=48656C6C6F\n", "Keluエディタ",
       componentKept},
      {"a negative item count", "[拡張子]\nExt_ItemCount=-1\n", "ファイル関連付け", listKept},
      {"more items counted than present", "[拡張子]\nExt_ItemCount=5\nExt_Item0=txt\n",
       "ファイル関連付け", listKept},
      {"a number that is no number", "[数]\nCount=sieben\nFlag=vielleicht\n", "Count",
       [](TStoreFixture& f) {
         EXPECT_EQ(f.Filer("Count").ReadInteger(), 7);
         EXPECT_TRUE(f.Filer("Flag").ReadBool());
         EXPECT_EQ(f.manager.ResetItems(), (std::vector<std::string>{"Count", "Flag"}));
       }},
      {"a font with a bad size and colour",
       "[フォント設定値]\nFont_FontName=IPAGothic\nFont_FontSize=big\nFont_FontColor=nope\n",
       "フォント",
       [](TStoreFixture& f) {
         TFont font;
         font.SetSize(10);
         font.SetColor(clBlue);
         f.Filer("フォント").ReadFont(&font);
         EXPECT_EQ(font.Name(), "IPAGothic");
         EXPECT_EQ(font.Size(), 10);
         EXPECT_EQ(font.Color(), clBlue);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TStoreFixture f;
    f.SetText(std::string(c.text) + "[文字]\nTitle=読める\n");
    c.check(f);
    EXPECT_EQ(f.Filer("Title").ReadItemString(), "読める");
    if (*c.item) {
      ASSERT_FALSE(f.manager.ResetItems().empty());
      EXPECT_EQ(f.manager.ResetItems().front(), c.item);
    } else {
      EXPECT_TRUE(f.manager.ResetItems().empty());
    }
    EXPECT_TRUE(f.messages.empty());
  }
}

TEST(RegMngTest, AFailedWriteRaisesAndLeavesTheOldFile) {
  TStoreFixture f;
  TEditorExProp set;
  set.SetName("KeluEditorExProp");
  f.Filer("Keluエディタ").WriteComponent(&set);
  const std::string before = f.Text();
  set.SetWordWrap(true);
  if (!test::MakeReadOnly(f.dir.Path())) GTEST_SKIP() << "no read-only folders here";
  EXPECT_THROW(f.Filer("Keluエディタ").WriteComponent(&set), EFileError);
  test::MakeWritable(f.dir.Path());
  EXPECT_EQ(f.Text(), before);
  // Nothing else is left beside it.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(f.dir.Path())) {
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(RegMngTest, SettingsNumbers) {
  const struct {
    const char* text;
    std::optional<int> value;
  } cases[] = {{"12", 12},       {" -7 ", -7},   {"$1F", 31},      {"0x10", 16},
               {"$FFFFFFFF", -1}, {"", {}},      {"12a", {}},      {"99999999999", {}},
               {"-", {}},        {"+5", 5},      {"1.5", {}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseSettingsInt(c.text), c.value);
  }
}

}  // namespace
}  // namespace kelu
