#include "editor/model/Undo.h"

#include <algorithm>

#include "editor/model/ScreenStrings.h"

namespace kelu {

void TEditorUndoObj::SetUndoListMax(int value) {
  max_ = std::max(value, kMinimumUndoListMax);
}

TUndoData& TEditorUndoObj::NewRecord() {
  TUndoData& record = undo_.Add();
  if (TScreenEditor* focused = list_->FocusedEditor()) {
    record.caretRow = focused->CaretRow();
    record.caretCol = focused->CaretCol();
  }
  if (undo_.Count() > max_) undo_.DeleteFirst();
  if (!replaying_) redo_.Clear();
  return undo_.Last();
}

void TEditorUndoObj::AddRedoRecord(const TUndoData& record) {
  TUndoData& r = redo_.Add();
  r.row = record.row;
  r.rowCount = record.rowCount;
  r.rowAttribute = record.rowAttribute;
  r.text = record.text;
  if (TScreenEditor* focused = list_->FocusedEditor()) {
    r.caretRow = focused->CaretRow();
    r.caretCol = focused->CaretCol();
  }
}

void TEditorUndoObj::Clear() {
  redo_.Clear();
  undo_.Clear();
}

TEditorUndoObj::Restored TEditorUndoObj::Restore(const TUndoData& record) {
  Restored r{{}, raNone, 0};
  int current = 0;
  if (record.rowCount > 0) {
    list_->GetLineText(record.row, record.rowCount, r.attribute, current, r.text);
  }
  TEditorStringList rows;
  if (record.rowAttribute != raNone) {
    // The rows in front of the restored ones stand as they did, so the same
    // rule as for the change itself applies.
    list_->MakeRows(record.row, record.text, record.rowAttribute, rows);
  }
  r.rowCount = rows.GetCount();
  list_->SpliceRows(record.row, current, rows);
  int reparsed = list_->ReparseFrom(record.row, true);
  list_->SetLastChange({record.row, current, r.rowCount, reparsed, true});
  return r;
}

namespace {

// Hides the focused editor's caret and opens an update of the list for the
// length of a restoration; both are closed also when it fails.
class RestoreScope {
 public:
  explicit RestoreScope(TEditorScreenStrings* list) : list_(list), editor_(list->FocusedEditor()) {
    if (editor_) editor_->CaretBeginUpdate();
    list_->BeginUpdate();
  }
  ~RestoreScope() {
    if (open_) list_->EndUpdate();
    if (editor_) editor_->CaretEndUpdate();
  }
  // Ends the update early, before the caret moves.
  void EndUpdate() {
    open_ = false;
    list_->EndUpdate();
  }
  TScreenEditor* Editor() const { return editor_; }

 private:
  TEditorScreenStrings* list_;
  TScreenEditor* editor_;
  bool open_ = true;
};

}  // namespace

void TEditorUndoObj::Undo() {
  if (undo_.Empty()) return;
  TUndoData& record = undo_.Last();
  RestoreScope scope(list_);
  Restored restored = Restore(record);
  TUndoData inverse = record;
  inverse.rowCount = restored.rowCount;
  inverse.rowAttribute = restored.attribute;
  inverse.text = std::move(restored.text);
  AddRedoRecord(inverse);
  scope.EndUpdate();
  if (scope.Editor()) scope.Editor()->SetCaretRowCol(record.caretRow, record.caretCol);
  undo_.DeleteLast();
}

void TEditorUndoObj::Redo() {
  if (redo_.Empty()) return;
  TUndoData& record = redo_.Last();
  RestoreScope scope(list_);
  Restored restored = Restore(record);
  replaying_ = true;
  try {
    TUndoData& again = NewRecord();
    again.row = record.row;
    again.rowCount = restored.rowCount;
    again.rowAttribute = restored.attribute;
    again.text = std::move(restored.text);
  } catch (...) {
    replaying_ = false;
    throw;
  }
  replaying_ = false;
  scope.EndUpdate();
  if (scope.Editor()) scope.Editor()->SetCaretRowCol(record.caretRow, record.caretCol);
  redo_.DeleteLast();
}

}  // namespace kelu
