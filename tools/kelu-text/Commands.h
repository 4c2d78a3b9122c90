// The subcommands of kelu-text.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/TextCodec.h"

namespace kelu::tools {

struct Command {
  const char* name;
  std::function<int(const std::vector<std::string>& args)> run;
};

const std::vector<Command>& Commands();

// The file decoded as the editor would open it, with the codec that holds
// its characters; prints a Japanese message and returns false when it cannot
// be read or is binary.
bool LoadDocumentText(const std::string& path, std::string& sjisText, TTextCodec& codec);

// Shift-JIS text of a document as UTF-8 for printing.
std::string ToTerminal(const std::string& sjis, const TTextCodec& codec);

int Detect(const std::vector<std::string>& args);
int Convert(const std::vector<std::string>& args);
int Search(const std::vector<std::string>& args);
int Tokens(const std::vector<std::string>& args);
int Wrap(const std::vector<std::string>& args);

}  // namespace kelu::tools
