// The editor's encoding detection against nkf --guess and uchardet, on a
// corpus made here from Debian's Japanese text (manpages-ja, skkdic, edict)
// written in every encoding the editor knows, in sizes from 4 bytes to a
// megabyte, and on binary files of common formats found on the system.
// Fails when the editor is less accurate than either tool on a class of
// files, or not more accurate than both over all. The table of figures is
// written to detect-corpus.md beside the test.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/encoding/Encodings.h"
#include "base/Cp932.h"
#include "base/Files.h"

namespace kelu {
namespace {

namespace fs = std::filesystem;

// ------------------------------------------------------------ processes

std::string Run(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  pclose(p);
  return out;
}

bool Have(const char* program) {
  return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// ---------------------------------------------------------------- texts

bool HasHighByte(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// UTF-8 lines of Japanese text that every Japanese encoding can hold.
std::vector<std::string> SourceLines() {
  std::vector<std::string> lines;
  auto keep = [&](const std::string& utf8) {
    if (!HasHighByte(utf8) || utf8.size() > 400) return;
    std::size_t lost = 0;
    const std::string sjis = cp932::FromUtf8(utf8, &lost);
    if (lost) return;
    cp932::Convert(utf8, cp932::kUtf8, "ISO-2022-JP", &lost);
    if (lost) return;
    cp932::Convert(utf8, cp932::kUtf8, "EUC-JP", &lost);
    if (!lost) lines.push_back(utf8);
  };
  // Manual pages (UTF-8), every fifth one.
  std::vector<fs::path> pages;
  if (fs::is_directory("/usr/share/man/ja/man1")) {
    for (const auto& e : fs::directory_iterator("/usr/share/man/ja/man1")) pages.push_back(e.path());
  }
  std::sort(pages.begin(), pages.end());
  for (std::size_t i = 0; i < pages.size(); i += 5) {
    for (const std::string& l : Lines(Run("gzip -dc '" + pages[i].string() + "' 2>/dev/null"))) keep(l);
  }
  // The dictionaries (EUC-JP), their first megabytes.
  for (const char* path : {"/usr/share/skk/SKK-JISYO.L", "/usr/share/edict/edict"}) {
    std::string bytes;
    try {
      bytes = ReadFileBytes(path);
    } catch (...) {
      continue;
    }
    bytes.resize(std::min<std::size_t>(bytes.size(), 3u << 20));
    const std::string utf8 = cp932::Convert(bytes, "EUC-JP", cp932::kUtf8);
    for (const std::string& l : Lines(utf8)) {
      if (!l.empty() && l[0] != ';') keep(l);
    }
  }
  return lines;
}

// Full-width katakana to half-width (voiced ones as two characters).
std::string HalfWidthKana(const std::string& text) {
  const std::string_view utf8 = text;
  static const char* const kHalf[] = {
      "ｧ", "ｱ", "ｨ", "ｲ", "ｩ", "ｳ", "ｪ", "ｴ", "ｫ", "ｵ", "ｶ", "ｶﾞ", "ｷ", "ｷﾞ", "ｸ", "ｸﾞ",
      "ｹ", "ｹﾞ", "ｺ", "ｺﾞ", "ｻ", "ｻﾞ", "ｼ", "ｼﾞ", "ｽ", "ｽﾞ", "ｾ", "ｾﾞ", "ｿ", "ｿﾞ", "ﾀ", "ﾀﾞ",
      "ﾁ", "ﾁﾞ", "ｯ", "ﾂ", "ﾂﾞ", "ﾃ", "ﾃﾞ", "ﾄ", "ﾄﾞ", "ﾅ", "ﾆ", "ﾇ", "ﾈ", "ﾉ", "ﾊ", "ﾊﾞ",
      "ﾊﾟ", "ﾋ", "ﾋﾞ", "ﾋﾟ", "ﾌ", "ﾌﾞ", "ﾌﾟ", "ﾍ", "ﾍﾞ", "ﾍﾟ", "ﾎ", "ﾎﾞ", "ﾎﾟ", "ﾏ", "ﾐ", "ﾑ",
      "ﾒ", "ﾓ", "ｬ", "ﾔ", "ｭ", "ﾕ", "ｮ", "ﾖ", "ﾗ", "ﾘ", "ﾙ", "ﾚ", "ﾛ", "ﾜ", "ﾜ", "ｲ",
      "ｴ", "ｦ", "ﾝ", "ｳﾞ"};
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data() + i);
    const std::size_t n = std::max<std::size_t>(cp932::Utf8SequenceLength(utf8.substr(i)), 1);
    if (n == 3) {
      const char32_t c = (p[0] & 0x0Fu) << 12 | (p[1] & 0x3Fu) << 6 | (p[2] & 0x3Fu);
      if (c >= 0x30A1 && c <= 0x30F4) {
        out += kHalf[c - 0x30A1];
        i += 3;
        continue;
      }
      if (c == 0x30FC) {
        out += "ｰ";
        i += 3;
        continue;
      }
    }
    out.append(utf8, i, n);
    i += n;
  }
  return out;
}

// Only the ASCII and half-width katakana of a text.
std::string KanaAndAscii(const std::string& text) {
  const std::string_view utf8 = text;
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::max<std::size_t>(cp932::Utf8SequenceLength(utf8.substr(i)), 1);
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data() + i);
    const bool kana = n == 3 && p[0] == 0xEF &&
                      ((p[1] == 0xBD && p[2] >= 0xA1) || (p[1] == 0xBE && p[2] <= 0x9F));
    if (n == 1 || kana) out.append(utf8, i, n);
    i += n;
  }
  return out;
}

// Kanji of JIS X 0212 that JIS X 0208 lacks, as UTF-8.
std::vector<std::string> SupplementaryKanji() {
  std::vector<std::string> kanji;
  for (char32_t c = 0x4E00; c < 0x9FA0 && kanji.size() < 400; c += 7) {
    std::string utf8;
    utf8 += static_cast<char>(0xE0 | c >> 12);
    utf8 += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
    std::size_t lost = 0;
    const std::string euc = cp932::Convert(utf8, cp932::kUtf8, "EUC-JP", &lost);
    if (!lost && euc.size() == 3 && static_cast<unsigned char>(euc[0]) == 0x8F) kanji.push_back(utf8);
  }
  return kanji;
}

// Replaces every seventh kanji-sized (three-byte) character by one of JIS X 0212.
std::string WithSupplementaryKanji(const std::string& text, const std::vector<std::string>& kanji,
                                   std::mt19937& random) {
  const std::string_view utf8 = text;
  std::string out;
  int count = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const std::size_t n = std::max<std::size_t>(cp932::Utf8SequenceLength(utf8.substr(i)), 1);
    if (n == 3 && static_cast<unsigned char>(utf8[i]) >= 0xE4 && ++count % 7 == 1) {
      out += kanji[random() % kanji.size()];
    } else {
      out.append(utf8, i, n);
    }
    i += n;
  }
  return out;
}

// ------------------------------------------------------------ encodings

struct TClass {
  std::string name;     // shown in the table
  std::string mojiCode; // what the editor should say
};

// UTF-8 text in the encoding of a MojiCode (nkf for JIS with half-width
// katakana, which glibc's ISO-2022-JP cannot write).
std::string Encode(const std::string& utf8, const std::string& mojiCode, bool halfWidthJis,
                   const fs::path& scratch) {
  std::size_t lost = 0;
  if (mojiCode == "SJIS") return cp932::FromUtf8(utf8);
  if (mojiCode == "EUC") return cp932::Convert(utf8, cp932::kUtf8, "EUC-JP", &lost);
  if (mojiCode == "JIS") {
    if (!halfWidthJis) return cp932::Convert(utf8, cp932::kUtf8, "ISO-2022-JP", &lost);
    { std::ofstream(scratch, std::ios::binary) << cp932::FromUtf8(utf8); }
    return Run("nkf -S -j -x '" + scratch.string() + "'");
  }
  if (mojiCode == "UTF8N") return utf8;
  if (mojiCode == "UTF8(BOM)") return "\xEF\xBB\xBF" + utf8;
  if (mojiCode == "UNICODE(LE)") return "\xFF\xFE" + cp932::Convert(utf8, cp932::kUtf8, cp932::kUtf16LE);
  return "\xFE\xFF" + cp932::Convert(utf8, cp932::kUtf8, cp932::kUtf16BE);
}

// The longest prefix of whole characters of `utf8` whose encoded form is at
// most `size` bytes, encoded.
std::string EncodedPrefix(const std::string& utf8, std::size_t size, const std::string& mojiCode,
                          bool halfWidthJis, const fs::path& scratch) {
  std::vector<std::size_t> cuts;  // byte offsets of character ends
  const std::string_view all = utf8;
  for (std::size_t i = 0; i < all.size();) {
    i += std::max<std::size_t>(cp932::Utf8SequenceLength(all.substr(i)), 1);
    cuts.push_back(i);
  }
  std::size_t lo = 0, hi = cuts.size();  // the answer is in [lo, hi]
  std::string best;
  while (lo < hi) {
    const std::size_t mid = (lo + hi + 1) / 2;
    std::string e = Encode(utf8.substr(0, cuts[mid - 1]), mojiCode, halfWidthJis, scratch);
    if (e.size() <= size) {
      lo = mid;
      best = std::move(e);
    } else {
      hi = mid - 1;
    }
  }
  return best;
}

// ---------------------------------------------------------- the answers

std::string Normalise(std::string guess) {
  for (const char* tail : {" (LF)", " (CRLF)", " (CR)", " (MIXED NL)"}) {
    const std::size_t at = guess.find(tail);
    if (at != std::string::npos) guess.erase(at);
  }
  while (!guess.empty() && (guess.back() == ' ' || guess.back() == '\n')) guess.pop_back();
  std::transform(guess.begin(), guess.end(), guess.begin(), [](char c) { return std::toupper(c); });
  return guess;
}

bool NkfRight(const std::string& g, const std::string& moji) {
  if (moji == "SJIS") return g == "SHIFT_JIS" || g == "CP932" || g == "WINDOWS-31J";
  if (moji == "EUC") return g == "EUC-JP" || g == "EUCJP-MS" || g == "CP51932";
  if (moji == "JIS") return g == "ISO-2022-JP";
  if (moji == "UTF8N") return g == "UTF-8";
  if (moji == "UTF8(BOM)") return g == "UTF-8 (BOM)";
  if (moji == "UNICODE(LE)") return g == "UTF-16 LE (BOM)" || g == "UTF-16LE";
  if (moji == "UNICODE(BE)") return g == "UTF-16 BE (BOM)" || g == "UTF-16BE" || g == "UTF-16";
  return g == "BINARY";
}

// uchardet names no mark and no byte order: UTF-8 and UTF-16 count as right
// for both forms; it has no answer for binary files.
bool UchardetRight(const std::string& g, const std::string& moji) {
  if (moji == "SJIS") return g == "SHIFT_JIS" || g == "WINDOWS-31J";
  if (moji == "EUC") return g == "EUC-JP";
  if (moji == "JIS") return g == "ISO-2022-JP";
  if (moji == "UTF8N" || moji == "UTF8(BOM)") return g == "UTF-8";
  if (moji == "UNICODE(LE)") return g == "UTF-16" || g == "UTF-16LE";
  if (moji == "UNICODE(BE)") return g == "UTF-16" || g == "UTF-16BE";
  return false;
}

// "path: answer" lines of a tool run over all files, in batches.
std::map<std::string, std::string> Answers(const std::string& tool,
                                           const std::vector<std::string>& files) {
  std::map<std::string, std::string> answers;
  for (std::size_t i = 0; i < files.size(); i += 200) {
    std::string command = tool;
    for (std::size_t k = i; k < std::min(files.size(), i + 200); ++k) command += " '" + files[k] + "'";
    for (const std::string& line : Lines(Run(command + " 2>/dev/null"))) {
      const std::size_t colon = line.find(": ");
      if (colon != std::string::npos) answers[line.substr(0, colon)] = line.substr(colon + 2);
    }
  }
  return answers;
}

struct TTally {
  int files = 0, editor = 0, nkf = 0, uchardet = 0;
};

std::string Percent(int n, int of) {
  char b[16];
  std::snprintf(b, sizeof b, "%.1f%%", of ? 100.0 * n / of : 0.0);
  return b;
}

TEST(DetectionCorpus, AtLeastAsAccurateAsNkfAndUchardetOnEveryClass) {
  for (const char* tool : {"nkf", "uchardet", "gzip"}) {
    ASSERT_TRUE(Have(tool)) << tool << " is missing: run scripts/install-deps";
  }
  const std::vector<std::string> source = SourceLines();
  ASSERT_GT(source.size(), 1000u) << "manpages-ja, skkdic and edict are needed: run scripts/install-deps";

  const char* dirEnv = std::getenv("KELU_CORPUS_DIR");
  const fs::path dir = dirEnv ? fs::path(dirEnv) : fs::temp_directory_path() / "kelu-detect-corpus";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path scratch = dir / "scratch";

  struct TFile {
    std::string path;
    std::string cls;
    std::string moji;
  };
  std::vector<TFile> files;
  std::mt19937 random(20240611);
  auto write = [&](const std::string& cls, const std::string& moji, const std::string& bytes) {
    const std::string path = (dir / (std::to_string(files.size()) + ".txt")).string();
    std::ofstream(path, std::ios::binary) << bytes;
    files.push_back({path, cls, moji});
  };

  // Samples of every size, each from a random line on.
  const std::size_t sizes[] = {4, 8, 16, 32, 64, 256, 1024, 4096, 65536, 1 << 20};
  auto samples = [](std::size_t size) { return size <= 64 ? 30 : size <= 4096 ? 12 : size <= 65536 ? 4 : 2; };
  auto textFrom = [&](std::size_t start, std::size_t bytes, auto&& transform) {
    std::string text;
    for (std::size_t k = start; text.size() < bytes * 3 + 64; k = (k + 1) % source.size()) {
      text += transform(source[k]);
      text += "\n";
    }
    return text;
  };
  auto identity = [](const std::string& s) { return s; };
  const std::vector<std::string> supplementary = SupplementaryKanji();
  ASSERT_FALSE(supplementary.empty());

  const std::vector<std::pair<std::string, std::string>> plain = {
      {"Shift-JIS", "SJIS"},         {"EUC-JP", "EUC"},
      {"ISO-2022-JP", "JIS"},        {"UTF-8", "UTF8N"},
      {"UTF-8 with mark", "UTF8(BOM)"}, {"UTF-16LE with mark", "UNICODE(LE)"},
      {"UTF-16BE with mark", "UNICODE(BE)"}};
  for (const auto& [cls, moji] : plain) {
    for (std::size_t size : sizes) {
      for (int n = 0; n < samples(size); ++n) {
        const std::string text = textFrom(random() % source.size(), size, identity);
        std::string bytes = EncodedPrefix(text, size, moji, false, scratch);
        // The mark alone, or a prefix without any Japanese, says nothing.
        if (bytes.size() <= 4 && moji.rfind("UNICODE", 0) == 0) continue;
        if (!HasHighByte(bytes) && moji != "JIS") continue;
        if (moji == "JIS" && bytes.find('\x1b') == std::string::npos) continue;
        write(cls, moji, bytes);
      }
    }
  }
  // The cases the editor used to miss: EUC-JP with JIS X 0212 kanji,
  // ISO-2022-JP with half-width katakana, short Shift-JIS half-width kana.
  for (std::size_t size : sizes) {
    for (int n = 0; n < samples(size); ++n) {
      auto supp = [&](const std::string& s) { return WithSupplementaryKanji(s, supplementary, random); };
      std::string bytes = EncodedPrefix(textFrom(random() % source.size(), size, supp), size, "EUC",
                                        false, scratch);
      if (bytes.find('\x8f') != std::string::npos) write("EUC-JP with JIS X 0212", "EUC", bytes);
    }
  }
  std::vector<std::string> kanaLines;
  for (const std::string& l : source) {
    const std::string half = HalfWidthKana(l);
    if (half != l) kanaLines.push_back(half);
  }
  ASSERT_GT(kanaLines.size(), 100u);
  for (std::size_t size : sizes) {
    for (int n = 0; n < samples(size); ++n) {
      std::string text;
      for (std::size_t k = random() % kanaLines.size(); text.size() < size * 3 + 64;
           k = (k + 1) % kanaLines.size()) {
        text += kanaLines[k] + "\n";
      }
      std::string bytes = EncodedPrefix(text, size, "JIS", true, scratch);
      if (bytes.find("\x1b(I") != std::string::npos) {
        write("ISO-2022-JP with half-width kana", "JIS", bytes);
      }
      if (size <= 64) {
        std::string kana;
        for (std::size_t k = random() % kanaLines.size(); kana.size() < size * 3 + 16;
             k = (k + 1) % kanaLines.size()) {
          const std::string only = KanaAndAscii(kanaLines[k]);
          if (HasHighByte(only)) kana += only + " ";
        }
        bytes = EncodedPrefix(kana, size, "SJIS", false, scratch);
        if (HasHighByte(bytes)) write("short Shift-JIS half-width kana", "SJIS", bytes);
      }
    }
  }
  // Binary files of common formats, whole and their first bytes.
  const std::vector<std::pair<std::string, std::string>> kinds = {
      {"/usr/share", ".png"}, {"/usr/share", ".jpg"}, {"/usr/share", ".gif"},
      {"/usr/share", ".pdf"}, {"/usr/share", ".ttf"}, {"/usr/share", ".otf"},
      {"/usr/share", ".mo"},  {"/usr/share/doc", ".gz"}, {"/usr/share", ".jar"},
      {"/usr/share", ".ico"}, {"/usr/share", ".bmp"}, {"/usr/bin", ""},
      {"/usr/lib/x86_64-linux-gnu", ".a"}};
  for (const auto& [root, ext] : kinds) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root, fs::directory_options::skip_permission_denied, ec);
         it != fs::recursive_directory_iterator() && found.size() < 400; it.increment(ec)) {
      if (ec) break;
      if (it->is_regular_file(ec) && it->path().extension() == ext && it->file_size(ec) > 64) {
        found.push_back(it->path());
      }
    }
    std::sort(found.begin(), found.end());
    for (std::size_t i = 0; i < found.size() && i < 40; i += std::max<std::size_t>(found.size() / 8, 1)) {
      std::string bytes;
      try {
        bytes = ReadFileBytes(found[i].string());
      } catch (...) {
        continue;
      }
      if (ext.empty() && bytes.rfind("\x7f" "ELF", 0) != 0) continue;  // scripts
      for (std::size_t size : {std::size_t{64}, std::size_t{1024}, std::size_t{1} << 20}) {
        write("binary", "BINARY", bytes.substr(0, size));
      }
    }
  }
  // Record files: fixed records of numbers and Shift-JIS names.
  for (int n = 0; n < 12; ++n) {
    std::string bytes;
    for (int r = 0; r < 4 + n * 8; ++r) {
      std::uint32_t id = random() % 100000;
      bytes.append(reinterpret_cast<const char*>(&id), 4);
      std::string name = EncodedPrefix(source[random() % source.size()], 20, "SJIS", false, scratch);
      name.resize(24, '\0');
      bytes += name;
    }
    write("binary", "BINARY", bytes);
  }

  std::vector<std::string> paths;
  for (const TFile& f : files) paths.push_back(f.path);
  const auto nkf = Answers("nkf --guess", paths);
  const auto uchardet = Answers("uchardet", paths);

  std::map<std::string, TTally> byClass;
  std::vector<std::string> order;
  TTally all;
  std::ostringstream misses;
  for (const TFile& f : files) {
    if (!byClass.count(f.cls)) order.push_back(f.cls);
    TTally& t = byClass[f.cls];
    const std::string bytes = ReadFileBytes(f.path);
    const bool ours = DecodeDocument(bytes).mojiCode == f.moji;
    const bool n = nkf.count(f.path) && NkfRight(Normalise(nkf.at(f.path)), f.moji);
    const bool u = uchardet.count(f.path) && UchardetRight(Normalise(uchardet.at(f.path)), f.moji);
    for (TTally* x : {&t, &all}) {
      ++x->files;
      x->editor += ours;
      x->nkf += n;
      x->uchardet += u;
    }
    if (!ours && misses.tellp() < 4000) {
      misses << f.cls << " (" << bytes.size() << " bytes): " << DecodeDocument(bytes).mojiCode
             << " ";
      for (std::size_t k = 0; k < bytes.size() && k < 16; ++k) {
        const auto c = static_cast<unsigned char>(bytes[k]);
        char hex[8];
        std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
        misses << hex;
      }
      misses << "\n";
    }
  }

  std::ostringstream table;
  table << "| Class | Files | Kelu Editor Vetra | nkf --guess | uchardet |\n|---|---|---|---|---|\n";
  for (const std::string& cls : order) {
    const TTally& t = byClass[cls];
    table << "| " << cls << " | " << t.files << " | " << Percent(t.editor, t.files) << " | "
          << Percent(t.nkf, t.files) << " | " << Percent(t.uchardet, t.files) << " |\n";
  }
  table << "| all | " << all.files << " | " << Percent(all.editor, all.files) << " | "
        << Percent(all.nkf, all.files) << " | " << Percent(all.uchardet, all.files) << " |\n";
  std::ofstream("detect-corpus.md") << table.str();
  std::printf("%s\nMissed by the editor (first ones):\n%s", table.str().c_str(), misses.str().c_str());

  for (const std::string& cls : order) {
    const TTally& t = byClass[cls];
    EXPECT_GE(t.editor, std::max(t.nkf, t.uchardet)) << cls;
  }
  EXPECT_GT(all.editor, std::max(all.nkf, all.uchardet));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kelu
