// TEditorPopupMenu: the context menu every editor control makes for itself
// (TEditor::CreatePopupMenu): the digit row marks, undo and redo, the
// clipboard commands, select all and the box selection mode. Its enabled
// states and check marks are set from the editor each time it pops up, and
// again just before one of its shortcuts acts.
//
// The shortcuts act while the editor has the focus: the editor takes the
// keys of its menu's shortcuts as key messages (so a key macro records
// them) and triggers the item (FindMenuShortcut).
#pragma once

#include <QMenu>
#include <QPointer>
#include <array>

#include "editor/control/KeyMessage.h"

class QKeyEvent;

namespace kelu {

class TEditor;

class TEditorPopupMenu : public QMenu {
  Q_OBJECT

 public:
  // The number of the digit marks, 0 to 9.
  static constexpr int kMarkCount = 10;

  explicit TEditorPopupMenu(TEditor* editor, QWidget* parent = nullptr);

  // The editor the items act on (not owned); without one the menu does
  // nothing on popup.
  TEditor* Editor() const { return editor_; }
  void SetEditor(TEditor* editor) { editor_ = editor; }

  // The popup update: the enabled states and the check marks from the
  // editor.
  virtual void PopupUpdate();

  QMenu* MarkSetMenu() const { return markSet_; }
  QAction* MarkSetItem(int n) const { return markSetItems_.at(static_cast<std::size_t>(n)); }
  QMenu* MarkJumpMenu() const { return markJump_; }
  QAction* MarkJumpItem(int n) const { return markJumpItems_.at(static_cast<std::size_t>(n)); }
  QAction* UndoItem() const { return undo_; }
  QAction* RedoItem() const { return redo_; }
  QAction* CutItem() const { return cut_; }
  QAction* CopyItem() const { return copy_; }
  QAction* PasteItem() const { return paste_; }
  QAction* BoxPasteItem() const { return boxPaste_; }
  QAction* DeleteItem() const { return delete_; }
  QAction* SelectAllItem() const { return selectAll_; }
  QAction* BoxSelectionModeItem() const { return boxSelectionMode_; }

 protected:
  // Mark n on the caret row: off when it is there, else on.
  virtual void MarkSetClick(int n);
  virtual void MarkJumpClick(int n);
  virtual void BoxSelectionModeClick();

 private:
  QAction* AddItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut,
                   void (TEditorPopupMenu::*click)());

  QPointer<TEditor> editor_;
  QMenu* markSet_ = nullptr;
  QMenu* markJump_ = nullptr;
  std::array<QAction*, kMarkCount> markSetItems_{};
  std::array<QAction*, kMarkCount> markJumpItems_{};
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QAction* cut_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  QAction* boxPaste_ = nullptr;
  QAction* delete_ = nullptr;
  QAction* selectAll_ = nullptr;
  QAction* boxSelectionMode_ = nullptr;
};

// The item of `menu` or of its submenus whose shortcut is the key of a
// key-down message (compared by virtual-key code and the Shift, Ctrl and
// Alt states); nullptr when none.
QAction* FindMenuShortcut(const QMenu& menu, const TKeyMessage& message);
// The same for a key event.
QAction* FindMenuShortcut(const QMenu& menu, const QKeyEvent& event);

}  // namespace kelu
