// What the search benchmarks share: the generated document with one planted
// hit about 4 KB before its end, the patterns sought, and the baseline of
// one onig_search over the whole buffer.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "editor/ex/matcher/SearchText.h"

namespace kelu::bench {

struct PlantedText {
  std::string text;              // Shift-JIS, CR LF lines
  std::size_t hitLineStart = 0;  // offset of the line holding the hit
  std::size_t hitOffset = 0;     // offset of the hit in `text`
  int hitStart = 0;              // 1-based, in its line
};

// The generated 100 MB text with the line holding the sought words.
PlantedText MakePlantedText();

struct SearchCase {
  const char* pattern;  // UTF-8
  TExSearchOptions options;
};

// A literal as the find dialog gives it (letters in either case), the same
// with case, and a regular expression with the application's options.
inline const SearchCase kLiteral = {"検索の目印vetra", {}};
inline const SearchCase kLiteralMatchCase = {"検索の目印Vetra", {soMatchCase}};
inline const SearchCase kRegexp = {"検索の目印[a-z]+-\\d{4}", {soRegexp, soEscSeq}};

// Bytes processed: up to the hit.
void SetSearchedBytes(benchmark::State& state, const PlantedText& doc);

// Baseline: one onig_search over the whole buffer, the pattern compiled once
// with the same syntax, options and encoding.
void DirectOnigSearch(benchmark::State& state, const PlantedText& doc, const SearchCase& c);

}  // namespace kelu::bench
