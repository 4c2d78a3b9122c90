#include "base/Sjis.h"

namespace kelu::sjis {

std::size_t CharStart(std::string_view s, std::size_t i) {
  std::size_t p = 0;
  while (p < s.size()) {
    std::size_t n = CharLength(s, p);
    if (p + n > i) return p;
    p += n;
  }
  return i;
}

std::size_t CharCount(std::string_view s) {
  std::size_t n = 0;
  for (std::size_t p = 0; p < s.size(); p += CharLength(s, p)) ++n;
  return n;
}

}  // namespace kelu::sjis
