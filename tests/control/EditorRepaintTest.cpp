// What the editor control repaints after a change of the text or the
// selection: it records its invalidations, scrolls and the rows it draws.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "EditorTestSupport.h"

namespace kelu {
namespace {

using test::Sjis;

class TRecordingEditor : public TEditor {
 public:
  std::vector<QRect> invalidated;
  std::vector<QRect> scrolled;
  std::set<int> drawnRows;

  void Forget() {
    invalidated.clear();
    scrolled.clear();
    drawnRows.clear();
  }
  // The rows whose text area was drawn after the pending paints.
  std::set<int> Repainted() {
    drawnRows.clear();
    QApplication::processEvents();
    return drawnRows;
  }
  // Scrolls of the text area (dx, dy) are kept in `scrolled`.
  // The rows an invalidated rectangle of the text area touches.
  std::set<int> InvalidatedRows() const {
    std::set<int> rows;
    for (const QRect& r : invalidated) {
      const QRect text = r & QRect(TextLeft(), TextTop(), 10000, 10000);
      if (text.isEmpty()) continue;
      for (int y = text.top(); y <= text.bottom(); ++y) {
        rows.insert(TopRow() + (y - TextTop()) / RowHeight());
      }
    }
    return rows;
  }

 protected:
  void InvalidateRect(const QRect& rect, bool now) override {
    invalidated.push_back(rect);
    TEditor::InvalidateRect(rect, now);
  }
  void ScrollTextArea(int dx, int dy, const QRect& scrollRect, const QRect& clipRect) override {
    if (scrollRect.right() >= TextLeft()) scrolled.push_back(QRect(dx, dy, 0, 0));
    TEditor::ScrollTextArea(dx, dy, scrollRect, clipRect);
  }
  void DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                  bool selected) override {
    drawnRows.insert(index);
    TEditor::DoDrawLine(lineStr, x, y, index, rect, selected);
  }
};

class EditorRepaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "row " + std::to_string(i) + "\r\n";
    editor.resize(500, 300);
    editor.Lines().SetTextStr(text);
    test::Show(editor);
    ASSERT_GT(editor.VisibleRows(), 8);
    editor.Forget();
  }

  TRecordingEditor editor;
};

TEST_F(EditorRepaintTest, ChangingOneRowRepaintsOnlyTheRowsOfTheChange) {
  editor.ScreenStrings().ReplaceRows(5, 1, "changed\r\n");
  // The row list re-makes the changed row and the next line (the new text
  // may have lost its line break).
  EXPECT_EQ(editor.InvalidatedRows(), (std::set<int>{5, 6}));
  EXPECT_TRUE(editor.scrolled.empty());
  EXPECT_EQ(editor.Repainted(), (std::set<int>{5, 6}));
}

TEST_F(EditorRepaintTest, InsertedRowsScrollTheRowsBelow) {
  editor.ScreenStrings().ReplaceRows(5, 0, "new\r\n");
  ASSERT_EQ(editor.scrolled.size(), 1u);
  EXPECT_EQ(editor.scrolled[0].y(), editor.RowHeight());  // dy
  EXPECT_EQ(editor.InvalidatedRows(), (std::set<int>{5, 6}));
  EXPECT_EQ(editor.Repainted(), (std::set<int>{5, 6}));
}

TEST_F(EditorRepaintTest, RemovedRowsScrollUpAndTheUncoveredRowsAreDrawn) {
  editor.ScreenStrings().ReplaceRows(5, 2, "");
  ASSERT_EQ(editor.scrolled.size(), 1u);
  EXPECT_EQ(editor.scrolled[0].y(), -2 * editor.RowHeight());
  const std::set<int> rows = editor.Repainted();
  // Row 5 (now the old row 7) and the two rows uncovered at the bottom.
  const int last = editor.TopRow() + editor.VisibleRows();
  for (int r : rows) {
    EXPECT_TRUE(r == 5 || r >= last - 2) << r;
  }
  EXPECT_TRUE(rows.count(last - 1));
}

TEST_F(EditorRepaintTest, ChangesOffTheScreenOrLargerThanTheScreen) {
  editor.ScreenStrings().ReplaceRows(150, 1, "far below\r\n");
  EXPECT_TRUE(editor.Repainted().empty());
  // Rows removed above the screen move every row on it.
  editor.SetTopRow(50);
  QApplication::processEvents();
  editor.Forget();
  editor.ScreenStrings().ReplaceRows(10, 1, "");
  ASSERT_EQ(editor.scrolled.size(), 1u);
  EXPECT_EQ(editor.scrolled[0].y(), -editor.RowHeight());
  // More rows than the screen holds: everything below the ruler.
  editor.Forget();
  std::string many;
  for (int i = 0; i < 100; ++i) many += "x\r\n";
  editor.ScreenStrings().ReplaceRows(60, 0, many);
  EXPECT_TRUE(editor.scrolled.empty());
  const int visible = editor.VisibleRows();
  EXPECT_GE(editor.InvalidatedRows().size(), static_cast<std::size_t>(visible));
}

TEST_F(EditorRepaintTest, LineNumbersAreRepaintedFromTheChangeDown) {
  editor.Leftbar().SetVisible(true);
  editor.Leftbar().SetShowNumberMode(nmLine);
  QApplication::processEvents();
  editor.Forget();
  editor.ScreenStrings().ReplaceRows(5, 0, "new\r\n");
  const int barLeft = editor.ImagebarWidth();
  std::set<int> barRows;
  for (const QRect& r : editor.invalidated) {
    if (r.left() != barLeft || r.width() != editor.LeftbarWidth()) continue;
    for (int y = r.top(); y <= r.bottom(); y += editor.RowHeight()) {
      barRows.insert((y - editor.TextTop()) / editor.RowHeight());
    }
  }
  ASSERT_FALSE(barRows.empty());
  EXPECT_EQ(*barRows.begin(), 5);
  EXPECT_EQ(*barRows.rbegin(), editor.VisibleRows());
  // Row numbers at the top of a long text do not change.
  editor.Leftbar().SetShowNumberMode(nmRow);
  QApplication::processEvents();
  editor.Forget();
  editor.ScreenStrings().ReplaceRows(5, 0, "new\r\n");
  for (const QRect& r : editor.invalidated) {
    EXPECT_FALSE(r.left() == barLeft && r.width() == editor.LeftbarWidth()) << r.top();
  }
}

TEST_F(EditorRepaintTest, ASelectionChangeRepaintsTheRowsWhoseSelectedPartChanged) {
  editor.SetRowCol(2, 1);
  editor.StartSelection();
  editor.SetRowCol(3, 2);
  editor.UpdateSelection();
  EXPECT_EQ(editor.Repainted(), (std::set<int>{2, 3}));
  editor.SetRowCol(4, 2);
  editor.UpdateSelection();
  // Row 3 became a whole row, row 4 the new last row; row 2 is unchanged.
  EXPECT_EQ(editor.Repainted(), (std::set<int>{3, 4}));
  editor.SetRowCol(4, 3);
  editor.UpdateSelection();
  EXPECT_EQ(editor.Repainted(), (std::set<int>{4}));
  // Clearing repaints the selected rows and one row above and below.
  editor.Forget();
  editor.CleanSelection();
  EXPECT_EQ(editor.InvalidatedRows(), (std::set<int>{1, 2, 3, 4, 5}));
}

TEST_F(EditorRepaintTest, ScrollingMovesPixelsAndDrawsOnlyTheUncoveredRows) {
  editor.SetTopRow(3);
  ASSERT_EQ(editor.scrolled.size(), 1u);
  EXPECT_EQ(editor.scrolled[0].y(), -3 * editor.RowHeight());
  const std::set<int> rows = editor.Repainted();
  const int last = editor.TopRow() + editor.VisibleRows();
  for (int r : rows) EXPECT_GE(r, last - 3) << r;
}

TEST_F(EditorRepaintTest, ColouringChangesFoundByTheRowListRepaintAfterTheChange) {
  // A bracket opened in row 5 colours the rows below it: they are repainted
  // where they stand after the change.
  auto& brackets = editor.View().Brackets();
  auto* item = brackets.Add();
  item->SetLeftBracket("/*");
  item->SetRightBracket("*/");
  item->ItemColor().SetColor(clRed);
  QApplication::processEvents();
  editor.Forget();
  editor.ScreenStrings().ReplaceRows(5, 0, "/* open\r\n");
  const std::set<int> rows = editor.InvalidatedRows();
  for (int r = 5; r <= editor.TopRow() + editor.VisibleRows(); ++r) EXPECT_TRUE(rows.count(r)) << r;
  QApplication::processEvents();
  const QImage image = test::Shot(editor);
  const int y = editor.TextTop() + 8 * editor.RowHeight();
  bool red = false;
  for (int x = editor.TextLeft(); x < image.width(); ++x)
    red = red || image.pixel(x, y + 8) == test::Rgb(clRed);
  EXPECT_TRUE(red);
}

}  // namespace
}  // namespace kelu
