// kelu-shot: renders a file in the editor control without a screen and
// writes the picture, for looking at the drawing and for tests.
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/encoding/Encodings.h"
#include "base/Exceptions.h"
#include "editor/ex/EditorEx.h"

namespace {

void Usage() {
  std::fputs(
      "使い方: kelu-shot FILE OUT.png [--width PX] [--height PX] [--wrap N] [--ruler]\n"
      "                 [--leftbar] [--line-numbers] [--marks] [--select R1,C1,R2,C2] [--box]\n"
      "                 [--caret R,C] [--top ROW] [--left COL] [--row-mark ROW:MARK]...\n"
      "                 [--font NAME] [--size PT] [--tab N] [--scroll-bars]\n"
      "                 [--crop X,Y,W,H] [--zoom N] [--colors] [--hit]\n"
      "                 [--ex-marks] [--find PATTERN] [--regexp] [--guide COL]...\n"
      "  --marks        行末・折り返し・[EOF]・下線のマークを表示\n"
      "  --line-numbers 左の欄に行番号ではなく論理行の番号を表示\n"
      "  --row-mark     行マーク (0-9 数字, 10-15 図形) を付ける\n"
      "  --crop, --zoom 画像の一部を切り出す / 整数倍に拡大する (確認用)\n"
      "  --colors       見本の配色 (コメント //, 文字列 \", 数値, URL, メール, 予約語 int return)\n"
      "  --hit          選択の代わりに検索の一致を表示 (HitStyle hsDraw)\n"
      "  --ex-marks     タブ・空白・全角空白・対応する括弧・カーソル行のマークを表示\n"
      "  --find         検索文字列 (UTF-8) の一致すべてに下線と色を付ける (--regexp で正規表現)\n"
      "  --guide        桁 COL に縦線を引く\n",
      stderr);
}

bool ParseInts(const char* text, std::vector<int>& out, char separator) {
  out.clear();
  std::string s(text);
  std::size_t pos = 0;
  while (true) {
    std::size_t end = s.find(separator, pos);
    std::string part = s.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
    char* stop = nullptr;
    long v = std::strtol(part.c_str(), &stop, 10);
    if (part.empty() || *stop) return false;
    out.push_back(static_cast<int>(v));
    if (end == std::string::npos) return true;
    pos = end + 1;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
      !std::getenv("WAYLAND_DISPLAY")) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  if (argc < 3) {
    Usage();
    return 2;
  }
  const std::string file = argv[1];
  const std::string out = argv[2];
  int width = 800, height = 600, wrap = 0, top = 0, left = 0, tab = 0, size = 0;
  bool exMarks = false, regexp = false;
  std::string findString;
  std::vector<int> guides;
  bool ruler = false, leftbar = false, lineNumbers = false, marks = false, box = false,
       scrollBars = false, colors = false, hit = false;
  std::vector<int> select, caret, crop;
  int zoom = 1;
  std::vector<std::vector<int>> rowMarks;
  std::string font;
  for (int i = 3; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> const char* {
      if (i + 1 >= argc) {
        std::fprintf(stderr, "kelu-shot: %s の値がありません\n", a.c_str());
        std::exit(2);
      }
      return argv[++i];
    };
    std::vector<int> v;
    if (a == "--width") {
      width = std::atoi(value());
    } else if (a == "--height") {
      height = std::atoi(value());
    } else if (a == "--wrap") {
      wrap = std::atoi(value());
    } else if (a == "--top") {
      top = std::atoi(value());
    } else if (a == "--left") {
      left = std::atoi(value());
    } else if (a == "--tab") {
      tab = std::atoi(value());
    } else if (a == "--size") {
      size = std::atoi(value());
    } else if (a == "--font") {
      font = value();
    } else if (a == "--ruler") {
      ruler = true;
    } else if (a == "--leftbar") {
      leftbar = true;
    } else if (a == "--line-numbers") {
      leftbar = lineNumbers = true;
    } else if (a == "--marks") {
      marks = true;
    } else if (a == "--box") {
      box = true;
    } else if (a == "--colors") {
      colors = true;
    } else if (a == "--hit") {
      hit = true;
    } else if (a == "--ex-marks") {
      exMarks = true;
    } else if (a == "--find") {
      findString = value();
    } else if (a == "--regexp") {
      regexp = true;
    } else if (a == "--guide") {
      guides.push_back(std::atoi(value()));
    } else if (a == "--scroll-bars") {
      scrollBars = true;
    } else if (a == "--select") {
      if (!ParseInts(value(), select, ',') || select.size() != 4) {
        std::fputs("kelu-shot: --select には R1,C1,R2,C2 を指定してください\n", stderr);
        return 2;
      }
    } else if (a == "--crop") {
      if (!ParseInts(value(), crop, ',') || crop.size() != 4) {
        std::fputs("kelu-shot: --crop には X,Y,W,H を指定してください\n", stderr);
        return 2;
      }
    } else if (a == "--zoom") {
      zoom = std::max(1, std::atoi(value()));
    } else if (a == "--caret") {
      if (!ParseInts(value(), caret, ',') || caret.size() != 2) {
        std::fputs("kelu-shot: --caret には R,C を指定してください\n", stderr);
        return 2;
      }
    } else if (a == "--row-mark") {
      if (!ParseInts(value(), v, ':') || v.size() != 2) {
        std::fputs("kelu-shot: --row-mark には ROW:MARK を指定してください\n", stderr);
        return 2;
      }
      rowMarks.push_back(v);
    } else {
      std::fprintf(stderr, "kelu-shot: 不明なオプションです: %s\n", a.c_str());
      Usage();
      return 2;
    }
  }

  QApplication app(argc, argv);
  kelu::DecodedDocument doc;
  try {
    doc = kelu::DecodeDocument(kelu::ReadFileBytes(file));
  } catch (const kelu::Exception& e) {
    std::fprintf(stderr, "kelu-shot: %s\n", e.what());
    return 1;
  }
  if (doc.mojiCode == kelu::moji::kBinary) {
    std::fprintf(stderr, "kelu-shot: 「%s」はバイナリファイルのため表示できません\n", file.c_str());
    return 1;
  }

  kelu::TEditorEx editor;
  editor.resize(width, height);
  if (!font.empty()) editor.Font().SetName(font);
  if (size > 0) editor.Font().SetSize(size);
  if (tab > 0) editor.Caret().SetTabSpaceCount(tab);
  if (scrollBars) editor.SetScrollBars(kelu::ssBoth);
  editor.Ruler().SetVisible(ruler);
  editor.Leftbar().SetVisible(leftbar);
  if (lineNumbers) editor.Leftbar().SetShowNumberMode(kelu::nmLine);
  if (marks) {
    editor.Marks().RetMark().SetVisible(true);
    editor.Marks().WrapMark().SetVisible(true);
    editor.Marks().HideMark().SetVisible(true);
    editor.Marks().EofMark().SetVisible(true);
    editor.Marks().Underline().SetVisible(true);
  }
  if (colors) {
    kelu::TEditorViewInfo& view = editor.View();
    view.SetCommenter("//");
    view.SetQuotation("\"");
    view.SetUrl(true);
    view.SetMail(true);
    kelu::TEditorColors& c = view.Colors();
    c.Comment().SetColor(kelu::clGreen);
    c.Comment().SetStyle(kelu::StyleBit(kelu::fsItalic));
    c.Str().SetColor(kelu::clMaroon);
    c.Str().SetBkColor(kelu::clCream);
    c.Int().SetColor(kelu::clBlue);
    c.Url().SetColor(kelu::clBlue);
    c.Url().SetStyle(kelu::StyleBit(kelu::fsUnderline));
    c.Mail().SetColor(kelu::clPurple);
    c.Mail().SetStyle(kelu::StyleBit(kelu::fsUnderline));
    c.Reserve()->SetColor(kelu::clNavy);
    c.Reserve()->SetStyle(kelu::StyleBit(kelu::fsBold));
    kelu::TStringList words;
    words.Add("int");
    words.Add("return");
    editor.SetReserveWordList(words);
  }
  if (hit) editor.SetHitStyle(kelu::hsDraw);
  if (exMarks) {
    kelu::TEditorExMarks& x = editor.ExMarks();
    x.TabMark().SetVisible(true);
    x.SpaceMark().SetVisible(true);
    x.DBSpaceMark().SetVisible(true);
    x.ParenMark().SetVisible(true);
    x.ParenMark().SetColor(kelu::clNavy);
    x.CurrentLine().SetVisible(true);
    x.CurrentLine().SetColor(kelu::clCream);
  }
  if (!findString.empty()) {
    kelu::TEditorExMarks& x = editor.ExMarks();
    x.FindMark().SetVisible(true);
    x.FindMark().SetColor(kelu::clRed);
    x.Hit().SetBkColor(kelu::clYellow);
    kelu::TExSearchOptions options;
    if (regexp) options.Include(kelu::soRegexp);
    editor.SetExSearchOptions(options);
    // The pattern in the document's codes (the codec is set below, before
    // anything is painted).
    editor.SetFindString(doc.codec.FromUtf8(findString));
  }
  for (int col : guides) {
    kelu::TVerticalLine* line = editor.VerticalLines().Add();
    line->SetPosition(col);
    line->SetColor(kelu::clTeal);
  }
  if (wrap > 0) {
    editor.WrapOption().SetWrapByte(wrap);
    editor.SetWordWrap(true);
  }
  editor.Lines().SetTextStr(doc.text);
  editor.SetCodec(doc.codec);
  for (const std::vector<int>& m : rowMarks) editor.PutRowMark(m[0], m[1]);
  editor.show();
  QApplication::processEvents();
  if (box) editor.SetSelectionMode(kelu::smBox);
  if (select.size() == 4 && hit) {
    editor.SetRowCol(select[0], select[1]);
    const int start = editor.SelStart();
    editor.SetRowCol(select[2], select[3]);
    const int end = editor.SelStart();
    editor.SetSelStart(std::min(start, end));
    editor.ShowHit(std::abs(end - start));
  } else if (select.size() == 4) {
    editor.SetRowCol(select[0], select[1]);
    editor.StartSelection();
    editor.SetRowCol(select[2], select[3]);
    editor.UpdateSelection();
  } else if (caret.size() == 2) {
    editor.SetRowCol(caret[0], caret[1]);
  } else {
    editor.SetRowCol(0, 0);
  }
  editor.SetTopRow(top);
  editor.SetTopCol(left);
  QApplication::processEvents();
  QImage picture = editor.grab().toImage();
  if (crop.size() == 4) picture = picture.copy(crop[0], crop[1], crop[2], crop[3]);
  if (zoom > 1)
    picture = picture.scaled(picture.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!picture.save(QString::fromLocal8Bit(out.c_str()), "PNG")) {
    std::fprintf(stderr, "kelu-shot: 「%s」に書き込めません\n", out.c_str());
    return 1;
  }
  return 0;
}
