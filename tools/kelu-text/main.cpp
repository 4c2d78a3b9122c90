// kelu-text: the editor's text engine from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/kelu-text/Commands.h"

namespace {

void Usage() {
  std::fputs(
      "使い方:\n"
      "  kelu-text detect FILE...\n"
      "  kelu-text convert --to NAME IN OUT\n"
      "  kelu-text search [--regexp] [--match-case] [--esc-seq] [--whole-word] PATTERN FILE\n"
      "                   (一致ごとに 行番号<TAB>行内のバイト位置<TAB>一致した文字列)\n"
      "  kelu-text wrap [--width N] [--word-break] [--leading] [--follow-punctuation]\n"
      "                 [--follow-ret-mark] [--tab N] FILE\n"
      "                   (画面上の行ごとに 行属性<TAB>行の文字列)\n"
      "  kelu-text tokens [--commenter S] [--quotation C] [--url] [--mail] [--control-code]\n"
      "                   [--hex-prefix S] [--reserve WORD]... [--bracket LEFT RIGHT]... FILE\n",
      stderr);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    Usage();
    return 2;
  }
  std::string command = argv[1];
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const kelu::tools::Command& c : kelu::tools::Commands()) {
    if (command == c.name) return c.run(args);
  }
  std::fprintf(stderr, "kelu-text: 不明なコマンドです: %s\n", command.c_str());
  Usage();
  return 2;
}
