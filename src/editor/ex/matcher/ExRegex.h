// A search pattern compiled by the regular-expression library for Shift-JIS
// text. It is compiled once and searched as often as wanted (for every
// painted row); compiling the same pattern with the same options again does
// nothing. Every search is bounded: a pattern that would backtrack without
// end is given up and says so.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "editor/ex/matcher/SearchText.h"

struct re_pattern_buffer;
struct re_registers;
struct OnigMatchParamStruct;

namespace kelu {

namespace onig {
struct Api;
}

enum class TExSearchStatus {
  ssOk,          // searched (whether anything was found or not)
  ssNoLibrary,   // the regular-expression library is not available
  ssBadPattern,  // the pattern does not compile
  ssGivenUp,     // the match was given up: too much backtracking, or the library failed
};

class TExRegex {
 public:
  TExRegex();
  ~TExRegex();
  TExRegex(const TExRegex&) = delete;
  TExRegex& operator=(const TExRegex&) = delete;

  // Compiles `pattern` (already expanded where escape sequences apply) for
  // `options`: without soMatchCase letters match either case; with soRegexp
  // it is a regular expression in Ruby syntax, otherwise literal text; it
  // never matches the empty string. Nothing is done when pattern and these
  // two options equal those of the last call. True when it can search.
  bool Compile(std::string_view pattern, TExSearchOptions options);
  // Frees the compiled pattern.
  void Clear();
  // Status back to that of the last Compile (before searching again).
  void ResetStatus();
  bool IsCompiled() const { return regex_ != nullptr; }

  // Searches `text` from byte `start` to its end for the first match; the
  // bytes before `start` are still seen by anchors and look-behind. On a
  // match returns true and the groups are read with GroupBegin / GroupEnd.
  // False when nothing matches or the search failed (see Status).
  bool Search(std::string_view text, std::size_t start);

  // After a successful Search: the whole match (0) and the capture groups
  // (1 ...), as byte offsets into the text; -1 for a group that took no part.
  int GroupCount() const;
  int GroupBegin(int group) const;
  int GroupEnd(int group) const;

  // The outcome of the last Compile or Search and, unless ssOk, a Japanese
  // text saying why, with the library's own message where it gave one.
  TExSearchStatus Status() const { return status_; }
  const std::string& ErrorText() const { return errorText_; }

 private:
  void SetStatus(TExSearchStatus status, std::string text);

  std::shared_ptr<const onig::Api> api_;
  re_pattern_buffer* regex_ = nullptr;
  re_registers* region_ = nullptr;
  OnigMatchParamStruct* param_ = nullptr;
  unsigned long searchLimit_ = 0;  // as last set in param_

  bool hasKey_ = false;
  std::string pattern_;
  bool matchCase_ = false;
  bool regexp_ = false;
  TExSearchStatus compileStatus_ = TExSearchStatus::ssOk;
  std::string compileError_;

  TExSearchStatus status_ = TExSearchStatus::ssOk;
  std::string errorText_;
};

}  // namespace kelu
