#include "editor/control/EditorResources.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QPolygon>
#include <QScreen>
#include <vector>

#include "editor/control/EditorPlatform.h"

namespace kelu {

QString BoxClipboardMimeType() {
  // Qt's form of a registered clipboard format name.
  return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"")
      .arg(QLatin1String(kBoxClipboardFormatName));
}

// ------------------------------------------------------------------ cursors

namespace {

struct TDotLineItem {
  TColor color;
  TColor bkColor;
  QImage line;
};

// Everything made at start-up; freed when the application object goes, so
// that no pixmap outlives it.
struct TResources {
  QHash<int, QCursor> cursors;
  QList<QPixmap> digits;
  QList<QPixmap> marks;
  std::vector<TDotLineItem> dotLines;
};

TResources*& ResourcesPointer() {
  static TResources* resources = nullptr;
  return resources;
}

void FreeEditorResources() {
  delete ResourcesPointer();
  ResourcesPointer() = nullptr;
}

TResources& Resources() {
  InitEditorResources();
  return *ResourcesPointer();
}

QHash<int, QCursor>& CursorTable() {
  return Resources().cursors;
}

// A right-pointing arrow (the standard arrow mirrored), hot spot at its tip.
QCursor MakeRightArrowCursor() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  const QPolygon arrow({QPoint(15, 0), QPoint(15, 15), QPoint(11, 11), QPoint(8, 17), QPoint(6, 16),
                        QPoint(9, 10), QPoint(4, 10)});
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(arrow);
  p.end();
  return QCursor(QPixmap::fromImage(image), 15, 0);
}

// The standard arrow dragging a page with a plus below it.
QCursor MakeDragSelCopyCursor() {
  QImage image(32, 32, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  const QPolygon arrow({QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 17), QPoint(9, 16),
                        QPoint(6, 10), QPoint(11, 10)});
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawPolygon(arrow);
  // The dragged text: a dotted frame.
  QPen dotted(Qt::black);
  dotted.setStyle(Qt::DotLine);
  p.setPen(dotted);
  p.setBrush(Qt::NoBrush);
  p.drawRect(8, 18, 12, 8);
  // The plus in a small box.
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(18, 22, 8, 8);
  p.drawLine(20, 26, 24, 26);
  p.drawLine(22, 24, 22, 28);
  p.end();
  return QCursor(QPixmap::fromImage(image), 0, 0);
}

Qt::CursorShape StandardShape(TCursor cursor) {
  switch (cursor) {
    case -1:
      return Qt::BlankCursor;  // crNone
    case -2:
      return Qt::ArrowCursor;  // crArrow
    case -3:
      return Qt::CrossCursor;  // crCross
    case -4:
      return Qt::IBeamCursor;  // crIBeam
    case -5:
      return Qt::SizeAllCursor;  // crSize
    case -6:
      return Qt::SizeBDiagCursor;  // crSizeNESW
    case -7:
      return Qt::SizeVerCursor;  // crSizeNS
    case -8:
      return Qt::SizeFDiagCursor;  // crSizeNWSE
    case -9:
      return Qt::SizeHorCursor;  // crSizeWE
    case -10:
      return Qt::UpArrowCursor;  // crUpArrow
    case -11:
      return Qt::WaitCursor;  // crHourGlass
    case -12:
      return Qt::DragMoveCursor;  // crDrag
    case -13:
      return Qt::ForbiddenCursor;  // crNoDrop
    case -14:
      return Qt::SplitVCursor;  // crHSplit
    case -15:
      return Qt::SplitHCursor;  // crVSplit
    case -16:
      return Qt::DragCopyCursor;  // crMultiDrag
    case -17:
      return Qt::BusyCursor;  // crSQLWait
    case -18:
      return Qt::ForbiddenCursor;  // crNo
    case -19:
      return Qt::BusyCursor;  // crAppStart
    case -20:
      return Qt::WhatsThisCursor;  // crHelp
    case -21:
      return Qt::PointingHandCursor;  // crHandPoint
    case -22:
      return Qt::SizeAllCursor;  // crSizeAll
    default:
      return Qt::ArrowCursor;  // crDefault and unknown numbers
  }
}

}  // namespace

QCursor ScreenCursor(TCursor cursor) {
  auto it = CursorTable().constFind(cursor);
  if (it != CursorTable().constEnd()) return *it;
  return QCursor(StandardShape(cursor));
}

void SetScreenCursor(TCursor number, const QCursor& cursor) {
  CursorTable().insert(number, cursor);
}

// ------------------------------------------------------------------- images

void TImageList::SetImages(QList<QPixmap> images) {
  images_ = std::move(images);
  emit changed();
}

void TImageList::Add(const QPixmap& image) {
  images_.append(image);
  emit changed();
}

const TRulerDigit& RulerDigitPattern(int digit) {
  static const std::array<TRulerDigit, 10> digits = {{
      {0x6, 0x9, 0x9, 0x9, 0x9, 0x9, 0x6},  // 0
      {0x4, 0xC, 0x4, 0x4, 0x4, 0x4, 0x4},  // 1 (2 pixels wide)
      {0x6, 0x9, 0x1, 0x2, 0x4, 0x8, 0xF},  // 2
      {0x6, 0x9, 0x1, 0x6, 0x1, 0x9, 0x6},  // 3
      {0x2, 0x6, 0xA, 0xA, 0xF, 0x2, 0x2},  // 4
      {0xF, 0x8, 0xE, 0x1, 0x1, 0x9, 0x6},  // 5
      {0x6, 0x8, 0x8, 0xE, 0x9, 0x9, 0x6},  // 6
      {0xF, 0x1, 0x2, 0x2, 0x4, 0x4, 0x4},  // 7
      {0x6, 0x9, 0x9, 0x6, 0x9, 0x9, 0x6},  // 8
      {0x6, 0x9, 0x9, 0x7, 0x1, 0x1, 0x6},  // 9
  }};
  return digits[static_cast<std::size_t>(digit % 10)];
}

namespace {

// A digit mark: a tab with a white digit.
QPixmap MakeDigitImage(int digit) {
  QImage image(8, 11, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.fillRect(0, 0, 8, 11, QColor(0, 0, 128));
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.fillRect(0, 0, 1, 1, Qt::transparent);
  p.fillRect(7, 0, 1, 1, Qt::transparent);
  p.fillRect(0, 10, 1, 1, Qt::transparent);
  p.fillRect(7, 10, 1, 1, Qt::transparent);
  p.end();
  const TRulerDigit& pattern = RulerDigitPattern(digit);
  for (int y = 0; y < 7; ++y) {
    for (int x = 0; x < 4; ++x) {
      if (pattern[y] & (8 >> x)) image.setPixelColor(2 + x, 2 + y, Qt::white);
    }
  }
  return QPixmap::fromImage(image);
}

// The picture marks: circle, square, triangle, diamond, flag and star.
QPixmap MakeMarkImage(int index) {
  QImage image(11, 11, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  static const QColor colors[6] = {QColor(208, 0, 0),   QColor(0, 144, 0),   QColor(0, 64, 208),
                                   QColor(224, 128, 0), QColor(128, 0, 160), QColor(0, 128, 128)};
  p.setPen(colors[index].darker(150));
  p.setBrush(colors[index]);
  switch (index) {
    case 0:
      p.drawEllipse(0, 0, 10, 10);
      break;
    case 1:
      p.drawRect(1, 1, 8, 8);
      break;
    case 2:
      p.drawPolygon(QPolygon({QPoint(5, 0), QPoint(10, 10), QPoint(0, 10)}));
      break;
    case 3:
      p.drawPolygon(QPolygon({QPoint(5, 0), QPoint(10, 5), QPoint(5, 10), QPoint(0, 5)}));
      break;
    case 4:
      p.drawLine(1, 0, 1, 10);
      p.drawPolygon(QPolygon({QPoint(2, 0), QPoint(10, 3), QPoint(2, 6)}));
      break;
    default:
      p.drawPolygon(
          QPolygon({QPoint(5, 0), QPoint(6, 4), QPoint(10, 4), QPoint(7, 6), QPoint(9, 10),
                    QPoint(5, 8), QPoint(1, 10), QPoint(3, 6), QPoint(0, 4), QPoint(4, 4)}));
      break;
  }
  p.end();
  return QPixmap::fromImage(image);
}

}  // namespace

const QList<QPixmap>& BuiltInDigitImages() {
  return Resources().digits;
}

const QList<QPixmap>& BuiltInMarkImages() {
  return Resources().marks;
}

// ------------------------------------------------------------- dotted lines

namespace {

std::vector<TDotLineItem>& DotLineCollection() {
  return Resources().dotLines;
}

int ScreenWidth() {
  QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? std::max(screen->size().width(), 1) : 2048;
}

const QImage& DotLine(TColor bkColor, TColor color, int minWidth) {
  auto& items = DotLineCollection();
  for (TDotLineItem& item : items) {
    if (item.color == color && item.bkColor == bkColor && item.line.width() >= minWidth) {
      return item.line;
    }
  }
  std::erase_if(items,
                [&](const TDotLineItem& i) { return i.color == color && i.bkColor == bkColor; });
  QImage line(std::max(ScreenWidth(), minWidth), 1, QImage::Format_RGB32);
  line.fill(ToQColor(bkColor));
  const QRgb fg = ToQColor(color).rgb();
  for (int x = 0; x < line.width(); x += 2) line.setPixel(x, 0, fg);
  items.push_back({color, bkColor, std::move(line)});
  return items.back().line;
}

}  // namespace

void DrawDotLine(QPainter& canvas, int x1, int y, TColor bkColor, TColor color, int x2) {
  if (x2 < x1) return;
  const int width = x2 - x1 + 1;
  const QImage& line = DotLine(bkColor, color, width);
  canvas.drawImage(QPoint(x1, y), line, QRect(0, 0, width, 1));
}

void InitEditorResources() {
  if (ResourcesPointer()) return;
  auto* r = new TResources;
  ResourcesPointer() = r;
  r->cursors.insert(crRightArrow, MakeRightArrowCursor());
  r->cursors.insert(crDragSelCopy, MakeDragSelCopyCursor());
  for (int d = 0; d < 10; ++d) r->digits.append(MakeDigitImage(d));
  for (int m = 0; m < 6; ++m) r->marks.append(MakeMarkImage(m));
  qAddPostRoutine(FreeEditorResources);
}

}  // namespace kelu
