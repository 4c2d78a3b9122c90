// Cutting a text into lines the way every string list here does: a line ends
// at CR, at LF or at CR LF (which ends one line); a final line break adds no
// empty line, two final line breaks leave one empty last line.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace kelu {

// An upper bound of the number of lines ForEachLine gives (exact when every
// line ends with LF or CR LF), for sizing a list once.
inline std::size_t LineCountHint(std::string_view text) {
  if (text.empty()) return 0;
  std::size_t lineFeeds = 0;
  for (const char *p = text.data(), *e = p + text.size();
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(e - p)))) !=
       nullptr;
       ++p) {
    ++lineFeeds;
  }
  return lineFeeds + (text.back() == '\n' ? 0 : 1);
}

// Calls f(line) for each line of `text`, in order.
template <class F>
void ForEachLine(std::string_view text, F&& f) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end) {
    const char* q = p;
    while (q < end && *q != '\r' && *q != '\n') ++q;
    f(std::string_view(p, static_cast<std::size_t>(q - p)));
    p = q;
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
  }
}

}  // namespace kelu
