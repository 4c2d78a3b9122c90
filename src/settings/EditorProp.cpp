#include "settings/EditorProp.h"

#include <algorithm>
#include <exception>

#include "base/Properties.h"
#include "editor/ex/matcher/EditorExSearch.h"

namespace kelu {

// -------------------------------------------------------------- TEditorProp

TEditorProp::TEditorProp(TComponent* owner) : TEditorProp(owner, TDeferConstruction{}) {
  Construct();
}

TEditorProp::TEditorProp(TComponent* owner, TDeferConstruction) : TFileExtComponent(owner) {
  font_.SetColor(clWindowText);
  font_.SetName("FixedSys");
}

TEditorProp::~TEditorProp() = default;

void TEditorProp::Construct() {
  caret_ = CreateCaret();
  imagebar_ = CreateImagebar();
  leftbar_ = CreateLeftbar();
  margin_ = CreateMargin();
  marks_ = CreateMarks();
  ruler_ = CreateRuler();
  speed_ = CreateSpeed();
  view_ = CreateView();
  wrapOption_ = CreateWrapOption();
}

std::unique_ptr<TEditorCaret> TEditorProp::CreateCaret() {
  return std::make_unique<TEditorCaret>();
}
std::unique_ptr<TEditorImagebar> TEditorProp::CreateImagebar() {
  return std::make_unique<TEditorImagebar>();
}
std::unique_ptr<TEditorLeftbar> TEditorProp::CreateLeftbar() {
  return std::make_unique<TEditorLeftbar>();
}
std::unique_ptr<TEditorMargin> TEditorProp::CreateMargin() {
  return std::make_unique<TEditorMargin>();
}
std::unique_ptr<TEditorMarks> TEditorProp::CreateMarks() {
  return std::make_unique<TEditorMarks>();
}
std::unique_ptr<TEditorRuler> TEditorProp::CreateRuler() {
  return std::make_unique<TEditorRuler>();
}
std::unique_ptr<TEditorSpeed> TEditorProp::CreateSpeed() {
  return std::make_unique<TEditorSpeed>();
}
std::unique_ptr<TEditorViewInfo> TEditorProp::CreateView() {
  return std::make_unique<TEditorViewInfo>(this);
}
std::unique_ptr<TEditorWrapOption> TEditorProp::CreateWrapOption() {
  return std::make_unique<TEditorWrapOption>();
}

void TEditorProp::Assign(const TPersistent& source) {
  auto* src = dynamic_cast<const TEditorProp*>(&source);
  if (!src) {
    TFileExtComponent::Assign(source);
    return;
  }
  try {
    SetColor(src->Color());
    SetCaret(src->Caret());
    SetFont(src->Font());
    SetHitStyle(src->HitStyle());
    SetImagebar(src->Imagebar());
    SetLeftbar(src->Leftbar());
    SetMargin(src->Margin());
    SetMarks(src->Marks());
    SetReserveWordList(src->ReserveWordList());
    SetRuler(src->Ruler());
    SetScrollBars(src->ScrollBars());
    SetSpeed(src->Speed());
    SetView(src->View());
    SetWordWrap(src->WordWrap());
    SetWrapOption(src->WrapOption());
    SetFileExtList(src->FileExtList());
  } catch (const std::exception&) {
    // What was copied stays.
  }
}

void TEditorProp::AssignTo(TPersistent& dest) const {
  if (auto* d = dynamic_cast<TEditorProp*>(&dest)) {
    d->Assign(*this);
    return;
  }
  TFileExtComponent::AssignTo(dest);
}

const TClassInfo* TEditorProp::ClassInfo() const {
  using C = TEditorProp;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TEditorProp", nullptr);
    p.Obj("FileExtList", TypeClass("TStringList"), [](C& o) { return &o.FileExtList(); });
    p.Color("Color", clWindow, &C::Color, &C::SetColor);
    p.Obj("Caret", TypeClass("TEditorCaret"), [](C& o) { return &o.Caret(); });
    p.Obj("Font", TypeClass("TFont"), [](C& o) { return &o.Font(); });
    p.Enum("HitStyle", TypeEditorHitStyle(), hsSelect, &C::HitStyle, &C::SetHitStyle);
    p.Obj("Imagebar", TypeClass("TEditorImagebar"), [](C& o) { return &o.Imagebar(); });
    p.Obj("Leftbar", TypeClass("TEditorLeftbar"), [](C& o) { return &o.Leftbar(); });
    p.Obj("Margin", TypeClass("TEditorMargin"), [](C& o) { return &o.Margin(); });
    p.Obj("Marks", TypeClass("TEditorMarks"), [](C& o) { return &o.Marks(); });
    p.Obj("ReserveWordList", TypeClass("TStringList"),
          [](C& o) { return &o.ReserveWordList(); });
    p.Obj("Ruler", TypeClass("TEditorRuler"), [](C& o) { return &o.Ruler(); });
    p.Enum("ScrollBars", TypeScrollStyle(), ssNone, &C::ScrollBars, &C::SetScrollBars);
    p.Obj("Speed", TypeClass("TEditorSpeed"), [](C& o) { return &o.Speed(); });
    p.Obj("View", TypeClass("TEditorViewInfo"), [](C& o) { return &o.View(); });
    p.Bool("WordWrap", false, &C::WordWrap, &C::SetWordWrap);
    p.Obj("WrapOption", TypeClass("TEditorWrapOption"), [](C& o) { return &o.WrapOption(); });
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------ TEditorExProp

TEditorExProp::TEditorExProp(TComponent* owner) : TEditorExProp(owner, TDeferConstruction{}) {
  Construct();
}

TEditorExProp::TEditorExProp(TComponent* owner, TDeferConstruction)
    : TEditorProp(owner, TDeferConstruction{}) {}

TEditorExProp::~TEditorExProp() = default;

void TEditorExProp::Construct() {
  TEditorProp::Construct();
  exMarks_ = CreateExMarks();
}

std::unique_ptr<TEditorExMarks> TEditorExProp::CreateExMarks() {
  return std::make_unique<TEditorExMarks>();
}

void TEditorExProp::SetVerticalLines(const TVerticalLines& value) {
  if (&value != &verticalLines_) verticalLines_.Assign(value);
}

void TEditorExProp::Assign(const TPersistent& source) {
  TEditorProp::Assign(source);
  auto* src = dynamic_cast<const TEditorExProp*>(&source);
  if (!src) return;
  try {
    SetExMarks(src->ExMarks());
    SetFindString(src->FindString());
    SetExSearchOptions(src->ExSearchOptions());
    SetVerticalLines(src->VerticalLines());
  } catch (const std::exception&) {
    // What was copied stays.
  }
}

const TClassInfo* TEditorExProp::ClassInfo() const {
  using C = TEditorExProp;
  static const TClassInfo info = [this] {
    TPropsOf<C> p("TEditorExProp", TEditorProp::ClassInfo());
    p.Obj("ExMarks", TypeClass("TEditorExMarks"), [](C& o) { return &o.ExMarks(); });
    PublishSearchProperties(p);
    p.Obj("VerticalLines", TypeClass("TVerticalLines"), [](C& o) { return &o.VerticalLines(); });
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------ design values

void SetStoredDesignValues(TEditorExProp& set) {
  TEditorExProp defaults;
  set.Assign(defaults);
  set.SetFindLineFeedCount(5);
  set.SetColor(clWindow);
  TFont& font = set.Font();
  font.SetName("FixedSys");
  font.SetHeight(-12);
  font.SetCharset(SHIFTJIS_CHARSET);
  font.SetColor(clWindowText);
  font.SetStyle(0);
}

}  // namespace kelu
