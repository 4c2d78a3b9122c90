// TEditor: places (row and display column), the caret and its goal column,
// the system caret, the selection with its state machine, search hits,
// byte offsets and the edit-control queries.
#include <QGuiApplication>
#include <algorithm>

#include "editor/control/Editor.h"
#include "editor/control/EditorResources.h"

namespace kelu {

namespace {

// Restores a flag when leaving a scope, also on an exception.
class TFlagScope {
 public:
  TFlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
  ~TFlagScope() { flag_ = saved_; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& flag_;
  bool saved_;
};

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

// ------------------------------------------------------------ text helpers

std::string_view TEditor::RowText(int row) const {
  if (row < 0 || row >= rows_->GetCount()) return {};
  return rows_->View(row);
}

TColumnMapSettings TEditor::MapSettings() const {
  TColumnMapSettings s;
  s.tabWidth = caret_->TabSpaceCount();
  s.delimiters = &Delimiters();
  s.wordWrap = rows_->WordWrap();
  s.wrapByte = rows_->WrapOption().WrapByte();
  return s;
}

std::string TEditor::ColumnMap(std::string_view s) const {
  return kelu::ColumnMap(s, MapSettings());
}

int TEditor::TextWidth(std::string_view s) const {
  return kelu::TextWidth(s, MapSettings());
}

std::string TEditor::ExpandTabs(std::string_view s) const {
  return kelu::ExpandTabs(s, MapSettings());
}

int TEditor::RowEndCol(int row) const {
  if (row < 0 || row >= rows_->GetCount()) return 0;
  return static_cast<int>(ColumnMap(RowText(row)).size());
}

int TEditor::ByteOfCol(int row, int col) const {
  std::string_view s = RowText(row);
  return ColumnToByte(ColumnMap(s), col, static_cast<int>(s.size()));
}

int TEditor::ColOfByte(int row, int byte) const {
  return ByteToColumn(RowText(row), byte, MapSettings());
}

int TEditor::CaretByte() const {
  return ByteOfCol(row_, col_);
}

int TEditor::RowLengthWithBreak(int row, bool endCounts) const {
  if (row < 0 || row >= rows_->GetCount()) return 0;
  int n = static_cast<int>(rows_->View(row).size());
  switch (rows_->RowAttributes(row)) {
    case raBreak:
      return n + 2;
    case raEnd:
      return endCounts ? n + 1 : n;
    default:
      return n;
  }
}

int TEditor::TextLength() const {
  int total = 0;
  for (int r = 0; r < rows_->GetCount(); ++r) total += RowLengthWithBreak(r, false);
  return total;
}

int TEditor::OffsetOf(int row, int byte) const {
  int offset = 0;
  const int last = std::min(row, rows_->GetCount());
  for (int r = 0; r < last; ++r) offset += RowLengthWithBreak(r, false);
  return offset + std::clamp(byte, 0, static_cast<int>(RowText(row).size()));
}

int TEditor::LastCaretRow() const {
  const int count = rows_->GetCount();
  return count > 0 && rows_->RowAttributes(count - 1) == raEnd ? count - 1 : count;
}

TRowCol TEditor::LastPlace() const {
  const int count = rows_->GetCount();
  if (count > 0 && rows_->RowAttributes(count - 1) == raEnd) {
    return {count - 1, RowEndCol(count - 1)};
  }
  return {count, 0};
}

namespace {

// Walks rows from `row` until `offset` bytes are covered: each row counts
// its bytes plus 2 for a line break, 1 for the end-of-text row, nothing for
// a wrapped row. The place is in the row where the offset falls, at the
// column of the remaining bytes (limited to the row's end); past the end of
// the text, `last`.
TRowCol WalkOffset(const TEditorScreenStrings& rows, int row, int offset, TRowCol last,
                   const TColumnMapSettings& settings) {
  const int count = rows.GetCount();
  int r = std::max(row, 0);
  int remaining = std::max(offset, 0);
  while (r < count) {
    const TRowAttribute a = rows.RowAttributes(r);
    const int n = static_cast<int>(rows.View(r).size());
    const int length = n + (a == raBreak ? 2 : a == raEnd ? 1 : 0);
    if (remaining < length || a == raEnd) break;
    remaining -= length;
    ++r;
  }
  if (r >= count) return last;
  std::string_view text = rows.View(r);
  const int bytes = std::min(remaining, static_cast<int>(text.size()));
  return {r, ByteToColumn(text, bytes, settings)};
}

}  // namespace

TRowCol TEditor::PlaceOfOffset(int offset) const {
  if (offset <= 0) return {0, 0};
  return WalkOffset(*rows_, 0, offset, LastPlace(), MapSettings());
}

// ------------------------------------------------------------ caret places

void TEditor::SetRow(int value) {
  if (value == row_ && row_ != RowCount()) return;
  HideUnderline();
  const int oldCol = col_;
  row_ = std::clamp(value, 0, RowCount());
  if (row_ == RowCount() && row_ > 0 && rows_->RowAttributes(row_ - 1) == raEnd)
    row_ = RowCount() - 1;
  AdjustCol(true, -1);
  if (ruler_->Visible() && col_ != oldCol) {
    EraseRulerMark(oldCol);
    DrawRulerMark(col_);
  }
  ShowUnderline();
}

void TEditor::SetCol(int value) {
  value = std::clamp(value, 0, kMaxCol + 1);
  if (ruler_->Visible()) EraseRulerMark(col_);
  const int old = col_;
  col_ = value;
  AdjustCol(false, value > old ? 1 : -1);
  if (ruler_->Visible()) DrawRulerMark(col_);
}

void TEditor::AdjustCol(bool useGoal, int direction) {
  const std::string map = ColumnMap(RowText(row_));
  const int w = static_cast<int>(map.size());
  auto at = [&](int c) { return c >= 0 && c < w ? map[static_cast<std::size_t>(c)] : '\0'; };

  if (!useGoal) {
    goalSet_ = false;
  } else if (goalSet_) {
    col_ = goalCol_;
  }
  // A column that had to be changed is remembered as the goal of vertical
  // moves (not while SetRowCol places the caret).
  auto save = [&](int c) {
    if (useGoal && !goalSet_ && !placing_) {
      goalCol_ = c;
      goalSet_ = true;
    }
  };

  if (!caret_->FreeCaret() && col_ > w) {
    if (caret_->KeepCaret()) save(leftButtonDown_ ? w : col_);
    if (!(caret_->FreeRow() && useGoal && !leftButtonDown_)) {
      col_ = w;
      if (!caret_->KeepCaret()) goalSet_ = false;
    }
  }
  if (at(col_) == '5') {
    save(col_);
    col_ += direction;
  }
  if (!caret_->InTab() && at(col_) == '3') {
    save(col_);
    while (at(col_) == '3') col_ += direction;
  }
  if (rows_->WordWrap() && col_ >= w) {
    save(col_);
    const int wrapByte = rows_->WrapOption().WrapByte();
    if (row_ < RowCount() && rows_->RowAttributes(row_) == raWrap) {
      col_ = std::max(w - 1, 0);
    } else if (col_ >= wrapByte) {
      col_ = std::max(w, wrapByte - 1);
    }
    if (at(col_) == '5') --col_;
    if (!caret_->InTab()) {
      while (col_ > 0 && at(col_) == '3') --col_;
    }
  }
  if (col_ > kMaxCol && at(kMaxCol - 1) != '4') col_ = kMaxCol;
  col_ = std::max(col_, 0);
  if (!placing_) UpdateCaret();
}

void TEditor::SetRowCol(int row, int col) {
  if (row == row_ && col == col_) return;
  {
    TFlagScope placing(placing_, true);
    SetRow(row);
    const std::string map = ColumnMap(RowText(row_));
    const int w = static_cast<int>(map.size());
    auto at = [&](int c) { return c >= 0 && c < w ? map[static_cast<std::size_t>(c)] : '\0'; };
    int c = std::max(col, 0);
    if (at(c) == '5') --c;
    if (!caret_->InTab()) {
      while (c > 0 && at(c) == '3') --c;
    }
    SetCol(c);
  }
  UpdateCaret();
}

void TEditor::SetCaretOffset(int refRow, std::size_t offset) {
  lines_->SetCaretOffset(refRow, offset);
}

// ------------------------------------------------------------ system caret

void TEditor::CaretBeginUpdate() {
  if (caretUpdateCount_++ == 0) HideEditorCaret();
}

void TEditor::CaretEndUpdate() {
  if (caretUpdateCount_ == 0) return;
  if (--caretUpdateCount_ == 0) ShowEditorCaret();
}

void TEditor::HideEditorCaret() {
  if (!caretShown_) return;
  screenCaret_.Hide();
  caretShown_ = false;
}

void TEditor::ShowEditorCaret() {
  if (caretShown_ || caretUpdateCount_ != 0 || CaretOutOfView() || !screenCaret_.Created()) return;
  screenCaret_.Show();
  caretShown_ = true;
}

bool TEditor::CaretOutOfView() const {
  return !(row_ >= topRow_ && row_ <= topRow_ + visibleRows_ && col_ >= topCol_ &&
           col_ <= topCol_ + visibleCols_);
}

void TEditor::InitCaret() {
  if (!Focused() || !handleCreated_) return;
  screenCaret_.Destroy();
  caretShown_ = false;
  int width = 2;
  int height = fontHeight_;
  if (selectionState_ == stHit && hitStyle_ == hsCaret) {
    // The hit is shown as a caret as wide as the hit's columns on the row.
    const int end = sel_.EndRow == row_ ? sel_.EndCol : RowEndCol(row_);
    width = std::max(2, (end - col_) * colWidth_);
  } else if (caret_->Style() == csBrief) {
    const std::string map = ColumnMap(RowText(row_));
    const bool wide =
        col_ < static_cast<int>(map.size()) && map[static_cast<std::size_t>(col_)] == '4';
    width = wide ? 2 * charWidth_ : charWidth_;
    height = 2;
  }
  screenCaret_.Create(width, height);
}

void TEditor::CaretPoint(int& x, int& y) const {
  x = textLeft_ + (col_ - topCol_) * colWidth_;
  y = textTop_ + (row_ - topRow_) * rowHeight_;
  if (caret_->Style() == csBrief && !(selectionState_ == stHit && hitStyle_ == hsCaret)) {
    y += fontHeight_ - 2;
  }
}

void TEditor::SetCaretPosition() {
  if (screenCaret_.Created()) {
    int x, y;
    CaretPoint(x, y);
    screenCaret_.SetPos(QPoint(x, y));
  }
  MoveCompositionWindow();
  DoCaretMoved();
}

void TEditor::UpdateCaret() {
  InitCaret();
  ScrollCaret();
  SetCaretPosition();
  ShowEditorCaret();
}

void TEditor::MoveCompositionWindow() {
  if (keyRepeating_) {
    compositionMovePending_ = true;
    return;
  }
  compositionMovePending_ = false;
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImFont);
}

bool TEditor::Focused() const {
  return hasFocus();
}

void TEditor::focusInEvent(QFocusEvent* /*event*/) {
  InitCaret();
  SetCaretPosition();
  ShowEditorCaret();
}

void TEditor::focusOutEvent(QFocusEvent* /*event*/) {
  HideEditorCaret();
  screenCaret_.Destroy();
  caretShown_ = false;
}

// --------------------------------------------------------------- underline

void TEditor::HideUnderline() {
  if (underlineHideCount_++ == 0 && marks_->Underline().Visible()) EraseUnderline(row_);
}

void TEditor::ShowUnderline() {
  if (underlineHideCount_ == 0) return;
  if (--underlineHideCount_ == 0 && marks_->Underline().Visible() &&
      selectionState_ != stSelected && selectionState_ != stHit) {
    DrawUnderline(row_);
  }
}

// --------------------------------------------------------------- selection

void TEditor::StartSelection() {
  if (RowCount() == 0) return;
  if (selectionState_ == stSelected || selectionState_ == stHit) CleanSelection();
  selectionState_ = stStarted;
  anchorRow_ = row_;
  anchorByte_ = std::min(static_cast<int>(RowText(row_).size()), CaretByte());
  anchorCol_ = selectionMode_ == smBox ? col_ : std::min(col_, RowEndCol(row_));
  sel_ = {anchorRow_, anchorRow_, anchorByte_, anchorByte_ - 1, anchorCol_, anchorCol_};
  prevSel_ = sel_;
}

void TEditor::UpdateSelection() {
  if (selectionState_ == stNone) return;
  if (selectionState_ == stStarted) {
    selectionState_ = settingHit_ ? stHit : stSelected;
    HideUnderline();
  }
  RecomputeSelection();
}

void TEditor::RecomputeSelection() {
  const int b = std::min(static_cast<int>(RowText(row_).size()), CaretByte());
  sel_.StrRow = std::min(anchorRow_, row_);
  sel_.EndRow = std::max(anchorRow_, row_);
  if (anchorRow_ == row_) {
    sel_.StrByte = std::min(anchorByte_, b);
    sel_.EndByte = std::max(anchorByte_, b) - 1;
  } else if (anchorRow_ < row_) {
    sel_.StrByte = anchorByte_;
    sel_.EndByte = b - 1;
  } else {
    sel_.StrByte = b;
    sel_.EndByte = anchorByte_ - 1;
  }
  if (selectionMode_ == smBox) {
    sel_.StrCol = std::min(anchorCol_, col_);
    sel_.EndCol = std::max(anchorCol_, col_);
  } else if (anchorRow_ == row_) {
    const int end = RowEndCol(row_);
    const int a = std::min(anchorCol_, end), c = std::min(col_, end);
    sel_.StrCol = std::min(a, c);
    sel_.EndCol = std::max(a, c);
  } else {
    const bool anchorAbove = anchorRow_ < row_;
    const int upperCol = anchorAbove ? anchorCol_ : col_;
    const int lowerCol = anchorAbove ? col_ : anchorCol_;
    sel_.StrCol = std::min(upperCol, RowEndCol(sel_.StrRow));
    sel_.EndCol = std::min(lowerCol, RowEndCol(sel_.EndRow));
  }
  if (selectionState_ == stSelected || (selectionState_ == stHit && hitStyle_ == hsDraw)) {
    RepaintSelectionChange();
  }
  DoSelectionChange(true);
}

void TEditor::CleanSelection() {
  if (selectionState_ == stStarted) {
    // An anchor without a selection: nothing is shown, nothing to report.
    selectionState_ = stNone;
    return;
  }
  if (selectionState_ != stSelected && selectionState_ != stHit) return;
  const bool hitCaret = selectionState_ == stHit && hitStyle_ == hsCaret;
  const bool painted =
      selectionState_ == stSelected || (selectionState_ == stHit && hitStyle_ == hsDraw);
  const TSelectionRange old = sel_;
  selectionState_ = stNone;
  hitLength_ = 0;
  if (hitCaret) UpdateCaret();
  const bool covered = old.StrRow != old.EndRow || old.StrByte <= old.EndByte ||
                       (selectionMode_ == smBox && old.StrCol != old.EndCol);
  if (painted && covered && handleCreated_) InvalidateRows(old.StrRow - 1, old.EndRow + 1);
  prevSel_ = sel_;
  ShowUnderline();
  goalSet_ = false;
  DoSelectionChange(false);
}

void TEditor::SetSelectionMode(TEditorSelectionMode value) {
  if (value == selectionMode_ || selDragState_ != sdNone) return;
  selectionMode_ = value;
  if (Selected()) {
    if (value == smBox) viewport()->setCursor(ScreenCursor(caret_->Cursors().DefaultCursor()));
    RecomputeSelection();
    Invalidate();
  }
  DoSelectionModeChange();
}

void TEditor::SelectAll() {
  CaretBeginUpdate();
  SetSelStart(0);
  SetSelLength(TextLength());
  CaretEndUpdate();
}

void TEditor::ShowHit(int length) {
  CleanSelection();
  if (length <= 0 || RowCount() == 0) return;
  const TRowCol start{row_, col_};
  {
    TFlagScope hit(settingHit_, hitStyle_ != hsSelect);
    SetSelLength(length);
  }
  hitLength_ = length;
  if (hitStyle_ == hsCaret) {
    SetRowCol(start.Row, start.Col);
    UpdateCaret();
  }
}

// --------------------------------------------------------- box and columns

void TEditor::BoxBytes(int row, int& first, int& past) const {
  std::string_view s = RowText(row);
  const std::string map = ColumnMap(s);
  const int w = static_cast<int>(map.size());
  const int len = static_cast<int>(s.size());
  int fc, pc;
  SelectedColumns(sel_, stSelected, smBox, row, fc, pc);
  first = fc >= w ? len : ColumnToByte(map, fc, len);
  past = pc <= fc ? first : pc - 1 >= w ? len : ColumnToByte(map, pc - 1, len) + 1;
  past = std::clamp(past, first, len);
}

bool TEditor::SelectedColumns(const TSelectionRange& range, TSelectionState state,
                              TEditorSelectionMode mode, int row, int& first, int& past) const {
  constexpr int kToRowEnd = 1 << 20;
  first = past = 0;
  if (state != stSelected && !(state == stHit && hitStyle_ == hsDraw)) return false;
  if (row < range.StrRow || row > range.EndRow) return false;
  if (mode == smNormal) {
    first = row == range.StrRow ? range.StrCol : 0;
    past = row == range.EndRow ? range.EndCol : kToRowEnd;
    return past > first;
  }
  // The box's edges moved to character boundaries: a trail byte or tab
  // blanks at the left edge start the box at the next character; a lead
  // byte at the right edge takes its trail byte, tab blanks their tab.
  const std::string map = ColumnMap(RowText(row));
  const int w = static_cast<int>(map.size());
  auto at = [&](int c) { return c >= 0 && c < w ? map[static_cast<std::size_t>(c)] : '\0'; };
  first = range.StrCol;
  if (at(first) == '5') {
    ++first;
  } else {
    while (at(first) == '3') ++first;
  }
  past = range.EndCol;
  if (past > first) {
    int e = past - 1;
    if (at(e) == '4') {
      past = e + 2;
    } else if (at(e) == '3') {
      while (at(e + 1) == '3') ++e;
      past = e + 1;
    }
  }
  past = std::max(past, first);
  return past > first;
}

bool TEditor::IsInSelection(int row, int col) const {
  if (selectionState_ != stSelected) return false;
  if (row < sel_.StrRow || row > sel_.EndRow) return false;
  if (selectionMode_ == smNormal) {
    if (row == sel_.StrRow && col < sel_.StrCol) return false;
    if (row == sel_.EndRow && col > sel_.EndCol - 1) return false;
    return true;
  }
  int first, past;
  SelectedColumns(sel_, stSelected, smBox, row, first, past);
  return col >= first && col <= past - 1;
}

void TEditor::RepaintSelectionChange() {
  if (handleCreated_) {
    const bool wasPainted =
        prevState_ == stSelected || (prevState_ == stHit && hitStyle_ == hsDraw);
    int from = sel_.StrRow, to = sel_.EndRow;
    if (wasPainted) {
      from = std::min(from, prevSel_.StrRow);
      to = std::max(to, prevSel_.EndRow);
    }
    from = std::max(from, topRow_);
    to = std::min(to, topRow_ + visibleRows_);
    for (int r = from; r <= to; ++r) {
      int f1, p1, f2, p2;
      const bool a = SelectedColumns(prevSel_, prevState_, prevMode_, r, f1, p1);
      const bool b = SelectedColumns(sel_, selectionState_, selectionMode_, r, f2, p2);
      if (a != b || (a && (f1 != f2 || p1 != p2))) InvalidateRect(RowRect(r), false);
    }
  }
  prevSel_ = sel_;
  prevState_ = selectionState_;
  prevMode_ = selectionMode_;
}

// ----------------------------------------------------- offsets of selection

int TEditor::SelStart() const {
  if (selectionState_ == stSelected || selectionState_ == stHit) {
    return OffsetOf(sel_.StrRow, sel_.StrByte);
  }
  return OffsetOf(row_, CaretByte());
}

void TEditor::SetSelStart(int value) {
  CleanSelection();
  if (RowCount() == 0) return;
  const TRowCol place = PlaceOfOffset(value);
  SetRowCol(place.Row, place.Col);
}

int TEditor::SelLength() const {
  if (selectionState_ != stSelected) return 0;
  if (selectionMode_ == smBox) {
    int total = 0;
    for (int r = sel_.StrRow; r <= std::min(sel_.EndRow, RowCount() - 1); ++r) {
      int first, past;
      BoxBytes(r, first, past);
      total += past - first + 2;
    }
    return total;
  }
  if (sel_.StrRow == sel_.EndRow) return std::max(sel_.EndByte - sel_.StrByte + 1, 0);
  int total = RowLengthWithBreak(sel_.StrRow, false) - sel_.StrByte;
  for (int r = sel_.StrRow + 1; r < sel_.EndRow; ++r) total += RowLengthWithBreak(r, false);
  return total + sel_.EndByte + 1;
}

void TEditor::SetSelLength(int value) {
  if (RowCount() == 0) return;
  if (selectionMode_ == smBox) SetSelectionMode(smNormal);
  if (value > 0) {
    if (Selected()) SetRowCol(sel_.StrRow, sel_.StrCol);
    StartSelection();
    const TRowCol end = WalkOffset(*rows_, row_, CaretByte() + value, LastPlace(), MapSettings());
    SetRowCol(end.Row, end.Col);
    UpdateSelection();
  } else if (Selected()) {
    SetRowCol(sel_.StrRow, sel_.StrCol);
    CleanSelection();
  }
}

std::string TEditor::SelText() const {
  if (selectionState_ != stSelected) return {};
  std::string text;
  auto bytes = [&](int row, int from, int to) {  // [from, to)
    std::string_view s = RowText(row);
    from = std::clamp(from, 0, static_cast<int>(s.size()));
    to = std::clamp(to, from, static_cast<int>(s.size()));
    text += s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  };
  auto lineBreak = [&](int row) {
    if (row >= 0 && row < RowCount() && rows_->RowAttributes(row) == raBreak) text += kCrLf;
  };
  if (selectionMode_ == smBox) {
    for (int r = sel_.StrRow; r <= std::min(sel_.EndRow, RowCount() - 1); ++r) {
      int first, past;
      BoxBytes(r, first, past);
      bytes(r, first, past);
      text += kCrLf;
    }
    return text;
  }
  if (sel_.StrRow == sel_.EndRow) {
    bytes(sel_.StrRow, sel_.StrByte, sel_.EndByte + 1);
    return text;
  }
  bytes(sel_.StrRow, sel_.StrByte, 1 << 30);
  lineBreak(sel_.StrRow);
  for (int r = sel_.StrRow + 1; r < sel_.EndRow; ++r) {
    bytes(r, 0, 1 << 30);
    lineBreak(r);
  }
  bytes(sel_.EndRow, 0, sel_.EndByte + 1);
  return text;
}

// ---------------------------------------------------- edit-control queries

void TEditor::GetSel(int& start, int& end) const {
  start = SelStart();
  end = start + SelLength();
}

void TEditor::SetSel(int start, int end) {
  if (start == 0 && end == -1) {
    SelectAll();
  } else if (start == -1) {
    CleanSelection();
  } else {
    SetSelStart(std::min(start, end));
    SetSelLength(std::max(start, end) - std::min(start, end));
  }
}

int TEditor::LineFromChar(int offset) const {
  if (offset == -1) return Selected() ? sel_.StrRow : row_;
  const int count = RowCount();
  int remaining = std::max(offset, 0);
  for (int r = 0; r < count; ++r) {
    const int length = RowLengthWithBreak(r, false);
    if (remaining < length || rows_->RowAttributes(r) == raEnd) return r;
    remaining -= length;
  }
  return count;
}

int TEditor::LineIndex(int row) const {
  if (row == -1) row = row_;
  if (row < 0 || row >= RowCount()) return -1;
  return OffsetOf(row, 0);
}

int TEditor::LineLength(int offset) const {
  if (offset == -1) {
    if (Selected()) {
      return sel_.StrByte + static_cast<int>(RowText(sel_.EndRow).size()) - sel_.EndByte - 1;
    }
    return static_cast<int>(RowText(row_).size());
  }
  return static_cast<int>(RowText(LineFromChar(offset)).size());
}

int TEditor::GetLine(int row, char* buffer, int size) const {
  if (row < 0 || row >= RowCount() || !buffer || size <= 0) return 0;
  std::string_view s = RowText(row);
  const int n = std::min(size, static_cast<int>(s.size()));
  std::copy_n(s.data(), n, buffer);
  return n;
}

QPoint TEditor::PosFromChar(int offset) const {
  const TRowCol place = PlaceOfOffset(offset);
  return QPoint(textLeft_ + (place.Col - topCol_) * colWidth_,
                textTop_ + (place.Row - topRow_) * rowHeight_);
}

bool TEditor::CharFromPos(QPoint point, int& offset, int& row) const {
  if (!ClientRect().contains(point)) return false;
  TRowCol place = PixelToRowCol(point.x(), point.y(), true);
  place.Row = std::clamp(place.Row, 0, LastCaretRow());
  const std::string map = ColumnMap(RowText(place.Row));
  if (place.Col < static_cast<int>(map.size()) && map[static_cast<std::size_t>(place.Col)] == '5') {
    --place.Col;
  }
  offset = OffsetOf(place.Row, ByteOfCol(place.Row, place.Col));
  row = place.Row;
  return true;
}

TRowCol TEditor::PixelToRowCol(int x, int y, bool nearest) const {
  TRowCol place;
  place.Row = (y - textTop_) / rowHeight_ + topRow_;
  if (x < textLeft_) x -= colWidth_;
  if (nearest) x += colWidth_ / 2;
  place.Col = std::max(0, (x - textLeft_) / colWidth_ + topCol_);
  return place;
}

void TEditor::ScrollCaretIntoView() {
  if (row_ < topRow_ || row_ >= topRow_ + visibleRows_) SetTopRow(row_ - visibleRows_ / 3);
  if (col_ < topCol_ || col_ >= topCol_ + visibleCols_) SetTopCol(col_ - visibleCols_ / 3);
}

}  // namespace kelu
