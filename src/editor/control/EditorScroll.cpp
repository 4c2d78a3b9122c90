// TEditor: metrics, the first visible row and column, scrolling the pixels
// of the text area, the scroll bars and the mouse wheel.
#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "editor/control/Editor.h"
#include "editor/control/EditorGlyphs.h"
#include "editor/fountain/Fountain.h"

namespace kelu {

namespace {

// A scroll bar set up as the desktop's scroll information describes it:
// range min..max with a page of `page`, so the thumb positions run from min
// to max - page + 1.
void SetScrollInfo(QScrollBar* bar, int min, int max, int page, int pos) {
  bar->setRange(min, std::max(min, max - page + 1));
  bar->setPageStep(std::max(page, 1));
  bar->setSingleStep(1);
  bar->setValue(pos);
}

int DecimalDigits(int n) {
  int digits = 1;
  while (n >= 10) {
    n /= 10;
    ++digits;
  }
  return digits;
}

}  // namespace

QRect TEditor::ClientRect() const {
  return viewport()->rect();
}

int TEditor::MaxTopRow() const {
  return std::max(0, RowCount() + visibleRows_ - 1);
}

int TEditor::ScreenRows() const {
  const QScreen* s = screen();
  const int height = s ? s->size().height() : 1024;
  return std::max(1, height / std::max(rowHeight_, 1));
}

void TEditor::UpdateMetrics() {
  const QFont font = ScreenFontOf(font_);
  const QFontMetrics m(font);
  fontAscent_ = m.ascent();
  fontHeight_ = std::max(1, m.ascent() + m.descent() + std::max(0, m.leading()));
  charWidth_ = std::max(1, m.horizontalAdvance(QLatin1Char('0')));
  const int colWidth = std::max(1, margin_->Character() + charWidth_);
  if (font != screenFont_ || colWidth != colWidth_) {
    screenFont_ = font;
    colWidth_ = colWidth;
    glyphs_->SetFont(screenFont_, colWidth_, fontAscent_);
  }
  rowHeight_ = fontHeight_ + margin_->Line() + margin_->UnderlineGap();
  italic_ = HasStyle(font_.Style(), fsItalic) || ActiveFountain().HasItalic();
  UpdateRulerHeight();
  UpdateImagebarWidth();
  UpdateLeftbarDigits();
  UpdateLeftbarWidth();
  textLeft_ = margin_->Left() + imagebarWidth_ + leftbarWidth_;
  textTop_ = margin_->Top() + rulerHeight_;
  // The control's outer size less its scroll bars (the 5 pixels leave room
  // for the border and keep a row that is only partly shown out of the
  // count).
  const bool hBar = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  const bool vBar = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  const int extent = ScrollBarExtent(this);
  visibleRows_ = std::max(1, (height() - textTop_ - 5 - (hBar ? extent : 0)) / rowHeight_);
  visibleCols_ =
      std::max(0, (width() - textLeft_ - colWidth_ / 2 - (vBar ? extent : 0)) / colWidth_);
}

void TEditor::UpdateRulerHeight() {
  rulerHeight_ = ruler_->Visible() ? (ruler_->Edge() ? 11 : 10) : 0;
}

void TEditor::UpdateImagebarWidth() {
  imagebarWidth_ = imagebar_->Width();
}

bool TEditor::UpdateLeftbarDigits() {
  int digits = leftbar_->Column();
  if (leftbar_->Visible() && leftbar_->ShowNumber()) {
    const int count = RowCount();
    int largest;
    if (leftbar_->ShowNumberMode() == nmLine) {
      largest = count > 0 ? rows_->RowToLine(count - 1) : 0;
    } else {
      largest = count - 1;
    }
    if (count > 0 && rows_->RowAttributes(count - 1) == raBreak) ++largest;
    if (!leftbar_->ZeroBase()) ++largest;
    digits = std::min(8, std::max(leftbar_->Column(), DecimalDigits(std::max(largest, 0))));
  }
  const bool changed = digits != leftbarColumn_;
  leftbarColumn_ = digits;
  return changed;
}

void TEditor::UpdateLeftbarWidth() {
  leftbarWidth_ = leftbar_->Visible() ? leftbar_->LeftMargin() + leftbarColumn_ * colWidth_ +
                                            leftbar_->RightMargin() + 2
                                      : 0;
}

void TEditor::LeftbarWidthChanged(int oldWidth, int newWidth) {
  const QRect client = ClientRect();
  UpdateMetrics();
  UpdateScrollBars();
  InitBackground();
  const QRect area(imagebarWidth_, 0, client.width() - imagebarWidth_, client.height());
  ScrollTextArea(newWidth - oldWidth, 0, area, area);
  // The bar itself and the corner above it are drawn anew.
  InvalidateRect(QRect(0, 0, textLeft_, client.height()), false);
  InvalidateRect(QRect(0, 0, client.width(), textTop_), false);
}

void TEditor::ApplyScrollBarPolicies() {
  const bool hBar = scrollBars_ == ssHorizontal || scrollBars_ == ssBoth;
  const bool vBar = scrollBars_ == ssVertical || scrollBars_ == ssBoth;
  setHorizontalScrollBarPolicy(hBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(vBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TEditor::UpdateScrollBars() {
  topRow_ = std::min(topRow_, MaxTopRow());
  topCol_ = std::max(0, std::min(topCol_, kMaxCol - visibleCols_ / 2));
  settingScrollBars_ = true;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
    SetScrollInfo(verticalScrollBar(), 0, std::max(visibleRows_, MaxTopRow()), visibleRows_,
                  topRow_);
  }
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
    SetScrollInfo(horizontalScrollBar(), 0, visibleCols_ / 2 + kMaxCol, visibleCols_, topCol_);
  }
  settingScrollBars_ = false;
}

void TEditor::ScrollTextArea(int dx, int dy, const QRect& scrollRect, const QRect& clipRect) {
  const QRect area = scrollRect & clipRect;
  if (area.isEmpty() || (dx == 0 && dy == 0)) return;
  if (std::abs(dx) >= area.width() || std::abs(dy) >= area.height() || !viewport()->isVisible()) {
    InvalidateRect(area, false);
  } else {
    viewport()->scroll(dx, dy, area);
  }
  // What the control draws over the rows moved with the pixels: repaint
  // where it went.
  for (QRect* overlay : {&caretPaintedRect_, &underlinePaintedRect_}) {
    if (overlay->isEmpty()) continue;
    const QRect moved = overlay->translated(dx, dy) & area;
    if (!moved.isEmpty()) InvalidateRect(moved, false);
  }
}

void TEditor::SetTopRow(int value) {
  CaretBeginUpdate();
  HideUnderline();
  value = std::clamp(value, 0, RowCount());
  if (value != topRow_) {
    const int rows = std::clamp(topRow_ - value, -(visibleRows_ + 1), visibleRows_ + 1);
    topRow_ = value;
    const QRect client = ClientRect();
    const QRect area(0, textTop_, client.width(), std::max(client.height() - textTop_, 0));
    ScrollTextArea(0, rows * rowHeight_, area, area);
    if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) {
      settingScrollBars_ = true;
      verticalScrollBar()->setValue(topRow_);
      settingScrollBars_ = false;
    }
    MoveCompositionWindow();
    DoTopRowChange();
  }
  ShowUnderline();
  CaretEndUpdate();
}

void TEditor::SetTopCol(int value) {
  value = std::clamp(value, 0, std::max(0, kMaxCol - visibleCols_ / 2));
  if (value == topCol_) return;
  if (ruler_->Visible()) EraseRulerMark(col_);
  const int cols = topCol_ - value;
  topCol_ = value;
  const QRect client = ClientRect();
  const QRect area(textLeft_, 0, std::max(client.width() - textLeft_, 0), client.height());
  ScrollTextArea(cols * colWidth_, 0, area, area);
  if (ruler_->Visible()) {
    RenderRulerGauge();
    InvalidateRect(QRect(textLeft_, 0, area.width(), rulerHeight_), false);
    DrawRulerMark(col_);
  }
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
    settingScrollBars_ = true;
    horizontalScrollBar()->setValue(topCol_);
    settingScrollBars_ = false;
  }
  MoveCompositionWindow();
  DoTopColChange();
}

void TEditor::ScrollCaret() {
  if (!Focused()) return;
  if (row_ < topRow_) {
    SetTopRow(row_);
  } else if (row_ > topRow_ + visibleRows_ - 1) {
    SetTopRow(row_ - visibleRows_ + 1);
  }
  if (col_ < topCol_) {
    SetTopCol(std::max(0, std::min(col_, topCol_ - visibleCols_ / 4)));
  } else if (col_ > topCol_ + visibleCols_ - 1) {
    SetTopCol(std::min(std::max(col_ - visibleCols_ + 1, topCol_ + visibleCols_ / 4),
                       kMaxCol - visibleCols_ / 2));
  }
}

// The scroll bars moved (by the user or by setValue): scroll to them. With
// Caret.LockScroll a vertical move takes the caret along.
void TEditor::scrollContentsBy(int /*dx*/, int /*dy*/) {
  if (settingScrollBars_) return;
  const int v = verticalScrollBar()->value();
  if ((scrollBars_ == ssVertical || scrollBars_ == ssBoth) && v != topRow_) {
    const int before = topRow_;
    SetTopRow(v);
    if (caret_->LockScroll() && topRow_ != before) SetRow(row_ + topRow_ - before);
  }
  QScrollBar* hBar = horizontalScrollBar();
  if ((scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) && hBar->value() != topCol_) {
    SetTopCol(hBar->value());
    // With an even number of visible columns the bar's range reaches one
    // column past the last top column: the thumb stays on TopCol.
    if (hBar->value() != topCol_) {
      settingScrollBars_ = true;
      hBar->setValue(topCol_);
      settingScrollBars_ = false;
    }
  }
}

void TEditor::wheelEvent(QWheelEvent* event) {
  // One notch (120) scrolls the desktop's wheel step in rows; with Shift,
  // or a sideways wheel, columns.
  QPoint delta = event->angleDelta();
  if (event->modifiers() & Qt::ShiftModifier) delta = QPoint(delta.y(), delta.x());
  wheelDelta_ += delta;
  const int lines = QApplication::wheelScrollLines();
  const int rowSteps = wheelDelta_.y() / 120;
  const int colSteps = wheelDelta_.x() / 120;
  wheelDelta_ -= QPoint(colSteps * 120, rowSteps * 120);
  if (rowSteps) SetTopRow(topRow_ - rowSteps * lines);
  if (colSteps) SetTopCol(topCol_ - colSteps * lines);
  event->accept();
}

void TEditor::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  if (!handleCreated_) return;
  UpdateMetrics();
  UpdateScrollBars();
  if (ruler_->Visible() && rulerStrip_.width() < RulerBitmapWidth()) InitRuler();
  Invalidate();
}

void TEditor::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::StyleChange && handleCreated_) {
    UpdateMetrics();
    UpdateScrollBars();
    Invalidate();
  }
}

}  // namespace kelu
