// What the page editor draws over the rows, checked on its pixels: outlines
// of blanks and the tab arrow in their cells, row backgrounds, hit text and
// underlines, the bracket pair and the guide lines; and the repaints that
// caret moves ask for.
#include <gtest/gtest.h>

#include <QPaintEvent>
#include <chrono>

#include "EditorExTestSupport.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu {
namespace {

using test::ColumnsOf;
using test::MakeEditorEx;
using test::PixelsOf;
using test::Rgb;
using test::Shot;
using test::Show;
using test::Sjis;
using test::Span;
using test::Top;
using test::X;

// The band of row `row`: its columns where some pixel has `color`.
std::set<int> ColumnsInRow(TEditorEx& e, const QImage& image, TColor color, int row) {
  return ColumnsOf(image, Rgb(color), 0, image.width(), Top(e, row), Top(e, row) + e.RowHeight());
}

// The share of the pixels of the cells [col1, col2) of a row having `color`.
double Share(TEditorEx& e, const QImage& image, TColor color, int row, int col1, int col2) {
  const int y = Top(e, row);
  const auto points = PixelsOf(image, Rgb(color), X(e, col1), X(e, col2), y, y + e.FontHeight());
  return static_cast<double>(points.size()) / ((col2 - col1) * e.ColWidth() * e.FontHeight());
}

TEST(EditorExPaintTest, BlankAndTabMarksLandInTheirCells) {
  // a, a tab to column 8, b, a space, c, a full-width space, d.
  auto e = MakeEditorEx("a\tb c　d");
  e->ExMarks().SpaceMark().SetColor(clRed);
  e->ExMarks().SpaceMark().SetVisible(true);
  e->ExMarks().TabMark().SetColor(clBlue);
  e->ExMarks().TabMark().SetVisible(true);
  e->ExMarks().DBSpaceMark().SetColor(clLime);
  e->ExMarks().DBSpaceMark().SetVisible(true);
  Show(*e);
  const QImage image = Shot(*e);
  const int w = e->ColWidth(), h = e->RowHeight(), y = Top(*e, 0);

  // The space's frame: its cell less the last pixel column, rows y+1 to
  // y+h-3.
  EXPECT_EQ(ColumnsInRow(*e, image, clRed, 0), Span(X(*e, 9), X(*e, 10) - 1));
  const auto red = PixelsOf(image, Rgb(clRed), 0, image.width(), 0, image.height());
  ASSERT_FALSE(red.empty());
  EXPECT_EQ(red.begin()->second, y + 1);
  EXPECT_EQ(red.rbegin()->second, y + h - 3);
  // The full-width space's frame over its two cells.
  EXPECT_EQ(ColumnsInRow(*e, image, clLime, 0), Span(X(*e, 11), X(*e, 13) - 1));
  // The arrow in the tab's first cell, its point at the cell's right edge.
  EXPECT_EQ(ColumnsInRow(*e, image, clBlue, 0), Span(X(*e, 1) + 1, X(*e, 2)));
  const int m = y + h / 2;
  EXPECT_EQ(ColumnsOf(image, Rgb(clBlue), 0, image.width(), m, m + 1),
            Span(X(*e, 1) + 1, X(*e, 2)));
  (void)w;
}

TEST(EditorExPaintTest, FullWidthSpaceHalfScrolledOutShowsItsRightHalf) {
  auto e = MakeEditorEx("　x\r\nab　");
  e->ExMarks().DBSpaceMark().SetColor(clLime);
  e->ExMarks().DBSpaceMark().SetVisible(true);
  e->SetTopCol(1);
  Show(*e);
  const QImage image = Shot(*e);
  // Row 0: the space covers columns 0 and 1, only column 1 is on screen.
  EXPECT_EQ(ColumnsInRow(*e, image, clLime, 0), Span(e->TextLeft(), X(*e, 2) - 1));
  // Its right edge runs down; its left side stays open.
  const int y = Top(*e, 0);
  EXPECT_EQ(PixelsOf(image, Rgb(clLime), X(*e, 2) - 2, X(*e, 2) - 1, y, y + e->RowHeight()).size(),
            static_cast<std::size_t>(e->RowHeight() - 3));
  EXPECT_TRUE(
      PixelsOf(image, Rgb(clLime), e->TextLeft(), e->TextLeft() + 1, y + 2, y + e->RowHeight() - 3)
          .empty());
  // Row 1, not scrolled out: whole.
  EXPECT_EQ(ColumnsInRow(*e, image, clLime, 1), Span(X(*e, 2), X(*e, 4) - 1));
}

TEST(EditorExPaintTest, CurrentLineBackgroundFollowsTheCaret) {
  auto e = MakeEditorEx("abc\r\ndef\r\nghi");
  e->ExMarks().CurrentLine().SetColor(clAqua);
  e->ExMarks().CurrentLine().SetVisible(true);
  Show(*e);
  QImage image = Shot(*e);
  // The row's band is coloured, and its text drawn again over it.
  EXPECT_GT(Share(*e, image, clAqua, 0, 0, 3), 0.5);
  EXPECT_GT(Share(*e, image, clAqua, 0, 3, 20), 0.99);
  EXPECT_LT(Share(*e, image, clAqua, 0, 0, 3), 0.99);
  EXPECT_EQ(Share(*e, image, clAqua, 1, 0, 20), 0.0);
  e->SetRow(2);
  image = Shot(*e);
  EXPECT_EQ(Share(*e, image, clAqua, 0, 0, 20), 0.0);
  EXPECT_GT(Share(*e, image, clAqua, 2, 3, 20), 0.99);
}

TEST(EditorExPaintTest, RowBackgroundsByMarksAndEvenRows) {
  struct Case {
    bool digit, img0, image, even, zeroBase;
    TColor rows[4];
  };
  constexpr TColor W = clWhite, D = clAqua, I0 = clLime, I = clYellow, E = clSilver;
  const Case cases[] = {
      // Row 0 carries digit mark 3 and image mark 0, row 2 image mark 4.
      {true, true, true, false, false, {D, W, I, W}},
      {false, true, true, false, false, {I0, W, I, W}},
      {false, false, true, false, false, {I, W, I, W}},
      // Every second row: the second row is even unless numbers start at 0.
      {false, false, false, true, false, {W, E, W, E}},
      {false, false, false, true, true, {E, W, E, W}},
      {true, false, false, true, true, {D, W, E, W}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.digit << c.img0 << c.image << c.even << c.zeroBase);
    auto e = MakeEditorEx("r0\r\nr1\r\nr2\r\nr3");
    e->PutRowMark(0, 3);
    e->PutRowMark(0, 10);
    e->PutRowMark(2, 14);
    TEditorExMarks& m = e->ExMarks();
    m.DigitLine().SetColor(D);
    m.DigitLine().SetVisible(c.digit);
    m.Img0Line().SetColor(I0);
    m.Img0Line().SetVisible(c.img0);
    m.ImageLine().SetColor(I);
    m.ImageLine().SetVisible(c.image);
    m.EvenLine().SetColor(E);
    m.EvenLine().SetVisible(c.even);
    e->Leftbar().SetZeroBase(c.zeroBase);
    Show(*e);
    const QImage image = Shot(*e);
    for (int r = 0; r < 4; ++r) {
      EXPECT_EQ(image.pixel(X(*e, 10), Top(*e, r) + e->FontHeight() / 2), Rgb(c.rows[r])) << r;
    }
  }
}

TEST(EditorExPaintTest, EofMarkLetsTheRowBackgroundShowThrough) {
  auto e = MakeEditorEx("a\r\nb");
  e->Marks().EofMark().SetVisible(true);
  e->Marks().EofMark().SetColor(clRed);
  e->ExMarks().EvenLine().SetColor(clSilver);
  e->ExMarks().EvenLine().SetVisible(true);
  Show(*e);
  const QImage image = Shot(*e);
  // "[EOF]" after the b of the second (even) row.
  EXPECT_FALSE(ColumnsInRow(*e, image, clRed, 1).empty());
  EXPECT_EQ(Share(*e, image, clWhite, 1, 1, 7), 0.0);
  EXPECT_GT(Share(*e, image, clSilver, 1, 1, 7), 0.5);
}

class EditorExHitPaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RegexAvailable()) GTEST_SKIP() << RegexUnavailableText();
  }
  static void ShowHits(TEditorEx& e) {
    e.ExMarks().FindMark().SetColor(clRed);
    e.ExMarks().FindMark().SetVisible(true);
    e.ExMarks().Hit().SetBkColor(clYellow);
  }
  // The columns of the find underline of row `row`.
  static std::set<int> Underline(TEditorEx& e, const QImage& image, int row) {
    const int y = Top(e, row) + e.RowHeight() - 1;
    return ColumnsOf(image, Rgb(clRed), 0, image.width(), y, y + 1);
  }
};

TEST_F(EditorExHitPaintTest, EveryHitOnTheScreenIsUnderlined) {
  auto e = MakeEditorEx("xabcx\tabc\r\nnone\r\nABC");
  ShowHits(*e);
  e->SetFindString("abc");
  Show(*e);
  QImage image = Shot(*e);
  // The second hit stands after the tab, at column 8.
  std::set<int> expected = Span(X(*e, 1), X(*e, 4));
  for (int x : Span(X(*e, 8), X(*e, 11))) expected.insert(x);
  EXPECT_EQ(Underline(*e, image, 0), expected);
  EXPECT_TRUE(Underline(*e, image, 1).empty());
  EXPECT_EQ(Underline(*e, image, 2), Span(X(*e, 0), X(*e, 3)));
  // The hit text on the hit background, nothing else.
  EXPECT_GT(Share(*e, image, clYellow, 0, 1, 4), 0.5);
  EXPECT_EQ(Share(*e, image, clYellow, 0, 4, 8), 0.0);
  EXPECT_EQ(Share(*e, image, clYellow, 1, 0, 4), 0.0);

  // A new pattern moves the underlines; none without a pattern.
  e->SetExSearchOptions({soMatchCase});
  image = Shot(*e);
  EXPECT_TRUE(Underline(*e, image, 2).empty());
  e->SetFindString("");
  image = Shot(*e);
  EXPECT_TRUE(Underline(*e, image, 0).empty());
}

TEST_F(EditorExHitPaintTest, AHitSplitOverTwoWrappedRowsIsUnderlinedOnBoth) {
  auto e = MakeEditorEx("");
  e->WrapOption().SetWrapByte(20);
  e->SetWordWrap(true);
  e->Lines().SetTextStr(std::string(18, 'x') + "hit" + std::string(10, 'y'));
  ASSERT_EQ(e->RowCount(), 2);
  ShowHits(*e);
  e->SetFindString("hit");
  Show(*e);
  const QImage image = Shot(*e);
  EXPECT_EQ(Underline(*e, image, 0), Span(X(*e, 18), X(*e, 20)));
  EXPECT_EQ(Underline(*e, image, 1), Span(X(*e, 0), X(*e, 1)));
}

TEST_F(EditorExHitPaintTest, AHitInsideTheSelectionKeepsItsUnderline) {
  auto e = MakeEditorEx("abc abc");
  ShowHits(*e);
  e->SetFindString("abc");
  e->SetSelStart(0);
  e->SetSelLength(5);  // the first hit and one byte of the second
  Show(*e);
  const QImage image = Shot(*e);
  std::set<int> expected = Span(X(*e, 0), X(*e, 3));
  for (int x : Span(X(*e, 4), X(*e, 7))) expected.insert(x);
  EXPECT_EQ(Underline(*e, image, 0), expected);
  // Selected text keeps the selection colours.
  EXPECT_EQ(Share(*e, image, clYellow, 0, 0, 5), 0.0);
  EXPECT_GT(Share(*e, image, clYellow, 0, 5, 7), 0.5);
}

TEST_F(EditorExHitPaintTest, PaintingStopsCollectingHitsOnceASearchIsGivenUp) {
  auto e = MakeEditorEx(std::string(20000, 'a') + "\r\nax\r\nax");
  ShowHits(*e);
  e->SetExSearchOptions({soRegexp});
  e->SetFindString("(a+)+x");
  Show(*e);
  const auto t0 = std::chrono::steady_clock::now();
  QImage image = Shot(*e);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 10.0);
  // Row 0 was given up, so rows 1 and 2 were not searched in this paint.
  EXPECT_EQ(e->SearchStatus(), TExSearchStatus::ssGivenUp);
  EXPECT_TRUE(Underline(*e, image, 1).empty());
  EXPECT_TRUE(Underline(*e, image, 2).empty());
  // Without the long row on the screen the others are.
  e->SetTopRow(1);
  image = Shot(*e);
  EXPECT_EQ(Underline(*e, image, 1), Span(X(*e, 0), X(*e, 2)));
  EXPECT_EQ(Underline(*e, image, 2), Span(X(*e, 0), X(*e, 2)));
}

TEST_F(EditorExHitPaintTest, APartialRepaintDrawsWhatTheWholePaintDraws) {
  auto e = MakeEditorEx("x漢字の検索テキスト\t　検索 \r\n検索(だ)");
  ShowHits(*e);
  e->SetFindString(Sjis("検索"));
  e->ExMarks().DBSpaceMark().SetVisible(true);
  e->ExMarks().SpaceMark().SetVisible(true);
  e->ExMarks().TabMark().SetVisible(true);
  e->ExMarks().ParenMark().SetVisible(true);
  e->ExMarks().CurrentLine().SetColor(clAqua);
  e->ExMarks().CurrentLine().SetVisible(true);
  e->VerticalLines().Add()->SetPosition(7);
  e->SetRowCol(1, 4);
  Show(*e);
  const QImage whole = Shot(*e);
  // Rectangles whose edges fall inside cells, characters and hits.
  const int w = e->ColWidth();
  const QRect parts[] = {
      QRect(X(*e, 7) + w / 2, Top(*e, 0) + 3, 5 * w + 1, e->RowHeight() * 2),
      QRect(X(*e, 0) + 1, Top(*e, 1) + 1, 3 * w, e->RowHeight() - 2),
      QRect(X(*e, 16) - 1, 0, 2 * w + 3, 200),
  };
  for (const QRect& part : parts) {
    SCOPED_TRACE(testing::Message() << part.x() << "," << part.y());
    QImage image(whole.size(), QImage::Format_ARGB32);
    image.fill(Qt::magenta);
    e->viewport()->render(&image, part.topLeft(), QRegion(part));
    int differing = 0;
    for (int y = part.top(); y <= part.bottom(); ++y) {
      for (int x = part.left(); x <= part.right(); ++x) {
        if (image.pixel(x, y) != whole.pixel(x, y)) ++differing;
      }
    }
    EXPECT_EQ(differing, 0);
  }
}

TEST(EditorExBracketTest, PairsAroundTheCaret) {
  struct Case {
    const char* text;
    TRowCol caret;
    bool found;
    TRowCol open, close;  // row and 1-based byte
  };
  const Case cases[] = {
      // The character right of the caret wins.
      {"(x)(y)", {0, 3}, true, {0, 4}, {0, 6}},
      {"(x)(y)", {0, 2}, true, {0, 1}, {0, 3}},
      // Unmatched on both sides.
      {")(", {0, 1}, false, {}, {}},
      // Nested.
      {"(a(b)c)", {0, 0}, true, {0, 1}, {0, 7}},
      {"(a(b)c)", {0, 7}, true, {0, 1}, {0, 7}},
      // Across rows, forward and backward.
      {"f(a,\r\n  b)", {0, 1}, true, {0, 2}, {1, 4}},
      {"f(a,\r\n  b)", {1, 4}, true, {0, 2}, {1, 4}},
      // Double-byte brackets; the caret right of 「 (its trail byte is the
      // character left of the caret).
      {"「かな」", {0, 2}, true, {0, 1}, {0, 7}},
      {"≪a≫", {0, 3}, true, {0, 1}, {0, 4}},
      // ']' (5D) as the second byte of 云 is no bracket.
      {"[云]", {0, 0}, true, {0, 1}, {0, 4}},
      {"<a>", {0, 3}, true, {0, 1}, {0, 3}},
      {"{a}", {0, 3}, true, {0, 1}, {0, 3}},
      {"[a>", {0, 0}, false, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " " << c.caret.Row << "," << c.caret.Col);
    auto e = MakeEditorEx(c.text);
    e->ExMarks().ParenMark().SetVisible(true);
    e->SetRowCol(c.caret.Row, c.caret.Col);
    e->SetRowCol(c.caret.Row, c.caret.Col + 1);
    e->SetRowCol(c.caret.Row, c.caret.Col);
    ASSERT_EQ(e->Row(), c.caret.Row);
    ASSERT_EQ(e->Col(), c.caret.Col);
    EXPECT_EQ(e->ParenFound(), c.found);
    if (!c.found) continue;
    EXPECT_EQ(e->OpenParenRow(), c.open.Row);
    EXPECT_EQ(e->OpenParenPos(), c.open.Col);
    EXPECT_EQ(e->CloseParenRow(), c.close.Row);
    EXPECT_EQ(e->CloseParenPos(), c.close.Col);
  }
}

TEST(EditorExBracketTest, BothBracketsAreDrawnInverted) {
  auto e = MakeEditorEx("x(ab)y");
  e->ExMarks().ParenMark().SetColor(clBlue);
  e->ExMarks().ParenMark().SetVisible(true);
  e->SetRowCol(0, 1);
  Show(*e);
  const QImage image = Shot(*e);
  EXPECT_GT(Share(*e, image, clBlue, 0, 1, 2), 0.5);
  EXPECT_GT(Share(*e, image, clBlue, 0, 4, 5), 0.5);
  EXPECT_EQ(Share(*e, image, clBlue, 0, 2, 4), 0.0);
  EXPECT_EQ(Share(*e, image, clBlue, 0, 5, 8), 0.0);
  // The bracket itself in the inverse colour.
  EXPECT_GT(Share(*e, image, clYellow, 0, 1, 2), 0.0);
}

TEST(EditorExPaintTest, GuideLinesAtTheirColumnsOverEverything) {
  auto e = MakeEditorEx("abcdefgh\r\nxyz");
  e->ExMarks().CurrentLine().SetColor(clAqua);
  e->ExMarks().CurrentLine().SetVisible(true);
  TVerticalLine& line = *e->VerticalLines().Add();
  line.SetPosition(4);
  line.SetColor(clRed);
  TVerticalLine& hidden = *e->VerticalLines().Add();
  hidden.SetPosition(6);
  hidden.SetColor(clRed);
  hidden.SetVisible(false);
  Show(*e);
  QImage image = Shot(*e);
  const int x = X(*e, 4);
  EXPECT_EQ(ColumnsOf(image, Rgb(clRed), 0, image.width(), 0, image.height()), Span(x, x + 1));
  // From the top of the text area to the bottom, over the caret row's
  // background and past the end of the text.
  const auto points = PixelsOf(image, Rgb(clRed), x, x + 1, 0, image.height());
  EXPECT_EQ(points.begin()->second, e->TextTop());
  EXPECT_EQ(static_cast<int>(points.size()), e->viewport()->height() - e->TextTop());

  line.SetPosition(1001);  // refused
  EXPECT_EQ(line.Position(), 4);
  // Scrolled out of view to the left: not drawn.
  e->SetTopCol(5);
  image = Shot(*e);
  EXPECT_TRUE(ColumnsOf(image, Rgb(clRed), 0, image.width(), 0, image.height()).empty());
  e->SetTopCol(2);
  image = Shot(*e);
  EXPECT_EQ(ColumnsOf(image, Rgb(clRed), 0, image.width(), 0, image.height()),
            Span(X(*e, 4), X(*e, 4) + 1));
}

// An editor that records the regions it is asked to paint.
class TRecordingEditor : public TEditorEx {
 public:
  QRegion painted;

 protected:
  void paintEvent(QPaintEvent* event) override {
    painted += event->region();
    TEditorEx::paintEvent(event);
  }
};

TEST(EditorExRepaintTest, CaretMovesRepaintTheRowsThatChange) {
  TRecordingEditor e;
  e.resize(640, 400);
  e.Lines().SetTextStr("(a\r\nb)\r\nc\r\nd\r\ne");
  e.ExMarks().CurrentLine().SetVisible(true);
  e.ExMarks().ParenMark().SetVisible(true);
  Show(e);
  auto rowPainted = [&](int row) { return e.painted.contains(QPoint(X(e, 30), Top(e, row) + 1)); };
  e.SetRowCol(3, 0);
  QApplication::processEvents();
  e.painted = QRegion();
  // Onto the bracket pair: the old and new caret rows, the pair's rows.
  e.SetRowCol(0, 0);
  QApplication::processEvents();
  EXPECT_TRUE(rowPainted(0));
  EXPECT_TRUE(rowPainted(1));
  EXPECT_TRUE(rowPainted(3));
  EXPECT_FALSE(rowPainted(2));
  EXPECT_FALSE(rowPainted(4));
  // Off the pair: its rows again (the mark goes).
  e.painted = QRegion();
  e.SetRowCol(4, 0);
  QApplication::processEvents();
  EXPECT_TRUE(rowPainted(1));
  EXPECT_FALSE(e.ParenFound());
  EXPECT_FALSE(rowPainted(2));

  // After a change the whole text is repainted at the second caret move.
  e.ScreenStrings().ReplaceRows(0, 1, "(q\r\n");
  QApplication::processEvents();
  e.painted = QRegion();
  e.SetRowCol(3, 0);
  QApplication::processEvents();
  EXPECT_FALSE(rowPainted(2));
  e.painted = QRegion();
  e.SetRowCol(4, 0);
  QApplication::processEvents();
  EXPECT_TRUE(rowPainted(2));
  // And only then.
  e.painted = QRegion();
  e.SetRowCol(3, 0);
  QApplication::processEvents();
  EXPECT_FALSE(rowPainted(2));
}

}  // namespace
}  // namespace kelu
