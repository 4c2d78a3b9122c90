// TOleddEditor: the selection dragged out with QDrag, and the control as a
// drop target of text and files.
#include "editor/ex/OleddEditor.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <algorithm>

#include "editor/control/UnicodeText.h"

namespace kelu {

int KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  int state = 0;
  if (buttons & Qt::LeftButton) state |= MK_LBUTTON;
  if (buttons & Qt::RightButton) state |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) state |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) state |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) state |= MK_CONTROL;
  if (modifiers & Qt::AltModifier) state |= MK_ALT;
  return state;
}

// ------------------------------------------------------------ construction

TOleddEditor::TOleddEditor(QWidget* parent) : TOleddEditor(parent, TDeferConstruction{}) {
  Construct();
}

TOleddEditor::TOleddEditor(QWidget* parent, TDeferConstruction)
    : TEditor(parent, TDeferConstruction{}) {}

void TOleddEditor::Construct() {
  TEditor::Construct();
  RegisterDropTarget();
}

TOleddEditor::~TOleddEditor() {
  MarkDestroying();
  RevokeDropTarget();
}

const TClassInfo* TOleddEditor::ClassInfo() const {
  static const TClassInfo info = [this] {
    return TPropsOf<TOleddEditor>("TOleddEditor", TEditor::ClassInfo()).Build();
  }();
  return &info;
}

void TOleddEditor::RegisterDropTarget() {
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
}

void TOleddEditor::RevokeDropTarget() {
  setAcceptDrops(false);
  viewport()->setAcceptDrops(false);
}

// ------------------------------------------------------------------ formats

QMimeData* TOleddEditor::MakeTextData(const std::string& text) const {
  auto* data = new QMimeData;
  data->setData(kSjisTextMimeType, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  data->setText(ToQString(Codec(), text));
  return data;
}

std::vector<std::string> TOleddEditor::DroppedFileNames(const QMimeData& data) {
  std::vector<std::string> files;
  if (!data.hasUrls()) return files;
  for (const QUrl& url : data.urls()) {
    if (url.isLocalFile()) files.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return files;
}

bool TOleddEditor::DroppedText(const QMimeData& data, std::string& text) const {
  if (!data.hasFormat(kSjisTextMimeType) && !data.hasText()) return false;
  text = TextOfMimeData(data, QString::fromLatin1(kSjisTextMimeType));
  return true;
}

bool TOleddEditor::Accepts(const QMimeData& data) {
  return !DroppedFileNames(data).empty() || data.hasFormat(kSjisTextMimeType) || data.hasText();
}

// ------------------------------------------------------------ caret places

void TOleddEditor::SaveCaret() {
  savedRow_ = row_;
  savedCol_ = col_;
}

void TOleddEditor::RestoreCaret() {
  SetRowCol(savedRow_, savedCol_);
}

void TOleddEditor::MoveCaretToPoint(QPoint point) {
  TRowCol place = PixelToRowCol(point.x(), point.y(), true);
  place.Row = std::clamp(place.Row, 0, std::max(LastCaretRow(), 0));
  SetRowCol(place.Row, place.Col);
}

// --------------------------------------------------------- drop target events

void TOleddEditor::DragEnterEvent(const QMimeData& data, int keyState, QPoint point,
                                  TDropEffect& effect) {
  if (&data != ownDrag_) SaveCaret();
  DragOverEvent(data, keyState, point, effect);
}

void TOleddEditor::DragOverEvent(const QMimeData& data, int keyState, QPoint point,
                                 TDropEffect& effect) {
  setFocus();
  MoveCaretToPoint(point);
  effect = &data != ownDrag_ || (keyState & MK_CONTROL) ? deCopy : deMove;
}

void TOleddEditor::DragLeaveEvent() {
  RestoreCaret();
  // As if the focus went away: the caret is hidden until the focus returns.
  QFocusEvent focusOut(QEvent::FocusOut);
  focusOutEvent(&focusOut);
}

void TOleddEditor::DropEvent(const QMimeData& data, int keyState, QPoint point) {
  const std::vector<std::string> files = DroppedFileNames(data);
  if (!files.empty()) {
    DropFiles(files, keyState, point);
    return;
  }
  std::string text;
  if (DroppedText(data, text)) {
    DropText(text, &data == ownDrag_, point, (keyState & MK_CONTROL) != 0);
  }
}

void TOleddEditor::DropFiles(const std::vector<std::string>& files, int keyState, QPoint point) {
  if (OnDropFiles) OnDropFiles(this, files, keyState, point);
}

void TOleddEditor::DropText(const std::string& text, bool own, QPoint point, bool ctrl) {
  dragPending_ = false;
  TRowCol place = PixelToRowCol(point.x(), point.y(), true);
  place.Row = std::clamp(place.Row, 0, std::max(LastCaretRow(), 0));
  if (IsInSelection(place.Row, place.Col)) {
    // Onto the selection: from this editor nothing changes.
    CleanSelection();
    if (!own) SetSelText(text);
  } else if (!own || ctrl) {
    // A copy at the caret, which the drag placed at the drop point.
    CleanSelection();
    SetSelText(text);
  } else {
    SetRowCol(place.Row, place.Col);
    MoveSelectionTo(row_, col_);
  }
}

// ------------------------------------------------------------ Qt drop events

void TOleddEditor::ApplyEffect(QDropEvent* event, TDropEffect effect) {
  if (effect == deNone) {
    event->ignore();
    return;
  }
  event->setDropAction(effect == deMove ? Qt::MoveAction : Qt::CopyAction);
  event->accept();
}

void TOleddEditor::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (!data || !Accepts(*data)) {
    dropData_ = nullptr;
    event->ignore();
    return;
  }
  dropData_ = data;
  TDropEffect effect = deCopy;
  DragEnterEvent(*data, KeyStateOf(event->buttons(), event->modifiers()),
                 event->position().toPoint(), effect);
  ApplyEffect(event, effect);
}

void TOleddEditor::dragMoveEvent(QDragMoveEvent* event) {
  const QMimeData* data = event->mimeData();
  if (!dropData_ || !data) {
    event->ignore();
    return;
  }
  TDropEffect effect = deCopy;
  DragOverEvent(*data, KeyStateOf(event->buttons(), event->modifiers()),
                event->position().toPoint(), effect);
  ApplyEffect(event, effect);
}

void TOleddEditor::dragLeaveEvent(QDragLeaveEvent* event) {
  if (dropData_) {
    dropData_ = nullptr;
    DragLeaveEvent();
  }
  event->accept();
}

void TOleddEditor::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (!dropData_ || !data) {
    event->ignore();
    return;
  }
  dropData_ = nullptr;
  const int keyState = KeyStateOf(event->buttons(), event->modifiers());
  const bool own = data == ownDrag_;
  event->setDropAction(own && !(keyState & MK_CONTROL) ? Qt::MoveAction : Qt::CopyAction);
  event->accept();
  DropEvent(*data, keyState, event->position().toPoint());
}

// ---------------------------------------------------------------- the drag

bool TOleddEditor::CanDragOut(QPoint point) const {
  return caret_->SelDragMode() == dmManual && CanSelMove() && point.x() >= textLeft_ &&
         IsInSelection(row_, col_);
}

TDropEffect TOleddEditor::RunDragLoop(QMimeData* data) {
  auto* drag = new QDrag(this);
  drag->setMimeData(data);
  const Qt::DropAction action = drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
  return action == Qt::MoveAction ? deMove : action == Qt::CopyAction ? deCopy : deNone;
}

void TOleddEditor::StartSelectionDrag() {
  // The control's own mouse selection ends here.
  EndMouseSelection();
  QMimeData* data = MakeTextData(SelText());
  ownDrag_ = data;
  dragPending_ = true;
  // The effect is not used: a move into another editor or program leaves
  // the text here.
  RunDragLoop(data);
  ownDrag_ = nullptr;
  if (dragPending_) {
    dragPending_ = false;
    RestoreCaret();
  }
}

void TOleddEditor::mousePressEvent(QMouseEvent* event) {
  SaveCaret();
  TEditor::mousePressEvent(event);
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton && CanDragOut(point)) StartSelectionDrag();
}

}  // namespace kelu
