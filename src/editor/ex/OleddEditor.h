// TOleddEditor: the editor control taking part in the desktop's drag and
// drop. The selected text can be dragged out (to another place of the same
// editor, to another editor or to another program); text can be dropped in
// from anywhere; files dropped on the editor are announced by OnDropFiles.
//
// The drag-and-drop service is Qt's: a drag is a QDrag over a QMimeData, the
// drop target is the control's drag and drop events. The formats:
//   offered when dragging  text/plain (Unicode, for other programs) and
//                          kSjisTextMimeType (the Shift-JIS bytes as held)
//   accepted when dropping files first (a URL list holding local files),
//                          then text (kSjisTextMimeType, else text/plain)
// A drop offering both files and text is taken as files. The editor knows
// its own drag by its data object: dropping onto itself moves the selected
// text, or copies it with Ctrl held.
#pragma once

#include <QPoint>
#include <cstdint>
#include <string>
#include <vector>

#include "editor/control/Editor.h"
#include "editor/control/EditorResources.h"

class QDragEnterEvent;
class QDragLeaveEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;

namespace kelu {

// The key and mouse-button state of a drop, as bits.
inline constexpr int MK_LBUTTON = 0x0001;
inline constexpr int MK_RBUTTON = 0x0002;
inline constexpr int MK_SHIFT = 0x0004;
inline constexpr int MK_CONTROL = 0x0008;
inline constexpr int MK_MBUTTON = 0x0010;
inline constexpr int MK_ALT = 0x0020;
int KeyStateOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// The drop effects.
enum TDropEffect : std::uint8_t { deNone, deCopy, deMove };

// OnDropFiles: the dropped files (local paths, in the order the drop lists
// them), the key state of the drop and its point in client coordinates.
using TDropFilesEvent =
    TEvent<TObject*, const std::vector<std::string>& /*files*/, int /*keyState*/, QPoint>;

class TOleddEditor : public TEditor {
  Q_OBJECT

 public:
  KELU_CLASS_NAME(TOleddEditor)

  explicit TOleddEditor(QWidget* parent = nullptr);
  ~TOleddEditor() override;

  const TClassInfo* ClassInfo() const override;

  TDropFilesEvent OnDropFiles;

  // Set when this editor starts a drag, cleared when a text drop is handled
  // by it.
  bool DragPending() const { return dragPending_; }
  // The data of the drag this editor is running, if any.
  const QMimeData* OwnDrag() const { return ownDrag_; }

  // The data a drag of `text` (Shift-JIS) offers.
  QMimeData* MakeTextData(const std::string& text) const;
  // The files of a drop (local paths), empty when it offers none.
  static std::vector<std::string> DroppedFileNames(const QMimeData& data);
  // The Shift-JIS text of a drop; false when it offers none.
  bool DroppedText(const QMimeData& data, std::string& text) const;

 protected:
  TOleddEditor(QWidget* parent, TDeferConstruction);
  // TEditor's construction, then the drop target.
  void Construct();

  // ----------------------------------------------------- drop target set-up
  virtual void RevokeDropTarget();
  // A drop of files: calls OnDropFiles with the point in client coordinates.
  virtual void DropFiles(const std::vector<std::string>& files, int keyState, QPoint point);
  // A drop of text (Shift-JIS) at `point` (client coordinates); `own`: it is
  // this editor's own drag.
  virtual void DropText(const std::string& text, bool own, QPoint point, bool ctrl);
  virtual void RegisterDropTarget();
  // Moves the caret to the place under `point`, the column rounded to the
  // nearest character boundary: the drop indicator.
  virtual void MoveCaretToPoint(QPoint point);
  virtual void RestoreCaret();
  virtual void SaveCaret();
  // The drop target's events; the effect of the enter and over events is
  // proposed as deCopy and may be changed.
  virtual void DropEvent(const QMimeData& data, int keyState, QPoint point);
  virtual void DragEnterEvent(const QMimeData& data, int keyState, QPoint point,
                              TDropEffect& effect);
  virtual void DragLeaveEvent();
  virtual void DragOverEvent(const QMimeData& data, int keyState, QPoint point,
                             TDropEffect& effect);

  // ------------------------------------------------------------- the drag
  // Whether a press at `point` (client coordinates) may start dragging the
  // selection out.
  virtual bool CanDragOut(QPoint point) const;
  // Runs the platform's modal drag loop over `data` (ownership passes) with
  // copy and move allowed.
  virtual TDropEffect RunDragLoop(QMimeData* data);
  // Drags the selected text out of the editor (after a press that put the
  // caret into the selection).
  void StartSelectionDrag();

  // ------------------------------------------------------------ Qt events
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Whether the drop target takes data of this kind (files or text).
  static bool Accepts(const QMimeData& data);
  void ApplyEffect(QDropEvent* event, TDropEffect effect);

  const QMimeData* ownDrag_ = nullptr;
  const QMimeData* dropData_ = nullptr;  // the data the drop target holds
  bool dragPending_ = false;
  int savedRow_ = 0;
  int savedCol_ = 0;
};

}  // namespace kelu
