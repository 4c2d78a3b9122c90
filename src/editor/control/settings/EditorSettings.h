// The settings objects of the editor control: caret and cursors, margins,
// marks, ruler, left bar, image bar and speed. Each is published by the
// control as a sub-property and copied with Assign, never shared.
//
// Every object except TEditorSpeed reports its changes through OnChange; the
// control points that event at its SettingsChanged. A notifying setter
// compares the new value with the stored one and only when it differs stores
// it and calls Changed; numbers out of range are clamped, never rejected.
// Assign copies every field from an object of the same class (or a
// descendant) and reports exactly once; from any other class it raises
// EConvertError and leaves the object as it was.
#pragma once

#include "base/Color.h"
#include "base/Notify.h"
#include "editor/control/settings/EditorTypes.h"

namespace kelu {

// The mouse cursors of the control's areas and gestures. Nothing listens to
// its changes: the control reads the values whenever it sets a cursor.
class TEditorCursors : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorCursors)

  TEditorCursors() = default;
  TEditorCursors(const TEditorCursors&) = delete;
  TEditorCursors& operator=(const TEditorCursors&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  // Over the text area.
  TCursor DefaultCursor() const { return defaultCursor_; }
  void SetDefaultCursor(TCursor value);
  // While the selection is dragged to be moved.
  TCursor DragSelCursor() const { return dragSelCursor_; }
  void SetDragSelCursor(TCursor value);
  // While the selection is dragged with Ctrl held, to be copied.
  TCursor DragSelCopyCursor() const { return dragSelCopyCursor_; }
  void SetDragSelCopyCursor(TCursor value);
  // Over selected text that can be dragged.
  TCursor InSelCursor() const { return inSelCursor_; }
  void SetInSelCursor(TCursor value);
  // Left of the text (image bar, left bar, left margin).
  TCursor LeftMarginCursor() const { return leftMarginCursor_; }
  void SetLeftMarginCursor(TCursor value);
  // Above the text (ruler, top margin).
  TCursor TopMarginCursor() const { return topMarginCursor_; }
  void SetTopMarginCursor(TCursor value);

 private:
  void Update(TCursor& field, TCursor value);

  TCursor defaultCursor_ = crIBeam;
  TCursor dragSelCursor_ = crDrag;
  TCursor dragSelCopyCursor_ = crDragSelCopy;
  TCursor inSelCursor_ = crDefault;
  TCursor leftMarginCursor_ = crRightArrow;
  TCursor topMarginCursor_ = crDefault;
};

// Caret behaviour. Only Style and TabSpaceCount notify; the switches and
// SelDragMode are plain fields that the control reads when it needs them.
class TEditorCaret : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorCaret)

  TEditorCaret() = default;
  TEditorCaret(const TEditorCaret&) = delete;
  TEditorCaret& operator=(const TEditorCaret&) = delete;

  // Copies every field, Cursors through its Assign, inside one update.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  bool AutoCursor() const { return autoCursor_; }
  void SetAutoCursor(bool value) { autoCursor_ = value; }
  bool AutoIndent() const { return autoIndent_; }
  void SetAutoIndent(bool value) { autoIndent_ = value; }
  bool BackSpaceUnIndent() const { return backSpaceUnIndent_; }
  void SetBackSpaceUnIndent(bool value) { backSpaceUnIndent_ = value; }
  TEditorCursors& Cursors() { return cursors_; }
  const TEditorCursors& Cursors() const { return cursors_; }
  // Assigns into the owned cursors.
  void SetCursors(const TEditorCursors& value) { cursors_.Assign(value); }
  bool FreeCaret() const { return freeCaret_; }
  void SetFreeCaret(bool value) { freeCaret_ = value; }
  bool FreeRow() const { return freeRow_; }
  void SetFreeRow(bool value) { freeRow_ = value; }
  bool InTab() const { return inTab_; }
  void SetInTab(bool value) { inTab_ = value; }
  bool KeepCaret() const { return keepCaret_; }
  void SetKeepCaret(bool value) { keepCaret_ = value; }
  bool LockScroll() const { return lockScroll_; }
  void SetLockScroll(bool value) { lockScroll_ = value; }
  bool NextLine() const { return nextLine_; }
  void SetNextLine(bool value) { nextLine_ = value; }
  bool PrevSpaceIndent() const { return prevSpaceIndent_; }
  void SetPrevSpaceIndent(bool value) { prevSpaceIndent_ = value; }
  bool RowSelect() const { return rowSelect_; }
  void SetRowSelect(bool value) { rowSelect_ = value; }
  TDragMode SelDragMode() const { return selDragMode_; }
  void SetSelDragMode(TDragMode value) { selDragMode_ = value; }
  bool SelMove() const { return selMove_; }
  void SetSelMove(bool value) { selMove_ = value; }
  bool SoftTab() const { return softTab_; }
  void SetSoftTab(bool value) { softTab_ = value; }
  TEditorCaretStyle Style() const { return style_; }
  void SetStyle(TEditorCaretStyle value);
  bool TabIndent() const { return tabIndent_; }
  void SetTabIndent(bool value) { tabIndent_ = value; }
  // Tab stop distance: limited to 2..8, then an odd value is rounded down.
  int TabSpaceCount() const { return tabSpaceCount_; }
  void SetTabSpaceCount(int value);
  bool TokenEndStop() const { return tokenEndStop_; }
  void SetTokenEndStop(bool value) { tokenEndStop_ = value; }

 private:
  bool autoCursor_ = true;
  bool autoIndent_ = true;
  bool backSpaceUnIndent_ = true;
  TEditorCursors cursors_;
  bool freeCaret_ = true;
  bool freeRow_ = false;
  bool inTab_ = false;
  bool keepCaret_ = false;
  bool lockScroll_ = false;
  bool nextLine_ = false;
  bool prevSpaceIndent_ = false;
  bool rowSelect_ = true;
  TDragMode selDragMode_ = dmAutomatic;
  bool selMove_ = true;
  bool softTab_ = false;
  TEditorCaretStyle style_ = csDefault;
  bool tabIndent_ = false;
  int tabSpaceCount_ = 8;
  bool tokenEndStop_ = false;
};

// Pixel margins around the text. Every published value is limited to 0..100.
class TEditorMargin : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorMargin)

  static constexpr int kMax = 100;

  TEditorMargin() = default;
  TEditorMargin(const TEditorMargin&) = delete;
  TEditorMargin& operator=(const TEditorMargin&) = delete;

  // Copies the four published values and the underline gap.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  // Added to the font's average character width to make the column width.
  int Character() const { return character_; }
  void SetCharacter(int value);
  // Between the left-side bars (or the left edge) and the first column.
  int Left() const { return left_; }
  void SetLeft(int value);
  // Between two rows.
  int Line() const { return line_; }
  void SetLine(int value);
  // Between the ruler (or the top edge) and the first row.
  int Top() const { return top_; }
  void SetTop(int value);

  // Extra pixels of the row height for the caret-row underline: the control
  // keeps it at 1 while Marks.Underline is visible and 0 otherwise. Not
  // published, and setting it does not notify (the control sets it while it
  // reacts to a change of the marks).
  int UnderlineGap() const { return underlineGap_; }
  void SetUnderlineGap(int value) { underlineGap_ = value; }

 private:
  void Update(int& field, int value);

  int character_ = 0;
  int left_ = 19;
  int line_ = 0;
  int top_ = 2;
  int underlineGap_ = 0;
};

// One optional mark of the drawing: a colour and whether it is shown.
class TEditorMark : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorMark)

  TEditorMark() = default;
  TEditorMark(const TEditorMark&) = delete;
  TEditorMark& operator=(const TEditorMark&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  TColor color_ = clGray;
  bool visible_ = false;
};

// The five marks of the control; a change of any of them is reported as a
// change of the marks object.
class TEditorMarks : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorMarks)

  TEditorMarks();
  TEditorMarks(const TEditorMarks&) = delete;
  TEditorMarks& operator=(const TEditorMarks&) = delete;

  // Copies the five marks inside one update.
  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  // "[EOF]" after the last line.
  TEditorMark& EofMark() { return eofMark_; }
  const TEditorMark& EofMark() const { return eofMark_; }
  void SetEofMark(const TEditorMark& value) { eofMark_.Assign(value); }
  // The arrow at a hard line end.
  TEditorMark& RetMark() { return retMark_; }
  const TEditorMark& RetMark() const { return retMark_; }
  void SetRetMark(const TEditorMark& value) { retMark_.Assign(value); }
  // The sign at the end of a wrapped row.
  TEditorMark& WrapMark() { return wrapMark_; }
  const TEditorMark& WrapMark() const { return wrapMark_; }
  void SetWrapMark(const TEditorMark& value) { wrapMark_.Assign(value); }
  // The sign at a row that goes on beyond the drawn width.
  TEditorMark& HideMark() { return hideMark_; }
  const TEditorMark& HideMark() const { return hideMark_; }
  void SetHideMark(const TEditorMark& value) { hideMark_.Assign(value); }
  // The line under the caret row.
  TEditorMark& Underline() { return underline_; }
  const TEditorMark& Underline() const { return underline_; }
  void SetUnderline(const TEditorMark& value) { underline_.Assign(value); }

 private:
  TEditorMark eofMark_;
  TEditorMark retMark_;
  TEditorMark wrapMark_;
  TEditorMark hideMark_;
  TEditorMark underline_;
};

// The column ruler above the text.
class TEditorRuler : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorRuler)

  TEditorRuler() = default;
  TEditorRuler(const TEditorRuler&) = delete;
  TEditorRuler& operator=(const TEditorRuler&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  bool Edge() const { return edge_; }
  void SetEdge(bool value);
  // Columns between two numbered ticks: limited to 8..10, then an odd value
  // is rounded down (8 or 10).
  int GaugeRange() const { return gaugeRange_; }
  void SetGaugeRange(int value);
  TColor MarkColor() const { return markColor_; }
  void SetMarkColor(TColor value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  TColor bkColor_ = clSilver;
  TColor color_ = clBlack;
  bool edge_ = true;
  int gaugeRange_ = 10;
  TColor markColor_ = clBlack;
  bool visible_ = false;
};

// The row or line number bar left of the text.
class TEditorLeftbar : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorLeftbar)

  static constexpr int kMaxMargin = 100;

  TEditorLeftbar() = default;
  TEditorLeftbar(const TEditorLeftbar&) = delete;
  TEditorLeftbar& operator=(const TEditorLeftbar&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Minimum number of digit places, 1..8.
  int Column() const { return column_; }
  void SetColumn(int value);
  bool Edge() const { return edge_; }
  void SetEdge(bool value);
  // 0..100 pixels.
  int LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(int value);
  // 0..100 pixels.
  int RightMargin() const { return rightMargin_; }
  void SetRightMargin(int value);
  bool ShowNumber() const { return showNumber_; }
  void SetShowNumber(bool value);
  TEditorShowNumberMode ShowNumberMode() const { return showNumberMode_; }
  void SetShowNumberMode(TEditorShowNumberMode value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Numbers start at 0 instead of 1.
  bool ZeroBase() const { return zeroBase_; }
  void SetZeroBase(bool value);
  // Numbers are padded with leading zeros.
  bool ZeroLead() const { return zeroLead_; }
  void SetZeroLead(bool value);

 private:
  TColor bkColor_ = clSilver;
  TColor color_ = clBlack;
  int column_ = 4;
  bool edge_ = true;
  int leftMargin_ = 8;
  int rightMargin_ = 4;
  bool showNumber_ = true;
  TEditorShowNumberMode showNumberMode_ = nmRow;
  bool visible_ = false;
  bool zeroBase_ = false;
  bool zeroLead_ = false;
};

// The bar of row mark images at the control's left edge. Every width is
// limited to 0..100 pixels.
class TEditorImagebar : public TNotifyPersistent {
 public:
  KELU_CLASS_NAME(TEditorImagebar)

  static constexpr int kMax = 100;

  TEditorImagebar() = default;
  TEditorImagebar(const TEditorImagebar&) = delete;
  TEditorImagebar& operator=(const TEditorImagebar&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  int DigitWidth() const { return digitWidth_; }
  void SetDigitWidth(int value);
  int LeftMargin() const { return leftMargin_; }
  void SetLeftMargin(int value);
  int MarkWidth() const { return markWidth_; }
  void SetMarkWidth(int value);
  int RightMargin() const { return rightMargin_; }
  void SetRightMargin(int value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  // The bar's width in pixels: the four widths while visible, else 0.
  int Width() const { return visible_ ? leftMargin_ + digitWidth_ + markWidth_ + rightMargin_ : 0; }

 private:
  void Update(int& field, int value);

  int digitWidth_ = 8;
  int leftMargin_ = 2;
  int markWidth_ = 0;
  int rightMargin_ = 2;
  bool visible_ = true;
};

// Movement factors of the keyboard. Plain fields: nothing is notified. The
// range values are limited to 1..4.
class TEditorSpeed : public TPersistent {
 public:
  KELU_CLASS_NAME(TEditorSpeed)

  TEditorSpeed() = default;
  TEditorSpeed(const TEditorSpeed&) = delete;
  TEditorSpeed& operator=(const TEditorSpeed&) = delete;

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

  // Rows per auto-repeated Up or Down while the caret is on the first or
  // last visible row.
  TEditorSpeedRange CaretVerticalAc() const { return caretVerticalAc_; }
  void SetCaretVerticalAc(int value);
  // True: re-parsing all rows scans every row; false: only the rows up to
  // two screens below the first visible row.
  bool InitBracketsFull() const { return initBracketsFull_; }
  void SetInitBracketsFull(bool value) { initBracketsFull_ = value; }
  // PageUp and PageDown move by (visible rows - 1) div 2 times this value.
  TEditorSpeedRange PageVerticalRange() const { return pageVerticalRange_; }
  void SetPageVerticalRange(int value);
  // The same for auto-repeated PageUp and PageDown.
  TEditorSpeedRange PageVerticalRangeAc() const { return pageVerticalRangeAc_; }
  void SetPageVerticalRangeAc(int value);

 private:
  TEditorSpeedRange caretVerticalAc_ = 2;
  bool initBracketsFull_ = false;
  TEditorSpeedRange pageVerticalRange_ = 2;
  TEditorSpeedRange pageVerticalRangeAc_ = 2;
};

}  // namespace kelu
