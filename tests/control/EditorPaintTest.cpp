// What the editor control draws, checked on its pixels: the cell grid,
// the selection colours, numbers, ruler, row end marks and row mark images.
#include <gtest/gtest.h>

#include <QPainter>
#include <set>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/control/EditorResources.h"

namespace kelu {
namespace {

using test::MakeEditor;
using test::Rgb;
using test::Shot;
using test::Show;

// The x of the left edge of column `col`.
int X(const TEditor& e, int col) {
  return e.TextLeft() + (col - e.TopCol()) * e.ColWidth();
}
int Top(const TEditor& e, int row) {
  return e.TextTop() + (row - e.TopRow()) * e.RowHeight();
}

// The x positions in [x1, x2) where any pixel of rows [y1, y2) satisfies
// `test`.
template <class Test>
std::set<int> ColumnsWhere(const QImage& image, int x1, int x2, int y1, int y2, Test test) {
  std::set<int> xs;
  for (int x = std::max(x1, 0); x < std::min(x2, image.width()); ++x) {
    for (int y = std::max(y1, 0); y < std::min(y2, image.height()); ++y) {
      if (test(image.pixel(x, y))) {
        xs.insert(x);
        break;
      }
    }
  }
  return xs;
}

std::set<int> Range(int from, int to) {  // [from, to)
  std::set<int> xs;
  for (int x = from; x < to; ++x) xs.insert(x);
  return xs;
}

// Ink: anything that is not the background of a row.
std::set<int> InkOfRow(TEditor& e, const QImage& image, int row) {
  const QRgb bk = Rgb(e.Color());
  return ColumnsWhere(image, e.TextLeft(), image.width(), Top(e, row), Top(e, row) + e.FontHeight(),
                      [&](QRgb p) { return p != bk; });
}

// ----------------------------------------------------------------- the grid

TEST(EditorPaintTest, ADoubleByteCharacterIsCentredInExactlyTwoCells) {
  // The stand-in face, and a face without Japanese glyphs and with wider
  // cells (its own advances do not fit the cells).
  for (int extra : {0, 5}) {
    SCOPED_TRACE(extra);
    auto e = MakeEditor("あ\r\n   漢\r\n  b\r\nｶ");
    e->Margin().SetCharacter(extra);
    Show(*e);
    const QImage image = Shot(*e);
    const int w = e->ColWidth();
    struct Glyph {
      int row, col, cells;
    };
    for (Glyph g : {Glyph{0, 0, 2}, {1, 3, 2}, {2, 2, 1}, {3, 0, 1}}) {
      SCOPED_TRACE(g.row);
      const std::set<int> ink = InkOfRow(*e, image, g.row);
      ASSERT_FALSE(ink.empty());
      EXPECT_GE(*ink.begin(), X(*e, g.col));
      EXPECT_LT(*ink.rbegin(), X(*e, g.col + g.cells));
      if (g.cells == 2) {
        // Centred: the ink's middle is near the boundary between the cells.
        const int middle = (*ink.begin() + *ink.rbegin() + 1) / 2;
        EXPECT_NEAR(middle, X(*e, g.col) + w, 2);
      }
    }
  }
}

TEST(EditorPaintTest, TabsExpandToTheNextStop) {
  auto e = MakeEditor("\tx\r\nab\tx");
  e->Caret().SetTabSpaceCount(4);
  Show(*e);
  const QImage image = Shot(*e);
  for (int row : {0, 1}) {
    const std::set<int> ink = InkOfRow(*e, image, row);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(*ink.rbegin(), X(*e, 4));
    EXPECT_LT(*ink.rbegin(), X(*e, 5));
  }
  EXPECT_GE(*InkOfRow(*e, image, 0).begin(), X(*e, 4));
}

// ------------------------------------------------------------ the selection

struct SelectionPaint {
  const char* name;
  const char* text;
  TEditorSelectionMode mode;
  int anchorRow, anchorCol, row, col;
  // Per row, the selected columns [first, past); past -1: to the right edge.
  std::vector<std::pair<int, int>> columns;
};

TEST(EditorPaintTest, TheSelectionColourCoversExactlyTheSelectedCells) {
  const std::vector<SelectionPaint> cases = {
      // "aあb\tc", tab width 4: a 0, あ 1-2, b 3, tab 4-7, c 8.
      {"one row over a double-byte character", "aあb\tc", smNormal, 0, 1, 0, 4, {{1, 4}}},
      {"one row over a tab", "aあb\tc", smNormal, 0, 3, 0, 8, {{3, 8}}},
      {"several rows", "abcd\r\nef\r\nghij", smNormal, 0, 2, 2, 1, {{2, -1}, {0, -1}, {0, 1}}},
      // あ covers 1-2: the box from column 2 starts at b.
      {"box edge on a trail byte", "aあbc\r\nxyzwv", smBox, 1, 2, 0, 4, {{3, 4}, {2, 4}}},
      {"box edge on a lead byte", "aあbc\r\nxyzwv", smBox, 0, 0, 1, 2, {{0, 3}, {0, 2}}},
      // The tab at column 1 covers 1-3: a box into its blanks takes all of it.
      {"box over a tab", "a\tb\r\n0123456", smBox, 0, 1, 1, 3, {{1, 4}, {1, 3}}},
      {"box beyond a short row", "ab\r\nabcdef", smBox, 0, 3, 1, 5, {{3, 5}, {3, 5}}},
  };
  for (const SelectionPaint& c : cases) {
    SCOPED_TRACE(c.name);
    auto e = MakeEditor(c.text);
    e->Caret().SetTabSpaceCount(4);
    e->Caret().SetInTab(true);
    e->View().Colors().Select().SetBkColor(clRed);
    e->View().Colors().Select().SetColor(clWhite);
    Show(*e);
    e->SetSelectionMode(c.mode);
    e->SetRowCol(c.anchorRow, c.anchorCol);
    e->StartSelection();
    e->SetRowCol(c.row, c.col);
    e->UpdateSelection();
    QApplication::processEvents();
    const QImage image = Shot(*e);
    const QRgb red = Rgb(clRed);
    for (int r = 0; r < static_cast<int>(c.columns.size()); ++r) {
      SCOPED_TRACE(r);
      const auto [first, past] = c.columns[static_cast<std::size_t>(r)];
      const std::set<int> painted =
          ColumnsWhere(image, 0, image.width(), Top(*e, r), Top(*e, r) + e->FontHeight(),
                       [&](QRgb p) { return p == red; });
      EXPECT_EQ(painted, Range(X(*e, first), past < 0 ? image.width() : X(*e, past)));
    }
    // Nothing else is red.
    const int below = Top(*e, static_cast<int>(c.columns.size()));
    EXPECT_TRUE(ColumnsWhere(image, 0, image.width(), below, image.height(), [&](QRgb p) {
                  return p == red;
                }).empty());
  }
}

TEST(EditorPaintTest, NoColourFollowsTheControlColourAndTheFontColour) {
  auto e = MakeEditor("abc def\r\nxyz");
  e->SetColor(clYellow);
  e->Font().SetColor(clBlue);
  e->Leftbar().SetVisible(true);
  e->Leftbar().SetBkColor(clNone);
  e->View().Colors().Select().SetBkColor(clNone);
  e->View().Colors().Select().SetColor(clNone);
  Show(*e);
  e->SetRowCol(0, 0);
  e->StartSelection();
  e->SetRowCol(0, 3);
  e->UpdateSelection();
  QApplication::processEvents();
  const QImage image = Shot(*e);
  const int y = Top(*e, 0);
  // The left bar's background and the plain text's background: the control
  // colour; the plain text: the font colour.
  EXPECT_EQ(image.pixel(e->ImagebarWidth() + 1, Top(*e, 1) + 1), Rgb(clYellow));
  EXPECT_EQ(image.pixel(X(*e, 5), y), Rgb(clYellow));
  auto hasColour = [&](int x1, int x2, QRgb c) {
    return !ColumnsWhere(image, x1, x2, y, y + e->FontHeight(), [&](QRgb p) {
              return p == c;
            }).empty();
  };
  EXPECT_TRUE(hasColour(X(*e, 4), X(*e, 7), Rgb(clBlue)));
  // The selected text: background the font colour, text the control colour.
  EXPECT_EQ(image.pixel(X(*e, 0), y), Rgb(clBlue));
  EXPECT_TRUE(hasColour(X(*e, 0), X(*e, 3), Rgb(clYellow)));
}

// ------------------------------------------------------------ numbers, ruler

TEST(EditorPaintTest, LineNumbersStandOnTheFirstRowOfEachLine) {
  // Line 2 is wrapped over three rows; the text ends with a line break.
  auto e = MakeEditor("a\r\n" + std::string(45, 'b') + "\r\nc\r\n");
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  e->Leftbar().SetVisible(true);
  Show(*e);
  ASSERT_EQ(e->RowCount(), 5);
  const int x0 = e->ImagebarWidth() + e->Leftbar().LeftMargin();
  const QRgb bk = Rgb(e->Leftbar().BkColor());
  auto numbered = [&](const QImage& image) {
    std::vector<bool> rows;
    for (int r = 0; r < 7; ++r) {
      rows.push_back(!ColumnsWhere(image, x0, x0 + 4 * e->ColWidth(), Top(*e, r),
                                   Top(*e, r) + e->FontHeight(), [&](QRgb p) { return p != bk; })
                          .empty());
    }
    return rows;
  };
  // Rows: a, b x 20, b x 20, b x 5, c, (after the final line break), beyond.
  EXPECT_EQ(numbered(Shot(*e)), (std::vector<bool>{true, true, true, true, true, true, false}));
  e->Leftbar().SetShowNumberMode(nmLine);
  QApplication::processEvents();
  EXPECT_EQ(numbered(Shot(*e)), (std::vector<bool>{true, true, false, false, true, true, false}));

  // Right-aligned in the digit places, or padded with zeros.
  auto cellsInked = [&](const QImage& image) {
    std::vector<bool> cells;
    for (int i = 0; i < e->LeftbarColumn(); ++i) {
      const int x = x0 + i * e->ColWidth();
      cells.push_back(!ColumnsWhere(image, x, x + e->ColWidth(), Top(*e, 0),
                                    Top(*e, 0) + e->FontHeight(), [&](QRgb p) { return p != bk; })
                           .empty());
    }
    return cells;
  };
  EXPECT_EQ(cellsInked(Shot(*e)), (std::vector<bool>{false, false, false, true}));
  e->Leftbar().SetZeroLead(true);
  QApplication::processEvents();
  EXPECT_EQ(cellsInked(Shot(*e)), (std::vector<bool>{true, true, true, true}));
}

TEST(EditorPaintTest, LeftbarDigitPlacesGrowWithTheNumbers) {
  std::string text;
  for (int i = 0; i < 99998; ++i) text += "x\r\n";
  auto e = MakeEditor(text);
  e->Leftbar().SetVisible(true);
  EXPECT_EQ(e->LeftbarColumn(), 5);  // 99999 (the place after the final line break)
  const int left = e->TextLeft();
  e->Lines().Add("y");
  EXPECT_EQ(e->LeftbarColumn(), 6);  // 100000
  EXPECT_EQ(e->TextLeft(), left + e->ColWidth());
  e->Leftbar().SetZeroBase(true);
  EXPECT_EQ(e->LeftbarColumn(), 5);
}

TEST(EditorPaintTest, RulerTicksDigitsAndTheCaretColumnMark) {
  auto e = MakeEditor("abcdefghij");
  e->Ruler().SetVisible(true);
  e->Ruler().SetMarkColor(clRed);
  Show(*e);
  e->SetRowCol(0, 7);
  QApplication::processEvents();
  ASSERT_EQ(e->RulerHeight(), 11);
  const QImage image = Shot(*e);
  const QRgb tick = Rgb(e->Ruler().Color());
  for (int col = 1; col < 30; ++col) {
    if (col % 10 == 0 || col == 7 || col == 8) continue;  // digits or the mark next to the tick
    SCOPED_TRACE(col);
    const int x = X(*e, col);
    const int from = col % 10 == 5 ? 3 : 6;
    EXPECT_EQ(image.pixel(x, from), tick);
    EXPECT_EQ(image.pixel(x, 8), tick);
    EXPECT_NE(image.pixel(x, from - 1), tick);
    EXPECT_NE(image.pixel(x + 1, 8), tick);
  }
  for (int col : {0, 10, 20}) {
    EXPECT_EQ(image.pixel(X(*e, col), 0), tick);
    // The number right of the tick.
    EXPECT_FALSE(ColumnsWhere(image, X(*e, col) + 1, X(*e, col) + 6, 1, 8, [&](QRgb p) {
                   return p == tick;
                 }).empty());
  }
  // The caret column, and only it, in the mark colour.
  const std::set<int> marked =
      ColumnsWhere(image, 0, image.width(), 0, 9, [&](QRgb p) { return p == Rgb(clRed); });
  EXPECT_EQ(marked, Range(X(*e, 7), X(*e, 8)));

  // Scrolled: the gauge follows the first column.
  e->SetTopCol(13);
  QApplication::processEvents();
  const QImage scrolled = Shot(*e);
  EXPECT_EQ(scrolled.pixel(X(*e, 20), 0), tick);
  EXPECT_EQ(scrolled.pixel(X(*e, 15), 3), tick);
  EXPECT_NE(scrolled.pixel(X(*e, 15), 2), tick);
}

// ------------------------------------------------------------ row end marks

TEST(EditorPaintTest, RowEndMarksStandAfterTheRowsLastColumn) {
  const std::string longRow(1200, 'x');
  auto e = MakeEditor("abc\r\n" + std::string(25, 'w') + "\r\nlast");
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  e->Marks().RetMark().SetVisible(true);
  e->Marks().RetMark().SetColor(clRed);
  e->Marks().WrapMark().SetVisible(true);
  e->Marks().WrapMark().SetColor(clLime);
  e->Marks().EofMark().SetVisible(true);
  e->Marks().EofMark().SetColor(clBlue);
  Show(*e);
  // Rows: abc (break), w x 20 (wrap), w x 5 (break), last (end of text).
  ASSERT_EQ(e->RowCount(), 4);
  const QImage image = Shot(*e);
  auto where = [&](int row, TColor color) {
    return ColumnsWhere(image, 0, image.width(), Top(*e, row), Top(*e, row) + e->FontHeight(),
                        [&](QRgb p) { return p == Rgb(color); });
  };
  auto inside = [](const std::set<int>& xs, int x1, int x2) {
    return !xs.empty() && *xs.begin() >= x1 && *xs.rbegin() < x2;
  };
  EXPECT_TRUE(inside(where(0, clRed), X(*e, 3), X(*e, 4)));
  EXPECT_TRUE(where(0, clLime).empty());
  EXPECT_TRUE(inside(where(1, clLime), X(*e, 20), X(*e, 21)));
  EXPECT_TRUE(where(1, clRed).empty());
  EXPECT_TRUE(inside(where(2, clRed), X(*e, 5), X(*e, 6)));
  EXPECT_TRUE(inside(where(3, clBlue), X(*e, 4), X(*e, 10)));
  EXPECT_TRUE(where(3, clRed).empty());
  EXPECT_TRUE(where(4, clBlue).empty());

  // With a final line break "[EOF]" stands at column 0 of the row after it.
  e->Lines().SetTextStr("abc\r\n");
  QApplication::processEvents();
  const QImage after = Shot(*e);
  const std::set<int> eof =
      ColumnsWhere(after, 0, after.width(), Top(*e, 1), Top(*e, 1) + e->FontHeight(),
                   [&](QRgb p) { return p == Rgb(clBlue); });
  EXPECT_TRUE(inside(eof, X(*e, 0), X(*e, 6)));
}

TEST(EditorPaintTest, ARowLongerThan1000ColumnsShowsTheHideSign) {
  auto e = MakeEditor(std::string(1200, 'x') + "\r\nabc");
  e->Marks().RetMark().SetVisible(true);
  e->Marks().RetMark().SetColor(clRed);
  e->Marks().HideMark().SetVisible(true);
  e->Marks().HideMark().SetColor(clLime);
  Show(*e);
  e->SetTopCol(1000);
  QApplication::processEvents();
  const QImage image = Shot(*e);
  const std::set<int> hide =
      ColumnsWhere(image, 0, image.width(), Top(*e, 0), Top(*e, 0) + e->FontHeight(),
                   [&](QRgb p) { return p == Rgb(clLime); });
  ASSERT_FALSE(hide.empty());
  EXPECT_GE(*hide.begin(), X(*e, 1000));
  EXPECT_LT(*hide.rbegin(), X(*e, 1001));
  EXPECT_TRUE(
      ColumnsWhere(image, 0, image.width(), Top(*e, 0), Top(*e, 0) + e->FontHeight(), [&](QRgb p) {
        return p == Rgb(clRed);
      }).empty());
  // No text is drawn past column 1000.
  const std::set<int> ink = InkOfRow(*e, image, 0);
  EXPECT_LT(*ink.rbegin(), X(*e, 1001));
}

TEST(EditorPaintTest, TheUnderlineMakesRowsTallerAndLiesUnderTheCaretRow) {
  auto e = MakeEditor("abc\r\ndef\r\nghi");
  const int height = e->RowHeight();
  e->Marks().Underline().SetColor(clRed);
  e->Marks().Underline().SetVisible(true);
  EXPECT_EQ(e->RowHeight(), height + 1);
  Show(*e);
  e->SetRowCol(1, 1);
  QApplication::processEvents();
  const QImage image = Shot(*e);
  std::set<int> rows;
  for (int y = 0; y < image.height(); ++y) {
    if (image.pixel(X(*e, 0) + 2, y) == Rgb(clRed)) rows.insert(y);
  }
  EXPECT_EQ(rows, (std::set<int>{Top(*e, 1) + e->FontHeight()}));
  e->Marks().Underline().SetVisible(false);
  EXPECT_EQ(e->RowHeight(), height);
}

// ---------------------------------------------------------------- image bar

TEST(EditorPaintTest, RowMarkImagesComeFromTheListsOrTheBuiltInOnes) {
  auto e = MakeEditor("0\r\n1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n");
  e->Imagebar().SetMarkWidth(12);
  const QColor own[3] = {QColor(10, 200, 30), QColor(200, 10, 30), QColor(30, 10, 200)};
  TImageList marks;
  for (const QColor& c : own) {
    QPixmap p(11, 11);
    p.fill(c);
    marks.Add(p);
  }
  e->SetImageMarks(&marks);
  for (int m = 10; m <= 15; ++m) e->PutRowMark(m - 10, m);
  e->PutRowMark(6, 5);
  e->PutRowMark(6, 3);  // the lowest digit mark is drawn
  Show(*e);
  const QImage image = Shot(*e);
  const int mx = e->Imagebar().LeftMargin() + e->Imagebar().DigitWidth() + 5;
  for (int r = 0; r < 6; ++r) {
    SCOPED_TRACE(r);
    const QRgb p = image.pixel(mx, Top(*e, r) + 2 + 5);
    if (r < 3) {
      EXPECT_EQ(p, own[r].rgb());
    } else {
      const QImage builtIn = BuiltInMarkImages()[r].toImage();
      const QRgb expected =
          qAlpha(builtIn.pixel(5, 5)) == 255 ? builtIn.pixel(5, 5) : Rgb(e->Color());
      EXPECT_EQ(p, expected);
    }
  }
  const QImage digit = BuiltInDigitImages()[3].toImage();
  const int dx = e->Imagebar().LeftMargin(), dy = Top(*e, 6) + 2;
  int same = 0, opaque = 0;
  for (int y = 0; y < digit.height(); ++y) {
    for (int x = 0; x < digit.width(); ++x) {
      if (qAlpha(digit.pixel(x, y)) != 255) continue;
      ++opaque;
      if (image.pixel(dx + x, dy + y) == (digit.pixel(x, y) | 0xFF000000u)) ++same;
    }
  }
  EXPECT_GT(opaque, 0);
  EXPECT_EQ(same, opaque);
}

// -------------------------------------------------------------------- caret

class TCaretEditor : public TEditor {
 public:
  QRect CaretRect() const { return screenCaret_.Visible() ? screenCaret_.Rect() : QRect(); }
};

TEST(EditorPaintTest, TheCaretsShapeAndPlaceWhileFocused) {
  QApplication::setCursorFlashTime(0);  // no blinking: the caret stays on
  TCaretEditor e;
  e.resize(400, 200);
  e.Lines().SetTextStr(test::Sjis("abあc\r\ndefghij"));
  e.show();
  e.activateWindow();
  e.setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(e.hasFocus());
  e.SetRowCol(1, 3);
  QApplication::processEvents();
  EXPECT_EQ(e.CaretRect(), QRect(X(e, 3), Top(e, 1), 2, e.FontHeight()));
  // Drawn by inverting the pixels under it.
  const QImage image = Shot(e);
  EXPECT_EQ(image.pixel(X(e, 3), Top(e, 1)), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(X(e, 3) + 2, Top(e, 1)), Rgb(e.Color()));

  e.Caret().SetStyle(csBrief);
  const int half = e.ColWidth() - e.Margin().Character();
  EXPECT_EQ(e.CaretRect(), QRect(X(e, 3), Top(e, 1) + e.FontHeight() - 2, half, 2));
  e.SetRowCol(0, 2);  // on あ: twice as wide
  EXPECT_EQ(e.CaretRect().width(), 2 * half);

  // A hit shown as a caret is as wide as the hit.
  e.Caret().SetStyle(csDefault);
  e.SetHitStyle(hsCaret);
  e.SetRowCol(1, 1);
  e.ShowHit(4);
  EXPECT_EQ(e.CaretRect(), QRect(X(e, 1), Top(e, 1), 4 * e.ColWidth(), e.FontHeight()));
  e.CleanSelection();
  EXPECT_EQ(e.CaretRect().width(), 2);

  // Hidden while updating and without the focus.
  e.CaretBeginUpdate();
  EXPECT_TRUE(e.CaretRect().isEmpty());
  e.CaretEndUpdate();
  EXPECT_FALSE(e.CaretRect().isEmpty());
  e.clearFocus();
  QApplication::processEvents();
  EXPECT_TRUE(e.CaretRect().isEmpty());
}

// ---------------------------------------------------------- screen resources

TEST(EditorResourcesTest, TheProgramsOwnCursorsAndTheStandardOnes) {
  const QCursor right = ScreenCursor(crRightArrow);
  const QCursor copy = ScreenCursor(crDragSelCopy);
  EXPECT_EQ(right.shape(), Qt::BitmapCursor);
  EXPECT_EQ(copy.shape(), Qt::BitmapCursor);
  // The right arrow's hot spot is its tip, at the top right of the picture.
  EXPECT_GT(right.hotSpot().x(), right.pixmap().width() / 4);
  EXPECT_EQ(right.hotSpot().y(), 0);
  EXPECT_EQ(ScreenCursor(crIBeam).shape(), Qt::IBeamCursor);
  EXPECT_EQ(ScreenCursor(crDrag).shape(), Qt::DragMoveCursor);
  EXPECT_EQ(ScreenCursor(crDefault).shape(), Qt::ArrowCursor);
  EXPECT_EQ(ScreenCursor(4242).shape(), Qt::ArrowCursor);
  EXPECT_TRUE(BoxClipboardMimeType().contains(QLatin1String("TEditor Box Type")));
}

TEST(EditorResourcesTest, MarkImagesHaveTheirSizes) {
  ASSERT_EQ(BuiltInDigitImages().size(), 10);
  ASSERT_EQ(BuiltInMarkImages().size(), 6);
  for (const QPixmap& p : BuiltInDigitImages()) EXPECT_EQ(p.size(), QSize(8, 11));
  for (const QPixmap& p : BuiltInMarkImages()) EXPECT_EQ(p.size(), QSize(11, 11));
}

TEST(EditorResourcesTest, DottedLinesStartWithTheColourAndIncludeBothEnds) {
  QImage image(20, 3, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    DrawDotLine(p, 3, 1, clYellow, clRed, 9);
    DrawDotLine(p, 0, 2, clWhite, clBlue, 0);
  }
  for (int x = 0; x < 20; ++x) {
    SCOPED_TRACE(x);
    QRgb expected = Rgb(clWhite);
    if (x >= 3 && x <= 9) expected = (x - 3) % 2 == 0 ? Rgb(clRed) : Rgb(clYellow);
    EXPECT_EQ(image.pixel(x, 1), expected);
    EXPECT_EQ(image.pixel(x, 0), Rgb(clWhite));
  }
  EXPECT_EQ(image.pixel(0, 2), Rgb(clBlue));
  EXPECT_EQ(image.pixel(1, 2), Rgb(clWhite));
}

}  // namespace
}  // namespace kelu
