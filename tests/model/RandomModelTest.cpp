// Thousands of random edits through ReplaceRows and Lines against a plain
// string, with word wrap off and on under varied options; after every edit
// the text, the row invariants, the wrap rules and the colouring states are
// checked; then everything is undone and redone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "FakeEditor.h"
#include "base/Sjis.h"
#include "editor/model/TextUtils.h"

namespace kelu {
namespace {

using testing::FakeEditor;

struct Config {
  const char* name;
  bool wrap;
  int wrapByte;
  bool leading, punctuation, wordBreak, retMark;
  // Without brackets lines start fresh, and the row list colours a line
  // from its own first row: the way most documents are coloured.
  bool brackets = true;
};

const Config kConfigs[] = {
    {"off", false, 80, false, false, false, false},
    {"wrap20", true, 20, false, false, false, false},
    {"leading", true, 20, true, false, false, false},
    {"punctuation", true, 24, false, true, false, true},
    {"everything", true, 21, true, true, true, true},
    {"offNoBrackets", false, 80, false, false, false, false, false},
    {"wrap20NoBrackets", true, 20, false, false, false, false, false},
    {"everythingNoBrackets", true, 21, true, true, true, true, false},
};

// Pieces of text: ASCII, double-byte, half-width kana, tabs, the line-breaking
// characters, brackets and quotes for the colouring state, and a lone lead
// byte (mis-detected Latin-1).
const char* const kPieces[] = {
    "a",
    "bc",
    "word",
    " ",
    "\t",
    "12",
    "x_y",
    "\x82\xa0",          // あ
    "\x8a\xbf\x8e\x9a",  // 漢字
    "\x83\x4a\x83\x69",  // カナ
    "\x81\x5b",          // ー
    "\xb1\xb2",          // ｱｲ
    "\x81\x41",
    "\x81\x42",  // 、。
    "\x81\x75",
    "\x81\x76",  // 「」
    "(",
    ")",
    ",",
    ".",
    "/*",
    "*/",
    "\"",
    "//",
    "\x81\x40",  // full-width space
    "\x95\\",    // 表 (trail byte is a backslash)
};

class RandomModel {
 public:
  RandomModel(const Config& c, std::uint32_t seed) : config_(c), rng_(seed) {
    e_.tabWidth = 4;
    e_.screenRows = 3;
    if (c.brackets) {
      auto* b = e_.fountain.Brackets().Add();
      b->SetLeftBracket("/*");
      b->SetRightBracket("*/");
    }
    e_.fountain.SetQuotation("\"");
    e_.fountain.SetCommenter("//");
    e_.rows.UndoObj().SetUndoListMax(1 << 30);
    TEditorWrapOption& o = e_.rows.WrapOption();
    o.SetWrapByte(c.wrapByte);
    o.SetLeading(c.leading);
    o.SetFollowPunctuation(c.punctuation);
    o.SetWordBreak(c.wordBreak);
    o.SetFollowRetMark(c.retMark);
    e_.rows.SetWordWrap(c.wrap);
  }

  std::string Piece() { return kPieces[Rand(std::size(kPieces))]; }
  int Rand(std::size_t n) { return static_cast<int>(rng_() % n); }

  std::string RandomLine(int maxPieces) {
    std::string s;
    int n = Rand(static_cast<std::size_t>(maxPieces) + 1);
    for (int i = 0; i < n; ++i) s += Piece();
    if (Rand(30) == 0) s += "\x82";  // a lone lead byte at the end
    return s;
  }

  std::string RandomText() {
    std::string s;
    int lines = Rand(4);
    for (int i = 0; i < lines; ++i) s += RandomLine(8) + "\r\n";
    if (Rand(2)) s += RandomLine(12);
    return s;
  }

  void Start() {
    std::string text;
    for (int i = 0; i < 20; ++i) text += RandomLine(20) + "\r\n";
    e_.lines.SetText(text);
    reference_ = text;
    start_ = text;
  }

  // The byte offset of the start of row `row` in the text.
  std::size_t Offset(int row) const {
    std::size_t off = 0;
    for (int r = 0; r < row; ++r) {
      off += e_.rows.View(r).size() + (e_.rows.RowAttributes(r) == raBreak ? 2 : 0);
    }
    return off;
  }

  void EditOnce() {
    TEditorScreenStrings& rows = e_.rows;
    const int total = rows.GetCount();
    int kind = Rand(10);
    if (kind < 5 || total == 0) {
      int row = total ? Rand(static_cast<std::size_t>(total)) : 0;
      int count = total ? Rand(static_cast<std::size_t>(std::min(3, total - row)) + 1) : 0;
      // Appending after the last row, where that row ends with a break.
      if (total == 0 || (Rand(20) == 0 && rows.RowAttributes(total - 1) == raBreak)) {
        row = total;
        count = 0;
      }
      std::string text = RandomText();
      if (count == 0 && text.empty()) return;
      TRowAttribute a;
      int n;
      std::string block;
      rows.GetLineText(row, count, a, n, block);
      std::size_t off = Offset(row);
      e_.col = Rand(5);
      lastOp_ = "ReplaceRows(" + std::to_string(row) + ", " + std::to_string(count) + ", [" + text +
                "]) of " + std::to_string(total);
      rows.ReplaceRows(row, count, text);
      reference_.replace(off, block.size(), text);
      return;
    }
    // Through Lines.
    int lines = e_.lines.Count();
    switch (kind) {
      case 5:
        if (lines > 0) Put(Rand(static_cast<std::size_t>(lines)), RandomLine(15));
        break;
      case 6:
        Insert(Rand(static_cast<std::size_t>(lines) + 1), RandomLine(15));
        break;
      case 7:
        Add(RandomLine(15));
        break;
      case 8:
        if (lines > 0) Delete(Rand(static_cast<std::size_t>(lines)));
        break;
      default:
        if (Rand(50) == 0) {
          // Setting the whole text starts a new history.
          std::string text = RandomText() + RandomText();
          e_.lines.SetText(text);
          reference_ = text;
          start_ = text;
        }
        break;
    }
  }

  // Lines operations mirrored on the reference as lists of lines.
  struct RefLines {
    std::vector<std::string> lines;
    bool finalBreak = false;
  };
  RefLines Split() const {
    RefLines r;
    TStringList list;
    SplitLines(reference_, list);
    for (int i = 0; i < list.Count(); ++i) r.lines.push_back(list[i]);
    r.finalBreak = reference_.size() >= 2 && reference_.substr(reference_.size() - 2) == "\r\n";
    return r;
  }
  void Join(const RefLines& r) {
    reference_.clear();
    for (std::size_t i = 0; i < r.lines.size(); ++i) {
      reference_ += r.lines[i];
      if (i + 1 < r.lines.size() || r.finalBreak) reference_ += "\r\n";
    }
  }
  void Put(int i, const std::string& s) {
    lastOp_ = "Put(" + std::to_string(i) + ", [" + s + "])";
    RefLines r = Split();
    r.lines[i] = s;
    e_.lines.Put(i, s);
    Join(r);
  }
  void Insert(int i, const std::string& s) {
    lastOp_ = "Insert(" + std::to_string(i) + ", [" + s + "])";
    RefLines r = Split();
    if (static_cast<std::size_t>(i) == r.lines.size()) {
      Add(s);
      return;
    }
    r.lines.insert(r.lines.begin() + i, s);
    e_.lines.Insert(i, s);
    Join(r);
  }
  void Add(const std::string& s) {
    lastOp_ += " Add([" + s + "])";
    RefLines r = Split();
    if (!r.lines.empty() && !r.finalBreak) {
      r.lines.push_back(s);
      r.finalBreak = false;
    } else {
      r.lines.push_back(s);
      r.finalBreak = true;
    }
    e_.lines.Add(s);
    Join(r);
  }
  void Delete(int i) {
    lastOp_ = "Delete(" + std::to_string(i) + ")";
    RefLines r = Split();
    bool last = static_cast<std::size_t>(i) + 1 == r.lines.size();
    r.lines.erase(r.lines.begin() + i);
    if (last && !r.finalBreak && !r.lines.empty()) r.finalBreak = true;
    e_.lines.Delete(i);
    Join(r);
  }

  std::string Dump() const {
    std::string out;
    for (int r = 0; r < e_.rows.GetCount(); ++r) {
      out += std::to_string(r) + " [" + std::string(e_.rows.View(r)) + "] " +
             RowAttributeName(e_.rows.RowAttributes(r)) + "\n";
    }
    return out;
  }

  void Check(int step) {
    SCOPED_TRACE(std::string(config_.name) + " step " + std::to_string(step) + " after " + lastOp_ +
                 "\nbefore:\n" + before_);
    if (::testing::Test::HasFailure()) return;
    SCOPED_TRACE(std::getenv("KELU_DUMP_ROWS") ? Dump() : std::string());
    const TEditorScreenStrings& rows = e_.rows;
    std::string text = e_.lines.Text();
    if (text != reference_) {
      std::size_t d = 0;
      while (d < text.size() && d < reference_.size() && text[d] == reference_[d]) ++d;
      std::size_t from = d > 40 ? d - 40 : 0;
      FAIL() << "text differs at byte " << d << " of " << text.size() << "/" << reference_.size()
             << ": [" << text.substr(from, 80) << "] vs [" << reference_.substr(from, 80) << "]";
    }
    const int total = rows.GetCount();
    for (int r = 0; r < total; ++r) {
      TRowAttribute a = rows.RowAttributes(r);
      if (r + 1 < total) {
        ASSERT_TRUE(a == raBreak || a == raWrap) << "row " << r;
      } else {
        bool endsWithBreak =
            reference_.size() >= 2 && reference_.compare(reference_.size() - 2, 2, "\r\n") == 0;
        ASSERT_EQ(a, endsWithBreak ? raBreak : raEnd) << "last row";
      }
    }
    if (config_.wrap) CheckWrap();
    CheckLineIndex();
    CheckColouring();
  }

  void CheckWrap() {
    const TEditorScreenStrings& rows = e_.rows;
    TColumnMapSettings s = rows.MapSettings();
    const TEditorWrapOption& o = rows.WrapOption();
    const int w = o.WrapByte();
    const int hang = o.FollowPunctuation() ? 2 : 0;
    const int floor = (w / 5) * 4;
    for (int r = 0; r < rows.GetCount(); ++r) {
      std::string_view text = rows.View(r);
      int width = TextWidth(text, s);
      ASSERT_LE(width, w + hang) << "row " << r;
      if (rows.RowAttributes(r) != raWrap) continue;
      ASSERT_FALSE(text.empty()) << "empty wrapped row " << r;
      if (!o.Leading()) continue;
      std::size_t last = sjis::CharStart(text, text.size() - 1);
      // A line that exactly fills its row keeps its last character there
      // (an empty row ends the line).
      bool lineEndsHere = rows.View(r + 1).empty() && rows.RowAttributes(r + 1) != raWrap;
      if (!lineEndsHere && ContainsAtCharStart(text.substr(last), o.LeadStr())) {
        ASSERT_LE(width, floor + 1) << "row " << r << " ends with a leading character";
      }
      std::string_view next = rows.View(r + 1);
      if (!next.empty()) {
        std::string_view first = next.substr(0, sjis::CharLength(next, 0));
        if (ContainsAtCharStart(first, o.FollowStr())) {
          ASSERT_LE(width, floor + 1) << "row " << r + 1 << " starts with a following character";
        }
      }
    }
  }

  void CheckLineIndex() {
    const TEditorScreenStrings& rows = e_.rows;
    std::vector<int> starts;
    for (int r = 0; r < rows.GetCount(); ++r) {
      if (r == 0 || rows.RowAttributes(r - 1) != raWrap) starts.push_back(r);
    }
    ASSERT_EQ(rows.LineCount(), static_cast<int>(starts.size()));
    for (std::size_t i = 0; i < starts.size(); ++i) {
      ASSERT_EQ(rows.LineToRow(static_cast<int>(i)), starts[i]);
    }
  }

  // Every row's state, computed lazily as a painter would, equals a full
  // re-parse from the top.
  void CheckColouring() {
    TEditorScreenStrings& rows = e_.rows;
    auto parser = e_.fountain.CreateParser();
    if (rows.GetCount() == 0) return;
    TRowAttributeData state = FirstRowState(rows.RowAttributes(0));
    std::vector<TRowAttributeData> expected;
    for (int r = 0; r < rows.GetCount(); ++r) {
      state.RowAttribute = rows.RowAttributes(r);
      expected.push_back(state);
      parser->RowStep(r, rows, state);
      state.PrevRowAttribute = rows.RowAttributes(r);
    }
    // Look at a few rows in a random order, as scrolling would.
    for (int k = 0; k < 4; ++k) {
      int r = Rand(static_cast<std::size_t>(rows.GetCount()));
      rows.EnsureRowState(r);
      ASSERT_TRUE(rows.RowState(r).SameCarriedState(expected[static_cast<std::size_t>(r)]))
          << "row " << r;
    }
    for (int r = 0; r < rows.GetCount(); ++r) {
      if (rows.BracketIndexes(r) == -2) continue;
      ASSERT_TRUE(rows.RowState(r).SameCarriedState(expected[static_cast<std::size_t>(r)]))
          << "stored state of row " << r;
    }
  }

  void Run(int steps) {
    Start();
    for (int i = 0; i < steps; ++i) {
      lastOp_.clear();
      before_ = std::getenv("KELU_DUMP_ROWS") ? Dump() : std::string();
      EditOnce();
      Check(i);
      if (::testing::Test::HasFatalFailure()) return;
    }
    // Undo everything back to the start text, then redo to the end.
    std::string end = reference_;
    while (e_.rows.UndoObj().CanUndo()) e_.rows.Undo();
    ASSERT_EQ(e_.lines.Text(), start_) << config_.name;
    while (e_.rows.UndoObj().CanRedo()) e_.rows.Redo();
    ASSERT_EQ(e_.lines.Text(), end) << config_.name;
  }

 private:
  Config config_;
  std::mt19937 rng_;
  FakeEditor e_;
  std::string reference_, start_;
  std::string lastOp_, before_;
};

class RandomModelTest : public ::testing::TestWithParam<Config> {};

TEST_P(RandomModelTest, TenThousandEdits) {
  RandomModel model(GetParam(), 20261210);
  model.Run(10000);
}

INSTANTIATE_TEST_SUITE_P(Configs, RandomModelTest, ::testing::ValuesIn(kConfigs),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelu
