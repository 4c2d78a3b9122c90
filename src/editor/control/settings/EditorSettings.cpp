#include "editor/control/settings/EditorSettings.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace kelu {

namespace {

// A 64-bit property value as an int, saturating, so that the setter still
// clamps a huge number instead of seeing it wrapped into range.
int ToInt(std::int64_t v) {
  return static_cast<int>(std::clamp<std::int64_t>(v, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

// Limits `value` to lo..hi and drops the remainder of division by 2.
int ClampEven(int value, int lo, int hi) {
  value = std::clamp(value, lo, hi);
  return value - value % 2;
}

TEditorSpeedRange ClampSpeed(int value) {
  return static_cast<TEditorSpeedRange>(std::clamp<int>(value, kEditorSpeedMin, kEditorSpeedMax));
}

}  // namespace

// ----------------------------------------------------------- TEditorCursors

void TEditorCursors::Update(TCursor& field, TCursor value) {
  SetField(field, value);
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
    p.Int<TCursor>("DefaultCursor", TypeCursor(), crIBeam, &C::DefaultCursor, &C::SetDefaultCursor);
    p.Int<TCursor>("DragSelCursor", TypeCursor(), crDrag, &C::DragSelCursor, &C::SetDragSelCursor);
    p.Int<TCursor>("DragSelCopyCursor", TypeCursor(), crDragSelCopy, &C::DragSelCopyCursor,
                   &C::SetDragSelCopyCursor);
    p.Int<TCursor>("InSelCursor", TypeCursor(), crDefault, &C::InSelCursor, &C::SetInSelCursor);
    p.Int<TCursor>("LeftMarginCursor", TypeCursor(), crRightArrow, &C::LeftMarginCursor,
                   &C::SetLeftMarginCursor);
    p.Int<TCursor>("TopMarginCursor", TypeCursor(), crDefault, &C::TopMarginCursor,
                   &C::SetTopMarginCursor);
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------- TEditorCaret

void TEditorCaret::SetStyle(TEditorCaretStyle value) {
  SetField(style_, value);
}

void TEditorCaret::SetTabSpaceCount(int value) {
  SetField(tabSpaceCount_, ClampEven(value, 2, 8));
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
    p.Bool("AutoCursor", true, &C::AutoCursor, &C::SetAutoCursor);
    p.Bool("AutoIndent", true, &C::AutoIndent, &C::SetAutoIndent);
    p.Bool("BackSpaceUnIndent", true, &C::BackSpaceUnIndent, &C::SetBackSpaceUnIndent);
    p.Obj("Cursors", TypeClass("TEditorCursors"), [](C& o) { return &o.Cursors(); });
    p.Bool("FreeCaret", true, &C::FreeCaret, &C::SetFreeCaret);
    p.Bool("FreeRow", false, &C::FreeRow, &C::SetFreeRow);
    p.Bool("InTab", false, &C::InTab, &C::SetInTab);
    p.Bool("KeepCaret", false, &C::KeepCaret, &C::SetKeepCaret);
    p.Bool("LockScroll", false, &C::LockScroll, &C::SetLockScroll);
    p.Bool("NextLine", false, &C::NextLine, &C::SetNextLine);
    p.Bool("PrevSpaceIndent", false, &C::PrevSpaceIndent, &C::SetPrevSpaceIndent);
    p.Bool("RowSelect", true, &C::RowSelect, &C::SetRowSelect);
    p.Enum("SelDragMode", TypeDragMode(), dmAutomatic, &C::SelDragMode, &C::SetSelDragMode);
    p.Bool("SelMove", true, &C::SelMove, &C::SetSelMove);
    p.Bool("SoftTab", false, &C::SoftTab, &C::SetSoftTab);
    p.Enum("Style", TypeEditorCaretStyle(), csDefault, &C::Style, &C::SetStyle);
    p.Bool("TabIndent", false, &C::TabIndent, &C::SetTabIndent);
    p.Int("TabSpaceCount", TypeInteger(), 8, &C::TabSpaceCount, &C::SetTabSpaceCount);
    p.Bool("TokenEndStop", false, &C::TokenEndStop, &C::SetTokenEndStop);
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------ TEditorMargin

void TEditorMargin::Update(int& field, int value) {
  SetField(field, std::clamp(value, 0, kMax));
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
    p.Int("Character", TypeInteger(), 0, &C::Character, &C::SetCharacter);
    p.Int("Left", TypeInteger(), 19, &C::Left, &C::SetLeft);
    p.Int("Line", TypeInteger(), 0, &C::Line, &C::SetLine);
    p.Int("Top", TypeInteger(), 2, &C::Top, &C::SetTop);
    return p.Build();
  }();
  return &info;
}

// -------------------------------------------------------------- TEditorMark

void TEditorMark::SetColor(TColor value) {
  SetField(color_, value);
}
void TEditorMark::SetVisible(bool value) {
  SetField(visible_, value);
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
    p.Color("Color", clGray, &C::Color, &C::SetColor);
    p.Bool("Visible", false, &C::Visible, &C::SetVisible);
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
  SetField(bkColor_, value);
}
void TEditorRuler::SetColor(TColor value) {
  SetField(color_, value);
}
void TEditorRuler::SetEdge(bool value) {
  SetField(edge_, value);
}
void TEditorRuler::SetGaugeRange(int value) {
  SetField(gaugeRange_, ClampEven(value, 8, 10));
}
void TEditorRuler::SetMarkColor(TColor value) {
  SetField(markColor_, value);
}
void TEditorRuler::SetVisible(bool value) {
  SetField(visible_, value);
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
    p.Color("BkColor", clSilver, &C::BkColor, &C::SetBkColor);
    p.Color("Color", clBlack, &C::Color, &C::SetColor);
    p.Bool("Edge", true, &C::Edge, &C::SetEdge);
    p.Int("GaugeRange", TypeInteger(), 10, &C::GaugeRange, &C::SetGaugeRange);
    p.Color("MarkColor", clBlack, &C::MarkColor, &C::SetMarkColor);
    p.Bool("Visible", false, &C::Visible, &C::SetVisible);
    return p.Build();
  }();
  return &info;
}

// ----------------------------------------------------------- TEditorLeftbar

void TEditorLeftbar::SetBkColor(TColor value) {
  SetField(bkColor_, value);
}
void TEditorLeftbar::SetColor(TColor value) {
  SetField(color_, value);
}
void TEditorLeftbar::SetColumn(int value) {
  SetField(column_, std::clamp(value, 1, 8));
}
void TEditorLeftbar::SetEdge(bool value) {
  SetField(edge_, value);
}
void TEditorLeftbar::SetLeftMargin(int value) {
  SetField(leftMargin_, std::clamp(value, 0, kMaxMargin));
}
void TEditorLeftbar::SetRightMargin(int value) {
  SetField(rightMargin_, std::clamp(value, 0, kMaxMargin));
}
void TEditorLeftbar::SetShowNumber(bool value) {
  SetField(showNumber_, value);
}
void TEditorLeftbar::SetShowNumberMode(TEditorShowNumberMode value) {
  SetField(showNumberMode_, value);
}
void TEditorLeftbar::SetVisible(bool value) {
  SetField(visible_, value);
}
void TEditorLeftbar::SetZeroBase(bool value) {
  SetField(zeroBase_, value);
}
void TEditorLeftbar::SetZeroLead(bool value) {
  SetField(zeroLead_, value);
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
    p.Color("BkColor", clSilver, &C::BkColor, &C::SetBkColor);
    p.Color("Color", clBlack, &C::Color, &C::SetColor);
    p.Int("Column", TypeInteger(), 4, &C::Column, &C::SetColumn);
    p.Bool("Edge", true, &C::Edge, &C::SetEdge);
    p.Int("LeftMargin", TypeInteger(), 8, &C::LeftMargin, &C::SetLeftMargin);
    p.Int("RightMargin", TypeInteger(), 4, &C::RightMargin, &C::SetRightMargin);
    p.Bool("ShowNumber", true, &C::ShowNumber, &C::SetShowNumber);
    p.Enum("ShowNumberMode", TypeEditorShowNumberMode(), nmRow, &C::ShowNumberMode,
           &C::SetShowNumberMode);
    p.Bool("Visible", false, &C::Visible, &C::SetVisible);
    p.Bool("ZeroBase", false, &C::ZeroBase, &C::SetZeroBase);
    p.Bool("ZeroLead", false, &C::ZeroLead, &C::SetZeroLead);
    return p.Build();
  }();
  return &info;
}

// ---------------------------------------------------------- TEditorImagebar

void TEditorImagebar::Update(int& field, int value) {
  SetField(field, std::clamp(value, 0, kMax));
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
  SetField(visible_, value);
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
    p.Int("DigitWidth", TypeInteger(), 8, &C::DigitWidth, &C::SetDigitWidth);
    p.Int("LeftMargin", TypeInteger(), 2, &C::LeftMargin, &C::SetLeftMargin);
    p.Int("MarkWidth", TypeInteger(), 0, &C::MarkWidth, &C::SetMarkWidth);
    p.Int("RightMargin", TypeInteger(), 2, &C::RightMargin, &C::SetRightMargin);
    p.Bool("Visible", true, &C::Visible, &C::SetVisible);
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
    p.Bool("InitBracketsFull", false, &C::InitBracketsFull, &C::SetInitBracketsFull);
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
