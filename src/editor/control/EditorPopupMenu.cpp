#include "editor/control/EditorPopupMenu.h"

#include <QKeyEvent>

#include "editor/control/Editor.h"
#include "editor/control/KeyLayer.h"

namespace kelu {

TEditorPopupMenu::TEditorPopupMenu(TEditor* editor, QWidget* parent)
    : QMenu(parent), editor_(editor) {
  markSet_ = addMenu(QStringLiteral("マーク設定"));
  markJump_ = addMenu(QStringLiteral("マークジャンプ"));
  for (int n = 0; n < kMarkCount; ++n) {
    const QString digit = QString::number(n);
    QAction* set = markSet_->addAction(digit);
    const auto key = static_cast<Qt::Key>(Qt::Key_0 + n);
    set->setShortcut(QKeyCombination(Qt::ShiftModifier | Qt::ControlModifier, key));
    set->setData(n);
    set->setCheckable(true);
    markSetItems_[static_cast<std::size_t>(n)] = set;
    QAction* jump = markJump_->addAction(digit);
    jump->setShortcut(QKeyCombination(Qt::ControlModifier, key));
    jump->setData(n);
    jump->setCheckable(true);
    markJumpItems_[static_cast<std::size_t>(n)] = jump;
    // One handler per submenu; the item's number is its data.
    connect(set, &QAction::triggered, this, [this, set] { MarkSetClick(set->data().toInt()); });
    connect(jump, &QAction::triggered, this, [this, jump] { MarkJumpClick(jump->data().toInt()); });
  }
  addSeparator();
  undo_ =
      AddItem(this, QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z), nullptr);
  connect(undo_, &QAction::triggered, this, [this] {
    if (editor_) editor_->Undo();
  });
  redo_ =
      AddItem(this, QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::Key_A), nullptr);
  connect(redo_, &QAction::triggered, this, [this] {
    if (editor_) editor_->Redo();
  });
  addSeparator();
  cut_ = AddItem(this, QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X), nullptr);
  connect(cut_, &QAction::triggered, this, [this] {
    if (editor_) editor_->CutToClipboard();
  });
  copy_ = AddItem(this, QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C), nullptr);
  connect(copy_, &QAction::triggered, this, [this] {
    if (editor_) editor_->CopyToClipboard();
  });
  paste_ =
      AddItem(this, QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V), nullptr);
  connect(paste_, &QAction::triggered, this, [this] {
    if (editor_) editor_->PasteFromClipboard();
  });
  boxPaste_ =
      AddItem(this, QStringLiteral("Box貼り付け(&B)"), QKeySequence(Qt::CTRL | Qt::Key_B), nullptr);
  connect(boxPaste_, &QAction::triggered, this, [this] {
    if (editor_) editor_->BoxPaste(editor_->ClipboardText());
  });
  delete_ = AddItem(this, QStringLiteral("削除(&D)"), QKeySequence(), nullptr);
  connect(delete_, &QAction::triggered, this, [this] {
    if (editor_) editor_->DeleteSelection();
  });
  addSeparator();
  selectAll_ = AddItem(this, QStringLiteral("すべて選択(&A)"), QKeySequence(), nullptr);
  connect(selectAll_, &QAction::triggered, this, [this] {
    if (editor_) editor_->SelectAll();
  });
  addSeparator();
  boxSelectionMode_ =
      AddItem(this, QStringLiteral("Box選択モード(&K)"), QKeySequence(Qt::CTRL | Qt::Key_K),
              &TEditorPopupMenu::BoxSelectionModeClick);
  boxSelectionMode_->setCheckable(true);
  for (QAction* item : {undo_, redo_, cut_, copy_, paste_, boxPaste_, delete_, selectAll_}) {
    item->setEnabled(false);
  }
  // The editor triggers the items for their keys; the window's shortcut
  // handling must not see them.
  for (QMenu* menu : {static_cast<QMenu*>(this), markSet_, markJump_}) {
    for (QAction* item : menu->actions()) item->setShortcutContext(Qt::WidgetShortcut);
  }
  connect(this, &QMenu::aboutToShow, this, [this] { PopupUpdate(); });
}

QAction* TEditorPopupMenu::AddItem(QMenu* menu, const QString& caption,
                                   const QKeySequence& shortcut,
                                   void (TEditorPopupMenu::*click)()) {
  QAction* item = menu->addAction(caption);
  if (!shortcut.isEmpty()) item->setShortcut(shortcut);
  if (click) connect(item, &QAction::triggered, this, [this, click] { (this->*click)(); });
  return item;
}

void TEditorPopupMenu::PopupUpdate() {
  if (!editor_) return;
  TEditor& e = *editor_;
  const bool selected = e.SelLength() > 0;
  const bool readOnly = e.ReadOnly();
  const bool text = TEditor::ClipboardHasText();
  TEditorScreenStrings& rows = e.ScreenStrings();
  const int count = rows.GetCount();
  const bool empty =
      count == 0 || (count == 1 && rows.View(0).empty() && rows.RowAttributes(0) != raBreak);
  undo_->setEnabled(e.CanUndo() && !readOnly);
  redo_->setEnabled(e.CanRedo() && !readOnly);
  cut_->setEnabled(selected && !readOnly);
  copy_->setEnabled(selected);
  paste_->setEnabled(text && !readOnly);
  boxPaste_->setEnabled(text && !readOnly);
  delete_->setEnabled(selected && !readOnly);
  selectAll_->setEnabled(!empty);
  boxSelectionMode_->setChecked(e.SelectionMode() == smBox);
  const std::uint16_t marks = rows.MarksInUse();
  for (int n = 0; n < kMarkCount; ++n) {
    const bool inUse = (marks & (1u << n)) != 0;
    markSetItems_[static_cast<std::size_t>(n)]->setChecked(inUse);
    markJumpItems_[static_cast<std::size_t>(n)]->setChecked(inUse);
  }
}

void TEditorPopupMenu::MarkSetClick(int n) {
  if (!editor_) return;
  TEditor& e = *editor_;
  const int row = e.Row();
  const bool on = row < e.RowCount() && (e.ScreenStrings().RowMarks(row) & (1u << n)) != 0;
  if (on) {
    e.DeleteRowMark(row, n);
  } else {
    e.PutRowMark(row, n);
  }
}

void TEditorPopupMenu::MarkJumpClick(int n) {
  if (editor_) editor_->GotoRowMark(n);
}

void TEditorPopupMenu::BoxSelectionModeClick() {
  // The item has inverted its check mark already.
  if (editor_) editor_->SetSelectionMode(boxSelectionMode_->isChecked() ? smBox : smNormal);
}

// -------------------------------------------------------------- shortcuts

namespace {

QAction* FindShortcut(const QMenu& menu, std::uint16_t vk, bool shift, bool ctrl, bool alt) {
  for (QAction* item : menu.actions()) {
    if (const QMenu* sub = item->menu()) {
      if (QAction* found = FindShortcut(*sub, vk, shift, ctrl, alt)) return found;
      continue;
    }
    const QKeySequence shortcut = item->shortcut();
    if (shortcut.isEmpty()) continue;
    const QKeyCombination c = shortcut[0];
    const Qt::KeyboardModifiers mods = c.keyboardModifiers();
    if (VirtualKeyOf(c.key(), mods) == vk && mods.testFlag(Qt::ShiftModifier) == shift &&
        mods.testFlag(Qt::ControlModifier) == ctrl && mods.testFlag(Qt::AltModifier) == alt) {
      return item;
    }
  }
  return nullptr;
}

}  // namespace

QAction* FindMenuShortcut(const QMenu& menu, const TKeyMessage& message) {
  if (message.Msg != CN_KEYDOWN && message.Msg != WM_KEYDOWN && message.Msg != CN_SYSKEYDOWN &&
      message.Msg != WM_SYSKEYDOWN) {
    return nullptr;
  }
  return FindShortcut(menu, message.CharCode, message.ShiftDown(), message.CtrlDown(),
                      message.AltDown());
}

QAction* FindMenuShortcut(const QMenu& menu, const QKeyEvent& event) {
  const Qt::KeyboardModifiers mods = event.modifiers();
  const std::uint16_t vk = VirtualKeyOf(event.key(), mods);
  if (vk == 0) return nullptr;
  return FindShortcut(menu, vk, mods.testFlag(Qt::ShiftModifier),
                      mods.testFlag(Qt::ControlModifier), mods.testFlag(Qt::AltModifier));
}

}  // namespace kelu
