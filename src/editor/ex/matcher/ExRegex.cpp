#include "editor/ex/matcher/ExRegex.h"

#include "editor/ex/matcher/OnigApi.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu {
namespace {

const OnigUChar* Bytes(std::string_view s) {
  // An empty view may have no address; the library wants one.
  static const char kEmpty[1] = {};
  return reinterpret_cast<const OnigUChar*>(s.data() ? s.data() : kEmpty);
}

bool IsGiveUpCode(int code) {
  return code == ONIGERR_RETRY_LIMIT_IN_MATCH_OVER || code == ONIGERR_RETRY_LIMIT_IN_SEARCH_OVER ||
         code == ONIGERR_MATCH_STACK_LIMIT_OVER || code == ONIGERR_SUBEXP_CALL_LIMIT_IN_SEARCH_OVER;
}

}  // namespace

TExRegex::TExRegex() = default;

TExRegex::~TExRegex() {
  Clear();
}

void TExRegex::Clear() {
  if (api_) {
    if (regex_) api_->freeRegex(regex_);
    if (region_) api_->regionFree(region_, 1);
    if (param_) api_->freeMatchParam(param_);
  }
  regex_ = nullptr;
  region_ = nullptr;
  param_ = nullptr;
  searchLimit_ = 0;
  api_.reset();
  hasKey_ = false;
  pattern_.clear();
  compileStatus_ = TExSearchStatus::ssOk;
  compileError_.clear();
  SetStatus(TExSearchStatus::ssOk, {});
}

void TExRegex::ResetStatus() {
  if (status_ != compileStatus_) SetStatus(compileStatus_, compileError_);
}

void TExRegex::SetStatus(TExSearchStatus status, std::string text) {
  status_ = status;
  errorText_ = std::move(text);
}

bool TExRegex::Compile(std::string_view pattern, TExSearchOptions options) {
  bool matchCase = options.Contains(soMatchCase);
  bool regexp = options.Contains(soRegexp);
  if (hasKey_ && pattern == pattern_ && matchCase == matchCase_ && regexp == regexp_) {
    ResetStatus();
    return regex_ != nullptr;
  }
  Clear();
  hasKey_ = true;
  pattern_ = pattern;
  matchCase_ = matchCase;
  regexp_ = regexp;

  auto api = onig::CurrentApi();
  if (!api) {
    compileStatus_ = TExSearchStatus::ssNoLibrary;
    compileError_ = RegexUnavailableText();
  } else {
    api_ = api;
    OnigOptionType option = ONIG_OPTION_FIND_NOT_EMPTY;
    if (!matchCase) option |= ONIG_OPTION_IGNORECASE;
    OnigErrorInfo info{};
    OnigRegex regex = nullptr;
    int r = api->newRegex(&regex, Bytes(pattern_), Bytes(pattern_) + pattern_.size(), option,
                          api->sjis, regexp ? api->syntaxRuby : api->syntaxAsIs, &info);
    if (r != ONIG_NORMAL) {
      compileStatus_ = TExSearchStatus::ssBadPattern;
      compileError_ = "検索文字列が正しくありません: " + api->ErrorText(r, &info);
    } else {
      regex_ = regex;
      region_ = api->regionNew();
      if (api->HasMatchParam()) {
        param_ = api->newMatchParam();
        if (param_) api->setRetryLimitInMatchOfParam(param_, onig::kRetryLimitInMatch);
      }
    }
  }
  SetStatus(compileStatus_, compileError_);
  return regex_ != nullptr;
}

bool TExRegex::Search(std::string_view text, std::size_t start) {
  if (!regex_) {
    ResetStatus();
    return false;
  }
  if (start > text.size()) start = text.size();
  const OnigUChar* str = Bytes(text);
  const OnigUChar* end = str + text.size();
  int r;
  if (param_) {
    // The limit for the length rounded up to 64 KiB: for most lines it need
    // not be set again.
    std::size_t bytes = ((text.size() - start) | 0xFFFF) + 1;
    unsigned long limit = onig::RetryLimitInSearch(bytes);
    if (limit != searchLimit_ && api_->setRetryLimitInSearchOfParam) {
      api_->setRetryLimitInSearchOfParam(param_, limit);
      searchLimit_ = limit;
    }
    r = api_->searchWithParam(regex_, str, end, str + start, end, region_, ONIG_OPTION_NONE,
                              param_);
  } else {
    r = api_->search(regex_, str, end, str + start, end, region_, ONIG_OPTION_NONE);
  }
  if (r >= 0) return true;
  if (r == ONIG_MISMATCH) return false;
  std::string why = api_->ErrorText(r);
  SetStatus(TExSearchStatus::ssGivenUp,
            IsGiveUpCode(r) ? "照合に手間がかかりすぎるため検索を打ち切りました (" + why + ")"
                            : "検索を打ち切りました (" + why + ")");
  return false;
}

int TExRegex::GroupCount() const {
  return region_ ? region_->num_regs : 0;
}

int TExRegex::GroupBegin(int group) const {
  return region_->beg[group];
}

int TExRegex::GroupEnd(int group) const {
  return region_->end[group];
}

}  // namespace kelu
