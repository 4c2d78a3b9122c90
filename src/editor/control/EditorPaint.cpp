// TEditor: painting. The client area is the corner, the ruler, the image
// bar, the left bar and the text area; rows are drawn on a grid of cells
// ColWidth wide, coloured by the active fountain, with the selection or hit
// colours, the marks at row ends and the caret-row underline.
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "base/Sjis.h"
#include "editor/control/Editor.h"
#include "editor/control/EditorGlyphs.h"
#include "editor/control/EditorResources.h"
#include "editor/fountain/EditorFountain.h"

namespace kelu {

namespace {

constexpr int kToRowEnd = 1 << 20;

int ScreenWidth(const QWidget* widget) {
  const QScreen* s = widget->screen();
  return std::max(s ? s->size().width() : 2048, widget->width());
}

int ScreenHeight(const QWidget* widget) {
  const QScreen* s = widget->screen();
  return std::max(s ? s->size().height() : 1536, widget->height());
}

// One run of a row to draw: columns [start, end) in one colour and style.
struct TRun {
  int start;
  int end;
  TColor color;
  TColor bkColor;
  TFontStyles style;
};

}  // namespace

// ------------------------------------------------------------------ colours

QColor TEditor::BkColorOf(TColor color) const {
  return ToQColor(color == clNone ? color_ : color);
}

QColor TEditor::FgColorOf(TColor color) const {
  return ToQColor(color == clNone ? font_.Color() : color);
}

bool TEditor::Italic() const {
  return italic_;
}

int TEditor::BandHeight() const {
  const bool shown = selectionState_ == stSelected || selectionState_ == stHit;
  return fontHeight_ + (shown ? margin_->UnderlineGap() : 0);
}

QRect TEditor::RowRect(int row) const {
  return QRect(0, RowTop(row), ClientRect().width(), rowHeight_);
}

void TEditor::Line(int x1, int y1, int x2, int y2, const QColor& color) {
  if (!canvas_) return;
  canvas_->setPen(QPen(color, 0));
  canvas_->drawLine(x1, y1, x2, y2);
}

// ------------------------------------------------------------- invalidation

void TEditor::InvalidateRect(const QRect& rect, bool now) {
  const QRect r = rect & ClientRect();
  if (r.isEmpty()) return;
  if (now) {
    viewport()->repaint(r);
  } else {
    viewport()->update(r);
  }
}

void TEditor::Invalidate() {
  InvalidateRect(ClientRect(), false);
}

void TEditor::InvalidateRows(int from, int to) {
  if (!handleCreated_) return;
  from = std::max(from, topRow_);
  to = std::min(to, topRow_ + visibleRows_);
  if (from > to) return;
  InvalidateRect(QRect(0, RowTop(from), ClientRect().width(), (to - from + 1) * rowHeight_), true);
}

void TEditor::InvalidateLeftbarRows(int fromRow, int toRow) {
  if (!leftbar_->Visible()) return;
  fromRow = std::max(fromRow, topRow_);
  toRow = std::min(toRow, topRow_ + visibleRows_);
  if (fromRow > toRow) return;
  InvalidateRect(
      QRect(imagebarWidth_, RowTop(fromRow), leftbarWidth_, (toRow - fromRow + 1) * rowHeight_),
      false);
}

// -------------------------------------------------------------------- paint

void TEditor::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  canvas_ = &painter;
  paintParser_ = ActiveFountain().CreateParser();
  try {
    for (const QRect& rect : event->region()) Paint(rect);
  } catch (...) {
    canvas_ = nullptr;
    paintParser_.reset();
    throw;
  }
  canvas_ = nullptr;
  paintParser_.reset();
}

void TEditor::Paint(const QRect& clip) {
  QPainter& p = *canvas_;
  const QRect client = ClientRect();
  const int w = client.width(), h = client.height();
  p.save();
  p.setClipRect(clip);
  // The margins and the gaps between rows are the control colour.
  p.fillRect(clip, BkColorOf(color_));

  const QRect cornerRect(0, 0, textLeft_, textTop_);
  const QRect rulerRect(textLeft_, 0, w - textLeft_, rulerHeight_);
  const QRect imagebarRect(0, textTop_, imagebarWidth_, h - textTop_);
  const QRect leftbarRect(imagebarWidth_, textTop_, leftbarWidth_, h - textTop_);
  const QRect textRect(textLeft_, textTop_, w - textLeft_, h - textTop_);
  const bool underline = marks_->Underline().Visible() && underlineHideCount_ == 0 &&
                         selectionState_ != stSelected && selectionState_ != stHit &&
                         UnderlinePos(row_) >= 0;

  // The rows the rectangle touches, snapped to the grid.
  const int top = std::max(clip.top(), textTop_);
  const int bottom = std::max(clip.bottom(), textTop_);
  const int firstRow = topRow_ + (top - textTop_) / rowHeight_;
  const int lastRow = topRow_ + (bottom - textTop_) / rowHeight_;

  // The caret is drawn over the finished picture at the end of each paint,
  // so it needs no hiding here.
  if (clip.intersects(cornerRect) && !corner_.isNull()) p.drawImage(0, 0, corner_);
  if (ruler_->Visible() && clip.intersects(rulerRect)) PaintRuler();
  if (leftbar_->Visible() && clip.intersects(leftbarRect)) DrawLeftbarRows(firstRow, lastRow);
  if (imagebar_->Visible() && clip.intersects(imagebarRect)) DrawImagebarRows(firstRow, lastRow);
  if (clip.intersects(textRect)) PaintTextRows(firstRow, lastRow, clip & textRect);

  if (underline && clip.intersects(textRect)) DrawUnderline(row_);
  const QRect caret = screenCaret_.Paint(p);
  if (!caret.isEmpty()) {
    caretPaintedRect_ = caret;
  } else if (clip.contains(caretPaintedRect_)) {
    caretPaintedRect_ = QRect();
  }
  p.restore();
}

void TEditor::PaintTextRows(int firstRow, int lastRow, const QRect& clip) {
  QPainter& p = *canvas_;
  const bool hit = selectionState_ == stHit && hitStyle_ == hsDraw;
  const bool withSelection = selectionState_ == stSelected || hit;
  const int count = RowCount();
  for (int r = firstRow; r <= lastRow; ++r) {
    const int y = RowTop(r);
    const QRect band = QRect(textLeft_, y, clip.right() - textLeft_ + 1, BandHeight()) & clip;
    if (band.isEmpty()) continue;
    if (r < count) {
      if (withSelection) {
        DrawRowSelected(r, band, hit);
      } else {
        DrawRowPlain(r, band);
      }
    } else {
      p.fillRect(band, BkColorOf(color_));
      const bool endsWithBreak = count == 0 || rows_->RowAttributes(count - 1) == raBreak;
      if (r == count && marks_->EofMark().Visible() && endsWithBreak) {
        p.save();
        p.setClipRect(band, Qt::IntersectClip);
        DrawEofMark(ColX(0), y);
        p.restore();
      }
    }
  }
}

void TEditor::EnsureRowState(int row) { rows_->EnsureRowState(row); }

namespace {

// The text of a row as drawn: tabs expanded and cut at 1000 columns (1001
// when a double-byte character starts at column 999).
std::string DrawnText(std::string expanded, bool& cut) {
  cut = false;
  constexpr std::size_t kMax = kMaxColumns;
  if (expanded.size() <= kMax) return expanded;
  std::size_t i = 0;
  while (i < kMax) i += sjis::CharLength(expanded, i);
  cut = i < expanded.size();
  expanded.resize(i);
  return expanded;
}

}  // namespace

void TEditor::DrawRowPlain(int row, const QRect& rect) {
  if (rect.isEmpty()) return;
  QPainter& p = *canvas_;
  p.save();
  p.setClipRect(rect, Qt::IntersectClip);
  p.fillRect(rect, BkColorOf(color_));
  bool cut;
  const std::string lineStr = DrawnText(ExpandTabs(RowText(row)), cut);
  const int y = RowTop(row);
  DrawRowTokens(row, lineStr, y, rect, false, false);
  DoDrawLine(lineStr, ColX(0), y, row, rect, false);
  DrawRowEndMarks(row, static_cast<int>(lineStr.size()), cut, y, rect, false);
  p.restore();
}

void TEditor::DrawRowSelected(int row, const QRect& rect, bool hit) {
  int first, past;
  if (!SelectedColumns(sel_, selectionState_, selectionMode_, row, first, past)) {
    DrawRowPlain(row, rect);
    return;
  }
  // Columns far outside the screen are limited before they become pixels.
  const int lo = topCol_ - 1, hi = topCol_ + ClientRect().width() / std::max(colWidth_, 1) + 2;
  const int xs = std::max(ColX(std::clamp(first, lo, hi)), rect.left());
  const int xe = std::min(past >= kToRowEnd ? rect.right() + 1 : ColX(std::clamp(past, lo, hi)),
                          rect.right() + 1);
  auto span = [&](int x1, int x2) {  // [x1, x2) of the band
    return x2 > x1 ? QRect(x1, rect.top(), x2 - x1, rect.height()) : QRect();
  };
  const QRect left = span(rect.left(), std::min(xs, rect.right() + 1));
  const QRect middle = span(xs, xe);
  const QRect right = span(std::max(xe, rect.left()), rect.right() + 1);
  if (!left.isEmpty()) DrawRowPlain(row, left);
  if (!middle.isEmpty()) {
    QPainter& p = *canvas_;
    TEditorColor& colors = hit ? view_->Colors().Hit() : view_->Colors().Select();
    p.save();
    p.setClipRect(middle, Qt::IntersectClip);
    // The selection's background: clNone is the font colour.
    p.fillRect(middle, FgColorOf(colors.BkColor()));
    bool cut;
    const std::string lineStr = DrawnText(ExpandTabs(RowText(row)), cut);
    const int y = RowTop(row);
    paintingHit_ = hit;
    DrawRowTokens(row, lineStr, y, middle, true, hit);
    DoDrawLine(lineStr, ColX(0), y, row, middle, true);
    DrawRowEndMarks(row, static_cast<int>(lineStr.size()), cut, y, middle, true);
    paintingHit_ = false;
    p.restore();
  }
  if (!right.isEmpty()) DrawRowPlain(row, right);
}

void TEditor::DrawRowTokens(int row, const std::string& lineStr, int y, const QRect& rect,
                            bool selected, bool hit) {
  const int width = static_cast<int>(lineStr.size());
  const int firstCol = topCol_ + (rect.left() - textLeft_) / colWidth_;
  const int lastCol = topCol_ + (rect.right() - textLeft_) / colWidth_;
  if (width <= firstCol || width == 0) return;

  EnsureRowState(row);
  TRowAttributeData state = rows_->RowState(row);
  state.RowAttribute = rows_->RowAttributes(row);
  // A wrapped row is parsed together with the next one, so that a token cut
  // by the wrap is recognised; only this row's columns are drawn.
  std::string joined;
  std::string_view parseText = lineStr;
  if (state.RowAttribute == raWrap && row + 1 < RowCount()) {
    joined = lineStr;
    joined += ExpandTabs(RowText(row + 1));
    parseText = joined;
  }
  TFountainParser& parser = *paintParser_;
  parser.Start(parseText, state);

  const TEditorColor& selColors = hit ? view_->Colors().Hit() : view_->Colors().Select();
  // Selected text: the colours' foreground (clNone: the control colour).
  const TColor selFg = selColors.Color() == clNone ? color_ : selColors.Color();
  std::vector<TRun> runs;
  for (int kind = parser.NextToken(); kind != ttEnd; kind = parser.NextToken()) {
    const int start = parser.TokenStart();
    if (start >= width || start > lastCol) break;
    const int end = std::min(start + parser.TokenLength(), width);
    if (end <= firstCol) continue;
    const TFountainColor* c = parser.TokenColor();
    TRun run{start, end, font_.Color(), clNone, font_.Style()};
    if (c) {
      if (c->Color() != clNone) run.color = c->Color();
      if (c->BkColor() != clNone) run.bkColor = c->BkColor();
      run.style = c->Style();
    }
    if (selected) {
      run.color = selFg;
      run.bkColor = clNone;
    }
    runs.push_back(run);
  }
  QPainter& p = *canvas_;
  // Backgrounds first, then all glyphs over them: an italic glyph that
  // overhangs its cell is not cut by its neighbour's background.
  for (const TRun& run : runs) {
    if (run.bkColor == clNone || run.bkColor == color_) continue;
    p.fillRect(QRect(ColX(run.start), y, (run.end - run.start) * colWidth_, fontHeight_) & rect,
               ToQColor(run.bkColor));
  }
  for (const TRun& run : runs) {
    DrawText(ColX(run.start), y,
             std::string_view(lineStr).substr(static_cast<std::size_t>(run.start),
                                              static_cast<std::size_t>(run.end - run.start)),
             run.style, run.color, clNone, rect);
  }
}

void TEditor::DrawText(int x, int y, std::string_view text, TFontStyles style, TColor color,
                       TColor bkColor, const QRect& clip) {
  if (!canvas_ || text.empty()) return;
  QPainter& p = *canvas_;
  p.save();
  p.setClipRect(clip, Qt::IntersectClip);
  const int cells = static_cast<int>(text.size());
  if (bkColor != clNone) {
    p.fillRect(QRect(x, y, cells * colWidth_, fontHeight_), ToQColor(bkColor));
  }
  const QColor fg = ToQColor(color == clNone ? font_.Color() : color);
  glyphs_->Draw(p, text, x, y, style, fg, Codec());
  // Underline and strike-out are drawn by hand, on the cells.
  const int x1 = std::max(x, clip.left());
  const int x2 = std::min(x + cells * colWidth_, clip.right() + 1) - 1;
  if (x2 >= x1) {
    if (HasStyle(style, fsUnderline))
      p.fillRect(QRect(x1, y + fontHeight_ - 2, x2 - x1 + 1, 1), fg);
    if (HasStyle(style, fsStrikeOut)) {
      p.fillRect(QRect(x1, y + fontAscent_ - fontAscent_ / 3, x2 - x1 + 1, 1), fg);
    }
  }
  p.restore();
}

void TEditor::DrawRowEndMarks(int row, int width, bool cut, int y, const QRect& rect,
                              bool selected) {
  const int x = ColX(width);
  if (x < rect.left() || x > rect.right()) return;
  const TRowAttribute attribute = rows_->RowAttributes(row);
  if (cut) {
    if (marks_->HideMark().Visible()) {
      if (selected) {
        DrawSelHideMark(x, y);
      } else {
        DrawHideMark(x, y);
      }
    }
    return;
  }
  if (row == RowCount() - 1 && attribute == raEnd) {
    if (marks_->EofMark().Visible()) DrawEofMark(x, y);
  } else if (attribute == raBreak) {
    if (marks_->RetMark().Visible()) {
      if (selected) {
        DrawSelRetMark(x, y);
      } else {
        DrawRetMark(x, y);
      }
    }
  } else if (attribute == raWrap) {
    if (marks_->WrapMark().Visible()) {
      if (selected) {
        DrawSelWrapMark(x, y);
      } else {
        DrawWrapMark(x, y);
      }
    }
  }
}

// ------------------------------------------------------------- row end marks

namespace {

// The pen of a mark inside a selection or hit: its foreground, clNone
// meaning the control colour.
TColor SelectedPen(TEditorViewInfo& view, bool hit, TColor controlColor) {
  TColor c = hit ? view.Colors().Hit().Color() : view.Colors().Select().Color();
  return c == clNone ? controlColor : c;
}

}  // namespace

void TEditor::DrawEofMark(int x, int y) {
  if (!canvas_) return;
  const QRect client = ClientRect();
  const QRect textArea(textLeft_, textTop_, client.width() - textLeft_, client.height() - textTop_);
  const QRect clip = QRect(x, y, 6 * colWidth_, fontHeight_) & textArea;
  DrawText(x, y, "[EOF]", font_.Style(), marks_->EofMark().Color(), color_, clip);
}

void TEditor::DrawRetMark(int x, int y) {
  const QColor pen = FgColorOf(marks_->RetMark().Color());
  const int f = std::max(1, fontHeight_ / 8), g = std::max(f, 3);
  const int xm = x + colWidth_ / 2, y1 = y + 2 * f, y2 = y + fontHeight_ - 2 * f;
  Line(xm, y1, xm, y2, pen);
  Line(xm, y2, xm - g, y2 - g, pen);
  Line(xm, y2, xm + g, y2 - g, pen);
}

void TEditor::DrawSelRetMark(int x, int y) {
  const QColor pen = ToQColor(SelectedPen(*view_, paintingHit_, color_));
  const int f = std::max(1, fontHeight_ / 8), g = std::max(f, 3);
  const int xm = x + colWidth_ / 2, y1 = y + 2 * f, y2 = y + fontHeight_ - 2 * f;
  Line(xm, y1, xm, y2, pen);
  Line(xm, y2, xm - g, y2 - g, pen);
  Line(xm, y2, xm + g, y2 - g, pen);
}

namespace {

// "<" (wrap) and ">" (hide) of half-height h at the cell's vertical middle.
void LessThan(QPainter& p, int px, int ym, int h, const QColor& pen) {
  p.setPen(QPen(pen, 0));
  p.drawLine(px, ym, px + h, ym - h);
  p.drawLine(px, ym, px + h, ym + h);
}

void GreaterThan(QPainter& p, int px, int ym, int h, const QColor& pen) {
  p.setPen(QPen(pen, 0));
  p.drawLine(px, ym, px - h, ym - h);
  p.drawLine(px, ym, px - h, ym + h);
}

}  // namespace

void TEditor::DrawWrapMark(int x, int y) {
  if (!canvas_) return;
  const int h = std::max(2, colWidth_ * 3 / 5);
  LessThan(*canvas_, x + colWidth_ - 1 - h, y + fontHeight_ / 2, h,
           FgColorOf(marks_->WrapMark().Color()));
}

void TEditor::DrawSelWrapMark(int x, int y) {
  if (!canvas_) return;
  const int h = std::max(2, colWidth_ * 3 / 5);
  LessThan(*canvas_, x + colWidth_ - 1 - h, y + fontHeight_ / 2, h,
           ToQColor(SelectedPen(*view_, paintingHit_, color_)));
}

void TEditor::DrawHideMark(int x, int y) {
  if (!canvas_) return;
  const int h = std::max(2, colWidth_ * 3 / 5);
  GreaterThan(*canvas_, x + colWidth_ - 1, y + fontHeight_ / 2, h,
              FgColorOf(marks_->HideMark().Color()));
}

void TEditor::DrawSelHideMark(int x, int y) {
  if (!canvas_) return;
  const int h = std::max(2, colWidth_ * 3 / 5);
  GreaterThan(*canvas_, x + colWidth_ - 1, y + fontHeight_ / 2, h,
              ToQColor(SelectedPen(*view_, paintingHit_, color_)));
}

// ---------------------------------------------------------------- underline

int TEditor::UnderlinePos(int row) const {
  if (!marks_->Underline().Visible() || row < topRow_ || row > topRow_ + visibleRows_) return -1;
  return RowTop(row) + fontHeight_;
}

void TEditor::DrawUnderline(int row) {
  const int y = UnderlinePos(row);
  if (y < 0) return;
  const QRect line(textLeft_, y, ClientRect().width() - textLeft_, 1);
  if (!canvas_) {
    underlineDrawnRow_ = row;
    InvalidateRect(line, false);
    return;
  }
  canvas_->fillRect(line, FgColorOf(marks_->Underline().Color()));
  underlineDrawnRow_ = row;
  underlinePaintedRect_ = line;
}

void TEditor::EraseUnderline(int row) {
  const int y = UnderlinePos(row);
  if (y < 0) return;
  const QRect line(textLeft_, y, ClientRect().width() - textLeft_, 1);
  if (!canvas_) {
    underlineDrawnRow_ = -1;
    InvalidateRect(line, false);
    return;
  }
  canvas_->fillRect(line, BkColorOf(color_));
  underlineDrawnRow_ = -1;
}

// ----------------------------------------------------------------- left bar

void TEditor::DrawLeftbarRows(int fromRow, int toRow) {
  if (!canvas_ || !leftbar_->Visible()) return;
  QPainter& p = *canvas_;
  const int x0 = imagebarWidth_;
  const int count = RowCount();
  const bool lastBreak = count > 0 && rows_->RowAttributes(count - 1) == raBreak;
  const int base = leftbar_->ZeroBase() ? 0 : 1;
  const QRect area(x0, textTop_, leftbarWidth_ - 2, ClientRect().height() - textTop_);
  for (int r = fromRow; r <= toRow; ++r) {
    const int y = RowTop(r);
    const QRect cell = QRect(x0, y, leftbarWidth_ - 2, rowHeight_) & area;
    p.fillRect(cell, BkColorOf(leftbar_->BkColor()));
    if (!leftbar_->ShowNumber()) continue;
    int number = -1;
    if (leftbar_->ShowNumberMode() == nmRow) {
      if (r < count || (r == count && lastBreak)) number = r + base;
    } else if (r < count) {
      if (r == 0 || rows_->RowAttributes(r - 1) != raWrap) number = rows_->RowToLine(r) + base;
    } else if (r == count && lastBreak) {
      number = rows_->LineCount() + base;
    }
    if (number < 0) continue;
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < leftbarColumn_) {
      digits.insert(0, static_cast<std::size_t>(leftbarColumn_) - digits.size(),
                    leftbar_->ZeroLead() ? '0' : ' ');
    }
    DrawText(x0 + leftbar_->LeftMargin(), y, digits, font_.Style(), leftbar_->Color(), clNone,
             cell);
  }
  if (!leftbarEdge_.isNull()) p.drawImage(x0 + leftbarWidth_ - 2, textTop_, leftbarEdge_);
}

void TEditor::InitLeftbarEdge() {
  leftbarEdge_ = QImage(2, ScreenHeight(this), QImage::Format_RGB32);
  if (leftbar_->Edge()) {
    leftbarEdge_.fill(Qt::white);
    for (int y = 0; y < leftbarEdge_.height(); ++y)
      leftbarEdge_.setPixel(1, y, ToQColor(clGray).rgb());
  } else {
    leftbarEdge_.fill(BkColorOf(leftbar_->BkColor()));
    const QRgb c = FgColorOf(leftbar_->Color()).rgb();
    for (int y = 0; y < leftbarEdge_.height(); ++y) leftbarEdge_.setPixel(1, y, c);
  }
}

// ---------------------------------------------------------------- image bar

void TEditor::DrawImagebarRows(int fromRow, int toRow) {
  if (!canvas_ || !imagebar_->Visible()) return;
  QPainter& p = *canvas_;
  const QColor bk = leftbar_->Visible() && leftbar_->BkColor() != clNone
                        ? ToQColor(leftbar_->BkColor())
                        : BkColorOf(color_);
  const QRect area(0, textTop_, imagebarWidth_, ClientRect().height() - textTop_);
  for (int r = fromRow; r <= toRow; ++r) {
    const int y = RowTop(r);
    const QRect cell = QRect(0, y, imagebarWidth_, rowHeight_) & area;
    p.fillRect(cell, bk);
    if (r >= RowCount()) continue;
    const std::uint16_t marks = rows_->RowMarks(r);
    if (!marks) continue;
    p.save();
    p.setClipRect(cell, Qt::IntersectClip);
    for (int d = 0; d <= 9; ++d) {
      if (!(marks & (1u << d))) continue;
      const bool own = imageDigits_ && d < imageDigits_->Count();
      const QPixmap& image = own ? imageDigits_->Image(d) : BuiltInDigitImages()[d];
      p.drawPixmap(imagebar_->LeftMargin(), y + 2, image);
      break;
    }
    for (int m = 10; m <= 15; ++m) {
      if (!(marks & (1u << m))) continue;
      const int i = m - 10;
      const bool own = imageMarks_ && i < imageMarks_->Count();
      const QPixmap& image = own ? imageMarks_->Image(i) : BuiltInMarkImages()[i];
      p.drawPixmap(imagebar_->LeftMargin() + imagebar_->DigitWidth(), y + 2, image);
      break;
    }
    p.restore();
  }
}

// ------------------------------------------------------------------- corner

void TEditor::CreateDrawBitmaps() {
  corner_ = QImage();
  leftbarEdge_ = QImage();
  rulerEdge_ = QImage();
  rulerGauge_ = QImage();
  rulerStrip_ = QImage();
  rulerMarkStrip_ = QImage();
}

void TEditor::FreeDrawBitmaps() {
  CreateDrawBitmaps();
}

void TEditor::InitBackground() {
  if (textLeft_ <= 0 || textTop_ <= 0) {
    corner_ = QImage();
    return;
  }
  corner_ = QImage(textLeft_, textTop_, QImage::Format_RGB32);
  corner_.fill(BkColorOf(color_));
  QPainter p(&corner_);
  if (leftbar_->Visible() && leftbar_->Edge()) {
    const int x = imagebarWidth_;
    p.fillRect(QRect(x, 0, leftbarWidth_ - 2, textTop_), BkColorOf(leftbar_->BkColor()));
    p.fillRect(QRect(x + leftbarWidth_ - 2, 0, 1, textTop_), Qt::white);
    p.fillRect(QRect(x + leftbarWidth_ - 1, 0, 1, textTop_), ToQColor(clGray));
  }
  if (ruler_->Visible() && ruler_->Edge()) {
    p.fillRect(QRect(0, 0, textLeft_, rulerHeight_ - 2), BkColorOf(ruler_->BkColor()));
    p.fillRect(QRect(0, rulerHeight_ - 2, textLeft_, 1), Qt::white);
    p.fillRect(QRect(0, rulerHeight_ - 1, textLeft_, 1), ToQColor(clGray));
  }
}

// -------------------------------------------------------------------- ruler

int TEditor::RulerBitmapWidth() const {
  const int period = ruler_->GaugeRange() * colWidth_;
  return period * (ScreenWidth(this) / period + 2);
}

void TEditor::InitRuler() {
  UpdateRulerHeight();
  InitRulerDigits();
  InitRulerDigitColors();
  InitRulerEdge();
  InitRulerGauge();
  SizeRulerBitmaps();
  RenderRulerGauge();
}

void TEditor::InitRulerDigits() {
  // The ten glyphs in 5-pixel cells, 9 pixels high, as a mask.
  QImage mask(50, 9, QImage::Format_Mono);
  mask.setColor(0, qRgb(255, 255, 255));
  mask.setColor(1, qRgb(0, 0, 0));
  mask.fill(0);
  for (int d = 0; d < 10; ++d) {
    const TRulerDigit& pattern = RulerDigitPattern(d);
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 4; ++x) {
        if (pattern[static_cast<std::size_t>(y)] & (8 >> x)) mask.setPixel(d * 5 + x, y + 1, 1);
      }
    }
  }
  rulerDigits_[0] = mask;
  rulerDigits_[1] = mask;
}

void TEditor::InitRulerDigitColors() {
  // The glyphs in one colour over transparent cells, so that they leave the
  // gauge's ticks visible between their pixels.
  auto colour = [](const QImage& mask, const QColor& fg) {
    QImage image = mask.convertToFormat(QImage::Format_Mono);
    image.setColor(0, qRgba(0, 0, 0, 0));
    image.setColor(1, fg.rgb());
    return image.convertToFormat(QImage::Format_ARGB32);
  };
  if (rulerDigits_[0].isNull() || rulerDigits_[0].format() != QImage::Format_Mono)
    InitRulerDigits();
  rulerDigits_[0] = colour(rulerDigits_[0], FgColorOf(ruler_->Color()));
  rulerDigits_[1] = colour(rulerDigits_[1], BkColorOf(ruler_->BkColor()));
}

void TEditor::InitRulerEdge() {
  rulerEdge_ = QImage(ScreenWidth(this), 2, QImage::Format_RGB32);
  QPainter p(&rulerEdge_);
  p.fillRect(0, 0, rulerEdge_.width(), 1, Qt::white);
  p.fillRect(0, 1, rulerEdge_.width(), 1, ToQColor(clGray));
}

void TEditor::InitRulerGauge() {
  const int range = ruler_->GaugeRange();
  const int height = std::max(rulerHeight_, 10);
  const int last = height - (ruler_->Edge() ? 3 : 2);  // the line above the bottom edge
  rulerGauge_ = QImage(range * colWidth_, height, QImage::Format_ARGB32);
  rulerGauge_.fill(Qt::transparent);
  QPainter p(&rulerGauge_);
  for (int c = 0; c < range; ++c) {
    const int top = c == 0 ? 0 : c == range / 2 ? 3 : 6;
    p.fillRect(QRect(c * colWidth_, top, 1, last - top + 1), Qt::black);
  }
}

void TEditor::SizeRulerBitmaps() {
  const int height = std::max(rulerHeight_, 10);
  rulerStrip_ = QImage(RulerBitmapWidth(), height, QImage::Format_RGB32);
  rulerMarkStrip_ = QImage(RulerBitmapWidth(), height, QImage::Format_RGB32);
}

void TEditor::RenderRulerGauge() {
  if (rulerStrip_.isNull()) SizeRulerBitmaps();
  const int range = ruler_->GaugeRange();
  rulerStripCol_ = topCol_ / range * range;
  const int height = rulerStrip_.height();
  const bool edge = ruler_->Edge();
  auto render = [&](QImage& strip, const QColor& bk, const QColor& fg, const QImage& digits) {
    strip.fill(bk);
    QPainter p(&strip);
    // The gauge in the foreground colour.
    QImage gauge = rulerGauge_;
    {
      QPainter g(&gauge);
      g.setCompositionMode(QPainter::CompositionMode_SourceIn);
      g.fillRect(gauge.rect(), fg);
    }
    // The column number, one pixel right of its tick; a 1 takes a 3-pixel
    // cell instead of 5.
    auto number = [&](int x, int col) {
      int dx = x + 1;
      for (char ch : std::to_string(col)) {
        const int d = ch - '0';
        p.drawImage(dx, 0, digits, d * 5, 0, d == 1 ? 3 : 4, 9);
        dx += d == 1 ? 3 : 5;
      }
    };
    const int period = range * colWidth_;
    for (int x = 0, col = rulerStripCol_; x < strip.width() && col < kMaxCol;
         x += period, col += range) {
      p.drawImage(x, 0, gauge);
      number(x, col);
    }
    // Past column 999 the strip is empty but for the tick and number of 1000.
    const int end = (kMaxCol - rulerStripCol_) * colWidth_;
    if (end < strip.width()) {
      p.fillRect(QRect(end, 0, strip.width() - end, height), bk);
      p.fillRect(QRect(end, 0, 1, height - 2), fg);
      number(end, kMaxCol);
    }
    if (edge) {
      p.drawImage(0, height - 2, rulerEdge_, 0, 0, strip.width(), 2);
    } else {
      p.fillRect(QRect(0, height - 1, strip.width(), 1), fg);
    }
  };
  const QColor bk = BkColorOf(ruler_->BkColor());
  render(rulerStrip_, bk, FgColorOf(ruler_->Color()), rulerDigits_[0]);
  render(rulerMarkStrip_, BkColorOf(ruler_->MarkColor()), bk, rulerDigits_[1]);
}

void TEditor::PaintRuler() {
  if (!canvas_ || !ruler_->Visible()) return;
  QPainter& p = *canvas_;
  const int range = ruler_->GaugeRange();
  if (rulerStripCol_ != topCol_ / range * range || rulerStrip_.isNull()) RenderRulerGauge();
  const QRect client = ClientRect();
  const QRect area(textLeft_, 0, client.width() - textLeft_, rulerHeight_);
  p.save();
  p.setClipRect(area, Qt::IntersectClip);
  p.fillRect(area, BkColorOf(ruler_->BkColor()));
  const int x = textLeft_ - (topCol_ - rulerStripCol_) * colWidth_;
  p.drawImage(x, 0, rulerStrip_, 0, 0, -1, rulerHeight_);
  if (rulerMarkCol_ >= topCol_ && rulerMarkCol_ <= kMaxCol) {
    const int sx = (rulerMarkCol_ - rulerStripCol_) * colWidth_;
    p.drawImage(ColX(rulerMarkCol_), 0, rulerMarkStrip_, sx, 0, colWidth_, rulerHeight_);
  }
  p.restore();
}

void TEditor::DrawRulerMark(int col) {
  rulerMarkCol_ = col;
  if (!ruler_->Visible() || !handleCreated_) return;
  InvalidateRect(QRect(ColX(col), 0, colWidth_, rulerHeight_), false);
}

void TEditor::EraseRulerMark(int col) {
  if (rulerMarkCol_ == col) rulerMarkCol_ = -1;
  if (!ruler_->Visible() || !handleCreated_) return;
  InvalidateRect(QRect(ColX(col), 0, colWidth_, rulerHeight_), false);
}

}  // namespace kelu
