#include "editor/control/EditorGlyphs.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <array>
#include <cmath>

#include "base/Cp932.h"
#include "base/Sjis.h"

namespace kelu {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsTrailByte(unsigned c) {
  return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

// The double-byte characters of code page 932, converted once through iconv:
// every pair is converted in one call, each followed by a line feed, and the
// result is cut at the line feeds. A pair that does not give exactly one
// character shows U+FFFD.
struct TPairTable {
  std::vector<char16_t> units = std::vector<char16_t>(65536, kReplacement);

  TPairTable() {
    std::string all;
    all.reserve(64 * 192 * 3);
    std::vector<unsigned> codes;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      if (!sjis::IsLeadByte(static_cast<unsigned char>(lead))) continue;
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        if (!IsTrailByte(trail)) continue;
        all.push_back(static_cast<char>(lead));
        all.push_back(static_cast<char>(trail));
        all.push_back('\n');
        codes.push_back(lead << 8 | trail);
      }
    }
    QString text = QString::fromUtf8(cp932::ToUtf8(all));
    QStringList parts = text.split(u'\n');
    if (parts.size() == static_cast<qsizetype>(codes.size()) + 1) {
      for (std::size_t i = 0; i < codes.size(); ++i) {
        const QString& s = parts[static_cast<qsizetype>(i)];
        if (s.size() == 1) units[codes[i]] = s[0].unicode();
      }
      return;
    }
    // The cut went wrong somewhere: convert the pairs one by one.
    for (unsigned code : codes) {
      char pair[2] = {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
      std::size_t lossy = 0;
      QString s = QString::fromUtf8(cp932::ToUtf8(std::string_view(pair, 2), &lossy));
      if (s.size() == 1 && lossy == 0) units[code] = s[0].unicode();
    }
  }
};

const TPairTable& PairTable() {
  static const TPairTable table;
  return table;
}

bool SameAdvance(qreal a, qreal b) {
  return std::abs(a - b) < 0.01;
}

}  // namespace

char16_t SjisByteToUnicode(unsigned char b) {
  if (b < 0x20 || b == 0x7F) return 0;
  if (b < 0x80) return b;
  if (b >= 0xA1 && b <= 0xDF) return static_cast<char16_t>(0xFF61 + (b - 0xA1));
  return kReplacement;
}

char16_t SjisPairToUnicode(unsigned char lead, unsigned char trail) {
  return PairTable().units[static_cast<unsigned>(lead) << 8 | trail];
}

QString SjisToScreenText(std::string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = sjis::CharLength(text, i);
    auto b = static_cast<unsigned char>(text[i]);
    char16_t u = n == 2 ? SjisPairToUnicode(b, static_cast<unsigned char>(text[i + 1]))
                        : SjisByteToUnicode(b);
    out.append(QChar(u ? u : u' '));
    i += n;
  }
  return out;
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

const TGlyphPainter::Glyph& TGlyphPainter::GlyphOf(Face& face, char16_t unit) {
  Glyph& g = face.glyphs[unit];
  if (!g.known) {
    g.known = true;
    if (face.raw.isValid()) {
      QChar c(unit);
      quint32 index = 0;
      int n = 1;
      if (face.raw.glyphIndexesForChars(&c, 1, &index, &n) && n == 1 && index != 0) {
        QPointF advance;
        face.raw.advancesForGlyphIndexes(&index, &advance, 1);
        g.index = index;
        g.advance = static_cast<float>(advance.x());
      }
    }
    if (g.index == 0)
      g.advance = static_cast<float>(QFontMetricsF(face.font).horizontalAdvance(QChar(unit)));
  }
  return g;
}

void TGlyphPainter::Draw(QPainter& painter, std::string_view text, int x, int top,
                         TFontStyles style, const QColor& color) {
  Face& face = FaceOf(style);
  indexes_.clear();
  positions_.clear();
  const qreal baseline = top + ascent_;
  struct Missing {
    char16_t unit;
    qreal x;
  };
  std::vector<Missing> missing;
  int cell = 0;
  for (std::size_t i = 0; i < text.size();) {
    std::size_t n = sjis::CharLength(text, i);
    auto b = static_cast<unsigned char>(text[i]);
    char16_t u = n == 2 ? SjisPairToUnicode(b, static_cast<unsigned char>(text[i + 1]))
                        : SjisByteToUnicode(b);
    const int cells = static_cast<int>(n);
    if (u != 0 && u != u' ') {
      const Glyph& g = GlyphOf(face, u);
      qreal left = x + cell * colWidth_;
      // A double-byte character is centred in its two cells.
      if (cells == 2) left += (2.0 * colWidth_ - g.advance) / 2.0;
      if (g.index != 0) {
        indexes_.push_back(g.index);
        positions_.emplace_back(std::round(left), baseline);
      } else {
        missing.push_back({u, std::round(left)});
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
  if (!missing.empty()) {
    painter.setFont(face.font);
    for (const Missing& m : missing)
      painter.drawText(QPointF(m.x, baseline), QString(QChar(m.unit)));
  }
}

}  // namespace kelu
