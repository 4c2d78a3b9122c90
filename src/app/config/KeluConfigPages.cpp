// The tabs of the settings dialog. Every control is bound to one setting of
// the sample editor: changing the control changes the setting (and the
// sample shows it at once); LoadControls shows the settings again.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/config/ColorButton.h"
#include "app/config/KeluConfig.h"
#include "base/Cp932.h"
#include "editor/ex/EditorEx.h"

namespace kelu {

namespace {

QString FromSjis(const std::string& sjis) {
  return QString::fromStdString(cp932::ToUtf8(sjis));
}

// The text of a line edit as Shift-JIS (characters without a Shift-JIS form
// are dropped by the conversion's "?").
std::string ToSjis(const QString& text) {
  return cp932::FromUtf8(text.toStdString());
}

// The token colours of the colour list, after the text itself.
struct TTokenColorEntry {
  const char* caption;
  TFountainColor* (*color)(TEditorEx&);
};

TFountainColor* BracketColor(TEditorEx& e) {
  TFountainBracketCollection& brackets = e.View().Brackets();
  return brackets.Count() > 0 ? &brackets.Items(0)->ItemColor() : nullptr;
}

const TTokenColorEntry kTokenColors[] = {
    {"半角英数字", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Ank(); }},
    {"全角文字", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().DBCS(); }},
    {"数値", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Int(); }},
    {"記号", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Symbol(); }},
    {"文字列", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Str(); }},
    {"コメント", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Comment(); }},
    {"複数行コメント", BracketColor},
    {"予約語", [](TEditorEx& e) -> TFountainColor* { return e.View().Colors().Reserve(); }},
    {"URL", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Url(); }},
    {"メールアドレス", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Mail(); }},
    {"選択範囲", [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Select(); }},
    {"検索で見つかった文字列",
     [](TEditorEx& e) -> TFountainColor* { return &e.View().Colors().Hit(); }},
};

}  // namespace

// --------------------------------------------------------------- binding

QCheckBox* Tfm_Config::BindCheck(const QString& text, const QString& name,
                                 std::function<bool()> get, std::function<void(bool)> set) {
  auto* check = new QCheckBox(text);
  check->setObjectName(name);
  connect(check, &QCheckBox::toggled, this, [this, set](bool on) {
    if (!loading_) set(on);
  });
  loaders_.push_back([check, get] { check->setChecked(get()); });
  return check;
}

void Tfm_Config::BindMark(QGridLayout* grid, int row, const QString& text, const QString& name,
                          std::function<TEditorMark&()> mark) {
  QCheckBox* check = BindCheck(
      text, name, [mark] { return mark().Visible(); }, [mark](bool on) { mark().SetVisible(on); });
  auto* color = new TColorButton(QStringLiteral("色"), false);
  color->setObjectName(name + QStringLiteral("Color"));
  connect(color, &TColorButton::colorChanged, this, [this, mark](TColor c) {
    if (!loading_) mark().SetColor(c);
  });
  loaders_.push_back([color, mark] { color->ShowColor(mark().Color()); });
  grid->addWidget(check, row, 0);
  grid->addWidget(color, row, 1);
}

void Tfm_Config::LoadControls() {
  loading_ = true;
  for (const auto& load : loaders_) load();
  loading_ = false;
}

// ------------------------------------------------------------ 色の設定

TFountainColor* Tfm_Config::CurrentTokenColor() {
  const int row = colorList_->currentRow();
  if (row < 1 || row > static_cast<int>(std::size(kTokenColors))) return nullptr;
  return kTokenColors[row - 1].color(*conf_);
}

void Tfm_Config::ShowColorItem() {
  const bool text = colorList_->currentRow() == 0;
  TFountainColor* color = CurrentTokenColor();
  const bool loading = loading_;
  loading_ = true;
  fgButton_->setEnabled(text || color);
  bkButton_->setEnabled(text || color);
  for (QCheckBox* style : {boldCheck_, italicCheck_, underlineCheck_}) style->setEnabled(color);
  if (text) {
    fgButton_->ShowColor(conf_->Font().Color());
    bkButton_->ShowColor(conf_->Color());
  } else if (color) {
    fgButton_->ShowColor(color->Color());
    bkButton_->ShowColor(color->BkColor());
  }
  boldCheck_->setChecked(color && HasStyle(color->Style(), fsBold));
  italicCheck_->setChecked(color && HasStyle(color->Style(), fsItalic));
  underlineCheck_->setChecked(color && HasStyle(color->Style(), fsUnderline));
  loading_ = loading;
}

QWidget* Tfm_Config::CreateColorTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("Tab_EditColor"));

  fontButton_ = new QPushButton(QStringLiteral("フォントの設定"));
  fontButton_->setObjectName(QStringLiteral("btn_Font"));
  fontButton_->setDefault(true);
  connect(fontButton_, &QPushButton::clicked, this, [this] { btn_FontClick(); });
  fontLabel_ = new QLabel;
  fontLabel_->setObjectName(QStringLiteral("lbl_Font"));
  loaders_.push_back([this] {
    fontLabel_->setText(QStringLiteral("%1  %2 ポイント")
                            .arg(FromSjis(conf_->Font().Name()))
                            .arg(conf_->Font().Size()));
  });
  auto* fontRow = new QHBoxLayout;
  fontRow->addWidget(fontButton_);
  fontRow->addWidget(fontLabel_, 1);

  colorList_ = new QListWidget;
  colorList_->setObjectName(QStringLiteral("LB_Colors"));
  colorList_->addItem(QStringLiteral("テキスト"));
  for (const TTokenColorEntry& entry : kTokenColors) {
    colorList_->addItem(QString::fromUtf8(entry.caption));
  }
  colorList_->setCurrentRow(0);
  connect(colorList_, &QListWidget::currentRowChanged, this, [this] { ShowColorItem(); });

  fgButton_ = new TColorButton(QStringLiteral("文字色"), true);
  fgButton_->setObjectName(QStringLiteral("btn_TokenColor"));
  bkButton_ = new TColorButton(QStringLiteral("背景色"), true);
  bkButton_->setObjectName(QStringLiteral("btn_TokenBkColor"));
  connect(fgButton_, &TColorButton::colorChanged, this, [this](TColor c) {
    if (loading_) return;
    if (colorList_->currentRow() == 0) {
      conf_->Font().SetColor(c == clNone ? clWindowText : c);
    } else if (TFountainColor* color = CurrentTokenColor()) {
      color->SetColor(c);
    }
    ShowColorItem();
  });
  connect(bkButton_, &TColorButton::colorChanged, this, [this](TColor c) {
    if (loading_) return;
    if (colorList_->currentRow() == 0) {
      conf_->SetColor(c == clNone ? clWindow : c);
    } else if (TFountainColor* color = CurrentTokenColor()) {
      color->SetBkColor(c);
    }
    ShowColorItem();
  });
  auto styleCheck = [this](const QString& text, const QString& name, TFontStyle style) {
    auto* check = new QCheckBox(text);
    check->setObjectName(name);
    connect(check, &QCheckBox::toggled, this, [this, style](bool on) {
      if (loading_) return;
      if (TFountainColor* color = CurrentTokenColor()) {
        color->SetStyle(on ? color->Style() | StyleBit(style)
                           : color->Style() & static_cast<TFontStyles>(~StyleBit(style)));
      }
    });
    return check;
  };
  boldCheck_ = styleCheck(QStringLiteral("太字"), QStringLiteral("cb_StyleBold"), fsBold);
  italicCheck_ = styleCheck(QStringLiteral("斜体"), QStringLiteral("cb_StyleItalic"), fsItalic);
  underlineCheck_ =
      styleCheck(QStringLiteral("下線"), QStringLiteral("cb_StyleUnderline"), fsUnderline);
  loaders_.push_back([this] { ShowColorItem(); });

  auto* colorBox = new QVBoxLayout;
  colorBox->addWidget(fgButton_);
  colorBox->addWidget(bkButton_);
  colorBox->addWidget(boldCheck_);
  colorBox->addWidget(italicCheck_);
  colorBox->addWidget(underlineCheck_);
  colorBox->addStretch();
  auto* colors = new QHBoxLayout;
  colors->addWidget(colorList_, 1);
  colors->addLayout(colorBox);

  // What the colours apply to.
  auto* rules = new QGroupBox(QStringLiteral("色分けの対象"));
  auto* form = new QFormLayout(rules);
  auto bindEdit = [this](const QString& name, std::function<std::string()> get,
                         std::function<void(const std::string&)> set, int maxLength) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setMaxLength(maxLength);
    connect(edit, &QLineEdit::textChanged, this, [this, set](const QString& text) {
      if (!loading_) set(ToSjis(text));
    });
    loaders_.push_back([edit, get] {
      const QString text = FromSjis(get());
      if (edit->text() != text) edit->setText(text);
    });
    return edit;
  };
  form->addRow(QStringLiteral("行コメントの開始"),
               bindEdit(
                   QStringLiteral("ed_Commenter"), [this] { return conf_->View().Commenter(); },
                   [this](const std::string& s) { conf_->View().SetCommenter(s); }, 8));
  form->addRow(QStringLiteral("文字列の引用符"),
               bindEdit(
                   QStringLiteral("ed_Quotation"), [this] { return conf_->View().Quotation(); },
                   [this](const std::string& s) { conf_->View().SetQuotation(s); }, 1));
  // The first multi-line bracket: both texts empty remove it.
  auto bracketText = [this](bool left) {
    TFountainBracketCollection& b = conf_->View().Brackets();
    if (b.Count() == 0) return std::string();
    return left ? b.Items(0)->LeftBracket() : b.Items(0)->RightBracket();
  };
  auto setBracket = [this](bool left, const std::string& s) {
    TFountainBracketCollection& b = conf_->View().Brackets();
    if (b.Count() == 0) {
      if (s.empty()) return;
      b.Add();
    }
    TFountainBracketItem* item = b.Items(0);
    if (left) {
      item->SetLeftBracket(s);
    } else {
      item->SetRightBracket(s);
    }
    if (item->LeftBracket().empty() && item->RightBracket().empty()) b.Delete(0);
    ShowColorItem();
  };
  auto* bracketRow = new QHBoxLayout;
  bracketRow->addWidget(bindEdit(
      QStringLiteral("ed_BracketLeft"), [bracketText] { return bracketText(true); },
      [setBracket](const std::string& s) { setBracket(true, s); }, 8));
  bracketRow->addWidget(new QLabel(QStringLiteral("から")));
  bracketRow->addWidget(bindEdit(
      QStringLiteral("ed_BracketRight"), [bracketText] { return bracketText(false); },
      [setBracket](const std::string& s) { setBracket(false, s); }, 8));
  bracketRow->addWidget(new QLabel(QStringLiteral("まで")));
  form->addRow(QStringLiteral("複数行コメント"), bracketRow);
  auto* switches = new QHBoxLayout;
  switches->addWidget(BindCheck(
      QStringLiteral("URL"), QStringLiteral("cb_Url"), [this] { return conf_->View().Url(); },
      [this](bool on) { conf_->View().SetUrl(on); }));
  switches->addWidget(BindCheck(
      QStringLiteral("メールアドレス"), QStringLiteral("cb_Mail"),
      [this] { return conf_->View().Mail(); }, [this](bool on) { conf_->View().SetMail(on); }));
  switches->addWidget(BindCheck(
      QStringLiteral("制御コード（#13 など）"), QStringLiteral("cb_ControlCode"),
      [this] { return conf_->View().ControlCode(); },
      [this](bool on) { conf_->View().SetControlCode(on); }));
  form->addRow(switches);

  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(fontRow);
  layout->addLayout(colors, 1);
  layout->addWidget(rules);
  return tab;
}

// ------------------------------------------------------------ 表示の設定

QWidget* Tfm_Config::CreateViewTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("Tab_View"));

  auto* wrap = new QGroupBox(QStringLiteral("折り返し"));
  auto* wrapLayout = new QGridLayout(wrap);
  wrapLayout->addWidget(BindCheck(
                            QStringLiteral("右端で折り返す"), QStringLiteral("cb_WordWrap"),
                            [this] { return conf_->WordWrap(); },
                            [this](bool on) { conf_->SetWordWrap(on); }),
                        0, 0);
  auto* width = new QSpinBox;
  width->setObjectName(QStringLiteral("sp_WrapByte"));
  width->setRange(20, 250);
  width->setSuffix(QStringLiteral(" 桁"));
  connect(width, &QSpinBox::valueChanged, this, [this](int v) {
    if (!loading_) conf_->WrapOption().SetWrapByte(v);
  });
  loaders_.push_back([this, width] { width->setValue(conf_->WrapOption().WrapByte()); });
  auto* widthRow = new QHBoxLayout;
  widthRow->addWidget(new QLabel(QStringLiteral("折り返し桁数")));
  widthRow->addWidget(width);
  widthRow->addStretch();
  wrapLayout->addLayout(widthRow, 0, 1);
  auto wrapCheck = [this](const QString& text, const QString& name,
                          bool (TEditorWrapOption::*get)() const,
                          void (TEditorWrapOption::*set)(bool)) {
    return BindCheck(
        text, name, [this, get] { return (conf_->WrapOption().*get)(); },
        [this, set](bool on) { (conf_->WrapOption().*set)(on); });
  };
  wrapLayout->addWidget(wrapCheck(QStringLiteral("行頭禁則（閉じ括弧や句点を行頭に置かない）"),
                                  QStringLiteral("cb_Leading"), &TEditorWrapOption::Leading,
                                  &TEditorWrapOption::SetLeading),
                        1, 0, 1, 2);
  wrapLayout->addWidget(wrapCheck(QStringLiteral("句読点のぶら下げ"),
                                  QStringLiteral("cb_FollowPunctuation"),
                                  &TEditorWrapOption::FollowPunctuation,
                                  &TEditorWrapOption::SetFollowPunctuation),
                        2, 0, 1, 2);
  wrapLayout->addWidget(wrapCheck(QStringLiteral("英単語の途中で折り返さない"),
                                  QStringLiteral("cb_WordBreak"), &TEditorWrapOption::WordBreak,
                                  &TEditorWrapOption::SetWordBreak),
                        3, 0, 1, 2);
  wrapLayout->addWidget(wrapCheck(QStringLiteral("改行マークのぶら下げ"),
                                  QStringLiteral("cb_FollowRetMark"),
                                  &TEditorWrapOption::FollowRetMark,
                                  &TEditorWrapOption::SetFollowRetMark),
                        4, 0, 1, 2);

  auto* view = new QGroupBox(QStringLiteral("表示"));
  auto* viewLayout = new QGridLayout(view);
  auto* tabWidth = new QComboBox;
  tabWidth->setObjectName(QStringLiteral("cmb_TabSpaceCount"));
  for (int w : {2, 4, 6, 8}) tabWidth->addItem(QString::number(w), w);
  connect(tabWidth, &QComboBox::currentIndexChanged, this, [this, tabWidth](int) {
    if (!loading_) conf_->Caret().SetTabSpaceCount(tabWidth->currentData().toInt());
  });
  loaders_.push_back([this, tabWidth] {
    tabWidth->setCurrentIndex(tabWidth->findData(conf_->Caret().TabSpaceCount()));
  });
  viewLayout->addWidget(new QLabel(QStringLiteral("タブの幅")), 0, 0);
  viewLayout->addWidget(tabWidth, 0, 1);
  viewLayout->addWidget(BindCheck(
                            QStringLiteral("行番号を表示する"), QStringLiteral("cb_Leftbar"),
                            [this] { return conf_->Leftbar().Visible(); },
                            [this](bool on) { conf_->Leftbar().SetVisible(on); }),
                        1, 0);
  auto* numberMode = new QComboBox;
  numberMode->setObjectName(QStringLiteral("cmb_ShowNumberMode"));
  numberMode->addItem(QStringLiteral("表示行を数える"), nmRow);
  numberMode->addItem(QStringLiteral("改行までを1行と数える"), nmLine);
  connect(numberMode, &QComboBox::currentIndexChanged, this, [this, numberMode](int) {
    if (!loading_) {
      conf_->Leftbar().SetShowNumberMode(
          static_cast<TEditorShowNumberMode>(numberMode->currentData().toInt()));
    }
  });
  loaders_.push_back([this, numberMode] {
    numberMode->setCurrentIndex(numberMode->findData(conf_->Leftbar().ShowNumberMode()));
  });
  viewLayout->addWidget(numberMode, 1, 1);
  viewLayout->addWidget(BindCheck(
                            QStringLiteral("ルーラーを表示する"), QStringLiteral("cb_Ruler"),
                            [this] { return conf_->Ruler().Visible(); },
                            [this](bool on) { conf_->Ruler().SetVisible(on); }),
                        2, 0);
  viewLayout->addWidget(BindCheck(
                            QStringLiteral("イメージバーを表示する"),
                            QStringLiteral("cb_Imagebar"),
                            [this] { return conf_->Imagebar().Visible(); },
                            [this](bool on) { conf_->Imagebar().SetVisible(on); }),
                        3, 0);

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(wrap);
  layout->addWidget(view);
  layout->addStretch();
  return tab;
}

// ---------------------------------------------------------- マークの設定

QWidget* Tfm_Config::CreateMarksTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("Tab_Marks"));
  auto* grid = new QGridLayout;
  TEditorEx* e = conf_;
  struct TMarkEntry {
    const char* caption;
    const char* name;
    TEditorMark& (*mark)(TEditorEx&);
  };
  static const TMarkEntry marks[] = {
      {"改行マーク", "cb_RetMark", [](TEditorEx& x) -> TEditorMark& { return x.Marks().RetMark(); }},
      {"折り返しマーク", "cb_WrapMark",
       [](TEditorEx& x) -> TEditorMark& { return x.Marks().WrapMark(); }},
      {"[EOF] マーク", "cb_EofMark",
       [](TEditorEx& x) -> TEditorMark& { return x.Marks().EofMark(); }},
      {"タブ", "cb_TabMark", [](TEditorEx& x) -> TEditorMark& { return x.ExMarks().TabMark(); }},
      {"全角スペース", "cb_DBSpaceMark",
       [](TEditorEx& x) -> TEditorMark& { return x.ExMarks().DBSpaceMark(); }},
      {"半角スペース", "cb_SpaceMark",
       [](TEditorEx& x) -> TEditorMark& { return x.ExMarks().SpaceMark(); }},
      {"カーソル行の下線", "cb_Underline",
       [](TEditorEx& x) -> TEditorMark& { return x.Marks().Underline(); }},
      {"カーソル行の背景", "cb_CurrentLine",
       [](TEditorEx& x) -> TEditorMark& { return x.ExMarks().CurrentLine(); }},
      {"対応する括弧", "cb_ParenMark",
       [](TEditorEx& x) -> TEditorMark& { return x.ExMarks().ParenMark(); }},
      {"偶数行の背景", "cb_EvenLine",
       [](TEditorEx& x) -> TEditorMark& { return x.ExMarks().EvenLine(); }},
  };
  int row = 0;
  for (const TMarkEntry& m : marks) {
    BindMark(grid, row++, QString::fromUtf8(m.caption), QString::fromUtf8(m.name),
             [e, f = m.mark]() -> TEditorMark& { return f(*e); });
  }
  grid->setColumnStretch(2, 1);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(grid);
  layout->addStretch();
  return tab;
}

// ------------------------------------------------------------ 検索の設定

QWidget* Tfm_Config::CreateSearchTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("Tab_Search"));
  auto* options = new QGroupBox(QStringLiteral("検索の方法"));
  auto* optionLayout = new QVBoxLayout(options);
  auto optionCheck = [this](const QString& text, const QString& name, TExSearchOption option) {
    return BindCheck(
        text, name, [this, option] { return conf_->ExSearchOptions().Contains(option); },
        [this, option](bool on) {
          TExSearchOptions o = conf_->ExSearchOptions();
          if (on) {
            o.Include(option);
          } else {
            o.Exclude(option);
          }
          conf_->SetExSearchOptions(o);
        });
  };
  optionLayout->addWidget(
      optionCheck(QStringLiteral("正規表現で探す"), QStringLiteral("cb_Regexp"), soRegexp));
  optionLayout->addWidget(optionCheck(QStringLiteral("大文字と小文字を区別する"),
                                      QStringLiteral("cb_MatchCase"), soMatchCase));
  optionLayout->addWidget(optionCheck(QStringLiteral("単語単位で探す"),
                                      QStringLiteral("cb_WholeWord"), soWholeWord));
  optionLayout->addWidget(optionCheck(QStringLiteral("エスケープシーケンス（\\t \\n など）を使う"),
                                      QStringLiteral("cb_EscSeq"), soEscSeq));

  auto* hits = new QGroupBox(QStringLiteral("見つかった文字列"));
  auto* hitLayout = new QGridLayout(hits);
  auto* hitStyle = new QComboBox;
  hitStyle->setObjectName(QStringLiteral("cmb_HitStyle"));
  hitStyle->addItem(QStringLiteral("選択する"), hsSelect);
  hitStyle->addItem(QStringLiteral("色を付けて示す"), hsDraw);
  hitStyle->addItem(QStringLiteral("先頭にキャレットを置く"), hsCaret);
  connect(hitStyle, &QComboBox::currentIndexChanged, this, [this, hitStyle](int) {
    if (!loading_) {
      conf_->SetHitStyle(static_cast<TEditorHitStyle>(hitStyle->currentData().toInt()));
    }
  });
  loaders_.push_back(
      [this, hitStyle] { hitStyle->setCurrentIndex(hitStyle->findData(conf_->HitStyle())); });
  hitLayout->addWidget(new QLabel(QStringLiteral("示し方")), 0, 0);
  hitLayout->addWidget(hitStyle, 0, 1);
  TEditorEx* e = conf_;
  BindMark(hitLayout, 1, QStringLiteral("画面上のすべてに下線を引く"), QStringLiteral("cb_FindMark"),
           [e]() -> TEditorMark& { return e->ExMarks().FindMark(); });

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(options);
  layout->addWidget(hits);
  layout->addStretch();
  return tab;
}

// ------------------------------------------------------ ファイルの関連付け

QWidget* Tfm_Config::CreateExtLinkTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("Tab_ExtLink"));
  auto* group = new QGroupBox(QStringLiteral("　Keluエディタに関連付けされている拡張子　"));
  extList_ = new QListWidget;
  extList_->setObjectName(QStringLiteral("LB_ExtLink"));
  extEdit_ = new QLineEdit;
  extEdit_->setObjectName(QStringLiteral("Ed_ExtLink"));
  extEdit_->setMaxLength(5);
  auto* add = new QPushButton(QStringLiteral("追加"));
  add->setObjectName(QStringLiteral("btn_ExtAdd"));
  add->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, [this] { btn_ExtAddClick(); });
  connect(extEdit_, &QLineEdit::returnPressed, this, [this] { btn_ExtAddClick(); });
  auto* link = new QPushButton(QStringLiteral("指定した拡張子の関連付を実行"));
  link->setObjectName(QStringLiteral("btn_ExtLink"));
  link->setAutoDefault(false);
  connect(link, &QPushButton::clicked, this, [this] { btn_ExtLinkClick(); });
  auto* unlink = new QPushButton(QStringLiteral("指定した拡張子の関連付を解除"));
  unlink->setObjectName(QStringLiteral("btn_ExtLinkDel"));
  unlink->setAutoDefault(false);
  connect(unlink, &QPushButton::clicked, this, [this] { btn_ExtLinkDelClick(); });

  auto* addRow = new QHBoxLayout;
  addRow->addWidget(extEdit_);
  addRow->addWidget(add);
  auto* side = new QVBoxLayout;
  side->addLayout(addRow);
  side->addWidget(link);
  side->addWidget(unlink);
  side->addStretch();
  auto* groupLayout = new QHBoxLayout(group);
  groupLayout->addWidget(extList_, 1);
  groupLayout->addLayout(side);
  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(group);
  return tab;
}

}  // namespace kelu
