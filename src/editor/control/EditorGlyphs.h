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
#include <unordered_map>
#include <vector>

#include "base/Font.h"

class QPainter;

namespace kelu {

class TTextCodec;

// The character the screen shows for the Shift-JIS character at byte `i`
// of `text` (`n` bytes) through the document's codec: 0 for a control
// character (drawn as a blank), U+FFFD for bytes that are no character.
char32_t ScreenCharAt(const TTextCodec& codec, std::string_view text, std::size_t i, std::size_t n);

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
  // `text`: Shift-JIS without tabs, read through `codec`; its first cell
  // starts at x.
  void Draw(QPainter& painter, std::string_view text, int x, int top, TFontStyles style,
            const QColor& color, const TTextCodec& codec);

 private:
  struct Glyph {
    quint32 index = 0;
    float advance = 0;
    bool known = false;
  };
  struct Face {
    QFont font;
    QRawFont raw;
    std::vector<Glyph> glyphs;  // by BMP character, filled on demand
    std::unordered_map<char32_t, Glyph> beyond;  // characters above U+FFFF
    bool ready = false;
  };
  Face& FaceOf(TFontStyles style);
  const Glyph& GlyphOf(Face& face, char32_t c);

  QFont font_;
  int colWidth_ = 8;
  int ascent_ = 12;
  Face faces_[4];
  std::vector<quint32> indexes_;
  std::vector<QPointF> positions_;
};

}  // namespace kelu
