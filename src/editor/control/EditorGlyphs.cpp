#include "editor/control/EditorGlyphs.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <array>
#include <cmath>

#include "base/Cp932.h"
#include "base/TextCodec.h"
#include "base/Sjis.h"

namespace kelu {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool SameAdvance(qreal a, qreal b) {
  return std::abs(a - b) < 0.01;
}

}  // namespace

char32_t ScreenCharAt(const TTextCodec& codec, std::string_view text, std::size_t i,
                      std::size_t n) {
  const auto b = static_cast<unsigned char>(text[i]);
  if (n == 1) {
    if (b < 0x20 || b == 0x7F) return 0;
    if (b < 0x80) return b;
  }
  const char32_t c = n == 2 ? codec.CharOfPair(b, static_cast<unsigned char>(text[i + 1]))
                            : cp932::CharOfByte(b);
  return c == cp932::kNoChar ? kReplacement : c;
}

bool HasHalfWidthRatio(const QFont& font) {
  QFontMetricsF m(font);
  qreal half = m.horizontalAdvance(QLatin1Char('0'));
  return half > 0 && SameAdvance(m.horizontalAdvance(QLatin1Char('i')), half) &&
         SameAdvance(m.horizontalAdvance(QLatin1Char('W')), half) &&
         SameAdvance(m.horizontalAdvance(QChar(0x3042)), 2 * half) &&
         SameAdvance(m.horizontalAdvance(QChar(0x6F22)), 2 * half);
}

QString StandInFamily() {
  static const QString family = [] {
    for (const char* name : {"IPAGothic", "Noto Sans Mono CJK JP"}) {
      QString f = QString::fromLatin1(name);
      if (!QFontDatabase::hasFamily(f)) continue;
      QFont probe(f);
      probe.setPixelSize(16);
      if (HasHalfWidthRatio(probe)) return f;
    }
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }();
  return family;
}

QFont ScreenFontOf(const TFont& font) {
  QString name = QString::fromUtf8(cp932::ToUtf8(font.Name()));
  int pixels = std::abs(font.Height());
  QFont q;
  if (!name.isEmpty() && QFontDatabase::hasFamily(name)) {
    q.setFamily(name);
  } else {
    q.setFamily(StandInFamily());
    if (name.compare(QLatin1String("FixedSys"), Qt::CaseInsensitive) == 0) pixels = 16;
  }
  q.setPixelSize(std::max(pixels, 1));
  q.setBold(HasStyle(font.Style(), fsBold));
  q.setItalic(HasStyle(font.Style(), fsItalic));
  q.setKerning(false);
  return q;
}

// ------------------------------------------------------------ TGlyphPainter

TGlyphPainter::TGlyphPainter() = default;
TGlyphPainter::~TGlyphPainter() = default;

void TGlyphPainter::SetFont(const QFont& font, int colWidth, int ascent) {
  font_ = font;
  colWidth_ = colWidth;
  ascent_ = ascent;
  for (Face& f : faces_) f = Face();
}

TGlyphPainter::Face& TGlyphPainter::FaceOf(TFontStyles style) {
  int i = (HasStyle(style, fsBold) ? 1 : 0) | (HasStyle(style, fsItalic) ? 2 : 0);
  Face& face = faces_[i];
  if (!face.ready) {
    face.font = font_;
    if (i & 1) face.font.setBold(true);
    if (i & 2) face.font.setItalic(true);
    face.raw = QRawFont::fromFont(face.font);
    face.glyphs.assign(65536, Glyph());
    face.ready = true;
  }
  return face;
}

const TGlyphPainter::Glyph& TGlyphPainter::GlyphOf(Face& face, char32_t ch) {
  Glyph& g = ch <= 0xFFFF ? face.glyphs[ch] : face.beyond[ch];
  if (!g.known) {
    g.known = true;
    const QString text = QString::fromUcs4(&ch, 1);
    if (face.raw.isValid()) {
      quint32 indexes[2] = {0, 0};
      int n = 2;
      if (face.raw.glyphIndexesForChars(text.constData(), static_cast<int>(text.size()), indexes,
                                        &n) &&
          n == 1 && indexes[0] != 0) {
        const quint32 index = indexes[0];
        QPointF advance;
        face.raw.advancesForGlyphIndexes(&index, &advance, 1);
        g.index = index;
        g.advance = static_cast<float>(advance.x());
      }
    }
    // Through the font fallback: the advance of the face that has it.
    if (g.index == 0) g.advance = static_cast<float>(QFontMetricsF(face.font).horizontalAdvance(text));
  }
  return g;
}

void TGlyphPainter::Draw(QPainter& painter, std::string_view text, int x, int top,
                         TFontStyles style, const QColor& color, const TTextCodec& codec) {
  Face& face = FaceOf(style);
  indexes_.clear();
  positions_.clear();
  const qreal baseline = top + ascent_;
  struct Missing {
    char32_t c;
    qreal x;
    int cells;
    float advance;
  };
  std::vector<Missing> missing;
  int cell = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = sjis::CharLength(text, i);
    const char32_t u = ScreenCharAt(codec, text, i, n);
    const int cells = static_cast<int>(n);
    if (u != 0 && u != U' ') {
      const Glyph& g = GlyphOf(face, u);
      qreal left = x + cell * colWidth_;
      // A double-byte character is centred in its two cells.
      if (cells == 2) left += (2.0 * colWidth_ - g.advance) / 2.0;
      if (g.index != 0) {
        indexes_.push_back(g.index);
        positions_.emplace_back(std::round(left), baseline);
      } else {
        missing.push_back({u, x + cell * colWidth_ + 0.0, cells, g.advance});
      }
    }
    cell += cells;
    i += n;
  }
  painter.setPen(color);
  if (!indexes_.empty()) {
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(QList<quint32>(indexes_.begin(), indexes_.end()));
    run.setPositions(QList<QPointF>(positions_.begin(), positions_.end()));
    painter.drawGlyphRun(QPointF(0, 0), run);
  }
  // Characters of another face (emoji, Hangul, ...): centred in their
  // cells, made smaller when they are wider than the cells.
  for (const Missing& m : missing) {
    const qreal room = m.cells * colWidth_;
    QFont font = face.font;
    qreal advance = m.advance;
    if (advance > room && advance > 0) {
      font.setPixelSize(std::max(1, static_cast<int>(font.pixelSize() * room / advance)));
      advance = QFontMetricsF(font).horizontalAdvance(QString::fromUcs4(&m.c, 1));
    }
    painter.setFont(font);
    painter.drawText(QPointF(std::round(m.x + (room - advance) / 2.0), baseline),
                     QString::fromUcs4(&m.c, 1));
  }
}

}  // namespace kelu
