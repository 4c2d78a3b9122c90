#include "editor/model/ScreenStrings.h"

#include <algorithm>
#include <cstring>

#include "editor/fountain/Fountain.h"
#include "editor/model/TextUtils.h"
#include "editor/model/Undo.h"
#include "editor/model/Wrap.h"

namespace kelu {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// Calls f() within BeginUpdate/EndUpdate of `list`; the update is closed
// also when f throws.
template <class F>
void InUpdate(TStrings& list, F&& f) {
  list.BeginUpdate();
  try {
    f();
  } catch (...) {
    list.EndUpdate();
    throw;
  }
  list.EndUpdate();
}

}  // namespace

TEditorScreenStrings::TEditorScreenStrings(TScreenEditor* owner)
    : wrapOption_(std::make_unique<TEditorWrapOption>()) {
  if (owner) editors_.push_back(owner);
  undo_ = CreateUndoObj();
  wrapOption_->OnChange = TNotifyEvent::Of<&TEditorScreenStrings::WrapOptionChanged>(this);
  OnChange = TNotifyEvent::Of<&TEditorScreenStrings::EditorsChanged>(this);
  // Before the codec hands out a code, the codes the text already uses for
  // user-defined characters are taken (once after each new text).
  codec_.SetScanner([this](TTextCodec& codec) {
    for (int r = 0; r < GetCount(); ++r) codec.Reserve(View(r));
  });
}

TEditorScreenStrings::~TEditorScreenStrings() {
  OnChange = {};
  OnChanging = {};
  wrapOption_->OnChange = {};
}

std::unique_ptr<TEditorUndoObj> TEditorScreenStrings::CreateUndoObj() {
  return std::make_unique<TEditorUndoObj>(this);
}

// ------------------------------------------------------------------ editors

void TEditorScreenStrings::AddEditor(TScreenEditor* editor) {
  if (editor && std::find(editors_.begin(), editors_.end(), editor) == editors_.end()) {
    editors_.push_back(editor);
  }
}

bool TEditorScreenStrings::RemoveEditor(TScreenEditor* editor) {
  std::erase(editors_, editor);
  return editors_.empty();
}

TScreenEditor* TEditorScreenStrings::FocusedEditor() const {
  for (TScreenEditor* e : editors_) {
    if (e->Focused()) return e;
  }
  return Owner();
}

bool TEditorScreenStrings::OwnerLoading() const {
  TScreenEditor* owner = Owner();
  return owner && owner->Loading();
}

TColumnMapSettings TEditorScreenStrings::MapSettings() const {
  TColumnMapSettings s;
  if (TScreenEditor* owner = Owner()) {
    s.tabWidth = owner->TabSpaceCount();
    s.delimiters = &owner->Delimiters();
  }
  s.wordWrap = wordWrap_;
  s.wrapByte = wrapOption_->WrapByte();
  return s;
}

void TEditorScreenStrings::EditorsChanged(TObject* /*sender*/) {
  for (TScreenEditor* e : std::vector<TScreenEditor*>(editors_)) e->RowsChanged();
}

void TEditorScreenStrings::RepaintEditors() {
  for (TScreenEditor* e : std::vector<TScreenEditor*>(editors_)) e->RepaintEditor();
}

// ------------------------------------------------------------- row queries

int TEditorScreenStrings::RowStart(int row) const {
  while (row > 0 && row - 1 < GetCount() && Item(row - 1).attributes % 4 == raWrap) --row;
  return row;
}

int TEditorScreenStrings::RowEnd(int row) const {
  if (row < 0) return row;
  while (row < GetCount() - 1 && Item(row).attributes % 4 == raWrap) ++row;
  return row;
}

void TEditorScreenStrings::GetLineText(int row, int count, TRowAttribute& attribute, int& rowCount,
                                       std::string& text) const {
  attribute = raNone;
  rowCount = 0;
  text.clear();
  if (row < 0 || row >= GetCount()) return;
  int last = count == -1 ? RowEnd(row) : row + count - 1;
  last = std::min(last, GetCount() - 1);
  if (last < row) return;
  std::size_t size = 0;
  for (int r = row; r <= last; ++r) size += Item(r).length + 2;
  text.reserve(size);
  for (int r = row; r <= last; ++r) {
    text += View(r);
    if (RowAttributes(r) == raBreak) text += kCrLf;
  }
  attribute = RowAttributes(last);
  rowCount = last - row + 1;
}

// ---------------------------------------------------------------- changing

std::uint16_t TEditorScreenStrings::DeleteRows(int row, int n) {
  if (row < 0 || row >= GetCount() || n == 0) return 0;
  n = std::min(n, GetCount() - row);
  std::uint16_t marks = 0;
  InUpdate(*this, [&] {
    for (int r = row; r < row + n; ++r) marks |= RowMarks(r);
    DeleteItems(row, n);
    lastChange_.changed = true;
  });
  if (marks) marksDirty_ = true;
  return marks;
}

void TEditorScreenStrings::PutRows(int row, int count, TEditorStringList& list) {
  const int n = list.GetCount();
  InUpdate(*this, [&] {
    std::vector<std::uint16_t> marks(static_cast<std::size_t>(n), 0);
    if (n < count) {
      std::uint16_t deleted = DeleteRows(row, count - n);
      for (int i = 0; i < n; ++i) marks[i] = RowMarks(row + i);
      if (n == 0) {
        RemoveMarks(deleted);
      } else {
        marks[0] |= deleted;
      }
    } else if (n > count) {
      if (count > 0) {
        for (int i = 1; i < count; ++i) marks[n - count + i] = RowMarks(row + i);
        TScreenEditor* focused = FocusedEditor();
        bool atColumn0 = focused && focused->CaretCol() == 0;
        marks[atColumn0 ? n - count : 0] |= RowMarks(row);
      }
      InsertItems(row + count, n - count);
    } else {
      for (int i = 0; i < n; ++i) marks[i] = RowMarks(row + i);
    }
    for (int i = 0; i < n; ++i) {
      TakeItem(row + i, list, i);
      SetRowMarks(row + i, marks[i]);
    }
    lastChange_.changed = true;
  });
}

void TEditorScreenStrings::SpliceRows(int first, int oldCount, TEditorStringList& rows) {
  const int n = rows.GetCount();
  const int oldTotal = GetCount();
  if (n == 0) {
    std::uint16_t marks = DeleteRows(first, oldCount);
    if (GetCount() == 0) {
      RemoveMarks(marks);
    } else if (marks) {
      int r = std::min(first, GetCount() - 1);
      SetRowMarks(r, RowMarks(r) | marks);
    }
  } else {
    PutRows(first, oldCount, rows);
  }
  if (!wordWrap_ || !lineIndexValid_) return;

  // Keep the first rows of the lines in step: the starts inside the block
  // and right after it are rebuilt, the ones after it shift.
  const int newTotal = GetCount();
  const int delta = newTotal - oldTotal;
  auto lower = std::lower_bound(lineStarts_.begin(), lineStarts_.end(), first);
  auto upper = std::upper_bound(lower, lineStarts_.end(), first + oldCount);
  std::vector<int> starts;
  if (first < newTotal && (first == 0 || RowAttributes(first - 1) != raWrap)) {
    starts.push_back(first);
  }
  for (int r = first; r < first + n; ++r) {
    if (r + 1 < newTotal && RowAttributes(r) != raWrap) starts.push_back(r + 1);
  }
  if (delta != 0) {
    for (auto it = upper; it != lineStarts_.end(); ++it) *it += delta;
  }
  if (static_cast<std::size_t>(upper - lower) == starts.size()) {
    // The common case of typing: as many lines as before, changed in place.
    std::copy(starts.begin(), starts.end(), lower);
  } else {
    auto at = lineStarts_.erase(lower, upper);
    lineStarts_.insert(at, starts.begin(), starts.end());
  }
}

void TEditorScreenStrings::ReplaceRows(int row, int count, std::string_view text) {
  const int total = GetCount();
  if (!(row >= 0 && row + count - 1 < total && (count > 0 || !text.empty()))) return;
  // Bytes put in as they are (a Shift-JIS paste) may use user-defined codes.
  codec_.Reserve(text);
  InUpdate(*this, [&] {
    const int s = std::max(RowStart(row), row - 1);
    const int l = row + count - 1;
    int e = RowEnd(l);
    if (s == row && e == l && text.empty() && count > 0) {
      TUndoData& record = undo_->NewRecord();
      record.row = row;
      int oldRows;
      GetLineText(row, count, record.rowAttribute, oldRows, record.text);
      TEditorStringList none;
      SpliceRows(row, count, none);
      int reparsed = ReparseFrom(row, true);
      lastChange_ = {row, oldRows, 0, reparsed, true};
      return;
    }
    TRowAttribute attribute;
    if (l < e && e >= 0 && e < total) {
      attribute = RowAttributes(e);
    } else if (e != total - 1) {
      e = RowEnd(e + 1);
      attribute = RowAttributes(e);
    } else {
      attribute = EndsWithLineBreak(text) ? raBreak : raEnd;
    }
    TUndoData& record = undo_->NewRecord();
    record.row = s;
    int oldRows;
    GetLineText(s, e - s + 1, record.rowAttribute, oldRows, record.text);

    std::string newText;
    std::size_t size = text.size();
    for (int r = s; r <= e; ++r) {
      if (r < row || r > l) size += Item(r).length + 2;
    }
    newText.reserve(size);
    auto appendRows = [&](int from, int to) {
      for (int r = from; r <= to; ++r) {
        newText += View(r);
        if (RowAttributes(r) == raBreak) newText += kCrLf;
      }
    };
    appendRows(s, row - 1);
    newText += text;
    appendRows(l + 1, e);
    // An end-of-text row with no text of its own (the rest of a line that
    // exactly filled its row) adds nothing: when the new text ends with a line
    // break, the text goes on ending with one.
    if (attribute == raEnd && EndsWithLineBreak(newText)) attribute = raBreak;

    TEditorStringList rows;
    MakeRows(s, newText, attribute, rows);
    record.rowCount = rows.GetCount();
    const int newRows = rows.GetCount();
    SpliceRows(s, e - s + 1, rows);
    int reparsed = ReparseFrom(s, true);
    lastChange_ = {s, oldRows, newRows, reparsed, true};
  });
}

// --------------------------------------------------------------- wrapping

void TEditorScreenStrings::WrapText(std::string_view text, TEditorStringList& strings) const {
  InUpdate(strings, [&] {
    strings.Clear();
    if (text.empty()) {
      strings.Add({});
      return;
    }
    if (!wordWrap_) {
      SplitLines(text, strings);
      return;
    }
    TEditorStringList lines;
    SplitLines(text, lines);
    strings.SetCapacity(lines.GetCount());
    const TColumnMapSettings settings = MapSettings();
    wrappedTabWidth_ = settings.tabWidth;
    for (int i = 0; i < lines.GetCount(); ++i) {
      std::string_view rest;
      TWrapResult r = WrapLine(
          lines.View(i), *wrapOption_, settings,
          [&](std::string_view row) {
            int index = strings.Add(row);
            strings.SetRowAttributes(index, raWrap);
          },
          &rest);
      if (r.finalRow) {
        strings.Add(rest);
      } else {
        strings.SetRowAttributes(strings.GetCount() - 1, raBreak);
      }
    }
  });
}

bool TEditorScreenStrings::EndsWithLineBreak(std::string_view text) {
  return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

void TEditorScreenStrings::MakeRows(int firstRow, std::string_view text, TRowAttribute last,
                                    TEditorStringList& rows) const {
  WrapText(text, rows);
  if (last == raWrap && rows.GetCount() > 1 && rows.View(rows.GetCount() - 1).empty()) {
    // The replaced rows ended inside a logical line.
    rows.Delete(rows.GetCount() - 1);
  }
  rows.SetRowAttributes(rows.GetCount() - 1, last);
  // Nothing left at the end of the text after a line break is no row at all.
  if (text.empty() && last == raEnd && (firstRow == 0 || RowAttributes(firstRow - 1) == raBreak)) {
    rows.Clear();
  }
}

int TEditorScreenStrings::CountWrappedRows(std::string_view line) const {
  return kelu::CountWrappedRows(line, *wrapOption_, MapSettings());
}

template <class Build>
void TEditorScreenStrings::RebuildRows(Build&& build) {
  TNotifyEvent saved = OnChange;
  OnChange = {};
  try {
    InUpdate(*this, [&] {
      TEditorStringList result;
      build(result);
      SwapItems(result);
      lastChange_.changed = true;
    });
  } catch (...) {
    OnChange = saved;
    throw;
  }
  OnChange = saved;
  lineIndexValid_ = false;
}

void TEditorScreenStrings::RewrapAll() {
  if (GetCount() == 0 || OwnerLoading()) return;
  for (TScreenEditor* e : editors_) e->CleanSelection();
  const TRowAttribute lastAttribute = RowAttributes(GetCount() - 1);
  wrappedTabWidth_ = MapSettings().tabWidth;
  RebuildRows([&](TEditorStringList& result) {
    const TColumnMapSettings settings = MapSettings();
    const int w = wrapOption_->WrapByte();
    result.SetCapacity(GetCount());
    std::string line;
    std::vector<std::uint16_t> rowMarks;
    int row = 0;
    while (row < GetCount()) {
      const int end = RowEnd(row);
      std::uint16_t all = 0;
      rowMarks.clear();
      for (int r = row; r <= end; ++r) {
        rowMarks.push_back(RowMarks(r));
        all |= rowMarks.back();
      }
      std::string_view text;
      if (end == row) {
        text = View(row);
      } else {
        line.clear();
        for (int r = row; r <= end; ++r) line += View(r);
        text = line;
      }
      bool narrow = static_cast<int>(text.size()) < w && text.find('\t') == std::string_view::npos;
      if (!narrow) narrow = TextWidth(text, settings) < w;
      if (narrow) {
        int index = result.GetCount();
        if (end == row) {
          result.InsertItems(index, 1);
          result.TakeItem(index, *this, row);
          result.SetAttributes(index, 0);
          result.SetAttributes2(index, 0);
          result.SetDataStrings(index, {});
        } else {
          result.Add(text);
        }
        result.SetRowAttributes(index, raBreak);
        result.SetRowMarks(index, all);
      } else {
        const int first = result.GetCount();
        std::string_view rest;
        TWrapResult r = WrapLine(
            text, *wrapOption_, settings,
            [&](std::string_view part) {
              int index = result.Add(part);
              result.SetRowAttributes(index, raWrap);
            },
            &rest);
        if (r.finalRow) {
          result.Add(rest);
        } else {
          result.SetRowAttributes(result.GetCount() - 1, raBreak);
        }
        // The old rows' text is no longer needed: release it now, so the
        // text is not held twice while a whole document is re-wrapped.
        for (int k = row; k <= end; ++k) SetText(k, {});
        const int made = result.GetCount() - first;
        for (int i = 0; i < made && i < static_cast<int>(rowMarks.size()); ++i) {
          result.SetRowMarks(first + i, rowMarks[i]);
        }
        for (int i = made; i < static_cast<int>(rowMarks.size()); ++i) {
          int last = result.GetCount() - 1;
          result.SetRowMarks(last, result.RowMarks(last) | rowMarks[i]);
        }
      }
      row = end + 1;
    }
    result.SetRowAttributes(result.GetCount() - 1, lastAttribute);
  });
}

void TEditorScreenStrings::UnwrapAll() {
  if (GetCount() == 0) return;
  for (TScreenEditor* e : editors_) e->CleanSelection();
  TRowAttribute lastAttribute = RowAttributes(GetCount() - 1);
  if (lastAttribute == raWrap) lastAttribute = raEnd;
  RebuildRows([&](TEditorStringList& result) {
    std::string line;
    int row = 0;
    while (row < GetCount()) {
      const int end = RowEnd(row);
      std::uint16_t marks = 0;
      int index = result.GetCount();
      if (end == row) {
        marks = RowMarks(row);
        result.InsertItems(index, 1);
        result.TakeItem(index, *this, row);
        result.SetDataStrings(index, {});
      } else {
        line.clear();
        for (int r = row; r <= end; ++r) {
          line += View(r);
          marks |= RowMarks(r);
        }
        result.Add(line);
      }
      result.SetAttributes(index, 0);
      result.SetAttributes2(index, 0);
      result.SetRowAttributes(index, raBreak);
      result.SetRowMarks(index, marks);
      row = end + 1;
    }
    result.SetRowAttributes(result.GetCount() - 1, lastAttribute);
  });
}

void TEditorScreenStrings::RewrapAndRepaint(bool rewrap) {
  undo_->Clear();
  if (rewrap) {
    RewrapAll();
  } else {
    UnwrapAll();
  }
  ReparseAll();
  RepaintEditors();
  for (TScreenEditor* e : std::vector<TScreenEditor*>(editors_)) {
    e->LimitToRows();
    e->SetCaretRowCol(e->CaretRow(), 0);
  }
}

void TEditorScreenStrings::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  lineIndexValid_ = false;
  if (OwnerLoading()) return;
  RewrapAndRepaint(value);
}

void TEditorScreenStrings::TabWidthChanged() {
  if (wordWrap_ && !OwnerLoading() && MapSettings().tabWidth != wrappedTabWidth_) {
    RewrapAndRepaint(true);
  }
}

void TEditorScreenStrings::WrapOptionChanged(TObject* /*sender*/) {
  if (wrapOption_->Equals(wrappedWith_)) return;
  wrappedWith_.Assign(*wrapOption_);
  if (wordWrap_ && !OwnerLoading()) RewrapAndRepaint(true);
}

// ----------------------------------------------------------------- colouring

void TEditorScreenStrings::SetNotComputed(int row) {
  TheStringItem& item = Item(row);
  item.attributes &= 0x3;           // the row's own attribute stays
  item.attributes2 &= 0xFFFF0000u;  // the marks stay
  if (item.dataString) SetDataStrings(row, {});
}

int TEditorScreenStrings::ReparseFrom(int row, bool notify) {
  const int total = GetCount();
  if (row < 0 || row >= total) return 0;
  TScreenEditor* owner = Owner();
  if (!owner) return 0;
  std::unique_ptr<TFountainParser> parser = owner->ActiveFountain().CreateParser();

  TRowAttributeData state;
  // Where a line starts fresh the search for a known state ends at the
  // line's first row: the lines above do not matter.
  const int floor = owner->ActiveFountain().LinesStartFresh() ? RowStart(row) : 0;
  int r = row - 1;
  while (r >= floor && BracketIndexes(r) == -2) --r;
  if (r < floor && floor > 0) {
    r = floor;
    state = FirstRowState(RowAttributes(floor));
  } else if (r >= 0) {
    state = RowState(r);
    state.RowAttribute = RowAttributes(r);
    parser->RowStep(r, *this, state);
    state.PrevRowAttribute = RowAttributes(r);
    ++r;
  } else {
    r = 0;
    state = FirstRowState(RowAttributes(0));
  }
  const int windowEnd = std::min(row + 2 * std::max(owner->ScreenRows(), 1), total - 1);
  int stored = 0;
  for (; r <= windowEnd; ++r) {
    state.RowAttribute = RowAttributes(r);
    if (BracketIndexes(r) != -2 && RowState(r).SameCarriedState(state)) return stored;
    SetRowState(r, state);
    if (notify) {
      ++stored;
      for (TScreenEditor* e : editors_) e->InvalidateRow(r);
    }
    parser->RowStep(r, *this, state);
    state.PrevRowAttribute = RowAttributes(r);
  }
  // After an edit the rows below the window may hold states that no longer
  // follow; a pass for painting only fills in unknown states, and every
  // state already known is right.
  if (!notify) return stored;
  for (int k = windowEnd + 1; k < total; ++k) {
    const TheStringItem& item = Item(k);
    if ((item.attributes & ~0x3u) != 0 || (item.attributes2 & 0xFFFF) != 0 || item.dataString) {
      SetNotComputed(k);
    }
  }
  return stored;
}

void TEditorScreenStrings::ReparseAll() {
  TScreenEditor* owner = Owner();
  if (!owner || owner->Loading() || owner->Destroying()) return;
  const int total = GetCount();
  for (int r = 0; r < total; ++r) SetNotComputed(r);
  if (total == 0) return;
  const int screens = 2 * std::max(owner->ScreenRows(), 1);
  const int windowEnd =
      owner->InitBracketsFull() ? total - 1 : std::min(total - 1, owner->TopRow() + screens);
  std::unique_ptr<TFountainParser> parser = owner->ActiveFountain().CreateParser();
  TRowAttributeData state = FirstRowState(RowAttributes(0));
  for (int r = 0; r <= windowEnd; ++r) {
    state.RowAttribute = RowAttributes(r);
    SetRowState(r, state);
    parser->RowStep(r, *this, state);
    state.PrevRowAttribute = RowAttributes(r);
  }
}

void TEditorScreenStrings::EnsureRowState(int row) {
  if (row >= 0 && row < GetCount() && BracketIndexes(row) == -2) ReparseFrom(row, false);
}

// --------------------------------------------------------------- undo, marks

void TEditorScreenStrings::Undo() {
  undo_->Undo();
}
void TEditorScreenStrings::Redo() {
  undo_->Redo();
}

std::uint16_t TEditorScreenStrings::MarksInUse() const {
  if (marksDirty_) {
    std::uint16_t all = 0;
    for (int r = 0; r < GetCount(); ++r)
      all |= static_cast<std::uint16_t>(Item(r).attributes2 >> 16);
    marksInUse_ = all;
    marksDirty_ = false;
  }
  return marksInUse_;
}

void TEditorScreenStrings::RemoveMarks(std::uint16_t marks) {
  // A picture mark may stand on several rows: recount on the next query.
  if (marks) marksDirty_ = true;
}

void TEditorScreenStrings::AddMarks(std::uint16_t marks) {
  marksInUse_ |= marks;
}

// ------------------------------------------------------------------ updates

void TEditorScreenStrings::Insert(int index, std::string_view s) {
  lineIndexValid_ = false;
  TEditorStringList::Insert(index, s);
}

void TEditorScreenStrings::Delete(int index) {
  lineIndexValid_ = false;
  TEditorStringList::Delete(index);
}

void TEditorScreenStrings::Clear() {
  for (TScreenEditor* e : std::vector<TScreenEditor*>(editors_)) e->CleanSelection();
  undo_->Clear();
  lastChange_ = {0, GetCount(), 0, 0, true};
  TEditorStringList::Clear();
  lastChange_ = {};
  for (TScreenEditor* e : std::vector<TScreenEditor*>(editors_)) e->SetCaretRowCol(0, 0);
  marksInUse_ = 0;
  marksDirty_ = false;
  lineStarts_.clear();
  lineIndexValid_ = true;
  codec_.SetScanPending();
}

void TEditorScreenStrings::SetUpdateState(bool updating) {
  TEditorStringList::SetUpdateState(updating);
  if (!updating && OwnUpdateCount() == 0) {
    lastChange_ = {};
    for (TScreenEditor* e : std::vector<TScreenEditor*>(editors_)) e->LimitToRows();
  }
}

// ------------------------------------------------------------- line index

void TEditorScreenStrings::BuildLineIndex() const {
  lineStarts_.clear();
  const int total = GetCount();
  if (total > 0) {
    lineStarts_.reserve(static_cast<std::size_t>(total));
    lineStarts_.push_back(0);
    for (int r = 0; r + 1 < total; ++r) {
      if (Item(r).attributes % 4 != raWrap) lineStarts_.push_back(r + 1);
    }
    lineStarts_.shrink_to_fit();
  }
  lineIndexValid_ = true;
}

int TEditorScreenStrings::LineCount() const {
  if (!wordWrap_) return GetCount();
  if (!lineIndexValid_) BuildLineIndex();
  return static_cast<int>(lineStarts_.size());
}

int TEditorScreenStrings::LineToRow(int line) const {
  if (!wordWrap_) return line;
  if (!lineIndexValid_) BuildLineIndex();
  if (line >= static_cast<int>(lineStarts_.size())) return GetCount();
  if (line < 0) return line;
  return lineStarts_[static_cast<std::size_t>(line)];
}

int TEditorScreenStrings::RowToLine(int row) const {
  if (!wordWrap_) return row;
  if (!lineIndexValid_) BuildLineIndex();
  if (row >= GetCount()) return static_cast<int>(lineStarts_.size());
  auto it = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), row);
  return static_cast<int>(it - lineStarts_.begin()) - 1;
}

}  // namespace kelu
