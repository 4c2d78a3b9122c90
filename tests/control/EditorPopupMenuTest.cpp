// The editor control's popup menu: its items, their enabled states and
// check marks, the mark and box-mode commands, its shortcuts while the
// editor has the focus, and the factory a descendant overrides.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QTest>
#include <vector>

#include "EditorInputSupport.h"
#include "editor/control/EditorPopupMenu.h"

namespace kelu {
namespace {

using test::Key;
using test::MakeEditor;
using test::Utf8Text;

TEditorPopupMenu& Menu(TEditor& e) {
  auto* menu = qobject_cast<TEditorPopupMenu*>(e.PopupMenu());
  EXPECT_NE(menu, nullptr);
  return *menu;
}

TEST(EditorPopupMenuTest, ItemsCaptionsAndShortcuts) {
  auto e = MakeEditor();
  TEditorPopupMenu& m = Menu(*e);
  EXPECT_EQ(m.Editor(), e.get());
  std::vector<QString> captions;
  for (QAction* a : m.actions()) captions.push_back(a->isSeparator() ? "-" : a->text());
  const std::vector<QString> expected = {"マーク設定",
                                         "マークジャンプ",
                                         "-",
                                         "元に戻す(&U)",
                                         "やり直し(&R)",
                                         "-",
                                         "切り取り(&T)",
                                         "コピー(&C)",
                                         "貼り付け(&P)",
                                         "Box貼り付け(&B)",
                                         "削除(&D)",
                                         "-",
                                         "すべて選択(&A)",
                                         "-",
                                         "Box選択モード(&K)"};
  EXPECT_EQ(captions, expected);
  struct Shortcut {
    QAction* item;
    QKeySequence keys;
  };
  const std::vector<Shortcut> shortcuts = {
      {m.UndoItem(), QKeySequence(Qt::CTRL | Qt::Key_Z)},
      {m.RedoItem(), QKeySequence(Qt::CTRL | Qt::Key_A)},
      {m.CutItem(), QKeySequence(Qt::CTRL | Qt::Key_X)},
      {m.CopyItem(), QKeySequence(Qt::CTRL | Qt::Key_C)},
      {m.PasteItem(), QKeySequence(Qt::CTRL | Qt::Key_V)},
      {m.BoxPasteItem(), QKeySequence(Qt::CTRL | Qt::Key_B)},
      {m.DeleteItem(), QKeySequence()},
      {m.SelectAllItem(), QKeySequence()},
      {m.BoxSelectionModeItem(), QKeySequence(Qt::CTRL | Qt::Key_K)},
      {m.MarkSetItem(3), QKeySequence(QStringLiteral("Shift+Ctrl+3"))},
      {m.MarkJumpItem(9), QKeySequence(QStringLiteral("Ctrl+9"))},
  };
  for (const Shortcut& s : shortcuts) {
    EXPECT_EQ(s.item->shortcut(), s.keys) << s.item->text().toStdString();
  }
  for (int n = 0; n < TEditorPopupMenu::kMarkCount; ++n) {
    EXPECT_EQ(m.MarkSetItem(n)->text(), QString::number(n));
    EXPECT_EQ(m.MarkJumpItem(n)->data().toInt(), n);
  }
  // Created disabled until the first popup.
  for (QAction* a : {m.UndoItem(), m.RedoItem(), m.CutItem(), m.CopyItem(), m.PasteItem(),
                     m.BoxPasteItem(), m.DeleteItem(), m.SelectAllItem()}) {
    EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
  }
}

TEST(EditorPopupMenuTest, EnabledStatesFollowTheEditor) {
  struct Case {
    const char* name;
    bool readOnly, selection, edited, clipboard;
    // undo, redo, cut, copy, paste, box paste, delete, select all
    std::vector<bool> enabled;
  };
  const std::vector<Case> cases = {
      {"plain",
       false,
       false,
       false,
       false,
       {false, false, false, false, false, false, false, true}},
      {"edited with a selection and clipboard text",
       false,
       true,
       true,
       true,
       {true, false, true, true, true, true, true, true}},
      {"read-only with everything",
       true,
       true,
       true,
       true,
       {false, false, false, true, false, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor("abc");
    QGuiApplication::clipboard()->clear();
    if (c.clipboard) QGuiApplication::clipboard()->setText("x");
    if (c.edited) e->InsertChars("z");
    if (c.selection) e->SelectAll();
    e->SetReadOnly(c.readOnly);
    TEditorPopupMenu& m = Menu(*e);
    m.PopupUpdate();
    const std::vector<bool> enabled = {m.UndoItem()->isEnabled(),   m.RedoItem()->isEnabled(),
                                       m.CutItem()->isEnabled(),    m.CopyItem()->isEnabled(),
                                       m.PasteItem()->isEnabled(),  m.BoxPasteItem()->isEnabled(),
                                       m.DeleteItem()->isEnabled(), m.SelectAllItem()->isEnabled()};
    EXPECT_EQ(enabled, c.enabled);
    EXPECT_TRUE(m.MarkSetMenu()->menuAction()->isEnabled());
    EXPECT_TRUE(m.BoxSelectionModeItem()->isEnabled());
  }
  auto empty = MakeEditor();
  Menu(*empty).PopupUpdate();
  EXPECT_FALSE(Menu(*empty).SelectAllItem()->isEnabled());
}

TEST(EditorPopupMenuTest, MarksInUseAreCheckedInBothSubmenus) {
  auto e = MakeEditor("a\r\nb\r\nc\r\n");
  e->PutRowMark(2, 5);
  TEditorPopupMenu& m = Menu(*e);
  m.PopupUpdate();
  for (int n = 0; n < TEditorPopupMenu::kMarkCount; ++n) {
    EXPECT_EQ(m.MarkSetItem(n)->isChecked(), n == 5) << n;
    EXPECT_EQ(m.MarkJumpItem(n)->isChecked(), n == 5) << n;
  }
}

TEST(EditorPopupMenuTest, MarkKeysToggleAndJump) {
  auto e = MakeEditor("a\r\nb\r\nc\r\nd\r\n");
  TEditorScreenStrings& rows = e->ScreenStrings();
  e->SetRowCol(1, 0);
  Key(*e, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_TRUE(rows.RowMarks(1) & (1u << 3));
  Key(*e, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_FALSE(rows.RowMarks(1) & (1u << 3)) << "toggled twice: off";
  // A digit mark lives on one row: setting it elsewhere moves it.
  Key(*e, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
  e->SetRowCol(3, 0);
  Key(*e, Qt::Key_3, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_FALSE(rows.RowMarks(1) & (1u << 3));
  EXPECT_TRUE(rows.RowMarks(3) & (1u << 3));
  e->SetRowCol(0, 0);
  Key(*e, Qt::Key_3, Qt::ControlModifier);
  EXPECT_EQ(e->Row(), 3);
  EXPECT_EQ(Utf8Text(*e), "a\r\nb\r\nc\r\nd\r\n") << "no characters typed";
}

TEST(EditorPopupMenuTest, BoxModeItemTogglesTheSelectionMode) {
  auto e = MakeEditor("abc");
  TEditorPopupMenu& m = Menu(*e);
  Key(*e, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(e->SelectionMode(), smBox);
  EXPECT_TRUE(m.BoxSelectionModeItem()->isChecked());
  m.BoxSelectionModeItem()->trigger();
  EXPECT_EQ(e->SelectionMode(), smNormal);
  // Changed elsewhere, the item follows before it acts.
  e->SetSelectionMode(smBox);
  Key(*e, Qt::Key_K, Qt::ControlModifier);
  EXPECT_EQ(e->SelectionMode(), smNormal);
}

TEST(EditorPopupMenuTest, ShortcutsActWhileTheEditorHasTheFocus) {
  QMainWindow window;
  auto* editor = new TEditor(&window);
  window.setCentralWidget(editor);
  // The window's own Edit menu has the same key: the editor takes it.
  int windowUndos = 0;
  QAction* undo =
      window.menuBar()->addMenu(QStringLiteral("編集"))->addAction(QStringLiteral("元に戻す"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  QObject::connect(undo, &QAction::triggered, [&] { ++windowUndos; });
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  editor->setFocus();

  QTest::keyClicks(editor, "hello");
  QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Utf8Text(*editor), "hell");
  EXPECT_EQ(windowUndos, 0);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);  // redo
  EXPECT_EQ(Utf8Text(*editor), "hello");
  QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(editor, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(editor, Qt::Key_End);
  QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Utf8Text(*editor), "hellolo");
  QTest::keyClick(editor, Qt::Key_Home);
  QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);  // box paste of plain text
  EXPECT_EQ(Utf8Text(*editor), "lohellolo");

  // Away from the editor the window's shortcut acts.
  editor->clearFocus();
  window.setFocus();
  QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(windowUndos, 1);
}

TEST(EditorPopupMenuTest, TheContextMenuEventShowsTheMenu) {
  auto e = MakeEditor("abc");
  test::Show(*e);
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 10),
                          e->viewport()->mapToGlobal(QPoint(20, 10)));
  QApplication::sendEvent(e->viewport(), &event);
  QMenu* menu = e->PopupMenu();
  EXPECT_TRUE(menu->isVisible());
  EXPECT_TRUE(Menu(*e).SelectAllItem()->isEnabled()) << "updated on popup";
  menu->hide();
}

// A descendant's own menu, made by its factory at construction.
class TMenuEditor : public TEditor {
 public:
  TMenuEditor() : TEditor(nullptr, TDeferConstruction{}) { Construct(); }

 protected:
  TEditorPopupMenu* CreatePopupMenu() override {
    auto* menu = TEditor::CreatePopupMenu();
    menu->setObjectName("own");
    return menu;
  }
};

TEST(EditorPopupMenuTest, ADescendantsFactoryMakesTheMenu) {
  TMenuEditor e;
  ASSERT_NE(e.PopupMenu(), nullptr);
  EXPECT_EQ(e.PopupMenu()->objectName(), "own");
  e.SetPopupMenu(nullptr);
  EXPECT_EQ(e.PopupMenu(), nullptr);
  e.InsertChars("x");
  Key(e, Qt::Key_Z, Qt::ControlModifier);  // no menu: no shortcut
  EXPECT_EQ(Utf8Text(e), "x");
}

}  // namespace
}  // namespace kelu
