// Typing into the editor control, offscreen, through the same key events a
// window system delivers (QKeyEvent -> key layer -> key and character
// messages -> editing operation -> ReplaceRows -> repaint):
//
//   1. Keystroke: a key pressed in the middle of a large Shift-JIS text
//      (100 MB by default), from sending the key event until the row is
//      repainted. Cases: an ASCII letter, a double-byte character (lead and
//      trail byte messages), Backspace, Enter (auto-indent), Delete. Word
//      wrap off and on (at the window's width), line numbers shown.
//   2. Held key: 200 auto-repeated key events queued at once, as a window
//      system queues them when the program falls behind, then the event
//      loop runs until the queue is empty. The edits all happen, the paints
//      are coalesced (update()), and the total time is bounded.
//
//   bench_typing               100 MB, both wrap modes
//   bench_typing --mb 10       another size
//   bench_typing --keys 101    keystrokes per case (median, p95, max)
//   bench_typing --numbers 0   without line numbers
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/common/JapaneseText.h"
#include "bench/common/PaintCounter.h"
#include "bench/common/Stopwatch.h"
#include "editor/control/Editor.h"

namespace {

using kelu::bench::Clock;
using kelu::bench::Ms;

constexpr int kWidth = 1000;
constexpr int kHeight = 700;

using kelu::bench::TPaintCounter;

struct Stats {
  double median = 0, p95 = 0, max = 0;
  int missed = 0;  // keystrokes after which nothing was painted
};

Stats Summarize(std::vector<double> v, int missed) {
  std::sort(v.begin(), v.end());
  Stats s;
  s.median = v[v.size() / 2];
  s.p95 = v[std::min(v.size() - 1, v.size() * 95 / 100)];
  s.max = v.back();
  s.missed = missed;
  return s;
}

void SendKey(QWidget* target, int key, const QString& text, bool autoRepeat = false) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text, autoRepeat);
  QApplication::sendEvent(target, &press);
  if (autoRepeat) return;
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &release);
}

struct KeyCase {
  const char* name;
  int key;
  const char* text;  // UTF-8
};

const KeyCase kCases[] = {
    {"ASCII letter", Qt::Key_X, "x"},     {"double-byte character", Qt::Key_unknown, "漢"},
    {"Backspace", Qt::Key_Backspace, ""}, {"Enter (auto-indent)", Qt::Key_Return, ""},
    {"Delete", Qt::Key_Delete, ""},
};

void Run(const std::string& text, bool wordWrap, int keys, bool numbers) {
  kelu::TEditor editor;
  editor.resize(kWidth, kHeight);
  editor.SetScrollBars(kelu::ssBoth);
  editor.Ruler().SetVisible(true);
  editor.Leftbar().SetVisible(numbers);
  editor.Leftbar().SetShowNumberMode(kelu::nmLine);
  editor.Marks().RetMark().SetVisible(true);
  editor.Marks().Underline().SetVisible(true);
  editor.show();
  editor.setFocus();
  TPaintCounter paints(editor.viewport());
  QApplication::processEvents();
  if (wordWrap) {
    editor.WrapOption().SetWrapByte(std::min(editor.VisibleCols(), 250));
    editor.SetWordWrap(true);
  }
  auto t = Clock::now();
  editor.Lines().SetTextStr(text);
  QApplication::processEvents();
  std::printf("\nword wrap %s: %d rows, text set and shown in %.0f ms\n", wordWrap ? "on" : "off",
              editor.RowCount(), Ms(t));

  auto place = [&] {
    const int row = editor.RowCount() / 2;
    editor.SetTopRow(row - editor.VisibleRows() / 2);
    editor.SetRowCol(row, 6);
    QApplication::processEvents();
  };
  std::printf("  %-24s %9s %9s %9s %8s\n", "keystroke", "median", "p95", "max", "unpainted");
  for (const KeyCase& c : kCases) {
    place();
    std::vector<double> times;
    int missed = 0;
    for (int i = 0; i < keys; ++i) {
      const int before = paints.paints;
      t = Clock::now();
      SendKey(&editor, c.key, QString::fromUtf8(c.text));
      QApplication::processEvents();  // the posted update: the paint
      times.push_back(Ms(t));
      if (paints.paints == before) ++missed;
    }
    const Stats s = Summarize(times, missed);
    std::printf("  %-24s %7.3f ms %6.3f ms %6.3f ms %8d\n", c.name, s.median, s.p95, s.max,
                s.missed);
  }

  // A held key: the window system's auto-repeat events pile up in the
  // queue; they are all handled and painted once.
  struct Held {
    const char* name;
    int key;
    const char* text;
  };
  const Held held[] = {{"x held", Qt::Key_X, "x"}, {"Down held", Qt::Key_Down, ""}};
  constexpr int kRepeats = 200;
  for (const Held& h : held) {
    place();
    const int length = editor.GetTextLength();
    const int row = editor.Row();
    for (int i = 0; i < kRepeats; ++i) {
      QApplication::postEvent(&editor, new QKeyEvent(QEvent::KeyPress, h.key, Qt::NoModifier,
                                                     QString::fromUtf8(h.text), true));
    }
    const int paintsBefore = paints.paints;
    t = Clock::now();
    // Until the queue is drained and the result is painted.
    do {
      QApplication::processEvents();
    } while (paints.paints == paintsBefore && Ms(t) < 5000);
    const double total = Ms(t);
    // The key goes up: the release of a held key.
    QKeyEvent release(QEvent::KeyRelease, h.key, Qt::NoModifier, QString::fromUtf8(h.text));
    QApplication::sendEvent(&editor, &release);
    // Down moves faster once the caret is on the last visible row.
    const bool handled = h.key == Qt::Key_Down ? editor.Row() >= row + kRepeats
                                               : editor.GetTextLength() >= length + kRepeats;
    std::printf("  %-10s %d auto-repeats: %.1f ms in all (%.3f ms each), %d paint(s), %s\n", h.name,
                kRepeats, total, total / kRepeats, paints.paints - paintsBefore,
                handled ? "all handled" : "NOT ALL HANDLED");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int mb = 100;
  int keys = 101;
  bool numbers = true;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--mb") == 0) mb = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--keys") == 0) keys = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--numbers") == 0) numbers = std::atoi(argv[i + 1]) != 0;
  }
  QApplication app(argc, argv);
  const std::string text = kelu::bench::ReadWholeFile(kelu::bench::CachedJapaneseTextFile(
      kelu::bench::TextEncoding::kSjis, static_cast<std::size_t>(mb) * kelu::bench::kMiB));
  std::printf("bench_typing: %d MB of Shift-JIS text, %d keystrokes per case, %dx%d window\n", mb,
              keys, kWidth, kHeight);
  Run(text, false, keys, numbers);
  Run(text, true, keys, numbers);
  return 0;
}
