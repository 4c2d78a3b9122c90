#include "tools/kelu-text/Commands.h"

#include <cstdio>

#include "app/encoding/Encodings.h"
#include "base/Exceptions.h"

namespace kelu::tools {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"detect", Detect}, {"convert", Convert}, {"search", Search},
      {"tokens", Tokens}, {"wrap", Wrap},
  };
  return commands;
}

std::string ToTerminal(const std::string& sjis, const TTextCodec& codec) {
  return codec.ToUtf8(sjis);
}

bool LoadDocumentText(const std::string& path, std::string& sjisText, TTextCodec& codec) {
  try {
    DecodedDocument doc = DecodeDocument(ReadFileBytes(path));
    if (doc.mojiCode == moji::kBinary) {
      std::fprintf(stderr, "kelu-text: %s はバイナリファイルです\n", path.c_str());
      return false;
    }
    sjisText = std::move(doc.text);
    codec = std::move(doc.codec);
    return true;
  } catch (const Exception& e) {
    std::fprintf(stderr, "kelu-text: %s\n", e.what());
    return false;
  }
}

int Detect(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs("使い方: kelu-text detect FILE...\n", stderr);
    return 2;
  }
  int status = 0;
  for (const std::string& path : args) {
    try {
      std::string bytes = ReadFileBytes(path);
      DecodedDocument doc = DecodeDocument(bytes);
      std::printf("%s\t%s\t%s\n", doc.mojiCode.c_str(), JapaneseCodeName(doc.code), path.c_str());
    } catch (const Exception& e) {
      std::fprintf(stderr, "kelu-text: %s\n", e.what());
      status = 1;
    }
  }
  return status;
}

int Convert(const std::vector<std::string>& args) {
  std::string to, in, out;
  std::vector<std::string> rest;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--to" && i + 1 < args.size()) {
      to = args[++i];
    } else if (args[i].rfind("--to=", 0) == 0) {
      to = args[i].substr(5);
    } else {
      rest.push_back(args[i]);
    }
  }
  if (to.empty() || rest.size() != 2) {
    std::fputs("使い方: kelu-text convert --to NAME IN OUT\n", stderr);
    return 2;
  }
  in = rest[0];
  out = rest[1];
  if (!IsWritableMojiCode(to)) {
    std::fprintf(stderr,
                 "kelu-text: 書き出せない文字コード名です: %s "
                 "(SJIS, UNICODE(LE), UNICODE(BE), UTF8(BOM), UTF8N, EUC, JIS)\n",
                 to.c_str());
    return 2;
  }
  try {
    DecodedDocument doc = DecodeDocument(ReadFileBytes(in));
    if (doc.mojiCode == moji::kBinary) {
      std::fprintf(stderr, "kelu-text: %s はバイナリファイルです。変換しません\n", in.c_str());
      return 1;
    }
    std::size_t lost = doc.lossy;
    lost += SaveTextWithMojiCode(doc.text, to, out, &doc.codec);
    if (doc.droppedAfterNul > 0) {
      std::fprintf(stderr, "kelu-text: NUL文字以降の %zu バイトは変換されませんでした\n",
                   doc.droppedAfterNul);
    }
    if (lost > 0) {
      std::fprintf(stderr, "kelu-text: %s で表せない %zu 文字が失われました\n", to.c_str(), lost);
      return 3;
    }
    return 0;
  } catch (const Exception& e) {
    std::fprintf(stderr, "kelu-text: %s\n", e.what());
    return 1;
  }
}

}  // namespace kelu::tools
