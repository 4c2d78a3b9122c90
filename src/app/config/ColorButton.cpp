#include "app/config/ColorButton.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace kelu {

std::function<bool(QWidget*, TColor, TColor&)> TColorButton::PickColor =
    [](QWidget* parent, TColor current, TColor& chosen) {
      const QColor c = QColorDialog::getColor(
          current == clNone ? QColor(Qt::white) : TColorButton::ToQColor(current), parent,
          QStringLiteral("色の選択"));
      if (!c.isValid()) return false;
      chosen = TColorButton::FromQColor(c);
      return true;
    };

QColor TColorButton::ToQColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor TColorButton::FromQColor(const QColor& color) {
  return RGB(color.red(), color.green(), color.blue());
}

TColorButton::TColorButton(const QString& text, bool allowNone, QWidget* parent)
    : QPushButton(text, parent), allowNone_(allowNone) {
  connect(this, &QPushButton::clicked, this, [this] { Clicked(); });
  UpdateIcon();
}

void TColorButton::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  UpdateIcon();
  emit colorChanged(color);
}

void TColorButton::ShowColor(TColor color) {
  color_ = color;
  UpdateIcon();
}

void TColorButton::Clicked() {
  if (allowNone_) {
    QMenu menu(this);
    QAction* pick = menu.addAction(QStringLiteral("色を選ぶ..."));
    QAction* none = menu.addAction(QStringLiteral("指定なし（エディタの色に従う）"));
    none->setCheckable(true);
    none->setChecked(color_ == clNone);
    QAction* chosen = menu.exec(mapToGlobal(rect().bottomLeft()));
    if (chosen == none) {
      SetColor(clNone);
      return;
    }
    if (chosen != pick) return;
  }
  TColor picked = color_;
  if (PickColor(this, color_, picked)) SetColor(picked);
}

void TColorButton::UpdateIcon() {
  QPixmap swatch(28, 14);
  swatch.fill(Qt::transparent);
  QPainter p(&swatch);
  p.setPen(QColor(96, 96, 96));
  if (color_ == clNone) {
    p.setBrush(Qt::white);
    p.drawRect(0, 0, 27, 13);
    p.drawLine(1, 12, 26, 1);
  } else {
    p.setBrush(ToQColor(color_));
    p.drawRect(0, 0, 27, 13);
  }
  p.end();
  setIcon(swatch);
  setIconSize(swatch.size());
  setToolTip(color_ == clNone ? QStringLiteral("指定なし")
                              : QString::fromStdString(ColorToString(color_)));
}

}  // namespace kelu
