#include "editor/ex/matcher/EditorExSearch.h"

namespace kelu {

const TTypeInfo& TypeExSearchOptions() {
  static const TTypeInfo t{
      "TExSearchOptions", TTypeKind::tkSet, {"soMatchCase", "soRegexp", "soEscSeq", "soWholeWord"}};
  return t;
}

std::string TExLineList::LogicalLineText(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return lines_[row];
}

std::string GetLinesText(const TExLineSource& lines, int row, int count) {
  if (row < 0) row = 0;
  if (count < 0) {
    for (int i = 0; i < -count; ++i) {
      int first = lines.LineFirstRow(row);
      if (first <= 0) {
        row = 0;
        break;
      }
      row = lines.LineFirstRow(first - 1);
    }
    count = -count;
  }
  std::string text;
  for (int i = 0; i <= count && row < lines.RowCount(); ++i) {
    text += lines.LogicalLineText(row);
    if (!lines.EndsText(row)) text += "\r\n";
    row = lines.LineLastRow(row) + 1;
  }
  return text;
}

bool TEditorExSearch::SetFindString(std::string_view findString) {
  if (findString == findString_) return false;
  findString_ = findString;
  PatternChanged();
  return true;
}

bool TEditorExSearch::SetExSearchOptions(TExSearchOptions options) {
  if (options == options_) return false;
  options_ = options;
  PatternChanged();
  return true;
}

void TEditorExSearch::PatternChanged() {
  pattern_ = options_.Contains(soEscSeq) ? ExpandEscapeSequences(findString_) : findString_;
  multiLine_ = kelu::IsMultiLineSearch(findString_, options_);
  changed_ = true;
  if (findString_.empty()) regex_.Clear();
}

bool TEditorExSearch::Prepare() {
  if (changed_) {
    changed_ = false;
    return regex_.Compile(pattern_, options_);
  }
  regex_.ResetStatus();
  return regex_.IsCompiled();
}

void TEditorExSearch::SetFindLineFeedCount(int count) {
  if (count > 0) findLineFeedCount_ = count;
}

bool TEditorExSearch::IsMultiLineSearch() const {
  return multiLine_;
}

int TEditorExSearch::CollectHits(std::string_view lineText) {
  hits_.clear();
  if (findString_.empty() || multiLine_) return 0;
  if (!Prepare()) return 0;
  const bool wholeWord = options_.Contains(soWholeWord);
  std::size_t start = 0;
  while (regex_.Search(lineText, start)) {
    int begin = regex_.GroupBegin(0);
    int end = regex_.GroupEnd(0);
    if (end <= static_cast<int>(start)) break;  // cannot happen: matches are never empty
    start = static_cast<std::size_t>(end);
    if (wholeWord && !IsWholeWord(lineText, begin + 1, end - begin)) continue;
    TEditorExHit& hit = hits_.emplace_back();
    hit.Start = begin + 1;
    hit.Length = end - begin;
    for (int i = 0; i < regex_.GroupCount(); ++i) {
      int b = regex_.GroupBegin(i);
      int e = regex_.GroupEnd(i);
      if (b >= 0 && e - b > 0) hit.Groups.emplace_back(lineText.substr(b, e - b));
    }
  }
  return static_cast<int>(hits_.size());
}

void TEditorExSearch::SetFound(const TEditorExHit& hit) {
  foundStart_ = hit.Start;
  foundLength_ = hit.Length;
  foundGroups_ = hit.Groups;
}

bool TEditorExSearch::FindInLineForward(std::string_view lineText, int offset, bool wordWrap) {
  CollectHits(lineText);
  int i = SelectHitForward(hits_, offset, wordWrap);
  if (i < 0) return false;
  SetFound(hits_[i]);
  return true;
}

bool TEditorExSearch::FindInLineBackward(std::string_view lineText, int offset, bool wordWrap) {
  CollectHits(lineText);
  int i = SelectHitBackward(hits_, offset, wordWrap);
  if (i < 0) return false;
  SetFound(hits_[i]);
  return true;
}

std::optional<TExSpanHit> TEditorExSearch::FindAcrossLines(const TExLineSource& lines, int row,
                                                           int offset) {
  hits_.clear();
  if (!multiLine_ || !Prepare()) return std::nullopt;
  if (row < 0) row = 0;
  if (offset < 0) offset = 0;
  while (row < lines.RowCount()) {
    std::string text = GetLinesText(lines, row, findLineFeedCount_ - 1);
    if (regex_.Search(text, static_cast<std::size_t>(offset))) {
      int begin = regex_.GroupBegin(0);
      return TExSpanHit{row, begin, regex_.GroupEnd(0) - begin};
    }
    if (regex_.Status() != TExSearchStatus::ssOk) return std::nullopt;
    row = lines.LineLastRow(row) + 1;
    offset = 0;
  }
  return std::nullopt;
}

int TEditorExSearch::ReplaceInLine(std::string_view lineText, TEditorExReplaceRec& rec) {
  rec.Text = lineText;
  rec.Overrun = false;
  int count = CollectHits(lineText);
  if (count > 0) rec.Text = ReplaceHits(lineText, hits_, rec.ReplaceText, options_, rec.Overrun);
  return count;
}

}  // namespace kelu
