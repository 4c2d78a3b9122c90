// kelu-view: a plain window that shows files in the editor control, one tab
// per file, for trying the control out: typing (the input method included),
// the clipboard, undo, the mouse, key macros and the settings dialog. Every
// page takes the settings of the settings file.
//
//   kelu-view [--ini PATH] [FILE...]
//
// Menus: 編集 (the editor's own commands), マクロ (recording the keys of
// the current page and playing them back, saving and loading a recording)
// and ツール (the settings dialog; OK gives its settings to every page).
// The editor's popup menu is on the right mouse button.
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <cstdio>
#include <string>

#include "app/config/KeluConfig.h"
#include "app/encoding/Encodings.h"
#include "base/Exceptions.h"
#include "editor/control/Editor.h"
#include "editor/control/KeyLayer.h"
#include "editor/ex/EditorEx.h"
#include "macro/KeyMacro.h"
#include "macro/KeyMacroDialog.h"
#include "settings/SettingsPaths.h"

namespace {

constexpr const char* kCaption = "KeluエディタVetra - ";

class TViewWindow : public QMainWindow {
 public:
  TViewWindow() {
    tabs_ = new QTabWidget(this);
    tabs_->setDocumentMode(true);
    setCentralWidget(tabs_);
    position_ = new QLabel(this);
    statusBar()->addPermanentWidget(position_);
    macroState_ = new QLabel(this);
    statusBar()->addPermanentWidget(macroState_);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
    CreateEditMenu();
    CreateMacroMenu();
    CreateToolMenu();
    resize(1000, 720);
  }

  // Reads the settings that every page takes.
  void LoadSettings(const std::string& iniFileName) { config_->LoadSettings(iniFileName); }

  // Opens a file in a new tab; false (with a message) when it cannot be
  // shown.
  bool Open(const QString& path) {
    kelu::DecodedDocument doc;
    try {
      doc = kelu::DecodeDocument(kelu::ReadFileBytes(path.toLocal8Bit().toStdString()));
    } catch (const kelu::Exception& e) {
      QMessageBox::warning(
          this, QStringLiteral("開けません"),
          QStringLiteral("「%1」を開けません。\n%2").arg(path, QString::fromUtf8(e.what())));
      return false;
    }
    if (doc.mojiCode == kelu::moji::kBinary) {
      QMessageBox::warning(
          this, QStringLiteral("開けません"),
          QStringLiteral("「%1」はバイナリファイルのため表示できません。").arg(path));
      return false;
    }
    kelu::TEditor* editor = NewEditor();
    editor->Lines().SetTextStr(doc.text);
    editor->SetCodec(doc.codec);
    editor->EmptyUndoBuffer();
    editor->SetModify(false);
    editor->SetRowCol(0, 0);
    editor->setProperty("fileName", QFileInfo(path).fileName());
    editor->setProperty("mojiCode", QString::fromStdString(doc.mojiCode));
    tabs_->setCurrentIndex(tabs_->addTab(editor, QFileInfo(path).fileName()));
    if (doc.lossy > 0) {
      statusBar()->showMessage(
          QStringLiteral("%1 文字を読み取れず「?」にしました").arg(doc.lossy), 8000);
    }
    return true;
  }

  void OpenUntitled() {
    kelu::TEditor* editor = NewEditor();
    editor->setProperty("fileName", QStringLiteral("無題"));
    editor->setProperty("mojiCode", QStringLiteral("SJIS"));
    tabs_->addTab(editor, QStringLiteral("無題"));
  }

  int Count() const { return tabs_->count(); }

  void FocusEditor() {
    if (kelu::TEditor* editor = Current()) editor->setFocus();
  }

 private:
  kelu::TEditor* Current() const { return static_cast<kelu::TEditor*>(tabs_->currentWidget()); }

  kelu::TEditor* NewEditor() {
    auto* editor = new kelu::TEditorEx(tabs_);
    config_->ApplyToEditor(*editor);
    editor->SetScrollBars(kelu::ssBoth);
    editor->OnCaretMoved = kelu::TNotifyEvent::Of<&TViewWindow::CaretMoved>(this);
    editor->OnChange = kelu::TNotifyEvent::Of<&TViewWindow::CaretMoved>(this);
    return editor;
  }

  // ------------------------------------------------------------ 編集

  QAction* AddAction(QMenu* menu, const QString& caption, const QKeySequence& keys,
                     void (TViewWindow::*handler)()) {
    QAction* action = menu->addAction(caption);
    if (!keys.isEmpty()) action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    return action;
  }

  void CreateEditMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    undo_ = AddAction(menu, QStringLiteral("元に戻す(&U)"), QKeySequence(Qt::CTRL | Qt::Key_Z),
                      &TViewWindow::Undo);
    redo_ = AddAction(menu, QStringLiteral("やり直し(&R)"), QKeySequence(Qt::CTRL | Qt::Key_Y),
                      &TViewWindow::Redo);
    menu->addSeparator();
    cut_ = AddAction(menu, QStringLiteral("切り取り(&T)"), QKeySequence(Qt::CTRL | Qt::Key_X),
                     &TViewWindow::Cut);
    copy_ = AddAction(menu, QStringLiteral("コピー(&C)"), QKeySequence(Qt::CTRL | Qt::Key_C),
                      &TViewWindow::Copy);
    paste_ = AddAction(menu, QStringLiteral("貼り付け(&P)"), QKeySequence(Qt::CTRL | Qt::Key_V),
                       &TViewWindow::Paste);
    boxPaste_ = AddAction(menu, QStringLiteral("Box貼り付け(&B)"),
                          QKeySequence(Qt::CTRL | Qt::Key_B), &TViewWindow::BoxPaste);
    menu->addSeparator();
    selectAll_ =
        AddAction(menu, QStringLiteral("すべて選択(&A)"), QKeySequence(), &TViewWindow::SelectAll);
    menu->addSeparator();
    boxMode_ = AddAction(menu, QStringLiteral("Box選択モード(&K)"),
                         QKeySequence(Qt::CTRL | Qt::Key_K), &TViewWindow::BoxMode);
    boxMode_->setCheckable(true);
    connect(menu, &QMenu::aboutToShow, this, [this] { UpdateEditMenu(); });
  }

  void UpdateEditMenu() {
    kelu::TEditor* e = Current();
    const bool writable = e && !e->ReadOnly();
    const bool selected = e && e->SelLength() > 0;
    const bool text = kelu::TEditor::ClipboardHasText();
    undo_->setEnabled(writable && e->CanUndo());
    redo_->setEnabled(writable && e->CanRedo());
    cut_->setEnabled(writable && selected);
    copy_->setEnabled(selected);
    paste_->setEnabled(writable && text);
    boxPaste_->setEnabled(writable && text);
    selectAll_->setEnabled(e != nullptr);
    boxMode_->setChecked(e && e->SelectionMode() == kelu::smBox);
  }

  void Undo() {
    if (kelu::TEditor* e = Current()) e->Undo();
  }
  void Redo() {
    if (kelu::TEditor* e = Current()) e->Redo();
  }
  void Cut() {
    if (kelu::TEditor* e = Current()) e->CutToClipboard();
  }
  void Copy() {
    if (kelu::TEditor* e = Current()) e->CopyToClipboard();
  }
  void Paste() {
    if (kelu::TEditor* e = Current()) e->PasteFromClipboard();
  }
  void BoxPaste() {
    if (kelu::TEditor* e = Current()) e->BoxPaste(e->ClipboardText());
  }
  void SelectAll() {
    if (kelu::TEditor* e = Current()) e->SelectAll();
  }
  void BoxMode() {
    kelu::TEditor* e = Current();
    if (!e) return;
    e->SetSelectionMode(e->SelectionMode() == kelu::smBox ? kelu::smNormal : kelu::smBox);
  }

  // ------------------------------------------------------------ ツール

  void CreateToolMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("ツール(&T)"));
    AddAction(menu, QStringLiteral("Keluエディタの設定"), QKeySequence(Qt::CTRL | Qt::Key_T),
              &TViewWindow::Settings);
  }

  void Settings() {
    std::vector<kelu::TEditorEx*> pages;
    for (int i = 0; i < tabs_->count(); ++i) {
      pages.push_back(static_cast<kelu::TEditorEx*>(tabs_->widget(i)));
    }
    config_->Execute(pages);
    for (kelu::TEditorEx* page : pages) page->SetScrollBars(kelu::ssBoth);
    FocusEditor();
  }

  // ------------------------------------------------------------ マクロ

  void CreateMacroMenu() {
    QMenu* menu = menuBar()->addMenu(QStringLiteral("マクロ(&M)"));
    record_ = AddAction(menu, QStringLiteral("記録開始(&R)"),
                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), &TViewWindow::Record);
    play_ = AddAction(menu, QStringLiteral("再生(&P)"),
                      QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), &TViewWindow::Play);
    menu->addSeparator();
    save_ = AddAction(menu, QStringLiteral("保存(&S)..."), QKeySequence(), &TViewWindow::SaveMacro);
    load_ = AddAction(menu, QStringLiteral("読込(&L)..."), QKeySequence(), &TViewWindow::LoadMacro);
    macro_.SetShowDialog(true);
    macro_.MessageProc = kelu::KeyMacroMessageBox(this);
    // The keys that record and play are not part of a recording.
    macro_.ShortcutFilter = kelu::ShortcutFilter({record_->shortcut(), play_->shortcut()});
    macro_.OnChange = kelu::TNotifyEvent::Of<&TViewWindow::MacroChanged>(this);
    MacroChanged(nullptr);
  }

  void Record() {
    if (macro_.State() == kelu::msRecording) {
      macro_.StopRecording();
      return;
    }
    kelu::TEditor* e = Current();
    if (!e) return;
    macro_.SetControl(e);
    macro_.StartRecording();
  }

  void Play() {
    kelu::TEditor* e = Current();
    if (!e || macro_.State() != kelu::msRecorded) return;
    macro_.SetControl(e);
    macro_.Play();
  }

  void SaveMacro() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("マクロの保存"), {},
                                                      QStringLiteral("マクロ (*.txt);;すべて (*)"));
    if (path.isEmpty()) return;
    try {
      macro_.SaveToFile(path.toLocal8Bit().toStdString());
    } catch (const kelu::Exception& e) {
      QMessageBox::warning(this, QStringLiteral("保存できません"), QString::fromUtf8(e.what()));
    }
  }

  void LoadMacro() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("マクロの読込"), {},
                                                      QStringLiteral("マクロ (*.txt);;すべて (*)"));
    if (path.isEmpty()) return;
    try {
      macro_.LoadFromFile(path.toLocal8Bit().toStdString());
    } catch (const kelu::Exception& e) {
      QMessageBox::warning(this, QStringLiteral("読み込めません"), QString::fromUtf8(e.what()));
    }
  }

  void MacroChanged(kelu::TObject* /*sender*/) {
    const kelu::TKeyMacroState state = macro_.State();
    record_->setText(state == kelu::msRecording ? QStringLiteral("記録終了(&R)")
                                                : QStringLiteral("記録開始(&R)"));
    play_->setEnabled(state == kelu::msRecorded);
    save_->setEnabled(state == kelu::msRecorded);
    load_->setEnabled(state != kelu::msRecording && state != kelu::msPlaying);
    static const char* const kStates[] = {"", "マクロ記録中", "マクロあり", "マクロ再生中"};
    macroState_->setText(QString::fromUtf8(kStates[state]));
  }

  // --------------------------------------------------------- status

  void CaretMoved(kelu::TObject* /*sender*/) { ShowPosition(); }

  void PageChanged() {
    kelu::TEditor* editor = Current();
    setWindowTitle(QString::fromUtf8(kCaption) +
                   (editor ? editor->property("fileName").toString() : QString()));
    // A recording follows the page whose keys it takes.
    if (editor && macro_.State() == kelu::msRecording) macro_.SetControl(editor);
    ShowPosition();
  }

  void ShowPosition() {
    kelu::TEditor* editor = Current();
    if (!editor) {
      position_->clear();
      return;
    }
    position_->setText(QStringLiteral("%1 行 %2 桁  %3%4")
                           .arg(editor->Row() + 1)
                           .arg(editor->Col() + 1)
                           .arg(editor->property("mojiCode").toString())
                           .arg(editor->Modified() ? QStringLiteral("  変更あり") : QString()));
  }

  QTabWidget* tabs_;
  QLabel* position_;
  QLabel* macroState_;
  QAction* undo_ = nullptr;
  QAction* redo_ = nullptr;
  QAction* cut_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  QAction* boxPaste_ = nullptr;
  QAction* selectAll_ = nullptr;
  QAction* boxMode_ = nullptr;
  QAction* record_ = nullptr;
  QAction* play_ = nullptr;
  QAction* save_ = nullptr;
  QAction* load_ = nullptr;
  kelu::TKeyMacro macro_;
  kelu::Tfm_Config* config_ = new kelu::Tfm_Config(this);
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("kelu-view"));
  std::vector<std::string> args(argv + 1, argv + argc);
  const kelu::TSettingsLocation location = kelu::ResolveSettingsLocation(
      QCoreApplication::applicationFilePath().toStdString(), args);
  if (!location.error.empty()) {
    std::fprintf(stderr, "kelu-view: %s\n", location.error.c_str());
    return 2;
  }
  TViewWindow window;
  window.LoadSettings(location.iniPath);
  window.show();
  for (const std::string& file : location.files) window.Open(QString::fromLocal8Bit(file.c_str()));
  if (window.Count() == 0) window.OpenUntitled();
  window.FocusEditor();
  return app.exec();
}
