// The search's options and hits, and the text work around a search that
// needs no regular-expression library: escape sequences, word boundaries,
// replacement texts and the choice of a hit in a line. All offsets are byte
// offsets into Shift-JIS text; a double-byte character counts two.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace kelu {

enum TExSearchOption : std::uint8_t {
  soMatchCase = 0,  // letters compared with case
  soRegexp = 1,     // the pattern is a regular expression (Ruby syntax), not literal text
  soEscSeq = 2,     // \t \r \n \\ in the pattern are expanded first
  soWholeWord = 3,  // a match counts only as a whole word (IsWholeWord)
};

// A set of TExSearchOption, held as bits 0 to 3.
class TExSearchOptions {
 public:
  constexpr TExSearchOptions() = default;
  constexpr TExSearchOptions(std::initializer_list<TExSearchOption> options) {
    for (TExSearchOption o : options) Include(o);
  }
  static constexpr TExSearchOptions FromBits(std::uint32_t bits) {
    TExSearchOptions s;
    s.bits_ = bits & 0x0F;
    return s;
  }
  constexpr std::uint32_t Bits() const { return bits_; }
  constexpr bool Contains(TExSearchOption o) const { return (bits_ & Bit(o)) != 0; }
  constexpr void Include(TExSearchOption o) { bits_ |= Bit(o); }
  constexpr void Exclude(TExSearchOption o) { bits_ &= ~Bit(o); }
  friend constexpr bool operator==(TExSearchOptions, TExSearchOptions) = default;

 private:
  static constexpr std::uint32_t Bit(TExSearchOption o) { return 1u << o; }
  std::uint32_t bits_ = 0;
};

// One hit in the text of a logical line.
struct TEditorExHit {
  int Start = 0;   // 1-based byte offset
  int Length = 0;  // bytes, never 0
  // The whole match, then the capture groups in order; a group that matched
  // nothing adds no entry, so the later ones move up.
  std::vector<std::string> Groups;
};

// With word wrap off, hits that start after this byte of a line are not
// stepped to (the row is not drawn past this many columns).
inline constexpr int kUnwrappedLineLimit = 1000;

// The pattern as typed, with "\t", "\r", "\n" and "\\" expanded; a backslash
// before any other character stays as typed, and double-byte characters are
// copied whole (a backslash as their second byte is not an escape).
std::string ExpandEscapeSequences(std::string_view s);

// True when the pattern joins lines: it holds the four characters \r\n and
// is a regular expression.
bool IsMultiLineSearch(std::string_view findString, TExSearchOptions options);

// The kind of the character holding 1-based byte `index` of `text`, a word
// being a run of one kind: '0' outside the text and for blanks, punctuation
// and delimiters, '1' single-byte letters and digits, '2' half-width
// katakana, '3' full-width letters and digits, '4' full-width katakana,
// '5' hiragana, '6' kanji and everything after them.
char GetCharKind(std::string_view text, int index);

// True for the 92 double-byte punctuation marks and symbols that end a word
// (the full-width space, 、。・ー「」 and the like); `code` is lead byte * 256
// + trail byte.
bool IsWordDelimiter(unsigned code);

// True when the `length` bytes at 1-based `start` differ in kind from the
// characters just before and just after them.
bool IsWholeWord(std::string_view text, int start, int length);

// With soRegexp and soEscSeq, the replacement text with every \n (n a group
// number, the highest first) replaced by entry n of the hit's Groups;
// otherwise the text unchanged.
std::string ExpandReplaceText(std::string_view replaceText, const TEditorExHit& hit,
                              TExSearchOptions options);

// `line` with every hit replaced by its ExpandReplaceText; `overrun` tells
// whether the last hit ran past the end of the line.
std::string ReplaceHits(std::string_view line, const std::vector<TEditorExHit>& hits,
                        std::string_view replaceText, TExSearchOptions options, bool& overrun);

// Index into `hits` (in order of Start) of the first hit at or after
// 0-based `offset`, -1 when none; with word wrap off a hit that starts after
// byte kUnwrappedLineLimit is not taken.
int SelectHitForward(const std::vector<TEditorExHit>& hits, int offset, bool wordWrap);

// Index of the last hit whose 1-based Start is at most `offset` (it starts
// before 0-based `offset`), -1 when none; with word wrap off `offset` counts
// as at most kUnwrappedLineLimit.
int SelectHitBackward(const std::vector<TEditorExHit>& hits, int offset, bool wordWrap);

}  // namespace kelu
