#include "bench/common/JapaneseText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "base/Cp932.h"

namespace kelu::bench {

namespace {

// ------------------------------------------------------------- vocabulary

// One piece of text in the output encoding, with its length in Shift-JIS
// bytes (line lengths are measured in Shift-JIS whatever the output).
struct Token {
  std::string_view text;
  std::uint32_t measure;
};

using Words = std::vector<Token>;

struct Vocabulary {
  Words kanji, katakana, particles, endings, conjunctions, adverbs, ascii, halfKana, counters,
      codeWords, fullDigits;
  Token digits[10];
  Token comma, period, exclamation, question, openQuote, closeQuote, openParen, closeParen,
      middleDot, ellipsis, asciiSpace, fullSpace, tab, asciiComma, asciiPeriod;
  std::vector<std::string> storage;  // owns every token's bytes
};

// The words as UTF-8 source text.
const char* const kKanji[] = {
    "日本語", "文字列", "編集", "設定", "表示",   "検索", "置換", "保存", "文書", "改行",
    "範囲",   "選択",   "機能", "画面", "行番号", "変換", "入力", "出力", "処理", "時間",
    "速度",   "記号",   "漢字", "全角", "半角",   "空白", "段落", "文章", "作業", "利用者",
    "動作",   "確認",   "履歴", "印刷", "辞書",   "単語", "意味", "場合", "方法", "結果",
    "問題",   "必要",   "最初", "最後", "途中",   "内容", "名前", "情報", "状態", "自動",
    "手動",   "今日",   "明日", "東京", "大阪",   "天気", "電車", "会社", "学校", "先生",
    "学生",   "時代",   "世界", "経済", "社会",   "技術", "開発", "試験", "表",   "能力",
    "予定",   "十分",   "申請", "構造", "部分",   "全体", "一覧", "書式", "規則", "禁則",
    "文字",   "位置",   "操作", "環境", "説明",   "注意", "理由", "目的", "資料", "会議",
};
const char* const kKatakana[] = {
    "エディタ",   "ファイル",       "データ",       "コンピューター", "サーバー",   "ユーザー",
    "メモリー",   "カーソル",       "ウィンドウ",   "キーボード",     "マウス",     "ソフトウェア",
    "テキスト",   "フォント",       "メニュー",     "ボタン",         "ダイアログ", "プログラム",
    "バージョン", "インストール",   "アップデート", "パフォーマンス", "テスト",     "ベンチマーク",
    "スクロール", "クリップボード", "マクロ",       "コード",         "ソース",     "リスト",
    "ページ",     "タブ",           "ルーラー",     "マーク",         "スペース",
};
const char* const kParticles[] = {"の",   "は",   "が", "を", "に",   "で",   "と",   "も",  "から",
                                  "まで", "より", "へ", "や", "には", "では", "とは", "への"};
const char* const kEndings[] = {
    "です",           "でした",           "します",       "しました",     "できます",
    "されます",       "になります",       "があります",   "を行う",       "を確認する",
    "が必要です",     "ではない",         "と言える",     "かもしれない", "を使います",
    "が表示されます", "を選んでください", "はありません", "となっている", "だろう",
};
const char* const kConjunctions[] = {"しかし", "また",   "そして", "つまり", "なお",
                                     "ただし", "さらに", "例えば", "一方",   "このため"};
const char* const kAdverbs[] = {"とても", "すぐに", "少し", "もっと",   "かなり",
                                "必ず",   "まだ",   "もう", "ほとんど", "きちんと"};
const char* const kAscii[] = {
    "Shift_JIS",
    "UTF-8",
    "Windows",
    "Linux",
    "Qt",
    "editor",
    "file",
    "text",
    "CR",
    "LF",
    "OK",
    "Ctrl+S",
    "Enter",
    "Tab",
    "C++",
    "API",
    "CPU",
    "KB",
    "MB",
    "README.txt",
    "http://www.example.com/index.html",
    "info@example.jp",
    "v1.2.3",
    "ASCII",
    "JIS X 0208",
    "Unicode",
    "IME",
    "Esc",
};
const char* const kHalfKana[] = {"ｶﾀｶﾅ", "ﾃﾞｰﾀ", "ｴﾃﾞｨﾀ", "ﾌｧｲﾙ", "ｺﾋﾟｰ", "ﾒﾓ", "ﾃｽﾄ", "ｷｰ"};
const char* const kCounters[] = {"行", "文字", "バイト", "個", "年", "月", "日",
                                 "回", "人",   "件",     "秒", "分", "%",  "円"};
const char* const kCodeWords[] = {"if",   "(",  ")",       "{",    "}",   "return", "x",
                                  "=",    "+",  "count",   ";",    "int", "const",  "std::string",
                                  "for",  "i",  "<",       "++",   "//",  "while",  "line",
                                  "text", "->", "nullptr", "size", "==",  "else"};
const char* const kFullDigits[] = {"０", "１", "２", "３", "４", "５", "６", "７", "８", "９"};

class VocabularyBuilder {
 public:
  VocabularyBuilder(Vocabulary& v, TextEncoding encoding) : v_(v), encoding_(encoding) {}

  Token Make(const char* utf8) {
    std::size_t lossy = 0;
    std::string sjis = cp932::FromUtf8(utf8, &lossy);
    if (lossy != 0 || sjis.empty()) {
      throw std::logic_error(std::string("no Shift-JIS form: ") + utf8);
    }
    std::string text = encoding_ == TextEncoding::kSjis ? sjis : std::string(utf8);
    pending_.push_back(std::move(text));
    return Token{{}, static_cast<std::uint32_t>(sjis.size())};
  }

  template <std::size_t N>
  Words MakeAll(const char* const (&words)[N]) {
    Words list;
    for (const char* w : words) list.push_back(Make(w));
    return list;
  }

  // Points every token at its bytes once the storage no longer moves.
  void Finish() {
    v_.storage = std::move(pending_);
    std::size_t k = 0;
    auto fix = [&](Token& t) { t.text = v_.storage[k++]; };
    for (Words* list : Lists()) {
      for (Token& t : *list) fix(t);
    }
    for (Token& t : v_.digits) fix(t);
    for (Token* t : Singles()) fix(*t);
  }

  std::vector<Words*> Lists() {
    return {&v_.kanji, &v_.katakana, &v_.particles, &v_.endings,   &v_.conjunctions, &v_.adverbs,
            &v_.ascii, &v_.halfKana, &v_.counters,  &v_.codeWords, &v_.fullDigits};
  }
  std::vector<Token*> Singles() {
    return {&v_.comma,      &v_.period,    &v_.exclamation, &v_.question,   &v_.openQuote,
            &v_.closeQuote, &v_.openParen, &v_.closeParen,  &v_.middleDot,  &v_.ellipsis,
            &v_.asciiSpace, &v_.fullSpace, &v_.tab,         &v_.asciiComma, &v_.asciiPeriod};
  }

 private:
  Vocabulary& v_;
  TextEncoding encoding_;
  std::vector<std::string> pending_;
};

Vocabulary BuildVocabulary(TextEncoding encoding) {
  Vocabulary v;
  VocabularyBuilder b(v, encoding);
  // The order of making must match the order of Finish.
  v.kanji = b.MakeAll(kKanji);
  v.katakana = b.MakeAll(kKatakana);
  v.particles = b.MakeAll(kParticles);
  v.endings = b.MakeAll(kEndings);
  v.conjunctions = b.MakeAll(kConjunctions);
  v.adverbs = b.MakeAll(kAdverbs);
  v.ascii = b.MakeAll(kAscii);
  v.halfKana = b.MakeAll(kHalfKana);
  v.counters = b.MakeAll(kCounters);
  v.codeWords = b.MakeAll(kCodeWords);
  v.fullDigits = b.MakeAll(kFullDigits);
  const char* const digits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int i = 0; i < 10; ++i) v.digits[i] = b.Make(digits[i]);
  const char* const singles[] = {"、", "。", "！", "？", "「", "」", "（", "）",
                                 "・", "…",  " ",  "　", "\t", ",",  "."};
  std::vector<Token*> targets = b.Singles();
  for (std::size_t i = 0; i < targets.size(); ++i) *targets[i] = b.Make(singles[i]);
  b.Finish();
  return v;
}

const Vocabulary& VocabularyOf(TextEncoding encoding) {
  static const Vocabulary sjis = BuildVocabulary(TextEncoding::kSjis);
  static const Vocabulary utf8 = BuildVocabulary(TextEncoding::kUtf8);
  return encoding == TextEncoding::kSjis ? sjis : utf8;
}

// -------------------------------------------------------------- generator

// xorshift64* seeded through splitmix64: fast and good enough for text.
class Random {
 public:
  explicit Random(std::uint32_t seed) {
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    state_ = (z ^ (z >> 31)) | 1;
  }
  std::uint32_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return static_cast<std::uint32_t>((state_ * 0x2545F4914F6CDD1Dull) >> 32);
  }
  // 0 <= result < n.
  std::uint32_t Below(std::uint32_t n) {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(Next()) * n) >> 32);
  }
  bool Percent(std::uint32_t p) { return Below(100) < p; }

 private:
  std::uint64_t state_;
};

class Generator {
 public:
  Generator(const Vocabulary& v, std::uint32_t seed) : v_(v), rng_(seed) {}

  std::string Run(std::size_t bytes) {
    out_.clear();
    out_.reserve(bytes);
    if (bytes < 2) return std::string(bytes, ' ');
    while (bytes - out_.size() >= 2) {
      cap_ = bytes - 2;
      Line();
      // A single byte left over would not hold a line break: pad this line.
      if (bytes - out_.size() == 3) out_.push_back('.');
      out_.append("\r\n", 2);
    }
    return std::move(out_);
  }

 private:
  const Token& Pick(const Words& list) {
    return list[rng_.Below(static_cast<std::uint32_t>(list.size()))];
  }

  // Appends a token unless it would pass the output cap; after the first
  // token that does not fit, the line takes nothing more.
  void Emit(const Token& t) {
    if (full_) return;
    if (out_.size() + t.text.size() > cap_) {
      full_ = true;
      return;
    }
    out_.append(t.text);
    measure_ += t.measure;
  }
  bool Done() const { return full_ || measure_ >= target_; }

  void Line() {
    full_ = false;
    measure_ = 0;
    std::uint32_t r = rng_.Below(1000);
    if (r < 60) return;  // empty line
    r = rng_.Below(1000);
    if (r < 2) {
      target_ = 1000 + rng_.Below(2000);
    } else if (r < 32) {
      target_ = 200 + rng_.Below(600);
    } else {
      target_ = 6 + rng_.Below(60);
    }
    r = rng_.Below(100);
    if (r < 4) {
      CodeLine();
    } else if (r < 6) {
      TableLine();
    } else {
      Indent();
      while (!Done()) Sentence();
    }
  }

  void Indent() {
    switch (rng_.Below(20)) {
      case 0:
        Emit(v_.tab);
        break;
      case 1:
        Emit(v_.tab);
        Emit(v_.tab);
        break;
      case 2:
      case 3:
        Emit(v_.fullSpace);
        break;
      case 4:
        for (int i = 0; i < 4; ++i) Emit(v_.asciiSpace);
        break;
      default:
        break;
    }
  }

  void Number() {
    if (rng_.Percent(10)) {
      for (std::uint32_t n = 1 + rng_.Below(3); n > 0; --n) Emit(Pick(v_.fullDigits));
      return;
    }
    for (std::uint32_t n = 1 + rng_.Below(5); n > 0; --n) Emit(v_.digits[rng_.Below(10)]);
  }

  void Noun() {
    std::uint32_t r = rng_.Below(100);
    if (r < 52) {
      Emit(Pick(v_.kanji));
      if (rng_.Percent(20)) Emit(Pick(v_.kanji));
    } else if (r < 77) {
      Emit(Pick(v_.katakana));
      if (rng_.Percent(5)) {
        Emit(v_.middleDot);
        Emit(Pick(v_.katakana));
      }
    } else if (r < 88) {
      Emit(Pick(v_.ascii));
    } else if (r < 97) {
      Number();
      Emit(Pick(v_.counters));
    } else {
      Emit(Pick(v_.halfKana));
    }
  }

  void Sentence() {
    const bool quoted = rng_.Percent(6);
    if (quoted) Emit(v_.openQuote);
    if (rng_.Percent(10)) {
      Emit(Pick(v_.conjunctions));
      Emit(v_.comma);
    }
    for (std::uint32_t n = 1 + rng_.Below(4); n > 0 && !Done(); --n) {
      if (rng_.Percent(8)) Emit(Pick(v_.adverbs));
      Noun();
      if (rng_.Percent(4)) {
        Emit(v_.openParen);
        Noun();
        Emit(v_.closeParen);
      }
      Emit(Pick(v_.particles));
      if (rng_.Percent(30)) Emit(v_.comma);
    }
    Noun();
    Emit(Pick(v_.endings));
    if (quoted) Emit(v_.closeQuote);
    std::uint32_t r = rng_.Below(100);
    if (r < 86) {
      Emit(v_.period);
    } else if (r < 91) {
      Emit(v_.exclamation);
    } else if (r < 96) {
      Emit(v_.question);
    } else {
      Emit(v_.ellipsis);
    }
  }

  void CodeLine() {
    for (std::uint32_t n = rng_.Below(3); n > 0; --n) {
      for (int i = 0; i < 2; ++i) Emit(v_.asciiSpace);
    }
    while (!Done()) {
      if (rng_.Percent(15)) {
        Number();
      } else {
        Emit(Pick(v_.codeWords));
      }
      Emit(v_.asciiSpace);
    }
  }

  void TableLine() {
    for (std::uint32_t n = 2 + rng_.Below(4); n > 0; --n) {
      Noun();
      Emit(v_.tab);
      Number();
      if (n > 1) Emit(v_.tab);
    }
  }

  const Vocabulary& v_;
  Random rng_;
  std::string out_;
  std::size_t cap_ = 0;
  std::uint32_t target_ = 0;
  std::uint32_t measure_ = 0;
  bool full_ = false;
};

const char* EncodingTag(TextEncoding encoding) {
  return encoding == TextEncoding::kSjis ? "sjis" : "utf8";
}

// Raised with the system's reason.
[[noreturn]] void Fail(const std::string& what, const std::string& path) {
  throw std::runtime_error(what + " " + path + ": " + std::strerror(errno));
}

}  // namespace

std::string GenerateJapaneseText(TextEncoding encoding, std::size_t bytes, std::uint32_t seed) {
  return Generator(VocabularyOf(encoding), seed).Run(bytes);
}

std::string GenerateJapaneseSjisText(std::size_t bytes, std::uint32_t seed) {
  return GenerateJapaneseText(TextEncoding::kSjis, bytes, seed);
}

std::string GenerateJapaneseUtf8Text(std::size_t bytes, std::uint32_t seed) {
  return GenerateJapaneseText(TextEncoding::kUtf8, bytes, seed);
}

std::string BenchCacheDir() {
  std::string dir;
  if (const char* d = std::getenv("KELU_BENCH_CACHE"); d && *d) {
    dir = d;
  } else {
    const char* tmp = std::getenv("TMPDIR");
    dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/kelu-bench";
  }
  if (mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) Fail("cannot create", dir);
  return dir;
}

std::string CachedJapaneseTextFile(TextEncoding encoding, std::size_t bytes, std::uint32_t seed) {
  // The generator's version is part of the name, so that a changed generator
  // never reuses an old file.
  const std::string path = BenchCacheDir() + "/japanese-g1-" + EncodingTag(encoding) + "-" +
                           std::to_string(bytes) + "-" + std::to_string(seed) + ".txt";
  struct stat st;
  if (stat(path.c_str(), &st) == 0 && static_cast<std::size_t>(st.st_size) == bytes) return path;

  const std::string text = GenerateJapaneseText(encoding, bytes, seed);
  std::string tmp = path + ".XXXXXX";
  int fd = mkstemp(tmp.data());
  if (fd < 0) Fail("cannot create", tmp);
  std::size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      close(fd);
      unlink(tmp.c_str());
      Fail("cannot write", tmp);
    }
    done += static_cast<std::size_t>(n);
  }
  if (close(fd) != 0 || rename(tmp.c_str(), path.c_str()) != 0) {
    unlink(tmp.c_str());
    Fail("cannot write", path);
  }
  return path;
}

std::string ReadWholeFile(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open", path);
  struct stat st;
  if (fstat(fd, &st) != 0) {
    close(fd);
    Fail("cannot read", path);
  }
  std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      Fail("cannot read", path);
    }
    done += static_cast<std::size_t>(n);
  }
  close(fd);
  return bytes;
}

}  // namespace kelu::bench
