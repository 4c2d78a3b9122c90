// kelu-view: a plain window that shows files in the editor control, one tab
// per file, with word wrap, the ruler and line numbers. Before input exists
// the text can only be scrolled (scroll bars, mouse wheel).
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>
#include <cstdio>
#include <string>

#include "app/encoding/Encodings.h"
#include "base/Exceptions.h"
#include "editor/control/Editor.h"

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
    connect(tabs_, &QTabWidget::currentChanged, this, [this] { PageChanged(); });
    resize(1000, 720);
  }

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
    editor->SetRowCol(0, 0);
    editor->setProperty("fileName", QFileInfo(path).fileName());
    editor->setProperty("mojiCode", QString::fromStdString(doc.mojiCode));
    tabs_->setCurrentIndex(tabs_->addTab(editor, QFileInfo(path).fileName()));
    if (doc.lossy > 0) {
      statusBar()->showMessage(
          QStringLiteral("%1 文字を Shift-JIS に変換できず「?」にしました").arg(doc.lossy), 8000);
    }
    return true;
  }

  void OpenUntitled() {
    kelu::TEditor* editor = NewEditor();
    editor->setProperty("fileName", QStringLiteral("無題"));
    tabs_->addTab(editor, QStringLiteral("無題"));
  }

  int Count() const { return tabs_->count(); }

 private:
  kelu::TEditor* NewEditor() {
    auto* editor = new kelu::TEditor(tabs_);
    editor->Font().SetName("FixedSys");
    editor->SetScrollBars(kelu::ssBoth);
    editor->Ruler().SetVisible(true);
    editor->Leftbar().SetVisible(true);
    editor->Leftbar().SetShowNumberMode(kelu::nmLine);
    editor->Marks().RetMark().SetVisible(true);
    editor->Marks().EofMark().SetVisible(true);
    editor->Marks().WrapMark().SetVisible(true);
    editor->SetReadOnly(true);
    editor->SetWordWrap(true);
    editor->OnCaretMoved = kelu::TNotifyEvent::Of<&TViewWindow::CaretMoved>(this);
    return editor;
  }

  void CaretMoved(kelu::TObject* /*sender*/) { ShowPosition(); }

  void PageChanged() {
    auto* editor = static_cast<kelu::TEditor*>(tabs_->currentWidget());
    setWindowTitle(QString::fromUtf8(kCaption) +
                   (editor ? editor->property("fileName").toString() : QString()));
    ShowPosition();
  }

  void ShowPosition() {
    auto* editor = static_cast<kelu::TEditor*>(tabs_->currentWidget());
    if (!editor) {
      position_->clear();
      return;
    }
    position_->setText(QStringLiteral("%1 行 %2 桁  %3")
                           .arg(editor->Row() + 1)
                           .arg(editor->Col() + 1)
                           .arg(editor->property("mojiCode").toString()));
  }

  QTabWidget* tabs_;
  QLabel* position_;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  TViewWindow window;
  window.show();
  for (int i = 1; i < argc; ++i) window.Open(QString::fromLocal8Bit(argv[i]));
  if (window.Count() == 0) window.OpenUntitled();
  return app.exec();
}
