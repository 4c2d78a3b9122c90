// The platform store of rtReg: the same filer operations through
// QSettings in a file under the configuration home.
#include "settings/qt/PlatformStore.h"

#include <gtest/gtest.h>

#include <QSettings>

#include "SettingsTestSupport.h"
#include "settings/EditorProp.h"

namespace kelu {
namespace {

TEST(PlatformStoreTest, ItemsLiveInGroupsOfTheStoreAtRegDir) {
  test::TTempDir dir;
  setenv("XDG_CONFIG_HOME", dir.Path().c_str(), 1);
  EXPECT_EQ(TPlatformRegManager::RegistryFileName("Software\\Kelu\\KeluEditorVetra"),
            dir.File("Software/Kelu/KeluEditorVetra.conf"));
  EXPECT_EQ(TPlatformRegManager::RegistryFileName("a/../b"), "");
  EXPECT_EQ(TPlatformRegManager::RegistryFileName(""), "");

  TPlatformRegManager manager;
  std::vector<std::string> messages;
  manager.OnMessage = [&](const std::string& m) { messages.push_back(m); };
  manager.SetRegType(rtReg);
  manager.SetRegDir("Software\\Kelu\\KeluEditorVetra");
  manager.RegItems().Add("Keluエディタ", "エディタ設定値", "KeluEditorVetra");
  manager.RegItems().Add("フォント", "フォント設定値", "Font");
  manager.RegItems().Add("数", "数値", "Count", "3");

  EXPECT_EQ(manager.Filer("数").ReadInteger(), 3);
  manager.Filer("数").WriteInteger(12);
  EXPECT_EQ(manager.Filer("数").ReadInteger(), 12);

  TEditorExProp set;
  set.SetName("KeluEditorExProp");
  set.SetWordWrap(true);
  set.WrapOption().SetWrapByte(44);
  manager.Filer("Keluエディタ").WriteComponent(&set);
  TEditorExProp read;
  manager.Filer("Keluエディタ").ReadComponent(&read);
  EXPECT_TRUE(read.WordWrap());
  EXPECT_EQ(read.WrapOption().WrapByte(), 44);

  TFont font;
  font.SetName("IPAGothic");
  font.SetSize(11);
  manager.Filer("フォント").WriteFont(&font);
  TFont back;
  manager.Filer("フォント").ReadFont(&back);
  EXPECT_TRUE(back == font);

  // One binary value for the stream, plain values in groups.
  QSettings file(QString::fromStdString(dir.File("Software/Kelu/KeluEditorVetra.conf")),
                 QSettings::NativeFormat);
  EXPECT_EQ(file.value(QStringLiteral("数値/Count")).toInt(), 12);
  EXPECT_TRUE(file.value(QStringLiteral("エディタ設定値/KeluEditorVetra"))
                  .toByteArray()
                  .startsWith("object KeluEditorExProp"));
  EXPECT_TRUE(messages.empty());

  manager.SetRegDir("");
  manager.Filer("数").WriteInteger(1);
  EXPECT_EQ(messages, (std::vector<std::string>{"can not create Registry object."}));
}

}  // namespace
}  // namespace kelu
