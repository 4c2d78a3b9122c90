// The description of a font as the settings keep it: face name, size in
// points, colour, style set and character set. The screen layer turns it
// into a real font.
#pragma once

#include <cstdint>
#include <string>

#include "base/Color.h"
#include "base/Events.h"
#include "base/Object.h"

namespace kelu {

enum TFontStyle : std::uint8_t { fsBold = 0, fsItalic = 1, fsUnderline = 2, fsStrikeOut = 3 };

// A set of TFontStyle values as a bit mask: bold 1, italic 2, underline 4,
// strike-out 8.
using TFontStyles = std::uint8_t;
constexpr TFontStyles StyleBit(TFontStyle s) {
  return static_cast<TFontStyles>(1u << s);
}
constexpr bool HasStyle(TFontStyles set, TFontStyle s) {
  return (set & StyleBit(s)) != 0;
}

inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;
inline constexpr int kScreenPixelsPerInch = 96;

class TFont : public TPersistent {
 public:
  KELU_CLASS_NAME(TFont)

  const std::string& Name() const { return name_; }
  void SetName(const std::string& value);
  int Size() const { return size_; }
  void SetSize(int value);
  // The height in pixels, negative for a character height (96 pixels per inch).
  int Height() const;
  void SetHeight(int value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  int Charset() const { return charset_; }
  void SetCharset(int value);

  void Assign(const TPersistent& source) override;
  // Charset, Color, Height, Name, Size and Style (Size last, so that a
  // stream that holds both restores the size exactly).
  const TClassInfo* ClassInfo() const override;
  bool operator==(const TFont& other) const;

  TNotifyEvent OnChange;

 private:
  void Changed();

  std::string name_ = "MS Sans Serif";
  int size_ = 8;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  int charset_ = DEFAULT_CHARSET;
};

}  // namespace kelu
