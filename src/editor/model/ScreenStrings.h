// The list of screen rows an editor shows, and the one place where text is
// changed: every edit ends in ReplaceRows, which re-wraps the touched rows,
// moves row marks, records the change for undo, recomputes the colouring
// state only as far as it changed, and tells every editor that shows the list
// what changed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextCodec.h"
#include "editor/model/ColumnMap.h"
#include "editor/model/RowList.h"
#include "editor/model/ScreenEditor.h"
#include "editor/model/WrapOption.h"

namespace kelu {

class TEditorUndoObj;

// What the latest ReplaceRows (or Clear) changed, for the editors while they
// repaint.
struct TLastChange {
  int firstRow = 0;
  int oldRowCount = 0;
  int newRowCount = 0;
  int reparsedRows = 0;
  bool changed = false;
};

class TEditorScreenStrings : public TEditorStringList {
 public:
  KELU_CLASS_NAME(TEditorScreenStrings)

  // `owner` is the first editor; its settings are the list's.
  explicit TEditorScreenStrings(TScreenEditor* owner);
  ~TEditorScreenStrings() override;

  // Editors that show the list. RemoveEditor returns true when none is left:
  // the caller then frees the list.
  void AddEditor(TScreenEditor* editor);
  bool RemoveEditor(TScreenEditor* editor);
  const std::vector<TScreenEditor*>& Editors() const { return editors_; }
  TScreenEditor* Owner() const { return editors_.empty() ? nullptr : editors_.front(); }
  // The first editor that has the input focus, else the owner.
  TScreenEditor* FocusedEditor() const;

  // The first and the last row of the logical line holding `row`.
  int RowStart(int row) const;
  int RowEnd(int row) const;
  // The texts of rows row .. row + count - 1 (count -1: to RowEnd(row)), each
  // followed by CR LF when it ends with a line break.
  void GetLineText(int row, int count, TRowAttribute& attribute, int& rowCount,
                   std::string& text) const;
  // Removes n rows; returns the union of their marks.
  std::uint16_t DeleteRows(int row, int n);
  // Replaces rows row .. row + count - 1 by the rows of `list` (taken out of
  // it), moving row marks.
  void PutRows(int row, int count, TEditorStringList& list);
  // The editing primitive: rows row .. row + count - 1 are replaced by `text`
  // (CR LF line breaks); count 0 inserts before `row`.
  void ReplaceRows(int row, int count, std::string_view text);
  // Cuts `text` into rows by the word-wrap rules.
  virtual void WrapText(std::string_view text, TEditorStringList& strings) const;
  virtual int CountWrappedRows(std::string_view line) const;
  // The rows that `text` takes in place of rows from `firstRow` on, the last
  // one with attribute `last`.
  void MakeRows(int firstRow, std::string_view text, TRowAttribute last,
                TEditorStringList& rows) const;
  static bool EndsWithLineBreak(std::string_view text);

  // Recomputes colouring states from `row` on, as far as they changed and at
  // most two screens ahead; returns the number of rows stored.
  int ReparseFrom(int row, bool notify);
  void ReparseAll();
  // Makes sure row `row` has its colouring state (for painting).
  void EnsureRowState(int row);
  void RewrapAll();
  void UnwrapAll();
  void RepaintEditors();

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // The owner's tab width changed: with word wrap on the rows are wrapped
  // again, since a tab's width decides where a row ends.
  void TabWidthChanged();
  TEditorWrapOption& WrapOption() { return *wrapOption_; }
  const TEditorWrapOption& WrapOption() const { return *wrapOption_; }
  // The column settings of the owner: tab width, delimiters, wrap.
  TColumnMapSettings MapSettings() const;

  // The conversion between this text and Unicode (one per document, shared
  // by every editor that shows the list). SetCodec takes over the mapping a
  // decoder made for the text.
  TTextCodec& Codec() { return codec_; }
  const TTextCodec& Codec() const { return codec_; }
  void SetCodec(const TTextCodec& codec) { codec_ = codec; }

  TEditorUndoObj& UndoObj() { return *undo_; }
  virtual void Undo();
  virtual void Redo();

  // The union of the row marks of all rows.
  virtual std::uint16_t MarksInUse() const;
  virtual void RemoveMarks(std::uint16_t marks);
  virtual void AddMarks(std::uint16_t marks);

  const TLastChange& LastChange() const { return lastChange_; }
  void SetLastChange(const TLastChange& change) { lastChange_ = change; }

  void Insert(int index, std::string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  void SetUpdateState(bool updating) override;

  // Logical lines: with word wrap off every row is a line; with it on a
  // line is a run of raWrap rows and the row after them. Kept in an index
  // that ReplaceRows updates in place.
  int LineCount() const;
  // The first row of line `line`; the row count for line == LineCount().
  int LineToRow(int line) const;
  // The line holding `row`.
  int RowToLine(int row) const;

  // Replaces the rows S .. S + oldCount - 1 by the rows of `rows` with row
  // marks moved, and keeps the line index in step; used by ReplaceRows and
  // by undo.
  void SpliceRows(int firstRow, int oldCount, TEditorStringList& rows);
  // The row list changed in a way the line index cannot follow.
  void InvalidateLineIndex() { lineIndexValid_ = false; }

 protected:
  virtual std::unique_ptr<TEditorUndoObj> CreateUndoObj();

 private:
  void EditorsChanged(TObject* sender);
  void WrapOptionChanged(TObject* sender);
  void RewrapAndRepaint(bool rewrap);
  // Builds a whole new set of rows with change notification off and puts
  // them in place of the old ones.
  template <class Build>
  void RebuildRows(Build&& build);
  void SetNotComputed(int row);
  void BuildLineIndex() const;
  bool OwnerLoading() const;

  std::vector<TScreenEditor*> editors_;
  TTextCodec codec_;
  TLastChange lastChange_;
  mutable std::uint16_t marksInUse_ = 0;
  mutable bool marksDirty_ = false;
  std::unique_ptr<TEditorUndoObj> undo_;
  bool wordWrap_ = false;
  std::unique_ptr<TEditorWrapOption> wrapOption_;
  // The tab width the rows were last wrapped with.
  mutable int wrappedTabWidth_ = 0;
  // The wrap options as last reported: a report of the same options (an
  // assignment of what the rows already have) folds nothing again.
  TEditorWrapOption wrappedWith_;

  // First row of every logical line (word wrap on only).
  mutable std::vector<int> lineStarts_;
  mutable bool lineIndexValid_ = false;
};

}  // namespace kelu
