// Helpers of the fountain tests: a minimal fountain for the base parser,
// token lists, row lists built from (text, attribute) pairs, and the row
// states chained over them with RowStep.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Cp932.h"
#include "editor/fountain/EditorFountain.h"
#include "editor/fountain/Fountain.h"
#include "editor/model/RowList.h"

namespace kelu::test {

// The base parser as such: it colours nothing.
class PlainParser : public TFountainParser {
 public:
  using TFountainParser::TFountainParser;
  TFountainColor* TokenColor() override { return nullptr; }
};

class PlainFountain : public TFountain {
 protected:
  std::unique_ptr<TFountainParser> ParserClass() override {
    return std::make_unique<PlainParser>(this);
  }
};

struct Tok {
  int kind;
  std::string text;
  bool operator==(const Tok&) const = default;
};

inline void PrintTo(const Tok& t, std::ostream* os) {
  *os << TokenKindName(t.kind) << " \"" << cp932::ToUtf8(t.text) << "\"";
}

// Shift-JIS bytes, written as escapes with the text in a comment beside
// them: the tests need no code conversion.
inline std::string S(const char* sjis) {
  return sjis;
}

// Every token of `row` up to ttEnd.
inline std::vector<Tok> Tokens(TFountainParser& parser, std::string_view row,
                               const TRowAttributeData& state = FirstRowState(raBreak)) {
  std::vector<Tok> tokens;
  parser.Start(row, state);
  while (parser.NextToken() != ttEnd) {
    tokens.push_back({parser.Token(), std::string(parser.TokenText())});
    if (tokens.size() > row.size() + 2) break;  // no progress: let the test fail
  }
  return tokens;
}

using RowTexts = std::vector<std::pair<std::string, TRowAttribute>>;

inline void FillRows(TEditorStringList& rows, const RowTexts& texts) {
  rows.Clear();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    rows.Add(texts[i].first);
    rows.SetRowAttributes(static_cast<int>(i), texts[i].second);
  }
}

// The start state of every row, from the first row's on, as the row list
// computes them.
inline std::vector<TRowAttributeData> ChainStates(TFountainParser& parser,
                                                  const TRowAttributeStringList& rows) {
  std::vector<TRowAttributeData> states;
  if (rows.Count() == 0) return states;
  TRowAttributeData state = FirstRowState(rows.RowAttributes(0));
  for (int r = 0; r < rows.Count(); ++r) {
    state.RowAttribute = rows.RowAttributes(r);
    state.PrevRowAttribute = r > 0 ? rows.RowAttributes(r - 1) : 0;
    states.push_back(state);
    parser.RowStep(r, rows, state);
  }
  return states;
}

}  // namespace kelu::test
