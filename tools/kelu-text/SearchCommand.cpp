// kelu-text search: the editor's search over a file, word wrap off. Every
// hit is printed as "line<TAB>byte offset in the line<TAB>matched text", the
// line and the offset counted from 1, the offset in bytes of the line's
// Shift-JIS text, the matched text in UTF-8.
#include <cstdio>
#include <string>
#include <vector>

#include "base/Sjis.h"
#include "base/Strings.h"
#include "editor/ex/matcher/EditorExSearch.h"
#include "editor/ex/matcher/RegexLibrary.h"
#include "editor/model/TextUtils.h"
#include "tools/kelu-text/Commands.h"

namespace kelu::tools {
namespace {

constexpr const char* kSearchUsage =
    "使い方: kelu-text search [--regexp] [--match-case] [--esc-seq] [--whole-word] PATTERN "
    "FILE\n";

void PrintHit(int line, int offset, const std::string& sjisText, const TTextCodec& codec) {
  std::string text = ToTerminal(sjisText, codec);
  // A line-spanning hit holds line breaks: they are shown as \r and \n so
  // that every hit stays on one line.
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  std::printf("%d\t%d\t%s\n", line, offset, shown.c_str());
}

// Every hit line by line, as find-next steps through them: each hit of a
// line in turn, only within the first 1000 bytes (word wrap off).
int SearchLines(TEditorExSearch& search, const std::vector<std::string>& lines,
                const TTextCodec& codec, bool& gaveUp) {
  int found = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    search.CollectHits(line);
    if (search.Status() != TExSearchStatus::ssOk) {
      std::fprintf(stderr, "kelu-text: %zu 行目: %s\n", i + 1, search.ErrorText().c_str());
      gaveUp = true;
    }
    const std::vector<TEditorExHit>& hits = search.Hits();
    for (int h = SelectHitForward(hits, 0, false); h >= 0;) {
      const TEditorExHit& hit = hits[h];
      PrintHit(static_cast<int>(i) + 1, hit.Start, line.substr(hit.Start - 1, hit.Length), codec);
      ++found;
      h = SelectHitForward(hits, hit.Start - 1 + hit.Length, false);
    }
  }
  return found;
}

// The line-spanning search repeated as the find command repeats it: each
// time from one character after the start of the last hit.
int SearchAcrossLines(TEditorExSearch& search, const TExLineList& text, const TTextCodec& codec,
                      bool& gaveUp) {
  const std::vector<std::string>& lines = text.Lines();
  int found = 0;
  int row = 0;
  int offset = 0;
  while (auto hit = search.FindAcrossLines(text, row, offset)) {
    std::string window = GetLinesText(text, hit->Row, search.FindLineFeedCount() - 1);
    // The line of the window in which the hit starts, and the offset there.
    int line = hit->Row;
    int pos = hit->Begin;
    while (line + 1 < text.RowCount() && pos >= static_cast<int>(lines[line].size()) + 2) {
      pos -= static_cast<int>(lines[line].size()) + 2;
      ++line;
    }
    PrintHit(line + 1, pos + 1, window.substr(hit->Begin, hit->Length), codec);
    ++found;
    std::size_t step = sjis::CharLength(lines[line], static_cast<std::size_t>(pos));
    row = line;
    offset = pos + static_cast<int>(step > 0 ? step : 1);
  }
  if (search.Status() != TExSearchStatus::ssOk) {
    std::fprintf(stderr, "kelu-text: %s\n", search.ErrorText().c_str());
    gaveUp = true;
  }
  return found;
}

}  // namespace

int Search(const std::vector<std::string>& args) {
  TExSearchOptions options;
  std::vector<std::string> rest;
  bool optionsEnded = false;
  for (const std::string& a : args) {
    if (!optionsEnded && a == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && a == "--regexp") {
      options.Include(soRegexp);
    } else if (!optionsEnded && a == "--match-case") {
      options.Include(soMatchCase);
    } else if (!optionsEnded && a == "--esc-seq") {
      options.Include(soEscSeq);
    } else if (!optionsEnded && a == "--whole-word") {
      options.Include(soWholeWord);
    } else if (!optionsEnded && a.size() > 1 && a[0] == '-') {
      std::fprintf(stderr, "kelu-text: 不明なオプションです: %s\n", a.c_str());
      std::fputs(kSearchUsage, stderr);
      return 2;
    } else {
      rest.push_back(a);
    }
  }
  if (rest.size() != 2) {
    std::fputs(kSearchUsage, stderr);
    return 2;
  }
  if (!RegexAvailable()) {
    std::fprintf(stderr, "kelu-text: %s\n", RegexUnavailableText().c_str());
    return 2;
  }
  std::string text;
  TTextCodec codec;
  if (!LoadDocumentText(rest[1], text, codec)) return 2;
  // The pattern in the document's codes: a character the file holds only
  // through its table is found too.
  std::size_t lossy = 0;
  std::string pattern = codec.FromUtf8(rest[0], &lossy);
  if (lossy > 0) {
    std::fprintf(stderr, "kelu-text: 検索文字列に変換できない文字があります: %s\n",
                 rest[0].c_str());
    return 2;
  }

  TEditorExSearch search;
  search.SetExSearchOptions(options);
  search.SetFindString(pattern);
  // Compiles the pattern: a bad one is reported before anything is read.
  search.CollectHits({});
  if (search.Status() == TExSearchStatus::ssBadPattern) {
    std::fprintf(stderr, "kelu-text: %s\n", search.ErrorText().c_str());
    return 2;
  }

  TStringList list;
  SplitLines(text, list);
  std::vector<std::string> lines;
  lines.reserve(list.Count());
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.At(i));

  bool gaveUp = false;
  int found = search.IsMultiLineSearch()
                  ? SearchAcrossLines(search, TExLineList(std::move(lines)), codec, gaveUp)
                  : SearchLines(search, lines, codec, gaveUp);
  if (found > 0) return 0;
  return gaveUp ? 2 : 1;
}

}  // namespace kelu::tools
