// The text engine on arbitrary bytes: the first bytes choose the word-wrap
// options and the colouring settings, the rest is set as the text, edited,
// parsed row by row and undone. No crash, no sanitizer report, and the
// text read back is the text set.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/model/HeadlessEditor.h"

using namespace kelu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t flags = data[0];
  const int wrapByte = 20 + data[1] % 40;
  const std::size_t split = 4 + data[2] % 64;
  std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
  if (text.find('\0') != std::string::npos) text.resize(text.find('\0'));

  THeadlessEditor e;
  e.tabWidth = 2 + 2 * (data[3] % 4);
  e.screenRows = 3;
  TEditorWrapOption& o = e.rows.WrapOption();
  o.SetWrapByte(wrapByte);
  o.SetLeading(flags & 1);
  o.SetFollowPunctuation(flags & 2);
  o.SetWordBreak(flags & 4);
  o.SetFollowRetMark(flags & 8);
  e.rows.SetWordWrap(flags & 16);
  if (flags & 32) {
    auto* b = e.fountain.Brackets().Add();
    b->SetLeftBracket("/*");
    b->SetRightBracket("*/");
    e.fountain.SetQuotation("\"");
    e.fountain.SetCommenter("//");
    e.fountain.SetUrl(true);
    e.fountain.SetMail(true);
  }
  e.rows.UndoObj().SetUndoListMax(1 << 20);

  // Set the first part as the whole text, then insert the rest in the middle.
  const std::string first = text.substr(0, std::min(split, text.size()));
  e.lines.SetText(first);
  const std::string start = e.lines.Text();
  if (e.rows.GetCount() > 0 && text.size() > first.size()) {
    const int row = e.rows.GetCount() / 2;
    std::string line(e.rows.View(row));
    line.insert(line.size() / 2, text.substr(first.size()));
    e.rows.ReplaceRows(row, 1, line);
  }
  // Every row's colouring state and tokens, as painting asks for them.
  auto parser = e.fountain.CreateParser();
  for (int r = 0; r < e.rows.GetCount(); ++r) {
    e.rows.EnsureRowState(r);
    parser->Start(e.rows.View(r), e.rows.RowState(r));
    for (int guard = 0; parser->NextToken() != 0 && guard < 100000; ++guard) {
      if (parser->TokenStart() + parser->TokenLength() >
          static_cast<int>(e.rows.View(r).size()) + 256) {
        std::abort();
      }
    }
  }
  while (e.rows.UndoObj().CanUndo()) e.rows.Undo();
  if (e.lines.Text() != start) std::abort();
  return 0;
}
