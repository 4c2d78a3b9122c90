#include <algorithm>

#include "base/Exceptions.h"
#include "base/Sjis.h"
#include "editor/fountain/Fountain.h"

namespace kelu {

namespace {

constexpr bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}
constexpr bool IsLetter(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
constexpr bool IsIdentChar(unsigned char c) {
  return IsLetter(c) || IsDigit(c) || c == '_';
}
constexpr bool IsHexDigit(unsigned char c) {
  return IsDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
constexpr bool IsKanjiLead(unsigned char c) {
  return (c >= 0x88 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// A 256-entry membership table built from a list of single bytes and the
// alphanumeric ranges.
struct ByteSet {
  bool in[256] = {};
  constexpr ByteSet(std::string_view bytes, bool alnum) {
    for (char c : bytes) in[static_cast<unsigned char>(c)] = true;
    if (alnum) {
      for (int c = 0; c < 256; ++c) {
        if (IsLetter(static_cast<unsigned char>(c)) || IsDigit(static_cast<unsigned char>(c))) {
          in[c] = true;
        }
      }
    }
  }
  constexpr bool operator()(unsigned char c) const { return in[c]; }
};

constexpr ByteSet kMailBytes("!$%&*,-./;=?@^_~", true);
constexpr ByteSet kUrlBytes("#%&+-./:=?_~", true);

// The largest Remain a row state can keep (one byte in the row list).
constexpr std::size_t kMaxRemain = 255;

}  // namespace

TFountainParser::TFountainParser(TFountain* fountain) {
  if (!fountain) throw EInvalidOperation("TFountainParser.Create need instance of TFountain");
  fountain_ = fountain;
  // Fills the base tables; a descendant's entries come from the virtual call
  // that TFountain::CreateParser makes after construction.
  TFountainParser::InitMethodTable();
}

void TFountainParser::InitMethodTable() {
  for (int i = 0; i < 256; ++i) {
    charTable_[i] = &TFountainParser::SymbolProc;
    tokenTable_[i] = &TFountainParser::SymbolProc;
  }
  charTable_[0x00] = &TFountainParser::EndProc;
  charTable_[0x09] = &TFountainParser::TabProc;
  charTable_[0x0A] = &TFountainParser::LFProc;
  charTable_[0x0D] = &TFountainParser::CRProc;
  for (int c = '0'; c <= '9'; ++c) charTable_[c] = &TFountainParser::NumberProc;
  for (int c = 'A'; c <= 'Z'; ++c) charTable_[c] = &TFountainParser::IdentProc;
  for (int c = 'a'; c <= 'z'; ++c) charTable_[c] = &TFountainParser::IdentProc;
  charTable_[static_cast<unsigned char>('_')] = &TFountainParser::IdentProc;
  charTable_[0x81] = &TFountainParser::DBSymbolProc;
  for (int c = 0x84; c <= 0x87; ++c) charTable_[c] = &TFountainParser::DBSymbolProc;
  charTable_[0x82] = &TFountainParser::DBKanaProc;
  charTable_[0x83] = &TFountainParser::DBKanaProc;
  for (int c = 0x88; c <= 0x9F; ++c) charTable_[c] = &TFountainParser::KanjiProc;
  for (int c = 0xE0; c <= 0xFC; ++c) charTable_[c] = &TFountainParser::KanjiProc;
  for (int c = 0xA1; c <= 0xA5; ++c) charTable_[c] = &TFountainParser::KanaSymbolProc;
  for (int c = 0xA6; c <= 0xDF; ++c) charTable_[c] = &TFountainParser::KanaProc;

  tokenTable_[ttInteger] = &TFountainParser::NumberProc;
  tokenTable_[ttFloat] = &TFountainParser::NumberProc;
  tokenTable_[ttBracket] = &TFountainParser::BracketProc;
  tokenTable_[ttComment] = &TFountainParser::CommentProc;
  tokenTable_[ttReserve] = &TFountainParser::ReserveWordProc;
  tokenTable_[ttAnk] = &TFountainParser::IdentProc;
  tokenTable_[ttDBSymbol] = &TFountainParser::DBSymbolProc;
  for (int k = ttDBDigits; k <= ttKatakana; ++k) tokenTable_[k] = &TFountainParser::DBKanaProc;
  tokenTable_[ttKanji] = &TFountainParser::KanjiProc;
  tokenTable_[ttKanaSymbol] = &TFountainParser::KanaSymbolProc;
  tokenTable_[ttKana] = &TFountainParser::KanaProc;
  tokenTable_[ttUrl] = &TFountainParser::UrlProc;
  tokenTable_[ttMail] = &TFountainParser::MailProc;
  tokenTable_[ttHex] = &TFountainParser::HexProc;
  tokenTable_[ttSingleQuote] = &TFountainParser::SingleQuoteProc;
  tokenTable_[ttDoubleQuote] = &TFountainParser::DoubleQuoteProc;
}

TTokenKinds TFountainParser::NoRemainTokens() const {
  TTokenKinds kinds;
  kinds.set(ttComment).set(ttSingleQuote).set(ttDoubleQuote);
  return kinds;
}

TTokenKinds TFountainParser::SkipRowTokens() const {
  TTokenKinds kinds;
  kinds.set(ttComment);
  return kinds;
}

// ------------------------------------------------------------ row and tokens

void TFountainParser::Start(std::string_view rowText, const TRowAttributeData& state) {
  text_ = rowText;
  p_ = nextPos_ = tokenStart_ = 0;
  latestBracket_ = -2;
  token_ = ttEnd;
  wrappedFlag_ = false;
  mailFailEnd_ = 0;
  rowAttribute_ = state.RowAttribute;
  prevRowAttribute_ = state.PrevRowAttribute;
  // -2 (not computed) starts outside brackets like -1.
  bracketIndex_ = state.BracketIndex < 0 ? -1 : state.BracketIndex;
  extIndex_ = state.ExtIndex;
  remain_ = state.Remain;
  extValue_ = state.ExtValue;
  wrappedToken_ = state.WrappedToken;
  extByte_ = state.ExtByte;
  extText_ = state.ExtText;
}

int TFountainParser::NextToken() {
  SkipBlanks();
  p_ = tokenStart_ = nextPos_;
  wrappedFlag_ = wrappedToken_ != 0;
  if (AtRowEnd(p_)) {
    token_ = ttEnd;
  } else if (wrappedToken_ != 0) {
    WrappedTokenProc();
  } else if (bracketIndex_ < 0) {
    NormalTokenProc();
  } else {
    BracketProc();
  }
  nextPos_ = p_;
  return token_;
}

void TFountainParser::SkipBlanks() {
  for (;;) {
    unsigned char c = At(nextPos_);
    if (c == 0 || c > 0x20 || c == '\t' || c == '\n' || c == '\r') return;
    ++nextPos_;
  }
}

void TFountainParser::AdvanceChar() {
  p_ += sjis::CharLength(text_, p_);
}

void TFountainParser::WrappedTokenProc() {
  if (remain_ > 0) {
    token_ = wrappedToken_;
    p_ = std::min(p_ + static_cast<std::size_t>(remain_), text_.size());
    if (token_ == ttBracket) {
      latestBracket_ = bracketIndex_;
      bracketIndex_ = -1;
    }
  } else {
    (this->*tokenTable_[static_cast<unsigned char>(wrappedToken_)])();
  }
  wrappedToken_ = 0;
  remain_ = 0;
}

void TFountainParser::NormalTokenProc() {
  if (bracketIndex_ < 0 && IsBracketStart()) {
    BracketProc();
  } else {
    (this->*charTable_[At(p_)])();
  }
}

void TFountainParser::WrappedTokenKind(int& kind) {
  if (IsReserveWord()) kind = ttReserve;
}

bool TFountainParser::IsReserveWord() {
  if (wrappedFlag_ || token_ == ttEnd || token_ == ttBracket || token_ == ttComment) return false;
  return fountain_->IsReserveWordText(TokenText());
}

// ----------------------------------------------------------------- brackets

bool TFountainParser::IsBracketStart() {
  const TFountainBracketCollection& brackets = fountain_->Brackets();
  for (int i = 0, n = brackets.Count(); i < n; ++i) {
    const std::string& left = brackets.Items(i)->LeftBracket();
    if (Matches(p_, left)) {
      bracketIndex_ = i;
      p_ += left.size();
      return true;
    }
  }
  return false;
}

void TFountainParser::BracketProc() {
  const TFountainBracketCollection& brackets = fountain_->Brackets();
  if (bracketIndex_ < 0 || bracketIndex_ >= brackets.Count() ||
      brackets.Items(bracketIndex_)->RightBracket().empty()) {
    token_ = ttEnd;
    return;
  }
  token_ = ttBracket;
  latestBracket_ = bracketIndex_;
  const std::string& right = brackets.Items(bracketIndex_)->RightBracket();
  while (!AtRowEnd(p_)) {
    if (Matches(p_, right)) {
      p_ += right.size();
      bracketIndex_ = -1;
      return;
    }
    AdvanceChar();
  }
}

// ------------------------------------------------------------- mail and URL

bool TFountainParser::IsMailStart() {
  // Every start before mailFailEnd_ meets the same non-mail byte with no "@"
  // and "." passed before it, so it fails too (this keeps long runs of mail
  // bytes linear).
  if (p_ < mailFailEnd_) return false;
  unsigned char c = At(p_);
  if (!kMailBytes(c) || c == '@') return false;
  bool atPassed = false;
  for (std::size_t q = p_ + 1;; ++q) {
    c = At(q);
    if (!kMailBytes(c)) {
      mailFailEnd_ = q;
      return false;
    }
    if (c == '@') {
      atPassed = true;
    } else if (c == '.' && atPassed) {
      p_ = q + 1;
      return true;
    }
  }
}

void TFountainParser::MailProc() {
  token_ = ttMail;
  while (kMailBytes(At(p_))) ++p_;
}

bool TFountainParser::IsUrlStart() {
  std::size_t length = 0;
  switch (At(p_)) {
    case 'f':
      if (Matches(p_, "ftp:")) length = 4;
      break;
    case 'h':
      if (Matches(p_, "http:")) {
        length = 5;
      } else if (Matches(p_, "https:")) {
        length = 6;
      }
      break;
    case 'w':
      if (Matches(p_, "www.")) length = 4;
      break;
    default:
      break;
  }
  p_ += length;
  return length > 0;
}

void TFountainParser::UrlProc() {
  token_ = ttUrl;
  while (kUrlBytes(At(p_))) ++p_;
}

// ------------------------------------------------------- scanning methods

void TFountainParser::ReserveWordProc() {
  (this->*charTable_[At(p_)])();
  token_ = ttReserve;
}

void TFountainParser::EndProc() {
  token_ = ttEnd;
}

void TFountainParser::TabProc() {
  token_ = ttTab;
  if (p_ < text_.size()) ++p_;
}

void TFountainParser::LFProc() {
  token_ = ttEnd;
  if (At(p_) == '\n') ++p_;
}

void TFountainParser::CRProc() {
  token_ = ttEnd;
  if (At(p_) == '\r') ++p_;
  if (At(p_) == '\n') ++p_;
}

void TFountainParser::CommentProc() {
  token_ = ttComment;
  while (!AtRowEnd(p_)) AdvanceChar();
}

void TFountainParser::HexProc() {
  token_ = ttHex;
  while (IsHexDigit(At(p_))) ++p_;
}

void TFountainParser::NumberProc() {
  token_ = ttInteger;
  while (IsDigit(At(p_))) ++p_;
  if (At(p_) == '.') {
    token_ = ttFloat;
    unsigned char next = At(p_ + 1);
    if (IsDigit(next)) {
      ++p_;
      while (IsDigit(At(p_))) ++p_;
    } else if (next == 'E' || next == 'e') {
      ++p_;
    } else {
      return;  // the point is not part of the number
    }
  }
  if (At(p_) == 'E' || At(p_) == 'e') {
    token_ = ttFloat;
    ++p_;
    if (At(p_) == '+' || At(p_) == '-') ++p_;
    while (IsDigit(At(p_))) ++p_;
  }
}

void TFountainParser::IdentProc() {
  token_ = ttAnk;
  while (IsIdentChar(At(p_))) ++p_;
}

void TFountainParser::DBSymbolProc() {
  token_ = ttDBSymbol;
  unsigned char lead = At(p_);
  std::size_t length = sjis::CharLength(text_, p_);
  unsigned char trail = length == 2 ? At(p_ + 1) : 0;
  bool symbol = false;
  if (lead == 0x81 || (lead >= 0x84 && lead <= 0x87)) {
    symbol = length > 0;
  } else if (lead == 0x83) {
    symbol = trail >= 0x97 && trail <= 0xF0;
  } else if (lead == 0x82) {
    symbol = (trail >= 0x40 && trail <= 0x4E) || (trail >= 0x59 && trail <= 0x5F) ||
             (trail >= 0x7A && trail <= 0x80) || (trail >= 0x9B && trail <= 0x9E) || trail >= 0xF2;
  }
  if (symbol) p_ += length;
}

namespace {

// Full-width character groups of lead bytes 0x82 and 0x83.
constexpr bool IsDBDigit(unsigned char lead, unsigned char trail) {
  return lead == 0x82 && trail >= 0x4F && trail <= 0x58;
}
constexpr bool IsDBLetter(unsigned char lead, unsigned char trail) {
  return lead == 0x82 && ((trail >= 0x60 && trail <= 0x79) || (trail >= 0x81 && trail <= 0x9A));
}
constexpr bool IsHiragana(unsigned char lead, unsigned char trail) {
  return lead == 0x82 && trail >= 0x9F && trail <= 0xF1;
}
constexpr bool IsKatakana(unsigned char lead, unsigned char trail) {
  return lead == 0x83 && trail >= 0x40 && trail <= 0x96;
}
// Full-width comma and full stop, followers of digits.
constexpr bool IsDBDigitMark(unsigned char lead, unsigned char trail) {
  return lead == 0x81 && (trail == 0x43 || trail == 0x44);
}
// Long-vowel mark and full-width minus, followers of kana.
constexpr bool IsKanaMark(unsigned char lead, unsigned char trail) {
  return lead == 0x81 && (trail == 0x5B || trail == 0x7C);
}

}  // namespace

void TFountainParser::DBKanaProc() {
  unsigned char lead = At(p_);
  token_ = ttDBSymbol;
  if (lead != 0x82 && lead != 0x83) return;  // a continuation on a byte that starts no kana
  if (sjis::CharLength(text_, p_) < 2 || At(p_ + 1) < 0x40) {
    ++p_;  // a lead byte without a trail byte stands alone
    return;
  }
  bool (*follows)(unsigned char, unsigned char) = nullptr;
  unsigned char trail = At(p_ + 1);
  if (IsDBDigit(lead, trail)) {
    token_ = ttDBDigits;
    follows = [](unsigned char l, unsigned char t) {
      return IsDBDigit(l, t) || IsDBDigitMark(l, t);
    };
  } else if (IsDBLetter(lead, trail)) {
    token_ = ttDBLetters;
    follows = [](unsigned char l, unsigned char t) { return IsDBLetter(l, t); };
  } else if (IsHiragana(lead, trail)) {
    token_ = ttHiragana;
    follows = [](unsigned char l, unsigned char t) { return IsHiragana(l, t) || IsKanaMark(l, t); };
  } else if (IsKatakana(lead, trail)) {
    token_ = ttKatakana;
    follows = [](unsigned char l, unsigned char t) { return IsKatakana(l, t) || IsKanaMark(l, t); };
  }
  // Any other double-byte character of these leads is one ttDBSymbol.
  p_ += 2;
  if (!follows) return;
  while (sjis::CharLength(text_, p_) == 2 && follows(At(p_), At(p_ + 1))) p_ += 2;
}

void TFountainParser::KanjiProc() {
  token_ = ttKanji;
  while (IsKanjiLead(At(p_))) {
    ++p_;
    if (At(p_) >= 0x40) ++p_;
  }
}

void TFountainParser::KanaSymbolProc() {
  token_ = ttKanaSymbol;
  unsigned char c = At(p_);
  if (c >= 0xA1 && c <= 0xA5) ++p_;
}

void TFountainParser::KanaProc() {
  token_ = ttKana;
  for (unsigned char c = At(p_); c >= 0xA6 && c <= 0xDF; c = At(p_)) ++p_;
}

void TFountainParser::SymbolProc() {
  token_ = ttSymbol;
  if (p_ < text_.size()) ++p_;
}

void TFountainParser::ScanQuoted(char quote) {
  if (!wrappedFlag_ && At(p_) == static_cast<unsigned char>(quote)) ++p_;
  while (!AtRowEnd(p_)) {
    if (text_[p_] == quote) {
      ++p_;
      if (At(p_) != static_cast<unsigned char>(quote)) return;
      ++p_;  // a doubled quote stands for one inside the string
    } else {
      AdvanceChar();
    }
  }
}

void TFountainParser::SingleQuoteProc() {
  token_ = ttSingleQuote;
  ScanQuoted('\'');
}

void TFountainParser::DoubleQuoteProc() {
  token_ = ttDoubleQuote;
  ScanQuoted('"');
}

// ------------------------------------------------------------------ RowStep

void TFountainParser::RowStep(int row, const TRowAttributeStringList& rows,
                              TRowAttributeData& state) {
  // 1. A row that begins inside a comment belongs to it entirely; the comment
  // goes on to the end of its logical line.
  if (state.WrappedToken != 0 && SkipRowTokens().test(state.WrappedToken)) {
    state.Remain = 0;
    if (state.RowAttribute != raWrap) state.WrappedToken = 0;
    return;
  }
  // 2. An empty or blank row passes the state on unchanged, but a token cut
  // by a soft wrap ends with its line: when the blank row is the line's last,
  // the next line starts outside it (as after any other last row), so that
  // it colours the same whether it is parsed from its own start or from the
  // lines above.
  std::string_view rowText = rows.View(row);
  if (rowText.find_first_not_of(' ') == std::string_view::npos) {
    if (state.RowAttribute != raWrap) {
      state.WrappedToken = 0;
      state.Remain = 0;
    }
    return;
  }

  // 3. A wrapped row is parsed together with the next row, so that a token
  // cut by the wrap is seen whole.
  const std::size_t rowLength = rowText.size();
  std::string_view text = rowText;
  if (state.RowAttribute == raWrap && row + 1 < rows.Count()) {
    joined_.assign(rowText);
    joined_.append(rows.View(row + 1));
    text = joined_;
  }
  Start(text, state);
  bool crossed = false;
  while (NextToken() != ttEnd) {
    state.BracketIndex = bracketIndex_;
    if (tokenStart_ + TokenLength() > rowLength) {
      crossed = true;
      break;
    }
    state.ExtIndex = extIndex_;
    state.ExtByte = extByte_;
  }

  // 4. Nothing is carried over unless a token crosses the end of the row.
  state.Remain = 0;
  state.WrappedToken = 0;
  if (!crossed) return;
  if (tokenStart_ >= rowLength) {
    state.BracketIndex = -1;
    return;
  }

  // 5. The last token starts in this row and ends in the next one.
  const std::size_t tokenEnd = tokenStart_ + TokenLength();
  const std::size_t beyond = tokenEnd - rowLength;
  if (token_ == ttBracket) {
    // The next row starts inside the bracket. When the bracket closed within
    // the next row but its closing string is itself cut by the wrap, the
    // first bytes of the next row close it.
    state.BracketIndex = latestBracket_;
    if (bracketIndex_ < 0) {
      const TFountainBracketCollection& brackets = fountain_->Brackets();
      if (latestBracket_ >= 0 && latestBracket_ < brackets.Count() &&
          beyond < brackets.Items(latestBracket_)->RightBracket().size()) {
        state.WrappedToken = ttBracket;
        state.Remain = static_cast<std::int32_t>(beyond);
      }
    }
    return;
  }
  int kind = token_;
  WrappedTokenKind(kind);
  state.WrappedToken = static_cast<std::uint8_t>(kind);
  if (NoRemainTokens().test(static_cast<std::size_t>(kind))) return;
  // A byte count when the token ends inside the next row (or that row ends
  // its logical line); otherwise the continuing method finds the end itself,
  // as it also does when the count would not fit the row state.
  bool nextEndsLine = rows.RowAttributes(row + 1) != raWrap;
  if ((tokenEnd < text.size() || nextEndsLine) && beyond <= kMaxRemain) {
    state.Remain = static_cast<std::int32_t>(beyond);
  }
}

}  // namespace kelu
