// Fountains: the syntax colouring of the editor. A fountain (TFountain) holds
// the colouring settings -- file extensions, multi-line brackets, reserved
// words and their colour -- and creates on demand a parser (TFountainParser)
// that cuts one row of text into tokens. Every row of a row list keeps the
// state in which the parser starts on it (TRowAttributeData), so any row can
// be painted without parsing from the top of the text, and brackets spanning
// rows and tokens cut by a soft wrap carry over from row to row.
#pragma once

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Font.h"
#include "base/Notify.h"
#include "base/Properties.h"
#include "base/Strings.h"
#include "editor/model/RowList.h"

namespace kelu {

// ------------------------------------------------------------- token kinds
// The values are stored in row states (WrappedToken), so they never change.
inline constexpr int ttEnd = 0;           // end of the row (NUL, LF or CR)
inline constexpr int ttSymbol = 1;        // any other single byte
inline constexpr int ttInteger = 3;       // decimal digits
inline constexpr int ttFloat = 4;         // digits with fraction or exponent
inline constexpr int ttBracket = 6;       // a multi-line bracket
inline constexpr int ttComment = 7;       // the rest of the row
inline constexpr int ttReserve = 8;       // a reserved word continued from the row before
inline constexpr int ttTab = 9;           // one tab
inline constexpr int ttAnk = 11;          // identifier
inline constexpr int ttDBSymbol = 12;     // one double-byte symbol
inline constexpr int ttDBDigits = 14;     // full-width digits
inline constexpr int ttDBLetters = 15;    // full-width Latin letters
inline constexpr int ttHiragana = 16;     // hiragana
inline constexpr int ttKatakana = 17;     // katakana
inline constexpr int ttKanji = 18;        // kanji
inline constexpr int ttKanaSymbol = 19;   // one half-width punctuation byte
inline constexpr int ttKana = 20;         // half-width katakana
inline constexpr int ttUrl = 21;          // a URL
inline constexpr int ttMail = 22;         // a mail address
inline constexpr int ttHex = 23;          // hexadecimal digits
inline constexpr int ttSingleQuote = 24;  // a string in single quotes
inline constexpr int ttDoubleQuote = 25;  // a string in double quotes
// 26..28 belong to the editor's parser (EditorFountain.h).

// The name of a token kind ("ttAnk", "ttQuotation", ...), the editor
// parser's kinds included; "ttUnknown" for a value that names no kind.
const char* TokenKindName(int kind);

// A set of token kinds.
using TTokenKinds = std::bitset<256>;

class TFountain;
class TFountainParser;

// ---------------------------------------------------------- TFountainColor

// The colour of a kind of token: background, text colour and font style.
// clNone means "no colour": the painter keeps the editor's own.
class TFountainColor : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TFountainColor)

  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);

  // Copies all three values from another TFountainColor and reports once.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

 private:
  TColor bkColor_ = clNone;
  TColor color_ = clNone;
  TFontStyles style_ = 0;
};

// ------------------------------------------------------ TFountainColorItem

// A collection item with a colour. The colour reports its changes to the
// collection (when that is a TNotifyCollection).
class TFountainColorItem : public TCollectionItem {
 public:
  KELU_CLASS_NAME(TFountainColorItem)

  explicit TFountainColorItem(TCollection* collection);

  TFountainColor& ItemColor() { return *itemColor_; }
  const TFountainColor& ItemColor() const { return *itemColor_; }
  void SetItemColor(const TFountainColor& value) { itemColor_->Assign(value); }

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

 private:
  std::unique_ptr<TFountainColor> itemColor_;
};

// ---------------------------------------------------- TFountainBracketItem

// A multi-line bracket: the text from LeftBracket to RightBracket is one
// ttBracket token, across rows if need be. Brackets compare with case.
class TFountainBracketItem : public TFountainColorItem {
 public:
  KELU_CLASS_NAME(TFountainBracketItem)

  // Raises the collection's "over 14" error when `collection` is a full
  // bracket collection.
  explicit TFountainBracketItem(TCollection* collection);

  const std::string& LeftBracket() const { return leftBracket_; }
  void SetLeftBracket(std::string_view value);
  const std::string& RightBracket() const { return rightBracket_; }
  void SetRightBracket(std::string_view value);

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

 private:
  std::string leftBracket_;
  std::string rightBracket_;
};

// ---------------------------------------------- TFountainBracketCollection

// The brackets of a fountain. A row state keeps the index of the open bracket
// in four bits, so a collection holds at most kMaxItems items.
class TFountainBracketCollection : public TNotifyCollection {
 public:
  KELU_CLASS_NAME(TFountainBracketCollection)

  static constexpr int kMaxItems = 14;

  explicit TFountainBracketCollection(TPersistent* owner) : TNotifyCollection(owner) {}

  // Appends a new item; raises EInvalidOperation when kMaxItems items exist.
  TFountainBracketItem* Add() override;
  TFountainBracketItem* Items(int index) const;

  // Raises the "over 14" error when `collection` is a bracket collection
  // that has no room for one more item.
  static void CheckRoom(const TCollection* collection);

 protected:
  TCollectionItem* NewItem() override;
};

// --------------------------------------------------------------- TFountain

// The colouring settings of a kind of file. Every change of a colour, of the
// brackets or of the reserved-word list is reported to the handlers in
// NotifyEventList() with the fountain as sender.
//
// Construction: C++ constructors do not dispatch virtually, so the virtual
// factories (CreateBrackets, CreateReserve, CreateFountainColor) and the
// Init hooks are not relied on during construction. This constructor builds
// the default sub-objects; a derived constructor replaces the ones it
// overrides (ReplaceBrackets) and runs its own Init hooks. The factories stay
// virtual for use after construction.
class TFountain : public TFileExtComponent {
 public:
  KELU_CLASS_NAME(TFountain)

  explicit TFountain(TComponent* owner = nullptr);
  ~TFountain() override;

  TFountainBracketCollection& Brackets() { return *brackets_; }
  const TFountainBracketCollection& Brackets() const { return *brackets_; }
  void SetBrackets(const TFountainBracketCollection& value) { brackets_->Assign(value); }
  TFountainColor& Reserve() { return *reserve_; }
  const TFountainColor& Reserve() const { return *reserve_; }
  void SetReserve(const TFountainColor& value) { reserve_->Assign(value); }
  // Kept sorted, duplicates ignored, compared without case.
  TStringList& ReserveWordList() { return *reserveWordList_; }
  const TStringList& ReserveWordList() const { return *reserveWordList_; }
  // Copies the list and notifies the event list.
  void SetReserveWordList(const TStrings& value);
  // True when `word` is a reserved word (compared without case).
  bool IsReserveWordText(std::string_view word) const;

  TNotifyEventList& NotifyEventList() { return *notifyEventList_; }

  // A new parser for this fountain: the parser is constructed, then its
  // virtual InitMethodTable runs, so a descendant's tables are complete.
  std::unique_ptr<TFountainParser> CreateParser();
  // True when every logical line starts in the first row's state: nothing
  // the parser carries crosses a line break (no multi-line brackets). The
  // row list then colours a line without parsing the lines above it.
  virtual bool LinesStartFresh() const;

  // Whether any TFountainColor among the published properties of `root`
  // (recursively, collection items included) has italic in its style.
  bool HasItalic(TPersistent& root);
  bool HasItalic() { return HasItalic(*this); }
  // Sets, for every TFountainColor under `root` that ColorVisitor accepts,
  // its BkColor (flags & 1), Color (flags & 2) and Style (flags & 4) from
  // `color`.
  void SetAllColors(TPersistent& root, const TFountainColor& color, int flags);

  const TClassInfo* ClassInfo() const override;

  // Flags of SetAllColors.
  static constexpr int kSetBkColor = 1;
  static constexpr int kSetColor = 2;
  static constexpr int kSetStyle = 4;

 protected:
  // A colour that reports to the event list.
  virtual std::unique_ptr<TFountainColor> CreateFountainColor();
  // Sets Reserve from CreateFountainColor.
  virtual void CreateReserve();
  // A bracket collection owned by the fountain that reports to the event list.
  virtual std::unique_ptr<TFountainBracketCollection> CreateBrackets();
  // A new parser of the fountain's parser class, before InitMethodTable.
  virtual std::unique_ptr<TFountainParser> ParserClass() = 0;
  virtual void InitBracketItems() {}
  virtual void InitReserveWordList() {}
  // Property visitors of HasItalic and SetAllColors; they read and write the
  // work fields below.
  virtual void ItalicVisitor(TPersistent& instance, const TPropInfo& prop);
  virtual void ColorVisitor(TPersistent& instance, const TPropInfo& prop);

  // Installs `brackets` in place of the current collection (a derived
  // constructor's replacement of CreateBrackets).
  void ReplaceBrackets(std::unique_ptr<TFountainBracketCollection> brackets);

  // Work fields of the visitors.
  bool italicFound_ = false;
  const TFountainColor* visitColor_ = nullptr;
  int visitFlags_ = 0;

 private:
  std::unique_ptr<TNotifyEventList> notifyEventList_;
  std::unique_ptr<TFountainBracketCollection> brackets_;
  std::unique_ptr<TStringList> reserveWordList_;
  std::unique_ptr<TFountainColor> reserve_;
};

// --------------------------------------------------------- TFountainParser

// Cuts one row into tokens. Use by a painter: Start with the row text and
// the row's state, then NextToken until it returns ttEnd, reading Token,
// TokenStart, TokenLength, TokenText and TokenColor for each token. Use by a
// row list: RowStep.
//
// The row text is not NUL-terminated: its end acts like a NUL byte. No scan
// reads past it. Tokens are dispatched through two 256-entry tables of
// methods, one by the first byte of a token and one by the kind of a token
// that goes on from the row before; the methods are virtual.
class TFountainParser {
 public:
  using TProc = void (TFountainParser::*)();

  // Raises EInvalidOperation "TFountainParser.Create need instance of
  // TFountain" when `fountain` is null; fills the base tables.
  explicit TFountainParser(TFountain* fountain);
  virtual ~TFountainParser() = default;
  TFountainParser(const TFountainParser&) = delete;
  TFountainParser& operator=(const TFountainParser&) = delete;

  // Fills the character and token tables. A descendant calls the base and
  // then replaces or adds entries.
  virtual void InitMethodTable();

  virtual void Start(std::string_view rowText, const TRowAttributeData& state);
  // The kind of the next token; ttEnd at the end of the row.
  virtual int NextToken();
  // From the start state of row `row` of `rows` (whose RowAttribute and
  // PrevRowAttribute the caller has set for that row) computes, in place,
  // the start state of row row + 1. Leaves the parser in no useful
  // state: Start again before painting.
  virtual void RowStep(int row, const TRowAttributeStringList& rows, TRowAttributeData& state);
  // The colour of the current token, or nullptr for none.
  virtual TFountainColor* TokenColor() = 0;

  int Token() const { return token_; }
  int TokenStart() const { return static_cast<int>(tokenStart_); }
  int TokenLength() const { return static_cast<int>(p_ - tokenStart_); }
  std::string_view TokenText() const { return text_.substr(tokenStart_, p_ - tokenStart_); }

  TFountain* Fountain() const { return fountain_; }
  // The index of the open multi-line bracket, -1 when none.
  int BracketIndex() const { return bracketIndex_; }
  // The bracket item index of the latest ttBracket token (-2 after Start).
  int LatestBracketIndex() const { return latestBracket_; }
  // The state fields as Start took them (or as scanning left them).
  int Remain() const { return remain_; }
  int WrappedToken() const { return wrappedToken_; }
  int ExtIndex() const { return extIndex_; }
  int ExtValue() const { return extValue_; }
  std::uint8_t ExtByte() const { return extByte_; }
  const std::string& ExtText() const { return extText_; }
  int RowAttribute() const { return rowAttribute_; }
  int PrevRowAttribute() const { return prevRowAttribute_; }
  // True when the current token continues a token of the row before.
  bool IsWrappedToken() const { return wrappedFlag_; }

  // True when the current token is a reserved word: not a continued token,
  // not ttEnd, ttBracket or ttComment, and its text is in the fountain's
  // ReserveWordList (compared without case).
  virtual bool IsReserveWord();

  // Token kinds whose continuation on the next row is found by scanning,
  // not by a byte count (Remain): {ttComment, ttSingleQuote, ttDoubleQuote}.
  virtual TTokenKinds NoRemainTokens() const;
  // Token kinds a row that begins inside them belongs to entirely:
  // {ttComment}.
  virtual TTokenKinds SkipRowTokens() const;

 protected:
  // The byte at `i`, 0 at and past the end of the row.
  unsigned char At(std::size_t i) const {
    return i < text_.size() ? static_cast<unsigned char>(text_[i]) : 0;
  }
  // True at NUL, LF, CR and the end of the row.
  bool AtRowEnd(std::size_t i) const {
    unsigned char c = At(i);
    return c == 0 || c == '\n' || c == '\r';
  }
  // Moves the scan pointer over one character (two bytes at a lead byte
  // with a byte after it).
  void AdvanceChar();
  // True when `s` (not empty) stands at byte `i`.
  bool Matches(std::size_t i, std::string_view s) const {
    return !s.empty() && text_.substr(i < text_.size() ? i : text_.size()).starts_with(s);
  }

  // Moves the next-token position over the bytes that belong to no token:
  // 0x01..0x20 except tab, LF and CR (NUL, tab and the row end stop it).
  virtual void SkipBlanks();
  virtual bool IsBracketStart();
  virtual void BracketProc();
  virtual bool IsMailStart();
  virtual void MailProc();
  virtual bool IsUrlStart();
  virtual void UrlProc();
  virtual void ReserveWordProc();
  virtual void EndProc();
  virtual void TabProc();
  virtual void LFProc();
  virtual void CRProc();
  virtual void CommentProc();
  virtual void HexProc();
  virtual void NumberProc();
  virtual void IdentProc();
  virtual void DBSymbolProc();
  virtual void DBKanaProc();
  virtual void KanjiProc();
  virtual void KanaSymbolProc();
  virtual void KanaProc();
  virtual void SymbolProc();
  virtual void SingleQuoteProc();
  virtual void DoubleQuoteProc();
  virtual void WrappedTokenProc();
  virtual void NormalTokenProc();
  // Sets `kind` to ttReserve when the current token is a reserved word.
  virtual void WrappedTokenKind(int& kind);

  // Character table: the method that scans a token, by its first byte.
  TProc charTable_[256] = {};
  // Token table: the method that continues a token of that kind on a new row.
  TProc tokenTable_[256] = {};

  std::string_view text_;  // the row text given to Start
  int bracketIndex_ = -1;  // the open bracket, -1 none
  std::string extText_;
  int latestBracket_ = -2;  // bracket of the latest ttBracket token
  int extIndex_ = 0;
  TFountain* fountain_ = nullptr;
  bool wrappedFlag_ = false;  // the current token continues a wrapped token
  std::size_t p_ = 0;         // scan pointer
  int prevRowAttribute_ = 0;
  std::uint8_t extByte_ = 0;
  int extValue_ = 0;
  int rowAttribute_ = 0;
  std::size_t nextPos_ = 0;  // where the next token is looked for
  int wrappedToken_ = 0;
  int token_ = ttEnd;
  std::size_t tokenStart_ = 0;
  int remain_ = 0;

 private:
  void ScanQuoted(char quote);
  // IsMailStart failed from every position before this one (in this row).
  std::size_t mailFailEnd_ = 0;
  // The row text followed by the next row's, for RowStep on a wrapped row.
  std::string joined_;
};

}  // namespace kelu
