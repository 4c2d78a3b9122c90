#include "bench/common/SearchBench.h"

#include "base/Cp932.h"
#include "bench/common/JapaneseText.h"
#include "editor/ex/matcher/OnigApi.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu::bench {

PlantedText MakePlantedText() {
  PlantedText d;
  d.text = ReadWholeFile(CachedJapaneseTextFile(TextEncoding::kSjis, 100 * kMiB));
  d.hitLineStart = d.text.find("\r\n", d.text.size() - 4096) + 2;
  d.text.insert(d.hitLineStart, cp932::FromUtf8("　ここが検索の目印Vetra-2024です。\r\n"));
  d.hitStart = 1 + static_cast<int>(cp932::FromUtf8("　ここが").size());
  d.hitOffset = d.hitLineStart + static_cast<std::size_t>(d.hitStart) - 1;
  return d;
}

void SetSearchedBytes(benchmark::State& state, const PlantedText& doc) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(doc.hitOffset));
}

void DirectOnigSearch(benchmark::State& state, const PlantedText& doc, const SearchCase& c) {
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
  SetSearchedBytes(state, doc);
}

}  // namespace kelu::bench
