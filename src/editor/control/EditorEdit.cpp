// TEditor: the operations that change the text -- typed text, replacing,
// deleting and moving the selection, box paste, indent and unindent -- the
// clipboard, and the edit-control messages that reach them. Each change is
// one ReplaceRows of the row list, so one undo step; afterwards the caret is
// placed by SetCaretOffset, counted from the first row the change rebuilt,
// so it lands right however the rows were wrapped anew.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/LineSplit.h"
#include "base/Sjis.h"
#include "editor/control/Editor.h"
#include "editor/control/EditorResources.h"
#include "editor/control/UnicodeText.h"
#include "editor/model/Undo.h"

namespace kelu {

namespace {

constexpr std::string_view kCrLf = "\r\n";

// `s` with every line break (CR LF, CR, LF) as CR LF.
std::string CrLfText(std::string_view s) {
  if (s.find_first_of("\r\n") == std::string_view::npos) return std::string(s);
  std::string out;
  out.reserve(s.size() + s.size() / 16 + 2);
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '\r') {
      out += kCrLf;
      if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += kCrLf;
    } else {
      out += c;
    }
  }
  return out;
}

bool IsFullWidthBlankAt(std::string_view s, std::size_t i) {
  return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 &&
         static_cast<unsigned char>(s[i + 1]) == 0x40;
}

// The length of the blanks a row starts with: ASCII blanks, tabs, the
// control bytes up to 20 and full-width blanks.
std::size_t LeadingBlankBytes(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) <= 0x20) {
      ++i;
    } else if (IsFullWidthBlankAt(s, i)) {
      i += 2;
    } else {
      break;
    }
  }
  return i;
}

// The length of the run of blanks (ASCII, tab, full-width) at byte `from`.
std::size_t BlankRunBytes(std::string_view s, std::size_t from) {
  std::size_t i = from;
  while (i < s.size()) {
    if (s[i] == ' ' || s[i] == '\t') {
      ++i;
    } else if (IsFullWidthBlankAt(s, i)) {
      i += 2;
    } else {
      break;
    }
  }
  return i - from;
}

// Restores the caret and the underline when an edit ends, also on failure.
class TEditScope {
 public:
  explicit TEditScope(TEditor& editor) : editor_(editor) {
    editor_.CaretBeginUpdate();
    editor_.HideUnderline();
  }
  ~TEditScope() {
    editor_.ShowUnderline();
    editor_.CaretEndUpdate();
  }
  TEditScope(const TEditScope&) = delete;
  TEditScope& operator=(const TEditScope&) = delete;

 private:
  TEditor& editor_;
};

// Unicode text with the LF line ends of this desktop.
QString WithLfLineEnds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace

// ------------------------------------------------------------- the splice

std::string TEditor::RowsText(int first, int count) const {
  std::string text;
  TRowAttribute attribute;
  int rows;
  if (count > 0) rows_->GetLineText(first, count, attribute, rows, text);
  return text;
}

TEditor::TEditSplice TEditor::EditSplice(bool pad) const {
  TEditSplice sp;
  const int total = RowCount();
  auto lineEnd = [&](int r) {
    return r < total && rows_->RowAttributes(r) == raBreak ? kCrLf : std::string_view();
  };
  auto text = [&](int r) { return RowText(r); };
  auto cut = [](std::string_view s, int from, int to) {
    from = std::clamp(from, 0, static_cast<int>(s.size()));
    to = std::clamp(to, from, static_cast<int>(s.size()));
    return s.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
  };

  if (selectionState_ != stSelected) {
    sp.firstRow = std::min(row_, total);
    if (row_ >= total) return sp;
    std::string_view t = text(row_);
    const int b = std::min(CaretByte(), static_cast<int>(t.size()));
    sp.rowCount = 1;
    sp.before.assign(cut(t, 0, b));
    const int end = RowEndCol(row_);
    if (pad && col_ > end) sp.before.append(static_cast<std::size_t>(col_ - end), ' ');
    sp.after.assign(cut(t, b, 1 << 30));
    sp.rowRest = sp.after.size();
    sp.after += lineEnd(row_);
    sp.col = TextWidth(sp.before);
    return sp;
  }

  const int sr = sel_.StrRow;
  sp.firstRow = std::min(sr, total);
  if (sr >= total) return sp;
  const int last = std::min(sel_.EndRow, total - 1);
  sp.rowCount = last - sr + 1;
  if (selectionMode_ == smNormal) {
    sp.before.assign(cut(text(sr), 0, sel_.StrByte));
    if (sel_.EndRow < total) {
      sp.after.assign(cut(text(sel_.EndRow), sel_.EndByte + 1, 1 << 30));
      sp.rowRest = sp.after.size();
      sp.after += lineEnd(sel_.EndRow);
    }
  } else {
    for (int r = sr; r <= last; ++r) {
      std::string_view t = text(r);
      int first, past;
      BoxBytes(r, first, past);
      if (r == sr) {
        sp.before.assign(cut(t, 0, first));
        const int end = RowEndCol(r);
        if (pad && first >= static_cast<int>(t.size()) && sel_.StrCol > end) {
          sp.before.append(static_cast<std::size_t>(sel_.StrCol - end), ' ');
        }
        sp.after.assign(cut(t, past, 1 << 30));
        sp.rowRest = sp.after.size();
      } else {
        sp.after += cut(t, 0, first);
        sp.after += cut(t, past, 1 << 30);
      }
      sp.after += lineEnd(r);
    }
  }
  sp.col = TextWidth(sp.before);
  return sp;
}

void TEditor::ReplaceAndPlace(int row, int count, std::string_view text, std::size_t caret) {
  // The row list rebuilds from the row before the change, or from the first
  // row of its line when that is later; the rows above it stay as they are.
  const int first = std::max(rows_->RowStart(row), row - 1);
  std::size_t offset = caret;
  for (int r = std::max(first, 0); r < row; ++r) {
    offset += static_cast<std::size_t>(RowLengthWithBreak(r, false));
  }
  TEditScope scope(*this);
  CleanSelection();
  rows_->ReplaceRows(row, count, text);
  SetCaretOffset(std::max(first, 0), offset);
}

// ---------------------------------------------------------- inserting text

void TEditor::InsertChars(std::string_view s) {
  if (s.empty() || readOnly_) return;
  const std::string inserted = CrLfText(s);
  const TEditSplice sp = EditSplice(true);
  std::string text;
  text.reserve(sp.before.size() + inserted.size() + sp.after.size());
  text += sp.before;
  text += inserted;
  text += sp.after;
  ReplaceAndPlace(sp.firstRow, sp.rowCount, text, sp.before.size() + inserted.size());
}

void TEditor::SetSelText(std::string_view s) {
  if (readOnly_) return;
  if (s.empty()) {
    if (Selected()) {
      DeleteSelection();
    } else if (selectionState_ == stHit) {
      CleanSelection();
    }
    return;
  }
  InsertChars(s);
}

void TEditor::ReplaceSel(std::string_view s) {
  SetSelText(s);
}

void TEditor::DeleteSelection() {
  if (readOnly_ || !Selected()) return;
  const TEditSplice sp = EditSplice(false);
  const std::string text = sp.before + sp.after;
  if (text == RowsText(sp.firstRow, sp.rowCount)) {
    // Nothing is covered: no change, no undo step.
    CleanSelection();
    return;
  }
  const TRowCol start{sel_.StrRow, sel_.StrCol};
  const bool box = selectionMode_ == smBox;
  ReplaceAndPlace(sp.firstRow, sp.rowCount, text, sp.before.size());
  if (box) SetRowCol(start.Row, start.Col);
}

// ------------------------------------------------------- moving the text

void TEditor::MoveSelectionTo(int row, int col) {
  if (readOnly_ || selectionMode_ != smNormal || !Selected() || !caret_->SelMove()) return;
  const int total = RowCount();
  if (total == 0) return;
  row = std::clamp(row, 0, LastCaretRow());
  col = std::max(col, 0);
  if (IsInSelection(row, col)) {
    CleanSelection();
    return;
  }
  const TSelectionRange sel = sel_;
  const int lo = std::min(row, sel.StrRow);
  const int hi = std::min(std::max(row, sel.EndRow), total - 1);
  const std::string whole = RowsText(lo, hi - lo + 1);
  auto offsetOf = [&](int r, int byte) {
    if (r > hi) return whole.size();
    std::size_t o = 0;
    for (int i = lo; i < r; ++i) o += static_cast<std::size_t>(RowLengthWithBreak(i, false));
    return o + static_cast<std::size_t>(std::clamp(byte, 0, static_cast<int>(RowText(r).size())));
  };
  const std::size_t s0 = offsetOf(sel.StrRow, sel.StrByte);
  const std::size_t s1 = std::max(offsetOf(sel.EndRow, sel.EndByte + 1), s0);
  std::string pad;
  std::size_t drop = whole.size();
  if (row <= hi) {
    const std::string map = ColumnMap(RowText(row));
    const int w = static_cast<int>(map.size());
    int c = col;
    if (c < w && map[static_cast<std::size_t>(c)] == '5') --c;
    while (c > 0 && c < w && map[static_cast<std::size_t>(c)] == '3') --c;
    drop = offsetOf(row, ByteOfCol(row, c));
    if (col > w) pad.assign(static_cast<std::size_t>(col - w), ' ');
  }
  if (pad.empty() && (drop == s0 || drop == s1)) {
    // Dropped at its own edge: the text stays where it is.
    CleanSelection();
    SetCaretOffset(lo, s1);
    return;
  }
  const std::string_view w(whole);
  const std::string_view moved = w.substr(s0, s1 - s0);
  std::string text;
  text.reserve(whole.size() + pad.size());
  std::size_t caret;
  if (drop < s0) {
    text.append(w.substr(0, drop)).append(pad).append(moved);
    caret = text.size();
    text.append(w.substr(drop, s0 - drop)).append(w.substr(s1));
  } else {
    text.append(w.substr(0, s0)).append(w.substr(s1, drop - s1)).append(pad).append(moved);
    caret = text.size();
    text.append(w.substr(drop));
  }
  ReplaceAndPlace(lo, hi - lo + 1, text, caret);
}

// ------------------------------------------------------------- clipboard

std::string TEditor::TextOfMimeData(const QMimeData& data, const QString& bytesFormat) const {
  if (data.hasFormat(bytesFormat)) {
    const QByteArray held = data.data(bytesFormat);
    // The bytes end at a terminating zero, if one was stored.
    const std::string bytes(held.constData(),
                            strnlen(held.constData(), static_cast<std::size_t>(held.size())));
    if (!data.hasText() ||
        WithLfLineEnds(ToQString(Codec(), bytes)) == WithLfLineEnds(data.text())) {
      return bytes;
    }
  }
  if (!data.hasText()) return {};
  return CrLfText(FromQString(Codec(), data.text()));
}

std::string TEditor::ClipboardText() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return {};
  return TextOfMimeData(*data, data->hasFormat(BoxClipboardMimeType())
                                   ? BoxClipboardMimeType()
                                   : QString::fromLatin1(kSjisTextMimeType));
}

bool TEditor::ClipboardHasText() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data && (data->hasText() || data->hasFormat(BoxClipboardMimeType()) ||
                  data->hasFormat(QString::fromLatin1(kSjisTextMimeType)));
}

void TEditor::CopyToClipboard() {
  if (!Selected()) return;
  const std::string text = SelText();
  auto* data = new QMimeData;
  // Programs on this desktop take LF line ends.
  data->setText(WithLfLineEnds(ToQString(Codec(), text)));
  data->setData(selectionMode_ == smBox ? BoxClipboardMimeType()
                                        : QString::fromLatin1(kSjisTextMimeType),
                QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  QGuiApplication::clipboard()->setMimeData(data);
}

void TEditor::CutToClipboard() {
  if (readOnly_ || !Selected()) return;
  CopyToClipboard();
  DeleteSelection();
}

void TEditor::PasteFromClipboard() {
  if (readOnly_) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !ClipboardHasText()) return;
  const bool box = data->hasFormat(BoxClipboardMimeType());
  const std::string text = ClipboardText();
  if (box) {
    BoxPaste(text);
  } else {
    SetSelText(text);
  }
}

// ------------------------------------------------------------- box paste

void TEditor::BoxPaste(std::string_view s) {
  if (readOnly_ || s.empty()) return;
  std::vector<std::string_view> lines;
  const std::string source = CrLfText(s);
  ForEachLine(source, [&](std::string_view line) { lines.push_back(line); });
  if (lines.empty()) return;

  const int total = RowCount();
  auto lineEnd = [&](int r) {
    return r < total && rows_->RowAttributes(r) == raBreak ? kCrLf : std::string_view();
  };
  struct TBoxRow {
    std::string text;
    std::string_view end;
    bool added = false;
    bool eof = false;  // the end-of-text row
  };
  auto isEof = [&](int r) { return r >= total || rows_->RowAttributes(r) == raEnd; };
  std::vector<TBoxRow> rows;
  int firstRow;
  int next;  // the next existing row to take
  int startCol;
  if (Selected()) {
    // The selection's text goes in the same change.
    firstRow = std::min(sel_.StrRow, total);
    next = std::min(sel_.EndRow, total - 1) + 1;
    startCol = sel_.StrCol;
    if (firstRow < total) {
      if (selectionMode_ == smNormal) {
        const TEditSplice sp = EditSplice(false);
        rows.push_back({sp.before + sp.after.substr(0, sp.rowRest), lineEnd(sel_.EndRow), false,
                        isEof(sel_.EndRow)});
      } else {
        for (int r = firstRow; r < next; ++r) {
          std::string_view t = RowText(r);
          int first, past;
          BoxBytes(r, first, past);
          std::string kept(t.substr(0, static_cast<std::size_t>(first)));
          kept += t.substr(static_cast<std::size_t>(past));
          rows.push_back({std::move(kept), lineEnd(r), false, isEof(r)});
        }
      }
    } else {
      next = total;
    }
  } else {
    firstRow = std::min(row_, total);
    next = firstRow;
    startCol = col_;
  }

  std::size_t caret = 0;
  std::size_t lastRow = 0;
  std::size_t lastPos = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i >= rows.size()) {
      if (next < total) {
        rows.push_back({std::string(RowText(next)), lineEnd(next), false, isEof(next)});
        ++next;
      } else {
        rows.push_back({std::string(static_cast<std::size_t>(startCol), ' '), kCrLf, true, false});
      }
    }
    TBoxRow& row = rows[i];
    std::size_t pos = row.text.size();
    if (!row.added) {
      const std::string map = ColumnMap(row.text);
      const int w = static_cast<int>(map.size());
      if (startCol >= w) {
        row.text.append(static_cast<std::size_t>(startCol - w), ' ');
        pos = row.text.size();
      } else {
        // A trail byte or tab blanks at the column: the next character.
        int c = startCol;
        if (map[static_cast<std::size_t>(c)] == '5') ++c;
        while (c < w && map[static_cast<std::size_t>(c)] == '3') ++c;
        pos = static_cast<std::size_t>(ColumnToByte(map, c, static_cast<int>(row.text.size())));
      }
    }
    row.text.insert(pos, lines[i]);
    lastRow = i;
    lastPos = pos + lines[i].size();
  }
  // Rows added after the end-of-text row: it gets a line break.
  if (!rows.empty() && rows.back().added) {
    for (TBoxRow& row : rows) {
      if (row.eof) row.end = kCrLf;
    }
  }
  std::string text;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i == lastRow) caret = text.size() + lastPos;
    text += rows[i].text;
    text += rows[i].end;
  }
  ReplaceAndPlace(firstRow, next - firstRow, text, caret);
}

// ------------------------------------------------------ indent, unindent

int TEditor::IndentWidth(std::string_view text) const {
  if (text.empty()) return -1;
  return TextWidth(text.substr(0, BlankRunBytes(text, 0)));
}

void TEditor::IndentSelection() {
  ShiftSelection(true);
}

void TEditor::UnIndentSelection() {
  ShiftSelection(false);
}

void TEditor::ShiftSelection(bool indent) {
  if (readOnly_ || !Selected()) return;
  const int total = RowCount();
  const int sr = sel_.StrRow;
  int er = std::min(sel_.EndRow, total - 1);
  // A selection that ends before the first byte of its last row leaves
  // that row alone.
  if (selectionMode_ == smNormal && sel_.EndRow > sel_.StrRow && sel_.EndByte < 0) {
    er = std::min(sel_.EndRow - 1, total - 1);
  }
  if (sr > er) return;

  struct TShift {
    bool changed = false;
    int oldBytes = 0, newBytes = 0;  // the indentation before and after
    int oldCols = 0, newCols = 0;
  };
  std::vector<TShift> shifts(static_cast<std::size_t>(er - sr + 1));
  std::string text;
  const bool wrap = rows_->WordWrap();
  const int wrapByte = rows_->WrapOption().WrapByte();
  bool changed = false;
  for (int r = sr; r <= er; ++r) {
    std::string_view t = RowText(r);
    std::string row(t);
    TShift& shift = shifts[static_cast<std::size_t>(r - sr)];
    if (selectionMode_ == smNormal) {
      const bool wholeLine = !wrap || (rows_->RowAttributes(r) != raWrap &&
                                       (r == 0 || rows_->RowAttributes(r - 1) != raWrap));
      const std::size_t run = LeadingBlankBytes(t);
      const int cols = TextWidth(t.substr(0, run));
      const bool startsBlank =
          !t.empty() && (t[0] == ' ' || t[0] == '\t' || IsFullWidthBlankAt(t, 0));
      if (wholeLine && !t.empty() && (indent || startsBlank)) {
        const int newCols = indent ? cols + 1 : cols - 1;
        std::string shifted(static_cast<std::size_t>(newCols), ' ');
        shifted += t.substr(run);
        if (!indent || !wrap || TextWidth(shifted) < wrapByte) {
          shift = {true, static_cast<int>(run), newCols, cols, newCols};
          row = std::move(shifted);
        }
      }
    } else {
      const std::string map = ColumnMap(t);
      const int w = static_cast<int>(map.size());
      int c = sel_.StrCol;
      if (c < w) {
        auto at = [&](int i) { return map[static_cast<std::size_t>(i)]; };
        if (at(c) == '3') {
          while (c > 0 && at(c) == '3') --c;  // the tab that covers the column
        } else if (at(c) == '5') {
          const int lead = ColumnToByte(map, c - 1, static_cast<int>(t.size()));
          if (IsFullWidthBlankAt(t, static_cast<std::size_t>(lead))) {
            --c;
          } else {
            ++c;
          }
        }
      }
      if (c < w) {
        const int b = ColumnToByte(map, c, static_cast<int>(t.size()));
        const std::size_t run = BlankRunBytes(t, static_cast<std::size_t>(b));
        if (indent || run > 0) {
          const int runCols = ByteToColumn(t, b + static_cast<int>(run), MapSettings()) - c;
          const int newCols = indent ? runCols + 1 : runCols - 1;
          row.assign(t.substr(0, static_cast<std::size_t>(b)));
          row.append(static_cast<std::size_t>(std::max(newCols, 0)), ' ');
          row += t.substr(static_cast<std::size_t>(b) + run);
          shift.changed = true;
        }
      }
    }
    changed = changed || shift.changed;
    text += row;
    if (rows_->RowAttributes(r) == raBreak) text += kCrLf;
  }
  if (!changed) return;

  TEditScope scope(*this);
  rows_->ReplaceRows(sr, er - sr + 1, text);
  if (selectionMode_ != smNormal) {
    Invalidate();
    return;
  }
  // The anchor and the caret move with their text, but not into the new
  // indentation.
  auto move = [&](int row, int& byte, int& col) {
    if (row < sr || row > er) return;
    const TShift& s = shifts[static_cast<std::size_t>(row - sr)];
    if (!s.changed) return;
    byte = std::max(byte + s.newBytes - s.oldBytes, s.newBytes);
    col = std::max(col + s.newCols - s.oldCols, s.newCols);
  };
  int anchorCol = anchorCol_;
  move(anchorRow_, anchorByte_, anchorCol);
  anchorCol_ = anchorCol;
  int caretByte = CaretByte();
  int caretCol = col_;
  move(row_, caretByte, caretCol);
  if (caretCol != col_) {
    // SetRowCol would leave the selection as it is; only the caret moves.
    col_ = caretCol;
    AdjustCol(false, 1);
  }
  RecomputeSelection();
  if (SelLength() == 0) CleanSelection();
}

// ------------------------------------------------ edit-control messages

bool TEditor::CanUndoMessage() const {
  return !readOnly_ && CanUndo();
}

bool TEditor::UndoMessage() {
  if (!CanUndoMessage()) return false;
  Undo();
  return true;
}

void TEditor::EmptyUndoBuffer() {
  if (readOnly_) return;
  rows_->UndoObj().Clear();
}

void TEditor::SetModify(bool value) {
  if (readOnly_) return;
  modified_ = value;
}

std::string TEditor::GetText() const {
  return lines_->GetTextStr();
}

int TEditor::GetText(char* buffer, int size) const {
  if (!buffer || size <= 0) return 0;
  const std::string text = GetText();
  const int n = std::min(size - 1, static_cast<int>(text.size()));
  std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return n;
}

void TEditor::SetText(std::string_view text) {
  if (readOnly_) return;
  lines_->SetTextStr(text);
}

}  // namespace kelu
