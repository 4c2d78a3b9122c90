// An editor without a screen: a row list with its Lines, a caret and the
// default fountain. Command-line tools, benchmarks and tests use it to run
// the text engine as the editor widget does.
#pragma once

#include <algorithm>

#include "editor/fountain/EditorFountain.h"
#include "editor/model/EditorStrings.h"
#include "editor/model/ScreenStrings.h"
#include "editor/model/Undo.h"

namespace kelu {

class THeadlessEditor : public TScreenEditor, public TLinesEditor {
 public:
  THeadlessEditor() : rows(this), lines(this) {}
  ~THeadlessEditor() override { rows.RemoveEditor(this); }
  THeadlessEditor(const THeadlessEditor&) = delete;
  THeadlessEditor& operator=(const THeadlessEditor&) = delete;

  int TabSpaceCount() const override { return tabWidth; }
  TFountain& ActiveFountain() override { return fountain; }
  int ScreenRows() const override { return screenRows; }
  bool InitBracketsFull() const override { return bracketsFull; }
  int CaretRow() const override { return row; }
  int CaretCol() const override { return col; }
  // Keeps the caret on a place that exists: rows 0 .. row count, not past
  // an end-of-text row.
  void SetCaretRowCol(int r, int c) override {
    int total = rows.GetCount();
    r = std::clamp(r, 0, total);
    if (r == total && total > 0 && rows.RowAttributes(total - 1) == raEnd) r = total - 1;
    row = r;
    col = std::max(c, 0);
  }
  void LimitToRows() override { SetCaretRowCol(row, col); }

  TEditorScreenStrings& ScreenStrings() override { return rows; }
  TScreenEditor& ScreenEditor() override { return *this; }

  TEditorFountain fountain;
  int tabWidth = 8;
  int screenRows = 50;
  bool bracketsFull = false;
  int row = 0;
  int col = 0;
  TEditorScreenStrings rows;
  TEditorStrings lines;
};

}  // namespace kelu
