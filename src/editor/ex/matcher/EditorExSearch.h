// The search state of an editor and its searches over logical lines: the
// hits of one line (for the hit display and for stepping from hit to hit),
// the line-spanning search over several joined lines, and replacing in a
// line. The editor supplies the text; this class knows nothing of rows on
// screen beyond what TExLineSource tells it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Properties.h"
#include "editor/ex/matcher/ExRegex.h"
#include "editor/ex/matcher/SearchText.h"

namespace kelu {

// The type of the published search options (a set of TExSearchOption).
const TTypeInfo& TypeExSearchOptions();

// Publishes ExSearchOptions and FindLineFeedCount of a class that has them
// (the page editor and its property set).
template <class C>
void PublishSearchProperties(TPropsOf<C>& p) {
  p.Ord(
      "ExSearchOptions", TypeExSearchOptions(), 0,
      [](const C& o) { return o.ExSearchOptions().Bits(); },
      [](C& o, std::int64_t v) {
        o.SetExSearchOptions(TExSearchOptions::FromBits(static_cast<std::uint32_t>(v)));
      });
  p.Ord(
      "FindLineFeedCount", TypeInteger(), 5, [](const C& o) { return o.FindLineFeedCount(); },
      [](C& o, std::int64_t v) {
        o.SetFindLineFeedCount(static_cast<int>(std::clamp<std::int64_t>(v, -1, 1 << 30)));
      });
}

// The text as the line-spanning search sees it: rows grouped into logical
// lines. Any row of a logical line stands for the whole line.
class TExLineSource {
 public:
  virtual ~TExLineSource() = default;
  virtual int RowCount() const = 0;
  // The text of the logical line holding `row`, without its line break.
  virtual std::string LogicalLineText(int row) const = 0;
  virtual int LineFirstRow(int row) const = 0;
  virtual int LineLastRow(int row) const = 0;
  // True when no line break follows the logical line holding `row` (it is
  // the last one of the text).
  virtual bool EndsText(int row) const = 0;
};

// A text of whole lines, one row each (word wrap off).
class TExLineList : public TExLineSource {
 public:
  explicit TExLineList(std::vector<std::string> lines) : lines_(std::move(lines)) {}
  int RowCount() const override { return static_cast<int>(lines_.size()); }
  std::string LogicalLineText(int row) const override;
  int LineFirstRow(int row) const override { return row; }
  int LineLastRow(int row) const override { return row; }
  bool EndsText(int row) const override { return row + 1 >= RowCount(); }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::vector<std::string> lines_;
};

// `count` + 1 logical lines from the one holding `row` (a negative count
// first moves back that many lines), each followed by CR LF unless it ends
// the text.
std::string GetLinesText(const TExLineSource& lines, int row, int count);

// A hit of the line-spanning search: `Begin` bytes into the joined text
// that starts with the logical line holding `Row`.
struct TExSpanHit {
  int Row = 0;
  int Begin = 0;
  int Length = 0;
};

// What ReplaceInLine takes and gives.
struct TEditorExReplaceRec {
  int RowIndex = 0;         // in: a row of the line (for the editor's use)
  std::string ReplaceText;  // in
  std::string Text;         // out: the line with its hits replaced
  bool Overrun = false;     // out: the last hit ran past the end of the line
};

class TEditorExSearch {
 public:
  // The pattern as typed; when empty nothing is searched. The setters
  // return true when the value changed (the editor then repaints its hits).
  const std::string& FindString() const { return findString_; }
  bool SetFindString(std::string_view findString);
  TExSearchOptions ExSearchOptions() const { return options_; }
  bool SetExSearchOptions(TExSearchOptions options);
  // Logical lines joined for the line-spanning search; 0 or less is ignored.
  int FindLineFeedCount() const { return findLineFeedCount_; }
  void SetFindLineFeedCount(int count);

  // The pattern holds \r\n and is a regular expression: it is searched
  // only by FindAcrossLines, never by CollectHits.
  bool IsMultiLineSearch() const;

  // Every hit in the text of one logical line, in order: each search starts
  // where the previous match ended; with soWholeWord a match that is not a
  // whole word is skipped. Returns their number; Hits() holds them.
  int CollectHits(std::string_view lineText);
  const std::vector<TEditorExHit>& Hits() const { return hits_; }

  // CollectHits, then the first hit at or after 0-based `offset` (with word
  // wrap off only within the first kUnwrappedLineLimit bytes). On success
  // sets FoundStart, FoundLength and FoundGroups.
  bool FindInLineForward(std::string_view lineText, int offset, bool wordWrap);
  // CollectHits, then the last hit whose 1-based Start is at most `offset`
  // (at most kUnwrappedLineLimit with word wrap off).
  bool FindInLineBackward(std::string_view lineText, int offset, bool wordWrap);
  int FoundStart() const { return foundStart_; }
  int FoundLength() const { return foundLength_; }
  const std::vector<std::string>& FoundGroups() const { return foundGroups_; }

  // The line-spanning search: from byte `offset` of the logical line
  // holding `row`, the first match in FindLineFeedCount joined lines; when
  // there is none, the same from the next logical line, to the end of the
  // text. Empties Hits(). Nothing when IsMultiLineSearch() is false.
  std::optional<TExSpanHit> FindAcrossLines(const TExLineSource& lines, int row, int offset);

  std::string ExpandReplaceText(std::string_view replaceText, const TEditorExHit& hit) const {
    return kelu::ExpandReplaceText(replaceText, hit, options_);
  }
  // rec.Text = `lineText` with every hit replaced; returns the number of
  // hits. The editor's text is not changed.
  int ReplaceInLine(std::string_view lineText, TEditorExReplaceRec& rec);

  // Whether the last search could search, and if not why (Japanese): the
  // library is missing, the pattern is bad, or the match was given up.
  TExSearchStatus Status() const { return regex_.Status(); }
  const std::string& ErrorText() const { return regex_.ErrorText(); }

 private:
  // Compiles the pattern after a change; false when nothing can be searched.
  bool Prepare();
  void PatternChanged();
  void SetFound(const TEditorExHit& hit);

  std::string findString_;
  std::string pattern_;  // findString_ as compiled (escape sequences expanded)
  bool multiLine_ = false;
  bool changed_ = false;  // pattern_ not yet compiled
  TExSearchOptions options_;
  int findLineFeedCount_ = 5;
  TExRegex regex_;
  std::vector<TEditorExHit> hits_;
  int foundStart_ = 0;
  int foundLength_ = 0;
  std::vector<std::string> foundGroups_;
};

}  // namespace kelu
