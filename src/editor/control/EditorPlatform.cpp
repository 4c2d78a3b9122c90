#include "editor/control/EditorPlatform.h"

#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QWidget>

namespace kelu {

QColor ToQColor(TColor color) {
  TColor rgb = ColorToRGB(color);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

int ScrollBarExtent(const QWidget* widget) {
  return widget->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget);
}

TScreenCaret::TScreenCaret(std::function<void(const QRect&)> invalidate)
    : invalidate_(std::move(invalidate)) {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Blink(); });
}

void TScreenCaret::Create(int width, int height) {
  Destroy();
  created_ = true;
  size_ = QSize(width, height);
  hideCount_ = 1;
  on_ = true;
}

void TScreenCaret::Destroy() {
  if (!created_) return;
  if (Visible()) invalidate_(Rect());
  created_ = false;
  hideCount_ = 0;
  timer_.stop();
}

void TScreenCaret::Hide() {
  if (!created_) return;
  if (hideCount_++ == 0) {
    timer_.stop();
    invalidate_(Rect());
  }
}

void TScreenCaret::Show() {
  if (!created_ || hideCount_ == 0) return;
  if (--hideCount_ == 0) Restart();
}

void TScreenCaret::SetPos(QPoint pos) {
  if (pos == pos_) return;
  if (Visible()) invalidate_(Rect());
  pos_ = pos;
  if (Visible()) Restart();
}

void TScreenCaret::Restart() {
  on_ = true;
  invalidate_(Rect());
  int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (flash > 0) {
    timer_.start(flash / 2);
  } else {
    timer_.stop();
  }
}

void TScreenCaret::Blink() {
  on_ = !on_;
  invalidate_(Rect());
}

QRect TScreenCaret::Paint(QPainter& painter) const {
  if (!Visible() || !on_ || size_.isEmpty()) return {};
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(Rect(), Qt::white);
  painter.restore();
  return Rect();
}

}  // namespace kelu
