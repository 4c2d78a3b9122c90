#include "editor/ex/matcher/RegexLibrary.h"

#include <dlfcn.h>

#include <cstdlib>
#include <map>
#include <mutex>

#include "editor/ex/matcher/OnigApi.h"

namespace kelu {
namespace onig {
namespace {

std::string InitialFile() {
  const char* file = std::getenv(kRegexLibraryVariable);
  return file && *file ? file : kRegexLibraryFile;
}

struct Binding {
  std::string file = InitialFile();
  bool bound = false;
  std::shared_ptr<const Api> api;
  std::string unavailable;
};

std::mutex& BindingMutex() {
  static std::mutex m;
  return m;
}

Binding& TheBinding() {
  static Binding b;
  return b;
}

// Every library loaded so far by file name: loaded and initialised once per
// process, never unloaded (compiled patterns may still point into it).
std::map<std::string, std::shared_ptr<const Api>>& Loaded() {
  static std::map<std::string, std::shared_ptr<const Api>> loaded;
  return loaded;
}

template <typename T>
bool Find(void* handle, const char* name, T& out) {
  out = reinterpret_cast<T>(dlsym(handle, name));
  return out != nullptr;
}

std::string UnavailableText(const std::string& file, const std::string& why) {
  return "正規表現ライブラリ " + file + " が使えないため検索できません (" + why + ")";
}

// Loads, looks up and initialises the library; on failure returns null and
// says why in `unavailable`.
std::shared_ptr<const Api> Load(const std::string& file, std::string& unavailable) {
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* err = dlerror();
    unavailable = UnavailableText(file, err ? err : "読み込めません");
    return nullptr;
  }
  auto api = std::make_shared<Api>();
  api->handle = handle;
  const char* missing = nullptr;
  auto need = [&](const char* name, auto& out) {
    if (!Find(handle, name, out) && !missing) missing = name;
  };
  need("OnigEncodingSJIS", api->sjis);
  need("OnigSyntaxRuby", api->syntaxRuby);
  need("OnigSyntaxASIS", api->syntaxAsIs);
  need("onig_new", api->newRegex);
  need("onig_free", api->freeRegex);
  need("onig_search", api->search);
  need("onig_region_new", api->regionNew);
  need("onig_region_free", api->regionFree);
  need("onig_end", api->end);
  need("onig_error_code_to_str", api->errorCodeToStr);
  need("onig_version", api->version);
  need("onig_copyright", api->copyright);
  if (missing) {
    // The handle stays open: dlclose of a half-usable library gains nothing.
    unavailable = UnavailableText(file, std::string(missing) + " が見つかりません");
    return nullptr;
  }
  // Optional: absent before the 6.x series, which initialise themselves.
  Find(handle, "onig_initialize", api->initialize);
  Find(handle, "onig_search_with_param", api->searchWithParam);
  Find(handle, "onig_new_match_param", api->newMatchParam);
  Find(handle, "onig_free_match_param", api->freeMatchParam);
  Find(handle, "onig_set_retry_limit_in_match_of_match_param", api->setRetryLimitInMatchOfParam);
  Find(handle, "onig_set_retry_limit_in_search_of_match_param", api->setRetryLimitInSearchOfParam);
  Find(handle, "onig_set_retry_limit_in_match", api->setRetryLimitInMatch);
  if (api->initialize) {
    OnigEncoding encodings[] = {api->sjis};
    int r = api->initialize(encodings, 1);
    if (r != ONIG_NORMAL) {
      unavailable = UnavailableText(file, "onig_initialize: " + api->ErrorText(r));
      return nullptr;
    }
  }
  if (!api->HasMatchParam() && api->setRetryLimitInMatch) {
    api->setRetryLimitInMatch(kRetryLimitInMatch);
  }
  return api;
}

}  // namespace

std::string Api::ErrorText(int code, OnigErrorInfo* info) const {
  OnigUChar buf[ONIG_MAX_ERROR_MESSAGE_LEN * 2 + 32] = {};
  if (info) {
    errorCodeToStr(buf, code, info);
  } else {
    errorCodeToStr(buf, code);
  }
  return reinterpret_cast<const char*>(buf);
}

std::shared_ptr<const Api> CurrentApi() {
  std::lock_guard<std::mutex> lock(BindingMutex());
  Binding& b = TheBinding();
  if (!b.bound) {
    b.bound = true;
    auto it = Loaded().find(b.file);
    if (it != Loaded().end()) {
      b.api = it->second;
      b.unavailable.clear();
    } else {
      b.api = Load(b.file, b.unavailable);
      if (b.api) Loaded()[b.file] = b.api;
    }
  }
  return b.api;
}

}  // namespace onig

bool RegexAvailable() {
  return onig::CurrentApi() != nullptr;
}

std::string RegexUnavailableText() {
  onig::CurrentApi();
  std::lock_guard<std::mutex> lock(onig::BindingMutex());
  return onig::TheBinding().unavailable;
}

std::string RegexLibraryVersion() {
  auto api = onig::CurrentApi();
  return api ? api->version() : "";
}

std::string RegexLibraryInfo() {
  auto api = onig::CurrentApi();
  return api ? api->copyright() : "";
}

void BindRegexLibraryForTesting(const std::string& libraryFile) {
  std::lock_guard<std::mutex> lock(onig::BindingMutex());
  onig::Binding& b = onig::TheBinding();
  b.file = libraryFile;
  b.bound = false;
  b.api.reset();
  b.unavailable.clear();
}

}  // namespace kelu
