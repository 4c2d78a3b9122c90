// Find-next over a large document: 100 MB of Shift-JIS text searched from
// the top for a hit near the end, logical line by logical line through
// TEditorExSearch as the editor steps through its lines, next to Oniguruma
// run once over the whole buffer with the same pattern and options.
#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <vector>

#include "base/Cp932.h"
#include "bench/common/JapaneseText.h"
#include "editor/ex/matcher/EditorExSearch.h"
#include "editor/ex/matcher/OnigApi.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu::bench {
namespace {

constexpr std::size_t kSize = 100 * kMiB;

// The generated text with one line holding the sought words inserted about
// 4 KB before the end; nothing else in the text matches.
struct Document {
  std::string text;
  std::vector<std::string_view> lines;  // as the editor holds them, without CR LF
  std::size_t hitLine = 0;
  std::size_t hitOffset = 0;  // of the hit in `text`
  int hitStart = 0;           // 1-based, in its line
};

const Document& TheDocument() {
  static const Document doc = [] {
    Document d;
    d.text = ReadWholeFile(CachedJapaneseTextFile(TextEncoding::kSjis, kSize));
    std::size_t at = d.text.find("\r\n", d.text.size() - 4096) + 2;
    const std::string line = cp932::FromUtf8("　ここが検索の目印Vetra-2024です。\r\n");
    d.text.insert(at, line);
    d.hitStart = 1 + static_cast<int>(cp932::FromUtf8("　ここが").size());
    d.hitOffset = at + d.hitStart - 1;
    std::size_t p = 0;
    while (p < d.text.size()) {
      std::size_t q = d.text.find("\r\n", p);
      if (q == std::string::npos) q = d.text.size();
      if (p == at) d.hitLine = d.lines.size();
      d.lines.emplace_back(d.text.data() + p, q - p);
      p = q + 2;
    }
    return d;
  }();
  return doc;
}

struct Case {
  const char* pattern;  // UTF-8
  TExSearchOptions options;
};

// A literal as the find dialog gives it (letters in either case), the same
// with case, and a regular expression with the editor's default options.
const Case kLiteral = {"検索の目印vetra", {}};
const Case kLiteralMatchCase = {"検索の目印Vetra", {soMatchCase}};
const Case kRegexp = {"検索の目印[a-z]+-\\d{4}", {soRegexp, soEscSeq}};

void SetProcessed(benchmark::State& state, const Document& doc) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(doc.hitOffset));
}

// Find-next from the top: FindInLineForward on each logical line until the
// first hit, word wrap off.
void FindNextThroughLines(benchmark::State& state, const Case& c) {
  const Document& doc = TheDocument();
  if (!RegexAvailable()) {
    state.SkipWithError(RegexUnavailableText().c_str());
    return;
  }
  TEditorExSearch search;
  search.SetExSearchOptions(c.options);
  search.SetFindString(cp932::FromUtf8(c.pattern));
  for (auto _ : state) {
    std::size_t row = 0;
    while (row < doc.lines.size() && !search.FindInLineForward(doc.lines[row], 0, false)) ++row;
    if (row != doc.hitLine || search.FoundStart() != doc.hitStart) {
      state.SkipWithError("the planted hit was not found");
      break;
    }
    benchmark::DoNotOptimize(row);
  }
  SetProcessed(state, doc);
}

// Baseline: one onig_search over the whole buffer, pattern compiled once
// with the same syntax, options and encoding.
void DirectOverBuffer(benchmark::State& state, const Case& c) {
  const Document& doc = TheDocument();
  auto api = onig::CurrentApi();
  if (!api) {
    state.SkipWithError(RegexUnavailableText().c_str());
    return;
  }
  std::string pattern = cp932::FromUtf8(c.pattern);
  if (c.options.Contains(soEscSeq)) pattern = ExpandEscapeSequences(pattern);
  OnigOptionType option = ONIG_OPTION_FIND_NOT_EMPTY;
  if (!c.options.Contains(soMatchCase)) option |= ONIG_OPTION_IGNORECASE;
  auto p = reinterpret_cast<const OnigUChar*>(pattern.data());
  OnigRegex regex = nullptr;
  OnigErrorInfo info{};
  if (api->newRegex(&regex, p, p + pattern.size(), option, api->sjis,
                    c.options.Contains(soRegexp) ? api->syntaxRuby : api->syntaxAsIs,
                    &info) != ONIG_NORMAL) {
    state.SkipWithError("pattern does not compile");
    return;
  }
  OnigRegion* region = api->regionNew();
  auto str = reinterpret_cast<const OnigUChar*>(doc.text.data());
  auto end = str + doc.text.size();
  for (auto _ : state) {
    int r = api->search(regex, str, end, str, end, region, ONIG_OPTION_NONE);
    if (r != static_cast<int>(doc.hitOffset)) {
      state.SkipWithError("the planted hit was not found");
      break;
    }
    benchmark::DoNotOptimize(r);
  }
  api->regionFree(region, 1);
  api->freeRegex(regex);
  SetProcessed(state, doc);
}

void BM_FindNext_Literal(benchmark::State& state) {
  FindNextThroughLines(state, kLiteral);
}
void BM_Direct_Literal(benchmark::State& state) {
  DirectOverBuffer(state, kLiteral);
}
void BM_FindNext_LiteralMatchCase(benchmark::State& state) {
  FindNextThroughLines(state, kLiteralMatchCase);
}
void BM_Direct_LiteralMatchCase(benchmark::State& state) {
  DirectOverBuffer(state, kLiteralMatchCase);
}
void BM_FindNext_Regexp(benchmark::State& state) {
  FindNextThroughLines(state, kRegexp);
}
void BM_Direct_Regexp(benchmark::State& state) {
  DirectOverBuffer(state, kRegexp);
}

BENCHMARK(BM_FindNext_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNext_LiteralMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_LiteralMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNext_Regexp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_Regexp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelu::bench
