// File associations: the texts of the desktop entry, mimeapps.list and the
// MIME package, and the whole round with the real XDG tools on temporary
// folders, asked with xdg-mime as a desktop asks.
#include "app/config/Associations.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "SettingsTestSupport.h"
#include "settings/IniFile.h"

namespace kelu {
namespace {

using test::TTempDir;

TEST(AssociationsTest, TheProgramPathInTheExecLine) {
  const struct {
    const char* path;
    const char* exec;
  } cases[] = {
      {"/usr/bin/kelu-editor-vetra", "/usr/bin/kelu-editor-vetra"},
      {"/opt/Kelu エディタ/kelu", "\"/opt/Kelu エディタ/kelu\""},
      {"/opt/100%/kelu", "/opt/100%%/kelu"},
      {"/opt/a\"b$c`d/kelu", "\"/opt/a\\\\\"b\\\\$c\\\\`d/kelu\""},
      {"/opt/back\\slash/kelu", "\"/opt/back\\\\\\\\slash/kelu\""},
      {"/opt/it's/kelu", "\"/opt/it's/kelu\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(DesktopExecArgument(c.path), c.exec);
  }
}

TEST(AssociationsTest, TheDesktopEntryRecordsEachExtensionWithItsType) {
  const std::string text = DesktopEntryText(
      "/usr/bin/kelu", {{"txt", "text/plain"}, {"text", "text/plain"}, {"kelux", OwnMimeType("kelux")}});
  const TIniFile entry = TIniFile::FromText(text);
  EXPECT_EQ(entry.Read("Desktop Entry", "Name"), "KeluエディタVetra");
  EXPECT_EQ(entry.Read("Desktop Entry", "Exec"), "/usr/bin/kelu %F");
  EXPECT_EQ(entry.Read("Desktop Entry", "Type"), "Application");
  EXPECT_EQ(entry.Read("Desktop Entry", "MimeType"),
            "application/x-kelu-editor-vetra-kelux;text/plain;");
  EXPECT_EQ(RegisteredExtensions(text),
            (TExtensionTypes{{"kelux", "application/x-kelu-editor-vetra-kelux"},
                             {"text", "text/plain"},
                             {"txt", "text/plain"}}));
  EXPECT_TRUE(RegisteredExtensions("").empty());
  EXPECT_TRUE(RegisteredExtensions("[Desktop Entry]\nX-Kelu-Extensions=broken;:x;y:;\n").empty());
}

TEST(AssociationsTest, MimeAppsListKeepsWhatIsNotOurs) {
  const std::string existing =
      "# mine\n"
      "[Default Applications]\n"
      "image/png=gimp.desktop;\n"
      "text/plain=gedit.desktop;\n"
      "\n"
      "[Added Associations]\n"
      "text/plain=gedit.desktop;\n";
  const std::string added = MimeAppsListText(existing, {"text/plain", "text/x-c"}, {});
  EXPECT_EQ(added,
            "# mine\n"
            "[Default Applications]\n"
            "image/png=gimp.desktop;\n"
            "text/plain=kelu-editor-vetra.desktop;gedit.desktop;\n"
            "text/x-c=kelu-editor-vetra.desktop;\n"
            "\n"
            "[Added Associations]\n"
            "text/plain=kelu-editor-vetra.desktop;gedit.desktop;\n"
            "text/x-c=kelu-editor-vetra.desktop;\n");
  EXPECT_EQ(MimeAppsListText(added, {"text/plain"}, {}), added);  // once is enough
  EXPECT_EQ(MimeAppsListText(added, {}, {"text/plain", "text/x-c"}),
            "# mine\n"
            "[Default Applications]\n"
            "image/png=gimp.desktop;\n"
            "text/plain=gedit.desktop;\n"
            "\n"
            "[Added Associations]\n"
            "text/plain=gedit.desktop;\n");
  EXPECT_EQ(MimeAppsListText("", {"text/plain"}, {}),
            "[Added Associations]\n"
            "text/plain=kelu-editor-vetra.desktop;\n"
            "\n"
            "[Default Applications]\n"
            "text/plain=kelu-editor-vetra.desktop;\n");
}

TEST(AssociationsTest, KnownTypesComeFromTheGlobsButNotFromOurOwnPackages) {
  const std::vector<std::string> globs = {
      "# comment\n"
      "50:text/plain:*.txt\n"
      "50:text/x-csrc:*.c\n"
      "60:text/x-c++src:*.C:cs\n"
      "50:application/x-kelu-editor-vetra-kelux:*.kelux\n",
      "40:text/x-plain-old:*.TXT\n"};
  EXPECT_EQ(KnownMimeType(globs, "txt"), "text/plain");
  EXPECT_EQ(KnownMimeType(globs, "TXT"), "text/plain");
  EXPECT_EQ(KnownMimeType(globs, "c"), "text/x-csrc");
  EXPECT_EQ(KnownMimeType(globs, "C"), "text/x-c++src");
  EXPECT_EQ(KnownMimeType(globs, "kelux"), std::nullopt);
  EXPECT_EQ(KnownMimeType(globs, "zzz"), std::nullopt);
  EXPECT_EQ(OwnMimeType("Kelu+X"), "application/x-kelu-editor-vetra-kelu+x");
  EXPECT_EQ(OwnMimeType("日"), "application/x-kelu-editor-vetra-_e6_97_a5");
}

TEST(AssociationsTest, ExtensionsThatCannotBeRegistered) {
  for (const char* ok : {"txt", "tar.gz", "c++", "日本", "md_x"}) {
    EXPECT_EQ(ExtensionProblem(ok), "") << ok;
  }
  for (const char* bad : {"", "a/b", "a b", "*", "x;y", "a:b", "a\"b", "\xff"}) {
    EXPECT_NE(ExtensionProblem(bad), "") << bad;
  }
}

// ------------------------------------------------------- with the real tools

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

// A user of a desktop without a session of its own, whose XDG folders are
// temporary; the system's MIME database is the installed one.
class TXdgUser {
 public:
  TXdgUser() {
    places.dataHome = dir.File("data");
    places.configHome = dir.File("config");
    places.dataDirs = {"/usr/local/share", "/usr/share"};
    setenv("XDG_DATA_HOME", places.dataHome.c_str(), 1);
    setenv("XDG_CONFIG_HOME", places.configHome.c_str(), 1);
    setenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share", 1);
    setenv("XDG_CONFIG_DIRS", dir.File("etc-xdg").c_str(), 1);
    setenv("XDG_CURRENT_DESKTOP", "X-Generic", 1);
    exe = dir.File("bin/kelu-editor-vetra");
    std::filesystem::create_directories(dir.File("bin"));
    test::WriteText(exe, "#!/bin/sh\nexit 0\n");
    std::filesystem::permissions(exe, std::filesystem::perms::owner_all);
  }

  std::string Default(const std::string& type) { return Shell("xdg-mime query default " + type); }
  std::string FileType(const std::string& name) {
    const std::string file = dir.File(name);
    test::WriteText(file, "plain text\n");
    return Shell("xdg-mime query filetype '" + file + "'");
  }

  TTempDir dir;
  TXdgPlaces places;
  std::string exe;
};

TEST(AssociationsTest, RegisterQueryAndUnregisterWithTheDesktopsTools) {
  for (const char* tool : {"xdg-mime", "update-mime-database", "update-desktop-database",
                           "desktop-file-validate", "mimetype"}) {
    ASSERT_TRUE(ToolInstalled(tool)) << tool << " is missing: run scripts/install-deps";
  }
  TXdgUser user;
  std::filesystem::create_directories(user.places.configHome);
  test::WriteText(user.places.MimeAppsList(),
                  "[Default Applications]\nimage/png=gimp.desktop;\n");

  TAssociationResult r = RegisterFileExt(user.places, user.exe, "txt", "Keluエディタファイル");
  ASSERT_TRUE(r.ok) << r.reason;
  r = RegisterFileExt(user.places, user.exe, "kelux", "Keluエディタファイル");
  ASSERT_TRUE(r.ok) << r.reason;

  EXPECT_EQ(Shell("desktop-file-validate '" + user.places.DesktopFile() + "' 2>&1; echo rc=$?"),
            "rc=0");
  EXPECT_EQ(user.Default("text/plain"), kDesktopId);
  EXPECT_EQ(user.FileType("a.txt"), "text/plain");
  EXPECT_EQ(user.FileType("b.kelux"), OwnMimeType("kelux"));
  EXPECT_EQ(user.Default(OwnMimeType("kelux")), kDesktopId);
  EXPECT_NE(test::ReadText(user.places.MimeAppsList()).find("image/png=gimp.desktop;"),
            std::string::npos);

  // Taking one back leaves the other.
  r = UnregisterFileExt(user.places, "txt");
  ASSERT_TRUE(r.ok) << r.reason;
  EXPECT_NE(user.Default("text/plain"), kDesktopId);
  EXPECT_EQ(user.Default(OwnMimeType("kelux")), kDesktopId);
  EXPECT_EQ(user.FileType("c.kelux"), OwnMimeType("kelux"));
  EXPECT_EQ(RegisteredExtensions(test::ReadText(user.places.DesktopFile())),
            (TExtensionTypes{{"kelux", OwnMimeType("kelux")}}));
  EXPECT_TRUE(UnregisterFileExt(user.places, "txt").ok);  // again: nothing to do

  r = UnregisterFileExt(user.places, "kelux");
  ASSERT_TRUE(r.ok) << r.reason;
  EXPECT_FALSE(std::filesystem::exists(user.places.DesktopFile()));
  EXPECT_FALSE(std::filesystem::exists(user.places.PackageFile("kelux")));
  EXPECT_EQ(user.FileType("d.kelux"), "text/plain");
  EXPECT_EQ(test::ReadText(user.places.MimeAppsList()),
            "[Default Applications]\nimage/png=gimp.desktop;\n");
}

TEST(AssociationsTest, AFailureSaysWhy) {
  TXdgUser user;
  TAssociationResult r = RegisterFileExt(user.places, "relative/kelu", "txt", "x");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find("relative/kelu"), std::string::npos) << r.reason;

  r = RegisterFileExt(user.places, user.exe, "a b", "x");
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find("使えない文字"), std::string::npos) << r.reason;

  // Where the entry cannot be written.
  std::filesystem::create_directories(user.places.dataHome);
  if (!test::MakeReadOnly(user.places.dataHome)) GTEST_SKIP() << "no read-only folders here";
  r = RegisterFileExt(user.places, user.exe, "txt", "x");
  test::MakeWritable(user.places.dataHome);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.reason.find(user.places.dataHome), std::string::npos) << r.reason;
}

TEST(AssociationsTest, RunToolReportsItsEnd) {
  std::string errors;
  EXPECT_EQ(RunTool("sh", {"-c", "echo oops >&2; exit 3"}, 5000, &errors), 3);
  EXPECT_EQ(errors, "oops\n");
  EXPECT_EQ(RunTool("sh", {"-c", "exit 0"}, 5000), 0);
  EXPECT_EQ(RunTool("no-such-tool-kelu", {}, 5000), -1);
  EXPECT_EQ(RunTool("sleep", {"5"}, 200), -2);
}

}  // namespace
}  // namespace kelu
