// The text engine on a 100 MB Shift-JIS document (about 1.5 million lines):
// setting the whole text, typing in the middle, reading it all back, and
// undoing a large paste, each next to its plain-C++ baseline.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bench/common/JapaneseText.h"
#include "editor/model/HeadlessEditor.h"

namespace kelu::bench {
namespace {

constexpr std::size_t kDocumentBytes = 100 * kMiB;

const std::string& Document() {
  static const std::string text =
      ReadWholeFile(CachedJapaneseTextFile(TextEncoding::kSjis, kDocumentBytes));
  return text;
}

void SetupWrap(THeadlessEditor& e, bool wrap) {
  if (!wrap) return;
  TEditorWrapOption& o = e.rows.WrapOption();
  o.SetWrapByte(80);
  o.SetLeading(true);
  o.SetFollowPunctuation(true);
  e.rows.SetWordWrap(true);
}

// Baseline: the same bytes split into lines.
void BM_SplitIntoVector(benchmark::State& state) {
  const std::string& text = Document();
  for (auto _ : state) {
    std::vector<std::string> lines;
    lines.reserve(text.size() / 40);
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
      const char* q = p;
      while (q < end && *q != '\r' && *q != '\n') ++q;
      lines.emplace_back(p, q);
      p = q;
      if (p < end && *p == '\r') ++p;
      if (p < end && *p == '\n') ++p;
    }
    benchmark::DoNotOptimize(lines.data());
    state.PauseTiming();
    lines = {};
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SplitIntoVector)->Unit(benchmark::kMillisecond);

void BM_SetLinesText(benchmark::State& state) {
  const std::string& text = Document();
  const bool wrap = state.range(0) != 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto e = std::make_unique<THeadlessEditor>();
    SetupWrap(*e, wrap);
    state.ResumeTiming();
    e->lines.SetText(text);
    benchmark::DoNotOptimize(e->rows.GetCount());
    state.PauseTiming();
    state.counters["rows"] = e->rows.GetCount();
    e.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_SetLinesText)->ArgName("wrap80")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One editor per wrap setting with the document loaded, shared by the
// editing benchmarks.
THeadlessEditor& Loaded(bool wrap) {
  static std::unique_ptr<THeadlessEditor> editors[2];
  auto& e = editors[wrap ? 1 : 0];
  if (!e) {
    e = std::make_unique<THeadlessEditor>();
    SetupWrap(*e, wrap);
    e->lines.SetText(Document());
  }
  return *e;
}

// A row in the middle that holds a few characters.
int MiddleRow(THeadlessEditor& e) {
  int row = e.rows.GetCount() / 2;
  while (e.rows.View(row).size() < 8) ++row;
  return row;
}

std::string RowWithBreak(THeadlessEditor& e, int row) {
  std::string s(e.rows.View(row));
  if (e.rows.RowAttributes(row) == raBreak) s += "\r\n";
  return s;
}

void BM_TypeCharacterInTheMiddle(benchmark::State& state) {
  THeadlessEditor& e = Loaded(state.range(0) != 0);
  const int row = MiddleRow(e);
  bool insert = true;
  for (auto _ : state) {
    std::string text = RowWithBreak(e, row);
    if (insert) {
      text.insert(4, "\x82\xa0");  // あ
    } else {
      text.erase(4, 2);
    }
    insert = !insert;
    e.rows.ReplaceRows(row, 1, text);
  }
}
BENCHMARK(BM_TypeCharacterInTheMiddle)
    ->ArgName("wrap80")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

void BM_LineBreakInTheMiddle(benchmark::State& state) {
  THeadlessEditor& e = Loaded(state.range(0) != 0);
  const int row = MiddleRow(e);
  bool split = true;
  for (auto _ : state) {
    if (split) {
      std::string text = RowWithBreak(e, row);
      text.insert(4, "\r\n");
      e.rows.ReplaceRows(row, 1, text);
    } else {
      // Backspace at the start of the new line joins the two again.
      std::string text(e.rows.View(row));
      text += RowWithBreak(e, row + 1);
      e.rows.ReplaceRows(row, 2, text);
    }
    split = !split;
  }
}
BENCHMARK(BM_LineBreakInTheMiddle)
    ->ArgName("wrap80")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond);

// Baseline: concatenating the rows as they are stored.
void BM_ConcatenateRows(benchmark::State& state) {
  THeadlessEditor& e = Loaded(true);
  for (auto _ : state) {
    std::string all;
    all.reserve(Document().size());
    for (int r = 0; r < e.rows.GetCount(); ++r) all += e.rows.View(r);
    benchmark::DoNotOptimize(all.data());
  }
}
BENCHMARK(BM_ConcatenateRows)->Unit(benchmark::kMillisecond);

void BM_ReadLinesText(benchmark::State& state) {
  THeadlessEditor& e = Loaded(true);
  for (auto _ : state) {
    std::string all = e.lines.Text();
    benchmark::DoNotOptimize(all.data());
  }
}
BENCHMARK(BM_ReadLinesText)->Unit(benchmark::kMillisecond);

void BM_WalkAllLines(benchmark::State& state) {
  THeadlessEditor& e = Loaded(true);
  for (auto _ : state) {
    std::string line;
    std::size_t bytes = 0;
    const int n = e.lines.Count();
    for (int i = 0; i < n; ++i) {
      e.lines.GetInto(i, line);
      bytes += line.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_WalkAllLines)->Unit(benchmark::kMillisecond);

// Pasting 1 MB in the middle, and undoing that paste.
const std::string& Paste() {
  static const std::string text = GenerateJapaneseSjisText(kMiB, 7);
  return text;
}

void PasteInTheMiddle(THeadlessEditor& e) {
  const int row = MiddleRow(e);
  std::string text = RowWithBreak(e, row);
  text.insert(4, Paste());
  e.rows.ReplaceRows(row, 1, text);
}

void BM_Paste1MB(benchmark::State& state) {
  THeadlessEditor& e = Loaded(true);
  for (auto _ : state) {
    PasteInTheMiddle(e);
    state.PauseTiming();
    e.rows.Undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_Paste1MB)->Unit(benchmark::kMillisecond);

void BM_Undo1MBPaste(benchmark::State& state) {
  THeadlessEditor& e = Loaded(true);
  for (auto _ : state) {
    state.PauseTiming();
    PasteInTheMiddle(e);
    state.ResumeTiming();
    e.rows.Undo();
  }
}
BENCHMARK(BM_Undo1MBPaste)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelu::bench
