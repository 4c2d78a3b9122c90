// The settings file and the component stream on arbitrary bytes: no crash,
// no sanitizer report; the INI text is kept as read; whatever a stream
// leaves in a property set is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/ComponentStream.h"
#include "settings/EditorProp.h"
#include "settings/IniFile.h"

using namespace kelu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  TIniFile ini = TIniFile::FromText(bytes);
  const std::string text = ini.Text();
  if (TIniFile::FromText(text).Text() != text) std::abort();
  ini.WriteString("エディタ設定値", "KeluEditorVetra_c", "1");
  ini.DeleteKey("エディタ設定値", "KeluEditorVetra_c");
  ini.EraseSection("拡張子");

  TEditorExProp set;
  ReadComponentStream(bytes, set);
  const std::string stream = WriteComponentStream(set, "KeluEditorExProp");
  TEditorExProp again;
  if (!ReadComponentStream(stream, again).Clean()) std::abort();
  if (WriteComponentStream(again, "KeluEditorExProp") != stream) std::abort();
  return 0;
}
