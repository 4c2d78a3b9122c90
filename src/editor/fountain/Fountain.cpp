#include "editor/fountain/Fountain.h"

#include <string>

#include "base/Exceptions.h"

namespace kelu {

const char* TokenKindName(int kind) {
  static constexpr const char* kNames[] = {
      "ttEnd",         "ttSymbol",      nullptr,       "ttInteger",     "ttFloat",    nullptr,
      "ttBracket",     "ttComment",     "ttReserve",   "ttTab",         nullptr,      "ttAnk",
      "ttDBSymbol",    nullptr,         "ttDBDigits",  "ttDBLetters",   "ttHiragana", "ttKatakana",
      "ttKanji",       "ttKanaSymbol",  "ttKana",      "ttUrl",         "ttMail",     "ttHex",
      "ttSingleQuote", "ttDoubleQuote", "ttQuotation", "ttDecimalCode", "ttHexCode",
  };
  if (kind < 0 || kind >= static_cast<int>(std::size(kNames)) || !kNames[kind]) {
    return "ttUnknown";
  }
  return kNames[kind];
}

// ---------------------------------------------------------- TFountainColor

void TFountainColor::SetBkColor(TColor value) {
  SetField(bkColor_, value);
}

void TFountainColor::SetColor(TColor value) {
  SetField(color_, value);
}

void TFountainColor::SetStyle(TFontStyles value) {
  SetField(style_, value);
}

void TFountainColor::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TFountainColor*>(&source)) {
    bkColor_ = src->bkColor_;
    color_ = src->color_;
    style_ = src->style_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TFountainColor::ClassInfo() const {
  static const TClassInfo info =
      TPropsOf<TFountainColor>("TFountainColor", nullptr)
          .Ord(
              "BkColor", TypeColor(), clNone, [](const TFountainColor& c) { return c.BkColor(); },
              [](TFountainColor& c, std::int64_t v) { c.SetBkColor(static_cast<TColor>(v)); })
          .Ord(
              "Color", TypeColor(), clNone, [](const TFountainColor& c) { return c.Color(); },
              [](TFountainColor& c, std::int64_t v) { c.SetColor(static_cast<TColor>(v)); })
          .Ord(
              "Style", TypeFontStyles(), 0, [](const TFountainColor& c) { return c.Style(); },
              [](TFountainColor& c, std::int64_t v) { c.SetStyle(static_cast<TFontStyles>(v)); })
          .Build();
  return &info;
}

// ------------------------------------------------------ TFountainColorItem

TFountainColorItem::TFountainColorItem(TCollection* collection)
    : TCollectionItem(collection), itemColor_(std::make_unique<TFountainColor>()) {
  if (auto* notify = dynamic_cast<TNotifyCollection*>(collection)) {
    itemColor_->OnChange = TNotifyEvent::Of<&TNotifyCollection::ChangedProc>(notify);
  }
}

void TFountainColorItem::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TFountainColorItem*>(&source)) {
    itemColor_->Assign(*src->itemColor_);
    return;
  }
  TCollectionItem::Assign(source);
}

const TClassInfo* TFountainColorItem::ClassInfo() const {
  static const TClassInfo info = TPropsOf<TFountainColorItem>("TFountainColorItem", nullptr)
                                     .Obj("ItemColor", TypeClass("TFountainColor"),
                                          [](TFountainColorItem& i) { return &i.ItemColor(); })
                                     .Build();
  return &info;
}

// ---------------------------------------------------- TFountainBracketItem

namespace {

TCollection* CheckedBracketCollection(TCollection* collection) {
  TFountainBracketCollection::CheckRoom(collection);
  return collection;
}

}  // namespace

TFountainBracketItem::TFountainBracketItem(TCollection* collection)
    : TFountainColorItem(CheckedBracketCollection(collection)) {}

void TFountainBracketItem::SetLeftBracket(std::string_view value) {
  if (leftBracket_ == value) return;
  leftBracket_ = value;
  Changed(false);
}

void TFountainBracketItem::SetRightBracket(std::string_view value) {
  if (rightBracket_ == value) return;
  rightBracket_ = value;
  Changed(false);
}

void TFountainBracketItem::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TFountainBracketItem*>(&source);
  if (!src) {
    TFountainColorItem::Assign(source);
    return;
  }
  // One report for the three values.
  TCollection* collection = Collection();
  if (collection) collection->BeginUpdate();
  leftBracket_ = src->leftBracket_;
  rightBracket_ = src->rightBracket_;
  ItemColor().Assign(src->ItemColor());
  if (collection) collection->EndUpdate();
}

const TClassInfo* TFountainBracketItem::ClassInfo() const {
  static const TClassInfo info =
      TPropsOf<TFountainBracketItem>("TFountainBracketItem", TFountainColorItem::ClassInfo())
          .Str(
              "LeftBracket", [](const TFountainBracketItem& i) { return i.LeftBracket(); },
              [](TFountainBracketItem& i, const std::string& v) { i.SetLeftBracket(v); })
          .Str(
              "RightBracket", [](const TFountainBracketItem& i) { return i.RightBracket(); },
              [](TFountainBracketItem& i, const std::string& v) { i.SetRightBracket(v); })
          .Build();
  return &info;
}

// ---------------------------------------------- TFountainBracketCollection

void TFountainBracketCollection::CheckRoom(const TCollection* collection) {
  if (dynamic_cast<const TFountainBracketCollection*>(collection) &&
      collection->Count() >= kMaxItems) {
    throw EInvalidOperation("TFountainBracketCollection\r\nYou can not add item over " +
                            std::to_string(kMaxItems));
  }
}

TFountainBracketItem* TFountainBracketCollection::Add() {
  CheckRoom(this);
  return static_cast<TFountainBracketItem*>(TNotifyCollection::Add());
}

TFountainBracketItem* TFountainBracketCollection::Items(int index) const {
  return static_cast<TFountainBracketItem*>(TNotifyCollection::Items(index));
}

TCollectionItem* TFountainBracketCollection::NewItem() {
  return new TFountainBracketItem(this);
}

// --------------------------------------------------------------- TFountain

TFountain::TFountain(TComponent* owner)
    : TFileExtComponent(owner), notifyEventList_(std::make_unique<TNotifyEventList>(this)) {
  // The calls below run this class's versions (see the class comment).
  brackets_ = TFountain::CreateBrackets();
  TFountain::InitBracketItems();
  reserveWordList_ = std::make_unique<TStringList>(TStringList::SortedIgnoringDuplicates());
  TFountain::InitReserveWordList();
  TFountain::CreateReserve();
}

TFountain::~TFountain() {
  MarkDestroying();
}

std::unique_ptr<TFountainColor> TFountain::CreateFountainColor() {
  auto color = std::make_unique<TFountainColor>();
  color->OnChange = TNotifyEvent::Of<&TNotifyEventList::ChangedProc>(notifyEventList_.get());
  return color;
}

void TFountain::CreateReserve() {
  reserve_ = CreateFountainColor();
}

std::unique_ptr<TFountainBracketCollection> TFountain::CreateBrackets() {
  auto brackets = std::make_unique<TFountainBracketCollection>(this);
  brackets->OnChange = TNotifyEvent::Of<&TNotifyEventList::ChangedProc>(notifyEventList_.get());
  return brackets;
}

void TFountain::ReplaceBrackets(std::unique_ptr<TFountainBracketCollection> brackets) {
  brackets_ = std::move(brackets);
}

void TFountain::SetReserveWordList(const TStrings& value) {
  reserveWordList_->Assign(value);
  notifyEventList_->Changed();
}

bool TFountain::IsReserveWordText(std::string_view word) const {
  if (reserveWordList_->GetCount() == 0) return false;
  int index;
  return reserveWordList_->Find(word, index);
}

bool TFountain::LinesStartFresh() const { return Brackets().Count() == 0; }

std::unique_ptr<TFountainParser> TFountain::CreateParser() {
  std::unique_ptr<TFountainParser> parser = ParserClass();
  parser->InitMethodTable();
  return parser;
}

void TFountain::ItalicVisitor(TPersistent& instance, const TPropInfo& prop) {
  if (italicFound_ || prop.Type != &TypeFontStyles()) return;
  if (dynamic_cast<TFountainColor*>(&instance) &&
      HasStyle(static_cast<TFontStyles>(prop.GetOrd(instance)), fsItalic)) {
    italicFound_ = true;
  }
}

void TFountain::ColorVisitor(TPersistent& instance, const TPropInfo& prop) {
  if (prop.Kind() != TTypeKind::tkClass || !prop.GetObj || !visitColor_) return;
  auto* color = dynamic_cast<TFountainColor*>(prop.GetObj(instance));
  if (!color) return;
  if (visitFlags_ & kSetBkColor) color->SetBkColor(visitColor_->BkColor());
  if (visitFlags_ & kSetColor) color->SetColor(visitColor_->Color());
  if (visitFlags_ & kSetStyle) color->SetStyle(visitColor_->Style());
}

bool TFountain::HasItalic(TPersistent& root) {
  italicFound_ = false;
  EnumProperties(root, tkProperties, [this](TPersistent& instance, const TPropInfo& prop) {
    ItalicVisitor(instance, prop);
  });
  return italicFound_;
}

void TFountain::SetAllColors(TPersistent& root, const TFountainColor& color, int flags) {
  visitColor_ = &color;
  visitFlags_ = flags;
  EnumProperties(root, tkProperties, [this](TPersistent& instance, const TPropInfo& prop) {
    ColorVisitor(instance, prop);
  });
  visitColor_ = nullptr;
  visitFlags_ = 0;
}

const TClassInfo* TFountain::ClassInfo() const {
  static const TClassInfo info =
      TPropsOf<TFountain>("TFountain", nullptr)
          .Obj("FileExtList", TypeClass("TStringList"),
               [](TFountain& f) { return &f.FileExtList(); })
          .Obj("Brackets", TypeClass("TFountainBracketCollection"),
               [](TFountain& f) { return &f.Brackets(); })
          .Obj("Reserve", TypeClass("TFountainColor"), [](TFountain& f) { return &f.Reserve(); })
          .Obj("ReserveWordList", TypeClass("TStringList"),
               [](TFountain& f) { return &f.ReserveWordList(); })
          .Build();
  return &info;
}

}  // namespace kelu
