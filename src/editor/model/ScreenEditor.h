// What the row list needs from an editor that shows it. The editor widget
// implements this; tests use a small fake.
#pragma once

#include "editor/model/ColumnMap.h"

namespace kelu {

class TFountain;

class TScreenEditor {
 public:
  virtual ~TScreenEditor() = default;

  // Settings the row list reads from its owner (the first editor).
  virtual int TabSpaceCount() const = 0;
  virtual const TDelimiters& Delimiters() const { return DefaultDelimiters(); }
  // The fountain whose parser computes the rows' colouring state.
  virtual TFountain& ActiveFountain() = 0;
  // Re-parse every row on a full re-parse, not just the first screens.
  virtual bool InitBracketsFull() const { return false; }
  // How many rows a screen holds: the screen height divided by the row
  // height, at least 1. Re-colouring looks two screens ahead.
  virtual int ScreenRows() const { return 50; }
  virtual int TopRow() const { return 0; }
  virtual bool Focused() const { return false; }
  // The owner is being loaded (settings not complete) or destroyed.
  virtual bool Loading() const { return false; }
  virtual bool Destroying() const { return false; }

  // The caret.
  virtual int CaretRow() const = 0;
  virtual int CaretCol() const = 0;
  // Moves the caret to a place (limited to valid places by the editor).
  virtual void SetCaretRowCol(int row, int col) = 0;
  // Hide the caret for a change; nested.
  virtual void CaretBeginUpdate() {}
  virtual void CaretEndUpdate() {}
  virtual void HideUnderline() {}
  virtual void ShowUnderline() {}
  virtual void UpdateCaret() {}

  // Notifications from the row list.
  virtual void CleanSelection() {}
  // Row `row` got a new colouring state: repaint it.
  virtual void InvalidateRow(int /*row*/) {}
  // Recompute metrics and repaint everything.
  virtual void RepaintEditor() {}
  // The text changed; the last-change record of the row list says where.
  virtual void RowsChanged() {}
  // Keep the caret row and the top row within the rows (after an update).
  virtual void LimitToRows() {}
  // The lines are being updated (bracketed by the Lines view).
  virtual void SetLinesUpdating(bool /*updating*/) {}
  // Switch screen updates off and on around a bulk change.
  virtual void SetRedraw(bool /*on*/) {}
};

}  // namespace kelu
