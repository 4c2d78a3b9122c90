#include "editor/control/settings/EditorSettings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kelu {

namespace {

// Property values arrive as 64-bit ordinals; these narrow them to a field's
// type, saturating so that a huge number is still clamped by the setter
// rather than wrapped into range.
int ToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

TCursor ToCursor(std::int64_t v) {
  return static_cast<TCursor>(std::clamp<std::int64_t>(v, std::numeric_limits<TCursor>::min(),
                                                       std::numeric_limits<TCursor>::max()));
}

// Colours are 32-bit patterns (system colours have the top bit set), so they
// are taken modulo 2^32.
TColor ToColor(std::int64_t v) {
  return static_cast<TColor>(static_cast<std::uint32_t>(v));
}

// An enumeration ordinal is only taken when the type has a value of it.
bool IsValue(std::int64_t v, const TTypeInfo& type) {
  return v >= 0 && v < static_cast<std::int64_t>(type.Names.size());
}

// Limits `value` to lo..hi and drops the remainder of division by 2.
int ClampEven(int value, int lo, int hi) {
  value = std::clamp(value, lo, hi);
  return value - value % 2;
}

TEditorSpeedRange ClampSpeed(int value) {
  return static_cast<TEditorSpeedRange>(std::clamp<int>(value, kEditorSpeedMin, kEditorSpeedMax));
}

// Stores `value` and reports when it differs from the stored one.
template <class T>
void Store(TNotifyPersistent& self, T& field, T value) {
  if (field == value) return;
  field = value;
  self.Changed();
}

// A Boolean property of class C read with Get and written with Set.
template <class C>
void BoolProp(TPropsOf<C>& props, const char* name, bool def, bool (C::*get)() const,
              void (C::*set)(bool)) {
  props.Ord(
      name, TypeBoolean(), def ? 1 : 0, [get](const C& o) { return (o.*get)(); },
      [set](C& o, std::int64_t v) { (o.*set)(v != 0); });
}

template <class C>
void ColorProp(TPropsOf<C>& props, const char* name, TColor def, TColor (C::*get)() const,
               void (C::*set)(TColor)) {
  props.Ord(
      name, TypeColor(), def, [get](const C& o) { return (o.*get)(); },
      [set](C& o, std::int64_t v) { (o.*set)(ToColor(v)); });
}

template <class C>
void IntProp(TPropsOf<C>& props, const char* name, int def, int (C::*get)() const,
             void (C::*set)(int)) {
  props.Ord(
      name, TypeInteger(), def, [get](const C& o) { return (o.*get)(); },
      [set](C& o, std::int64_t v) { (o.*set)(ToInt(v)); });
}

template <class C, class E>
void EnumProp(TPropsOf<C>& props, const char* name, const TTypeInfo& type, E def,
              E (C::*get)() const, void (C::*set)(E)) {
  props.Ord(
      name, type, static_cast<std::int64_t>(def), [get](const C& o) { return (o.*get)(); },
      [set, &type](C& o, std::int64_t v) {
        if (IsValue(v, type)) (o.*set)(static_cast<E>(v));
      });
}

template <class C>
void CursorProp(TPropsOf<C>& props, const char* name, TCursor def, TCursor (C::*get)() const,
                void (C::*set)(TCursor)) {
  props.Ord(
      name, TypeCursor(), def, [get](const C& o) { return (o.*get)(); },
      [set](C& o, std::int64_t v) { (o.*set)(ToCursor(v)); });
}

}  // namespace

// ----------------------------------------------------------- TEditorCursors

void TEditorCursors::Update(TCursor& field, TCursor value) {
  Store(*this, field, value);
}

void TEditorCursors::SetDefaultCursor(TCursor value) {
  Update(defaultCursor_, value);
}
void TEditorCursors::SetDragSelCursor(TCursor value) {
  Update(dragSelCursor_, value);
}
void TEditorCursors::SetDragSelCopyCursor(TCursor value) {
  Update(dragSelCopyCursor_, value);
}
void TEditorCursors::SetInSelCursor(TCursor value) {
  Update(inSelCursor_, value);
}
void TEditorCursors::SetLeftMarginCursor(TCursor value) {
  Update(leftMarginCursor_, value);
}
void TEditorCursors::SetTopMarginCursor(TCursor value) {
  Update(topMarginCursor_, value);
}

void TEditorCursors::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorCursors*>(&source)) {
    defaultCursor_ = src->defaultCursor_;
    dragSelCursor_ = src->dragSelCursor_;
    dragSelCopyCursor_ = src->dragSelCopyCursor_;
    inSelCursor_ = src->inSelCursor_;
    leftMarginCursor_ = src->leftMarginCursor_;
    topMarginCursor_ = src->topMarginCursor_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorCursors::ClassInfo() const {
  using C = TEditorCursors;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorCursors", nullptr);
    CursorProp(p, "DefaultCursor", crIBeam, &C::DefaultCursor, &C::SetDefaultCursor);
    CursorProp(p, "DragSelCursor", crDrag, &C::DragSelCursor, &C::SetDragSelCursor);
    CursorProp(p, "DragSelCopyCursor", crDragSelCopy, &C::DragSelCopyCursor,
               &C::SetDragSelCopyCursor);
    CursorProp(p, "InSelCursor", crDefault, &C::InSelCursor, &C::SetInSelCursor);
    CursorProp(p, "LeftMarginCursor", crRightArrow, &C::LeftMarginCursor, &C::SetLeftMarginCursor);
    CursorProp(p, "TopMarginCursor", crDefault, &C::TopMarginCursor, &C::SetTopMarginCursor);
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------- TEditorCaret

void TEditorCaret::SetStyle(TEditorCaretStyle value) {
  Store(*this, style_, value);
}

void TEditorCaret::SetTabSpaceCount(int value) {
  Store(*this, tabSpaceCount_, ClampEven(value, 2, 8));
}

void TEditorCaret::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorCaret*>(&source)) {
    BeginUpdate();
    autoCursor_ = src->autoCursor_;
    autoIndent_ = src->autoIndent_;
    backSpaceUnIndent_ = src->backSpaceUnIndent_;
    cursors_.Assign(src->cursors_);
    freeCaret_ = src->freeCaret_;
    freeRow_ = src->freeRow_;
    inTab_ = src->inTab_;
    keepCaret_ = src->keepCaret_;
    lockScroll_ = src->lockScroll_;
    nextLine_ = src->nextLine_;
    prevSpaceIndent_ = src->prevSpaceIndent_;
    rowSelect_ = src->rowSelect_;
    selDragMode_ = src->selDragMode_;
    selMove_ = src->selMove_;
    softTab_ = src->softTab_;
    style_ = src->style_;
    tabIndent_ = src->tabIndent_;
    tabSpaceCount_ = src->tabSpaceCount_;
    tokenEndStop_ = src->tokenEndStop_;
    EndUpdate();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorCaret::ClassInfo() const {
  using C = TEditorCaret;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorCaret", nullptr);
    BoolProp(p, "AutoCursor", true, &C::AutoCursor, &C::SetAutoCursor);
    BoolProp(p, "AutoIndent", true, &C::AutoIndent, &C::SetAutoIndent);
    BoolProp(p, "BackSpaceUnIndent", true, &C::BackSpaceUnIndent, &C::SetBackSpaceUnIndent);
    p.Obj("Cursors", TypeClass("TEditorCursors"), [](C& o) { return &o.Cursors(); });
    BoolProp(p, "FreeCaret", true, &C::FreeCaret, &C::SetFreeCaret);
    BoolProp(p, "FreeRow", false, &C::FreeRow, &C::SetFreeRow);
    BoolProp(p, "InTab", false, &C::InTab, &C::SetInTab);
    BoolProp(p, "KeepCaret", false, &C::KeepCaret, &C::SetKeepCaret);
    BoolProp(p, "LockScroll", false, &C::LockScroll, &C::SetLockScroll);
    BoolProp(p, "NextLine", false, &C::NextLine, &C::SetNextLine);
    BoolProp(p, "PrevSpaceIndent", false, &C::PrevSpaceIndent, &C::SetPrevSpaceIndent);
    BoolProp(p, "RowSelect", true, &C::RowSelect, &C::SetRowSelect);
    EnumProp(p, "SelDragMode", TypeDragMode(), dmAutomatic, &C::SelDragMode, &C::SetSelDragMode);
    BoolProp(p, "SelMove", true, &C::SelMove, &C::SetSelMove);
    BoolProp(p, "SoftTab", false, &C::SoftTab, &C::SetSoftTab);
    EnumProp(p, "Style", TypeEditorCaretStyle(), csDefault, &C::Style, &C::SetStyle);
    BoolProp(p, "TabIndent", false, &C::TabIndent, &C::SetTabIndent);
    IntProp(p, "TabSpaceCount", 8, &C::TabSpaceCount, &C::SetTabSpaceCount);
    BoolProp(p, "TokenEndStop", false, &C::TokenEndStop, &C::SetTokenEndStop);
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------ TEditorMargin

void TEditorMargin::Update(int& field, int value) {
  Store(*this, field, std::clamp(value, 0, kMax));
}

void TEditorMargin::SetCharacter(int value) {
  Update(character_, value);
}
void TEditorMargin::SetLeft(int value) {
  Update(left_, value);
}
void TEditorMargin::SetLine(int value) {
  Update(line_, value);
}
void TEditorMargin::SetTop(int value) {
  Update(top_, value);
}

void TEditorMargin::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorMargin*>(&source)) {
    character_ = src->character_;
    left_ = src->left_;
    line_ = src->line_;
    top_ = src->top_;
    underlineGap_ = src->underlineGap_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorMargin::ClassInfo() const {
  using C = TEditorMargin;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorMargin", nullptr);
    IntProp(p, "Character", 0, &C::Character, &C::SetCharacter);
    IntProp(p, "Left", 19, &C::Left, &C::SetLeft);
    IntProp(p, "Line", 0, &C::Line, &C::SetLine);
    IntProp(p, "Top", 2, &C::Top, &C::SetTop);
    return p.Build();
  }();
  return &info;
}

// -------------------------------------------------------------- TEditorMark

void TEditorMark::SetColor(TColor value) {
  Store(*this, color_, value);
}
void TEditorMark::SetVisible(bool value) {
  Store(*this, visible_, value);
}

void TEditorMark::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorMark*>(&source)) {
    color_ = src->color_;
    visible_ = src->visible_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorMark::ClassInfo() const {
  using C = TEditorMark;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorMark", nullptr);
    ColorProp(p, "Color", clGray, &C::Color, &C::SetColor);
    BoolProp(p, "Visible", false, &C::Visible, &C::SetVisible);
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------- TEditorMarks

TEditorMarks::TEditorMarks() {
  const TNotifyEvent report = TNotifyEvent::Of<&TEditorMarks::ChangedProc>(this);
  for (TEditorMark* mark : {&eofMark_, &retMark_, &wrapMark_, &hideMark_, &underline_}) {
    mark->OnChange = report;
  }
}

void TEditorMarks::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorMarks*>(&source)) {
    BeginUpdate();
    eofMark_.Assign(src->eofMark_);
    retMark_.Assign(src->retMark_);
    wrapMark_.Assign(src->wrapMark_);
    hideMark_.Assign(src->hideMark_);
    underline_.Assign(src->underline_);
    EndUpdate();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorMarks::ClassInfo() const {
  using C = TEditorMarks;
  static const TClassInfo info = [] {
    const TTypeInfo& mark = TypeClass("TEditorMark");
    return TPropsOf<C>("TEditorMarks", nullptr)
        .Obj("EofMark", mark, [](C& o) { return &o.EofMark(); })
        .Obj("RetMark", mark, [](C& o) { return &o.RetMark(); })
        .Obj("WrapMark", mark, [](C& o) { return &o.WrapMark(); })
        .Obj("HideMark", mark, [](C& o) { return &o.HideMark(); })
        .Obj("Underline", mark, [](C& o) { return &o.Underline(); })
        .Build();
  }();
  return &info;
}

// ------------------------------------------------------------- TEditorRuler

void TEditorRuler::SetBkColor(TColor value) {
  Store(*this, bkColor_, value);
}
void TEditorRuler::SetColor(TColor value) {
  Store(*this, color_, value);
}
void TEditorRuler::SetEdge(bool value) {
  Store(*this, edge_, value);
}
void TEditorRuler::SetGaugeRange(int value) {
  Store(*this, gaugeRange_, ClampEven(value, 8, 10));
}
void TEditorRuler::SetMarkColor(TColor value) {
  Store(*this, markColor_, value);
}
void TEditorRuler::SetVisible(bool value) {
  Store(*this, visible_, value);
}

void TEditorRuler::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorRuler*>(&source)) {
    bkColor_ = src->bkColor_;
    color_ = src->color_;
    edge_ = src->edge_;
    gaugeRange_ = src->gaugeRange_;
    markColor_ = src->markColor_;
    visible_ = src->visible_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorRuler::ClassInfo() const {
  using C = TEditorRuler;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorRuler", nullptr);
    ColorProp(p, "BkColor", clSilver, &C::BkColor, &C::SetBkColor);
    ColorProp(p, "Color", clBlack, &C::Color, &C::SetColor);
    BoolProp(p, "Edge", true, &C::Edge, &C::SetEdge);
    IntProp(p, "GaugeRange", 10, &C::GaugeRange, &C::SetGaugeRange);
    ColorProp(p, "MarkColor", clBlack, &C::MarkColor, &C::SetMarkColor);
    BoolProp(p, "Visible", false, &C::Visible, &C::SetVisible);
    return p.Build();
  }();
  return &info;
}

// ----------------------------------------------------------- TEditorLeftbar

void TEditorLeftbar::SetBkColor(TColor value) {
  Store(*this, bkColor_, value);
}
void TEditorLeftbar::SetColor(TColor value) {
  Store(*this, color_, value);
}
void TEditorLeftbar::SetColumn(int value) {
  Store(*this, column_, std::clamp(value, 1, 8));
}
void TEditorLeftbar::SetEdge(bool value) {
  Store(*this, edge_, value);
}
void TEditorLeftbar::SetLeftMargin(int value) {
  Store(*this, leftMargin_, std::clamp(value, 0, kMaxMargin));
}
void TEditorLeftbar::SetRightMargin(int value) {
  Store(*this, rightMargin_, std::clamp(value, 0, kMaxMargin));
}
void TEditorLeftbar::SetShowNumber(bool value) {
  Store(*this, showNumber_, value);
}
void TEditorLeftbar::SetShowNumberMode(TEditorShowNumberMode value) {
  Store(*this, showNumberMode_, value);
}
void TEditorLeftbar::SetVisible(bool value) {
  Store(*this, visible_, value);
}
void TEditorLeftbar::SetZeroBase(bool value) {
  Store(*this, zeroBase_, value);
}
void TEditorLeftbar::SetZeroLead(bool value) {
  Store(*this, zeroLead_, value);
}

void TEditorLeftbar::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorLeftbar*>(&source)) {
    bkColor_ = src->bkColor_;
    color_ = src->color_;
    column_ = src->column_;
    edge_ = src->edge_;
    leftMargin_ = src->leftMargin_;
    rightMargin_ = src->rightMargin_;
    showNumber_ = src->showNumber_;
    showNumberMode_ = src->showNumberMode_;
    visible_ = src->visible_;
    zeroBase_ = src->zeroBase_;
    zeroLead_ = src->zeroLead_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorLeftbar::ClassInfo() const {
  using C = TEditorLeftbar;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorLeftbar", nullptr);
    ColorProp(p, "BkColor", clSilver, &C::BkColor, &C::SetBkColor);
    ColorProp(p, "Color", clBlack, &C::Color, &C::SetColor);
    IntProp(p, "Column", 4, &C::Column, &C::SetColumn);
    BoolProp(p, "Edge", true, &C::Edge, &C::SetEdge);
    IntProp(p, "LeftMargin", 8, &C::LeftMargin, &C::SetLeftMargin);
    IntProp(p, "RightMargin", 4, &C::RightMargin, &C::SetRightMargin);
    BoolProp(p, "ShowNumber", true, &C::ShowNumber, &C::SetShowNumber);
    EnumProp(p, "ShowNumberMode", TypeEditorShowNumberMode(), nmRow, &C::ShowNumberMode,
             &C::SetShowNumberMode);
    BoolProp(p, "Visible", false, &C::Visible, &C::SetVisible);
    BoolProp(p, "ZeroBase", false, &C::ZeroBase, &C::SetZeroBase);
    BoolProp(p, "ZeroLead", false, &C::ZeroLead, &C::SetZeroLead);
    return p.Build();
  }();
  return &info;
}

// ---------------------------------------------------------- TEditorImagebar

void TEditorImagebar::Update(int& field, int value) {
  Store(*this, field, std::clamp(value, 0, kMax));
}

void TEditorImagebar::SetDigitWidth(int value) {
  Update(digitWidth_, value);
}
void TEditorImagebar::SetLeftMargin(int value) {
  Update(leftMargin_, value);
}
void TEditorImagebar::SetMarkWidth(int value) {
  Update(markWidth_, value);
}
void TEditorImagebar::SetRightMargin(int value) {
  Update(rightMargin_, value);
}
void TEditorImagebar::SetVisible(bool value) {
  Store(*this, visible_, value);
}

void TEditorImagebar::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorImagebar*>(&source)) {
    digitWidth_ = src->digitWidth_;
    leftMargin_ = src->leftMargin_;
    markWidth_ = src->markWidth_;
    rightMargin_ = src->rightMargin_;
    visible_ = src->visible_;
    Changed();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorImagebar::ClassInfo() const {
  using C = TEditorImagebar;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorImagebar", nullptr);
    IntProp(p, "DigitWidth", 8, &C::DigitWidth, &C::SetDigitWidth);
    IntProp(p, "LeftMargin", 2, &C::LeftMargin, &C::SetLeftMargin);
    IntProp(p, "MarkWidth", 0, &C::MarkWidth, &C::SetMarkWidth);
    IntProp(p, "RightMargin", 2, &C::RightMargin, &C::SetRightMargin);
    BoolProp(p, "Visible", true, &C::Visible, &C::SetVisible);
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------- TEditorSpeed

void TEditorSpeed::SetCaretVerticalAc(int value) {
  caretVerticalAc_ = ClampSpeed(value);
}
void TEditorSpeed::SetPageVerticalRange(int value) {
  pageVerticalRange_ = ClampSpeed(value);
}
void TEditorSpeed::SetPageVerticalRangeAc(int value) {
  pageVerticalRangeAc_ = ClampSpeed(value);
}

void TEditorSpeed::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorSpeed*>(&source)) {
    caretVerticalAc_ = src->caretVerticalAc_;
    initBracketsFull_ = src->initBracketsFull_;
    pageVerticalRange_ = src->pageVerticalRange_;
    pageVerticalRangeAc_ = src->pageVerticalRangeAc_;
    return;
  }
  TPersistent::Assign(source);
}

const TClassInfo* TEditorSpeed::ClassInfo() const {
  using C = TEditorSpeed;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorSpeed", nullptr);
    const TTypeInfo& range = TypeEditorSpeedRange();
    p.Ord(
        "CaretVerticalAc", range, 2, [](const C& o) { return o.CaretVerticalAc(); },
        [](C& o, std::int64_t v) { o.SetCaretVerticalAc(ToInt(v)); });
    BoolProp(p, "InitBracketsFull", false, &C::InitBracketsFull, &C::SetInitBracketsFull);
    p.Ord(
        "PageVerticalRange", range, 2, [](const C& o) { return o.PageVerticalRange(); },
        [](C& o, std::int64_t v) { o.SetPageVerticalRange(ToInt(v)); });
    p.Ord(
        "PageVerticalRangeAc", range, 2, [](const C& o) { return o.PageVerticalRangeAc(); },
        [](C& o, std::int64_t v) { o.SetPageVerticalRangeAc(ToInt(v)); });
    return p.Build();
  }();
  return &info;
}

}  // namespace kelu
