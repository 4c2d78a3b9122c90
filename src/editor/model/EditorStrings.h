// The editor's Lines: the text as logical lines (text between line breaks)
// over the row list of screen rows. Every change goes through ReplaceRows,
// so it is re-wrapped, re-coloured, recorded for undo and repainted like a
// typed change.
#pragma once

#include <string>
#include <string_view>

#include "base/Strings.h"

namespace kelu {

class TEditorScreenStrings;
class TScreenEditor;

// What Lines needs from its editor besides the row list.
class TLinesEditor {
 public:
  virtual ~TLinesEditor() = default;
  virtual TEditorScreenStrings& ScreenStrings() = 0;
  virtual TScreenEditor& ScreenEditor() = 0;
};

class TEditorStrings : public TStrings {
 public:
  KELU_CLASS_NAME(TEditorStrings)

  explicit TEditorStrings(TLinesEditor* editor) : editor_(editor) {}

  // The row where logical line `index` starts; the row count for
  // index == Count().
  int LineToRow(int index) const;

  std::string Get(int index) const override;
  // Gets line `index` into `out`, reusing its storage (for walking all lines).
  void GetInto(int index, std::string& out) const;
  int GetCount() const override;
  void Put(int index, std::string_view s) override;
  void Insert(int index, std::string_view s) override;
  int Add(std::string_view s) override;
  void Delete(int index) override;
  void Clear() override;
  std::string GetTextStr() const override;
  void SetTextStr(std::string_view value) override;
  void LoadFromFile(const std::string& fileName) override;
  void Assign(const TPersistent& source) override;
  void SetUpdateState(bool updating) override;

  // Puts the caret `offset` bytes after the start of row `refRow` (a line
  // break counts 2; past the end: the last place of the text).
  void SetCaretOffset(int refRow, std::size_t offset);

 private:
  TEditorScreenStrings& Rows() const { return editor_->ScreenStrings(); }
  TScreenEditor& Editor() const { return editor_->ScreenEditor(); }
  void CheckIndex(int index, int limit) const;
  // Runs an edit with the selection removed and the caret hidden.
  template <class F>
  void Edit(F&& f);

  TLinesEditor* editor_;
  int updateCount_ = 0;
};

}  // namespace kelu
