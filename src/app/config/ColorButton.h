// A button that shows a colour and lets the user pick another one, or "no
// colour" (clNone: the element follows the editor's own colours) where that
// is allowed.
#pragma once

#include <QPushButton>
#include <functional>

#include "base/Color.h"

namespace kelu {

class TColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TColorButton(const QString& text, bool allowNone, QWidget* parent = nullptr);

  TColor Color() const { return color_; }
  // Shows `color`; emits colorChanged when it differs.
  void SetColor(TColor color);
  // Shows `color` without a signal (the dialog reloading its controls).
  void ShowColor(TColor color);

  // Asks the user for a colour; the default opens QColorDialog. Returns
  // false when cancelled. Tests replace it.
  static std::function<bool(QWidget* parent, TColor current, TColor& chosen)> PickColor;

  static QColor ToQColor(TColor color);
  static TColor FromQColor(const QColor& color);

 signals:
  void colorChanged(kelu::TColor color);

 private:
  void Clicked();
  void UpdateIcon();

  TColor color_ = clNone;
  bool allowNone_;
};

}  // namespace kelu
