#include "base/Font.h"

#include <cmath>

#include "base/Properties.h"

namespace kelu {

namespace {
int MulDivRound(int a, int b, int c) {
  return static_cast<int>(std::lround(static_cast<double>(a) * b / c));
}
}  // namespace

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetName(const std::string& value) {
  if (value.empty() || value == name_) return;
  name_ = value;
  Changed();
}

void TFont::SetSize(int value) {
  if (value == size_) return;
  size_ = value;
  Changed();
}

int TFont::Height() const {
  return -MulDivRound(size_, kScreenPixelsPerInch, 72);
}

void TFont::SetHeight(int value) {
  SetSize(-MulDivRound(value, 72, kScreenPixelsPerInch));
}

void TFont::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (value == style_) return;
  style_ = value;
  Changed();
}

void TFont::SetCharset(int value) {
  if (value == charset_) return;
  charset_ = value;
  Changed();
}

void TFont::Assign(const TPersistent& source) {
  if (auto* f = dynamic_cast<const TFont*>(&source)) {
    if (*f == *this) return;
    name_ = f->name_;
    size_ = f->size_;
    color_ = f->color_;
    style_ = f->style_;
    charset_ = f->charset_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

const TClassInfo* TFont::ClassInfo() const {
  using F = TFont;
  static const TClassInfo info =
      TPropsOf<F>("TFont", nullptr)
          .Int("Charset", TypeInteger(), DEFAULT_CHARSET, &F::Charset, &F::SetCharset)
          .Color("Color", clWindowText, &F::Color, &F::SetColor)
          .Int("Height", TypeInteger(), -11, &F::Height, &F::SetHeight)
          .Str(
              "Name", [](const F& f) { return f.Name(); },
              [](F& f, const std::string& v) { f.SetName(v); })
          .Int("Size", TypeInteger(), 8, &F::Size, &F::SetSize)
          .Ord(
              "Style", TypeFontStyles(), 0, [](const F& f) { return f.Style(); },
              [](F& f, std::int64_t v) { f.SetStyle(static_cast<TFontStyles>(v & 0x0F)); })
          .Build();
  return &info;
}

bool TFont::operator==(const TFont& o) const {
  return name_ == o.name_ && size_ == o.size_ && color_ == o.color_ && style_ == o.style_ &&
         charset_ == o.charset_;
}

}  // namespace kelu
