// TEditorEx: construction, published properties, caret moves and the
// bracket pair, dropped files.
#include "editor/ex/EditorEx.h"

#include <algorithm>
#include <cstring>

#include "base/Sjis.h"
#include "editor/ex/matcher/RegexLibrary.h"

namespace kelu {

// ------------------------------------------------------------ construction

TEditorEx::TEditorEx(QWidget* parent) : TEditorEx(parent, TDeferConstruction{}) {
  Construct();
}

TEditorEx::TEditorEx(QWidget* parent, TDeferConstruction)
    : TOleddEditor(parent, TDeferConstruction{}) {}

void TEditorEx::Construct() {
  TOleddEditor::Construct();
  exMarks_ = CreateExMarks();
  droppedFiles_.Clear();
  caret_->SetSelDragMode(dmManual);
  verticalLines_ = std::make_unique<TVerticalLines>(this);
  verticalLines_->OnChange = TNotifyEvent::Of<&TEditorEx::VerticalLinesChanged>(this);
  // The library is bound once per process; every editor asks.
  regexAvailable_ = kelu::RegexAvailable();
  search_.SetFindLineFeedCount(5);
}

TEditorEx::~TEditorEx() {
  MarkDestroying();
}

std::unique_ptr<TEditorExMarks> TEditorEx::CreateExMarks() {
  auto marks = std::make_unique<TEditorExMarks>();
  marks->OnChange = TNotifyEvent::Of<&TEditorEx::SettingsChanged>(this);
  return marks;
}

void TEditorEx::VerticalLinesChanged(TObject* /*sender*/) {
  if (handleCreated_ && !Destroying()) Invalidate();
}

// ---------------------------------------------------- published properties

const TClassInfo* TEditorEx::ClassInfo() const {
  using C = TEditorEx;
  static const TClassInfo info = [this] {
    TPropsOf<C> p("TEditorEx", TOleddEditor::ClassInfo());
    p.Ord(
        "ChangedFlg", TypeBoolean(), 0, [](const C& o) { return o.ChangedFlg(); },
        [](C& o, std::int64_t v) { o.SetChangedFlg(v != 0); });
    p.Obj("ExMarks", TypeClass("TEditorExMarks"), [](C& o) { return &o.ExMarks(); });
    PublishSearchProperties(p);
    p.Str(
        "MojiCode", [](const C& o) { return o.MojiCode(); },
        [](C& o, const std::string& v) { o.SetMojiCode(v); });
    p.Str(
        "OpenFileName", [](const C& o) { return o.OpenFileName(); },
        [](C& o, const std::string& v) { o.SetOpenFileName(v); });
    p.Ord(
        "RedoFlg", TypeBoolean(), 0, [](const C& o) { return o.RedoFlg(); },
        [](C& o, std::int64_t v) { o.SetRedoFlg(v != 0); });
    p.Obj("VerticalLines", TypeClass("TVerticalLines"), [](C& o) { return &o.VerticalLines(); });
    return p.Build();
  }();
  return &info;
}

// ------------------------------------------------------------- caret moves

void TEditorEx::InvalidateTextRow(int row) {
  if (!handleCreated_ || row < topRow_ || row > topRow_ + visibleRows_) return;
  InvalidateRect(RowRect(row), false);
}

void TEditorEx::RepaintParenRows() {
  InvalidateTextRow(openParenRow_);
  if (closeParenRow_ != openParenRow_) InvalidateTextRow(closeParenRow_);
}

void TEditorEx::DoCaretMoved() {
  TOleddEditor::DoCaretMoved();
  if (!exMarks_ || Destroying()) return;
  if (exMarks_->CurrentLine().Visible() && row_ != lastCaretRow_) {
    InvalidateTextRow(lastCaretRow_);
    InvalidateTextRow(row_);
    lastCaretRow_ = row_;
  }
  if (exMarks_->ParenMark().Visible()) {
    if (parenFound_) RepaintParenRows();
    const int c = ColToCharIndex(row_, col_);
    parenFound_ = FindBracketPair(row_, c + 1) || FindBracketPair(row_, c);
    if (parenFound_) RepaintParenRows();
  } else {
    parenFound_ = false;
  }
  if (repaintAfterChange_ && ++caretMovesSinceChange_ >= 2) {
    repaintAfterChange_ = false;
    if (handleCreated_) InvalidateRect(ClientRect(), false);
  }
}

void TEditorEx::DoChange() {
  TOleddEditor::DoChange();
  repaintAfterChange_ = true;
  caretMovesSinceChange_ = 0;
}

void TEditorEx::DoTopColChange() {
  if (handleCreated_) Invalidate();
  TOleddEditor::DoTopColChange();
}

// ------------------------------------------------------------ bracket pairs

namespace {

// The openers and, at the same index, their closers.
constexpr std::string_view kOpeners[] = {"(",        "<",        "[",        "{",        "\x81\x65",
                                         "\x81\x67", "\x81\x69", "\x81\x75", "\x81\x77", "\x81\x79",
                                         "\x81\x83", "\x81\xE1"};  // ‘ “ （ 「 『 【 ＜ ≪
constexpr std::string_view kClosers[] = {")",        ">",        "]",        "}",        "\x81\x66",
                                         "\x81\x68", "\x81\x6A", "\x81\x76", "\x81\x78", "\x81\x7A",
                                         "\x81\x84", "\x81\xE2"};  // ’ ” ） 」 』 】 ＞ ≫

int IndexIn(const std::string_view (&table)[12], std::string_view ch) {
  for (int i = 0; i < 12; ++i) {
    if (table[i] == ch) return i;
  }
  return -1;
}

bool At(std::string_view s, std::size_t i, std::string_view what) {
  return s.size() - i >= what.size() && std::memcmp(s.data() + i, what.data(), what.size()) == 0;
}

}  // namespace

namespace {

// The starts of the brackets `a` and `b` in `t` (whole characters only)
// before `limit`, in order. A row without their first bytes
// is passed over without walking its characters.
void BracketsInRow(std::string_view t, std::string_view a, std::string_view b, std::size_t limit,
                   std::vector<std::size_t>& starts) {
  starts.clear();
  const char firstBytes[] = {a[0], b[0], '\0'};
  std::size_t i = 0;  // a character boundary
  for (std::size_t p = t.find_first_of(firstBytes); p != std::string_view::npos && p < limit;
       p = t.find_first_of(firstBytes, p + 1)) {
    while (i < p) i += sjis::CharLength(t, i);
    if (i != p) continue;  // a trail byte
    if (At(t, p, a) || At(t, p, b)) starts.push_back(p);
  }
}

}  // namespace

bool TEditorEx::FindBracketPair(int row, int pos) {
  openParenText_.clear();
  closeParenText_.clear();
  if (pos < 1) pos = 1;
  if (row < 0 || row >= RowCount()) return false;
  const std::string_view s = RowText(row);
  if (static_cast<std::size_t>(pos) > s.size()) return false;
  const std::size_t lead = sjis::CharStart(s, static_cast<std::size_t>(pos - 1));
  const std::string_view ch = s.substr(lead, sjis::CharLength(s, lead));
  std::vector<std::size_t> starts;

  const int open = IndexIn(kOpeners, ch);
  if (open >= 0) {
    const std::string_view opener = kOpeners[open], closer = kClosers[open];
    openParenRow_ = row;
    openParenPos_ = static_cast<int>(lead) + 1;
    openParenText_ = opener;
    int depth = 0;
    for (int r = row; r < RowCount(); ++r) {
      const std::string_view t = RowText(r);
      BracketsInRow(t, opener, closer, t.size(), starts);
      for (std::size_t i : starts) {
        if (r == row && i < lead) continue;
        if (At(t, i, opener)) {
          ++depth;
        } else if (--depth == 0) {
          closeParenRow_ = r;
          closeParenPos_ = static_cast<int>(i) + 1;
          closeParenText_ = closer;
          return true;
        }
      }
    }
  }

  const int close = IndexIn(kClosers, ch);
  if (close < 0) return false;
  const std::string_view opener = kOpeners[close], closer = kClosers[close];
  closeParenRow_ = row;
  closeParenPos_ = static_cast<int>(lead) + 1;
  closeParenText_ = closer;
  int depth = 0;
  for (int r = row; r >= 0; --r) {
    const std::string_view t = RowText(r);
    BracketsInRow(t, opener, closer, r == row ? lead + 1 : t.size(), starts);
    for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
      if (At(t, *it, closer)) {
        ++depth;
      } else if (--depth == 0) {
        openParenRow_ = r;
        openParenPos_ = static_cast<int>(*it) + 1;
        openParenText_ = opener;
        return true;
      }
    }
  }
  return false;
}

// ------------------------------------------------------------ dropped files

void TEditorEx::DropFiles(const std::vector<std::string>& files, int keyState, QPoint point) {
  droppedFiles_.BeginUpdate();
  droppedFiles_.Clear();
  for (const std::string& file : files) droppedFiles_.Add(file);
  droppedFiles_.EndUpdate();
  TOleddEditor::DropFiles(files, keyState, point);
}

}  // namespace kelu
