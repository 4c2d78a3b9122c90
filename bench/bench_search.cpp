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
#include "bench/common/SearchBench.h"
#include "editor/ex/matcher/EditorExSearch.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu::bench {
namespace {

// The planted text as the editor holds it: lines without CR LF.
struct Document {
  PlantedText planted;
  std::vector<std::string_view> lines;
  std::size_t hitLine = 0;
};

const Document& TheDocument() {
  static const Document doc = [] {
    Document d;
    d.planted = MakePlantedText();
    const std::string& text = d.planted.text;
    std::size_t p = 0;
    while (p < text.size()) {
      std::size_t q = text.find("\r\n", p);
      if (q == std::string::npos) q = text.size();
      if (p == d.planted.hitLineStart) d.hitLine = d.lines.size();
      d.lines.emplace_back(text.data() + p, q - p);
      p = q + 2;
    }
    return d;
  }();
  return doc;
}

// Find-next from the top: FindInLineForward on each logical line until the
// first hit, word wrap off.
void FindNextThroughLines(benchmark::State& state, const SearchCase& c) {
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
    if (row != doc.hitLine || search.FoundStart() != doc.planted.hitStart) {
      state.SkipWithError("the planted hit was not found");
      break;
    }
    benchmark::DoNotOptimize(row);
  }
  SetSearchedBytes(state, doc.planted);
}

void BM_FindNext_Literal(benchmark::State& state) {
  FindNextThroughLines(state, kLiteral);
}
void BM_Direct_Literal(benchmark::State& state) {
  DirectOnigSearch(state, TheDocument().planted, kLiteral);
}
void BM_FindNext_LiteralMatchCase(benchmark::State& state) {
  FindNextThroughLines(state, kLiteralMatchCase);
}
void BM_Direct_LiteralMatchCase(benchmark::State& state) {
  DirectOnigSearch(state, TheDocument().planted, kLiteralMatchCase);
}
void BM_FindNext_Regexp(benchmark::State& state) {
  FindNextThroughLines(state, kRegexp);
}
void BM_Direct_Regexp(benchmark::State& state) {
  DirectOnigSearch(state, TheDocument().planted, kRegexp);
}

BENCHMARK(BM_FindNext_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNext_LiteralMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_LiteralMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindNext_Regexp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_Regexp)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelu::bench
