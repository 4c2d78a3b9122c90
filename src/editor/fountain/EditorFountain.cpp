#include "editor/fountain/EditorFountain.h"

#include "base/Sjis.h"

namespace kelu {

const TClassInfo* TEditorColor::ClassInfo() const {
  static const TClassInfo info =
      TPropsOf<TEditorColor>("TEditorColor", TFountainColor::ClassInfo()).Build();
  return &info;
}

// ----------------------------------------------------------- TEditorColors

namespace {
constexpr int kOwnColors = 10;
}  // namespace

TEditorColors::TEditorColors(TFountain* fountain) : fountain_(fountain) {
  select_.SetBkColor(clNavy);
  select_.SetColor(clWhite);
  for (int i = 0; i < kOwnColors; ++i) {
    Own(i)->OnChange = TNotifyEvent::Of<&TEditorColors::ChangedProc>(this);
  }
}

TEditorColors::~TEditorColors() = default;

TEditorColor* TEditorColors::Own(int i) {
  TEditorColor* colors[kOwnColors] = {&ank_,  &comment_, &dbcs_, &hit_,    &int_,
                                      &mail_, &select_,  &str_,  &symbol_, &url_};
  return colors[i];
}

void TEditorColors::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TEditorColors*>(&source);
  if (!src) {
    TNotifyPersistent::Assign(source);
    return;
  }
  if (src == this) return;
  auto& from = const_cast<TEditorColors&>(*src);
  // Reserve reports to the event list directly, so the event list is held
  // too: the editors hear of the whole copy once.
  TNotifyEventList* events = fountain_ ? &fountain_->NotifyEventList() : nullptr;
  if (events) events->BeginUpdate();
  BeginUpdate();
  for (int i = 0; i < kOwnColors; ++i) Own(i)->Assign(*from.Own(i));
  if (Reserve() && from.Reserve() && Reserve() != from.Reserve()) {
    Reserve()->Assign(*from.Reserve());
  }
  EndUpdate();
  if (events) events->EndUpdate();
}

const TClassInfo* TEditorColors::ClassInfo() const {
  static const TTypeInfo& color = TypeClass("TEditorColor");
  static const TClassInfo info =
      TPropsOf<TEditorColors>("TEditorColors", nullptr)
          .Obj("Ank", color, [](TEditorColors& c) { return &c.Ank(); })
          .Obj("Comment", color, [](TEditorColors& c) { return &c.Comment(); })
          .Obj("DBCS", color, [](TEditorColors& c) { return &c.DBCS(); })
          .Obj("Hit", color, [](TEditorColors& c) { return &c.Hit(); })
          .Obj("Int", color, [](TEditorColors& c) { return &c.Int(); })
          .Obj("Mail", color, [](TEditorColors& c) { return &c.Mail(); })
          .Obj("Reserve", color, [](TEditorColors& c) { return c.Reserve(); })
          .Obj("Select", color, [](TEditorColors& c) { return &c.Select(); })
          .Obj("Str", color, [](TEditorColors& c) { return &c.Str(); })
          .Obj("Symbol", color, [](TEditorColors& c) { return &c.Symbol(); })
          .Obj("Url", color, [](TEditorColors& c) { return &c.Url(); })
          .Build();
  return &info;
}

// ------------------------------------------------- TEditorBracketCollection

void TEditorBracketCollection::SetBkColor(TColor value) {
  BeginUpdate();
  for (int i = 0; i < Count(); ++i) Items(i)->ItemColor().SetBkColor(value);
  EndUpdate();
}

void TEditorBracketCollection::SetColor(TColor value) {
  BeginUpdate();
  for (int i = 0; i < Count(); ++i) Items(i)->ItemColor().SetColor(value);
  EndUpdate();
}

void TEditorBracketCollection::SetStyle(TFontStyles value) {
  BeginUpdate();
  for (int i = 0; i < Count(); ++i) Items(i)->ItemColor().SetStyle(value);
  EndUpdate();
}

// --------------------------------------------------------- TEditorFountain

TEditorFountain::TEditorFountain(TComponent* owner) : TFountain(owner) {
  // The base constructor built the base sub-objects; this class's versions
  // replace them here (constructors do not dispatch virtually).
  ReplaceBrackets(TEditorFountain::CreateBrackets());
  colors_ = TEditorFountain::CreateColors();
}

TEditorFountain::~TEditorFountain() = default;

std::unique_ptr<TFountainBracketCollection> TEditorFountain::CreateBrackets() {
  auto brackets = std::make_unique<TEditorBracketCollection>(this);
  brackets->OnChange = TNotifyEvent::Of<&TNotifyEventList::ChangedProc>(&NotifyEventList());
  return brackets;
}

std::unique_ptr<TEditorColors> TEditorFountain::CreateColors() {
  auto colors = std::make_unique<TEditorColors>(this);
  colors->OnChange = TNotifyEvent::Of<&TNotifyEventList::ChangedProc>(&NotifyEventList());
  return colors;
}

std::unique_ptr<TFountainParser> TEditorFountain::ParserClass() {
  return std::make_unique<TEditorParser>(this);
}

void TEditorFountain::ColorVisitor(TPersistent& instance, const TPropInfo& prop) {
  if (SameTextSjis(prop.Name, "Select") || SameTextSjis(prop.Name, "Hit")) return;
  TFountain::ColorVisitor(instance, prop);
}

void TEditorFountain::SetAll(const TFountainColor& color, int flags) {
  NotifyEventList().BeginUpdate();
  try {
    SetAllColors(*colors_, color, flags);
  } catch (...) {
    NotifyEventList().EndUpdate();
    throw;
  }
  NotifyEventList().EndUpdate();
}

void TEditorFountain::SetAllBkColor(TColor value) {
  TFountainColor color;
  color.SetBkColor(value);
  SetAll(color, kSetBkColor);
}

void TEditorFountain::SetAllColor(TColor value) {
  TFountainColor color;
  color.SetColor(value);
  SetAll(color, kSetColor);
}

void TEditorFountain::SetAllStyle(TFontStyles value) {
  TFountainColor color;
  color.SetStyle(value);
  SetAll(color, kSetStyle);
}

const TClassInfo* TEditorFountain::ClassInfo() const {
  static const TClassInfo info =
      TPropsOf<TEditorFountain>("TEditorFountain", TFountain::ClassInfo())
          .Obj("Colors", TypeClass("TEditorColors"), [](TEditorFountain& f) { return &f.Colors(); })
          .Str(
              "Commenter", [](const TEditorFountain& f) { return f.Commenter(); },
              [](TEditorFountain& f, const std::string& v) { f.SetCommenter(v); })
          .Ord(
              "ControlCode", TypeBoolean(), 0,
              [](const TEditorFountain& f) { return f.ControlCode(); },
              [](TEditorFountain& f, std::int64_t v) { f.SetControlCode(v != 0); })
          .Str(
              "HexPrefix", [](const TEditorFountain& f) { return f.HexPrefix(); },
              [](TEditorFountain& f, const std::string& v) { f.SetHexPrefix(v); })
          .Ord(
              "Mail", TypeBoolean(), 0, [](const TEditorFountain& f) { return f.Mail(); },
              [](TEditorFountain& f, std::int64_t v) { f.SetMail(v != 0); })
          .Str(
              "Quotation", [](const TEditorFountain& f) { return f.Quotation(); },
              [](TEditorFountain& f, const std::string& v) { f.SetQuotation(v); })
          .Ord(
              "Url", TypeBoolean(), 0, [](const TEditorFountain& f) { return f.Url(); },
              [](TEditorFountain& f, std::int64_t v) { f.SetUrl(v != 0); })
          .Build();
  return &info;
}

// ----------------------------------------------------------- TEditorParser

TEditorParser::TEditorParser(TFountain* fountain)
    : TFountainParser(fountain), editorFountain_(dynamic_cast<TEditorFountain*>(fountain)) {
  // Complete tables also for a parser constructed directly.
  TEditorParser::InitMethodTable();
}

void TEditorParser::InitMethodTable() {
  TFountainParser::InitMethodTable();
  tokenTable_[ttQuotation] = static_cast<TProc>(&TEditorParser::QuotationProc);
  tokenTable_[ttDecimalCode] = static_cast<TProc>(&TEditorParser::DecimalCodeProc);
  tokenTable_[ttHexCode] = static_cast<TProc>(&TEditorParser::HexCodeProc);
}

TTokenKinds TEditorParser::NoRemainTokens() const {
  return TFountainParser::NoRemainTokens().set(ttQuotation);
}

void TEditorParser::NormalTokenProc() {
  if (bracketIndex_ < 0 && IsBracketStart()) {
    BracketProc();
  } else if (editorFountain_ && editorFountain_->Mail() && IsMailStart()) {
    MailProc();
  } else if (editorFountain_ && editorFountain_->Url() && IsUrlStart()) {
    UrlProc();
  } else if (IsCommentStart()) {
    CommentProc();
  } else if (IsQuotationStart()) {
    QuotationProc();
  } else if (IsHexCodeStart()) {
    HexCodeProc();
  } else if (IsDecimalCodeStart()) {
    DecimalCodeProc();
  } else if (IsHexPrefixStart()) {
    HexProc();
  } else {
    (this->*charTable_[At(p_)])();
  }
}

bool TEditorParser::IsCommentStart() {
  if (!editorFountain_) return false;
  const std::string& commenter = editorFountain_->Commenter();
  if (!Matches(p_, commenter)) return false;
  p_ += commenter.size();
  return true;
}

std::string_view TEditorParser::QuoteChar() const {
  if (!editorFountain_) return {};
  std::string_view quotation = editorFountain_->Quotation();
  return quotation.substr(0, sjis::CharLength(quotation, 0));
}

bool TEditorParser::IsQuotationStart() {
  std::string_view quote = QuoteChar();
  if (!Matches(p_, quote)) return false;
  p_ += quote.size();
  return true;
}

void TEditorParser::QuotationProc() {
  std::string_view quote = QuoteChar();
  if (quote.empty()) {
    token_ = ttEnd;
    return;
  }
  token_ = ttQuotation;
  while (!AtRowEnd(p_)) {
    if (Matches(p_, quote)) {
      p_ += quote.size();
      if (!Matches(p_, quote)) return;
      p_ += quote.size();  // a doubled quotation character stands for one
    } else {
      AdvanceChar();
    }
  }
}

bool TEditorParser::IsHexCodeStart() {
  if (!editorFountain_ || !editorFountain_->ControlCode() || !Matches(p_, "#$")) return false;
  p_ += 2;
  return true;
}

void TEditorParser::HexCodeProc() {
  token_ = ttHexCode;
  for (unsigned char c = At(p_);
       (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); c = At(p_)) {
    ++p_;
  }
}

bool TEditorParser::IsDecimalCodeStart() {
  if (!editorFountain_ || !editorFountain_->ControlCode() || At(p_) != '#') return false;
  ++p_;
  return true;
}

void TEditorParser::DecimalCodeProc() {
  token_ = ttDecimalCode;
  for (unsigned char c = At(p_); c >= '0' && c <= '9'; c = At(p_)) ++p_;
}

bool TEditorParser::IsHexPrefixStart() {
  if (!editorFountain_) return false;
  const std::string& prefix = editorFountain_->HexPrefix();
  if (prefix.empty() || p_ + prefix.size() > text_.size()) return false;
  auto lower = [](unsigned char c) -> unsigned char {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
  };
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (lower(At(p_ + i)) != lower(static_cast<unsigned char>(prefix[i]))) return false;
  }
  p_ += prefix.size();
  return true;
}

TFountainColor* TEditorParser::TokenColor() {
  if (!editorFountain_) return nullptr;
  TEditorColors& colors = editorFountain_->Colors();
  if (IsReserveWord()) return &editorFountain_->Reserve();
  switch (token_) {
    case ttSymbol:
      return &colors.Symbol();
    case ttInteger:
    case ttFloat:
    case ttHex:
      return &colors.Int();
    case ttBracket: {
      const TFountainBracketCollection& brackets = editorFountain_->Brackets();
      if (latestBracket_ < 0 || latestBracket_ >= brackets.Count()) return nullptr;
      return &brackets.Items(latestBracket_)->ItemColor();
    }
    case ttComment:
      return &colors.Comment();
    case ttReserve:
      return &editorFountain_->Reserve();
    case ttAnk:
      return &colors.Ank();
    case ttDBSymbol:
    case ttDBDigits:
    case ttDBLetters:
    case ttHiragana:
    case ttKatakana:
    case ttKanji:
    case ttKanaSymbol:
    case ttKana:
      return &colors.DBCS();
    case ttUrl:
      return &colors.Url();
    case ttMail:
      return &colors.Mail();
    case ttQuotation:
    case ttDecimalCode:
    case ttHexCode:
      return &colors.Str();
    default:
      return nullptr;
  }
}

}  // namespace kelu
