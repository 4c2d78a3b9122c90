// Opening a large document: detecting and decoding 100 MB of UTF-8, and
// splitting 100 MB of Shift-JIS text into lines, each next to a baseline
// that does only the bare work.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "app/encoding/Encodings.h"
#include "base/Strings.h"
#include "bench/common/JapaneseText.h"
#include "editor/model/RowList.h"
#include "editor/model/TextUtils.h"

namespace kelu::bench {
namespace {

constexpr std::size_t kSize = 100 * kMiB;

const std::string& Utf8File() {
  static const std::string bytes =
      ReadWholeFile(CachedJapaneseTextFile(TextEncoding::kUtf8, kSize));
  return bytes;
}

const std::string& SjisFile() {
  static const std::string bytes =
      ReadWholeFile(CachedJapaneseTextFile(TextEncoding::kSjis, kSize));
  return bytes;
}

void SetProcessed(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(bytes));
}

// ------------------------------------------------------------- decoding

// What opening a UTF-8 file costs: detection and conversion to Shift-JIS.
void BM_DecodeDocument_Utf8(benchmark::State& state) {
  const std::string& bytes = Utf8File();
  for (auto _ : state) {
    DecodedDocument doc = DecodeDocument(bytes);
    if (doc.mojiCode != moji::kUtf8N || doc.lossy != 0) {
      state.SkipWithError("not decoded as lossless UTF8N");
      break;
    }
    benchmark::DoNotOptimize(doc.text.data());
    benchmark::ClobberMemory();
  }
  SetProcessed(state, bytes.size());
}

// The same text with characters Shift-JIS lacks (an emoji and a Latin
// letter at the start of every 20th line, 150 distinct ones in all): they
// go through the document's table.
const std::string& ForeignUtf8File() {
  static const std::string bytes = [] {
    const std::string& plain = Utf8File();
    std::string out;
    out.reserve(plain.size() + plain.size() / 100);
    int line = 0;
    for (std::size_t p = 0; p < plain.size();) {
      std::size_t end = plain.find('\n', p);
      end = end == std::string::npos ? plain.size() : end + 1;
      if (++line % 20 == 0) {
        const char32_t emoji = 0x1F600 + line / 20 % 100;  // four UTF-8 bytes
        out += static_cast<char>(0xF0);
        out += static_cast<char>(0x80 | (emoji >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (emoji >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (emoji & 0x3F));
        out += static_cast<char>(0xC4);
        out += static_cast<char>(0x80 + line / 20 % 50);  // U+0100..U+0131
      }
      out.append(plain, p, end - p);
      p = end;
    }
    return out;
  }();
  return bytes;
}

void BM_DecodeDocument_Utf8Foreign(benchmark::State& state) {
  const std::string& bytes = ForeignUtf8File();
  for (auto _ : state) {
    DecodedDocument doc = DecodeDocument(bytes);
    if (doc.mojiCode != moji::kUtf8N || doc.lossy != 0 || doc.codec.AssignedCount() != 150) {
      state.SkipWithError("not decoded as lossless UTF8N with its table");
      break;
    }
    benchmark::DoNotOptimize(doc.text.data());
    benchmark::ClobberMemory();
  }
  SetProcessed(state, bytes.size());
}

// Baseline: one glibc iconv call, UTF-8 to CP932, into a buffer allocated
// once (Shift-JIS is never longer than UTF-8 for these characters).
void BM_Iconv_Utf8ToCp932(benchmark::State& state) {
  const std::string& bytes = Utf8File();
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    state.SkipWithError("iconv_open failed");
    return;
  }
  std::vector<char> buffer(bytes.size());
  for (auto _ : state) {
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char* out = buffer.data();
    std::size_t outLeft = buffer.size();
    if (iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)) {
      state.SkipWithError("iconv failed");
      break;
    }
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  iconv_close(cd);
  SetProcessed(state, bytes.size());
}

// ------------------------------------------------------------ line split

// The editor's line splitter into the general string list.
void BM_SplitLines_TStringList(benchmark::State& state) {
  const std::string& text = SjisFile();
  int lines = 0;
  for (auto _ : state) {
    TStringList list;
    SplitLines(text, list);
    lines = list.Count();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = lines;
  SetProcessed(state, text.size());
}

// The same splitter into the row list's base class, which it fills in one
// pass (for comparison; the editor's text lives in row lists).
void BM_SplitLines_TheStringList(benchmark::State& state) {
  const std::string& text = SjisFile();
  int lines = 0;
  for (auto _ : state) {
    TheStringList list;
    SplitLines(text, list);
    lines = list.Count();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["lines"] = lines;
  SetProcessed(state, text.size());
}

// Baseline: the same lines (CR LF, lone CR and lone LF each end a line; a
// final break adds no empty line) into a std::vector<std::string> sized once.
void BM_SplitLines_Vector(benchmark::State& state) {
  const std::string& text = SjisFile();
  std::size_t lines = 0;
  for (auto _ : state) {
    std::string_view s = text;
    std::vector<std::string> list;
    list.reserve(static_cast<std::size_t>(std::count(s.begin(), s.end(), '\n')) + 1);
    std::size_t p = 0;
    while (p < s.size()) {
      std::size_t q = p;
      while (q < s.size() && s[q] != '\r' && s[q] != '\n') ++q;
      list.emplace_back(s.substr(p, q - p));
      p = q;
      if (p < s.size() && s[p] == '\r') ++p;
      if (p < s.size() && s[p] == '\n') ++p;
    }
    lines = list.size();
    benchmark::DoNotOptimize(list.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
  SetProcessed(state, text.size());
}

// How long the test text itself takes to make (not a library figure).
void BM_GenerateJapaneseSjisText(benchmark::State& state) {
  for (auto _ : state) {
    std::string text = GenerateJapaneseSjisText(kSize);
    benchmark::DoNotOptimize(text.data());
  }
  SetProcessed(state, kSize);
}

// Each case makes 100 MB passes for about two seconds, three times over;
// the median CPU time is the figure (the cores may be shared, which disturbs
// the wall-clock time more).
#define KELU_LARGE_BENCH(fn)          \
  BENCHMARK(fn)                       \
      ->Unit(benchmark::kMillisecond) \
      ->MinTime(2.0)                  \
      ->Repetitions(3)                \
      ->ReportAggregatesOnly(true)

KELU_LARGE_BENCH(BM_DecodeDocument_Utf8);
KELU_LARGE_BENCH(BM_DecodeDocument_Utf8Foreign);
KELU_LARGE_BENCH(BM_Iconv_Utf8ToCp932);
KELU_LARGE_BENCH(BM_SplitLines_TStringList);
KELU_LARGE_BENCH(BM_SplitLines_TheStringList);
KELU_LARGE_BENCH(BM_SplitLines_Vector);
BENCHMARK(BM_GenerateJapaneseSjisText)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelu::bench
