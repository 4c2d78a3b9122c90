// The editor control's editing operations: replacing and deleting the
// selection (normal and box), moving it, the clipboard with its box format,
// box paste, indent and unindent, undo and redo of each as one step, and the
// edit-control messages.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <functional>
#include <vector>

#include "EditorInputSupport.h"

namespace kelu {
namespace {

using test::Key;
using test::MakeEditor;
using test::SetText;
using test::Sjis;
using test::Type;
using test::UndoCount;
using test::Utf8Text;

// Selects from (row1, col1) to (row2, col2) as Shift+clicks would.
void Select(TEditor& e, int row1, int col1, int row2, int col2,
            TEditorSelectionMode mode = smNormal) {
  e.SetSelectionMode(mode);
  e.CleanSelection();
  e.SetRowCol(row1, col1);
  e.StartSelection();
  e.SetRowCol(row2, col2);
  e.UpdateSelection();
}

void SetClipboardText(const QString& text) {
  QGuiApplication::clipboard()->setText(text);
}

QString ClipboardUnicode() {
  return QGuiApplication::clipboard()->text();
}

bool ClipboardHasBox() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && data->hasFormat(BoxClipboardMimeType());
}

// ------------------------------------------------ replacing the selection

TEST(EditorEditTest, SelTextReplacesOrDeletesTheSelection) {
  struct Case {
    const char* name;
    TEditorSelectionMode mode;
    int r1, c1, r2, c2;
    const char* inserted;  // nullptr: DeleteSelection
    const char* expected;
    int caretRow, caretCol;
  };
  const char* text = "abcd\r\nefgh\r\nijkl";
  const std::vector<Case> cases = {
      {"one row", smNormal, 0, 1, 0, 3, "XY", "aXYd\r\nefgh\r\nijkl", 0, 3},
      {"across rows", smNormal, 0, 2, 1, 1, "-", "ab-fgh\r\nijkl", 0, 3},
      {"with line breaks, LF alone", smNormal, 0, 1, 0, 2, "1\n2\r3",
       "a1\r\n2\r\n3cd\r\nefgh\r\nijkl", 2, 1},
      {"deleted across rows", smNormal, 0, 3, 2, 1, nullptr, "abcjkl", 0, 3},
      {"deleted to the end", smNormal, 1, 0, 2, 4, nullptr, "abcd\r\n", 1, 0},
      {"box typed over: first row only", smBox, 0, 1, 1, 3, "X", "aXd\r\neh\r\nijkl", 0, 2},
      {"box deleted", smBox, 0, 1, 2, 3, nullptr, "ad\r\neh\r\nil", 0, 1},
      {"empty text deletes", smNormal, 0, 0, 0, 2, "", "cd\r\nefgh\r\nijkl", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(text);
    Select(*e, c.r1, c.c1, c.r2, c.c2, c.mode);
    if (c.inserted) {
      e->SetSelText(Sjis(c.inserted));
    } else {
      e->DeleteSelection();
    }
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_FALSE(e->Selected());
    EXPECT_EQ(e->Row(), c.caretRow);
    EXPECT_EQ(e->Col(), c.caretCol);
    EXPECT_EQ(UndoCount(*e), 1);
    e->Undo();
    EXPECT_EQ(Utf8Text(*e), text);
  }
}

TEST(EditorEditTest, TypingOverABoxSelectionClearsEveryRowOfTheBox) {
  auto e = MakeEditor("abcd\r\nefgh\r\nij");
  Select(*e, 0, 1, 2, 3, smBox);
  Type(*e, "日");
  // The third row ends at column 2: the box takes its "j".
  EXPECT_EQ(Utf8Text(*e), "a日d\r\neh\r\ni");
  EXPECT_EQ(e->Col(), 3);
  EXPECT_EQ(UndoCount(*e), 1);
}

TEST(EditorEditTest, NothingSelectedAndReadOnlyChangeNothing) {
  auto e = MakeEditor("abc");
  e->DeleteSelection();
  e->SetSelText("");
  EXPECT_EQ(UndoCount(*e), 0);
  Select(*e, 0, 1, 0, 1);  // an anchor without extent
  e->DeleteSelection();
  EXPECT_EQ(UndoCount(*e), 0);
  e->SetReadOnly(true);
  Select(*e, 0, 0, 0, 2);
  e->SetSelText("x");
  e->DeleteSelection();
  e->InsertChars("y");
  e->BoxPaste("z");
  e->IndentSelection();
  EXPECT_EQ(Utf8Text(*e), "abc");
  EXPECT_EQ(UndoCount(*e), 0);
}

// ------------------------------------------------------ moving the text

TEST(EditorEditTest, MoveSelectionToMovesTheTextInOneStep) {
  struct Case {
    const char* name;
    int r1, c1, r2, c2;  // selection
    int row, col;        // drop place
    const char* expected;
    int caretRow, caretCol;
  };
  const char* text = "abcdef\r\nghij\r\nkl";
  const std::vector<Case> cases = {
      {"right in the same row", 0, 1, 0, 3, 0, 5, "adebcf\r\nghij\r\nkl", 0, 5},
      {"left in the same row", 0, 3, 0, 5, 0, 0, "deabcf\r\nghij\r\nkl", 0, 2},
      {"to a row below", 0, 0, 0, 2, 2, 1, "cdef\r\nghij\r\nkabl", 2, 3},
      {"rows up", 1, 2, 2, 1, 0, 1, "aij\r\nkbcdef\r\nghl", 1, 1},
      {"beyond a row's end", 0, 0, 0, 1, 2, 5, "bcdef\r\nghij\r\nkl   a", 2, 6},
      {"inside the selection: cleared only", 0, 1, 0, 4, 0, 2, "abcdef\r\nghij\r\nkl", 0, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(text);
    Select(*e, c.r1, c.c1, c.r2, c.c2);
    e->MoveSelectionTo(c.row, c.col);
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_FALSE(e->Selected());
    EXPECT_EQ(e->Row(), c.caretRow);
    EXPECT_EQ(e->Col(), c.caretCol);
    if (std::string(c.expected) != text) {
      EXPECT_EQ(UndoCount(*e), 1);
      e->Undo();
      EXPECT_EQ(Utf8Text(*e), text);
    }
  }
}

TEST(EditorEditTest, MoveSelectionNeedsANormalMovableSelection) {
  auto e = MakeEditor("abcdef");
  Select(*e, 0, 0, 0, 2, smBox);
  e->MoveSelectionTo(0, 5);
  EXPECT_EQ(Utf8Text(*e), "abcdef");
  e->Caret().SetSelMove(false);
  Select(*e, 0, 0, 0, 2);
  e->MoveSelectionTo(0, 5);
  EXPECT_EQ(Utf8Text(*e), "abcdef");
}

// ------------------------------------------------------------- clipboard

TEST(EditorClipboardTest, CopyPutsUnicodeTextAndTheBoxFormatForABox) {
  auto e = MakeEditor("日本a\r\n語b\r\n");
  Select(*e, 0, 0, 1, 2);
  e->CopyToClipboard();
  EXPECT_EQ(ClipboardUnicode(), QString::fromUtf8("日本a\n語"));
  EXPECT_FALSE(ClipboardHasBox());

  Select(*e, 0, 0, 1, 2, smBox);
  e->CopyToClipboard();
  EXPECT_EQ(ClipboardUnicode(), QString::fromUtf8("日\n語\n"));
  ASSERT_TRUE(ClipboardHasBox());
  const QByteArray bytes = QGuiApplication::clipboard()->mimeData()->data(BoxClipboardMimeType());
  EXPECT_EQ(bytes.toStdString(), Sjis("日\r\n語\r\n"));
}

TEST(EditorClipboardTest, ABoxCopyPastesAsABlock) {
  auto e = MakeEditor("abc\r\ndef\r\nghij\r\nklmn");
  Select(*e, 0, 0, 1, 2, smBox);
  e->CopyToClipboard();
  e->SetSelectionMode(smNormal);
  e->CleanSelection();
  e->SetRowCol(2, 1);
  e->PasteFromClipboard();
  EXPECT_EQ(Utf8Text(*e), "abc\r\ndef\r\ngabhij\r\nkdelmn");
  EXPECT_EQ(e->Row(), 3);
  EXPECT_EQ(e->Col(), 3);
  EXPECT_EQ(UndoCount(*e), 1);
}

TEST(EditorClipboardTest, TextFromOtherProgramsIsConvertedAndPasted) {
  struct Case {
    const char* name;
    const char* clipboard;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"Japanese text with LF line ends", "漢字\nかな", "x漢字\r\nかなy"},
      {"characters without a Shift-JIS form keep codes of the document", "a😀b한", "xa😀b한y"},
      {"CR LF stays", "1\r\n2", "x1\r\n2y"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor("xy");
    e->SetRowCol(0, 1);
    SetClipboardText(QString::fromUtf8(c.clipboard));
    e->PasteFromClipboard();
    EXPECT_EQ(Utf8Text(*e), c.expected);
  }
}

TEST(EditorClipboardTest, CutAndCopyWithoutASelectionLeaveTheClipboard) {
  auto e = MakeEditor("abc");
  SetClipboardText("kept");
  e->CopyToClipboard();
  EXPECT_EQ(ClipboardUnicode(), "kept");
  e->CutToClipboard();
  EXPECT_EQ(ClipboardUnicode(), "kept");
  // Read-only: cutting neither changes the text nor the clipboard.
  e->SetReadOnly(true);
  Select(*e, 0, 0, 0, 2);
  e->CutToClipboard();
  EXPECT_EQ(ClipboardUnicode(), "kept");
  EXPECT_EQ(Utf8Text(*e), "abc");
  e->PasteFromClipboard();
  EXPECT_EQ(Utf8Text(*e), "abc");
  // Copying is allowed.
  e->CopyToClipboard();
  EXPECT_EQ(ClipboardUnicode(), "ab");
}

TEST(EditorClipboardTest, CutCopiesThenDeletesInOneStep) {
  auto e = MakeEditor("abcdef");
  Select(*e, 0, 1, 0, 4);
  e->CutToClipboard();
  EXPECT_EQ(ClipboardUnicode(), "bcd");
  EXPECT_EQ(Utf8Text(*e), "aef");
  EXPECT_EQ(UndoCount(*e), 1);
  e->SetRowCol(0, 3);
  e->PasteFromClipboard();
  EXPECT_EQ(Utf8Text(*e), "aefbcd");
}

// -------------------------------------------------------------- box paste

TEST(EditorBoxPasteTest, LinesGoIntoTheRowsBelowAtTheStartColumn) {
  struct Case {
    const char* name;
    const char* text;
    int row, col;
    const char* block;
    const char* expected;
    int caretRow, caretCol;
  };
  const std::vector<Case> cases = {
      {"inside rows", "abcd\r\nefgh\r\n", 0, 2, "12\r\n34", "ab12cd\r\nef34gh\r\n", 1, 4},
      {"short rows are padded", "abcd\r\ne\r\n", 0, 3, "1\r\n2\r\n", "abc1d\r\ne  2\r\n", 1, 4},
      {"rows are added below the text", "abcd", 0, 2, "1\r\n2\r\n3", "ab1cd\r\n  2\r\n  3\r\n", 2,
       3},
      {"two rows below the last row", "ab\r\ncd\r\n", 2, 0, "x\r\ny", "ab\r\ncd\r\nx\r\ny\r\n", 3,
       1},
      {"a trail column starts after the character", "cdef\r\naあb", 0, 2, "1\r\n2",
       "cd1ef\r\naあ2b", 1, 4},
      {"tab blanks start after the tab", "cdefghijk\r\na\tb", 0, 3, "1\r\n2", "cde1fghijk\r\na\t2b",
       1, 5},
      {"the end-of-text row gets a line break", "ab\r\ncd", 1, 2, "x\r\ny\r\nz",
       "ab\r\ncdx\r\n  y\r\n  z\r\n", 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    e->Caret().SetTabSpaceCount(4);
    e->SetRowCol(c.row, c.col);
    e->BoxPaste(Sjis(c.block));
    EXPECT_EQ(Utf8Text(*e), c.expected);
    EXPECT_EQ(e->Row(), c.caretRow);
    EXPECT_EQ(e->Col(), c.caretCol);
    EXPECT_EQ(UndoCount(*e), 1);
    e->Undo();
    EXPECT_EQ(Utf8Text(*e), c.text);
  }
}

TEST(EditorBoxPasteTest, ASelectionIsReplacedInTheSameChange) {
  auto e = MakeEditor("abcd\r\nefgh\r\nijkl");
  Select(*e, 0, 1, 1, 3, smBox);
  e->BoxPaste("1\r\n2\r\n3");
  EXPECT_EQ(Utf8Text(*e), "a1d\r\ne2h\r\ni3jkl");
  EXPECT_EQ(UndoCount(*e), 1);
}

// ------------------------------------------------------ indent, unindent

TEST(EditorIndentTest, LinesShiftByOneColumnWithBlanks) {
  struct Case {
    const char* name;
    const char* text;
    bool indent;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"a tab of 8 becomes 9 blanks", "\tx\r\n", true, "         x\r\n"},
      {"unindent of 9 blanks", "         x\r\n", false, "        x\r\n"},
      {"a line without blanks stays on unindent", "x\r\n", false, "x\r\n"},
      {"full-width blanks become ASCII blanks", "　x\r\n", true, "   x\r\n"},
      {"an empty line stays empty", "\r\n", true, "\r\n"},
      {"unindent of a tab", "\tx\r\n", false, "       x\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    Select(*e, 0, 0, 1, 0);
    if (c.indent) {
      e->IndentSelection();
    } else {
      e->UnIndentSelection();
    }
    EXPECT_EQ(Utf8Text(*e), c.expected);
    if (std::string(c.expected) != c.text) {
      EXPECT_EQ(UndoCount(*e), 1);
      e->Undo();
      EXPECT_EQ(Utf8Text(*e), c.text);
    }
  }
}

TEST(EditorIndentTest, TheSelectionMovesWithItsTextAndRepeats) {
  auto e = MakeEditor("  ab\r\n  cd\r\nef\r\n");
  Select(*e, 0, 3, 2, 0);  // from "b" to the start of "ef": that row stays
  e->IndentSelection();
  EXPECT_EQ(Utf8Text(*e), "   ab\r\n   cd\r\nef\r\n");
  EXPECT_EQ(e->SelStrCol(), 4);
  EXPECT_EQ(e->SelText(), "b\r\n   cd\r\n");
  e->IndentSelection();
  EXPECT_EQ(Utf8Text(*e), "    ab\r\n    cd\r\nef\r\n");
  e->UnIndentSelection();
  e->UnIndentSelection();
  e->UnIndentSelection();
  EXPECT_EQ(Utf8Text(*e), " ab\r\n cd\r\nef\r\n");
  EXPECT_EQ(e->SelText(), "b\r\n cd\r\n");
  EXPECT_EQ(UndoCount(*e), 5);
}

TEST(EditorIndentTest, BoxModeShiftsTheBlanksAtTheLeftEdge) {
  auto e = MakeEditor("ab  cd\r\nef\tgh\r\ni\r\n");
  e->Caret().SetTabSpaceCount(4);
  Select(*e, 0, 2, 2, 3, smBox);
  e->IndentSelection();
  // Row 1: the tab at column 2 covers 2-3 and becomes 3 blanks; row 2 does
  // not reach column 2.
  EXPECT_EQ(Utf8Text(*e), "ab   cd\r\nef   gh\r\ni\r\n");
  e->UnIndentSelection();
  e->UnIndentSelection();
  EXPECT_EQ(Utf8Text(*e), "ab cd\r\nef gh\r\ni\r\n");
  EXPECT_EQ(UndoCount(*e), 3);
}

// ---------------------------------------------------------- undo, redo

TEST(EditorUndoTest, EachOperationIsOneStepBackToTheOriginalText) {
  struct Case {
    const char* name;
    std::function<void(TEditor&)> op;
  };
  const char* text = "  abc\r\n  def\r\nghi";
  const std::vector<Case> cases = {
      {"typing", [](TEditor& e) { Type(e, "x"); }},
      {"Enter", [](TEditor& e) { Key(e, Qt::Key_Return); }},
      {"Backspace joining rows",
       [](TEditor& e) {
         e.SetRowCol(1, 0);
         Key(e, Qt::Key_Backspace);
       }},
      {"Delete joining rows",
       [](TEditor& e) {
         e.SetRowCol(0, 5);
         Key(e, Qt::Key_Delete);
       }},
      {"paste",
       [](TEditor& e) {
         SetClipboardText("p\nq");
         e.PasteFromClipboard();
       }},
      {"box paste", [](TEditor& e) { e.BoxPaste("1\r\n2\r\n3\r\n4"); }},
      {"indent",
       [](TEditor& e) {
         Select(e, 0, 0, 2, 3);
         e.IndentSelection();
       }},
      {"unindent",
       [](TEditor& e) {
         Select(e, 0, 0, 2, 3);
         e.UnIndentSelection();
       }},
      {"move",
       [](TEditor& e) {
         Select(e, 0, 2, 1, 3);
         e.MoveSelectionTo(2, 1);
       }},
      {"cut",
       [](TEditor& e) {
         Select(e, 0, 1, 2, 1);
         e.CutToClipboard();
       }},
      {"typing over a box",
       [](TEditor& e) {
         Select(e, 0, 1, 2, 3, smBox);
         Type(e, "Z");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(text);
    e->SetRowCol(0, 3);
    c.op(*e);
    const std::string changed = Utf8Text(*e);
    ASSERT_NE(changed, text);
    EXPECT_EQ(UndoCount(*e), 1);
    EXPECT_TRUE(e->CanUndo());
    e->Undo();
    EXPECT_EQ(Utf8Text(*e), text);
    EXPECT_TRUE(e->CanRedo());
    e->Redo();
    EXPECT_EQ(Utf8Text(*e), changed);
  }
}

TEST(EditorUndoTest, UndoRemovesASelectionFirst) {
  auto e = MakeEditor("abc");
  e->SetRowCol(0, 3);
  Type(*e, "d");
  Select(*e, 0, 0, 0, 2);
  e->Undo();
  EXPECT_FALSE(e->Selected());
  EXPECT_EQ(Utf8Text(*e), "abc");
}

// ------------------------------------------------- edit-control messages

TEST(EditorMessageTest, EditControlMessagesRespectReadOnly) {
  auto e = MakeEditor("abc");
  e->SetModify(false);
  e->SetRowCol(0, 3);
  Type(*e, "d");
  EXPECT_TRUE(e->GetModify());
  EXPECT_TRUE(e->CanUndoMessage());
  e->SetReadOnly(true);
  EXPECT_FALSE(e->CanUndoMessage());
  EXPECT_FALSE(e->UndoMessage());
  EXPECT_EQ(Utf8Text(*e), "abcd");
  e->SetModify(false);
  EXPECT_TRUE(e->GetModify());
  e->EmptyUndoBuffer();
  EXPECT_TRUE(e->CanUndo());
  e->SetText("new");
  EXPECT_EQ(Utf8Text(*e), "abcd");
  e->ReplaceSel("x");
  EXPECT_EQ(Utf8Text(*e), "abcd");

  e->SetReadOnly(false);
  EXPECT_TRUE(e->UndoMessage());
  EXPECT_EQ(Utf8Text(*e), "abc");
  e->SetModify(false);
  EXPECT_FALSE(e->GetModify());
  e->EmptyUndoBuffer();
  EXPECT_FALSE(e->CanUndo());
  e->SetText("line1\r\nline2");
  EXPECT_EQ(e->GetTextLength(), 12);
  char buffer[8];
  EXPECT_EQ(e->GetText(buffer, sizeof buffer), 7);
  EXPECT_STREQ(buffer, "line1\r\n");
  e->SetRowCol(1, 5);
  e->ReplaceSel("!");
  EXPECT_EQ(e->GetText(), "line1\r\nline2!");
}

TEST(EditorMessageTest, ChangesRaiseOnChange) {
  auto e = MakeEditor("abc");
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(TObject*) { ++*n; }
  } counter{&changes};
  e->OnChange = TNotifyEvent::Of<&Counter::Changed>(&counter);
  Type(*e, "xy");
  Key(*e, Qt::Key_Left);
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace kelu
