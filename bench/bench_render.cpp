// The editor control on the screen, next to QPlainTextEdit and QScintilla:
// the same Shift-JIS files (10 MB and 100 MB), window size, font and word
// wrap at the window's width, offscreen.
//
//   1. Open: from the bytes on disk to the first painted screen (read,
//      decode to the widget's text form, set the text, paint).
//   2. End: jump to the end of the text and paint.
//   3. Key: one character typed in the middle of the text, until its repaint
//      is done (for TEditor a ReplaceRows of the caret row; the key handler
//      comes later). The median of 21 keystrokes.
//
// Each widget and size runs in a child process of its own (same program,
// --one WIDGET MB), so that one widget's memory does not weigh on the next.
//
//   bench_render                 all widgets, 10 and 100 MB
//   bench_render --sizes 10      only 10 MB
//   bench_render --widgets teditor,plain
#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollBar>
#include <QTextBlock>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "app/encoding/Encodings.h"
#include "base/Cp932.h"
#include "bench/common/JapaneseText.h"
#include "bench/common/PaintCounter.h"
#include "bench/common/Stopwatch.h"
#include "editor/control/Editor.h"
#include "editor/control/EditorGlyphs.h"

namespace {

using kelu::bench::Clock;
using kelu::bench::Ms;

constexpr int kWidth = 1000;
constexpr int kHeight = 700;
constexpr int kKeys = 21;

struct Result {
  double open = 0;
  double end = 0;
  double key = 0;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The font of all three: what TEditor shows for its default face.
QFont BenchFont() {
  return kelu::ScreenFontOf(kelu::TFont());
}

using kelu::bench::TPaintCounter;

TPaintCounter* counter = nullptr;
int missedPaints = 0;

// Paints what is pending: the posted update requests and their paints. A
// flush that painted nothing is counted (the figures would then not include
// a paint).
void Flush() {
  const int before = counter ? counter->paints : 0;
  QApplication::processEvents();
  if (counter && counter->paints == before) ++missedPaints;
}

// ------------------------------------------------------------------ TEditor

Result RunTEditor(const std::string& path) {
  Result r;
  kelu::TEditor editor;
  editor.resize(kWidth, kHeight);
  editor.SetScrollBars(kelu::ssBoth);
  editor.show();
  TPaintCounter paints(editor.viewport());
  counter = &paints;
  Flush();
  editor.WrapOption().SetWrapByte(editor.VisibleCols());
  editor.SetWordWrap(true);
  Flush();

  auto t = Clock::now();
  kelu::DecodedDocument doc = kelu::DecodeDocument(kelu::ReadFileBytes(path));
  const double decoded = Ms(t);
  editor.Lines().SetTextStr(doc.text);
  const double set = Ms(t);
  editor.viewport()->repaint();
  r.open = Ms(t);
  if (std::getenv("KELU_BENCH_DETAIL")) {
    std::fprintf(stderr,
                 "TEditor open (WrapByte %d): read+decode %.1f ms, text set (split, wrap) %.1f ms, "
                 "paint %.1f "
                 "ms, %d rows\n",
                 editor.WrapOption().WrapByte(), decoded, set - decoded, r.open - set,
                 editor.RowCount());
  }
  doc = {};

  t = Clock::now();
  editor.SetTopRow(editor.RowCount() - editor.VisibleRows() + 1);
  Flush();
  r.end = Ms(t);

  const int row = editor.RowCount() / 2;
  editor.SetTopRow(row - editor.VisibleRows() / 2);
  editor.SetRowCol(row, 4);
  Flush();
  kelu::TEditorScreenStrings& rows = editor.ScreenStrings();
  std::vector<double> keys;
  for (int i = 0; i < kKeys; ++i) {
    t = Clock::now();
    const int r0 = editor.Row();
    std::string text(rows.View(r0));
    const int byte = std::min<int>(4 + i, static_cast<int>(text.size()));
    text.insert(static_cast<std::size_t>(byte), 1, 'x');
    if (rows.RowAttributes(r0) == kelu::raBreak) text += "\r\n";
    rows.ReplaceRows(r0, 1, text);
    Flush();
    keys.push_back(Ms(t));
  }
  r.key = Median(keys);
  return r;
}

// -------------------------------------------------------------- QPlainTextEdit

QString DecodeToQString(const std::string& path) {
  const std::string bytes = kelu::ReadFileBytes(path);
  return QString::fromUtf8(kelu::cp932::ToUtf8(bytes));
}

Result RunPlain(const std::string& path) {
  Result r;
  QPlainTextEdit edit;
  edit.setFont(BenchFont());
  edit.setLineWrapMode(QPlainTextEdit::WidgetWidth);
  edit.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  edit.resize(kWidth, kHeight);
  edit.show();
  TPaintCounter paints(edit.viewport());
  counter = &paints;
  Flush();

  auto t = Clock::now();
  edit.setPlainText(DecodeToQString(path));
  edit.viewport()->repaint();
  r.open = Ms(t);

  t = Clock::now();
  edit.moveCursor(QTextCursor::End);
  edit.ensureCursorVisible();
  Flush();
  r.end = Ms(t);

  QTextCursor c(edit.document()->findBlockByNumber(edit.document()->blockCount() / 2));
  c.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 4);
  edit.setTextCursor(c);
  edit.ensureCursorVisible();
  Flush();
  std::vector<double> keys;
  for (int i = 0; i < kKeys; ++i) {
    t = Clock::now();
    edit.insertPlainText(QStringLiteral("x"));
    Flush();
    keys.push_back(Ms(t));
  }
  r.key = Median(keys);
  return r;
}

// ----------------------------------------------------------------- QScintilla

Result RunScintilla(const std::string& path) {
  Result r;
  QsciScintilla sci;
  sci.setUtf8(true);
  sci.setFont(BenchFont());
  sci.setWrapMode(QsciScintilla::WrapWord);
  sci.setMarginWidth(1, 0);
  sci.resize(kWidth, kHeight);
  sci.show();
  TPaintCounter paints(sci.viewport());
  counter = &paints;
  Flush();

  auto t = Clock::now();
  {
    const std::string utf8 = kelu::cp932::ToUtf8(kelu::ReadFileBytes(path));
    sci.SendScintilla(QsciScintillaBase::SCI_SETTEXT, static_cast<unsigned long>(0), utf8.c_str());
  }
  sci.viewport()->repaint();
  r.open = Ms(t);

  t = Clock::now();
  sci.SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
  Flush();
  r.end = Ms(t);

  const int line = sci.lines() / 2;
  sci.setCursorPosition(line, 4);
  sci.ensureLineVisible(line);
  Flush();
  std::vector<double> keys;
  for (int i = 0; i < kKeys; ++i) {
    t = Clock::now();
    sci.SendScintilla(QsciScintillaBase::SCI_ADDTEXT, static_cast<unsigned long>(1), "x");
    Flush();
    keys.push_back(Ms(t));
  }
  r.key = Median(keys);
  return r;
}

int RunOne(const std::string& widget, int megabytes) {
  const std::string path = kelu::bench::CachedJapaneseTextFile(
      kelu::bench::TextEncoding::kSjis, static_cast<std::size_t>(megabytes) * kelu::bench::kMiB);
  Result r;
  if (widget == "teditor") {
    r = RunTEditor(path);
  } else if (widget == "plain") {
    r = RunPlain(path);
  } else if (widget == "qsci") {
    r = RunScintilla(path);
  } else {
    std::fprintf(stderr, "unknown widget %s\n", widget.c_str());
    return 2;
  }
  counter = nullptr;
  if (missedPaints > 0)
    std::fprintf(stderr, "%s: %d flushes painted nothing\n", widget.c_str(), missedPaints);
  std::printf("%.1f %.1f %.2f\n", r.open, r.end, r.key);
  return 0;
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> parts;
  std::size_t pos = 0;
  while (pos <= s.size()) {
    std::size_t end = s.find(',', pos);
    if (end == std::string::npos) end = s.size();
    if (end > pos) parts.push_back(s.substr(pos, end - pos));
    pos = end + 1;
  }
  return parts;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::vector<std::string> widgets = {"teditor", "plain", "qsci"};
  std::vector<std::string> sizes = {"10", "100"};
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--one" && i + 2 < argc) {
      QApplication app(argc, argv);
      return RunOne(argv[i + 1], std::atoi(argv[i + 2]));
    }
    if (a == "--widgets" && i + 1 < argc) widgets = Split(argv[++i]);
    if (a == "--sizes" && i + 1 < argc) sizes = Split(argv[++i]);
  }
  QCoreApplication app(argc, argv);
  // Make the test files first, outside the timings.
  for (const std::string& s : sizes) {
    kelu::bench::CachedJapaneseTextFile(
        kelu::bench::TextEncoding::kSjis,
        static_cast<std::size_t>(std::atoi(s.c_str())) * kelu::bench::kMiB);
  }
  const std::map<std::string, std::string> names = {
      {"teditor", "TEditor"}, {"plain", "QPlainTextEdit"}, {"qsci", "QScintilla"}};
  std::printf("%-16s %6s %12s %12s %12s\n", "widget", "MB", "open ms", "end ms", "key ms");
  for (const std::string& s : sizes) {
    for (const std::string& w : widgets) {
      QProcess child;
      child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
      child.start(QString::fromLocal8Bit(argv[0]),
                  {QStringLiteral("--one"), QString::fromStdString(w), QString::fromStdString(s)});
      child.waitForFinished(-1);
      const QString out = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
      const QStringList f = out.split(u' ');
      const std::string name = names.count(w) ? names.at(w) : w;
      if (child.exitCode() != 0 || f.size() != 3) {
        std::printf("%-16s %6s   failed (exit %d)\n", name.c_str(), s.c_str(), child.exitCode());
        continue;
      }
      std::printf("%-16s %6s %12s %12s %12s\n", name.c_str(), s.c_str(), qPrintable(f[0]),
                  qPrintable(f[1]), qPrintable(f[2]));
      std::fflush(stdout);
    }
  }
  return 0;
}
