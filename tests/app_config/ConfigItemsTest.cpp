// The dialog's decisions that need no window: what the extension entry
// takes, and the message about reset settings.
#include "app/config/ConfigItems.h"

#include <gtest/gtest.h>

namespace kelu {
namespace {

TEST(ConfigItemsTest, TheExtensionEntry) {
  const std::string noPeriod = "ピリオドなしの拡張子を入力してください。";
  const struct {
    const char* text;
    bool ok;
    bool periodMessage;
  } cases[] = {
      {"txt", true, false},  {"md", true, false},   {"日本", true, false},
      {".txt", false, true}, {"c", false, true},    {"", false, true},
      {"あ", false, true},   {"a b", false, false}, {"x/y", false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const std::string problem = ExtensionEntryProblem(c.text);
    EXPECT_EQ(problem.empty(), c.ok) << problem;
    EXPECT_EQ(problem == noPeriod, c.periodMessage) << problem;
  }
}

TEST(ConfigItemsTest, TheItemsAndTheResetMessage) {
  TRegManager manager;
  DefineConfigItems(manager);
  DefineConfigItems(manager);  // once each
  ASSERT_EQ(manager.RegItems().Count(), 3);
  EXPECT_EQ(manager.RegItems().Find("Keluエディタ")->Section(), "エディタ設定値");
  EXPECT_EQ(manager.RegItems().Find("フォント")->Ident(), "Font");
  EXPECT_EQ(manager.RegItems().Find("ファイル関連付け")->Section(), "拡張子");
  EXPECT_EQ(manager.RegType(), rtIni);
  EXPECT_EQ(SettingsResetMessage("/h/KeluEditorVetra.ini", {"Keluエディタ", "フォント"}),
            "設定ファイル「/h/KeluEditorVetra.ini」の一部が読み取れなかったため、"
            "「Keluエディタ」、「フォント」の設定を既定値に戻しました。");
}

}  // namespace
}  // namespace kelu
