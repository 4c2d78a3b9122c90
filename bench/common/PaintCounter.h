// Counts the paint events of a widget (a viewport), so that a timed command
// can wait until a change has been painted.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

namespace kelu::bench {

class TPaintCounter : public QObject {
 public:
  explicit TPaintCounter(QWidget* viewport) { viewport->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

}  // namespace kelu::bench
