// Inside the search unit: the entry points of the bound Oniguruma library.
// Only the types come from <oniguruma.h>; nothing is linked, every address
// is looked up with dlsym.
#pragma once

#include <oniguruma.h>

#include <cstddef>
#include <memory>
#include <string>

namespace kelu::onig {

struct Api {
  void* handle = nullptr;

  OnigEncoding sjis = nullptr;
  OnigSyntaxType* syntaxRuby = nullptr;
  OnigSyntaxType* syntaxAsIs = nullptr;

  int (*initialize)(OnigEncoding encodings[], int count) = nullptr;
  int (*newRegex)(OnigRegex*, const OnigUChar* pattern, const OnigUChar* patternEnd,
                  OnigOptionType option, OnigEncoding enc, OnigSyntaxType* syntax,
                  OnigErrorInfo* einfo) = nullptr;
  void (*freeRegex)(OnigRegex) = nullptr;
  int (*search)(OnigRegex, const OnigUChar* str, const OnigUChar* end, const OnigUChar* start,
                const OnigUChar* range, OnigRegion* region, OnigOptionType option) = nullptr;
  OnigRegion* (*regionNew)() = nullptr;
  void (*regionFree)(OnigRegion* region, int freeSelf) = nullptr;
  int (*end)() = nullptr;
  int (*errorCodeToStr)(OnigUChar* s, int code, ...) = nullptr;
  const char* (*version)() = nullptr;
  const char* (*copyright)() = nullptr;

  // Bounding the work of one search. Either the per-search parameters
  // (6.9 series) or, failing them, the process-wide match limit.
  int (*searchWithParam)(OnigRegex, const OnigUChar* str, const OnigUChar* end,
                         const OnigUChar* start, const OnigUChar* range, OnigRegion* region,
                         OnigOptionType option, OnigMatchParam* mp) = nullptr;
  OnigMatchParam* (*newMatchParam)() = nullptr;
  void (*freeMatchParam)(OnigMatchParam*) = nullptr;
  int (*setRetryLimitInMatchOfParam)(OnigMatchParam*, unsigned long) = nullptr;
  int (*setRetryLimitInSearchOfParam)(OnigMatchParam*, unsigned long) = nullptr;
  int (*setRetryLimitInMatch)(unsigned long) = nullptr;

  bool HasMatchParam() const {
    return searchWithParam && newMatchParam && freeMatchParam && setRetryLimitInMatchOfParam;
  }
  // The library's text for an error code.
  std::string ErrorText(int code, OnigErrorInfo* info = nullptr) const;
};

// How much backtracking one search may do before it is given up: a fixed
// amount for each starting position, and for the whole search that amount
// plus a few retries per byte searched (ignore-case literals retry about once
// per byte). A pattern that backtracks without end, (a+)+x over a long run
// of a's for instance, then ends within a fraction of a second.
inline constexpr unsigned long kRetryLimitInMatch = 300000;
inline constexpr unsigned long RetryLimitInSearch(std::size_t bytes) {
  return kRetryLimitInMatch + 4 * static_cast<unsigned long>(bytes);
}

// The bound library, or null when it is not available.
std::shared_ptr<const Api> CurrentApi();

}  // namespace kelu::onig
