// The view settings object: a facade over the editor fountain it owns.
#include "editor/control/settings/EditorViewInfo.h"

#include <gtest/gtest.h>

#include "base/Exceptions.h"
#include "editor/control/settings/EditorSettings.h"

namespace kelu {
namespace {

struct Counter {
  int count = 0;
  void Hit(TObject*) { ++count; }
  TNotifyEvent Event() { return TNotifyEvent::Of<&Counter::Hit>(this); }
};

TEST(EditorViewInfoTest, SettersStoreInTheFountainAndNotifyOnChangeOnly) {
  TEditorViewInfo view;
  Counter changes;
  view.OnChange = changes.Event();
  view.SetCommenter("//");
  view.SetCommenter("//");
  view.SetHexPrefix("0x");
  view.SetControlCode(true);
  view.SetMail(true);
  view.SetUrl(true);
  view.SetUrl(true);
  EXPECT_EQ(changes.count, 5);
  EXPECT_EQ(view.Fountain().Commenter(), "//");
  EXPECT_EQ(view.Fountain().HexPrefix(), "0x");
  EXPECT_TRUE(view.Fountain().ControlCode());
  EXPECT_TRUE(view.Fountain().Mail());
  EXPECT_TRUE(view.Fountain().Url());
}

TEST(EditorViewInfoTest, QuotationKeepsOnlyTheFirstCharacter) {
  TEditorViewInfo view;
  struct Case {
    std::string value;
    std::string stored;
  };
  for (const Case& c : {Case{"\"'", "\""}, Case{"\x81\x75\x81\x76", "\x81\x75"}, Case{"", ""},
                        Case{"\x81", "\x81"}}) {
    view.SetQuotation(c.value);
    EXPECT_EQ(view.Quotation(), c.stored);
  }
}

TEST(EditorViewInfoTest, ChangesInsideTheFountainReachTheView) {
  TEditorViewInfo view;
  Counter changes;
  view.OnChange = changes.Event();
  view.Colors().Str().SetColor(clRed);
  EXPECT_EQ(changes.count, 1);
  view.Brackets().Add();
  EXPECT_EQ(changes.count, 2);
  // Assigned into directly, as copies of published properties do.
  TStringList words;
  words.Add("begin");
  view.Fountain().ReserveWordList().Assign(words);
  EXPECT_EQ(changes.count, 3);
  view.Fountain().SetReserveWordList(words);
  EXPECT_GE(changes.count, 4);
}

TEST(EditorViewInfoTest, AssignCopiesEverythingWithOneNotification) {
  TEditorViewInfo from, to;
  from.SetCommenter(";");
  from.SetControlCode(true);
  from.SetHexPrefix("$");
  from.SetMail(true);
  from.SetQuotation("'");
  from.SetUrl(true);
  from.Colors().Select().SetBkColor(clRed);
  auto* item = from.Brackets().Add();
  item->SetLeftBracket("{");
  item->SetRightBracket("}");
  Counter changes;
  to.OnChange = changes.Event();
  to.Assign(from);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(to.Commenter(), ";");
  EXPECT_TRUE(to.ControlCode());
  EXPECT_EQ(to.HexPrefix(), "$");
  EXPECT_TRUE(to.Mail());
  EXPECT_EQ(to.Quotation(), "'");
  EXPECT_TRUE(to.Url());
  EXPECT_EQ(to.Colors().Select().BkColor(), clRed);
  ASSERT_EQ(to.Brackets().Count(), 1);
  EXPECT_EQ(to.Brackets().Items(0)->RightBracket(), "}");

  TEditorCaret caret;
  EXPECT_THROW(to.Assign(caret), EConvertError);
  EXPECT_EQ(to.Commenter(), ";");
}

TEST(EditorViewInfoTest, PublishedPropertiesAndOwner) {
  int owner = 0;
  TEditorViewInfo view(reinterpret_cast<TPersistent*>(&owner));
  EXPECT_EQ(view.GetOwner(), reinterpret_cast<TPersistent*>(&owner));
  const TClassInfo* info = view.ClassInfo();
  ASSERT_NE(info, nullptr);
  std::vector<std::string> names;
  for (const TPropInfo* p : info->AllProps()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"Brackets", "Colors", "Commenter", "ControlCode",
                                             "HexPrefix", "Mail", "Quotation", "Url"}));
  info->Find("Quotation")->SetStr(view, "ab");
  EXPECT_EQ(view.Quotation(), "a");
  info->Find("Url")->SetOrd(view, 1);
  EXPECT_TRUE(view.Url());
}

}  // namespace
}  // namespace kelu
