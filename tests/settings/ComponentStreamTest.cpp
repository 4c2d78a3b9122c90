// The component stream: every published property of the editor property
// set written and read back, through the settings file too; streams of
// other versions and damaged streams.
#include "settings/ComponentStream.h"

#include <gtest/gtest.h>

#include <map>

#include "SettingsTestSupport.h"
#include "base/Properties.h"
#include "settings/EditorProp.h"
#include "settings/RegMng.h"

namespace kelu {
namespace {

using test::Sjis;

// Every settable leaf under `obj` as "path=value", by the property
// description (collections and string lists included).
void Dump(TPersistent& obj, const std::string& path,
          std::vector<std::pair<std::string, std::string>>& out) {
  if (auto* list = dynamic_cast<TStrings*>(&obj)) {
    for (int i = 0; i < list->Count(); ++i) out.emplace_back(path + "#" + std::to_string(i), list->Get(i));
    out.emplace_back(path + "#count", std::to_string(list->Count()));
    return;
  }
  if (auto* collection = dynamic_cast<TCollection*>(&obj)) {
    out.emplace_back(path + "#count", std::to_string(collection->Count()));
    for (int i = 0; i < collection->Count(); ++i) {
      Dump(*collection->Items(i), path + "#" + std::to_string(i), out);
    }
  }
  if (!obj.ClassInfo()) return;
  for (const TPropInfo* p : obj.ClassInfo()->AllProps()) {
    const std::string full = path + "." + p->Name;
    if (p->Kind() == TTypeKind::tkClass) {
      if (TPersistent* child = p->GetObj(obj)) Dump(*child, full, out);
    } else if (p->Kind() == TTypeKind::tkString) {
      if (p->SetStr) out.emplace_back(full, p->GetStr(obj));
    } else if (p->SetOrd) {
      out.emplace_back(full, std::to_string(p->GetOrd(obj)));
    }
  }
}

std::vector<std::pair<std::string, std::string>> Leaves(TPersistent& obj) {
  std::vector<std::pair<std::string, std::string>> out;
  Dump(obj, "", out);
  return out;
}

// Changes every settable leaf to another value its setter keeps.
void Mutate(TPersistent& obj) {
  if (auto* list = dynamic_cast<TStrings*>(&obj)) {
    list->Add(Sjis("予約語"));
    list->Add("begin");
    return;
  }
  if (auto* collection = dynamic_cast<TCollection*>(&obj)) {
    collection->Add();
    collection->Add();
    for (int i = 0; i < collection->Count(); ++i) Mutate(*collection->Items(i));
  }
  if (!obj.ClassInfo()) return;
  for (const TPropInfo* p : obj.ClassInfo()->AllProps()) {
    if (p->Kind() == TTypeKind::tkClass) {
      if (TPersistent* child = p->GetObj(obj)) Mutate(*child);
    } else if (p->Kind() == TTypeKind::tkString) {
      if (!p->SetStr) continue;
      const std::string old = p->GetStr(obj);
      p->SetStr(obj, Sjis("「字」") + old);
      if (p->GetStr(obj) == old) p->SetStr(obj, Sjis("字"));
    } else if (p->SetOrd) {
      const std::int64_t old = p->GetOrd(obj);
      std::vector<std::int64_t> tries;
      if (p->Type == &TypeColor()) {
        tries = {old == clRed ? clBlue : clRed};
      } else if (p->Kind() == TTypeKind::tkEnumeration) {
        tries = {(old + 1) % static_cast<std::int64_t>(p->Type->Names.size())};
      } else if (p->Kind() == TTypeKind::tkSet) {
        tries = {old ^ 5};
      } else {
        tries = {old + 2, old - 2, old + 1, old - 1};
      }
      for (std::int64_t v : tries) {
        p->SetOrd(obj, v);
        if (p->GetOrd(obj) != old) break;
      }
    }
  }
}

TEST(ComponentStreamTest, TheSetPublishesThePropertiesOfBothEditors) {
  TEditorExProp set;
  std::vector<std::string> names;
  for (const TPropInfo* p : set.ClassInfo()->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{
                       "FileExtList", "Color", "Caret", "Font", "HitStyle", "Imagebar", "Leftbar",
                       "Margin", "Marks", "ReserveWordList", "Ruler", "ScrollBars", "Speed", "View",
                       "WordWrap", "WrapOption", "ExMarks", "ExSearchOptions", "FindLineFeedCount",
                       "VerticalLines"}));
}

TEST(ComponentStreamTest, EveryPropertyWithAnotherValueComesBackThroughTheSettingsFile) {
  TEditorExProp written;
  written.SetName("KeluEditorExProp");
  SetStoredDesignValues(written);
  Mutate(written);

  // Every leaf differs from the design values, so the comparison below
  // would see a property that is not stored.
  TEditorExProp design;
  SetStoredDesignValues(design);
  const auto mutated = Leaves(written);
  const auto designLeaves = Leaves(design);
  const std::map<std::string, std::string> before(designLeaves.begin(), designLeaves.end());
  for (const auto& [path, value] : mutated) {
    auto it = before.find(path);
    if (it != before.end()) {
      EXPECT_NE(it->second, value) << path << " kept its design value";
    }
  }
  EXPECT_GT(mutated.size(), 150u);

  test::TTempDir dir;
  TRegManager manager;
  manager.SetIniFileName(dir.File("KeluEditorVetra.ini"));
  manager.RegItems().Add("Keluエディタ", "エディタ設定値", "KeluEditorVetra");
  manager.Filer("Keluエディタ").WriteComponent(&written);

  TEditorExProp read;
  SetStoredDesignValues(read);
  manager.Filer("Keluエディタ").ReadComponent(&read);
  EXPECT_TRUE(manager.ResetItems().empty());
  EXPECT_EQ(Leaves(read), mutated);

  // A few values by their own getters.
  EXPECT_EQ(read.WrapOption().FollowStr(), written.WrapOption().FollowStr());
  EXPECT_EQ(read.Font().Name(), written.Font().Name());
  EXPECT_EQ(read.VerticalLines().Count(), 2);
  EXPECT_EQ(read.View().Brackets().Count(), 2);
  EXPECT_TRUE(read.ReserveWordList().Equals(written.ReserveWordList()));
  EXPECT_EQ(read.ExSearchOptions(), written.ExSearchOptions());
  EXPECT_EQ(read.FindLineFeedCount(), written.FindLineFeedCount());
}

TEST(ComponentStreamTest, StringsReadAsTextAndComeBackByteForByte) {
  TEditorExProp set;
  set.WrapOption().SetFollowStr(Sjis("、。ー）"));
  set.View().SetCommenter(std::string("\x87\x90", 2));  // ≒ of the NEC row: two forms in CP932
  set.View().SetHexPrefix(std::string("\x81", 1));       // a lead byte alone
  set.View().SetQuotation("\"");
  const std::string stream = WriteComponentStream(set, "KeluEditorExProp");
  EXPECT_TRUE(stream.starts_with("object KeluEditorExProp: TEditorExProp\n")) << stream;
  EXPECT_NE(stream.find("  WrapOption.FollowStr = \"、。ー）\"\n"), std::string::npos);
  EXPECT_NE(stream.find("  View.Commenter = #8790\n"), std::string::npos);
  EXPECT_NE(stream.find("  View.HexPrefix = #81\n"), std::string::npos);
  EXPECT_NE(stream.find("  View.Quotation = \"\\\"\"\n"), std::string::npos);
  EXPECT_NE(stream.find("  Font.Style = []\n"), std::string::npos);
  EXPECT_NE(stream.find("  Color = clWindow\n"), std::string::npos);

  TEditorExProp read;
  EXPECT_TRUE(ReadComponentStream(stream, read).Clean());
  EXPECT_EQ(read.WrapOption().FollowStr(), set.WrapOption().FollowStr());
  EXPECT_EQ(read.View().Commenter(), set.View().Commenter());
  EXPECT_EQ(read.View().HexPrefix(), set.View().HexPrefix());
  EXPECT_EQ(read.View().Quotation(), "\"");
}

TEST(ComponentStreamTest, OtherVersionsAndDamagedLines) {
  TEditorExProp set;
  set.Caret().SetTabSpaceCount(4);
  set.SetHitStyle(hsDraw);
  // A newer program's stream: unknown properties, a set element this one
  // does not know, no Ruler lines at all.
  const std::string newer =
      "object KeluEditorExProp: TEditorExProp\n"
      "  Sparkle = 3\n"
      "  Caret.Glitter.Depth = 1\n"
      "  ExSearchOptions = [soRegexp, soFuzzy]\n"
      "  WordWrap = True\n"
      "end\n";
  TStreamReadResult r = ReadComponentStream(newer, set);
  EXPECT_TRUE(r.Clean());
  EXPECT_TRUE(set.WordWrap());
  EXPECT_EQ(set.ExSearchOptions(), TExSearchOptions({soRegexp}));
  EXPECT_EQ(set.Caret().TabSpaceCount(), 4);

  const std::string damaged =
      "object KeluEditorExProp: TEditorExProp\n"
      "  Caret.TabSpaceCount = many\n"
      "  HitStyle = hsSideways\n"
      "  just words\n"
      "  View.Commenter = \"unterminated\n"
      "  ReserveWordList.Count = 3\n"
      "  ReserveWordList[0] = \"a\"\n"
      "  VerticalLines.Count = 99999\n"
      "  View.Brackets[7].LeftBracket = \"(\"\n"
      "  ScrollBars = ssBoth\n"
      "end\n";
  r = ReadComponentStream(damaged, set);
  EXPECT_TRUE(r.readable);
  EXPECT_EQ(r.damaged, 7);
  EXPECT_EQ(set.Caret().TabSpaceCount(), 4);
  EXPECT_EQ(set.HitStyle(), hsDraw);
  EXPECT_EQ(set.ReserveWordList().Count(), 0);
  EXPECT_EQ(set.VerticalLines().Count(), 0);
  EXPECT_EQ(set.ScrollBars(), ssBoth);

  for (const char* text : {"", "Hello", "object X: Y\n  Color = clRed\n", "\xFF\xFE"}) {
    SCOPED_TRACE(text);
    TEditorExProp untouched;
    EXPECT_FALSE(ReadComponentStream(text, untouched).readable);
    EXPECT_EQ(untouched.Color(), clWindow);
  }
}

TEST(ComponentStreamTest, HexLines) {
  EXPECT_TRUE(StreamToHexLines("").empty());
  EXPECT_EQ(StreamToHexLines("\x01\xfe"), (std::vector<std::string>{"01FE"}));
  std::string bytes;
  EXPECT_TRUE(HexLinesToStream({"01fe", "7F"}, bytes));
  EXPECT_EQ(bytes, "\x01\xfe\x7f");
  EXPECT_FALSE(HexLinesToStream({"0"}, bytes));
  EXPECT_FALSE(HexLinesToStream({"0G"}, bytes));
  EXPECT_FALSE(HexLinesToStream({"00", " 1"}, bytes));
}

}  // namespace
}  // namespace kelu
