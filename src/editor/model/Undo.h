// Undo and redo: one record per ReplaceRows, restored by the same row
// replacement in reverse. The history belongs to the row list, so editors
// that share a list share it.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>

#include "editor/model/RowList.h"

namespace kelu {

class TEditorScreenStrings;

struct TUndoData {
  std::int32_t caretRow = 0;
  std::int32_t caretCol = 0;
  std::int32_t row = -1;                // first row of the change
  std::int32_t rowCount = 0;            // rows the change produced
  TRowAttribute rowAttribute = raNone;  // attribute of the last replaced row
  std::string text;                     // the replaced rows' text, CR LF after each raBreak row
};

class TUndoDataList {
 public:
  TUndoData& Add() { return *items_.emplace_back(std::make_unique<TUndoData>()); }
  void Clear() { items_.clear(); }
  void DeleteFirst() { items_.pop_front(); }
  void DeleteLast() { items_.pop_back(); }
  bool Empty() const { return items_.empty(); }
  int Count() const { return static_cast<int>(items_.size()); }
  TUndoData& Last() { return *items_.back(); }
  const TUndoData& At(int i) const { return *items_[i]; }

 private:
  std::deque<std::unique_ptr<TUndoData>> items_;
};

class TEditorUndoObj {
 public:
  static constexpr int kMinimumUndoListMax = 64;

  explicit TEditorUndoObj(TEditorScreenStrings* list) : list_(list) {}
  virtual ~TEditorUndoObj() = default;

  // A fresh record with the focused editor's caret, appended to the undo
  // list; the oldest record goes when the list is over the maximum; the redo
  // list is cleared unless a redo is replaying.
  virtual TUndoData& NewRecord();
  virtual bool CanRedo() const { return !redo_.Empty(); }
  virtual bool CanUndo() const { return !undo_.Empty(); }
  virtual void Redo();
  virtual void Undo();
  virtual void AddRedoRecord(const TUndoData& record);
  virtual void Clear();

  int UndoListMax() const { return max_; }
  // Never below 64.
  void SetUndoListMax(int value);

  const TUndoDataList& UndoList() const { return undo_; }
  const TUndoDataList& RedoList() const { return redo_; }

 private:
  struct Restored {
    std::string text;
    TRowAttribute attribute;
    int rowCount;
  };
  // Puts the record's text back in place of the rows it produced; returns
  // what those rows held.
  Restored Restore(const TUndoData& record);

  TEditorScreenStrings* list_;
  int max_ = kMinimumUndoListMax;
  bool replaying_ = false;
  TUndoDataList redo_;
  TUndoDataList undo_;
};

}  // namespace kelu
