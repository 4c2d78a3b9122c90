// Memory of a loaded document: reads a generated 100 MB Shift-JIS file,
// decodes it and sets it as an editor's text (word wrap at 80 columns), then
// prints the resident memory of the process: its peak while loading and what
// stays once the file's bytes are released, each against the text size.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "app/encoding/Encodings.h"
#include "bench/common/JapaneseText.h"
#include "editor/model/HeadlessEditor.h"

namespace {

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string key;
  long value = 0;
  while (in >> key) {
    if (key == std::string(field) + ":") {
      in >> value;
      return value;
    }
    in.ignore(1 << 16, '\n');
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kelu;
  std::size_t mb = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  std::string path = bench::CachedJapaneseTextFile(bench::TextEncoding::kSjis, mb * bench::kMiB);
  const long baseKb = StatusKb("VmRSS");
  auto editor = std::make_unique<THeadlessEditor>();
  editor->rows.WrapOption().SetWrapByte(80);
  editor->rows.SetWordWrap(true);
  std::size_t textBytes = 0;
  {
    DecodedDocument doc = DecodeDocument(ReadFileBytes(path));
    textBytes = doc.text.size();
    editor->lines.SetText(doc.text);
  }
  const long peakKb = StatusKb("VmHWM") - baseKb;
  const long keptKb = StatusKb("VmRSS") - baseKb;
  const double text = static_cast<double>(textBytes) / 1024.0;
  std::printf("text %.1f MB, %d rows\n", text / 1024.0, editor->rows.GetCount());
  std::printf("peak while loading  %7.1f MB  %.2fx the text (file bytes and text included)\n",
              peakKb / 1024.0, peakKb / text);
  std::printf("held by the document %7.1f MB  %.2fx the text\n", keptKb / 1024.0, keptKb / text);
  return 0;
}
