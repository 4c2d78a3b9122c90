// The settings dialog "設定" (Tfm_Config): it owns the settings store, the
// editor property set that every page takes and a read-only sample editor
// whose settings are those pages receive. Every setting changed in the
// dialog shows at once in the sample editor; OK stores the settings and
// gives them to the pages, キャンセル puts back everything changed since the
// dialog opened.
//
// Tabs: 色の設定 (font, colours of the text and of every token kind, what
// counts as a comment, string, URL, mail address), 表示の設定 (word wrap and
// line-breaking rules, tab width, line numbers, ruler, image bar), マークの設定
// (return, wrap, EOF, tab, space and bracket marks, caret-row underline and
// backgrounds), 検索の設定 (search options, how a hit is shown), ファイルの関連付け
// (file extensions opened by the program).
//
// How the main window uses it:
//   Tfm_Config config(mainWindow);
//   config.SetProgramPath(QCoreApplication::applicationFilePath().toStdString());
//   config.LoadSettings(ResolveSettingsLocation(program, args).iniPath);  // first show
//   config.ApplyToEditor(*newPageEditor);                                  // each new page
//   config.Execute(allPageEditors);                                        // the Tool command
// The sample editor is KeluEditorConf(): the main window may set its popup
// menu and its OnCaretMoved, OnClick and OnDblClick handlers.
#pragma once

#include <QDialog>
#include <QFont>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QMessageBox>

#include "base/Color.h"
#include "settings/EditorProp.h"
#include "settings/RegMng.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace kelu {

class TColorButton;
class TEditorEx;
class TEditorMark;
class TFountainColor;

class Tfm_Config : public QDialog {
  Q_OBJECT

 public:
  explicit Tfm_Config(QWidget* parent = nullptr);
  ~Tfm_Config() override;

  // ---------------------------------------------------------- the API
  // The store: rtIni, with the items "Keluエディタ", "フォント" and
  // "ファイル関連付け".
  TRegManager& RegManager() { return *regManager_; }
  // The property set that new pages take.
  TEditorExProp& KeluEditorExProp() { return *prop_; }
  // The sample editor.
  TEditorEx& KeluEditorConf() { return *conf_; }

  // When the main window is first shown: the store's file becomes
  // `iniFileName`; the property set is read from it and given to the
  // sample editor; the font is written from the sample editor and read back;
  // the extension list is read. What cannot be read keeps its default, and
  // the user is told once. A file that cannot be read at all is reported
  // the same way.
  void LoadSettings(const std::string& iniFileName);

  // A new page: the property set takes the sample editor's settings, then
  // gives them to `editor`.
  void ApplyToEditor(TEditorEx& editor);

  // The Tool command: shows the dialog modally. On OK the settings are
  // stored and given to each editor of `pages`, in order; on キャンセル
  // nothing changes. Returns whether OK was chosen.
  bool Execute(const std::vector<TEditorEx*>& pages);

  // The program that associated files open with (by default this one).
  void SetProgramPath(const std::string& path) { programPath_ = path; }
  const std::string& ProgramPath() const { return programPath_; }

  // The extensions of the list ファイルの関連付け (UTF-8).
  std::vector<std::string> Extensions() const;

  // Messages to the user; the default is a message box. Tests replace it.
  std::function<void(QMessageBox::Icon icon, const QString& text)> MessageProc;
  // Asks for a font (the font dialog "フォントの設定"); nullopt when
  // cancelled. Tests replace it.
  std::function<std::optional<QFont>(QWidget* parent, const QFont& current)> FontDialogProc;

  // ---------------------------------------------- the dialog's handlers
  void btn_FontClick();
  void btn_OKClick();
  void btn_CancelClick();
  void Tab_ExtLinkShow();
  void btn_ExtAddClick();
  void btn_ExtLinkClick();
  void btn_ExtLinkDelClick();

  // The sample editor's text (twelve lines, Shift-JIS).
  static std::string SampleText();

 protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  void reject() override;

 private:
  // ------------------------------------------------- building the tabs
  QWidget* CreateColorTab();
  QWidget* CreateViewTab();
  QWidget* CreateMarksTab();
  QWidget* CreateSearchTab();
  QWidget* CreateExtLinkTab();

  // Controls bound to a setting of the sample editor: `get` reads it when
  // the controls are loaded, `set` writes it (and the sample shows it).
  QCheckBox* BindCheck(const QString& text, const QString& name, std::function<bool()> get,
                       std::function<void(bool)> set);
  void BindMark(class QGridLayout* grid, int row, const QString& text, const QString& name,
                std::function<TEditorMark&()> mark);
  // Reloads every bound control from the sample editor.
  void LoadControls();
  void ShowColorItem();
  TFountainColor* CurrentTokenColor();
  void ShowMessage(QMessageBox::Icon icon, const QString& text);
  // Writes the extension list to the store; false (after a message) when
  // it cannot be written.
  bool StoreExtensions();
  void SetExtensions(const std::vector<std::string>& extensions);

  std::unique_ptr<TRegManager> regManager_;
  std::unique_ptr<TEditorExProp> prop_;
  TEditorEx* conf_ = nullptr;
  std::string programPath_;

  QTabWidget* tabs_ = nullptr;  // KeluPC_Conf
  QWidget* extTab_ = nullptr;   // Tab_ExtLink
  QPushButton* fontButton_ = nullptr;
  QLabel* fontLabel_ = nullptr;
  QListWidget* colorList_ = nullptr;
  TColorButton* fgButton_ = nullptr;
  TColorButton* bkButton_ = nullptr;
  QCheckBox* boldCheck_ = nullptr;
  QCheckBox* italicCheck_ = nullptr;
  QCheckBox* underlineCheck_ = nullptr;
  QListWidget* extList_ = nullptr;  // LB_ExtLink
  QLineEdit* extEdit_ = nullptr;    // Ed_ExtLink
  std::vector<std::function<void()>> loaders_;
  bool loading_ = false;

  // What キャンセル puts back.
  std::unique_ptr<TEditorExProp> snapshot_;
  std::vector<std::string> savedExtensions_;
};

}  // namespace kelu
