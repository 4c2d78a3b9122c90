// Key macros over the editor control: typing (the input method included)
// recorded, saved to a file, loaded and replayed into another editor gives
// the same text; application shortcuts stay out of a recording; a rejected
// file keeps the recording.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "EditorInputSupport.h"
#include "editor/control/KeyLayer.h"
#include "macro/KeyMacro.h"

namespace kelu {
namespace {

using test::Commit;
using test::Key;
using test::MakeEditor;
using test::Preedit;
using test::Type;
using test::Utf8Text;

// What a user does while a macro records.
void Session(TEditor& e) {
  Type(e, "abc ");
  Preedit(e, QString::fromUtf8("にほんご"), 4);
  Commit(e, QString::fromUtf8("日本語"));
  Type(e, "ｶﾅ漢");  // key events carrying text: double-byte as lead and trail
  Key(e, Qt::Key_Return);
  Key(e, Qt::Key_Tab);
  Type(e, "x");
  Key(e, Qt::Key_Left, Qt::ShiftModifier);
  Key(e, Qt::Key_Left, Qt::ShiftModifier);
  Key(e, Qt::Key_X, Qt::ControlModifier);  // the popup menu's cut
  Key(e, Qt::Key_Home);
  Key(e, Qt::Key_V, Qt::ControlModifier);  // paste
  Key(e, Qt::Key_Z, Qt::ControlModifier);  // undo the paste
  Key(e, Qt::Key_Up);
  Key(e, Qt::Key_End);
  Key(e, Qt::Key_Backspace);
  Commit(e, QString::fromUtf8("終"));
}

TEST(EditorMacroTest, ARecordingSavedLoadedAndReplayedGivesTheSameText) {
  auto recorded = MakeEditor("start\r\n");
  recorded->SetRowCol(1, 0);
  TKeyMacro macro;
  macro.SetControl(recorded.get());
  macro.StartRecording();
  Session(*recorded);
  macro.StopRecording();
  ASSERT_EQ(macro.State(), msRecorded);
  const std::string expected = Utf8Text(*recorded);
  ASSERT_EQ(expected, "start\r\nabc 日本語ｶﾅ終\r\n");

  QTemporaryDir dir;
  const std::string file = QDir(dir.path()).filePath("macro.txt").toStdString();
  macro.SaveToFile(file);

  TKeyMacro loaded;
  ASSERT_TRUE(loaded.LoadFromFile(file));
  EXPECT_EQ(loaded.Items(), macro.Items());
  auto replayed = MakeEditor("start\r\n");
  replayed->SetRowCol(1, 0);
  loaded.SetControl(replayed.get());
  loaded.Play();
  EXPECT_EQ(Utf8Text(*replayed), expected);
  EXPECT_EQ(loaded.State(), msRecorded);
}

TEST(EditorMacroTest, TheInputMethodsCharactersAreRecordedOnce) {
  auto e = MakeEditor();
  TKeyMacro macro;
  macro.SetControl(e.get());
  macro.StartRecording();
  Commit(*e, QString::fromUtf8("語"));
  Type(*e, "a");
  macro.StopRecording();
  ASSERT_EQ(macro.Count(), 3);
  EXPECT_EQ(macro.Items()[0].Msg, WM_IME_CHAR);
  EXPECT_EQ(macro.Items()[1].Msg, CN_KEYDOWN);
  EXPECT_EQ(macro.Items()[2].Msg, CN_CHAR);
}

TEST(EditorMacroTest, ApplicationShortcutsAreNotRecorded) {
  QMainWindow window;
  auto* editor = new TEditor(&window);
  window.setCentralWidget(editor);
  TKeyMacro macro;
  macro.SetControl(editor);
  int plays = 0;
  QAction* play = window.addAction(QStringLiteral("再生"));
  play->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
  QObject::connect(play, &QAction::triggered, [&] { ++plays; });
  macro.ShortcutFilter = ShortcutFilter({play->shortcut()});
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  editor->setFocus();

  macro.StartRecording();
  QTest::keyClicks(editor, "ab");
  QTest::keyClick(editor, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  // A key message of the shortcut that reaches the editor anyway (a
  // playback, another path) is not recorded either.
  TKeyMessage shortcut;
  shortcut.Msg = CN_KEYDOWN;
  shortcut.CharCode = 'P';
  shortcut.Shift = shortcut.Ctrl = kKeyDown;
  DeliverKeyMessage(*editor, shortcut);
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);  // the editor's own undo
  macro.StopRecording();

  EXPECT_EQ(plays, 1);
  EXPECT_EQ(Utf8Text(*editor), "a");
  for (const TKeyMacroData& d : macro.Items()) {
    EXPECT_FALSE(d.Msg == CN_KEYDOWN && d.CharCode == 'P') << TKeyMacro::RecordText(d);
  }
  // The editor's own shortcut is part of the recording.
  const auto& items = macro.Items();
  EXPECT_TRUE(std::any_of(items.begin(), items.end(), [](const TKeyMacroData& d) {
    return d.Msg == CN_KEYDOWN && d.CharCode == 'Z' && d.CtrlDown();
  }));
}

TEST(EditorMacroTest, AnInvalidFileKeepsTheRecording) {
  auto e = MakeEditor();
  TKeyMacro macro;
  macro.SetControl(e.get());
  macro.StartRecording();
  Type(*e, "ok");
  macro.StopRecording();
  const int count = macro.Count();

  QTemporaryDir dir;
  const std::string bad = QDir(dir.path()).filePath("bad.txt").toStdString();
  std::ofstream(bad, std::ios::binary) << "CN_CHAR: 48386, CharCode: 97\r\n";
  EXPECT_FALSE(macro.LoadFromFile(bad));
  EXPECT_EQ(macro.Count(), count);
  EXPECT_EQ(macro.State(), msRecorded);
  auto other = MakeEditor();
  macro.SetControl(other.get());
  macro.Play();
  EXPECT_EQ(Utf8Text(*other), "ok");
}

TEST(EditorMacroTest, PlaybackThatClearsTheMacroStopsSafely) {
  auto e = MakeEditor();
  TKeyMacro macro;
  macro.SetControl(e.get());
  macro.StartRecording();
  Type(*e, "abc");
  macro.StopRecording();
  auto other = MakeEditor();
  macro.SetControl(other.get());
  struct Clearer {
    TKeyMacro* macro;
    void Changed(TObject*) { macro->Clear(); }
  } clearer{&macro};
  other->OnChange = TNotifyEvent::Of<&Clearer::Changed>(&clearer);
  macro.Play();
  EXPECT_EQ(Utf8Text(*other), "a");
  EXPECT_EQ(macro.State(), msEmpty);
}

}  // namespace
}  // namespace kelu
