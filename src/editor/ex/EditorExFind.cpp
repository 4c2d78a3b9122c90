// TEditorEx: the search over logical lines, through TEditorExSearch.
#include <algorithm>

#include "base/Sjis.h"
#include "editor/ex/EditorEx.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu {

// The editor's rows as the line-spanning search sees them.
class TEditorEx::TRowSource : public TExLineSource {
 public:
  explicit TRowSource(const TEditorEx& editor) : editor_(editor) {}
  int RowCount() const override { return editor_.RowCount(); }
  std::string LogicalLineText(int row) const override { return editor_.GetLogicalLineText(row); }
  int LineFirstRow(int row) const override { return editor_.LineFirstRow(row); }
  int LineLastRow(int row) const override { return editor_.LineLastRow(row); }
  bool EndsText(int row) const override {
    const int last = editor_.LineLastRow(row);
    return last < 0 || last >= editor_.RowCount() || editor_.rows_->RowAttributes(last) != raBreak;
  }

 private:
  const TEditorEx& editor_;
};

// ------------------------------------------------------------ logical lines

int TEditorEx::LineFirstRow(int row) const {
  if (row < 0 || row >= RowCount()) return row;
  return rows_->RowStart(row);
}

int TEditorEx::LineLastRow(int row) const {
  if (row < 0 || row >= RowCount()) return row;
  return rows_->RowEnd(row);
}

std::string_view TEditorEx::LogicalLineView(int row, std::string& buffer) const {
  if (row < 0 || row >= RowCount()) return {};
  // Most lines are one row: no copy.
  if (rows_->RowAttributes(row) != raWrap &&
      (row == 0 || rows_->RowAttributes(row - 1) != raWrap)) {
    return rows_->View(row);
  }
  const int first = LineFirstRow(row), last = LineLastRow(row);
  buffer.clear();
  for (int r = first; r <= last; ++r) buffer += RowText(r);
  return buffer;
}

std::string TEditorEx::GetLogicalLineText(int row) const {
  std::string buffer;
  return std::string(LogicalLineView(row, buffer));
}

int TEditorEx::OffsetInLine(int row) const {
  int offset = 0;
  for (int r = LineFirstRow(row); r < row; ++r) offset += static_cast<int>(RowText(r).size());
  return offset;
}

std::string TEditorEx::GetLinesText(int row, int count) const {
  return kelu::GetLinesText(TRowSource(*this), row, count);
}

// ------------------------------------------------------------- the pattern

void TEditorEx::SetFindString(std::string_view value) {
  if (!search_.SetFindString(value)) return;
  paintHitsLine_ = -1;
  if (exMarks_->FindMark().Visible()) Invalidate();
}

void TEditorEx::SetExSearchOptions(TExSearchOptions value) {
  if (!search_.SetExSearchOptions(value)) return;
  paintHitsLine_ = -1;
  if (exMarks_->FindMark().Visible()) Invalidate();
}

bool TEditorEx::IsMultiLineSearch() const {
  return search_.IsMultiLineSearch();
}

std::string TEditorEx::RegexLibraryVersion() const {
  return kelu::RegexLibraryVersion();
}

std::string TEditorEx::RegexLibraryInfo() const {
  return kelu::RegexLibraryInfo();
}

char TEditorEx::GetCharKind(std::string_view text, int index) const {
  return kelu::GetCharKind(text, index);
}

int TEditorEx::ColToCharIndex(int row, int col) const {
  return ByteOfCol(row, col);
}

std::string TEditorEx::ExpandReplaceText(std::string_view replaceText,
                                         const TEditorExHit& hit) const {
  return search_.ExpandReplaceText(replaceText, hit);
}

// --------------------------------------------------------------- searching

int TEditorEx::CollectHits(int row) {
  paintHitsLine_ = -1;
  return search_.CollectHits(LogicalLineView(row, lineBuffer_));
}

bool TEditorEx::FindInLineForward(int row, int offset) {
  paintHitsLine_ = -1;
  return search_.FindInLineForward(LogicalLineView(row, lineBuffer_), offset, WordWrap());
}

bool TEditorEx::FindInLineBackward(int row, int offset) {
  paintHitsLine_ = -1;
  return search_.FindInLineBackward(LogicalLineView(row, lineBuffer_), offset, WordWrap());
}

int TEditorEx::ReplaceInLine(TEditorExReplaceRec& rec) {
  paintHitsLine_ = -1;
  return search_.ReplaceInLine(LogicalLineView(rec.RowIndex, lineBuffer_), rec);
}

namespace {

// Whether a double-byte character with this lead byte may have a case
// variant: the rows of the full-width Latin, Greek and Cyrillic letters and
// of the Roman numerals (with the kana and symbols sharing them) are taken
// as such, whether or not the library folds them.
bool MayFoldCase(unsigned char lead) {
  return (lead >= 0x82 && lead <= 0x87) || lead == 0xEE || lead == 0xFA;
}

}  // namespace

std::string TEditorEx::LiteralNeedle() const {
  const TExSearchOptions options = search_.ExSearchOptions();
  if (options.Contains(soRegexp) || FindString().empty()) return {};
  const std::string pattern =
      options.Contains(soEscSeq) ? ExpandEscapeSequences(FindString()) : FindString();
  if (options.Contains(soMatchCase)) return pattern;
  // Letters match either case: the longest run of characters that have no
  // other case.
  std::string best;
  std::size_t runStart = 0;
  for (std::size_t i = 0; i <= pattern.size();) {
    const std::size_t n = sjis::CharLength(pattern, i);
    const unsigned char b = i < pattern.size() ? static_cast<unsigned char>(pattern[i]) : 0;
    const bool letter = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
    const bool folds = n == 0 || (n == 1 && letter) || (n == 2 && MayFoldCase(b));
    if (folds) {
      if (i - runStart > best.size()) best = pattern.substr(runStart, i - runStart);
      runStart = i + n;
    }
    if (n == 0) break;
    i += n;
  }
  return best;
}

bool TEditorEx::FindNext() {
  if (IsMultiLineSearch()) return FindNextAcrossLines();
  int row = row_;
  int offset = OffsetInLine(row) + CaretByte();
  if (hitStyle_ == hsCaret) offset += HitLength();
  bool found = FindInLineForward(row, offset);
  // A line that does not hold the bytes every match of a literal holds
  // cannot have a hit: it is passed over without asking the library.
  const std::string needle = found ? std::string() : LiteralNeedle();
  // A pattern that cannot search, or a line given up, ends the search: the
  // status tells why.
  while (!found && search_.Status() == TExSearchStatus::ssOk && row < RowCount()) {
    row = rows_->RowAttributes(row) == raWrap ? LineLastRow(row) + 1 : row + 1;
    if (!needle.empty() && row < RowCount() &&
        LogicalLineView(row, lineBuffer_).find(needle) == std::string_view::npos) {
      continue;
    }
    found = FindInLineForward(row, 0);
  }
  if (!found) return false;
  CaretBeginUpdate();
  CleanSelection();
  SetCaretOffset(LineFirstRow(row), static_cast<std::size_t>(FoundStart() - 1));
  ShowHit(FoundLength());
  CaretEndUpdate();
  foundFlg_ = true;
  return true;
}

bool TEditorEx::FindNextAcrossLines() {
  paintHitsLine_ = -1;
  if (!IsMultiLineSearch()) {
    search_.CollectHits({});  // empties the hits
    return false;
  }
  int row, offset;
  if (SelLength() > 0) {
    row = sel_.StrRow;
    const std::string_view text = RowText(row);
    const int step = std::max<int>(1, static_cast<int>(sjis::CharLength(text, sel_.StrByte)));
    offset = OffsetInLine(row) + sel_.StrByte + step;
  } else {
    row = row_;
    offset = OffsetInLine(row) + CaretByte();
  }
  const std::optional<TExSpanHit> hit = search_.FindAcrossLines(TRowSource(*this), row, offset);
  if (!hit) return false;
  CaretBeginUpdate();
  CleanSelection();
  SetCaretOffset(LineFirstRow(hit->Row), static_cast<std::size_t>(hit->Begin));
  SetSelLength(hit->Length);
  CaretEndUpdate();
  return true;
}

// ------------------------------------------------------------------ painting

const std::vector<TEditorExHit>& TEditorEx::PaintHits(int row) {
  static const std::vector<TEditorExHit> kNone;
  if (paintHitsGivenUp_) return kNone;
  const int first = LineFirstRow(row);
  if (first != paintHitsLine_) {
    search_.CollectHits(LogicalLineView(row, lineBuffer_));
    paintHitsLine_ = first;
    if (search_.Status() == TExSearchStatus::ssGivenUp) {
      // Searching the other rows of this screen would likely be given up
      // as well, each after the same long wait.
      paintHitsGivenUp_ = true;
      return kNone;
    }
  }
  return search_.Hits();
}

}  // namespace kelu
