// Where the settings file lives.
#include "settings/SettingsPaths.h"

#include <gtest/gtest.h>

#include "SettingsTestSupport.h"

namespace kelu {
namespace {

using test::TTempDir;

// Sets an environment variable for the life of the object.
class TEnv {
 public:
  TEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~TEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SettingsPathsTest, BesideTheProgramWhenWritableElseTheConfigHome) {
  TTempDir dir;
  TEnv config("XDG_CONFIG_HOME", dir.File("config"));
  const std::string program = dir.File("bin/kelu-editor-vetra");
  std::filesystem::create_directories(dir.File("bin"));
  EXPECT_EQ(DefaultIniPath(program), dir.File("bin/KeluEditorVetra.ini"));
  if (test::MakeReadOnly(dir.File("bin"))) {
    EXPECT_EQ(DefaultIniPath(program), dir.File("config/KeluEditorVetra/KeluEditorVetra.ini"));
    test::MakeWritable(dir.File("bin"));
  }
  EXPECT_EQ(DefaultIniPath("/nonexistent-dir/kelu"),
            dir.File("config/KeluEditorVetra/KeluEditorVetra.ini"));
  {
    TEnv relative("XDG_CONFIG_HOME", "relative/dir");
    TEnv home("HOME", dir.File("home"));
    EXPECT_EQ(XdgConfigHome(), dir.File("home/.config"));
    EXPECT_EQ(XdgDataHome(), dir.File("home/.local/share"));
  }
}

TEST(SettingsPathsTest, TheCommandLineNamesTheFile) {
  TTempDir dir;
  const std::string program = dir.File("kelu");
  const struct {
    std::vector<std::string> args;
    std::string ini;  // empty: the default
    std::vector<std::string> files;
    bool error;
  } cases[] = {
      {{"a.txt", "b.txt"}, "", {"a.txt", "b.txt"}, false},
      {{"--ini", "/etc/k.ini", "a.txt"}, "/etc/k.ini", {"a.txt"}, false},
      {{"a.txt", "--ini=/x/../y/k.ini"}, "/y/k.ini", {"a.txt"}, false},
      {{"--", "--ini", "x"}, "", {"--ini", "x"}, false},
      {{"a.txt", "--ini"}, "", {"a.txt"}, true},
      {{"--ini="}, "", {}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "" : c.args.front());
    TSettingsLocation l = ResolveSettingsLocation(program, c.args);
    EXPECT_EQ(l.iniPath, c.ini.empty() ? DefaultIniPath(program) : c.ini);
    EXPECT_EQ(l.files, c.files);
    EXPECT_EQ(!l.error.empty(), c.error);
  }
  const std::string cwd = std::filesystem::current_path().string();
  EXPECT_EQ(ResolveSettingsLocation(program, {"--ini", "rel.ini"}).iniPath, cwd + "/rel.ini");
}

}  // namespace
}  // namespace kelu
