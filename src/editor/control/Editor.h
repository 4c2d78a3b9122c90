// TEditor: the editor control. It shows a shared row list of Shift-JIS text
// (TEditorScreenStrings) on a fixed grid of character cells, with a caret, a
// normal or box selection, colouring by a fountain, a ruler, a row-number bar,
// an image bar of row marks, and marks at row ends.
//
// The control is a QAbstractScrollArea: its client area is the viewport, in
// whose coordinates every pixel position below is given. Win32 notions map
// onto Qt through a thin layer (EditorPlatform.h): invalidating is
// QWidget::update, "repaint at once" is QWidget::repaint, window scrolling is
// QWidget::scroll, the system caret is drawn by the control itself in its
// paint handler, and every drawing of a Draw* operation happens while the
// control paints (outside painting those operations only invalidate the
// pixels they would change, which the next paint draws).
//
// Source files, by concern:
//   Editor.cpp          construction, settings objects and their change
//                       routing, published properties, events, row list
//   EditorCaret.cpp     positions, caret, goal column, selection, hits,
//                       offsets and the edit-control queries
//   EditorScroll.cpp    metrics, top row and column, scroll bars, wheel
//   EditorPaint.cpp     painting of rows, marks, bars and ruler
//   EditorScreen.cpp    repainting after text changes (TEditorScreen)
//   EditorGlyphs.cpp    the screen font, Shift-JIS characters on the grid
//   EditorPlatform.cpp  the system caret, colours, system metrics
//   EditorResources.cpp cursors, mark images, dotted lines, clipboard format
// and, added later: EditorEdit.cpp (editing operations, clipboard),
// EditorKeys.cpp (keyboard, input method), EditorMouse.cpp (mouse, drag
// selection), EditorPopupMenu.* (popup menu). Their handlers override the
// Qt event functions (keyPressEvent, inputMethodEvent, inputMethodQuery,
// mousePressEvent, ...) and use the protected state below; their virtual
// operations (NextTokenPos; PosToRowCol, TokenFromPos, SelectTokenFromPos,
// CanSelMove, CopySelectionTo; CreatePopupMenu; SearchText) join the groups
// below. An editing operation hides the caret (CaretBeginUpdate/
// CaretEndUpdate), changes the text through ScreenStrings().ReplaceRows and
// places the caret with SetCaretOffset; the repaint follows from the row
// list's change record (DoChange).
//
// Construction: C++ constructors do not dispatch virtually, so a descendant
// that overrides the factories (CreateEditorCaret, ...) uses the protected
// constructor taking TDeferConstruction and calls Construct() at the end of
// its own constructor. (InitDelimiters runs on first use of the delimiters.)
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QInputMethodEvent>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "base/Color.h"
#include "base/Events.h"
#include "base/Font.h"
#include "base/Notify.h"
#include "editor/control/EditorPlatform.h"
#include "editor/control/EditorResources.h"
#include "editor/control/KeyMessage.h"
#include "editor/control/settings/EditorSettings.h"
#include "editor/control/settings/EditorViewInfo.h"
#include "editor/model/ColumnMap.h"
#include "editor/model/EditorStrings.h"
#include "editor/model/ScreenEditor.h"
#include "editor/model/ScreenStrings.h"

class QMenu;
class QPainter;

class QMimeData;

namespace kelu {

class TEditorPopupMenu;
class TEditorScreen;
class TFountain;
class TFountainColor;
class TFountainParser;
class TGlyphPainter;

// The control's border.
enum TBorderStyle : std::uint8_t { bsNone, bsSingle };
const TTypeInfo& TypeBorderStyle();

// Where the selection stands: nothing; an anchor is set but nothing is
// selected yet; something is selected; a search hit is shown.
enum TSelectionState : std::uint8_t { stNone, stStarted, stSelected, stHit };

// The control's own drag of the selected text (mouse).
enum TSelDragState : std::uint8_t { sdNone, sdPending, sdDragging };

// A place in the text: screen row and display column.
struct TRowCol {
  int Row = 0;
  int Col = 0;
  bool operator==(const TRowCol&) const = default;
};

// The selected range: rows, the first selected byte of the first row and
// the last selected byte of the last row, and the display columns (end
// exclusive; in box mode the box's edges).
struct TSelectionRange {
  int StrRow = 0;
  int EndRow = 0;
  int StrByte = 0;
  int EndByte = -1;
  int StrCol = 0;
  int EndCol = 0;
  bool operator==(const TSelectionRange&) const = default;
};

// OnDrawLine: the row's text with tabs expanded, the x of its column 0, the
// row's top, its index, the rectangle drawn and whether it is drawn as
// selected.
using TDrawLineEvent = TEvent<TObject*, const std::string& /*lineStr*/, int /*x*/, int /*y*/,
                              int /*index*/, const QRect& /*rect*/, bool /*selected*/>;
using TSelectionChangeEvent = TEvent<TObject*, bool /*selected*/>;

class TEditor : public QAbstractScrollArea,
                public TComponent,
                public TScreenEditor,
                public TLinesEditor,
                public TKeyMessageTarget {
  Q_OBJECT

 public:
  KELU_CLASS_NAME(TEditor)

  // The text area is this many columns wide.
  static constexpr int kMaxCol = kMaxColumns;  // 1000

  explicit TEditor(QWidget* parent = nullptr);
  ~TEditor() override;
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  const TClassInfo* ClassInfo() const override;
  // After streaming: rewraps with word wrap on, re-parses, clears Modified.
  virtual void Loaded();

  // ------------------------------------------------ published properties
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  TEditorCaret& Caret() { return *caret_; }
  void SetCaret(const TEditorCaret& value) { caret_->Assign(value); }
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value) { font_.Assign(value); }
  // The attached fountain (nil: the view's own).
  TFountain* Fountain() const { return fountain_; }
  void SetFountain(TFountain* value);
  TEditorHitStyle HitStyle() const { return hitStyle_; }
  void SetHitStyle(TEditorHitStyle value);
  TEditorImagebar& Imagebar() { return *imagebar_; }
  void SetImagebar(const TEditorImagebar& value) { imagebar_->Assign(value); }
  TImageList* ImageDigits() const { return imageDigits_; }
  void SetImageDigits(TImageList* value);
  TImageList* ImageMarks() const { return imageMarks_; }
  void SetImageMarks(TImageList* value);
  TEditorLeftbar& Leftbar() { return *leftbar_; }
  void SetLeftbar(const TEditorLeftbar& value) { leftbar_->Assign(value); }
  TEditorStrings& Lines() { return *lines_; }
  void SetLines(const TStrings& value);
  TEditorMarks& Marks() { return *marks_; }
  void SetMarks(const TEditorMarks& value) { marks_->Assign(value); }
  TEditorMargin& Margin() { return *margin_; }
  void SetMargin(const TEditorMargin& value) { margin_->Assign(value); }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  // The reserved words of the view's own fountain.
  TStringList& ReserveWordList();
  void SetReserveWordList(const TStrings& value);
  TEditorRuler& Ruler() { return *ruler_; }
  void SetRuler(const TEditorRuler& value) { ruler_->Assign(value); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle value);
  TEditorSpeed& Speed() { return *speed_; }
  void SetSpeed(const TEditorSpeed& value) { speed_->Assign(value); }
  int UndoListMax() const;
  void SetUndoListMax(int value);
  TEditorViewInfo& View() { return *view_; }
  void SetView(const TEditorViewInfo& value);
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WordWrap() const { return rows_->WordWrap(); }
  void SetWordWrap(bool value) { rows_->SetWordWrap(value); }
  TEditorWrapOption& WrapOption() { return rows_->WrapOption(); }
  void SetWrapOption(const TEditorWrapOption& value) { rows_->WrapOption().Assign(value); }
  // The document's conversion between its text and Unicode (held by the row
  // list): drawing, the clipboard, the input method and drops go through
  // it; a loader sets the one its decoder made (DecodedDocument::codec).
  TTextCodec& Codec() const { return rows_->Codec(); }
  void SetCodec(const TTextCodec& codec);

  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  // --------------------------------------------------------------- events
  TNotifyEvent OnCaretMoved;
  TNotifyEvent OnChange;
  TDrawLineEvent OnDrawLine;
  TSelectionChangeEvent OnSelectionChange;
  TNotifyEvent OnSelectionModeChange;
  TNotifyEvent OnTopColChange;
  TNotifyEvent OnTopRowChange;

  // -------------------------------------------------------------- metrics
  int FontHeight() const { return fontHeight_; }
  int ColWidth() const { return colWidth_; }
  int RowHeight() const { return rowHeight_; }
  int TextLeft() const { return textLeft_; }
  int TextTop() const { return textTop_; }
  int VisibleRows() const { return visibleRows_; }
  int VisibleCols() const { return visibleCols_; }
  int MaxTopRow() const;
  int RowCount() const { return rows_->GetCount(); }
  int RulerHeight() const { return rulerHeight_; }
  int ImagebarWidth() const { return imagebarWidth_; }
  int LeftbarWidth() const { return leftbarWidth_; }
  // The number of digit places of the left bar.
  int LeftbarColumn() const { return leftbarColumn_; }
  // The font the screen uses for Font (a stand-in when its face is missing).
  const QFont& ScreenFont() const { return screenFont_; }

  // ------------------------------------------------------ caret and places
  int Row() const { return row_; }
  void SetRow(int value);
  int Col() const { return col_; }
  void SetCol(int value);
  void SetRowCol(int row, int col);
  // Puts the caret `offset` bytes after the start of row `refRow` (a line
  // break counts 2).
  void SetCaretOffset(int refRow, std::size_t offset);
  int TopRow() const override { return topRow_; }
  void SetTopRow(int value);
  int TopCol() const { return topCol_; }
  void SetTopCol(int value);

  // ----------------------------------------------------------- selection
  int SelStart() const;
  void SetSelStart(int value);
  int SelLength() const;
  void SetSelLength(int value);
  std::string SelText() const;
  bool Selected() const { return selectionState_ == stSelected; }
  TSelectionState SelectionState() const { return selectionState_; }
  TEditorSelectionMode SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(TEditorSelectionMode value);
  void SelectAll();
  void CleanSelection() override;
  void StartSelection();
  void UpdateSelection();
  bool IsInSelection(int row, int col) const;
  const TSelectionRange& Selection() const { return sel_; }
  int SelStrRow() const { return sel_.StrRow; }
  int SelEndRow() const { return sel_.EndRow; }
  int SelStrByte() const { return sel_.StrByte; }
  int SelEndByte() const { return sel_.EndByte; }
  int SelStrCol() const { return sel_.StrCol; }
  int SelEndCol() const { return sel_.EndCol; }
  // Shows a search hit of `length` bytes starting at the caret in the way
  // HitStyle prescribes: as a selection (hsSelect), drawn in the hit colours
  // (hsDraw) or as a caret as wide as the hit (hsCaret). The caret ends at
  // the hit's end, with hsCaret at its start.
  void ShowHit(int length);
  // The length of the hit last shown; 0 after the selection was cleared.
  int HitLength() const { return hitLength_; }

  // ----------------------------------------------------- text and columns
  // The display width of row `row` (0 outside the rows).
  int RowEndCol(int row) const;
  int TextWidth(std::string_view s) const;
  std::string ExpandTabs(std::string_view s) const;
  // The column map of a row text with this control's tab width, delimiters
  // and wrap width.
  std::string ColumnMap(std::string_view s) const;
  TColumnMapSettings MapSettings() const;
  // The offset just past the last byte (line breaks count 2).
  int TextLength() const;
  // The client pixel to a place (nearest: rounded to the nearest column
  // boundary).
  TRowCol PixelToRowCol(int x, int y, bool nearest) const;

  // -------------------------------------------------- edit-control queries
  // EM_GETSEL: start and end offset of the selection (or the caret).
  void GetSel(int& start, int& end) const;
  // EM_SETSEL: (0, -1) selects all, start -1 removes the selection.
  void SetSel(int start, int end);
  // EM_LINEFROMCHAR: the row holding an offset; -1: the selection's first
  // row, or the caret row.
  int LineFromChar(int offset) const;
  // EM_LINEINDEX: the offset of a row's first byte (-1: the caret row); -1
  // for a row at or after RowCount.
  int LineIndex(int row) const;
  // EM_LINELENGTH.
  int LineLength(int offset) const;
  // EM_GETLINE: copies at most `size` bytes of row `row`; returns the
  // number copied (0 outside the rows).
  int GetLine(int row, char* buffer, int size) const;
  // EM_POSFROMCHAR: the client position of the character at an offset.
  QPoint PosFromChar(int offset) const;
  // EM_CHARFROMPOS: false when the point is outside the client area.
  bool CharFromPos(QPoint point, int& offset, int& row) const;
  // EM_SCROLLCARET.
  void ScrollCaretIntoView();

  // ------------------------------------------------ undo, marks, sharing
  virtual bool CanUndo() const;
  virtual bool CanRedo() const;
  virtual void Undo();
  virtual void Redo();
  virtual void PutRowMark(int index, int mark);
  virtual void DeleteRowMark(int index, int mark);
  virtual void GotoRowMark(int mark);
  // Shows `source`'s row list (each control keeps its own caret, selection
  // and scroll position).
  virtual void ShareLines(TEditor* source);

  // Invalidates the rows from..to (full width, visible rows only) and
  // repaints them at once.
  void InvalidateRows(int from, int to);
  // Invalidates the whole client area.
  void Invalidate();

  // ------------------------------------------------------ TScreenEditor
  int TabSpaceCount() const override { return caret_->TabSpaceCount(); }
  const TDelimiters& Delimiters() const override;
  TFountain& ActiveFountain() override;
  bool InitBracketsFull() const override { return speed_->InitBracketsFull(); }
  int ScreenRows() const override;
  bool Focused() const override;
  bool Loading() const override { return TComponent::Loading(); }
  bool Destroying() const override { return TComponent::Destroying(); }
  int CaretRow() const override { return row_; }
  int CaretCol() const override { return col_; }
  void SetCaretRowCol(int row, int col) override { SetRowCol(row, col); }
  void CaretBeginUpdate() override;
  void CaretEndUpdate() override;
  void HideUnderline() override;
  void ShowUnderline() override;
  void UpdateCaret() override;
  void InvalidateRow(int row) override;
  void RepaintEditor() override;
  void RowsChanged() override;
  void LimitToRows() override;
  void SetLinesUpdating(bool updating) override { linesUpdating_ = updating; }
  void SetRedraw(bool on) override;

  // ------------------------------------------------------ TLinesEditor
  TEditorScreenStrings& ScreenStrings() override { return *rows_; }
  TScreenEditor& ScreenEditor() override { return *this; }

 protected:
  struct TDeferConstruction {};
  TEditor(QWidget* parent, TDeferConstruction);
  // Builds the sub-objects through the factories and the screen resources.
  void Construct();

  // ------------------------------------- virtual operations: drawing set-up
  virtual void UpdateImagebarWidth();
  virtual void CreateDrawBitmaps();
  virtual void FreeDrawBitmaps();
  // Returns whether the number of digit places changed.
  virtual bool UpdateLeftbarDigits();
  virtual void UpdateLeftbarWidth();
  virtual void UpdateRulerHeight();
  virtual void RenderRulerGauge();
  virtual void DrawRulerMark(int col);
  virtual void EraseRulerMark(int col);
  virtual void InitLeftbarEdge();
  virtual void InitBackground();
  virtual void SizeRulerBitmaps();
  virtual void InitRuler();
  virtual void InitRulerDigits();
  virtual void InitRulerDigitColors();
  virtual void InitRulerEdge();
  virtual void InitRulerGauge();
  virtual void InvalidateLeftbarRows(int fromRow, int toRow);
  virtual void DrawLeftbarRows(int fromRow, int toRow);
  virtual void PaintRuler();
  virtual int RulerBitmapWidth() const;
  virtual void LeftbarWidthChanged(int oldWidth, int newWidth);
  // Scrolls the pixels of scrollRect (within clipRect) by dx, dy; what is
  // uncovered is repainted.
  virtual void ScrollTextArea(int dx, int dy, const QRect& scrollRect, const QRect& clipRect);

  // ----------------------------------------------- virtual operations: marks
  virtual void DrawEofMark(int x, int y);
  virtual void DrawRetMark(int x, int y);
  virtual void DrawSelRetMark(int x, int y);
  virtual void DrawWrapMark(int x, int y);
  virtual void DrawSelWrapMark(int x, int y);
  virtual void DrawHideMark(int x, int y);
  virtual void DrawSelHideMark(int x, int y);
  virtual void DrawUnderline(int row);
  virtual void EraseUnderline(int row);
  // The y of row `row`'s underline, or -1.
  virtual int UnderlinePos(int row) const;

  // ------------------------------------------------ virtual operations: caret
  virtual void HideEditorCaret();
  virtual void ShowEditorCaret();
  virtual bool CaretOutOfView() const;
  virtual void SetCaretPosition();
  virtual void InitCaret();
  virtual void ScrollCaret();
  virtual void CaretPoint(int& x, int& y) const;
  virtual void InitDelimiters(TDelimiters& delimiters);

  // ---------------------------------------------------------- factories
  virtual std::unique_ptr<TEditorCaret> CreateEditorCaret();
  virtual std::unique_ptr<TEditorImagebar> CreateEditorImagebar();
  virtual std::unique_ptr<TEditorLeftbar> CreateEditorLeftbar();
  virtual std::unique_ptr<TEditorMarks> CreateEditorMarks();
  virtual std::unique_ptr<TEditorMargin> CreateEditorMargin();
  virtual std::unique_ptr<TEditorRuler> CreateEditorRuler();
  virtual std::unique_ptr<TEditorSpeed> CreateEditorSpeed();
  virtual std::unique_ptr<TEditorScreen> CreateEditorScreen();
  // A new row list with this control as its owner.
  virtual TEditorScreenStrings* CreateScreenStrings();
  virtual std::unique_ptr<TEditorStrings> CreateEditorStrings();
  virtual std::unique_ptr<TEditorViewInfo> CreateEditorViewInfo();

  // ------------------------------------------------------ event dispatch
  virtual void DoCaretMoved();
  // The change notification of the row list: repaints what changed, updates
  // the left bar and the scroll bars, sets Modified and fires OnChange.
  virtual void DoChange();
  virtual void DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                          bool selected);
  virtual void DoSelectionChange(bool selected);
  virtual void DoSelectionModeChange();
  virtual void DoTopColChange();
  virtual void DoTopRowChange();

  // The single reaction to a change of a settings object, the view's
  // fountain or the attached fountain.
  virtual void SettingsChanged(TObject* sender);

  // Paints the clip rectangle (client coordinates) on Canvas().
  virtual void Paint(const QRect& clip);

  // -------------------------------------------------- the platform layer
  // Every invalidation of the control goes through here (`now`: repaint at
  // once).
  virtual void InvalidateRect(const QRect& rect, bool now);
  // The painter while the control paints, else nullptr.
  QPainter* Canvas() const { return canvas_; }
  // Moves the input method's composition window to the caret (deferred
  // while a key auto-repeats).
  virtual void MoveCompositionWindow();
  // Draws Shift-JIS text without tabs cell by cell at (x, y) (row top):
  // `color` on `bkColor` (clNone: transparent), clipped to `clip`; an
  // underline or strike-out of `style` is drawn by hand.
  void DrawText(int x, int y, std::string_view text, TFontStyles style, TColor color,
                TColor bkColor, const QRect& clip);
  // A TColor with the clNone rule: the control's Color for a background,
  // Font.Color for a foreground.
  QColor BkColorOf(TColor color) const;
  QColor FgColorOf(TColor color) const;

  // ------------------------------------------------------- Qt events
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void changeEvent(QEvent* event) override;

  // --------------------------------------------------- TComponent
  void Notification(TComponent* component, TOperation operation) override;

  // ----------------------------------------------- positions (EditorCaret)
  // Keeps the caret on a valid column of its row.
  void AdjustCol(bool useGoal, int direction);
  // The caret's byte in its row: min(row length, Col minus the tab blanks
  // up to Col).
  int CaretByte() const;
  // The byte at column `col` of row `row` (as CaretByte for any place).
  int ByteOfCol(int row, int col) const;
  // The display column of byte `byte` of row `row`.
  int ColOfByte(int row, int byte) const;
  // Row `row`'s text (empty outside the rows).
  std::string_view RowText(int row) const;
  // Length of a row with its line end: +2 for raBreak, +1 for raEnd (when
  // walking offsets), +0 for raWrap.
  int RowLengthWithBreak(int row, bool endCounts) const;
  // The offset of a place's byte.
  int OffsetOf(int row, int byte) const;
  // The place at an offset, walking rows as SelStart does.
  TRowCol PlaceOfOffset(int offset) const;
  // The first and the past-the-last byte of the box on row `row`.
  void BoxBytes(int row, int& first, int& past) const;
  // The column range [first, past) the selection covers on row `row`;
  // false when none.
  bool SelectedColumns(const TSelectionRange& range, TSelectionState state,
                       TEditorSelectionMode mode, int row, int& first, int& past) const;
  // Recomputes the ranges from the anchor and the caret.
  void RecomputeSelection();
  // Repaints the visible rows whose selected part differs between prev_ and
  // sel_.
  void RepaintSelectionChange();
  // The last place of the text (after the last byte).
  TRowCol LastPlace() const;
  int LastCaretRow() const;

  // --------------------------------------------- scrolling (EditorScroll)
  void UpdateMetrics();
  void UpdateScrollBars();
  // The client area (the viewport) in its own coordinates.
  QRect ClientRect() const;
  void ApplyScrollBarPolicies();

  // ---------------------------------------------------- paint helpers
  void PaintTextRows(int firstRow, int lastRow, const QRect& clip);
  // Draws row `row` plain within `rect`.
  void DrawRowPlain(int row, const QRect& rect);
  // Draws row `row` with the selection or hit colours within `rect`.
  void DrawRowSelected(int row, const QRect& rect, bool hit);
  // Draws the tokens of `row` in the band `rect` (clip), with the colours of
  // the fountain (`selected`: the selection or hit colours).
  void DrawRowTokens(int row, const std::string& lineStr, int y, const QRect& rect, bool selected,
                     bool hit);
  void DrawRowEndMarks(int row, int width, bool cut, int y, const QRect& rect, bool selected);
  void DrawImagebarRows(int fromRow, int toRow);
  // Makes sure row `row` has its colouring state, without parsing rows far
  // above it when the fountain's colouring of a line does not depend on the
  // lines before it.
  void EnsureRowState(int row);
  QRect RowRect(int row) const;
  int RowTop(int row) const { return textTop_ + (row - topRow_) * rowHeight_; }
  int ColX(int col) const { return textLeft_ + (col - topCol_) * colWidth_; }
  // The band of a row: FontHeight high, plus the underline gap while a
  // selection or hit is shown.
  int BandHeight() const;
  bool Italic() const;
  // Draws a line from (x1, y1) to (x2, y2), both ends included.
  void Line(int x1, int y1, int x2, int y2, const QColor& color);

  // ===================================================================
  // Editing, clipboard, keyboard and input method (EditorEdit.cpp,
  // EditorKeys.cpp): typed text, replacing, deleting and moving the
  // selection, box paste, indent and unindent, the clipboard, the key and
  // character tables, the input method's composition and result, the
  // popup menu. Each change is one ReplaceRows, so one undo step.
  // ===================================================================
 public:
  using TComponent::FreeNotification;
  using TComponent::RemoveFreeNotification;
  using TKeyMessageTarget::FreeNotification;
  using TKeyMessageTarget::RemoveFreeNotification;

  // Typed text and input-method results: replaces the selection (in box
  // mode the box goes from every row and `s` lands in the first row at the
  // box's left edge) or is inserted at the caret (a free caret's row is
  // padded with blanks up to it); the caret ends after `s`. Nothing with
  // ReadOnly or an empty `s`.
  virtual void InsertChars(std::string_view s);
  // SelText written: as InsertChars; an empty `s` deletes the selection
  // (or clears a shown hit). Line breaks may be CR LF, CR or LF.
  void SetSelText(std::string_view s);
  // Deletes the selected text (box mode: the box columns of every row); the
  // caret goes to the selection's start.
  virtual void DeleteSelection();
  // Moves the selected text to (row, col) in one change: not with
  // ReadOnly, in box mode, without a selection or with Caret.SelMove off;
  // a place inside the selection only clears it. A drop column beyond its
  // row's end pads the row with blanks. The caret ends after the moved text.
  virtual void MoveSelectionTo(int row, int col);
  // The clipboard holds the text as Unicode (text/plain, LF line ends) and
  // the same text as the document's Shift-JIS bytes, under
  // BoxClipboardMimeType() for a box selection and kSjisTextMimeType for a
  // normal one, so that characters with two codes (NEC and IBM extensions)
  // paste back as they were. Without a selection the clipboard is left as
  // it is.
  virtual void CopyToClipboard();
  virtual void CutToClipboard();
  // Box text is pasted with BoxPaste, other text with SetSelText.
  virtual void PasteFromClipboard();
  // The clipboard's text as Shift-JIS of this document (see
  // TextOfMimeData), and whether it holds text at all.
  std::string ClipboardText() const;
  static bool ClipboardHasText();
  // Text offered as Unicode and, by this program, as Shift-JIS bytes under
  // `bytesFormat`: the bytes when they read as the same characters in this
  // document (another document's table may give their codes to other
  // characters), else the Unicode through this document's codec, with CR
  // LF line ends.
  std::string TextOfMimeData(const QMimeData& data, const QString& bytesFormat) const;
  // Inserts the lines of `s` as a column block at the selection's start
  // (the selection removed in the same change) or at the caret; rows that
  // are missing are added, indented by blanks.
  virtual void BoxPaste(std::string_view s);
  // Shift the selected lines (normal mode) or the blanks at the box's left
  // edge (box mode) by one column.
  virtual void IndentSelection();
  virtual void UnIndentSelection();

  // The edit-control messages that add something to the operations above.
  // EM_REPLACESEL.
  void ReplaceSel(std::string_view s);
  // EM_CANUNDO: not ReadOnly and CanUndo.
  bool CanUndoMessage() const;
  // EM_UNDO: Undo when CanUndoMessage; returns whether it did.
  bool UndoMessage();
  // EM_EMPTYUNDOBUFFER: unless ReadOnly.
  void EmptyUndoBuffer();
  // EM_GETMODIFY, EM_SETMODIFY (unless ReadOnly).
  bool GetModify() const { return modified_; }
  void SetModify(bool value);
  // WM_GETTEXTLENGTH, WM_GETTEXT (at most size - 1 bytes and a zero; the
  // number of bytes copied), WM_SETTEXT (unless ReadOnly).
  int GetTextLength() const { return TextLength(); }
  std::string GetText() const;
  int GetText(char* buffer, int size) const;
  void SetText(std::string_view text);

  // The indentation width of a row text: -1 for an empty text, else the
  // columns of its leading blanks (ASCII, full-width, tabs to their stop).
  int IndentWidth(std::string_view text) const;

  // A key or character message (TKeyMessageTarget): the hook first, then
  // the popup menu's shortcuts, the key table (CN_KEYDOWN, WM_KEYDOWN), the
  // character table (CN_CHAR, WM_CHAR; a lead byte waits for its trail
  // byte) or the input method's character (WM_IME_CHAR). Non-zero when the
  // control consumed the message.
  int SendKeyMessage(const TKeyMessage& message) override;
  // Scrolls by n rows (PageUp, PageDown); the caret keeps its place on the
  // screen.
  void ScrollRows(int n);
  // The next stop of word-wise movement from (row, col), by the tokens of
  // the active fountain; false when there is none.
  virtual bool NextTokenPos(int row, int col, bool forward, TRowCol& place);

  // The input method's composition shown at the caret (empty when none),
  // and the cursor within it (in characters of the string).
  const QString& PreeditString() const { return preedit_; }
  int PreeditCursor() const { return preeditCursor_; }
  // What the input method asks: the caret rectangle (where its candidate
  // window opens), the font, the caret row's text with the caret and anchor
  // in it, the selection, whether it is enabled (not ReadOnly), hints.
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  // The context menu (initially the one CreatePopupMenu made). Its items'
  // shortcuts work while the control has the focus.
  QMenu* PopupMenu() const;
  void SetPopupMenu(QMenu* menu);

 protected:
  // The control's own context menu, made at construction.
  virtual TEditorPopupMenu* CreatePopupMenu();
  // Called by Construct(): the popup menu and the input method.
  void InitEditing();

  // The key table and the character table; true when consumed.
  virtual bool KeyDown(const TKeyMessage& message);
  virtual bool KeyChar(const TKeyMessage& message);
  virtual void KeyUp(const TKeyMessage& message);
  void DeleteKey();
  void BackSpaceKey();
  void ReturnKey(bool shift);
  void TabKey();
  // Backspace at the end of a row's indentation: back to the indentation
  // of the row above that is indented less (`map`: the row's column map).
  void UnIndentBack(std::string_view text, const std::string& map);
  // True when `text` holds blanks only (ASCII, tabs, full-width).
  static bool BlankOnly(std::string_view text);

  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

  // Where an edit goes: the rows firstRow .. firstRow + rowCount - 1 are
  // replaced by `before` + the new text + `after`. `before` starts at the
  // first row's start; the caret row's rest ends rowRest bytes into `after`.
  struct TEditSplice {
    int firstRow = 0;
    int rowCount = 0;
    std::string before;
    std::string after;
    std::size_t rowRest = 0;
    int col = 0;  // the display column of the insertion point
  };
  // The splice of the selection, or of the caret when nothing is selected
  // (`pad`: a free caret beyond the row's end, or the box's left edge
  // beyond the first row's end, pads with blanks).
  TEditSplice EditSplice(bool pad) const;
  // The texts of rows first .. first + count - 1 with their line breaks.
  std::string RowsText(int first, int count) const;
  // The single change of an edit: the selection cleared, rows replaced,
  // the caret `caret` bytes into `text` (caret and underline hidden
  // meanwhile).
  void ReplaceAndPlace(int row, int count, std::string_view text, std::size_t caret);
  void ShiftSelection(bool indent);

  int pendingLead_ = -1;  // a lead byte waiting for its trail byte
  QPointer<QMenu> popupMenu_;
  QString preedit_;
  int preeditCursor_ = 0;
  bool preeditCursorVisible_ = true;
  QList<QInputMethodEvent::Attribute> preeditAttributes_;
  bool composing_ = false;  // the caret is hidden for a composition
  QWidget* preeditView_ = nullptr;

 private:
  void UpdatePreeditView();
  void PaintPreedit(QPainter& painter);

 protected:
  // ================ end of Editing, clipboard, keyboard and input method

  // -------------------------------------------------------------- state
  // Settings objects and text.
  std::unique_ptr<TEditorCaret> caret_;
  std::unique_ptr<TEditorMarks> marks_;
  std::unique_ptr<TEditorMargin> margin_;
  std::unique_ptr<TEditorImagebar> imagebar_;
  std::unique_ptr<TEditorLeftbar> leftbar_;
  std::unique_ptr<TEditorRuler> ruler_;
  std::unique_ptr<TEditorSpeed> speed_;
  std::unique_ptr<TEditorViewInfo> view_;
  std::unique_ptr<TEditorScreen> screen_;
  std::unique_ptr<TEditorStrings> lines_;
  TEditorScreenStrings* rows_ = nullptr;  // shared; freed by the last control
  TFont font_;
  TColor color_ = clWhite;
  TFountain* fountain_ = nullptr;
  QPointer<TImageList> imageDigits_;
  QPointer<TImageList> imageMarks_;
  TBorderStyle borderStyle_ = bsSingle;
  TEditorHitStyle hitStyle_ = hsSelect;
  TScrollStyle scrollBars_ = ssNone;
  bool readOnly_ = false;
  bool wantReturns_ = true;
  bool wantTabs_ = true;
  bool modified_ = false;
  mutable TDelimiters delimiters_{};
  mutable bool delimitersReady_ = false;
  bool handleCreated_ = false;  // the screen resources exist
  bool linesUpdating_ = false;

  // Metrics.
  QFont screenFont_;
  std::unique_ptr<TGlyphPainter> glyphs_;
  int fontHeight_ = 0;
  int fontAscent_ = 0;
  int charWidth_ = 0;  // the font's half-width advance
  int colWidth_ = 1;
  int rowHeight_ = 1;
  int textLeft_ = 0;
  int textTop_ = 0;
  int visibleRows_ = 1;
  int visibleCols_ = 0;
  int rulerHeight_ = 0;
  int imagebarWidth_ = 0;
  int leftbarWidth_ = 0;
  int leftbarColumn_ = 4;

  // Caret.
  int row_ = 0;
  int col_ = 0;
  int goalCol_ = 0;
  bool goalSet_ = false;
  bool placing_ = false;  // the caret is being placed by SetRowCol
  int caretUpdateCount_ = 0;
  int underlineHideCount_ = 0;
  bool caretShown_ = false;
  TScreenCaret screenCaret_;
  bool keyRepeating_ = false;  // a key auto-repeats (keyboard sets it)
  bool compositionMovePending_ = false;
  bool leftButtonDown_ = false;  // the left mouse button is held (mouse sets it)

  // Scrolling.
  int topRow_ = 0;
  int topCol_ = 0;
  bool settingScrollBars_ = false;
  QPoint wheelDelta_;  // wheel movement not yet scrolled

  // Selection.
  TSelectionState selectionState_ = stNone;
  TEditorSelectionMode selectionMode_ = smNormal;
  int anchorRow_ = 0;
  int anchorByte_ = 0;
  int anchorCol_ = 0;
  TSelectionRange sel_;
  TSelectionRange prevSel_;  // as last painted
  TSelectionState prevState_ = stNone;
  TEditorSelectionMode prevMode_ = smNormal;
  bool settingHit_ = false;  // UpdateSelection shows a search hit
  int hitLength_ = 0;
  TSelDragState selDragState_ = sdNone;

  // Drawing.
  QPainter* canvas_ = nullptr;
  std::unique_ptr<TFountainParser> paintParser_;
  bool italic_ = false;
  bool paintingHit_ = false;    // the selected part being drawn is a search hit
  QRect underlinePaintedRect_;  // where the underline was last painted
  int underlineDrawnRow_ = -1;  // the row whose underline is on screen
  QRect caretPaintedRect_;      // where the caret was last painted
  int rulerMarkCol_ = -1;       // the column marked in the ruler
  // Rows whose colouring changed during a change of the row list, repainted
  // when the change is reported.
  int pendingFrom_ = -1;
  int pendingTo_ = -1;
  QImage corner_;
  QImage leftbarEdge_;
  QImage rulerEdge_;
  QImage rulerDigits_[2];  // ruler colour on ruler background; background on mark colour
  QImage rulerGauge_;
  QImage rulerStrip_;
  QImage rulerMarkStrip_;
  int rulerStripCol_ = 0;  // the first column of the strips

  // ===================================================================
  // Mouse (EditorMouse.cpp): clicks, double click, row selection left of
  // the text, drag selection with auto-scroll, the control's own drag of
  // the selected text (move, copy with Ctrl), the mouse cursor by area.
  // ===================================================================
 public:
  // The mouse cursor shown (Caret.Cursors): over the text, left of it,
  // above it, over a selection that can be dragged, while the selection is
  // dragged to be moved or to be copied.
  enum TCursorKind : std::uint8_t {
    ckDefault,
    ckLeftMargin,
    ckTopMargin,
    ckInSelection,
    ckDragMove,
    ckDragCopy
  };

  // A double click of the left button. Unassigned, the control selects the
  // token under the pointer (SelectTokenFromPos(PressPoint(), false)).
  TNotifyEvent OnDblClick;

  // For a client point over existing text: true with the row and the byte
  // in that row of the character under the point (a trail column counts as
  // its lead byte, a tab's blank column as the tab). False without rows,
  // left of TextLeft, above TextTop, beyond the row's end or the last row.
  virtual bool PosToRowCol(QPoint pos, int& row, int& byte) const;
  // The token that covers `pos` in the logical line under it; empty when
  // none does (no text there, a blank). useFountain: cut by the active
  // fountain's parser started with the state stored for the line's first
  // row; else by a parser of the plain token kinds (no colours, no
  // multi-line brackets). `kind` receives the token's kind.
  virtual std::string TokenFromPos(QPoint pos, bool useFountain, int* kind = nullptr);
  // Selects that token: the caret to its start (SetCaretOffset), SelLength
  // its bytes; the caret ends after it. False when no token covers `pos`.
  virtual bool SelectTokenFromPos(QPoint pos, bool useFountain);
  // Whether the selection may be dragged: not ReadOnly, something selected,
  // normal selection mode, Caret.SelMove.
  virtual bool CanSelMove() const;
  // With CanSelMove: the selected text is taken, the selection cleared, the
  // caret put at (row, col) by SetRowCol and the text inserted there with
  // SetSelText (one undo step). A place inside the selection only clears
  // the selection.
  virtual void CopySelectionTo(int row, int col);
  // The client point of the latest left button press without Shift (of the
  // double click, within OnDblClick).
  QPoint PressPoint() const { return pressPoint_; }
  TSelDragState SelDragState() const { return selDragState_; }
  TCursorKind CursorKind() const { return cursorKind_; }

 protected:
  // The drag cursors are the screen's cursor (an application override
  // cursor) while a selection is dragged; put back when the drag ends or
  // the control goes away.
  class TDragCursor {
   public:
    TDragCursor() = default;
    TDragCursor(const TDragCursor&) = delete;
    TDragCursor& operator=(const TDragCursor&) = delete;
    ~TDragCursor();
    void Show(const QCursor& cursor);
    void Hide();
    bool Shown() const { return shown_; }

   private:
    bool shown_ = false;
  };

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Gives the control's key events to HandleDragKey before any other key
  // handling (the control watches its own events).
  bool eventFilter(QObject* watched, QEvent* event) override;

  // The double click: OnDblClick when assigned, else the token under
  // PressPoint() is selected with the plain token kinds.
  virtual void DblClick();
  // The keys while a selection drag is pending or running or the left
  // button is held: Ctrl pressed or released switches a running drag to
  // copy or move (the cursor), Escape cancels a pending or running drag,
  // and a key that types a character (Escape, Enter, Tab and Backspace
  // included) is discarded. True when the key was consumed: nothing else
  // may handle it. Other keys (arrows, Delete) are left to the key handling.
  bool HandleDragKey(const QKeyEvent& event);
  // Whether a press at `pos` hits a selection that can be dragged:
  // CanSelMove, right of TextLeft, and the place under `pos` (not rounded)
  // in the selection.
  bool IsPosInMovableSelection(QPoint pos) const;
  // Ends the control's own button-down state as a release would (a row or
  // drag selection stops extending; the selection stays): for a descendant
  // that takes over the press with the platform's drag and drop.
  void EndMouseSelection();
  // Cancels a pending or running selection drag: state none, default
  // cursor, selection cleared; the caret stays where it is.
  void CancelSelDrag();
  // Shows the cursor of `kind` (only with Caret.AutoCursor, only when the
  // kind differs from the current one).
  void SetCursorKind(TCursorKind kind);
  // The cursor kind for the pointer at `pos` with no button held.
  TCursorKind CursorKindAt(QPoint pos) const;
  // Row selection: whole rows from the start row to `row` (limited to the
  // last row; the end-of-file row ends at its last column).
  void StartRowSelection(int row);
  void ExtendRowSelection(int row);

  QPoint pressPoint_;
  QPoint mousePos_;  // the pointer while the button is held (auto-scroll)
  Qt::KeyboardModifiers mouseModifiers_;
  bool rowSelecting_ = false;
  int rowSelStart_ = 0;
  int rowSelLast_ = 0;
  bool rowSelStartIsEof_ = false;
  TCursorKind cursorKind_ = ckDefault;
  TDragCursor dragCursor_;
  QTimer autoScrollTimer_;

 private:
  struct TTokenAt {
    int firstRow = 0;  // the first row of the logical line
    int start = 0;     // byte offset in the line
    int length = 0;
    int kind = 0;
    std::string text;
  };
  // Mouse tracking on the viewport, the key filter: made with the control.
  bool InitMouse();
  bool TokenAt(QPoint pos, bool useFountain, TTokenAt& token);
  void LeftButtonDown(QPoint pos, Qt::KeyboardModifiers modifiers);
  void MouseMoveTo(QPoint pos, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
  // The place under `pos` while the button is held: above TextTop one row
  // less (not below 0).
  TRowCol HeldPlace(QPoint pos, bool nearest) const;
  bool BeyondDragThreshold(QPoint pos) const;
  void SetAnchor(int row, int col);
  bool IsEofRow(int row) const;
  // The auto-scroll timer runs while the held button's pointer stays where
  // the text would scroll.
  bool InScrollZone(QPoint pos) const;
  void UpdateAutoScroll(QPoint pos);
  void StopAutoScroll();
  void AutoScrollTick();

  [[maybe_unused]] bool mouseReady_ = InitMouse();

 protected:
  // ============================================ end of Mouse (EditorMouse.cpp)

  friend class TEditorScreen;

 private:
  void FontChanged(TObject* sender);
  void CreateHandle();
  void AttachRows(TEditorScreenStrings* rows);
  void DetachRows();
};

}  // namespace kelu
