// The settings dialog offscreen: every setting shows in the sample editor
// at once; キャンセル puts everything back; OK stores the settings, and a new
// dialog reads them back, and gives them to every page; a damaged file is
// told once; the extension list and its associations.
#include "app/config/KeluConfig.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

#include "SettingsTestSupport.h"
#include "app/config/Associations.h"
#include "app/config/ColorButton.h"
#include "editor/ex/EditorEx.h"
#include "settings/ComponentStream.h"
#include "settings/qt/EditorPropEditor.h"

namespace kelu {
namespace {

using test::Sjis;
using test::TTempDir;

struct TConfigFixture {
  TTempDir dir;
  std::string ini = dir.File("KeluEditorVetra.ini");
  Tfm_Config config;
  std::vector<QString> messages;

  TConfigFixture() {
    config.MessageProc = [this](QMessageBox::Icon, const QString& text) {
      messages.push_back(text);
    };
    config.LoadSettings(ini);
  }

  template <class W>
  W* Find(const char* name) {
    W* w = config.findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  void Check(const char* name, bool on) { Find<QCheckBox>(name)->setChecked(on); }
  void Pick(const char* combo, int data) {
    QComboBox* c = Find<QComboBox>(combo);
    c->setCurrentIndex(c->findData(data));
  }
  void Color(const char* button, TColor color) { Find<TColorButton>(button)->SetColor(color); }
  void Text(const char* edit, const char* text) {
    Find<QLineEdit>(edit)->setText(QString::fromUtf8(text));
  }
  void Token(const char* caption) {
    QListWidget* list = Find<QListWidget>("LB_Colors");
    list->setCurrentItem(list->findItems(QString::fromUtf8(caption), Qt::MatchExactly).value(0));
  }
  TEditorEx& Sample() { return config.KeluEditorConf(); }
  QImage Shot() {
    QApplication::processEvents();
    return Sample().viewport()->grab().toImage();
  }
  // Everything the sample editor's settings hold, as text.
  std::string Settings() {
    TEditorExProp set;
    AssignFromEditor(set, Sample());
    return WriteComponentStream(set, "x") + set.FindString();
  }
  // Runs the dialog; `inside` runs while it is open.
  bool Execute(const std::vector<TEditorEx*>& pages, std::function<void()> inside) {
    QTimer::singleShot(0, &config, [inside] { inside(); });
    return config.Execute(pages);
  }
};

TEST(KeluConfigTest, TheDialogAndItsTexts) {
  TConfigFixture f;
  EXPECT_EQ(f.config.windowTitle(), QStringLiteral("設定"));
  EXPECT_EQ(f.Find<QPushButton>("btn_Font")->text(), QStringLiteral("フォントの設定"));
  EXPECT_EQ(f.Find<QPushButton>("btn_OK")->text(), QStringLiteral("OK"));
  EXPECT_EQ(f.Find<QPushButton>("btn_Cancel")->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(f.Find<QPushButton>("btn_ExtAdd")->text(), QStringLiteral("追加"));
  EXPECT_EQ(f.Find<QPushButton>("btn_ExtLink")->text(), QStringLiteral("指定した拡張子の関連付を実行"));
  EXPECT_EQ(f.Find<QPushButton>("btn_ExtLinkDel")->text(),
            QStringLiteral("指定した拡張子の関連付を解除"));
  EXPECT_EQ(f.Find<QLineEdit>("Ed_ExtLink")->maxLength(), 5);
  auto* tabs = f.Find<QTabWidget>("KeluPC_Conf");
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("色の設定"));
  EXPECT_EQ(tabs->tabText(tabs->count() - 1), QStringLiteral("ファイルの関連付け"));
  EXPECT_EQ(f.Sample().Lines().Count(), 12);
  EXPECT_TRUE(f.Sample().ReadOnly());
  const std::string text = f.Sample().Lines().Text();
  for (const char* part : {"class", "コメント文字１", "\"文字列１\"", "　// 全角スペース",
                           "\t// TABマーク", "// コメント文字２", "@", "// メールアドレス",
                           "http://", "// ＵＲＬ", "};"}) {
    EXPECT_NE(text.find(Sjis(part)), std::string::npos) << part;
  }
  // Without a settings file the sample shows the stored set's design values.
  EXPECT_FALSE(f.Sample().Ruler().Visible());
  EXPECT_EQ(f.Sample().Font().Name(), "FixedSys");
  EXPECT_TRUE(f.messages.empty());
}

TEST(KeluConfigTest, EverySettingShowsInTheSampleEditorAtOnce) {
  struct Case {
    const char* name;
    std::function<void(TConfigFixture&)> change;
    std::function<bool(TEditorEx&)> applied;
    bool visible;
  };
  const Case cases[] = {
      {"word wrap at 20",
       [](TConfigFixture& f) {
         f.Find<QSpinBox>("sp_WrapByte")->setValue(20);
         f.Check("cb_WordWrap", true);
       },
       [](TEditorEx& e) { return e.WordWrap() && e.WrapOption().WrapByte() == 20 && e.RowCount() > 12; },
       true},
      {"leading", [](TConfigFixture& f) { f.Check("cb_Leading", true); },
       [](TEditorEx& e) { return e.WrapOption().Leading(); }, false},
      {"follow punctuation", [](TConfigFixture& f) { f.Check("cb_FollowPunctuation", true); },
       [](TEditorEx& e) { return e.WrapOption().FollowPunctuation(); }, false},
      {"word break", [](TConfigFixture& f) { f.Check("cb_WordBreak", true); },
       [](TEditorEx& e) { return e.WrapOption().WordBreak(); }, false},
      {"follow return mark", [](TConfigFixture& f) { f.Check("cb_FollowRetMark", true); },
       [](TEditorEx& e) { return e.WrapOption().FollowRetMark(); }, false},
      {"tab width", [](TConfigFixture& f) { f.Pick("cmb_TabSpaceCount", 2); },
       [](TEditorEx& e) { return e.Caret().TabSpaceCount() == 2; }, true},
      {"line numbers by line",
       [](TConfigFixture& f) {
         f.Check("cb_Leftbar", true);
         f.Pick("cmb_ShowNumberMode", nmLine);
       },
       [](TEditorEx& e) { return e.Leftbar().Visible() && e.Leftbar().ShowNumberMode() == nmLine; },
       true},
      {"ruler", [](TConfigFixture& f) { f.Check("cb_Ruler", true); },
       [](TEditorEx& e) { return e.Ruler().Visible(); }, true},
      {"image bar", [](TConfigFixture& f) { f.Check("cb_Imagebar", false); },
       [](TEditorEx& e) { return !e.Imagebar().Visible(); }, true},
      {"return marks in red",
       [](TConfigFixture& f) {
         f.Check("cb_RetMark", true);
         f.Color("cb_RetMarkColor", clRed);
       },
       [](TEditorEx& e) { return e.Marks().RetMark().Visible() && e.Marks().RetMark().Color() == clRed; },
       true},
      {"wrap marks",
       [](TConfigFixture& f) {
         f.Find<QSpinBox>("sp_WrapByte")->setValue(20);
         f.Check("cb_WordWrap", true);
         const QImage before = f.Shot();
         f.Check("cb_WrapMark", true);
         EXPECT_NE(before, f.Shot());
       },
       [](TEditorEx& e) { return e.Marks().WrapMark().Visible(); }, true},
      {"EOF mark", [](TConfigFixture& f) { f.Check("cb_EofMark", true); },
       [](TEditorEx& e) { return e.Marks().EofMark().Visible(); }, true},
      {"tab marks", [](TConfigFixture& f) { f.Check("cb_TabMark", true); },
       [](TEditorEx& e) { return e.ExMarks().TabMark().Visible(); }, true},
      {"full-width space marks", [](TConfigFixture& f) { f.Check("cb_DBSpaceMark", true); },
       [](TEditorEx& e) { return e.ExMarks().DBSpaceMark().Visible(); }, true},
      {"space marks", [](TConfigFixture& f) { f.Check("cb_SpaceMark", true); },
       [](TEditorEx& e) { return e.ExMarks().SpaceMark().Visible(); }, true},
      {"caret-row underline", [](TConfigFixture& f) { f.Check("cb_Underline", true); },
       [](TEditorEx& e) { return e.Marks().Underline().Visible(); }, true},
      {"even-row background",
       [](TConfigFixture& f) {
         f.Check("cb_EvenLine", true);
         f.Color("cb_EvenLineColor", clSkyBlue);
       },
       [](TEditorEx& e) { return e.ExMarks().EvenLine().Color() == clSkyBlue; }, true},
      {"bracket marks", [](TConfigFixture& f) { f.Check("cb_ParenMark", true); },
       [](TEditorEx& e) { return e.ExMarks().ParenMark().Visible(); }, false},
      {"background of the text",
       [](TConfigFixture& f) {
         f.Token("テキスト");
         f.Color("btn_TokenBkColor", clCream);
       },
       [](TEditorEx& e) { return e.Color() == clCream; }, true},
      {"colour of the text",
       [](TConfigFixture& f) {
         f.Token("テキスト");
         f.Color("btn_TokenColor", clNavy);
       },
       [](TEditorEx& e) { return e.Font().Color() == clNavy; }, true},
      {"line comments in green and bold",
       [](TConfigFixture& f) {
         f.Text("ed_Commenter", "//");
         f.Token("コメント");
         f.Color("btn_TokenColor", clGreen);
         f.Check("cb_StyleBold", true);
       },
       [](TEditorEx& e) {
         return e.View().Commenter() == "//" && e.View().Colors().Comment().Color() == clGreen &&
                HasStyle(e.View().Colors().Comment().Style(), fsBold);
       },
       true},
      {"block comments",
       [](TConfigFixture& f) {
         f.Text("ed_BracketLeft", "/*");
         f.Text("ed_BracketRight", "*/");
         f.Token("複数行コメント");
         f.Color("btn_TokenColor", clTeal);
       },
       [](TEditorEx& e) {
         return e.View().Brackets().Count() == 1 &&
                e.View().Brackets().Items(0)->LeftBracket() == "/*" &&
                e.View().Brackets().Items(0)->ItemColor().Color() == clTeal;
       },
       true},
      {"strings",
       [](TConfigFixture& f) {
         f.Text("ed_Quotation", "\"");
         f.Token("文字列");
         f.Color("btn_TokenColor", clMaroon);
         f.Color("btn_TokenBkColor", clYellow);
       },
       [](TEditorEx& e) {
         return e.View().Quotation() == "\"" && e.View().Colors().Str().BkColor() == clYellow;
       },
       true},
      {"numbers",
       [](TConfigFixture& f) {
         f.Token("数値");
         f.Color("btn_TokenColor", clRed);
       },
       [](TEditorEx& e) { return e.View().Colors().Int().Color() == clRed; }, true},
      {"full-width characters",
       [](TConfigFixture& f) {
         f.Token("全角文字");
         f.Check("cb_StyleUnderline", true);
       },
       [](TEditorEx& e) { return HasStyle(e.View().Colors().DBCS().Style(), fsUnderline); }, true},
      {"URLs and mail addresses",
       [](TConfigFixture& f) {
         f.Check("cb_Url", true);
         f.Check("cb_Mail", true);
         f.Token("URL");
         f.Color("btn_TokenColor", clBlue);
         f.Token("メールアドレス");
         f.Color("btn_TokenColor", clPurple);
       },
       [](TEditorEx& e) {
         return e.View().Url() && e.View().Mail() && e.View().Colors().Url().Color() == clBlue &&
                e.View().Colors().Mail().Color() == clPurple;
       },
       true},
      {"the selection colours",
       [](TConfigFixture& f) {
         f.Token("選択範囲");
         f.Color("btn_TokenBkColor", clGreen);
       },
       [](TEditorEx& e) { return e.View().Colors().Select().BkColor() == clGreen; }, false},
      {"search options",
       [](TConfigFixture& f) {
         f.Check("cb_Regexp", true);
         f.Check("cb_MatchCase", true);
         f.Check("cb_WholeWord", true);
         f.Check("cb_EscSeq", true);
       },
       [](TEditorEx& e) {
         return e.ExSearchOptions() == TExSearchOptions({soRegexp, soMatchCase, soWholeWord, soEscSeq});
       },
       false},
      {"hit style", [](TConfigFixture& f) { f.Pick("cmb_HitStyle", hsCaret); },
       [](TEditorEx& e) { return e.HitStyle() == hsCaret; }, false},
      {"hit underlines", [](TConfigFixture& f) { f.Check("cb_FindMark", true); },
       [](TEditorEx& e) { return e.ExMarks().FindMark().Visible(); }, false},
      {"font",
       [](TConfigFixture& f) {
         f.config.FontDialogProc = [](QWidget*, const QFont&) {
           return std::optional<QFont>(QFont(QStringLiteral("IPAGothic"), 14));
         };
         f.Find<QPushButton>("btn_Font")->click();
       },
       [](TEditorEx& e) { return e.Font().Name() == "IPAGothic" && e.Font().Size() == 14; }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TConfigFixture f;
    f.config.show();
    const QImage before = f.Shot();
    c.change(f);
    EXPECT_TRUE(c.applied(f.Sample()));
    if (c.visible) {
      EXPECT_NE(before, f.Shot());
    }
    f.config.hide();
  }
}

TEST(KeluConfigTest, CancelPutsEverythingBack) {
  TConfigFixture f;
  auto page = std::make_unique<TEditorEx>();
  const std::string pageBefore = [&] {
    TEditorExProp set;
    AssignFromEditor(set, *page);
    return WriteComponentStream(set, "x");
  }();
  const std::string before = f.Settings();
  const bool ok = f.Execute({page.get()}, [&] {
    f.Check("cb_WordWrap", true);
    f.Find<QSpinBox>("sp_WrapByte")->setValue(33);
    f.Check("cb_Ruler", true);
    f.Check("cb_TabMark", true);
    f.Text("ed_Commenter", "#");
    f.Token("コメント");
    f.Color("btn_TokenColor", clRed);
    f.Check("cb_Regexp", true);
    f.Pick("cmb_HitStyle", hsDraw);
    f.config.FontDialogProc = [](QWidget*, const QFont&) {
      return std::optional<QFont>(QFont(QStringLiteral("IPAGothic"), 20));
    };
    f.Find<QPushButton>("btn_Font")->click();
    f.Text("Ed_ExtLink", "md");
    f.Find<QPushButton>("btn_ExtAdd")->click();
    EXPECT_NE(f.Settings(), before);
    f.Find<QPushButton>("btn_Cancel")->click();
  });
  EXPECT_FALSE(ok);
  EXPECT_EQ(f.Settings(), before);
  EXPECT_TRUE(f.config.Extensions().empty());
  EXPECT_FALSE(f.Find<QCheckBox>("cb_WordWrap")->isChecked());
  TEditorExProp set;
  AssignFromEditor(set, *page);
  EXPECT_EQ(WriteComponentStream(set, "x"), pageBefore);
  EXPECT_FALSE(std::filesystem::exists(f.ini) &&
               test::ReadText(f.ini).find("KeluEditorVetra_c") != std::string::npos);
}

TEST(KeluConfigTest, OkStoresTheSettingsAndGivesThemToEveryPage) {
  std::string stored;
  TTempDir dir;
  const std::string ini = dir.File("KeluEditorVetra.ini");
  auto first = std::make_unique<TEditorEx>();
  auto second = std::make_unique<TEditorEx>();
  {
    TConfigFixture f;
    f.config.LoadSettings(ini);
    for (TEditorEx* page : {first.get(), second.get()}) {
      f.config.ApplyToEditor(*page);
      page->Lines().SetTextStr(std::string(60, 'x') + "\r\n");
    }
    EXPECT_TRUE(f.Execute({first.get(), second.get()}, [&] {
      f.Check("cb_WordWrap", true);
      f.Find<QSpinBox>("sp_WrapByte")->setValue(25);
      f.Check("cb_Leftbar", true);
      f.Check("cb_DBSpaceMark", true);
      f.Text("ed_Commenter", "//");
      f.Token("コメント");
      f.Color("btn_TokenColor", clGreen);
      f.Check("cb_WholeWord", true);
      f.config.FontDialogProc = [](QWidget*, const QFont&) {
        return std::optional<QFont>(QFont(QStringLiteral("IPAGothic"), 12));
      };
      f.Find<QPushButton>("btn_Font")->click();
      f.Text("Ed_ExtLink", "txt");
      f.Find<QPushButton>("btn_ExtAdd")->click();
      f.Find<QPushButton>("btn_OK")->click();
    }));
    stored = f.Settings();
    EXPECT_TRUE(f.messages.empty());
  }
  for (TEditorEx* page : {first.get(), second.get()}) {
    EXPECT_TRUE(page->WordWrap());
    EXPECT_EQ(page->WrapOption().WrapByte(), 25);
    EXPECT_EQ(page->RowCount(), 3);  // 60 bytes at 25
    EXPECT_TRUE(page->Leftbar().Visible());
    EXPECT_EQ(page->View().Colors().Comment().Color(), clGreen);
    EXPECT_EQ(page->Font().Name(), "IPAGothic");
    EXPECT_TRUE(page->ExSearchOptions().Contains(soWholeWord));
  }
  // The file is readable text with Japanese names as they are.
  const std::string text = test::ReadText(ini);
  for (const char* part : {"[エディタ設定値]", "KeluEditorVetra_c=", "[フォント設定値]",
                           "Font_FontName=IPAGothic", "Font_FontSize=12", "[拡張子]",
                           "Ext_ItemCount=1", "Ext_Item0=txt"}) {
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  }
  // A new dialog (a new start) reads the same back.
  TConfigFixture again;
  again.config.LoadSettings(ini);
  EXPECT_EQ(again.Settings(), stored);
  EXPECT_EQ(again.config.Extensions(), (std::vector<std::string>{"txt"}));
  EXPECT_TRUE(again.messages.empty());
}

TEST(KeluConfigTest, OkWithNothingChangedKeepsThePagesUndoAndSelection) {
  TConfigFixture f;
  auto page = std::make_unique<TEditorEx>();
  f.config.ApplyToEditor(*page);
  page->Lines().SetTextStr("abc\r\ndef\r\n");
  page->SetRowCol(0, 0);
  page->InsertChars("x");
  page->SetRowCol(1, 0);
  page->SetSelLength(2);
  ASSERT_TRUE(page->CanUndo());
  EXPECT_TRUE(f.Execute({page.get()}, [&] { f.Find<QPushButton>("btn_OK")->click(); }));
  EXPECT_TRUE(page->CanUndo());
  EXPECT_TRUE(page->Selected());
  EXPECT_EQ(page->SelLength(), 2);
}

TEST(KeluConfigTest, ADamagedFileIsToldOnceAndTheRestIsRead) {
  TTempDir dir;
  const std::string ini = dir.File("KeluEditorVetra.ini");
  test::WriteText(ini,
                  "[エディタ設定値]\n"
                  "KeluEditorVetra_c=2\n"
                  "KeluEditorVetra_d0=6F626A656374\n"
                  "[フォント設定値]\n"
                  "Font_FontName=IPAGothic\n"
                  "Font_FontSize=huge\n"
                  "[拡張子]\n"
                  "Ext_ItemCount=2\n"
                  "Ext_Item0=txt\n"
                  "Ext_Item1=md\n"
                  "garbage line\n");
  Tfm_Config config;
  std::vector<QString> messages;
  config.MessageProc = [&](QMessageBox::Icon, const QString& m) { messages.push_back(m); };
  config.LoadSettings(ini);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].contains(QStringLiteral("既定値に戻しました"))) << messages[0].toStdString();
  EXPECT_TRUE(messages[0].contains(QStringLiteral("Keluエディタ")));
  // The font keys are written from the property set at every start.
  EXPECT_EQ(config.KeluEditorConf().Font().Name(), "FixedSys");
  EXPECT_EQ(config.KeluEditorConf().Font().Size(), 9);
  EXPECT_NE(test::ReadText(ini).find("Font_FontSize=9"), std::string::npos);
  EXPECT_EQ(config.Extensions(), (std::vector<std::string>{"txt", "md"}));
  EXPECT_EQ(config.findChild<QListWidget*>(QStringLiteral("LB_ExtLink"))->count(), 2);
}

TEST(KeluConfigTest, AFailedSaveSaysSoAndLeavesTheOldFile) {
  TConfigFixture f;
  EXPECT_TRUE(f.Execute({}, [&] { f.Find<QPushButton>("btn_OK")->click(); }));
  const std::string before = test::ReadText(f.ini);
  auto page = std::make_unique<TEditorEx>();
  if (!test::MakeReadOnly(f.dir.Path())) GTEST_SKIP() << "no read-only folders here";
  EXPECT_TRUE(f.Execute({page.get()}, [&] {
    f.Check("cb_Ruler", true);
    f.Find<QPushButton>("btn_OK")->click();
  }));
  test::MakeWritable(f.dir.Path());
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_TRUE(f.messages[0].contains(QStringLiteral("保存できませんでした")));
  EXPECT_EQ(test::ReadText(f.ini), before);
  EXPECT_TRUE(page->Ruler().Visible());  // the pages have it all the same
}

TEST(KeluConfigTest, TheExtensionList) {
  TConfigFixture f;
  auto add = [&](const char* text) {
    f.Text("Ed_ExtLink", text);
    f.config.btn_ExtAddClick();
  };
  add("txt");
  add("txt");
  EXPECT_EQ(f.config.Extensions(), (std::vector<std::string>{"txt"}));
  EXPECT_TRUE(f.messages.empty());
  add(".txt");
  add("c");
  ASSERT_EQ(f.messages.size(), 2u);
  EXPECT_EQ(f.messages[0], QStringLiteral("ピリオドなしの拡張子を入力してください。"));
  EXPECT_EQ(f.messages[1], QStringLiteral("ピリオドなしの拡張子を入力してください。"));
  add("TXT");  // exact comparison
  EXPECT_EQ(f.config.Extensions(), (std::vector<std::string>{"txt", "TXT"}));
}

TEST(KeluConfigTest, AssociationsFromTheDialog) {
  TConfigFixture f;
  const std::string data = f.dir.File("data");
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  setenv("XDG_CONFIG_HOME", f.dir.File("config").c_str(), 1);
  setenv("XDG_CURRENT_DESKTOP", "X-Generic", 1);
  f.config.SetProgramPath("/usr/bin/kelu-editor-vetra");
  for (const char* ext : {"txt", "kelux"}) {
    f.Text("Ed_ExtLink", ext);
    f.config.btn_ExtAddClick();
  }
  f.config.btn_ExtLinkClick();
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages.back(), QStringLiteral("関連付が完了しました。"));
  EXPECT_EQ(RegisteredExtensions(test::ReadText(data + "/applications/kelu-editor-vetra.desktop")).size(),
            2u);
  // The list is kept with the associations.
  EXPECT_NE(test::ReadText(f.ini).find("Ext_Item1=kelux"), std::string::npos);

  auto* list = f.Find<QListWidget>("LB_ExtLink");
  f.config.btn_ExtLinkDelClick();  // nothing selected: nothing happens
  EXPECT_EQ(f.messages.size(), 1u);
  list->setCurrentRow(0);
  f.config.btn_ExtLinkDelClick();
  EXPECT_EQ(f.messages.back(), QStringLiteral("関連付けを解除しました．"));
  EXPECT_EQ(f.config.Extensions(), (std::vector<std::string>{"kelux"}));
  EXPECT_EQ(RegisteredExtensions(test::ReadText(data + "/applications/kelu-editor-vetra.desktop")),
            (TExtensionTypes{{"kelux", OwnMimeType("kelux")}}));

  // A failure names the extension and the reason.
  std::filesystem::create_directories(data + "/applications");
  if (!test::MakeReadOnly(data + "/applications")) GTEST_SKIP() << "no read-only folders here";
  f.config.btn_ExtLinkClick();
  test::MakeWritable(data + "/applications");
  const std::string message = f.messages.back().toStdString();
  EXPECT_TRUE(message.starts_with("関連付に失敗しました。:kelux\n")) << message;
  EXPECT_NE(message.find(data + "/applications"), std::string::npos) << message;
  EXPECT_EQ(message.find("AFileExt"), std::string::npos);
}

}  // namespace
}  // namespace kelu
