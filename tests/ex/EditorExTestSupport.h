// Helpers of the page editor's tests: an editor of a fixed size holding a
// text given in UTF-8, and reading its pixels.
#pragma once

#include <QImage>
#include <memory>
#include <set>
#include <string_view>

#include "EditorTestSupport.h"
#include "editor/ex/EditorEx.h"

namespace kelu::test {

inline std::unique_ptr<TEditorEx> MakeEditorEx(std::string_view utf8Text = {}, int width = 640,
                                               int height = 400) {
  auto editor = std::make_unique<TEditorEx>();
  editor->resize(width, height);
  if (!utf8Text.empty()) editor->Lines().SetTextStr(Sjis(utf8Text));
  return editor;
}

// The x of the left edge of column `col` and the top of row `row`.
inline int X(const TEditor& e, int col) {
  return e.TextLeft() + (col - e.TopCol()) * e.ColWidth();
}
inline int Top(const TEditor& e, int row) {
  return e.TextTop() + (row - e.TopRow()) * e.RowHeight();
}

// The points of the rectangle [x1, x2) x [y1, y2) of `image` having `rgb`.
inline std::set<std::pair<int, int>> PixelsOf(const QImage& image, QRgb rgb, int x1, int x2, int y1,
                                              int y2) {
  std::set<std::pair<int, int>> points;
  for (int y = std::max(y1, 0); y < std::min(y2, image.height()); ++y) {
    for (int x = std::max(x1, 0); x < std::min(x2, image.width()); ++x) {
      if (image.pixel(x, y) == rgb) points.insert({x, y});
    }
  }
  return points;
}

// The columns x of [x1, x2) where some pixel of rows [y1, y2) has `rgb`.
inline std::set<int> ColumnsOf(const QImage& image, QRgb rgb, int x1, int x2, int y1, int y2) {
  std::set<int> xs;
  for (const auto& [x, y] : PixelsOf(image, rgb, x1, x2, y1, y2)) xs.insert(x);
  return xs;
}

inline std::set<int> Span(int from, int to) {  // [from, to)
  std::set<int> xs;
  for (int x = from; x < to; ++x) xs.insert(x);
  return xs;
}

}  // namespace kelu::test
