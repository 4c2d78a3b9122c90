// Helpers of the editor control's tests: Shift-JIS text from UTF-8 literals,
// an editor with a fixed size, and reading its pixels.
#pragma once

#include <QApplication>
#include <QImage>
#include <memory>
#include <string>
#include <string_view>

#include "base/Cp932.h"
#include "editor/control/Editor.h"

namespace kelu::test {

inline std::string Sjis(std::string_view utf8) {
  return cp932::FromUtf8(utf8);
}

// An editor of a fixed size with the stand-in font (the default face
// "FixedSys" is not installed), not shown unless Show() is called.
inline std::unique_ptr<TEditor> MakeEditor(std::string_view utf8Text = {}, int width = 640,
                                           int height = 400) {
  auto editor = std::make_unique<TEditor>();
  editor->resize(width, height);
  if (!utf8Text.empty()) editor->Lines().SetTextStr(Sjis(utf8Text));
  return editor;
}

// Shows the editor without the input focus, so that no caret is drawn.
inline void Show(TEditor& editor) {
  editor.show();
  QApplication::processEvents();
  editor.clearFocus();
  QApplication::processEvents();
}

// The client area as painted now.
inline QImage Shot(TEditor& editor) {
  return editor.viewport()->grab().toImage();
}

inline QRgb Rgb(TColor color) {
  const TColor c = ColorToRGB(color);
  return qRgb(RedOf(c), GreenOf(c), BlueOf(c));
}

}  // namespace kelu::test
