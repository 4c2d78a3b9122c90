// The settings dialog: construction, the API for the main window, and the
// handlers of the font, OK, キャンセル and the extension list. The tabs are
// built in KeluConfigPages.cpp.
#include "app/config/KeluConfig.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/config/Associations.h"
#include "app/config/ConfigItems.h"
#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "editor/ex/EditorEx.h"
#include "settings/qt/EditorPropEditor.h"

namespace kelu {

namespace {

QString Q(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// The hourglass while the settings are stored.
class TBusyCursor {
 public:
  TBusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~TBusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  TBusyCursor(const TBusyCursor&) = delete;
  TBusyCursor& operator=(const TBusyCursor&) = delete;
};

}  // namespace

std::string Tfm_Config::SampleText() {
  return cp932::FromUtf8(
      "class TKeluSample {\r\n"
      "public:\r\n"
      "  string Name;\r\n"
      "  /* コメント文字１ */\r\n"
      "  Name = \"文字列１\";\r\n"
      "　// 全角スペース\r\n"
      "\t// TABマーク\r\n"
      "  // コメント文字２\r\n"
      "  kelu@example.jp  // メールアドレス\r\n"
      "  http://www.example.jp/kelu/  // ＵＲＬ\r\n"
      "  int Count = 12;\r\n"
      "};");
}

Tfm_Config::Tfm_Config(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      regManager_(std::make_unique<TRegManager>()),
      prop_(std::make_unique<TEditorExProp>()) {
  setObjectName(QStringLiteral("fm_Config"));
  setWindowTitle(QStringLiteral("設定"));
  DefineConfigItems(*regManager_);
  regManager_->OnMessage = [this](const std::string& m) {
    ShowMessage(QMessageBox::Critical, Q(m));
  };
  prop_->SetName("KeluEditorExProp");
  SetStoredDesignValues(*prop_);
  programPath_ = QCoreApplication::applicationFilePath().toStdString();

  // The sample editor with its own design settings, which the stored set
  // replaces at start-up.
  conf_ = new TEditorEx(this);
  conf_->setObjectName(QStringLiteral("KeluEditorConf"));
  conf_->setFixedWidth(433);
  conf_->Lines().SetTextStr(SampleText());
  conf_->SetReadOnly(true);
  conf_->Leftbar().SetVisible(true);
  conf_->Leftbar().SetShowNumberMode(nmRow);
  conf_->Ruler().SetVisible(true);
  conf_->Ruler().SetColor(clWhite);
  conf_->Ruler().SetBkColor(clBlack);
  conf_->SetScrollBars(ssBoth);
  conf_->WrapOption().SetWrapByte(80);
  conf_->WrapOption().SetLeading(true);
  conf_->WrapOption().SetWordBreak(true);
  conf_->SetWordWrap(true);
  conf_->SetExSearchOptions({soRegexp, soEscSeq});
  TVerticalLine* line = conf_->VerticalLines().Add();
  line->SetPosition(15);
  line->SetColor(clLime);
  line->SetVisible(false);
  conf_->EmptyUndoBuffer();

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("KeluPC_Conf"));
  tabs_->addTab(CreateColorTab(), QStringLiteral("色の設定"));
  tabs_->addTab(CreateViewTab(), QStringLiteral("表示の設定"));
  tabs_->addTab(CreateMarksTab(), QStringLiteral("マークの設定"));
  tabs_->addTab(CreateSearchTab(), QStringLiteral("検索の設定"));
  extTab_ = CreateExtLinkTab();
  tabs_->addTab(extTab_, QStringLiteral("ファイルの関連付け"));
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    if (tabs_->widget(index) == extTab_) Tab_ExtLinkShow();
  });

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("btn_OK"));
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("btn_Cancel"));
  ok->setAutoDefault(false);
  cancel->setAutoDefault(false);
  connect(ok, &QPushButton::clicked, this, [this] { btn_OKClick(); });
  connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* right = new QVBoxLayout;
  right->addWidget(tabs_, 1);
  right->addLayout(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(conf_);
  layout->addLayout(right, 1);
  resize(960, 500);

  MessageProc = [this](QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QStringLiteral("KeluエディタVetra"), text, QMessageBox::NoButton, this);
    box.addButton(icon == QMessageBox::Critical ? QStringLiteral("はい") : QStringLiteral("OK"),
                  QMessageBox::AcceptRole);
    box.exec();
  };
  FontDialogProc = [](QWidget* parent, const QFont& current) -> std::optional<QFont> {
    QFontDialog dialog(current, parent);
    dialog.setWindowTitle(QStringLiteral("フォントの設定"));
    dialog.setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::ScalableFonts);
    // The dialog's preview line.
    if (auto* sample = dialog.findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"))) {
      sample->setText(QStringLiteral("KeluエディタVetra"));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.selectedFont();
  };
  LoadControls();
}

Tfm_Config::~Tfm_Config() = default;

void Tfm_Config::ShowMessage(QMessageBox::Icon icon, const QString& text) {
  if (MessageProc) MessageProc(icon, text);
}

// ------------------------------------------------------------------- API

void Tfm_Config::LoadSettings(const std::string& iniFileName) {
  regManager_->SetIniFileName(iniFileName);
  regManager_->ClearResetItems();
  try {
    regManager_->Filer(kEditorItem).ReadComponent(prop_.get());
    AssignToEditor(*prop_, *conf_);
    regManager_->Filer(kFontItem).WriteFont(&conf_->Font());
    regManager_->Filer(kFontItem).ReadFont(&conf_->Font());
    TStringList extensions;
    regManager_->Filer(kExtItem).ReadStrings(&extensions);
    std::vector<std::string> list;
    for (int i = 0; i < extensions.Count(); ++i) list.push_back(extensions.Get(i));
    SetExtensions(list);
    savedExtensions_ = list;
  } catch (const Exception& e) {
    ShowMessage(QMessageBox::Warning,
                Q("設定ファイル「" + iniFileName + "」を使えません。\n" + e.Message()));
  }
  if (!regManager_->ResetItems().empty()) {
    ShowMessage(QMessageBox::Warning,
                Q(SettingsResetMessage(iniFileName, regManager_->ResetItems())));
    regManager_->ClearResetItems();
  }
  conf_->EmptyUndoBuffer();
  LoadControls();
}

void Tfm_Config::ApplyToEditor(TEditorEx& editor) {
  AssignFromEditor(*prop_, *conf_);
  AssignToEditor(*prop_, editor);
}

bool Tfm_Config::Execute(const std::vector<TEditorEx*>& pages) {
  snapshot_ = std::make_unique<TEditorExProp>();
  AssignFromEditor(*snapshot_, *conf_);
  savedExtensions_ = Extensions();
  LoadControls();
  const bool ok = exec() == QDialog::Accepted;
  if (ok) {
    for (TEditorEx* page : pages) {
      if (page) AssignToEditor(*prop_, *page);
    }
  }
  snapshot_.reset();
  return ok;
}

std::vector<std::string> Tfm_Config::Extensions() const {
  std::vector<std::string> list;
  for (int i = 0; i < extList_->count(); ++i) list.push_back(extList_->item(i)->text().toStdString());
  return list;
}

void Tfm_Config::SetExtensions(const std::vector<std::string>& extensions) {
  extList_->clear();
  for (const std::string& ext : extensions) extList_->addItem(Q(ext));
}

// -------------------------------------------------------------- handlers

void Tfm_Config::showEvent(QShowEvent* event) {
  setWindowTitle(QStringLiteral("設定"));
  LoadControls();
  QDialog::showEvent(event);
}

void Tfm_Config::btn_FontClick() {
  const TFont& font = conf_->Font();
  QFont current(Q(cp932::ToUtf8(font.Name())));
  if (font.Size() > 0) current.setPointSize(font.Size());
  std::optional<QFont> chosen = FontDialogProc ? FontDialogProc(this, current) : std::nullopt;
  if (!chosen) return;
  std::size_t lossy = 0;
  const std::string name = cp932::FromUtf8(chosen->family().toStdString(), &lossy);
  if (lossy == 0) conf_->Font().SetName(name);
  if (chosen->pointSize() > 0) conf_->Font().SetSize(chosen->pointSize());
  LoadControls();
}

void Tfm_Config::btn_OKClick() {
  {
    TBusyCursor busy;
    AssignFromEditor(*prop_, *conf_);
    try {
      regManager_->Filer(kEditorItem).WriteComponent(prop_.get());
      regManager_->Filer(kFontItem).WriteFont(&conf_->Font());
      TStringList extensions;
      for (const std::string& ext : Extensions()) extensions.Add(ext);
      regManager_->Filer(kExtItem).WriteStrings(&extensions);
      savedExtensions_ = Extensions();
    } catch (const Exception& e) {
      ShowMessage(QMessageBox::Warning,
                  QStringLiteral("設定を保存できませんでした。変更はこの起動の間だけ有効です。\n") +
                      Q(e.Message()));
    }
  }
  accept();
}

void Tfm_Config::reject() {
  btn_CancelClick();
  QDialog::reject();
}

void Tfm_Config::btn_CancelClick() {
  if (snapshot_) AssignToEditor(*snapshot_, *conf_);
  SetExtensions(savedExtensions_);
  LoadControls();
}

void Tfm_Config::Tab_ExtLinkShow() {
  extEdit_->setFocus();
}

void Tfm_Config::btn_ExtAddClick() {
  const std::string text = extEdit_->text().toStdString();
  if (std::string problem = ExtensionEntryProblem(text); !problem.empty()) {
    ShowMessage(QMessageBox::Critical, Q(problem));
    extEdit_->setFocus();
    return;
  }
  const std::vector<std::string> list = Extensions();
  if (std::find(list.begin(), list.end(), text) != list.end()) return;
  extList_->addItem(Q(text));
}

bool Tfm_Config::StoreExtensions() {
  try {
    TStringList extensions;
    for (const std::string& ext : Extensions()) extensions.Add(ext);
    regManager_->Filer(kExtItem).WriteStrings(&extensions);
    savedExtensions_ = Extensions();
    return true;
  } catch (const Exception& e) {
    ShowMessage(QMessageBox::Warning,
                QStringLiteral("拡張子の一覧を保存できませんでした。\n") + Q(e.Message()));
    return false;
  }
}

void Tfm_Config::btn_ExtLinkClick() {
  const std::vector<std::string> list = Extensions();
  const TXdgPlaces places = TXdgPlaces::FromEnvironment();
  for (const std::string& ext : list) {
    TAssociationResult r = RegisterFileExt(places, programPath_, ext, kFileTypeDescription);
    if (!r.ok) {
      ShowMessage(QMessageBox::Information,
                  Q("関連付に失敗しました。:" + ext + "\n" + r.reason));
      return;
    }
  }
  if (list.empty()) return;
  if (!regManager_->IniFileName().empty()) StoreExtensions();
  ShowMessage(QMessageBox::Information, QStringLiteral("関連付が完了しました。"));
}

void Tfm_Config::btn_ExtLinkDelClick() {
  QListWidgetItem* item = extList_->currentItem();
  if (!item || !item->isSelected()) return;
  const std::string ext = item->text().toStdString();
  TAssociationResult r = UnregisterFileExt(TXdgPlaces::FromEnvironment(), ext);
  if (!r.ok) {
    ShowMessage(QMessageBox::Information,
                Q("関連付けの解除に失敗しました。:" + ext + "\n" + r.reason));
    return;
  }
  delete extList_->takeItem(extList_->row(item));
  if (!regManager_->IniFileName().empty()) StoreExtensions();
  ShowMessage(QMessageBox::Information, QStringLiteral("関連付けを解除しました．"));
}

}  // namespace kelu
