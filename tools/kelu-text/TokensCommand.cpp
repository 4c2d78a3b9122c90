// kelu-text tokens: the editor fountain's tokens of a file, one per line.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "editor/fountain/EditorFountain.h"
#include "editor/model/RowList.h"
#include "editor/model/TextUtils.h"
#include "tools/kelu-text/Commands.h"

namespace kelu::tools {

namespace {

constexpr const char* kTokensUsage =
    "使い方: kelu-text tokens [--commenter S] [--quotation C] [--url] [--mail] "
    "[--control-code] [--hex-prefix S] [--reserve WORD]... [--bracket LEFT RIGHT]... FILE\n";

int TokensUsageError(const char* message, const std::string& detail) {
  if (message) std::fprintf(stderr, "kelu-text: %s: %s\n", message, detail.c_str());
  std::fputs(kTokensUsage, stderr);
  return 2;
}

}  // namespace

int Tokens(const std::vector<std::string>& args) {
  TEditorFountain fountain;
  TStringList words;
  std::string path;
  // Option texts are turned into the document's codes once it is read.
  TTextCodec codec;
  std::vector<std::function<void()>> settings;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string s, t;
    if (arg == "--url") {
      fountain.SetUrl(true);
    } else if (arg == "--mail") {
      fountain.SetMail(true);
    } else if (arg == "--control-code") {
      fountain.SetControlCode(true);
    } else if (arg == "--commenter" || arg == "--quotation" || arg == "--hex-prefix" ||
               arg == "--reserve") {
      if (!value(s)) return TokensUsageError("オプションに値がありません", arg);
      settings.push_back([&, arg, s] {
        const std::string v = codec.FromUtf8(s);
        if (arg == "--commenter") fountain.SetCommenter(v);
        if (arg == "--quotation") fountain.SetQuotation(v);
        if (arg == "--hex-prefix") fountain.SetHexPrefix(v);
        if (arg == "--reserve") words.Add(v);
      });
    } else if (arg == "--bracket") {
      if (!value(s) || !value(t)) return TokensUsageError("オプションに値がありません", arg);
      if (fountain.Brackets().Count() >= TFountainBracketCollection::kMaxItems) {
        return TokensUsageError("括弧は14組までです", arg);
      }
      TFountainBracketItem* item = fountain.Brackets().Add();
      settings.push_back([&, item, s, t] {
        item->SetLeftBracket(codec.FromUtf8(s));
        item->SetRightBracket(codec.FromUtf8(t));
      });
    } else if (arg.size() > 1 && arg[0] == '-') {
      return TokensUsageError("不明なオプションです", arg);
    } else if (path.empty()) {
      path = arg;
    } else {
      return TokensUsageError("ファイルは一つだけ指定してください", arg);
    }
  }
  if (path.empty()) return TokensUsageError(nullptr, "");
  std::string text;
  if (!LoadDocumentText(path, text, codec)) return 1;
  for (const auto& set : settings) set();
  fountain.SetReserveWordList(words);

  // Word wrap off: one row per line; the last row ends the text unless a
  // line break follows it.
  TEditorStringList rows;
  SplitLines(text, rows);
  const int count = rows.Count();
  for (int r = 0; r < count; ++r) rows.SetRowAttributes(r, raBreak);
  if (count > 0 && text.back() != '\n' && text.back() != '\r') {
    rows.SetRowAttributes(count - 1, raEnd);
  }

  auto parser = fountain.CreateParser();
  TRowAttributeData state = FirstRowState(count > 0 ? rows.RowAttributes(0) : raEnd);
  std::string out;
  for (int r = 0; r < count; ++r) {
    state.RowAttribute = rows.RowAttributes(r);
    state.PrevRowAttribute = r > 0 ? rows.RowAttributes(r - 1) : 0;
    parser->Start(rows.View(r), state);
    while (parser->NextToken() != ttEnd) {
      out = std::to_string(r + 1);
      out += '\t';
      out += TokenKindName(parser->Token());
      out += '\t';
      out += codec.ToUtf8(parser->TokenText());
      out += '\n';
      std::fwrite(out.data(), 1, out.size(), stdout);
    }
    parser->RowStep(r, rows, state);
  }
  return 0;
}

}  // namespace kelu::tools
