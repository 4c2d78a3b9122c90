// Folding one logical line into screen rows under the Japanese
// line-breaking rules.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "editor/model/ColumnMap.h"
#include "editor/model/WrapOption.h"

namespace kelu {

// The column cursor that wrapping walks with. Positions are 1-based
// columns; `Count` is the number of bytes of the line up to and including the
// current column (fill columns add none).
class TEditorAttributeArray {
 public:
  void Init(std::string_view text, std::string_view map);
  int MapLength() const { return mapLength_; }
  void Next();
  void Prev();
  // Steps back to the end of the previous character: over a whole
  // double-byte character, and out of a tab whose fill columns it stands in.
  void PrevChar();
  void MoveTo(int column);
  // The character at the cursor: empty past the end; both bytes of a
  // double-byte character; on a fill column, the tab.
  std::string_view CurrentChar() const;
  // The character after the cursor, leaving the cursor where it is.
  std::string_view CharAfter();

  char Code() const { return code_; }
  int Position() const { return position_; }
  int Count() const { return count_; }

 private:
  char MapAt(int position) const {
    return (position >= 1 && position <= mapLength_) ? map_[position - 1] : '0';
  }

  std::string_view text_;
  std::string_view map_;
  int mapLength_ = 0;
  char code_ = '0';
  int position_ = 0;
  int count_ = 0;
};

// Wraps one line (no line break inside) with wrap width W = options.WrapByte.
// `cut(bytes)` is called for every row that ends by wrapping, with the number
// of bytes of the line that row takes (the line then goes on after them).
// Returns the bytes of the last row: the whole line when it fits. `finalRow`
// tells whether that last row exists as a row of its own; it does not when
// the rest is empty and FollowRetMark is on (the last cut row then ends the
// line).
struct TWrapResult {
  bool finalRow = true;
};
TWrapResult WrapLine(std::string_view line, const TEditorWrapOption& options,
                     const TColumnMapSettings& settings,
                     const std::function<void(std::string_view row)>& cut, std::string_view* rest);

// Number of rows the line takes (1 when it fits).
int CountWrappedRows(std::string_view line, const TEditorWrapOption& options,
                     const TColumnMapSettings& settings);

}  // namespace kelu
