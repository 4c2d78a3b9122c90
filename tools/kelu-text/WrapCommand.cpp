// kelu-text wrap: the rows a file takes in the editor with word wrap on.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "editor/model/HeadlessEditor.h"
#include "tools/kelu-text/Commands.h"

namespace kelu::tools {

int Wrap(const std::vector<std::string>& args) {
  auto usage = [] {
    std::fputs(
        "使い方: kelu-text wrap [--width N] [--word-break] [--leading] [--follow-punctuation]\n"
        "                       [--follow-ret-mark] [--tab N] FILE\n",
        stderr);
    return 2;
  };
  THeadlessEditor editor;
  TEditorWrapOption& options = editor.rows.WrapOption();
  std::string file;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto number = [&](int& out) {
      if (i + 1 >= args.size()) return false;
      char* end = nullptr;
      long v = std::strtol(args[++i].c_str(), &end, 10);
      if (!end || *end != '\0') return false;
      out = static_cast<int>(v);
      return true;
    };
    int n = 0;
    if (a == "--width") {
      if (!number(n)) return usage();
      options.SetWrapByte(n);
    } else if (a == "--tab") {
      if (!number(n)) return usage();
      editor.tabWidth = n < 2 ? 2 : (n > 8 ? 8 : n & ~1);
    } else if (a == "--word-break") {
      options.SetWordBreak(true);
    } else if (a == "--leading") {
      options.SetLeading(true);
    } else if (a == "--follow-punctuation") {
      options.SetFollowPunctuation(true);
    } else if (a == "--follow-ret-mark") {
      options.SetFollowRetMark(true);
    } else if (a.rfind("--", 0) == 0 || !file.empty()) {
      return usage();
    } else {
      file = a;
    }
  }
  if (file.empty()) return usage();
  std::string text;
  TTextCodec codec;
  if (!LoadDocumentText(file, text, codec)) return 1;
  editor.rows.SetWordWrap(true);
  editor.lines.SetText(text);
  const TEditorScreenStrings& rows = editor.rows;
  for (int r = 0; r < rows.GetCount(); ++r) {
    std::printf("%s\t%s\n", RowAttributeName(rows.RowAttributes(r)),
                ToTerminal(std::string(rows.View(r)), codec).c_str());
  }
  return 0;
}

}  // namespace kelu::tools
