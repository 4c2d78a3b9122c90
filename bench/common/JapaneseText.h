// Generated Japanese prose for the benchmarks: deterministic for a seed, fast
// enough to make 100 MB in a fraction of a second, and shaped like real
// documents (hiragana, katakana with ー, kanji, full-width and ASCII
// punctuation, ASCII words and numbers, some half-width katakana, indented
// paragraphs, a few code-like and tab-separated lines, CR LF line ends).
//
// Line lengths, counted in Shift-JIS bytes: about 6% empty lines, most lines
// 20-120 bytes, about 3% of several hundred bytes and about 0.2% over 1000
// bytes; 100 MB of Shift-JIS text has about 1.5 million lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelu::bench {

inline constexpr std::size_t kMiB = std::size_t{1} << 20;

enum class TextEncoding { kSjis, kUtf8 };

// Exactly `bytes` bytes of Shift-JIS (code page 932) text ending with CR LF
// (for bytes >= 2); only the last line may be cut short.
std::string GenerateJapaneseSjisText(std::size_t bytes, std::uint32_t seed = 1);

// The same kind of text in UTF-8, exactly `bytes` bytes: the UTF-8 form of
// the prose of the Shift-JIS text of the same seed (line lengths are still
// measured in Shift-JIS bytes, so a line has the same characters in both);
// only the last line may be cut short. Every character has a form in code
// page 932. No byte-order mark.
std::string GenerateJapaneseUtf8Text(std::size_t bytes, std::uint32_t seed = 1);

std::string GenerateJapaneseText(TextEncoding encoding, std::size_t bytes, std::uint32_t seed = 1);

// The directory that holds generated files between runs: $KELU_BENCH_CACHE,
// else $TMPDIR/kelu-bench, else /tmp/kelu-bench. Created when missing.
std::string BenchCacheDir();

// The path of a file in the cache directory holding GenerateJapaneseText of
// these arguments; the file is written on first use (through a temporary
// file and a rename) and reused as long as its size is right.
std::string CachedJapaneseTextFile(TextEncoding encoding, std::size_t bytes,
                                   std::uint32_t seed = 1);

// A whole file's bytes; throws std::runtime_error on failure.
std::string ReadWholeFile(const std::string& path);

}  // namespace kelu::bench
