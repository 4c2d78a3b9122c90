// The screen resources the editor controls share, made once per process:
// the clipboard format of box selections, the control's own mouse cursors,
// the built-in row mark images, the ruler's digit glyphs and the cache of
// dotted lines.
#pragma once

#include <QCursor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QPixmap>
#include <array>
#include <cstdint>

#include "base/Color.h"
#include "editor/control/settings/EditorTypes.h"

class QPainter;

namespace kelu {

// The private clipboard format of text copied from a box selection, the
// registered format "TEditor Box Type" as a MIME type.
inline constexpr const char* kBoxClipboardFormatName = "TEditor Box Type";
QString BoxClipboardMimeType();
// The Shift-JIS bytes of copied and dragged text as the document holds
// them, for editors of this program (text/plain carries the Unicode).
inline constexpr const char* kSjisTextMimeType = "application/x-kelu-sjis-text";

// The cursor of a cursor number: the desktop's standard cursors (crIBeam,
// crDrag, ...) and the registered ones, among them the program's own
// crRightArrow (1958, a right-pointing arrow) and crDragSelCopy (1959, an
// arrow dragging with a plus).
QCursor ScreenCursor(TCursor cursor);
// Registers `cursor` under `number` (replacing any cursor of that number).
void SetScreenCursor(TCursor number, const QCursor& cursor);

// A list of images, as the image bar's ImageDigits and ImageMarks take it.
// The control forgets a list when it is destroyed.
class TImageList : public QObject {
  Q_OBJECT

 public:
  explicit TImageList(QObject* parent = nullptr) : QObject(parent) {}
  explicit TImageList(QList<QPixmap> images, QObject* parent = nullptr)
      : QObject(parent), images_(std::move(images)) {}

  int Count() const { return static_cast<int>(images_.size()); }
  const QPixmap& Image(int index) const { return images_.at(index); }
  const QList<QPixmap>& Images() const { return images_; }
  void SetImages(QList<QPixmap> images);
  void Add(const QPixmap& image);

 signals:
  void changed();

 private:
  QList<QPixmap> images_;
};

// The built-in row mark images: the digit marks 0-9 (8 x 11 pixels) and the
// picture marks 0-5 (11 x 11 pixels), transparent around the picture.
const QList<QPixmap>& BuiltInDigitImages();
const QList<QPixmap>& BuiltInMarkImages();

// The ruler's digit glyphs: 7 rows of 4 pixels for each of 0-9; bit 3 of a
// row is its leftmost pixel.
using TRulerDigit = std::array<std::uint8_t, 7>;
const TRulerDigit& RulerDigitPattern(int digit);

// Draws the dotted line of (color, bkColor) from x1 to x2 (both included)
// on row y: every second pixel, starting with the first, in `color`, the
// others in `bkColor`. The one-pixel-high lines are made once per pair of
// colours, as wide as the screen.
void DrawDotLine(QPainter& canvas, int x1, int y, TColor bkColor, TColor color, int x2);

// Makes the process-wide resources (cursors, images, dotted-line cache);
// later calls do nothing.
void InitEditorResources();

}  // namespace kelu
