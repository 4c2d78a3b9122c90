// The editor control's mouse, driven as a user drives it: clicks, Shift and
// double clicks, drag selection, row selection left of the text, the
// control's own drag of the selected text, the keys during that drag, the
// cursor kinds, scrolling while the button is held, the scroll bars and the
// wheel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <string>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/fountain/EditorFountain.h"

namespace kelu {
namespace {

using test::Sjis;

// An editor shown in an active window with the focus (the caret scrolls the
// text only while the control has the focus).
class MouseEditor : public TEditor {
 public:
  explicit MouseEditor(std::string_view utf8Text, int width = 400, int height = 200) {
    resize(width, height);
    Lines().SetTextStr(Sjis(utf8Text));
    show();
    activateWindow();
    setFocus();
    EXPECT_TRUE(QTest::qWaitForWindowActive(this));
    QApplication::processEvents();
  }

  QWidget* Client() { return viewport(); }

  // A point inside the cell of (row, col): near its left edge, so that the
  // place rounded to the nearest column boundary is the cell's own column.
  QPoint Cell(int row, int col) const {
    return QPoint(TextLeft() + (col - TopCol()) * ColWidth() + 1,
                  TextTop() + (row - TopRow()) * RowHeight() + RowHeight() / 2);
  }
  // Near the cell's right edge: rounded, the place after the cell.
  QPoint CellRight(int row, int col) const { return Cell(row, col) + QPoint(ColWidth() - 2, 0); }
  // Left of the text, on row `row`.
  QPoint Margin(int row) const { return QPoint(TextLeft() / 2, Cell(row, 0).y()); }

  void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseClick(Client(), Qt::LeftButton, mods, p);
  }
  void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mousePress(Client(), Qt::LeftButton, mods, p);
  }
  void Move(QPoint p) { QTest::mouseMove(Client(), p); }
  void Release(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::mouseRelease(Client(), Qt::LeftButton, mods, p);
  }
  // Press, move in steps beyond the drag threshold, release.
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers releaseMods = Qt::NoModifier) {
    Press(from);
    Move((from + to) / 2);
    Move(to);
    Release(to, releaseMods);
  }
  // As the window system reports a double click to a widget: press,
  // release, double click, release.
  void DoubleClick(QPoint p) {
    Click(p);
    QTest::mouseDClick(Client(), Qt::LeftButton, Qt::NoModifier, p);
    Release(p);
  }
  void Select(int start, int length) {
    SetSelStart(start);
    SetSelLength(length);
  }

  TRowCol Place() const { return {Row(), Col()}; }
  std::string Text() { return Lines().GetTextStr(); }
};

// --------------------------------------------------------------- clicks

struct ClickCase {
  const char* name;
  bool rightHalf;  // the click's pixel lies in the right half of the cell
  int row;
  int col;
  TRowCol expected;
};

TEST(EditorMouseTest, AClickPutsTheCaretOnTheNearestCharacterBoundary) {
  // Row 0: a, あ at columns 1-2, a tab (width 4) at columns 3, b at 4.
  // Row 1: x, a tab at columns 1-3, y at 4.
  MouseEditor e("aあ\tb\r\nx\ty");
  e.Caret().SetTabSpaceCount(4);
  const std::vector<ClickCase> cases = {
      {"left half of a", false, 0, 0, {0, 0}},
      {"right half of a", true, 0, 0, {0, 1}},
      {"lead half of あ", false, 0, 1, {0, 1}},
      {"trail half of あ, left part: before it", false, 0, 2, {0, 1}},
      {"trail half of あ, right part: after it", true, 0, 2, {0, 3}},
      {"a tab blank rounds to the tab", false, 1, 2, {1, 1}},
      {"right part of the tab's last blank: after it", true, 1, 3, {1, 4}},
      {"beyond the row end with a free caret", false, 0, 20, {0, 20}},
      {"below the text: the last row", false, 6, 0, {1, 0}},
  };
  for (const ClickCase& c : cases) {
    SCOPED_TRACE(c.name);
    e.Click(c.rightHalf ? e.CellRight(c.row, c.col) : e.Cell(c.row, c.col));
    EXPECT_EQ(e.Place(), c.expected);
    EXPECT_FALSE(e.Selected());
  }
  e.Caret().SetFreeCaret(false);
  e.Click(e.Cell(0, 20));
  EXPECT_EQ(e.Place(), (TRowCol{0, 5}));
}

TEST(EditorMouseTest, AClickGivesTheControlTheFocus) {
  MouseEditor e("abc");
  e.clearFocus();
  QApplication::processEvents();
  ASSERT_FALSE(e.hasFocus());
  QTest::mouseClick(e.Client(), Qt::RightButton, Qt::NoModifier, e.Cell(0, 1));
  EXPECT_TRUE(e.hasFocus());
  EXPECT_EQ(e.Place(), (TRowCol{0, 0}));  // only the left button places the caret
}

struct PosCase {
  const char* name;
  QPoint pos;
  bool found;
  int row;
  int byte;
};

TEST(EditorMouseTest, PosToRowColNamesTheCharacterUnderThePoint) {
  MouseEditor e("aあ\tb\r\nxyz");
  e.Caret().SetTabSpaceCount(4);
  const std::vector<PosCase> cases = {
      {"single-byte", e.CellRight(0, 0), true, 0, 0},
      {"trail column counts as the lead byte", e.CellRight(0, 2), true, 0, 1},
      {"tab blank counts as the tab", e.Cell(0, 3), true, 0, 3},
      {"character after the tab", e.Cell(0, 4), true, 0, 4},
      {"second row", e.Cell(1, 2), true, 1, 2},
      {"beyond the row end", e.Cell(1, 3), false, 0, 0},
      {"below the last row", e.Cell(2, 0), false, 0, 0},
      {"left of the text", e.Margin(0), false, 0, 0},
      {"above the text", QPoint(e.Cell(0, 0).x(), e.TextTop() - 1), false, 0, 0},
  };
  for (const PosCase& c : cases) {
    SCOPED_TRACE(c.name);
    int row = -1, byte = -1;
    ASSERT_EQ(e.PosToRowCol(c.pos, row, byte), c.found);
    if (c.found) {
      EXPECT_EQ(row, c.row);
      EXPECT_EQ(byte, c.byte);
    }
  }
  e.Lines().SetTextStr("");
  int row, byte;
  EXPECT_FALSE(e.PosToRowCol(e.Cell(0, 0), row, byte));
}

TEST(EditorMouseTest, ShiftClickExtendsFromTheAnchor) {
  MouseEditor e("abcdef\r\nghijkl");
  e.Click(e.Cell(0, 2));
  e.Click(e.Cell(1, 3), Qt::ShiftModifier);
  EXPECT_EQ(e.SelText(), "cdef\r\nghi");
  // Again: the anchor stays where the first click put it.
  e.Click(e.Cell(0, 5), Qt::ShiftModifier);
  EXPECT_EQ(e.SelText(), "cde");
  EXPECT_EQ(e.Place(), (TRowCol{0, 5}));
  // Without a selection, Shift+click selects from the caret.
  e.Click(e.Cell(1, 1));
  e.Click(e.Cell(1, 4), Qt::ShiftModifier);
  EXPECT_EQ(e.SelText(), "hij");
}

// ------------------------------------------------------- drag selection

struct DragCase {
  const char* name;
  TEditorSelectionMode mode;
  TRowCol from;
  TRowCol to;
  std::string expected;
};

TEST(EditorMouseTest, DraggingSelectsFromThePressToThePointer) {
  const std::vector<DragCase> cases = {
      {"normal, downwards", smNormal, {0, 1}, {2, 2}, "bcdef\r\nghijkl\r\nmn"},
      {"normal, upwards", smNormal, {1, 4}, {0, 2}, "cdef\r\nghij"},
      {"normal, within a row", smNormal, {2, 1}, {2, 4}, "nop"},
      {"box", smBox, {0, 1}, {2, 3}, "bc\r\nhi\r\nno\r\n"},
      {"box, dragged up and left", smBox, {2, 4}, {1, 2}, "ij\r\nop\r\n"},
  };
  for (const DragCase& c : cases) {
    SCOPED_TRACE(c.name);
    MouseEditor e("abcdef\r\nghijkl\r\nmnopqr");
    e.SetSelectionMode(c.mode);
    e.Drag(e.Cell(c.from.Row, c.from.Col), e.Cell(c.to.Row, c.to.Col));
    EXPECT_TRUE(e.Selected());
    EXPECT_EQ(e.SelText(), c.expected);
    EXPECT_EQ(e.Place(), c.to);
  }
}

TEST(EditorMouseTest, ASelectionBeginsOnlyBeyondTheDragThreshold) {
  MouseEditor e("abcdef");
  const QPoint p = e.Cell(0, 2);
  const int inside = e.ColWidth() / 2;
  e.Press(p);
  e.Move(p + QPoint(0, inside));
  EXPECT_FALSE(e.Selected());
  EXPECT_EQ(e.SelectionState(), stStarted);
  e.Move(p + QPoint(inside + 1, inside));
  EXPECT_TRUE(e.Selected());
  e.Release(p + QPoint(inside + 1, inside));
  // Moving without the button no longer selects.
  const TRowCol place = e.Place();
  e.Move(e.Cell(0, 5));
  EXPECT_EQ(e.Place(), place);
}

// --------------------------------------------------------- row selection

TEST(EditorMouseTest, AClickLeftOfTheTextSelectsWholeRows) {
  MouseEditor e("row0\r\nrow1\r\nrow2\r\nlast");
  ASSERT_GT(e.TextLeft(), 4);
  e.Click(e.Margin(1));
  EXPECT_EQ(e.SelText(), "row1\r\n");
  EXPECT_EQ(e.Place(), (TRowCol{1, 0}));

  // Extended by dragging: down, back over the start, up.
  e.Press(e.Margin(1));
  e.Move(e.Margin(2));
  EXPECT_EQ(e.SelText(), "row1\r\nrow2\r\n");
  e.Move(e.Margin(3));
  EXPECT_EQ(e.SelText(), "row1\r\nrow2\r\nlast");  // the end-of-file row without a break
  e.Move(e.Margin(1));
  EXPECT_EQ(e.SelText(), "row1\r\n");
  e.Move(e.Margin(0));
  EXPECT_EQ(e.SelText(), "row0\r\nrow1\r\n");
  EXPECT_EQ(e.Place(), (TRowCol{0, 0}));
  e.Release(e.Margin(0));

  // The end-of-file row alone, and a click below the text.
  e.Click(e.Margin(3));
  EXPECT_EQ(e.SelText(), "last");
  EXPECT_EQ(e.Place(), (TRowCol{3, 0}));
  e.Click(e.Margin(7));
  EXPECT_EQ(e.SelText(), "last");

  // Without RowSelect a click there puts the caret at the row's start.
  e.Caret().SetRowSelect(false);
  e.Click(e.Margin(2));
  EXPECT_FALSE(e.Selected());
  EXPECT_EQ(e.Place(), (TRowCol{2, 0}));
}

TEST(EditorMouseTest, RowSelectionOfTheLastRowWithALineBreak) {
  MouseEditor e("a\r\nb\r\n");
  e.Click(e.Margin(1));
  EXPECT_EQ(e.SelText(), "b\r\n");
  e.Drag(e.Margin(0), e.Margin(5));
  EXPECT_EQ(e.SelText(), "a\r\nb\r\n");
  EXPECT_EQ(e.Place(), (TRowCol{2, 0}));
}

// ---------------------------------------------------- the selection drag

TEST(EditorMouseTest, AClickInsideASelectionRemovesItAndLeavesTheCaretThere) {
  MouseEditor e("abcdef\r\nghij");
  const std::string text = e.Text();
  e.Select(1, 4);  // "bcde"
  e.Press(e.CellRight(0, 2));
  EXPECT_EQ(e.SelDragState(), sdPending);
  EXPECT_EQ(e.Place(), (TRowCol{0, 2}));  // not rounded
  e.Release(e.CellRight(0, 2));
  EXPECT_EQ(e.SelDragState(), sdNone);
  EXPECT_FALSE(e.Selected());
  EXPECT_EQ(e.Place(), (TRowCol{0, 2}));
  EXPECT_EQ(e.Text(), text);
}

struct DropCase {
  const char* name;
  bool ctrl;
  TRowCol drop;
  std::string expected;
};

TEST(EditorMouseTest, DraggingTheSelectionMovesOrCopiesItInOneUndoStep) {
  const std::string original = "abc def\r\nxyz\r\n";
  const std::vector<DropCase> cases = {
      {"move to the next row", false, {1, 3}, "def\r\nxyzabc \r\n"},
      {"copy with Ctrl", true, {1, 3}, "abc def\r\nxyzabc \r\n"},
      {"move to the row's end", false, {0, 7}, "defabc \r\nxyz\r\n"},
      {"copy beyond the row's end", true, {1, 5}, "abc def\r\nxyz  abc \r\n"},
  };
  for (const DropCase& c : cases) {
    SCOPED_TRACE(c.name);
    MouseEditor e(original);
    e.Select(0, 4);  // "abc "
    e.Drag(e.Cell(0, 1), e.Cell(c.drop.Row, c.drop.Col),
           c.ctrl ? Qt::ControlModifier : Qt::NoModifier);
    EXPECT_EQ(e.SelDragState(), sdNone);
    EXPECT_EQ(e.Text(), c.expected);
    ASSERT_TRUE(e.CanUndo());
    e.Undo();
    EXPECT_EQ(e.Text(), original);
  }
}

TEST(EditorMouseTest, DroppingOntoTheSelectionOrOutsideOnlyRemovesIt) {
  MouseEditor e("abcdef\r\nghij");
  const std::string text = e.Text();
  e.Select(1, 4);  // "bcde"
  e.Drag(e.Cell(0, 1), e.Cell(0, 3));
  EXPECT_FALSE(e.Selected());
  EXPECT_EQ(e.Text(), text);

  e.Select(1, 4);
  e.Press(e.Cell(0, 2));
  e.Move(e.Cell(1, 2));
  EXPECT_EQ(e.SelDragState(), sdDragging);
  e.Release(QPoint(-5, e.Cell(1, 2).y()));
  EXPECT_FALSE(e.Selected());
  EXPECT_EQ(e.Text(), text);
}

TEST(EditorMouseTest, KeysDuringTheDrag) {
  MouseEditor e("abcdef\r\nghij");
  const std::string text = e.Text();
  e.Select(1, 3);  // "bcd"
  e.Press(e.Cell(0, 2));
  e.Move(e.Cell(1, 1));
  ASSERT_EQ(e.SelDragState(), sdDragging);
  EXPECT_EQ(e.CursorKind(), TEditor::ckDragMove);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);

  // Ctrl switches to copying and back; typed characters are dropped.
  QTest::keyPress(&e, Qt::Key_Control, Qt::ControlModifier);
  EXPECT_EQ(e.CursorKind(), TEditor::ckDragCopy);
  QTest::keyRelease(&e, Qt::Key_Control);
  EXPECT_EQ(e.CursorKind(), TEditor::ckDragMove);
  QTest::keyClick(&e, Qt::Key_X);
  QTest::keyClick(&e, Qt::Key_Return);
  EXPECT_EQ(e.Text(), text);
  EXPECT_EQ(e.SelDragState(), sdDragging);
  // So is a double click.
  QTest::mouseDClick(e.Client(), Qt::LeftButton, Qt::NoModifier, e.Cell(1, 1));
  EXPECT_EQ(e.SelDragState(), sdDragging);
  EXPECT_EQ(e.SelText(), "bcd");

  // Escape cancels: no drop on release, the selection is gone.
  QTest::keyClick(&e, Qt::Key_Escape);
  EXPECT_EQ(e.SelDragState(), sdNone);
  EXPECT_FALSE(e.Selected());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(e.CursorKind(), TEditor::ckDefault);
  e.Move(e.Cell(1, 3));
  e.Release(e.Cell(1, 3));
  EXPECT_EQ(e.Text(), text);

  // A pending drag is cancelled by Escape too.
  e.Select(1, 3);
  e.Press(e.Cell(0, 2));
  ASSERT_EQ(e.SelDragState(), sdPending);
  QTest::keyClick(&e, Qt::Key_Escape);
  EXPECT_EQ(e.SelDragState(), sdNone);
  EXPECT_FALSE(e.Selected());
  e.Release(e.Cell(0, 2));
  EXPECT_EQ(e.Text(), text);

  // With no drag and no button held the keys reach the editor again.
  e.SetRowCol(1, 0);
  QTest::keyClick(&e, Qt::Key_X);
  EXPECT_EQ(e.Text(), "abcdef\r\nxghij");
}

TEST(EditorMouseTest, NoInternalDragWhenItIsNotAllowed) {
  struct Case {
    const char* name;
    void (*setUp)(MouseEditor&);
  };
  const std::vector<Case> cases = {
      {"SelDragMode dmManual", [](MouseEditor& e) { e.Caret().SetSelDragMode(dmManual); }},
      {"SelMove off", [](MouseEditor& e) { e.Caret().SetSelMove(false); }},
      {"ReadOnly", [](MouseEditor& e) { e.SetReadOnly(true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseEditor e("abcdef\r\nghij");
    const std::string text = e.Text();
    c.setUp(e);
    e.Select(1, 3);  // "bcd"
    e.Press(e.Cell(0, 2));
    EXPECT_EQ(e.SelDragState(), sdNone);
    EXPECT_EQ(e.Place(), (TRowCol{0, 2}));
    e.Move(e.Cell(1, 2));
    e.Release(e.Cell(1, 2));
    EXPECT_EQ(e.SelDragState(), sdNone);
    EXPECT_EQ(e.Text(), text);
  }
}

TEST(EditorMouseTest, ABoxSelectionIsNotDragged) {
  MouseEditor e("abcdef\r\nghij");
  e.SetSelectionMode(smBox);
  e.Drag(e.Cell(0, 1), e.Cell(1, 3));
  ASSERT_TRUE(e.Selected());
  e.Press(e.Cell(0, 2));
  EXPECT_EQ(e.SelDragState(), sdNone);
  EXPECT_FALSE(e.Selected());
  e.Release(e.Cell(0, 2));
}

// --------------------------------------------------------- cursor kinds

TEST(EditorMouseTest, TheCursorFollowsTheAreaUnderThePointer) {
  MouseEditor e("abcdef\r\nghij");
  e.Ruler().SetVisible(true);
  e.Select(1, 3);
  struct Case {
    const char* name;
    QPoint pos;
    TEditor::TCursorKind kind;
    TCursor cursor;
  };
  const TEditorCursors& cursors = e.Caret().Cursors();
  const std::vector<Case> cases = {
      {"left of the text", e.Margin(1), TEditor::ckLeftMargin, cursors.LeftMarginCursor()},
      {"over the ruler", QPoint(e.Cell(0, 2).x(), 2), TEditor::ckTopMargin,
       cursors.TopMarginCursor()},
      {"over the selection", e.Cell(0, 2), TEditor::ckInSelection, cursors.InSelCursor()},
      {"over the text", e.Cell(1, 2), TEditor::ckDefault, cursors.DefaultCursor()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    e.Move(c.pos);
    EXPECT_EQ(e.CursorKind(), c.kind);
    EXPECT_EQ(e.Client()->cursor().shape(), ScreenCursor(c.cursor).shape());
  }
  // Without AutoCursor the cursor stays as it is.
  e.Caret().SetAutoCursor(false);
  e.Move(e.Margin(1));
  EXPECT_EQ(e.CursorKind(), TEditor::ckDefault);
}

// ------------------------------------------------------------ scrolling

TEST(EditorMouseTest, HoldingTheButtonOutsideTheTextScrolls) {
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i) + "\r\n";
  MouseEditor e(text);
  e.SetTopRow(20);
  e.Press(e.Cell(22, 2));
  const QPoint above(e.Cell(0, 2).x(), e.TextTop() - 2);
  // One row per mouse move.
  e.Move(above);
  EXPECT_EQ(e.TopRow(), 19);
  EXPECT_EQ(e.Row(), 19);
  e.Move(above + QPoint(1, 0));
  EXPECT_EQ(e.TopRow(), 18);
  // Held still, the timer goes on scrolling.
  QTest::qWait(400);
  const int top = e.TopRow();
  EXPECT_LT(top, 17);
  // The selection runs from the caret to the press.
  EXPECT_EQ(e.Row(), top);
  EXPECT_EQ(e.SelStrRow(), top);
  EXPECT_EQ(e.SelEndRow(), 22);
  // Back inside or released, the scrolling stops.
  e.Move(e.Cell(top + 2, 2));
  const int stopped = e.TopRow();
  QTest::qWait(200);
  EXPECT_EQ(e.TopRow(), stopped);
  e.Move(QPoint(e.Cell(0, 2).x(), e.height() - 2));
  e.Release(QPoint(e.Cell(0, 2).x(), e.height() - 2));
  const int released = e.TopRow();
  QTest::qWait(200);
  EXPECT_EQ(e.TopRow(), released);
}

TEST(EditorMouseTest, TheVerticalScrollBarWithLockScrollTakesTheCaretAlong) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line\r\n";
  struct Case {
    const char* name;
    bool lockScroll;
    QAbstractSlider::SliderAction action;
    int top;
    int row;
  };
  const std::vector<Case> cases = {
      {"line down", true, QAbstractSlider::SliderSingleStepAdd, 11, 13},
      {"line up", true, QAbstractSlider::SliderSingleStepSub, 9, 11},
      {"line down without LockScroll", false, QAbstractSlider::SliderSingleStepAdd, 11, 12},
      {"to the top", true, QAbstractSlider::SliderToMinimum, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MouseEditor e(text);
    e.SetScrollBars(ssVertical);
    e.Caret().SetLockScroll(c.lockScroll);
    e.SetTopRow(10);
    e.SetRowCol(12, 2);
    e.verticalScrollBar()->triggerAction(c.action);
    EXPECT_EQ(e.TopRow(), c.top);
    EXPECT_EQ(e.Row(), c.row);
  }
}

TEST(EditorMouseTest, TheScrollBarsFollowTheRowsAndTheVisibleArea) {
  MouseEditor e("a\r\nb\r\nc");
  e.SetScrollBars(ssBoth);
  QScrollBar& v = *e.verticalScrollBar();
  QScrollBar& h = *e.horizontalScrollBar();
  // A short text: the thumb at the top, scrollable up to the last row.
  EXPECT_EQ(v.value(), 0);
  EXPECT_EQ(v.minimum(), 0);
  EXPECT_EQ(v.maximum(), e.RowCount());
  EXPECT_EQ(v.pageStep(), e.VisibleRows());
  v.triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(e.TopRow(), e.RowCount());
  v.triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(e.TopRow(), 0);

  // Horizontally the 1000 columns: the far end is the last top column
  // (for an even and an odd number of visible columns).
  for (int widen = 0; widen < 2; ++widen) {
    SCOPED_TRACE(e.VisibleCols());
    EXPECT_EQ(h.pageStep(), e.VisibleCols());
    for (int again = 0; again < 2; ++again) {
      h.triggerAction(QAbstractSlider::SliderToMaximum);
      EXPECT_EQ(e.TopCol(), TEditor::kMaxCol - e.VisibleCols() / 2);
      EXPECT_EQ(h.value(), e.TopCol());
    }
    h.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(e.TopCol(), TEditor::kMaxCol - e.VisibleCols() / 2 - 1);
    EXPECT_EQ(h.value(), e.TopCol());
    h.triggerAction(QAbstractSlider::SliderToMinimum);
    e.resize(e.width() + e.ColWidth(), e.height());
  }

  // Scrolling by other means moves the thumbs.
  e.SetTopRow(2);
  e.SetTopCol(7);
  EXPECT_EQ(v.value(), 2);
  EXPECT_EQ(h.value(), 7);
}

TEST(EditorMouseTest, TheWheelScrollsRows) {
  std::string text;
  for (int i = 0; i < 50; ++i) text += "line\r\n";
  MouseEditor e(text);
  const int lines = QApplication::wheelScrollLines();
  auto wheel = [&](int dy) {
    const QPointF p = e.Cell(1, 1);
    QWheelEvent event(p, e.Client()->mapToGlobal(p), QPoint(), QPoint(0, dy), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(e.Client(), &event);
  };
  wheel(-120);
  EXPECT_EQ(e.TopRow(), lines);
  wheel(-60);
  EXPECT_EQ(e.TopRow(), lines);  // half a notch waits for the other half
  wheel(-60);
  EXPECT_EQ(e.TopRow(), 2 * lines);
  wheel(240);
  EXPECT_EQ(e.TopRow(), 0);
}

// -------------------------------------------------------- double click

struct TokenCase {
  const char* name;
  TRowCol at;
  std::string expected;  // UTF-8; empty: nothing selected
};

TEST(EditorMouseTest, ADoubleClickSelectsTheTokenUnderThePointer) {
  const std::vector<TokenCase> cases = {
      {"identifier", {0, 5}, "foo_bar"},
      {"number", {0, 9}, "42.5"},
      {"hiragana, on a trail column", {0, 15}, "あいう"},
      {"kanji", {0, 20}, "漢字"},
      {"a blank", {0, 7}, ""},
      {"beyond the row end", {0, 40}, ""},
  };
  for (const TokenCase& c : cases) {
    SCOPED_TRACE(c.name);
    MouseEditor e("foo_bar 42.5 ;あいう漢字");
    e.DoubleClick(e.Cell(c.at.Row, c.at.Col));
    EXPECT_EQ(e.SelText(), Sjis(c.expected));
  }
}

TEST(EditorMouseTest, TheApplicationMayReplaceTheDoubleClick) {
  MouseEditor e("foo bar");
  struct Handler {
    TEditor* editor = nullptr;
    QPoint point;
    void DblClick(TObject*) { point = editor->PressPoint(); }
  } handler{&e, {}};
  e.OnDblClick = TNotifyEvent::Of<&Handler::DblClick>(&handler);
  e.DoubleClick(e.Cell(0, 5));
  EXPECT_EQ(handler.point, e.Cell(0, 5));
  EXPECT_FALSE(e.Selected());
}

TEST(EditorMouseTest, TokensOfTheLogicalLineWithAndWithoutTheFountain) {
  MouseEditor e("");
  e.View().SetUrl(true);
  auto& bracket = *e.View().Brackets().Add();
  bracket.SetLeftBracket("/*");
  bracket.SetRightBracket("*/");
  e.Lines().SetTextStr("see http://kelu.jp/a now\r\n/* one\r\ntwo */ three");
  int kind = -1;
  // The fountain knows URLs; the plain parser cuts them into words.
  EXPECT_EQ(e.TokenFromPos(e.Cell(0, 12), true, &kind), "http://kelu.jp/a");
  EXPECT_EQ(kind, ttUrl);
  EXPECT_EQ(e.TokenFromPos(e.Cell(0, 12), false, &kind), "kelu");
  EXPECT_EQ(kind, ttAnk);
  // The fountain starts the line inside the bracket opened above it.
  EXPECT_EQ(e.TokenFromPos(e.Cell(2, 1), true), "two */");
  EXPECT_EQ(e.TokenFromPos(e.Cell(2, 1), false), "two");
  EXPECT_EQ(e.TokenFromPos(e.Cell(0, 3), false, &kind), "");
  EXPECT_EQ(kind, ttEnd);

  // A token cut by word wrap is found whole from either row.
  const std::string word = "abcdefghijklmnopqrstuvwxyzABCD";
  e.Lines().SetTextStr(word);
  e.WrapOption().SetWrapByte(20);
  e.SetWordWrap(true);
  ASSERT_EQ(e.RowCount(), 2);
  EXPECT_EQ(e.TokenFromPos(e.Cell(0, 1), false), word);
  EXPECT_EQ(e.TokenFromPos(e.Cell(1, 1), true), word);
  ASSERT_TRUE(e.SelectTokenFromPos(e.Cell(1, 1), false));
  EXPECT_EQ(e.SelText(), word);
  EXPECT_EQ(e.Place(), (TRowCol{1, 10}));
}

}  // namespace
}  // namespace kelu
