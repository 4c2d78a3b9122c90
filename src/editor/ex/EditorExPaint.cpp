// TEditorEx: the second drawing layer over the rows TEditor paints: guide
// lines, row backgrounds, hit text and underlines, outlines of blanks, the
// tab arrow and the bracket pair. Everything is drawn while the control
// paints (the caret is drawn over the finished picture at the end of each
// paint, so it needs no hiding here).
#include <QPainter>
#include <algorithm>

#include "base/Sjis.h"
#include "editor/ex/EditorEx.h"
#include "editor/fountain/Fountain.h"

namespace kelu {

namespace {

constexpr std::string_view kDBSpace = "\x81\x40";

}  // namespace

// ---------------------------------------------------------------- overrides

void TEditorEx::paintEvent(QPaintEvent* event) {
  paintHitsLine_ = -1;
  paintHitsGivenUp_ = false;
  TOleddEditor::paintEvent(event);
  paintHitsLine_ = -1;
}

void TEditorEx::Paint(const QRect& clip) {
  paintClip_ = clip;
  TOleddEditor::Paint(clip);
  QPainter* p = Canvas();
  if (!p || !verticalLines_ || verticalLines_->Count() == 0) return;
  p->save();
  p->setClipRect(clip);
  DrawVerticalLines();
  p->restore();
}

void TEditorEx::DrawUnderline(int row) {
  TOleddEditor::DrawUnderline(row);
  if (Canvas() && verticalLines_) DrawVerticalLines();
}

void TEditorEx::DrawEofMark(int x, int y) {
  if (!Canvas()) return;
  const QRect client = ClientRect();
  const QRect textArea(textLeft_, textTop_, client.width() - textLeft_, client.height() - textTop_);
  const QRect clip = QRect(x, y, 6 * colWidth_, fontHeight_) & textArea;
  // Transparent: a row background shows through.
  DrawText(x, y, "[EOF]", font_.Style(), marks_->EofMark().Color(), clNone, clip);
}

// ------------------------------------------------------------ the row layer

void TEditorEx::DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                           bool selected) {
  TOleddEditor::DoDrawLine(lineStr, x, y, index, rect, selected);
  QPainter* p = Canvas();
  if (!p || !exMarks_) return;
  DrawVerticalLines();
  if (!exMarks_->Indicated()) return;
  // The drawable end: the band's right edge, at most column 1000.
  const int right = std::min(rect.right() + 1, x + kMaxCol * colWidth_);
  p->save();
  if (!selected) {
    const TColor color = LineBackgroundColor(index);
    if (color != clNone) DrawLineBackground(lineStr, x, y, index, rect, color);
  }
  // Underlines and outlines may use the whole row height, the gap below the
  // band included.
  p->setClipRect(QRect(rect.left(), y, rect.width(), std::max(rowHeight_, rect.height())) &
                 paintClip_);
  // What is placed by cells is placed as if the band began at a column
  // boundary; the clip keeps it inside the band.
  QRect cells = rect;
  cells.setLeft(x + (rect.left() - x) / colWidth_ * colWidth_);
  if (exMarks_->FindMark().Visible()) DrawRowHits(lineStr, x, y, index, cells, selected, right);
  DrawCharMarks(x, y, index, cells, right);
  p->restore();
}

TColor TEditorEx::LineBackgroundColor(int index) const {
  const TEditorExMarks& m = *exMarks_;
  if (m.CurrentLine().Visible() && index == row_) return m.CurrentLine().Color();
  const std::uint16_t marks = index < RowCount() ? rows_->RowMarks(index) : 0;
  if (m.DigitLine().Visible() && (marks & 0x03FF)) return m.DigitLine().Color();
  for (int i = 0; i < 6; ++i) {
    if (m.ImgLine(i).Visible() && (marks & (1u << (10 + i)))) return m.ImgLine(i).Color();
  }
  if (m.ImageLine().Visible() && (marks & 0xFC00)) return m.ImageLine().Color();
  const int number = leftbar_->ZeroBase() ? index : index + 1;
  if (m.EvenLine().Visible() && number % 2 == 0) return m.EvenLine().Color();
  return clNone;
}

void TEditorEx::DrawLineBackground(const std::string& lineStr, int x, int y, int index,
                                   const QRect& rect, TColor color) {
  QPainter* p = Canvas();
  if (!p) return;
  p->fillRect(rect, ToQColor(color));
  if (!paintParser_ || lineStr.empty() || index >= RowCount()) return;
  const int width = static_cast<int>(lineStr.size());
  const int stop = std::min({rect.right() + 1, x + colWidth_ * width, x + colWidth_ * kMaxCol});
  EnsureRowState(index);
  TRowAttributeData state = rows_->RowState(index);
  state.RowAttribute = rows_->RowAttributes(index);
  // A wrapped row is parsed with the next one, as TEditor does.
  std::string joined;
  std::string_view parseText = lineStr;
  if (state.RowAttribute == raWrap && index + 1 < RowCount()) {
    joined = lineStr;
    joined += ExpandTabs(RowText(index + 1));
    parseText = joined;
  }
  TFountainParser& parser = *paintParser_;
  parser.Start(parseText, state);
  for (int kind = parser.NextToken(); kind != ttEnd; kind = parser.NextToken()) {
    const int start = parser.TokenStart();
    if (start >= width || x + start * colWidth_ >= stop) break;
    const int end = std::min(start + parser.TokenLength(), width);
    if (x + end * colWidth_ <= rect.left()) continue;
    const TFountainColor* c = parser.TokenColor();
    TColor fg = font_.Color();
    TFontStyles style = font_.Style();
    if (c) {
      if (c->Color() != clNone) fg = c->Color();
      style = c->Style();
    }
    DrawText(x + start * colWidth_, y,
             std::string_view(lineStr).substr(static_cast<std::size_t>(start),
                                              static_cast<std::size_t>(end - start)),
             style, fg, clNone, rect);
  }
}

void TEditorEx::DrawRowHits(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                            bool selected, int right) {
  if (index >= RowCount()) return;
  const std::vector<TEditorExHit>& hits = PaintHits(index);
  if (hits.empty()) return;
  const int first = OffsetInLine(index) + 1;  // the row's first byte, 1-based in its line
  const int length = static_cast<int>(RowText(index).size());
  for (const TEditorExHit& hit : hits) {
    const int start = std::max(hit.Start, first);
    const int end = std::min(hit.Start + hit.Length, first + length);
    if (start >= end) {
      if (hit.Start >= first + length) break;
      continue;
    }
    int x1 = x + colWidth_ * ColOfByte(index, start - first);
    int x2 = x + colWidth_ * ColOfByte(index, end - first);
    if (x1 < rect.left() && rect.left() <= x2) x1 = rect.left();
    if (x1 <= right && right < x2) x2 = right;
    if (x1 < rect.left() || x2 > right || x2 <= x1) continue;
    if (!selected) DrawHitText(lineStr, x, y, x1, x2);
    DrawFindUnderline(x1, x2, y + rowHeight_ - 1);
  }
}

void TEditorEx::DrawCharMarks(int x, int y, int index, const QRect& rect, int right) {
  const TEditorExMarks& m = *exMarks_;
  const bool dbSpace = m.DBSpaceMark().Visible(), space = m.SpaceMark().Visible(),
             tab = m.TabMark().Visible(),
             paren = m.ParenMark().Visible() && parenFound_ &&
                     (index == openParenRow_ || index == closeParenRow_);
  if (!dbSpace && !space && !tab && !paren) return;
  if (index >= RowCount()) return;
  const std::string_view s = RowText(index);
  const std::string map = ColumnMap(s);
  const int columns = static_cast<int>(map.size());
  std::size_t b = 0;
  for (int c = 0; c < columns && b < s.size(); ++c) {
    if (map[static_cast<std::size_t>(c)] == '3' || map[static_cast<std::size_t>(c)] == '5')
      continue;
    const std::size_t n = sjis::CharLength(s, b);
    const std::string_view ch = s.substr(b, n);
    const int cx = x + c * colWidth_;
    const bool inside = rect.left() <= cx && cx < right;
    const int pos = static_cast<int>(b) + 1;
    b += n;
    if (dbSpace && ch == kDBSpace) {
      if (inside) {
        DrawDBSpaceMark(cx, y, false);
      } else if (rect.left() <= cx + colWidth_ && cx + colWidth_ < right) {
        DrawDBSpaceMark(cx, y, true);
      }
    } else if (space && ch == " ") {
      if (inside) DrawSpaceMark(cx, y);
    } else if (tab && ch == "\t") {
      if (inside) DrawTabMark(cx, y);
    } else if (paren && inside) {
      if (index == openParenRow_ && pos == openParenPos_) {
        DrawParenMark(cx, y, openParenText_);
      } else if (index == closeParenRow_ && pos == closeParenPos_) {
        DrawParenMark(cx, y, closeParenText_);
      }
    }
  }
}

// ------------------------------------------------------------------- shapes

void TEditorEx::DrawDBSpaceMark(int x, int y, bool rightHalfOnly) {
  QPainter* p = Canvas();
  if (!p) return;
  const int w = colWidth_, h = rowHeight_;
  p->setPen(QPen(FgColorOf(exMarks_->DBSpaceMark().Color()), 0));
  if (!rightHalfOnly) {
    p->drawRect(QRect(x, y + 1, 2 * w - 2, h - 4));
    return;
  }
  const QPoint corners[] = {
      {x + w, y + 1}, {x + 2 * w - 2, y + 1}, {x + 2 * w - 2, y + h - 3}, {x + w, y + h - 3}};
  p->drawPolyline(corners, 4);
}

void TEditorEx::DrawSpaceMark(int x, int y) {
  QPainter* p = Canvas();
  if (!p) return;
  p->setPen(QPen(FgColorOf(exMarks_->SpaceMark().Color()), 0));
  p->drawRect(QRect(x, y + 1, colWidth_ - 2, rowHeight_ - 4));
}

void TEditorEx::DrawTabMark(int x, int y) {
  QPainter* p = Canvas();
  if (!p) return;
  const int w = colWidth_, h = rowHeight_;
  const int m = y + h / 2, e = std::max(3, h / 8);
  p->setPen(QPen(FgColorOf(exMarks_->TabMark().Color()), 0));
  p->drawLine(x + 1, m, x + w - 1, m);
  p->drawLine(x + w - 1, m, x + w - 1 - e, m - e);
  p->drawLine(x + w - 1, m, x + w - 1 - e, m + e);
}

void TEditorEx::DrawFindUnderline(int x1, int x2, int y) {
  QPainter* p = Canvas();
  if (!p || x2 <= x1) return;
  p->fillRect(QRect(x1, y, x2 - x1, 1), FgColorOf(exMarks_->FindMark().Color()));
}

void TEditorEx::DrawHitText(const std::string& lineStr, int x, int y, int x1, int x2) {
  if (!Canvas() || colWidth_ <= 0 || x2 <= x1 || x1 < x) return;
  const std::size_t size = lineStr.size();
  // The cells from the one holding x1 to the one holding x2 - 1, widened to
  // whole characters: drawn on the grid, clipped to x1 .. x2.
  std::size_t start = static_cast<std::size_t>((x1 - x) / colWidth_);
  std::size_t end = static_cast<std::size_t>((x2 - x + colWidth_ - 1) / colWidth_);
  if (start >= size) return;
  end = std::min(end, size);
  start = sjis::CharStart(lineStr, start);
  const std::size_t last = sjis::CharStart(lineStr, end - 1);
  end = std::min(size, last + sjis::CharLength(lineStr, last));
  const TFountainColor& hit = exMarks_->Hit();
  DrawText(x + static_cast<int>(start) * colWidth_, y,
           std::string_view(lineStr).substr(start, end - start), hit.Style(), hit.Color(),
           hit.BkColor() == clNone ? color_ : hit.BkColor(), QRect(x1, y, x2 - x1, rowHeight_));
}

void TEditorEx::DrawParenMark(int x, int y, const std::string& text) {
  if (!Canvas() || text.empty()) return;
  const TColor mark = exMarks_->ParenMark().Color();
  const TColor bk = ColorToRGB(mark == clNone ? color_ : mark);
  const int cells = static_cast<int>(text.size());
  DrawText(x, y, text, StyleBit(fsBold), bk ^ 0xFFFFFF, bk,
           QRect(x, y, cells * colWidth_, fontHeight_));
}

void TEditorEx::DrawVerticalLine(int index) {
  QPainter* p = Canvas();
  if (!p || !handleCreated_) return;
  const TVerticalLine& line = verticalLines_->Item(index);
  if (!line.Visible()) return;
  const int x = textLeft_ + (line.Position() - topCol_) * colWidth_;
  if (x < textLeft_) return;
  const QRect client = ClientRect();
  p->fillRect(QRect(x, textTop_, 1, client.height() - textTop_), FgColorOf(line.Color()));
}

void TEditorEx::DrawVerticalLines() {
  if (!verticalLines_) return;
  for (int i = 0; i < verticalLines_->Count(); ++i) DrawVerticalLine(i);
}

}  // namespace kelu
