// TEditor: the mouse. A left click places the caret and sets the anchor of
// a selection, Shift+click extends the selection, moving with the button
// held selects and scrolls when the pointer is outside the text area, a
// click left of the text selects whole rows, and a press inside a selection
// that may be moved starts the control's own drag of the selected text,
// which the release drops as a move (a copy with Ctrl). Also the double
// click, the token under a point, the keys during a drag and the mouse
// cursor by area.
//
// Scrolling while the button is held: every mouse move scrolls once when
// the pointer is outside the text area; besides, a timer repeats the last
// move while the pointer stays there without moving, so that holding the
// button below the text keeps scrolling.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <memory>

#include "editor/control/Editor.h"
#include "editor/control/EditorResources.h"
#include "editor/fountain/Fountain.h"

namespace kelu {

namespace {

// The interval of the auto-scroll timer, in milliseconds.
constexpr int kAutoScrollInterval = 50;

// A parser of the framework's plain token kinds: it assigns no colour, and
// it starts no multi-line bracket, since it is not given the state of the
// rows before.
class TTokenParser : public TFountainParser {
 public:
  using TFountainParser::TFountainParser;
  TFountainColor* TokenColor() override { return nullptr; }

 protected:
  bool IsBracketStart() override { return false; }
};

}  // namespace

// ------------------------------------------------------------ set-up

bool TEditor::InitMouse() {
  // Moves without a button choose the cursor.
  viewport()->setMouseTracking(true);
  installEventFilter(this);
  autoScrollTimer_.setInterval(kAutoScrollInterval);
  QObject::connect(&autoScrollTimer_, &QTimer::timeout, this, [this] { AutoScrollTick(); });
  return true;
}

// ------------------------------------------------------------ places

bool TEditor::PosToRowCol(QPoint pos, int& row, int& byte) const {
  if (RowCount() == 0 || pos.x() < textLeft_ || pos.y() < textTop_) return false;
  const TRowCol place = PixelToRowCol(pos.x(), pos.y(), false);
  if (place.Row >= RowCount()) return false;
  std::string_view text = RowText(place.Row);
  const std::string map = ColumnMap(text);
  int col = place.Col;
  if (col >= static_cast<int>(map.size())) return false;
  auto at = [&](int c) { return map[static_cast<std::size_t>(c)]; };
  if (at(col) == '5') --col;
  while (col > 0 && at(col) == '3') --col;
  row = place.Row;
  byte = ColumnToByte(map, col, static_cast<int>(text.size()));
  return true;
}

TRowCol TEditor::HeldPlace(QPoint pos, bool nearest) const {
  TRowCol place = PixelToRowCol(pos.x(), pos.y(), nearest);
  if (pos.y() < textTop_) place.Row = std::max(0, place.Row - 1);
  return place;
}

bool TEditor::BeyondDragThreshold(QPoint pos) const {
  const int threshold = colWidth_ / 2;
  return std::abs(pos.x() - pressPoint_.x()) > threshold ||
         std::abs(pos.y() - pressPoint_.y()) > threshold;
}

bool TEditor::CanSelMove() const {
  return !readOnly_ && Selected() && selectionMode_ == smNormal && caret_->SelMove();
}

bool TEditor::IsPosInMovableSelection(QPoint pos) const {
  if (!CanSelMove() || pos.x() < textLeft_) return false;
  const TRowCol place = PixelToRowCol(pos.x(), pos.y(), false);
  return IsInSelection(place.Row, place.Col);
}

// ------------------------------------------------------------ tokens

bool TEditor::TokenAt(QPoint pos, bool useFountain, TTokenAt& token) {
  int row, byte;
  if (!PosToRowCol(pos, row, byte)) return false;
  const int first = rows_->RowStart(row);
  const int last = rows_->RowEnd(row);
  std::string text;
  int offset = 0;
  for (int r = first; r <= last; ++r) {
    if (r == row) offset = static_cast<int>(text.size()) + byte;
    text += RowText(r);
  }
  const TRowAttribute lastAttribute = rows_->RowAttributes(last);
  std::unique_ptr<TFountainParser> parser;
  TRowAttributeData state;
  if (useFountain) {
    parser = ActiveFountain().CreateParser();
    EnsureRowState(first);
    state = rows_->RowState(first);
  } else {
    parser = std::make_unique<TTokenParser>(&ActiveFountain());
    parser->InitMethodTable();
    state = FirstRowState(lastAttribute);
  }
  // The whole logical line is one text: it ends as its last row does.
  state.RowAttribute = lastAttribute;
  parser->Start(text, state);
  // Every token but the last one ends the row's bytes, so the loop ends;
  // the bound only guards against a parser that stops advancing.
  for (std::size_t n = 0; n <= text.size() + 1; ++n) {
    const int kind = parser->NextToken();
    if (kind == ttEnd) break;
    const int start = parser->TokenStart();
    const int length = parser->TokenLength();
    if (start > offset) break;
    if (offset < start + length) {
      token = {first, start, length, kind, std::string(parser->TokenText())};
      return true;
    }
  }
  return false;
}

std::string TEditor::TokenFromPos(QPoint pos, bool useFountain, int* kind) {
  TTokenAt token;
  if (!TokenAt(pos, useFountain, token)) {
    if (kind) *kind = ttEnd;
    return {};
  }
  if (kind) *kind = token.kind;
  return token.text;
}

bool TEditor::SelectTokenFromPos(QPoint pos, bool useFountain) {
  TTokenAt token;
  if (!TokenAt(pos, useFountain, token)) return false;
  CaretBeginUpdate();
  CleanSelection();
  SetCaretOffset(token.firstRow, static_cast<std::size_t>(token.start));
  SetSelLength(token.length);
  CaretEndUpdate();
  return true;
}

// ------------------------------------------------------------ copy

void TEditor::CopySelectionTo(int row, int col) {
  if (!CanSelMove()) return;
  if (IsInSelection(row, col)) {
    CleanSelection();
    return;
  }
  const std::string text = SelText();
  CleanSelection();
  SetRowCol(row, col);
  SetSelText(text);
}

// ------------------------------------------------------------ row selection

bool TEditor::IsEofRow(int row) const {
  return row == RowCount() - 1 && row >= 0 && rows_->RowAttributes(row) == raEnd;
}

void TEditor::SetAnchor(int row, int col) {
  anchorRow_ = row;
  anchorByte_ = std::min(static_cast<int>(RowText(row).size()), ByteOfCol(row, col));
  anchorCol_ = selectionMode_ == smBox ? col : std::min(col, RowEndCol(row));
}

void TEditor::StartRowSelection(int row) {
  if (RowCount() == 0) {
    SetRowCol(0, 0);
    return;
  }
  row = std::clamp(row, 0, RowCount() - 1);
  rowSelecting_ = true;
  rowSelStart_ = row;
  rowSelLast_ = row;
  rowSelStartIsEof_ = IsEofRow(row);
  CaretBeginUpdate();
  SetRowCol(row, 0);
  StartSelection();
  // The anchor at the row's far end, the caret at its start.
  if (rowSelStartIsEof_) {
    SetAnchor(row, RowEndCol(row));
  } else {
    SetAnchor(row + 1, 0);
  }
  UpdateSelection();
  CaretEndUpdate();
}

void TEditor::ExtendRowSelection(int row) {
  row = std::clamp(row, 0, std::max(RowCount() - 1, 0));
  if (row == rowSelLast_) return;
  rowSelLast_ = row;
  const int start = rowSelStart_;
  TRowCol anchor, caret;
  if (row >= start) {
    if (rowSelStartIsEof_) {
      // Only the end-of-file row itself: as the selection started.
      anchor = {start, RowEndCol(start)};
      caret = {start, 0};
    } else {
      anchor = {start, 0};
      caret = IsEofRow(row) ? TRowCol{row, RowEndCol(row)} : TRowCol{row + 1, 0};
    }
  } else {
    anchor = rowSelStartIsEof_ ? TRowCol{start, RowEndCol(start)} : TRowCol{start + 1, 0};
    caret = {row, 0};
  }
  SetRowCol(caret.Row, caret.Col);
  SetAnchor(anchor.Row, anchor.Col);
  UpdateSelection();
}

// ------------------------------------------------------------ cursors

TEditor::TDragCursor::~TDragCursor() {
  Hide();
}

void TEditor::TDragCursor::Show(const QCursor& cursor) {
  if (shown_) {
    QApplication::changeOverrideCursor(cursor);
  } else {
    QApplication::setOverrideCursor(cursor);
    shown_ = true;
  }
}

void TEditor::TDragCursor::Hide() {
  if (!shown_) return;
  shown_ = false;
  QApplication::restoreOverrideCursor();
}

void TEditor::SetCursorKind(TCursorKind kind) {
  if (!caret_->AutoCursor() || kind == cursorKind_) return;
  cursorKind_ = kind;
  const TEditorCursors& cursors = caret_->Cursors();
  switch (kind) {
    case ckDragMove:
      dragCursor_.Show(ScreenCursor(cursors.DragSelCursor()));
      return;
    case ckDragCopy:
      dragCursor_.Show(ScreenCursor(cursors.DragSelCopyCursor()));
      return;
    case ckDefault:
      dragCursor_.Hide();
      viewport()->setCursor(ScreenCursor(cursors.DefaultCursor()));
      return;
    case ckLeftMargin:
      dragCursor_.Hide();
      viewport()->setCursor(ScreenCursor(cursors.LeftMarginCursor()));
      return;
    case ckTopMargin:
      dragCursor_.Hide();
      viewport()->setCursor(ScreenCursor(cursors.TopMarginCursor()));
      return;
    case ckInSelection:
      dragCursor_.Hide();
      viewport()->setCursor(ScreenCursor(cursors.InSelCursor()));
      return;
  }
}

TEditor::TCursorKind TEditor::CursorKindAt(QPoint pos) const {
  if (pos.x() < textLeft_) return ckLeftMargin;
  if (pos.y() < textTop_) return ckTopMargin;
  if (IsPosInMovableSelection(pos)) return ckInSelection;
  return ckDefault;
}

// ------------------------------------------------------------ drag states

void TEditor::EndMouseSelection() {
  leftButtonDown_ = false;
  rowSelecting_ = false;
  StopAutoScroll();
}

void TEditor::CancelSelDrag() {
  if (selDragState_ == sdNone) return;
  selDragState_ = sdNone;
  StopAutoScroll();
  dragCursor_.Hide();
  SetCursorKind(ckDefault);
  CleanSelection();
}

// ------------------------------------------------------------ auto-scroll

bool TEditor::InScrollZone(QPoint pos) const {
  if (pos.y() < textTop_ || pos.y() >= textTop_ + visibleRows_ * rowHeight_) return true;
  if (rowSelecting_) return false;
  return (pos.x() < textLeft_ && topCol_ > 0) || pos.x() >= textLeft_ + visibleCols_ * colWidth_;
}

void TEditor::UpdateAutoScroll(QPoint pos) {
  if (InScrollZone(pos)) {
    if (!autoScrollTimer_.isActive()) autoScrollTimer_.start();
  } else {
    StopAutoScroll();
  }
}

void TEditor::StopAutoScroll() {
  autoScrollTimer_.stop();
}

void TEditor::AutoScrollTick() {
  if (!leftButtonDown_ && selDragState_ != sdDragging) {
    StopAutoScroll();
    return;
  }
  MouseMoveTo(mousePos_, mouseModifiers_, Qt::LeftButton);
}

// ------------------------------------------------------------ Qt events

void TEditor::mousePressEvent(QMouseEvent* event) {
  event->accept();
  const Qt::MouseButton button = event->button();
  if ((button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton) &&
      !hasFocus()) {
    setFocus(Qt::MouseFocusReason);
  }
  if (button != Qt::LeftButton || selDragState_ != sdNone) return;
  LeftButtonDown(event->position().toPoint(), event->modifiers());
}

void TEditor::LeftButtonDown(QPoint pos, Qt::KeyboardModifiers modifiers) {
  leftButtonDown_ = true;
  mousePos_ = pos;
  mouseModifiers_ = modifiers;
  if (modifiers & Qt::ShiftModifier) {
    if (!Selected()) StartSelection();
    const TRowCol place = PixelToRowCol(pos.x(), pos.y(), true);
    SetRowCol(place.Row, place.Col);
    UpdateSelection();
    return;
  }
  pressPoint_ = pos;
  if (IsPosInMovableSelection(pos)) {
    const TRowCol place = PixelToRowCol(pos.x(), pos.y(), false);
    SetRowCol(place.Row, place.Col);
    if (caret_->SelDragMode() == dmAutomatic) {
      // The control's own press ends here; the drag decides on the moves.
      EndMouseSelection();
      selDragState_ = sdPending;
    }
    return;
  }
  const TRowCol place = PixelToRowCol(pos.x(), pos.y(), true);
  if (pos.x() < textLeft_ && caret_->RowSelect()) {
    StartRowSelection(place.Row);
    return;
  }
  CaretBeginUpdate();
  SetRowCol(place.Row, place.Col);
  StartSelection();
  CaretEndUpdate();
}

void TEditor::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  MouseMoveTo(event->position().toPoint(), event->modifiers(), event->buttons());
}

void TEditor::MouseMoveTo(QPoint pos, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  mousePos_ = pos;
  mouseModifiers_ = modifiers;
  const bool held = (buttons & Qt::LeftButton) != 0;
  if (leftButtonDown_) {
    if (!held) {  // the release went elsewhere
      EndMouseSelection();
      return;
    }
    const TRowCol place = HeldPlace(pos, true);
    if (rowSelecting_) {
      ExtendRowSelection(place.Row);
    } else {
      SetRowCol(place.Row, place.Col);
      if (Selected() || (selectionState_ == stStarted && BeyondDragThreshold(pos))) {
        UpdateSelection();
      }
    }
    UpdateAutoScroll(pos);
  } else if (selDragState_ == sdPending) {
    if (!held) {
      CancelSelDrag();
    } else if (BeyondDragThreshold(pos)) {
      selDragState_ = sdDragging;
      SetCursorKind(modifiers & Qt::ControlModifier ? ckDragCopy : ckDragMove);
    }
  } else if (selDragState_ == sdDragging) {
    if (!held) {
      CancelSelDrag();
      return;
    }
    // The caret marks the drop place.
    const TRowCol place = HeldPlace(pos, false);
    SetRowCol(place.Row, place.Col);
    UpdateAutoScroll(pos);
  } else if (buttons == Qt::NoButton) {
    SetCursorKind(CursorKindAt(pos));
  }
}

void TEditor::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  StopAutoScroll();
  if (selDragState_ == sdDragging) {
    selDragState_ = sdNone;
    dragCursor_.Hide();
    const bool inside = ClientRect().contains(pos);
    if (!inside || IsInSelection(row_, col_)) {
      CleanSelection();
    } else if (event->modifiers() & Qt::ControlModifier) {
      CopySelectionTo(row_, col_);
    } else {
      MoveSelectionTo(row_, col_);
    }
    SetCursorKind(inside ? CursorKindAt(pos) : ckDefault);
  } else if (selDragState_ == sdPending) {
    CancelSelDrag();
  }
  rowSelecting_ = false;
  leftButtonDown_ = false;
}

void TEditor::mouseDoubleClickEvent(QMouseEvent* event) {
  event->accept();
  // Discarded while the selection is dragged.
  if (selDragState_ != sdNone) return;
  if (event->button() != Qt::LeftButton) {
    mousePressEvent(event);
    return;
  }
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  pressPoint_ = event->position().toPoint();
  // The double click does not select by moving.
  EndMouseSelection();
  DblClick();
}

void TEditor::DblClick() {
  if (OnDblClick) {
    OnDblClick(this);
    return;
  }
  SelectTokenFromPos(pressPoint_, false);
}

// ------------------------------------------------------------ keys

bool TEditor::HandleDragKey(const QKeyEvent& event) {
  if (selDragState_ == sdNone && !leftButtonDown_) return false;
  const bool press = event.type() == QEvent::KeyPress;
  if (event.key() == Qt::Key_Control) {
    if (selDragState_ != sdDragging) return false;
    SetCursorKind(press ? ckDragCopy : ckDragMove);
    return true;
  }
  if (!press) return false;
  if (event.key() == Qt::Key_Escape && selDragState_ != sdNone) {
    CancelSelDrag();
    return true;
  }
  // The key's character is discarded (the key itself does nothing then).
  return !event.text().isEmpty();
}

bool TEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == this) {
    switch (event->type()) {
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        if (HandleDragKey(static_cast<const QKeyEvent&>(*event))) {
          event->accept();
          return true;
        }
        break;
      case QEvent::ShortcutOverride:
        // Escape belongs to the drag, not to a shortcut of the window.
        if (selDragState_ != sdNone && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
          event->accept();
          return true;
        }
        break;
      default:
        break;
    }
  }
  return QAbstractScrollArea::eventFilter(watched, event);
}

}  // namespace kelu
