// TEditor: construction and destruction, the settings objects and the
// routing of their changes, the published properties and events, the row
// list and sharing it, undo and row marks.
#include "editor/control/Editor.h"

#include <QFrame>
#include <QGuiApplication>
#include <QInputMethod>
#include <QScrollBar>
#include <algorithm>

#include "editor/control/EditorGlyphs.h"
#include "editor/control/EditorResources.h"
#include "editor/control/EditorScreen.h"
#include "editor/fountain/Fountain.h"
#include "editor/model/Undo.h"

namespace kelu {

const TTypeInfo& TypeBorderStyle() {
  static const TTypeInfo t{"TBorderStyle", TTypeKind::tkEnumeration, {"bsNone", "bsSingle"}};
  return t;
}

// ------------------------------------------------------------ construction

TEditor::TEditor(QWidget* parent) : TEditor(parent, TDeferConstruction{}) {
  Construct();
}

TEditor::TEditor(QWidget* parent, TDeferConstruction)
    : QAbstractScrollArea(parent),
      screenCaret_([this](const QRect& r) { InvalidateRect(r, false); }) {}

void TEditor::Construct() {
  InitEditorResources();
  resize(185, 89);
  SetBorderStyle(bsSingle);
  viewport()->setCursor(ScreenCursor(crIBeam));
  setFocusPolicy(Qt::StrongFocus);
  // The control paints every pixel of its client area itself.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  wantReturns_ = true;
  wantTabs_ = true;
  // The delimiter set is filled by InitDelimiters on first use, so that a
  // descendant's version runs.
  delimitersReady_ = false;
  AttachRows(CreateScreenStrings());
  lines_ = CreateEditorStrings();
  screen_ = CreateEditorScreen();
  view_ = CreateEditorViewInfo();
  color_ = clWhite;
  font_.SetColor(clBlack);
  font_.SetName("FixedSys");
  font_.OnChange = TNotifyEvent::Of<&TEditor::FontChanged>(this);
  caret_ = CreateEditorCaret();
  marks_ = CreateEditorMarks();
  margin_ = CreateEditorMargin();
  imagebar_ = CreateEditorImagebar();
  leftbar_ = CreateEditorLeftbar();
  ruler_ = CreateEditorRuler();
  glyphs_ = std::make_unique<TGlyphPainter>();
  CreateDrawBitmaps();
  speed_ = CreateEditorSpeed();
  ApplyScrollBarPolicies();
  CreateHandle();
  InitEditing();
}

// The window exists: metrics, bitmaps and scroll bars are built.
void TEditor::CreateHandle() {
  handleCreated_ = true;
  UpdateMetrics();
  UpdateScrollBars();
  InitRuler();
  InitLeftbarEdge();
  InitBackground();
}

TEditor::~TEditor() {
  MarkDestroying();
  handleCreated_ = false;
  screenCaret_.Destroy();
  SetFountain(nullptr);
  screen_.reset();
  view_.reset();
  DetachRows();
  lines_.reset();
  caret_.reset();
  marks_.reset();
  margin_.reset();
  imagebar_.reset();
  leftbar_.reset();
  ruler_.reset();
  FreeDrawBitmaps();
  speed_.reset();
}

void TEditor::AttachRows(TEditorScreenStrings* rows) {
  rows_ = rows;
  rows_->AddEditor(this);
}

void TEditor::DetachRows() {
  if (!rows_) return;
  if (rows_->RemoveEditor(this)) delete rows_;
  rows_ = nullptr;
}

void TEditor::Loaded() {
  if (rows_->WordWrap()) rows_->RewrapAll();
  rows_->ReparseAll();
  modified_ = false;
}

// --------------------------------------------------------------- factories

std::unique_ptr<TEditorCaret> TEditor::CreateEditorCaret() {
  auto caret = std::make_unique<TEditorCaret>();
  caret->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return caret;
}

std::unique_ptr<TEditorImagebar> TEditor::CreateEditorImagebar() {
  auto imagebar = std::make_unique<TEditorImagebar>();
  imagebar->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return imagebar;
}

std::unique_ptr<TEditorLeftbar> TEditor::CreateEditorLeftbar() {
  auto leftbar = std::make_unique<TEditorLeftbar>();
  leftbar->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return leftbar;
}

std::unique_ptr<TEditorMarks> TEditor::CreateEditorMarks() {
  auto marks = std::make_unique<TEditorMarks>();
  marks->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return marks;
}

std::unique_ptr<TEditorMargin> TEditor::CreateEditorMargin() {
  auto margin = std::make_unique<TEditorMargin>();
  margin->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return margin;
}

std::unique_ptr<TEditorRuler> TEditor::CreateEditorRuler() {
  auto ruler = std::make_unique<TEditorRuler>();
  ruler->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return ruler;
}

std::unique_ptr<TEditorSpeed> TEditor::CreateEditorSpeed() {
  return std::make_unique<TEditorSpeed>();
}

std::unique_ptr<TEditorScreen> TEditor::CreateEditorScreen() {
  return std::make_unique<TEditorScreen>(this);
}

TEditorScreenStrings* TEditor::CreateScreenStrings() {
  return new TEditorScreenStrings(this);
}

std::unique_ptr<TEditorStrings> TEditor::CreateEditorStrings() {
  return std::make_unique<TEditorStrings>(this);
}

std::unique_ptr<TEditorViewInfo> TEditor::CreateEditorViewInfo() {
  auto view = std::make_unique<TEditorViewInfo>(this);
  view->OnChange = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  return view;
}

// --------------------------------------------------------- settings changes

void TEditor::SettingsChanged(TObject* sender) {
  if (sender == marks_.get()) {
    margin_->SetUnderlineGap(marks_->Underline().Visible() ? 1 : 0);
  } else if (sender == caret_.get()) {
    rows_->TabWidthChanged();
  } else if (sender == view_.get() || dynamic_cast<TFountain*>(sender)) {
    rows_->ReparseAll();
  }
  if (!handleCreated_) return;
  UpdateMetrics();
  UpdateScrollBars();
  if (sender == leftbar_.get()) {
    InitLeftbarEdge();
    InitBackground();
  }
  if (sender == margin_.get() || sender == ruler_.get()) {
    InitRuler();
    InitBackground();
  }
  if (sender == imagebar_.get()) InitBackground();
  Invalidate();
  if (sender == caret_.get()) {
    // The undo history stays: a caret setting changes no row (a tab width
    // that folds the rows again has cleared it with the old rows).
    InitCaret();
    ScrollCaret();
    SetCaretPosition();
    ShowEditorCaret();
  } else {
    ScrollCaret();
    SetCaretPosition();
  }
}

void TEditor::FontChanged(TObject* /*sender*/) {
  if (!handleCreated_) return;
  UpdateMetrics();
  UpdateScrollBars();
  InitRuler();
  InitLeftbarEdge();
  InitBackground();
  Invalidate();
  UpdateCaret();
}

// ---------------------------------------------------------------- properties

void TEditor::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  setFrameStyle(value == bsSingle ? QFrame::StyledPanel | QFrame::Sunken : QFrame::NoFrame);
  if (!handleCreated_) return;
  UpdateMetrics();
  UpdateScrollBars();
  Invalidate();
}

void TEditor::SetColor(TColor value) {
  if (value == color_) return;
  color_ = value;
  if (!handleCreated_) return;
  InitLeftbarEdge();
  InitBackground();
  Invalidate();
}

void TEditor::SetFountain(TFountain* value) {
  if (value == fountain_) return;
  const TNotifyEvent handler = TNotifyEvent::Of<&TEditor::SettingsChanged>(this);
  if (fountain_) {
    fountain_->NotifyEventList().Remove(handler);
    RemoveFreeNotification(fountain_);
  }
  if (value) {
    value->NotifyEventList().Add(handler);
    FreeNotification(value);
  }
  fountain_ = value;
  if (Destroying()) return;
  rows_->ReparseAll();
  if (handleCreated_) UpdateMetrics();
  Invalidate();
}

void TEditor::Notification(TComponent* component, TOperation operation) {
  if (operation != opRemove || component != fountain_) return;
  // The fountain is being destroyed: its handler list is already gone.
  fountain_ = nullptr;
  if (Destroying()) return;
  rows_->ReparseAll();
  if (handleCreated_) UpdateMetrics();
  Invalidate();
}

void TEditor::SetHitStyle(TEditorHitStyle value) {
  if (value == hitStyle_) return;
  if (selectionState_ == stSelected || selectionState_ == stHit) CleanSelection();
  hitStyle_ = value;
}

void TEditor::SetImageDigits(TImageList* value) {
  if (value == imageDigits_) return;
  if (imageDigits_) imageDigits_->disconnect(this);
  imageDigits_ = value;
  if (value) {
    connect(value, &QObject::destroyed, this, [this] { Invalidate(); });
    connect(value, &TImageList::changed, this, [this] { Invalidate(); });
  }
  if (imagebar_->Visible()) Invalidate();
}

void TEditor::SetImageMarks(TImageList* value) {
  if (value == imageMarks_) return;
  if (imageMarks_) imageMarks_->disconnect(this);
  imageMarks_ = value;
  if (value) {
    connect(value, &QObject::destroyed, this, [this] { Invalidate(); });
    connect(value, &TImageList::changed, this, [this] { Invalidate(); });
  }
  if (imagebar_->Visible()) Invalidate();
}

void TEditor::SetLines(const TStrings& value) {
  lines_->Assign(value);
  rows_->RepaintEditors();
}

void TEditor::SetReadOnly(bool value) {
  if (selDragState_ != sdNone) return;
  readOnly_ = value;
  if (value && Selected()) viewport()->setCursor(ScreenCursor(caret_->Cursors().DefaultCursor()));
  // The input method asks whether the editor takes text.
  if (hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled);
}

TStringList& TEditor::ReserveWordList() {
  return view_->Fountain().ReserveWordList();
}

void TEditor::SetReserveWordList(const TStrings& value) {
  TStringList& list = ReserveWordList();
  if (list.Equals(value)) return;
  // The list reports to the view, which re-parses and repaints.
  list.Assign(value);
}

void TEditor::SetScrollBars(TScrollStyle value) {
  if (value == scrollBars_) return;
  scrollBars_ = value;
  if (!handleCreated_) return;
  ApplyScrollBarPolicies();
  UpdateMetrics();
  UpdateScrollBars();
}

int TEditor::UndoListMax() const {
  return rows_->UndoObj().UndoListMax();
}

void TEditor::SetUndoListMax(int value) {
  rows_->UndoObj().SetUndoListMax(value);
}

void TEditor::SetCodec(const TTextCodec& codec) {
  rows_->SetCodec(codec);
  // The same codes may now stand for other characters.
  rows_->RepaintEditors();
}

void TEditor::SetView(const TEditorViewInfo& value) {
  view_->Assign(value);
  ScrollCaret();
  SetCaretPosition();
}

TFountain& TEditor::ActiveFountain() {
  if (fountain_) return *fountain_;
  return view_->Fountain();
}

const TDelimiters& TEditor::Delimiters() const {
  if (!delimitersReady_) {
    delimitersReady_ = true;
    const_cast<TEditor*>(this)->InitDelimiters(delimiters_);
  }
  return delimiters_;
}

void TEditor::InitDelimiters(TDelimiters& delimiters) {
  delimiters = DefaultDelimiters();
}

// ------------------------------------------------------------------ events

void TEditor::DoCaretMoved() {
  if (OnCaretMoved) OnCaretMoved(this);
}

void TEditor::DoChange() {
  const TLastChange change = rows_->LastChange();
  if (handleCreated_) {
    screen_->Repaint(change);
    if (pendingFrom_ >= 0) {
      const int from = pendingFrom_, to = pendingTo_;
      pendingFrom_ = pendingTo_ = -1;
      for (int r = std::max(from, topRow_); r <= std::min(to, topRow_ + visibleRows_); ++r) {
        InvalidateRect(RowRect(r), false);
      }
    }
    if (UpdateLeftbarDigits()) {
      const int oldWidth = leftbarWidth_;
      UpdateLeftbarWidth();
      LeftbarWidthChanged(oldWidth, leftbarWidth_);
    }
    UpdateScrollBars();
  }
  if (change.changed) {
    modified_ = true;
    if (OnChange) OnChange(this);
  }
}

void TEditor::DoDrawLine(const std::string& lineStr, int x, int y, int index, const QRect& rect,
                         bool selected) {
  if (OnDrawLine) OnDrawLine(this, lineStr, x, y, index, rect, selected);
}

void TEditor::DoSelectionChange(bool selected) {
  if (OnSelectionChange) OnSelectionChange(this, selected);
}

void TEditor::DoSelectionModeChange() {
  if (OnSelectionModeChange) OnSelectionModeChange(this);
}

void TEditor::DoTopColChange() {
  if (OnTopColChange) OnTopColChange(this);
}

void TEditor::DoTopRowChange() {
  if (OnTopRowChange) OnTopRowChange(this);
}

// ------------------------------------------------- the row list's editors

void TEditor::RowsChanged() {
  DoChange();
}

void TEditor::InvalidateRow(int row) {
  if (rows_->OwnUpdateCount() > 0) {
    // Inside a change the rows below it may still move: repaint when the
    // change is reported.
    if (pendingFrom_ < 0) {
      pendingFrom_ = pendingTo_ = row;
    } else {
      pendingFrom_ = std::min(pendingFrom_, row);
      pendingTo_ = std::max(pendingTo_, row);
    }
    return;
  }
  if (handleCreated_ && row >= topRow_ && row <= topRow_ + visibleRows_) {
    InvalidateRect(RowRect(row), false);
  }
}

void TEditor::RepaintEditor() {
  if (!handleCreated_) return;
  UpdateMetrics();
  UpdateScrollBars();
  InitBackground();
  Invalidate();
}

void TEditor::LimitToRows() {
  const int last = LastCaretRow();
  if (row_ > last) SetRow(last);
  if (topRow_ > RowCount()) {
    topRow_ = RowCount();
    if (handleCreated_) {
      UpdateScrollBars();
      Invalidate();
    }
  }
}

void TEditor::SetRedraw(bool on) {
  if (!isVisible()) return;
  viewport()->setUpdatesEnabled(on);
}

void TEditor::ShareLines(TEditor* source) {
  if (!source || source == this || source->rows_ == rows_) return;
  CleanSelection();
  DetachRows();
  AttachRows(source->rows_);
  LimitToRows();
  if (!handleCreated_) return;
  UpdateMetrics();
  UpdateScrollBars();
  InitBackground();
  Invalidate();
}

// ----------------------------------------------------------- undo and marks

bool TEditor::CanUndo() const {
  return rows_->UndoObj().CanUndo();
}

bool TEditor::CanRedo() const {
  return rows_->UndoObj().CanRedo();
}

void TEditor::Undo() {
  CleanSelection();
  rows_->Undo();
}

void TEditor::Redo() {
  CleanSelection();
  rows_->Redo();
}

namespace {

// Stores a row's mark set, telling the row list which marks left and came.
void SetRowMarkSet(TEditorScreenStrings& rows, int row, std::uint16_t marks) {
  const std::uint16_t old = rows.RowMarks(row);
  if (old == marks) return;
  if (std::uint16_t removed = old & ~marks) rows.RemoveMarks(removed);
  if (std::uint16_t added = marks & ~old) rows.AddMarks(added);
  rows.SetRowMarks(row, marks);
}

}  // namespace

void TEditor::PutRowMark(int index, int mark) {
  if (mark < 0 || mark > 15) return;
  const auto bit = static_cast<std::uint16_t>(1u << mark);
  if (mark <= 9) {
    for (int r = 0; r < RowCount(); ++r) {
      if (rows_->RowMarks(r) & bit) {
        SetRowMarkSet(*rows_, r, rows_->RowMarks(r) & ~bit);
        if (imagebar_->Visible())
          InvalidateRect(QRect(0, RowTop(r), imagebarWidth_, rowHeight_), false);
        break;
      }
    }
  }
  if (index < 0 || index >= RowCount()) return;
  SetRowMarkSet(*rows_, index, rows_->RowMarks(index) | bit);
  if (imagebar_->Visible())
    InvalidateRect(QRect(0, RowTop(index), imagebarWidth_, rowHeight_), false);
}

void TEditor::DeleteRowMark(int index, int mark) {
  if (mark < 0 || mark > 15 || index < 0 || index >= RowCount()) return;
  SetRowMarkSet(*rows_, index, rows_->RowMarks(index) & ~(1u << mark));
  if (imagebar_->Visible())
    InvalidateRect(QRect(0, RowTop(index), imagebarWidth_, rowHeight_), false);
}

void TEditor::GotoRowMark(int mark) {
  if (mark < 0 || mark > 15) return;
  for (int r = 0; r < RowCount(); ++r) {
    if (rows_->RowMarks(r) & (1u << mark)) {
      if (r < topRow_ || r >= topRow_ + visibleRows_) SetTopRow(r - visibleRows_ / 2);
      SetRow(r);
      return;
    }
  }
}

// ---------------------------------------------------- published properties

const TClassInfo* TEditor::ClassInfo() const {
  using C = TEditor;
  auto boolProp = [](TPropsOf<C>& p, const char* name, bool def, bool (C::*get)() const,
                     void (C::*set)(bool)) {
    p.Ord(
        name, TypeBoolean(), def ? 1 : 0, [get](const C& o) { return (o.*get)(); },
        [set](C& o, std::int64_t v) { (o.*set)(v != 0); });
  };
  static const TClassInfo info = [&] {
    TPropsOf<C> p("TEditor", nullptr);
    p.Ord(
        "BorderStyle", TypeBorderStyle(), bsSingle, [](const C& o) { return o.BorderStyle(); },
        [](C& o, std::int64_t v) {
          if (v == bsNone || v == bsSingle) o.SetBorderStyle(static_cast<TBorderStyle>(v));
        });
    p.Obj("Caret", TypeClass("TEditorCaret"), [](C& o) { return &o.Caret(); });
    p.Ord(
        "Color", TypeColor(), clWhite, [](const C& o) { return o.Color(); },
        [](C& o, std::int64_t v) {
          o.SetColor(static_cast<TColor>(static_cast<std::uint32_t>(v)));
        });
    p.Obj("Font", TypeClass("TFont"), [](C& o) { return &o.Font(); });
    p.Ord(
        "HitStyle", TypeEditorHitStyle(), hsSelect, [](const C& o) { return o.HitStyle(); },
        [](C& o, std::int64_t v) {
          if (v >= hsSelect && v <= hsCaret) o.SetHitStyle(static_cast<TEditorHitStyle>(v));
        });
    p.Obj("Imagebar", TypeClass("TEditorImagebar"), [](C& o) { return &o.Imagebar(); });
    p.Obj("Leftbar", TypeClass("TEditorLeftbar"), [](C& o) { return &o.Leftbar(); });
    p.Obj("Margin", TypeClass("TEditorMargin"), [](C& o) { return &o.Margin(); });
    p.Obj("Marks", TypeClass("TEditorMarks"), [](C& o) { return &o.Marks(); });
    boolProp(p, "ReadOnly", false, &C::ReadOnly, &C::SetReadOnly);
    p.Obj("ReserveWordList", TypeClass("TStringList"), [](C& o) { return &o.ReserveWordList(); });
    p.Obj("Ruler", TypeClass("TEditorRuler"), [](C& o) { return &o.Ruler(); });
    p.Ord(
        "ScrollBars", TypeScrollStyle(), ssNone, [](const C& o) { return o.ScrollBars(); },
        [](C& o, std::int64_t v) {
          if (v >= ssNone && v <= ssBoth) o.SetScrollBars(static_cast<TScrollStyle>(v));
        });
    p.Obj("Speed", TypeClass("TEditorSpeed"), [](C& o) { return &o.Speed(); });
    p.Ord(
        "UndoListMax", TypeInteger(), TEditorUndoObj::kMinimumUndoListMax,
        [](const C& o) { return o.UndoListMax(); },
        [](C& o, std::int64_t v) {
          o.SetUndoListMax(static_cast<int>(std::clamp<std::int64_t>(v, 0, 1 << 30)));
        });
    p.Obj("View", TypeClass("TEditorViewInfo"), [](C& o) { return &o.View(); });
    boolProp(p, "WantReturns", true, &C::WantReturns, &C::SetWantReturns);
    boolProp(p, "WantTabs", true, &C::WantTabs, &C::SetWantTabs);
    boolProp(p, "WordWrap", false, &C::WordWrap, &C::SetWordWrap);
    p.Obj("WrapOption", TypeClass("TEditorWrapOption"), [](C& o) { return &o.WrapOption(); });
    return p.Build();
  }();
  return &info;
}

}  // namespace kelu
