#include "editor/ex/matcher/SearchText.h"

#include <algorithm>
#include <iterator>

#include "base/Sjis.h"

namespace kelu {
namespace {

// The start of the character holding byte `i` (< s.size()). A byte that
// cannot begin a double-byte character always ends one, so the scan starts
// right after the nearest such byte before `i` instead of at the string's
// start.
std::size_t CharStartNear(std::string_view s, std::size_t i) {
  std::size_t p = i;
  while (p > 0 && sjis::IsLeadByte(s[p - 1])) --p;
  for (;;) {
    std::size_t n = sjis::CharLength(s, p);
    if (p + n > i) return p;
    p += n;
  }
}

bool IsAsciiAlnum(unsigned char b) {
  return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

char SingleByteKind(unsigned char b) {
  if (b == 0 || b == '\t' || b == '\n' || b == '\r' || b == ' ') return '0';
  if (b < 0x80) {
    bool punctuation = b >= 0x21 && b <= 0x7E && !IsAsciiAlnum(b) && b != '-';
    return punctuation ? '0' : '1';
  }
  // Half-width katakana, without the ideographic comma, full stop and
  // middle dot.
  if (b >= 0xA1 && b <= 0xDF && b != 0xA1 && b != 0xA4 && b != 0xA5) return '2';
  return '0';
}

char DoubleByteKind(unsigned code) {
  if (IsWordDelimiter(code)) return '0';
  if (code >= 0x824F && code <= 0x829A) return '3';
  if (code >= 0x8340 && code <= 0x8396) return '4';
  if (code >= 0x829F && code <= 0x82F1) return '5';
  if (code >= 0x889F) return '6';
  return '0';
}

// "　、。，．・：；？！゛゜´｀¨＾￣＿〇ー―‐／＼～∥｜…‥‘’“”（）〔〕［］｛｝〈〉《》「」『』【】
// ＋－±×÷＝≠＜＞≦≧∞∴♂♀°′″℃￥＄￠￡％＃＆＊＠§☆★○●◎◇◆□■△▲▽", sorted.
constexpr unsigned kWordDelimiters[] = {
    0x8140, 0x8141, 0x8142, 0x8143, 0x8144, 0x8145, 0x8146, 0x8147, 0x8148, 0x8149, 0x814A, 0x814B,
    0x814C, 0x814D, 0x814E, 0x814F, 0x8150, 0x8151, 0x815A, 0x815B, 0x815C, 0x815D, 0x815E, 0x815F,
    0x8160, 0x8161, 0x8162, 0x8163, 0x8164, 0x8165, 0x8166, 0x8167, 0x8168, 0x8169, 0x816A, 0x816B,
    0x816C, 0x816D, 0x816E, 0x816F, 0x8170, 0x8171, 0x8172, 0x8173, 0x8174, 0x8175, 0x8176, 0x8177,
    0x8178, 0x8179, 0x817A, 0x817B, 0x817C, 0x817D, 0x817E, 0x8180, 0x8181, 0x8182, 0x8183, 0x8184,
    0x8185, 0x8186, 0x8187, 0x8188, 0x8189, 0x818A, 0x818B, 0x818C, 0x818D, 0x818E, 0x818F, 0x8190,
    0x8191, 0x8192, 0x8193, 0x8194, 0x8195, 0x8196, 0x8197, 0x8198, 0x8199, 0x819A, 0x819B, 0x819C,
    0x819D, 0x819E, 0x819F, 0x81A0, 0x81A1, 0x81A2, 0x81A3, 0x81A4,
};
static_assert(std::size(kWordDelimiters) == 92);

// `text` with every `token` that starts at a character boundary replaced by
// `by`; the inserted text is not searched again.
std::string ReplaceAtCharStarts(std::string_view text, std::string_view token,
                                std::string_view by) {
  std::string out;
  out.reserve(text.size());
  std::size_t p = 0;
  while (p < text.size()) {
    if (text.compare(p, token.size(), token) == 0) {
      out.append(by);
      p += token.size();
      continue;
    }
    std::size_t n = sjis::CharLength(text, p);
    out.append(text.substr(p, n));
    p += n;
  }
  return out;
}

}  // namespace

std::string ExpandEscapeSequences(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  bool pending = false;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t n = sjis::CharLength(s, i);
    if (n == 2) {
      if (pending) out += '\\';
      pending = false;
      out.append(s.substr(i, 2));
      i += 2;
      continue;
    }
    char c = s[i++];
    if (pending) {
      pending = false;
      switch (c) {
        case 't':
          out += '\t';
          break;
        case 'r':
          out += '\r';
          break;
        case 'n':
          out += '\n';
          break;
        case '\\':
          out += '\\';
          break;
        default:
          out += '\\';
          out += c;
      }
    } else if (c == '\\') {
      pending = true;
    } else {
      out += c;
    }
  }
  if (pending) out += '\\';
  return out;
}

bool IsMultiLineSearch(std::string_view findString, TExSearchOptions options) {
  return options.Contains(soRegexp) && findString.find("\\r\\n") != std::string_view::npos;
}

bool IsWordDelimiter(unsigned code) {
  return std::binary_search(std::begin(kWordDelimiters), std::end(kWordDelimiters), code);
}

char GetCharKind(std::string_view text, int index) {
  if (index < 1 || static_cast<std::size_t>(index) > text.size()) return '0';
  std::size_t i = CharStartNear(text, static_cast<std::size_t>(index - 1));
  auto b = static_cast<unsigned char>(text[i]);
  if (sjis::CharLength(text, i) == 2) {
    return DoubleByteKind(b << 8 | static_cast<unsigned char>(text[i + 1]));
  }
  return SingleByteKind(b);
}

bool IsWholeWord(std::string_view text, int start, int length) {
  return GetCharKind(text, start) != GetCharKind(text, start - 1) &&
         GetCharKind(text, start + length - 1) != GetCharKind(text, start + length);
}

std::string ExpandReplaceText(std::string_view replaceText, const TEditorExHit& hit,
                              TExSearchOptions options) {
  if (!options.Contains(soRegexp) || !options.Contains(soEscSeq)) return std::string(replaceText);
  std::string text(replaceText);
  // Downwards, so that \12 is replaced before \1 could take its first digit.
  for (int n = static_cast<int>(hit.Groups.size()) - 1; n >= 0; --n) {
    text = ReplaceAtCharStarts(text, "\\" + std::to_string(n), hit.Groups[n]);
  }
  return text;
}

std::string ReplaceHits(std::string_view line, const std::vector<TEditorExHit>& hits,
                        std::string_view replaceText, TExSearchOptions options, bool& overrun) {
  overrun = false;
  if (hits.empty()) return std::string(line);
  auto at = [&](long long offset) {
    return static_cast<std::size_t>(std::clamp<long long>(offset, 0, line.size()));
  };
  std::string out(line.substr(0, at(hits.front().Start - 1)));
  for (std::size_t i = 0; i < hits.size(); ++i) {
    const TEditorExHit& hit = hits[i];
    out += ExpandReplaceText(replaceText, hit, options);
    std::size_t from = at(static_cast<long long>(hit.Start) - 1 + hit.Length);
    std::size_t to = i + 1 < hits.size() ? at(hits[i + 1].Start - 1) : line.size();
    if (to > from) out.append(line.substr(from, to - from));
  }
  const TEditorExHit& last = hits.back();
  overrun =
      static_cast<long long>(last.Start) - 1 + last.Length > static_cast<long long>(line.size());
  return out;
}

int SelectHitForward(const std::vector<TEditorExHit>& hits, int offset, bool wordWrap) {
  for (std::size_t i = 0; i < hits.size(); ++i) {
    if (hits[i].Start > offset) {
      if (!wordWrap && hits[i].Start > kUnwrappedLineLimit) return -1;
      return static_cast<int>(i);
    }
  }
  return -1;
}

int SelectHitBackward(const std::vector<TEditorExHit>& hits, int offset, bool wordWrap) {
  if (!wordWrap && offset > kUnwrappedLineLimit) offset = kUnwrappedLineLimit;
  for (std::size_t i = hits.size(); i > 0; --i) {
    if (hits[i - 1].Start <= offset) return static_cast<int>(i - 1);
  }
  return -1;
}

}  // namespace kelu
