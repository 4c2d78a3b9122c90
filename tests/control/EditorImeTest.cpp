// The editor control and the input method: the composition shown at the
// caret outside the text, its result inserted once, a cancelled
// composition, a result over a selection, the characters the key message
// hook sees, and the queries the input method asks.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "EditorInputSupport.h"

namespace kelu {
namespace {

using test::Commit;
using test::MakeEditor;
using test::Preedit;
using test::Sjis;
using test::UndoCount;
using test::Utf8Text;

class TRecordingHook : public TKeyMessageHook {
 public:
  void KeyMessage(const TKeyMessage& message) override { messages.push_back(message); }
  std::vector<TKeyMessage> messages;
};

TEST(EditorImeTest, ACompositionStaysOutOfTheTextUntilItsResult) {
  auto e = MakeEditor("ab\r\ncd");
  e->SetRowCol(0, 1);
  Preedit(*e, QString::fromUtf8("にほん"), 3);
  EXPECT_EQ(e->PreeditString(), QString::fromUtf8("にほん"));
  EXPECT_EQ(e->PreeditCursor(), 3);
  EXPECT_EQ(Utf8Text(*e), "ab\r\ncd");
  EXPECT_EQ(UndoCount(*e), 0);
  EXPECT_FALSE(e->Modified());

  Preedit(*e, QString::fromUtf8("日本"), 1);
  EXPECT_EQ(e->PreeditCursor(), 1);
  Commit(*e, QString::fromUtf8("日本"));
  EXPECT_EQ(Utf8Text(*e), "a日本b\r\ncd");
  EXPECT_TRUE(e->PreeditString().isEmpty());
  EXPECT_EQ(e->Col(), 5);
  EXPECT_EQ(UndoCount(*e), 1);
  e->Undo();
  EXPECT_EQ(Utf8Text(*e), "ab\r\ncd");
}

TEST(EditorImeTest, ResultsAndCancellations) {
  struct Case {
    const char* name;
    bool select;          // "bc" selected first
    const char* preedit;  // shown first
    const char* commit;   // then the result ("" : cancelled)
    const char* expected;
    int caretCol;
  };
  const std::vector<Case> cases = {
      {"a result without a composition", false, "", "漢字", "a漢字bcd", 5},
      {"a cancelled composition", false, "かんじ", "", "abcd", 1},
      {"a result over a selection", true, "かんじ", "漢字", "a漢字d", 5},
      {"a cancelled composition keeps the selection", true, "かんじ", "", "abcd", 3},
      {"half-width kana and ASCII", false, "", "ｶﾅa", "aｶﾅabcd", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor("abcd");
    e->SetRowCol(0, 1);
    if (c.select) {
      e->StartSelection();
      e->SetRowCol(0, 3);
      e->UpdateSelection();
    }
    if (*c.preedit) Preedit(*e, QString::fromUtf8(c.preedit), 1);
    Commit(*e, QString::fromUtf8(c.commit));
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_EQ(e->Col(), c.caretCol);
    EXPECT_TRUE(e->PreeditString().isEmpty());
    EXPECT_EQ(UndoCount(*e), *c.commit ? 1 : 0);
  }
}

TEST(EditorImeTest, TheResultReachesTheHookAsInputMethodCharacters) {
  auto e = MakeEditor();
  TRecordingHook hook;
  e->SetKeyMessageHook(&hook);
  Preedit(*e, QString::fromUtf8("あa"), 2);
  EXPECT_TRUE(hook.messages.empty());
  Commit(*e, QString::fromUtf8("あa"));
  e->SetKeyMessageHook(nullptr);
  ASSERT_EQ(hook.messages.size(), 2u);
  const std::string a = Sjis("あ");
  EXPECT_EQ(hook.messages[0].Msg, WM_IME_CHAR);
  EXPECT_EQ(hook.messages[0].CharCode,
            static_cast<unsigned char>(a[0]) << 8 | static_cast<unsigned char>(a[1]));
  EXPECT_EQ(hook.messages[1].CharCode, 'a');
  EXPECT_EQ(Utf8Text(*e), "あa") << "inserted once";

  // The same characters sent as messages insert them (playback).
  auto other = MakeEditor();
  for (const TKeyMessage& m : hook.messages) DeliverKeyMessage(*other, m);
  EXPECT_EQ(Utf8Text(*other), "あa");
}

TEST(EditorImeTest, AReadOnlyEditorTakesNoResult) {
  auto e = MakeEditor("ab");
  e->SetReadOnly(true);
  EXPECT_FALSE(e->inputMethodQuery(Qt::ImEnabled).toBool());
  Commit(*e, QString::fromUtf8("漢"));
  EXPECT_EQ(Utf8Text(*e), "ab");
  e->SetReadOnly(false);
  EXPECT_TRUE(e->inputMethodQuery(Qt::ImEnabled).toBool());
}

TEST(EditorImeTest, QueriesDescribeTheCaretAndItsRow) {
  auto e = MakeEditor("x\r\n日本語abc");
  e->SetRowCol(1, 4);  // before 語
  EXPECT_EQ(e->inputMethodQuery(Qt::ImSurroundingText).toString(), QString::fromUtf8("日本語abc"));
  EXPECT_EQ(e->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);
  EXPECT_EQ(e->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 2);
  e->StartSelection();
  e->SetRowCol(1, 7);
  e->UpdateSelection();
  EXPECT_EQ(e->inputMethodQuery(Qt::ImCursorPosition).toInt(), 4);
  EXPECT_EQ(e->inputMethodQuery(Qt::ImAnchorPosition).toInt(), 2);
  EXPECT_EQ(e->inputMethodQuery(Qt::ImCurrentSelection).toString(), QString::fromUtf8("語a"));
  EXPECT_TRUE(e->inputMethodQuery(Qt::ImHints).toInt() & Qt::ImhMultiLine);
  EXPECT_EQ(e->inputMethodQuery(Qt::ImFont).value<QFont>(), e->ScreenFont());

  // The candidate window opens at the caret, and at the cursor within a
  // composition.
  const QRect caret = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  const QPoint expected = e->viewport()->mapTo(
      e.get(), QPoint(e->TextLeft() + 7 * e->ColWidth(), e->TextTop() + e->RowHeight()));
  EXPECT_EQ(caret.topLeft(), expected);
  EXPECT_EQ(caret.height(), e->FontHeight());
  Preedit(*e, QString::fromUtf8("かaな"), 2);  // after two characters: 3 cells
  const QRect cursor = e->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(cursor.left() - caret.left(), 3 * e->ColWidth());
}

TEST(EditorImeTest, TheCompositionIsDrawnAtTheCaretAndGoesAway) {
  auto e = MakeEditor("abcdef\r\nghijkl");
  test::Show(*e);
  e->SetRowCol(0, 2);
  QApplication::processEvents();
  const QImage before = test::Shot(*e);
  const QRect cells(e->TextLeft() + 2 * e->ColWidth(), e->TextTop(), 4 * e->ColWidth(),
                    e->FontHeight());
  Preedit(*e, QString::fromUtf8("かな"), 2);
  QApplication::processEvents();
  const QImage during = test::Shot(*e);
  EXPECT_NE(during.copy(cells), before.copy(cells));
  // The rest of the row shows after the composition; other rows stay.
  const QRect moved = cells.translated(4 * e->ColWidth(), 0);
  EXPECT_EQ(during.copy(moved.adjusted(2, 0, 0, 0)), before.copy(cells.adjusted(2, 0, 0, 0)));
  const QRect below(0, e->TextTop() + e->RowHeight(), during.width(),
                    during.height() - e->TextTop() - e->RowHeight());
  EXPECT_EQ(during.copy(below), before.copy(below));
  Commit(*e, QString());
  QApplication::processEvents();
  EXPECT_EQ(test::Shot(*e).copy(cells), before.copy(cells));
}

}  // namespace
}  // namespace kelu
