// The editor control's keyboard: typing, Enter with its indentation,
// Backspace and Delete over double-byte characters, tabs and line ends,
// word-wise movement, Shift+arrows, paging and auto-repeat, and the key
// messages a key becomes.
#include <gtest/gtest.h>

#include <QTest>
#include <vector>

#include "EditorInputSupport.h"
#include "editor/control/KeyLayer.h"

namespace kelu {
namespace {

using test::Key;
using test::MakeEditor;
using test::SetText;
using test::Sjis;
using test::Type;
using test::UndoCount;
using test::Utf8Text;

// ------------------------------------------------------------------ typing

TEST(EditorTypingTest, TypedTextOfEveryScriptLandsAtTheCaret) {
  struct Case {
    const char* name;
    const char* text;
    int row, col;
    const char* typed;
    const char* expected;
    int caretCol;
  };
  const std::vector<Case> cases = {
      {"ASCII into an empty text", "", 0, 0, "Hello, world!", "Hello, world!", 13},
      {"half-width kana", "", 0, 0, "ｱｲｳｴｵﾞ", "ｱｲｳｴｵﾞ", 6},
      {"double-byte text", "", 0, 0, "日本語のテキスト", "日本語のテキスト", 16},
      {"mixed, in the middle of a row", "ab\r\ncd", 0, 1, "x漢ｶy", "ax漢ｶyb\r\ncd", 6},
      {"after a double-byte character", "あい", 0, 2, "Z", "あZい", 3},
      {"a free caret pads the row", "ab", 0, 5, "c", "ab   c", 6},
      {"full-width blank and yen-like trail bytes", "", 0, 0, "　表ソ", "　表ソ", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    e->SetRowCol(c.row, c.col);
    Type(*e, c.typed);
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_EQ(e->Row(), c.row);
    EXPECT_EQ(e->Col(), c.caretCol);
  }
}

TEST(EditorTypingTest, EachTypedCharacterIsOneUndoStep) {
  auto e = MakeEditor("ab");
  e->SetRowCol(0, 2);
  Type(*e, "日c");
  EXPECT_EQ(UndoCount(*e), 2);
  e->Undo();
  EXPECT_EQ(Utf8Text(*e), "ab日");
  e->Undo();
  EXPECT_EQ(Utf8Text(*e), "ab");
  e->Redo();
  e->Redo();
  EXPECT_EQ(Utf8Text(*e), "ab日c");
}

TEST(EditorTypingTest, ALeadByteWaitsForItsTrailByte) {
  auto e = MakeEditor("");
  const std::string a = Sjis("あ");  // 82 A0
  auto chr = [&](unsigned char byte) {
    TKeyMessage m;
    m.Msg = CN_CHAR;
    m.CharCode = byte;
    return DeliverKeyMessage(*e, m);
  };
  EXPECT_NE(chr(static_cast<unsigned char>(a[0])), 0);  // held, consumed
  EXPECT_EQ(e->Lines().GetTextStr(), "");
  chr(static_cast<unsigned char>(a[1]));
  EXPECT_EQ(Utf8Text(*e), "あ");
  // A lead byte followed by something that is no trail byte is dropped.
  chr(static_cast<unsigned char>(a[0]));
  chr(0x09);  // a tab: below 40
  EXPECT_EQ(e->Lines().GetTextStr(), Sjis("あ\t"));
  // A key between lead and trail drops the lead byte.
  chr(static_cast<unsigned char>(a[0]));
  TKeyMessage key;
  key.Msg = CN_KEYDOWN;
  key.CharCode = 'X';
  DeliverKeyMessage(*e, key);
  chr('x');
  EXPECT_EQ(e->Lines().GetTextStr(), Sjis("あ\tx"));
}

TEST(EditorTypingTest, ReadOnlyTakesNoTextButMoves) {
  auto e = MakeEditor("abc\r\ndef");
  e->SetReadOnly(true);
  Type(*e, "xy");
  Key(*e, Qt::Key_Return);
  Key(*e, Qt::Key_Backspace);
  Key(*e, Qt::Key_Delete);
  Key(*e, Qt::Key_Tab);
  EXPECT_EQ(Utf8Text(*e), "abc\r\ndef");
  Key(*e, Qt::Key_Down);
  Key(*e, Qt::Key_End);
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 3);
}

// ------------------------------------------------------------------- Enter

TEST(EditorEnterTest, EnterSplitsTheLineWithItsIndentation) {
  struct Case {
    const char* name;
    const char* text;
    int row, col;
    bool autoIndent, tabIndent, prevSpaceIndent, shift;
    int tab;
    const char* expected;
    int caretRow, caretCol;
  };
  const std::vector<Case> cases = {
      {"at the end of the indentation", "    abc", 0, 4, true, false, false, false, 8,
       "    \r\n    abc", 1, 4},
      {"inside the indentation", "    abc", 0, 2, true, false, false, false, 8, "  \r\n    abc", 1,
       2},
      {"tabs indent by their width", "\t\tx", 0, 8, true, false, false, false, 4,
       "\t\t\r\n        x", 1, 8},
      {"TabIndent writes tabs and blanks", "      ab", 0, 8, true, true, false, false, 4,
       "      ab\r\n\t  ", 1, 6},
      {"full-width blanks count two columns", "　　あ", 0, 4, true, false, false, false, 8,
       "　　\r\n    あ", 1, 4},
      {"without AutoIndent", "    abc", 0, 7, false, false, false, false, 8, "    abc\r\n", 1, 0},
      {"an empty row takes no indentation", "  ab\r\n\r\n", 1, 0, true, false, false, false, 8,
       "  ab\r\n\r\n\r\n", 2, 0},
      {"PrevSpaceIndent: from the line above", "  ab\r\n\r\n", 1, 0, true, false, true, false, 8,
       "  ab\r\n\r\n  \r\n", 2, 2},
      {"PrevSpaceIndent skips empty lines", "   a\r\n\r\n\r\n", 2, 0, true, false, true, false, 8,
       "   a\r\n\r\n\r\n   \r\n", 3, 3},
      {"Shift+Enter opens a line above", "  abc", 0, 3, true, false, false, true, 8, "  \r\n  abc",
       0, 2},
      {"on the place after the last row", "ab\r\n", 1, 0, true, false, false, false, 8,
       "ab\r\n\r\n", 2, 0},
      {"a line without a final break", "ab", 0, 1, true, false, false, false, 8, "a\r\nb", 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    e->Caret().SetTabSpaceCount(c.tab);
    e->Caret().SetAutoIndent(c.autoIndent);
    e->Caret().SetTabIndent(c.tabIndent);
    e->Caret().SetPrevSpaceIndent(c.prevSpaceIndent);
    e->SetRowCol(c.row, c.col);
    Key(*e, Qt::Key_Return, c.shift ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_EQ(e->Row(), c.caretRow);
    EXPECT_EQ(e->Col(), c.caretCol);
    EXPECT_EQ(UndoCount(*e), 1);
    e->Undo();
    EXPECT_EQ(Utf8Text(*e), c.text);
  }
}

TEST(EditorEnterTest, EnterReplacesASelectionInOneStep) {
  auto e = MakeEditor("  abcdef");
  e->SetRowCol(0, 4);
  Key(*e, Qt::Key_Right, Qt::ShiftModifier);
  Key(*e, Qt::Key_Right, Qt::ShiftModifier);
  ASSERT_EQ(e->SelText(), "cd");
  Key(*e, Qt::Key_Return, Qt::ShiftModifier);  // Shift+Enter: nothing with a selection
  EXPECT_EQ(Utf8Text(*e), "  abcdef");
  Key(*e, Qt::Key_Return);
  EXPECT_EQ(Utf8Text(*e), "  ab\r\n  ef");
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 2);
  EXPECT_EQ(UndoCount(*e), 1);
  e->Undo();
  EXPECT_EQ(Utf8Text(*e), "  abcdef");
}

TEST(EditorEnterTest, WithoutWantReturnsEnterIsLeftToTheDialog) {
  auto e = MakeEditor("ab");
  e->SetWantReturns(false);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
  QApplication::sendEvent(e.get(), &press);
  EXPECT_FALSE(press.isAccepted());
  EXPECT_EQ(Utf8Text(*e), "ab");
}

// ----------------------------------------------------- Backspace, Delete

TEST(EditorDeleteTest, BackspaceAndDeleteWorkOnWholeCharacters) {
  struct Case {
    const char* name;
    std::string text;  // Shift-JIS
    int row, col;
    Qt::Key key;
    bool unIndent;
    std::string expected;  // Shift-JIS
    int caretRow, caretCol;
  };
  const std::string lone = "ab\x82";  // a lead byte with nothing after it
  const std::vector<Case> cases = {
      {"BS a double-byte character", Sjis("aあb"), 0, 3, Qt::Key_Backspace, true, "ab", 0, 1},
      {"BS a tab", "a\tb", 0, 8, Qt::Key_Backspace, true, "ab", 0, 1},
      {"BS joins with the row above", "ab\r\ncd", 1, 0, Qt::Key_Backspace, true, "abcd", 0, 2},
      {"BS on the first place", "ab", 0, 0, Qt::Key_Backspace, true, "ab", 0, 0},
      {"BS after the last row", "ab\r\n", 1, 0, Qt::Key_Backspace, true, "ab", 0, 2},
      {"BS with a free caret only moves", "ab", 0, 5, Qt::Key_Backspace, true, "ab", 0, 4},
      {"BS unindents to the row above", "    x\r\n        y", 1, 8, Qt::Key_Backspace, true,
       "    x\r\n    y", 1, 4},
      {"BS unindent cuts a tab into blanks", "  a\r\n\tb", 1, 8, Qt::Key_Backspace, true,
       "  a\r\n  b", 1, 2},
      {"BS unindent of a blank row", "  a\r\n      ", 1, 6, Qt::Key_Backspace, true, "  a\r\n  ", 1,
       2},
      {"BS without unindent takes one blank", "    x\r\n        y", 1, 8, Qt::Key_Backspace, false,
       "    x\r\n       y", 1, 7},
      {"BS after a lone lead byte", lone, 0, 3, Qt::Key_Backspace, true, "ab", 0, 2},
      {"Del a double-byte character", Sjis("aあb"), 0, 1, Qt::Key_Delete, true, "ab", 0, 1},
      {"Del a tab", "a\tb", 0, 1, Qt::Key_Delete, true, "ab", 0, 1},
      {"Del joins the next row", "ab\r\ncd", 0, 2, Qt::Key_Delete, true, "abcd", 0, 2},
      {"Del pads a free caret's row", "ab\r\ncd", 0, 4, Qt::Key_Delete, true, "ab  cd", 0, 4},
      {"Del at the end of the text", "ab", 0, 2, Qt::Key_Delete, true, "ab", 0, 2},
      {"Del the last line break", "ab\r\n", 0, 2, Qt::Key_Delete, true, "ab", 0, 2},
      {"Del a lone lead byte", lone + "\r\ncd", 0, 2, Qt::Key_Delete, true, "ab\r\ncd", 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor();
    e->Lines().SetTextStr(c.text);
    e->Caret().SetTabSpaceCount(8);
    e->Caret().SetBackSpaceUnIndent(c.unIndent);
    e->SetRowCol(c.row, c.col);
    const int steps = UndoCount(*e);
    Key(*e, c.key);
    EXPECT_EQ(e->Lines().GetTextStr(), c.expected);
    EXPECT_EQ(e->Row(), c.caretRow);
    EXPECT_EQ(e->Col(), c.caretCol);
    if (c.expected != c.text) {
      EXPECT_EQ(UndoCount(*e), steps + 1);
      e->Undo();
      EXPECT_EQ(e->Lines().GetTextStr(), c.text);
    } else {
      EXPECT_EQ(UndoCount(*e), steps) << "no change, no undo step";
    }
  }
}

TEST(EditorDeleteTest, DeleteAtTheEndOfARowEndingInALoneLeadByteStaysInTheRows) {
  auto e = MakeEditor();
  e->Lines().SetTextStr("ab\x82\r\ncd");
  e->SetRowCol(0, 3);
  Key(*e, Qt::Key_Delete);
  // The rows are joined; the lead byte now meets a byte after it.
  EXPECT_EQ(e->Lines().GetTextStr(),
            "ab\x82"
            "cd");
  EXPECT_EQ(e->RowCount(), 1);
}

TEST(EditorDeleteTest, BackspaceAndDeleteTakeASelection) {
  for (Qt::Key key : {Qt::Key_Backspace, Qt::Key_Delete}) {
    auto e = MakeEditor("abc\r\ndef");
    e->SetRowCol(0, 1);
    Key(*e, Qt::Key_Down, Qt::ShiftModifier);
    Key(*e, key);
    EXPECT_EQ(Utf8Text(*e), "aef");
    EXPECT_EQ(e->Col(), 1);
  }
}

TEST(EditorTabTest, TabInsertsATabOrBlanksToTheNextStop) {
  struct Case {
    const char* name;
    bool softTab, wantTabs;
    Qt::KeyboardModifiers mods;
    const char* expected;
    int caretCol;
  };
  const std::vector<Case> cases = {
      {"soft tab at column 5 with width 4", true, true, Qt::NoModifier, "abcde   ", 8},
      {"a tab character", false, true, Qt::NoModifier, "abcde\t", 8},
      {"without WantTabs", true, false, Qt::NoModifier, "abcde", 5},
      {"Ctrl+Tab", true, true, Qt::ControlModifier, "abcde", 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor("abcde");
    e->Caret().SetTabSpaceCount(4);
    e->Caret().SetSoftTab(c.softTab);
    e->SetWantTabs(c.wantTabs);
    e->SetRowCol(0, 5);
    Key(*e, Qt::Key_Tab, c.mods);
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_EQ(e->Col(), c.caretCol);
  }
}

// --------------------------------------------------------- caret movement

TEST(EditorMoveTest, CtrlArrowsMoveByTokensOverMixedScripts) {
  // Columns: abc 0, def 4, 日本語 7, テキスト 13, 123 21, end 24.
  auto e = MakeEditor("abc def日本語テキスト123\r\nnext");
  std::vector<int> right;
  for (int i = 0; i < 6; ++i) {
    Key(*e, Qt::Key_Right, Qt::ControlModifier);
    right.push_back(e->Row() * 100 + e->Col());
  }
  EXPECT_EQ(right, (std::vector<int>{4, 7, 13, 21, 24, 100}));
  std::vector<int> left;
  for (int i = 0; i < 6; ++i) {
    Key(*e, Qt::Key_Left, Qt::ControlModifier);
    left.push_back(e->Row() * 100 + e->Col());
  }
  EXPECT_EQ(left, (std::vector<int>{24, 21, 13, 7, 4, 0}));
}

TEST(EditorMoveTest, SymbolsAreNoStopsUnlessTokenEndStop) {
  auto e = MakeEditor("ab.cd = ef");
  Key(*e, Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(e->Col(), 3);
  e->Caret().SetTokenEndStop(true);
  e->SetRowCol(0, 0);
  std::vector<int> stops;
  for (int i = 0; i < 4; ++i) {
    Key(*e, Qt::Key_Right, Qt::ControlModifier);
    stops.push_back(e->Col());
  }
  EXPECT_EQ(stops, (std::vector<int>{2, 3, 5, 6}));
}

TEST(EditorMoveTest, ArrowsFollowTheRowRules) {
  auto e = MakeEditor("abc\r\nde");
  e->Caret().SetFreeCaret(false);
  e->SetRowCol(1, 0);
  Key(*e, Qt::Key_Left);  // a hard line end before: no wrap without NextLine
  EXPECT_EQ(e->Row(), 1);
  e->Caret().SetNextLine(true);
  Key(*e, Qt::Key_Left);
  EXPECT_EQ(e->Row(), 0);
  EXPECT_EQ(e->Col(), 3);
  Key(*e, Qt::Key_Right);
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 0);
  Key(*e, Qt::Key_Down);  // the end-of-file row
  EXPECT_EQ(e->Row(), 1);
  Key(*e, Qt::Key_End);
  EXPECT_EQ(e->Col(), 2);
  Key(*e, Qt::Key_Home, Qt::ControlModifier);
  EXPECT_EQ(e->Row(), 0);
  EXPECT_EQ(e->Col(), 0);
  Key(*e, Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(e->Row(), 1);
  EXPECT_EQ(e->Col(), 2);
}

TEST(EditorMoveTest, ShiftArrowsSelectInNormalAndBoxMode) {
  struct Case {
    const char* name;
    TEditorSelectionMode mode;
    std::vector<Qt::Key> keys;
    const char* selected;
  };
  const std::vector<Case> cases = {
      {"right twice", smNormal, {Qt::Key_Right, Qt::Key_Right}, "bc"},
      {"down", smNormal, {Qt::Key_Down}, "bc\r\nd"},
      {"over a double-byte character",
       smNormal,
       {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right},
       "bc\r\ndef\r\ngあ"},
      {"end", smNormal, {Qt::Key_End}, "bc"},
      {"box of two rows", smBox, {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right}, "bc\r\nef\r\n"},
      {"box over a double-byte character",
       smBox,
       {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right},
       "bc\r\nef\r\nあ\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor("abc\r\ndef\r\ngあh");
    e->SetSelectionMode(c.mode);
    e->SetRowCol(0, 1);
    for (Qt::Key k : c.keys) Key(*e, k, Qt::ShiftModifier);
    EXPECT_TRUE(e->Selected());
    EXPECT_EQ(e->SelText(), Sjis(c.selected));
    Key(*e, Qt::Key_Left);  // without Shift the selection goes
    EXPECT_FALSE(e->Selected());
  }
}

TEST(EditorMoveTest, PagingAndAutoRepeatMoveByTheSpeedSettings) {
  std::string text;
  for (int i = 0; i < 200; ++i) text += "row\r\n";
  auto e = MakeEditor(text, 640, 400);
  const int visible = e->VisibleRows();
  ASSERT_GT(visible, 4);
  const int page = (visible - 1) / 2 * e->Speed().PageVerticalRange();
  Key(*e, Qt::Key_PageDown);
  EXPECT_EQ(e->TopRow(), page);
  EXPECT_EQ(e->Row(), page);
  Key(*e, Qt::Key_PageUp);
  EXPECT_EQ(e->TopRow(), 0);
  Key(*e, Qt::Key_PageUp);  // at the top: the caret to row 0
  EXPECT_EQ(e->Row(), 0);

  // Held Down on the last visible row moves CaretVerticalAc rows a press.
  e->Speed().SetCaretVerticalAc(3);
  e->SetRowCol(visible - 1, 0);
  Key(*e, Qt::Key_Down, Qt::NoModifier, {}, true);
  EXPECT_EQ(e->Row(), visible + 2);
  Key(*e, Qt::Key_Down);  // released and pressed again: one row
  EXPECT_EQ(e->Row(), visible + 3);
}

// ------------------------------------------------------------ key messages

TEST(EditorKeyMessageTest, OnlyConsumedKeysAnswerNonZero) {
  auto e = MakeEditor("abc");
  auto down = [&](std::uint16_t vk, std::uint8_t ctrl = 0) {
    TKeyMessage m;
    m.Msg = CN_KEYDOWN;
    m.CharCode = vk;
    m.Ctrl = ctrl;
    return e->SendKeyMessage(m);
  };
  EXPECT_NE(down(VK_RIGHT), 0);
  EXPECT_NE(down(VK_DELETE), 0);
  EXPECT_EQ(down('A'), 0);  // its character message types
  EXPECT_EQ(down(VK_F1 + 4), 0);
  EXPECT_EQ(down(VK_ESCAPE), 0);
  EXPECT_NE(down('Z', kKeyDown), 0);  // Ctrl+Z: the popup menu's undo
}

}  // namespace
}  // namespace kelu
