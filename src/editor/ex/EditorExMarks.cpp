#include "editor/ex/EditorExMarks.h"

#include <cstdint>

namespace kelu {

// ----------------------------------------------------------- TEditorExMarks

TEditorExMarks::TEditorExMarks() {
  const TNotifyEvent report = TNotifyEvent::Of<&TEditorExMarks::ChangedProc>(this);
  for (TEditorMark* mark : {&dbSpaceMark_, &spaceMark_, &tabMark_, &findMark_, &parenMark_,
                            &currentLine_, &digitLine_, &imageLine_, &evenLine_}) {
    mark->OnChange = report;
  }
  for (TEditorMark& mark : imgLine_) mark.OnChange = report;
  hit_.OnChange = report;
}

bool TEditorExMarks::Indicated() const {
  for (const TEditorMark* mark : {&dbSpaceMark_, &spaceMark_, &tabMark_, &findMark_, &parenMark_,
                                  &currentLine_, &digitLine_, &imageLine_, &evenLine_}) {
    if (mark->Visible()) return true;
  }
  for (const TEditorMark& mark : imgLine_) {
    if (mark.Visible()) return true;
  }
  return false;
}

void TEditorExMarks::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TEditorExMarks*>(&source)) {
    BeginUpdate();
    try {
      dbSpaceMark_.Assign(src->dbSpaceMark_);
      spaceMark_.Assign(src->spaceMark_);
      tabMark_.Assign(src->tabMark_);
      findMark_.Assign(src->findMark_);
      hit_.Assign(src->hit_);
      parenMark_.Assign(src->parenMark_);
      currentLine_.Assign(src->currentLine_);
      digitLine_.Assign(src->digitLine_);
      imageLine_.Assign(src->imageLine_);
      for (int i = 0; i < 6; ++i) imgLine_[i].Assign(src->imgLine_[i]);
      evenLine_.Assign(src->evenLine_);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TNotifyPersistent::Assign(source);
}

const TClassInfo* TEditorExMarks::ClassInfo() const {
  using C = TEditorExMarks;
  static const TClassInfo built = [] {
    const TTypeInfo& mark = TypeClass("TEditorMark");
    TPropsOf<C> p("TEditorExMarks", nullptr);
    p.Ord(
        "Indicated", TypeBoolean(), std::nullopt, [](const C& o) { return o.Indicated(); },
        [](C&, std::int64_t) {});
    p.Obj("DBSpaceMark", mark, [](C& o) { return &o.DBSpaceMark(); });
    p.Obj("SpaceMark", mark, [](C& o) { return &o.SpaceMark(); });
    p.Obj("TabMark", mark, [](C& o) { return &o.TabMark(); });
    p.Obj("FindMark", mark, [](C& o) { return &o.FindMark(); });
    p.Obj("Hit", TypeClass("TFountainColor"), [](C& o) { return &o.Hit(); });
    p.Obj("ParenMark", mark, [](C& o) { return &o.ParenMark(); });
    p.Obj("CurrentLine", mark, [](C& o) { return &o.CurrentLine(); });
    p.Obj("DigitLine", mark, [](C& o) { return &o.DigitLine(); });
    p.Obj("ImageLine", mark, [](C& o) { return &o.ImageLine(); });
    p.Obj("Img0Line", mark, [](C& o) { return &o.Img0Line(); });
    p.Obj("Img1Line", mark, [](C& o) { return &o.Img1Line(); });
    p.Obj("Img2Line", mark, [](C& o) { return &o.Img2Line(); });
    p.Obj("Img3Line", mark, [](C& o) { return &o.Img3Line(); });
    p.Obj("Img4Line", mark, [](C& o) { return &o.Img4Line(); });
    p.Obj("Img5Line", mark, [](C& o) { return &o.Img5Line(); });
    p.Obj("EvenLine", mark, [](C& o) { return &o.EvenLine(); });
    TClassInfo info = p.Build();
    // Indicated is read-only: no setter, and nothing to store.
    info.Props.front().SetOrd = nullptr;
    return info;
  }();
  return &built;
}

// ------------------------------------------------------------ TVerticalLine

TVerticalLine::TVerticalLine(TCollection* collection) : TCollectionItem(collection) {}

void TVerticalLine::SetPosition(int value) {
  if (value < 0 || value > kMaxPosition || value == position_) return;
  position_ = value;
  Changed(false);
}

void TVerticalLine::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  Changed(false);
}

void TVerticalLine::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed(false);
}

void TVerticalLine::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TVerticalLine*>(&source)) {
    position_ = src->position_;
    color_ = src->color_;
    visible_ = src->visible_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

const TClassInfo* TVerticalLine::ClassInfo() const {
  using C = TVerticalLine;
  static const TClassInfo info = [] {
    TPropsOf<C> p("TVerticalLine", nullptr);
    p.Ord(
        "Color", TypeColor(), clBlack, [](const C& o) { return o.Color(); },
        [](C& o, std::int64_t v) {
          o.SetColor(static_cast<TColor>(static_cast<std::uint32_t>(v)));
        });
    p.Ord(
        "Position", TypeInteger(), 0, [](const C& o) { return o.Position(); },
        [](C& o, std::int64_t v) {
          if (v >= 0 && v <= kMaxPosition) o.SetPosition(static_cast<int>(v));
        });
    p.Ord(
        "Visible", TypeBoolean(), 1, [](const C& o) { return o.Visible(); },
        [](C& o, std::int64_t v) { o.SetVisible(v != 0); });
    return p.Build();
  }();
  return &info;
}

}  // namespace kelu
