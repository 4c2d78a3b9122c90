// The thin layer between the control's logic, which is written in terms of
// the desktop's window services (caret, colours, system metrics), and Qt.
#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <functional>

#include "base/Color.h"

class QPainter;
class QWidget;

namespace kelu {

// A TColor as a QColor; system colours resolve to their classic values,
// clNone to black (callers apply the clNone rule first).
QColor ToQColor(TColor color);

// SM_CXVSCROLL / SM_CYHSCROLL: the width of a vertical scroll bar (and the
// height of a horizontal one) in `widget`'s style.
int ScrollBarExtent(const QWidget* widget);

// The system caret of one window, drawn by the window itself: it is
// created with a size (hidden), hidden and shown with nesting (as many Show
// as Hide), moved, and blinks while it is visible. The window paints it
// with Paint at the end of each paint; the caret asks for the repaints it
// needs through `invalidate`.
class TScreenCaret {
 public:
  explicit TScreenCaret(std::function<void(const QRect&)> invalidate);

  // Creates the caret (any old one is destroyed); the new caret is hidden.
  void Create(int width, int height);
  void Destroy();
  bool Created() const { return created_; }
  void Hide();
  void Show();
  void SetPos(QPoint pos);
  QPoint Pos() const { return pos_; }
  QRect Rect() const { return QRect(pos_, size_); }
  // Created and not hidden.
  bool Visible() const { return created_ && hideCount_ == 0; }
  // Draws the caret (inverting the pixels under it) when it is visible and
  // in the on phase of its blink; returns the rectangle drawn, or an empty
  // one.
  QRect Paint(QPainter& painter) const;

 private:
  void Blink();
  void Restart();

  std::function<void(const QRect&)> invalidate_;
  QTimer timer_;
  QPoint pos_;
  QSize size_;
  int hideCount_ = 0;
  bool created_ = false;
  bool on_ = true;
};

}  // namespace kelu
