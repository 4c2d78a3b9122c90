// Text on the screen: Shift-JIS characters to the characters of the screen
// font, the font the screen uses for a TFont, and drawing text cell by cell
// on the control's fixed grid (a single-byte character in one cell, a
// double-byte character centred in two, whatever the font's own advances).
#pragma once

#include <QFont>
#include <QRawFont>
#include <QString>
#include <memory>
#include <string_view>
#include <vector>

#include "base/Font.h"

class QPainter;

namespace kelu {

// The UTF-16 unit the screen shows for a single byte (0 for a control
// character, drawn as a blank) and for a double-byte character. Characters
// without a Unicode form show U+FFFD.
char16_t SjisByteToUnicode(unsigned char byte);
char16_t SjisPairToUnicode(unsigned char lead, unsigned char trail);
// The screen characters of a Shift-JIS string, one per character.
QString SjisToScreenText(std::string_view text);

// The face that stands in for a face that is not installed: a Japanese
// face whose half-width characters are exactly half as wide as its
// full-width ones.
QString StandInFamily();
// The screen font of a font description. A face that is not installed is
// replaced by StandInFamily(); "FixedSys", a single-size face of 8 x 16
// pixel cells, is replaced at 16 pixels whatever its size.
QFont ScreenFontOf(const TFont& font);
// True when the half-width characters of `font` are half as wide as its
// full-width characters.
bool HasHalfWidthRatio(const QFont& font);

// Draws text on a grid of cells `colWidth` pixels wide, with the baseline
// `ascent` pixels below the given top. Glyphs come from the screen font
// (bold and italic variants by style); a character the font lacks is drawn
// through Qt's font fallback, centred the same way.
class TGlyphPainter {
 public:
  TGlyphPainter();
  ~TGlyphPainter();

  void SetFont(const QFont& font, int colWidth, int ascent);
  // `text`: Shift-JIS without tabs; its first cell starts at x.
  void Draw(QPainter& painter, std::string_view text, int x, int top, TFontStyles style,
            const QColor& color);

 private:
  struct Glyph {
    quint32 index = 0;
    float advance = 0;
    bool known = false;
  };
  struct Face {
    QFont font;
    QRawFont raw;
    std::vector<Glyph> glyphs;  // by UTF-16 unit, filled on demand
    bool ready = false;
  };
  Face& FaceOf(TFontStyles style);
  const Glyph& GlyphOf(Face& face, char16_t unit);

  QFont font_;
  int colWidth_ = 8;
  int ascent_ = 12;
  Face faces_[4];
  std::vector<quint32> indexes_;
  std::vector<QPointF> positions_;
};

}  // namespace kelu
