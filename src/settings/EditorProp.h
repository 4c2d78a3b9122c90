// Editor property sets: a copy of all the settings of an editor control,
// so that settings can be carried from one editor to others and stored as
// one component stream. TEditorProp holds the settings of TEditor;
// TEditorExProp adds those of TEditorEx (extended marks, search options,
// guide lines). Every sub-object is owned by the set and copied into, never
// shared.
//
// Between sets, Assign and AssignTo copy every setting except
// FindLineFeedCount, which travels only in the stored stream. Between a set
// and an editor control, see EditorPropAssign.h (the editor is a widget;
// this file stays free of any window system).
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Font.h"
#include "base/Notify.h"
#include "editor/control/settings/EditorSettings.h"
#include "editor/control/settings/EditorTypes.h"
#include "editor/control/settings/EditorViewInfo.h"
#include "editor/ex/EditorExMarks.h"
#include "editor/ex/matcher/SearchText.h"
#include "editor/model/WrapOption.h"

namespace kelu {

class TEditorProp : public TFileExtComponent {
 public:
  KELU_CLASS_NAME(TEditorProp)

  explicit TEditorProp(TComponent* owner = nullptr);
  ~TEditorProp() override;

  // From another set: the fifteen settings, then FileExtList. Anything else
  // is the platform's assignment (EConvertError). An error while copying
  // ends the copying; what was copied stays.
  void Assign(const TPersistent& source) override;
  // To another set: as its Assign from this one.
  void AssignTo(TPersistent& dest) const override;
  const TClassInfo* ClassInfo() const override;

  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  TEditorCaret& Caret() { return *caret_; }
  const TEditorCaret& Caret() const { return *caret_; }
  void SetCaret(const TEditorCaret& value) { caret_->Assign(value); }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  TEditorHitStyle HitStyle() const { return hitStyle_; }
  void SetHitStyle(TEditorHitStyle value) { hitStyle_ = value; }
  TEditorImagebar& Imagebar() { return *imagebar_; }
  const TEditorImagebar& Imagebar() const { return *imagebar_; }
  void SetImagebar(const TEditorImagebar& value) { imagebar_->Assign(value); }
  TEditorLeftbar& Leftbar() { return *leftbar_; }
  const TEditorLeftbar& Leftbar() const { return *leftbar_; }
  void SetLeftbar(const TEditorLeftbar& value) { leftbar_->Assign(value); }
  TEditorMargin& Margin() { return *margin_; }
  const TEditorMargin& Margin() const { return *margin_; }
  void SetMargin(const TEditorMargin& value) { margin_->Assign(value); }
  TEditorMarks& Marks() { return *marks_; }
  const TEditorMarks& Marks() const { return *marks_; }
  void SetMarks(const TEditorMarks& value) { marks_->Assign(value); }
  // Sorted, duplicates ignored, compared without case.
  TStringList& ReserveWordList() { return reserveWordList_; }
  const TStringList& ReserveWordList() const { return reserveWordList_; }
  void SetReserveWordList(const TStrings& value) { reserveWordList_.Assign(value); }
  TEditorRuler& Ruler() { return *ruler_; }
  const TEditorRuler& Ruler() const { return *ruler_; }
  void SetRuler(const TEditorRuler& value) { ruler_->Assign(value); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value) { scrollBars_ = value; }
  TEditorSpeed& Speed() { return *speed_; }
  const TEditorSpeed& Speed() const { return *speed_; }
  void SetSpeed(const TEditorSpeed& value) { speed_->Assign(value); }
  // Its owner reference is the set.
  TEditorViewInfo& View() { return *view_; }
  const TEditorViewInfo& View() const { return *view_; }
  void SetView(const TEditorViewInfo& value) { view_->Assign(value); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value) { wordWrap_ = value; }
  TEditorWrapOption& WrapOption() { return *wrapOption_; }
  const TEditorWrapOption& WrapOption() const { return *wrapOption_; }
  void SetWrapOption(const TEditorWrapOption& value) { wrapOption_->Assign(value); }

 protected:
  struct TDeferConstruction {};
  // For a descendant with its own factories: it calls Construct() at the
  // end of its constructor.
  TEditorProp(TComponent* owner, TDeferConstruction);
  // Makes the sub-objects through the factories, in the order Caret,
  // Imagebar, Leftbar, Margin, Marks, Ruler, Speed, View, WrapOption.
  void Construct();

  virtual std::unique_ptr<TEditorCaret> CreateCaret();
  virtual std::unique_ptr<TEditorImagebar> CreateImagebar();
  virtual std::unique_ptr<TEditorLeftbar> CreateLeftbar();
  virtual std::unique_ptr<TEditorMargin> CreateMargin();
  virtual std::unique_ptr<TEditorMarks> CreateMarks();
  virtual std::unique_ptr<TEditorRuler> CreateRuler();
  virtual std::unique_ptr<TEditorSpeed> CreateSpeed();
  virtual std::unique_ptr<TEditorViewInfo> CreateView();
  virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();

 private:
  TColor color_ = clWindow;
  std::unique_ptr<TEditorCaret> caret_;
  TFont font_;
  TEditorHitStyle hitStyle_ = hsSelect;
  std::unique_ptr<TEditorImagebar> imagebar_;
  std::unique_ptr<TEditorLeftbar> leftbar_;
  std::unique_ptr<TEditorMargin> margin_;
  std::unique_ptr<TEditorMarks> marks_;
  TStringList reserveWordList_ = TStringList::SortedIgnoringDuplicates();
  std::unique_ptr<TEditorRuler> ruler_;
  TScrollStyle scrollBars_ = ssNone;
  std::unique_ptr<TEditorSpeed> speed_;
  std::unique_ptr<TEditorViewInfo> view_;
  bool wordWrap_ = false;
  std::unique_ptr<TEditorWrapOption> wrapOption_;
};

class TEditorExProp : public TEditorProp {
 public:
  KELU_CLASS_NAME(TEditorExProp)

  explicit TEditorExProp(TComponent* owner = nullptr);
  ~TEditorExProp() override;

  // TEditorProp's, then from another TEditorExProp ExMarks, FindString,
  // ExSearchOptions and VerticalLines (FindLineFeedCount is not copied).
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  TEditorExMarks& ExMarks() { return *exMarks_; }
  const TEditorExMarks& ExMarks() const { return *exMarks_; }
  void SetExMarks(const TEditorExMarks& value) { exMarks_->Assign(value); }
  TExSearchOptions ExSearchOptions() const { return exSearchOptions_; }
  void SetExSearchOptions(TExSearchOptions value) { exSearchOptions_ = value; }
  // Logical lines joined by the line-spanning search.
  int FindLineFeedCount() const { return findLineFeedCount_; }
  void SetFindLineFeedCount(int value) { findLineFeedCount_ = value; }
  // Copies the lines (the set owns its collection).
  TVerticalLines& VerticalLines() { return verticalLines_; }
  const TVerticalLines& VerticalLines() const { return verticalLines_; }
  void SetVerticalLines(const TVerticalLines& value);
  // The search text (Shift-JIS); not published, so not stored.
  const std::string& FindString() const { return findString_; }
  void SetFindString(std::string_view value) { findString_ = value; }

 protected:
  TEditorExProp(TComponent* owner, TDeferConstruction);
  // TEditorProp's sub-objects, then ExMarks.
  void Construct();
  virtual std::unique_ptr<TEditorExMarks> CreateExMarks();

 private:
  std::unique_ptr<TEditorExMarks> exMarks_;
  TExSearchOptions exSearchOptions_;
  int findLineFeedCount_ = 5;
  TVerticalLines verticalLines_{this};
  std::string findString_;
};

// Gives `set` the values the application's stored set starts from when the
// settings file holds none: the window colour, 9-point FixedSys in the
// Shift-JIS character set, and otherwise the defaults of every settings
// object (image bar shown, left bar, ruler and marks hidden, no word wrap at
// 80 columns, the selection white on navy, all other colours none).
void SetStoredDesignValues(TEditorExProp& set);

}  // namespace kelu
