#include "editor/model/TextUtils.h"

#include <algorithm>
#include <cstring>

#include "base/LineSplit.h"
#include "base/Sjis.h"
#include "editor/model/RowList.h"

namespace kelu {

int CharCount(std::string_view s, char ch, int limit) {
  int n = std::min<int>(static_cast<int>(s.size()), std::max(limit, 0));
  return static_cast<int>(std::count(s.begin(), s.begin() + n, ch));
}

bool IsLeadByteAt(std::string_view s, int index) {
  if (index < 1 || index > static_cast<int>(s.size())) return false;
  std::size_t i = static_cast<std::size_t>(index - 1);
  return sjis::CharStart(s, i) == i && sjis::IsDoubleByteAt(s, i);
}

bool IsTrailByteAt(std::string_view s, int index) {
  if (index < 2 || index > static_cast<int>(s.size())) return false;
  std::size_t i = static_cast<std::size_t>(index - 1);
  return sjis::CharStart(s, i) == i - 1 && sjis::IsDoubleByteAt(s, i - 1);
}

unsigned char ByteAt(std::string_view s, int pos) {
  if (pos < 1 || pos > static_cast<int>(s.size())) return 0;
  return static_cast<unsigned char>(s[pos - 1]);
}

bool ContainsAtCharStart(std::string_view sub, std::string_view s) {
  if (sub.empty() || sub.size() > s.size()) return false;
  for (std::size_t i = 0; i + sub.size() <= s.size(); i += sjis::CharLength(s, i)) {
    if (s.compare(i, sub.size(), sub) == 0) return true;
  }
  return false;
}

void SplitLines(std::string_view text, TStrings& strings) {
  if (auto* rows = dynamic_cast<TheStringList*>(&strings)) {
    rows->AssignSplitLines(text);
    return;
  }
  strings.BeginUpdate();
  try {
    strings.Clear();
    strings.SetCapacity(static_cast<int>(LineCountHint(text)));
    ForEachLine(text, [&](std::string_view line) { strings.Add(line); });
  } catch (...) {
    strings.EndUpdate();
    throw;
  }
  strings.EndUpdate();
}

int LeadingSpaceWidth(std::string_view s) {
  if (s.empty()) return -1;
  int width = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == ' ') {
      ++width;
      ++i;
    } else if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 &&
               static_cast<unsigned char>(s[i + 1]) == 0x40) {
      width += 2;
      i += 2;
    } else {
      break;
    }
  }
  return width;
}

std::string TrimLeadingBlanks(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (static_cast<unsigned char>(s[i]) <= 0x20) {
      ++i;
    } else if (i + 1 < s.size() && static_cast<unsigned char>(s[i]) == 0x81 &&
               static_cast<unsigned char>(s[i + 1]) == 0x40) {
      i += 2;
    } else {
      break;
    }
  }
  return std::string(s.substr(i));
}

}  // namespace kelu
