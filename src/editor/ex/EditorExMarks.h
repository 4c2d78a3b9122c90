// The settings of the page editor's second drawing layer: the extended marks
// (outlines of blanks, hit underlines, the bracket pair, row backgrounds) and
// the vertical guide lines. Both are published by TEditorEx and copied with
// Assign; free of any window system.
#pragma once

#include "base/Notify.h"
#include "editor/control/settings/EditorSettings.h"
#include "editor/fountain/Fountain.h"

namespace kelu {

// Sixteen sub-objects; a change of any of them is reported as a change of
// the marks object, and Assign from another TEditorExMarks reports once.
class TEditorExMarks : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorExMarks)

  TEditorExMarks();
  TEditorExMarks(const TEditorExMarks&) = delete;
  TEditorExMarks& operator=(const TEditorExMarks&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  // True when any of the fifteen marks is visible (read-only).
  bool Indicated() const;

  // The outline of each full-width space.
  TEditorMark& DBSpaceMark() { return dbSpaceMark_; }
  const TEditorMark& DBSpaceMark() const { return dbSpaceMark_; }
  void SetDBSpaceMark(const TEditorMark& value) { dbSpaceMark_.Assign(value); }
  // The outline of each single-byte space.
  TEditorMark& SpaceMark() { return spaceMark_; }
  const TEditorMark& SpaceMark() const { return spaceMark_; }
  void SetSpaceMark(const TEditorMark& value) { spaceMark_.Assign(value); }
  // The arrow at each tab.
  TEditorMark& TabMark() { return tabMark_; }
  const TEditorMark& TabMark() const { return tabMark_; }
  void SetTabMark(const TEditorMark& value) { tabMark_.Assign(value); }
  // The underline (and the Hit colours) of every hit of the search pattern.
  TEditorMark& FindMark() { return findMark_; }
  const TEditorMark& FindMark() const { return findMark_; }
  void SetFindMark(const TEditorMark& value) { findMark_.Assign(value); }
  // Style, text colour and background of hit text while FindMark is shown.
  TFountainColor& Hit() { return hit_; }
  const TFountainColor& Hit() const { return hit_; }
  void SetHit(const TFountainColor& value) { hit_.Assign(value); }
  // The bracket at the caret and its partner.
  TEditorMark& ParenMark() { return parenMark_; }
  const TEditorMark& ParenMark() const { return parenMark_; }
  void SetParenMark(const TEditorMark& value) { parenMark_.Assign(value); }
  // Row backgrounds: the caret row; rows with a digit mark; rows with any
  // image mark; rows with image mark 0 to 5; every second row.
  TEditorMark& CurrentLine() { return currentLine_; }
  const TEditorMark& CurrentLine() const { return currentLine_; }
  void SetCurrentLine(const TEditorMark& value) { currentLine_.Assign(value); }
  TEditorMark& DigitLine() { return digitLine_; }
  const TEditorMark& DigitLine() const { return digitLine_; }
  void SetDigitLine(const TEditorMark& value) { digitLine_.Assign(value); }
  TEditorMark& ImageLine() { return imageLine_; }
  const TEditorMark& ImageLine() const { return imageLine_; }
  void SetImageLine(const TEditorMark& value) { imageLine_.Assign(value); }
  TEditorMark& ImgLine(int index) { return imgLine_[index]; }
  const TEditorMark& ImgLine(int index) const { return imgLine_[index]; }
  TEditorMark& Img0Line() { return imgLine_[0]; }
  TEditorMark& Img1Line() { return imgLine_[1]; }
  TEditorMark& Img2Line() { return imgLine_[2]; }
  TEditorMark& Img3Line() { return imgLine_[3]; }
  TEditorMark& Img4Line() { return imgLine_[4]; }
  TEditorMark& Img5Line() { return imgLine_[5]; }
  void SetImgLine(int index, const TEditorMark& value) { imgLine_[index].Assign(value); }
  TEditorMark& EvenLine() { return evenLine_; }
  const TEditorMark& EvenLine() const { return evenLine_; }
  void SetEvenLine(const TEditorMark& value) { evenLine_.Assign(value); }

 private:
  TEditorMark dbSpaceMark_;
  TEditorMark spaceMark_;
  TEditorMark tabMark_;
  TEditorMark findMark_;
  TFountainColor hit_;
  TEditorMark parenMark_;
  TEditorMark currentLine_;
  TEditorMark digitLine_;
  TEditorMark imageLine_;
  TEditorMark imgLine_[6];
  TEditorMark evenLine_;
};

class TVerticalLines;

// A guide line at a column.
class TVerticalLine : public TCollectionItem {
 public:
  KELU_CLASS_NAME(TVerticalLine)

  static constexpr int kMaxPosition = 1000;

  explicit TVerticalLine(TCollection* collection);

  // Copies Position, Color and Visible and reports once.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  // The column; a value below 0 or above 1000 is ignored.
  int Position() const { return position_; }
  void SetPosition(int value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  int position_ = 0;
  TColor color_ = clBlack;
  bool visible_ = true;
};

// The guide lines of an editor. Every change (of an item, or items added or
// removed) is reported through OnChange once no update is open.
class TVerticalLines : public TNotifyCollection {
 public:
  KELU_CLASS_NAME(TVerticalLines)

  // `owner`: the component the lines belong to.
  explicit TVerticalLines(TPersistent* owner) : TNotifyCollection(owner) {}

  TVerticalLine* Add() override { return static_cast<TVerticalLine*>(TCollection::Add()); }
  TVerticalLine& Item(int index) const { return *static_cast<TVerticalLine*>(Items(index)); }

 protected:
  TCollectionItem* NewItem() override { return new TVerticalLine(this); }
};

}  // namespace kelu
