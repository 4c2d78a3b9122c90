// The page editor's search as the user meets it:
//  - find-next through TEditorEx over a loaded 100 MB Shift-JIS document,
//    from the top to a hit near the end, next to Oniguruma run directly over
//    the same bytes in the same run;
//  - painting a 1000 x 700 screen with every hit underlined (FindMark) next
//    to painting it without a pattern.
// The widgets need a QApplication: this benchmark has its own main, on the
// offscreen platform unless another is chosen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Cp932.h"
#include "bench/common/JapaneseText.h"
#include "bench/common/SearchBench.h"
#include "editor/ex/EditorEx.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu::bench {
namespace {

// The planted text loaded into an editor (word wrap off) once.
struct Document {
  PlantedText planted;
  int hitRow = 0;
  std::unique_ptr<TEditorEx> editor;
};

Document& TheDocument() {
  static Document doc = [] {
    Document d;
    d.planted = MakePlantedText();
    const std::string& text = d.planted.text;
    d.editor = std::make_unique<TEditorEx>();
    d.editor->resize(1000, 700);
    d.editor->Lines().SetTextStr(text);
    for (std::size_t p = text.find("\r\n"); p < d.planted.hitLineStart;
         p = text.find("\r\n", p + 2)) {
      ++d.hitRow;
    }
    return d;
  }();
  return doc;
}

void FindNextInEditor(benchmark::State& state, const SearchCase& c) {
  Document& doc = TheDocument();
  TEditorEx& e = *doc.editor;
  if (!e.RegexAvailable()) {
    state.SkipWithError(RegexUnavailableText().c_str());
    return;
  }
  e.SetExSearchOptions(c.options);
  e.SetFindString(cp932::FromUtf8(c.pattern));
  for (auto _ : state) {
    state.PauseTiming();
    e.CleanSelection();
    e.SetRowCol(0, 0);
    state.ResumeTiming();
    if (!e.FindNext() || e.Selection().StrRow != doc.hitRow) {
      state.SkipWithError("the planted hit was not found");
      break;
    }
  }
  SetSearchedBytes(state, doc.planted);
}

void BM_EditorFindNext_Literal(benchmark::State& state) {
  FindNextInEditor(state, kLiteral);
}
void BM_Direct_Literal(benchmark::State& state) {
  DirectOnigSearch(state, TheDocument().planted, kLiteral);
}
void BM_EditorFindNext_LiteralMatchCase(benchmark::State& state) {
  FindNextInEditor(state, kLiteralMatchCase);
}
void BM_Direct_LiteralMatchCase(benchmark::State& state) {
  DirectOnigSearch(state, TheDocument().planted, kLiteralMatchCase);
}
void BM_EditorFindNext_Regexp(benchmark::State& state) {
  FindNextInEditor(state, kRegexp);
}
void BM_Direct_Regexp(benchmark::State& state) {
  DirectOnigSearch(state, TheDocument().planted, kRegexp);
}

BENCHMARK(BM_EditorFindNext_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_Literal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorFindNext_LiteralMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_LiteralMatchCase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorFindNext_Regexp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Direct_Regexp)->Unit(benchmark::kMillisecond);

// ------------------------------------------------------------------ painting

// A screen of the generated text (wrapped at the window's width) in an
// editor of its own, with FindMark shown.
std::unique_ptr<TEditorEx>& PaintEditorHolder() {
  static std::unique_ptr<TEditorEx> editor = [] {
    auto e = std::make_unique<TEditorEx>();
    e->resize(1000, 700);
    e->ExMarks().FindMark().SetColor(clRed);
    e->ExMarks().FindMark().SetVisible(true);
    e->ExMarks().Hit().SetBkColor(clYellow);
    e->WrapOption().SetWrapByte(std::max(20, e->VisibleCols()));
    e->SetWordWrap(true);
    e->Lines().SetTextStr(GenerateJapaneseSjisText(64 * 1024, 7));
    e->show();
    QApplication::processEvents();
    return e;
  }();
  return editor;
}

TEditorEx& PaintEditor() {
  return *PaintEditorHolder();
}

// `pattern` empty: no hits.
void PaintScreen(benchmark::State& state, const char* pattern, TExSearchOptions options) {
  TEditorEx& e = PaintEditor();
  e.SetExSearchOptions(options);
  e.SetFindString(cp932::FromUtf8(pattern));
  int hits = 0;
  for (int r = e.TopRow(); r < e.TopRow() + e.VisibleRows(); r = e.LineLastRow(r) + 1) {
    hits += e.CollectHits(r);
  }
  for (auto _ : state) {
    QPixmap shot = e.viewport()->grab();
    benchmark::DoNotOptimize(shot);
  }
  state.counters["hits"] = hits;
}

void BM_Paint_NoPattern(benchmark::State& state) {
  PaintScreen(state, "", {});
}
void BM_Paint_HitsLiteral(benchmark::State& state) {
  PaintScreen(state, "の", {});
}
void BM_Paint_HitsRegexp(benchmark::State& state) {
  PaintScreen(state, "[ァ-ヶー]+|[0-9a-z]+", {soRegexp, soEscSeq});
}

BENCHMARK(BM_Paint_NoPattern)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint_HitsLiteral)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Paint_HitsRegexp)->Unit(benchmark::kMillisecond);

}  // namespace

// The widgets go before the application does.
void ReleaseEditors() {
  TheDocument().editor.reset();
  PaintEditorHolder().reset();
}

}  // namespace kelu::bench

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  kelu::bench::ReleaseEditors();
  return 0;
}
