#include "editor/model/Wrap.h"

#include "base/Sjis.h"
#include "editor/model/TextUtils.h"

namespace kelu {

void TEditorAttributeArray::Init(std::string_view text, std::string_view map) {
  text_ = text;
  map_ = map;
  mapLength_ = static_cast<int>(map.size());
  position_ = 0;
  count_ = 0;
  code_ = '1';
  Next();
}

void TEditorAttributeArray::Next() {
  if (code_ == '0') return;
  ++position_;
  code_ = MapAt(position_);
  if (code_ != '3' && code_ != '0') ++count_;
}

void TEditorAttributeArray::Prev() {
  if (position_ < 2) return;
  char left = code_;
  --position_;
  code_ = MapAt(position_);
  if (left != '3' && left != '0') --count_;
}

void TEditorAttributeArray::PrevChar() {
  if (code_ == '3') {
    // Inside a tab: the character is the whole tab, so step back over its
    // fill columns and its own column.
    while (code_ == '3' && position_ > 1) Prev();
    Prev();
    return;
  }
  Prev();
  if (code_ == '4') Prev();
}

void TEditorAttributeArray::MoveTo(int column) {
  if (position_ < column) {
    while (position_ < column && code_ != '0') Next();
  } else {
    while (position_ > column && position_ > 1) Prev();
  }
}

std::string_view TEditorAttributeArray::CurrentChar() const {
  auto byteAt = [&](int count) -> std::size_t { return static_cast<std::size_t>(count - 1); };
  switch (code_) {
    case '0':
      return {};
    case '5':
      if (count_ >= 2) return text_.substr(byteAt(count_ - 1), 2);
      return {};
    case '4':
      if (count_ >= 1 && static_cast<std::size_t>(count_) < text_.size()) {
        return text_.substr(byteAt(count_), 2);
      }
      return {};
    default:
      if (count_ >= 1 && static_cast<std::size_t>(count_) <= text_.size()) {
        return text_.substr(byteAt(count_), 1);
      }
      return {};
  }
}

std::string_view TEditorAttributeArray::CharAfter() {
  if (code_ == '0') return {};
  Next();
  std::string_view c = CurrentChar();
  Prev();
  return c;
}

namespace {

bool In(std::string_view ch, const std::string& set) {
  return !ch.empty() && ContainsAtCharStart(ch, set);
}

// Where the row that starts `line` (wider than W) is cut, in bytes.
int CutPoint(TEditorAttributeArray& a, const TEditorWrapOption& o) {
  const int w = o.WrapByte();
  if (a.Code() == '4') {
    a.Prev();
  } else if (o.WordBreak() && a.MapLength() > w) {
    while (a.Code() != '2' && a.Code() != '3' && a.Code() != '5' && a.Position() > w / 3) {
      a.PrevChar();
    }
  }
  if (o.FollowPunctuation()) {
    while (a.Position() < w + 2) {
      std::string_view after = a.CharAfter();
      // Hanging never goes beyond two columns, a double-byte mark included.
      if (a.Position() + static_cast<int>(after.size()) <= w + 2 && In(after, o.PunctuationStr())) {
        a.Next();
        if (a.Code() == '4') a.Next();
      } else {
        break;
      }
    }
  }
  if (o.Leading() && a.Position() < a.MapLength()) {
    const int floor = (w / 5) * 4;
    while (floor < a.Position()) {
      if (In(a.CurrentChar(), o.LeadStr())) {
        a.PrevChar();
      } else {
        break;
      }
    }
    // Any character after the cut counts, a single-byte one in the line's
    // last column too.
    if (In(a.CharAfter(), o.FollowStr())) {
      std::string after(a.CharAfter());
      while (floor < a.Position() &&
             (In(a.CurrentChar(), o.LeadStr()) || In(after, o.FollowStr()))) {
        after = a.CurrentChar();
        a.PrevChar();
      }
    }
  }
  return a.Count();
}

}  // namespace

TWrapResult WrapLine(std::string_view line, const TEditorWrapOption& options,
                     const TColumnMapSettings& settings,
                     const std::function<void(std::string_view row)>& cut, std::string_view* rest) {
  TWrapResult result;
  const int w = options.WrapByte();
  thread_local std::string map;
  BuildColumnMap(line, settings, map);
  if (static_cast<int>(map.size()) < w) {
    *rest = line;
    return result;
  }
  TEditorAttributeArray a;
  a.Init(line, map);
  a.MoveTo(w);
  bool cutAny = false;
  while (a.Code() != '0') {
    int bytes = CutPoint(a, options);
    if (bytes <= 0) bytes = static_cast<int>(sjis::CharLength(line, 0));  // never an empty cut
    cut(line.substr(0, static_cast<std::size_t>(bytes)));
    cutAny = true;
    line.remove_prefix(static_cast<std::size_t>(bytes));
    BuildColumnMap(line, settings, map);
    a.Init(line, map);
    a.MoveTo(w);
  }
  *rest = line;
  if (line.empty() && cutAny && options.FollowRetMark()) result.finalRow = false;
  return result;
}

int CountWrappedRows(std::string_view line, const TEditorWrapOption& options,
                     const TColumnMapSettings& settings) {
  if (!settings.wordWrap) return 1;
  int rows = 0;
  std::string_view rest;
  TWrapResult r = WrapLine(
      line, options, settings, [&](std::string_view) { ++rows; }, &rest);
  return rows + (r.finalRow ? 1 : 0);
}

}  // namespace kelu
