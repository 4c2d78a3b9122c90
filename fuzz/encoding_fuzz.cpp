// Detection, decoding and encoding of arbitrary file bytes: no crash, no
// sanitizer report, and the invariants the editor relies on.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/encoding/Encodings.h"
#include "base/Exceptions.h"
#include "editor/model/RowList.h"
#include "editor/model/TextUtils.h"

using namespace kelu;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  DetectJapaneseCode(bytes);
  DecodedDocument doc = DecodeDocument(bytes);
  if (doc.mojiCode == moji::kBinary) return 0;

  // Shift-JIS text is written back byte for byte.
  if (EncodeDocument(doc.text, moji::kSjis) != doc.text) std::abort();

  for (std::string_view name :
       {moji::kUtf16LE, moji::kUtf16BE, moji::kUtf8Bom, moji::kUtf8N, moji::kEuc, moji::kJis}) {
    std::size_t lost = 0;
    std::string encoded = EncodeDocument(doc.text, name, &lost);
    DecodeDocument(encoded);
  }
  // Through the document's codec: a UTF-8 document decoded without loss
  // comes back the same once written; any text written in a Unicode
  // encoding and decoded again is the same text, and writing that gives the
  // same bytes (decode, encode, decode is stable).
  if (doc.mojiCode == moji::kUtf8N && doc.lossy == 0 && doc.droppedAfterNul == 0) {
    std::size_t lost = 0;
    std::string again = EncodeDocument(doc.text, moji::kUtf8N, doc.codec, &lost);
    if (lost != 0 || again != bytes) std::abort();
  }
  for (std::string_view name : {moji::kUtf16LE, moji::kUtf16BE, moji::kUtf8Bom, moji::kUtf8N}) {
    std::size_t lost = 0;
    const std::string encoded = EncodeDocument(doc.text, name, doc.codec, &lost);
    TTextCodec codec = doc.codec;
    std::size_t lostAgain = 0;
    const std::string text = name == moji::kUtf8N || name == moji::kUtf8Bom
                                 ? codec.FromUtf8(encoded.substr(name == moji::kUtf8N ? 0 : 3),
                                                  &lostAgain)
                                 : codec.FromUtf16Bytes(encoded.substr(2), name == moji::kUtf16BE,
                                                        &lostAgain);
    if (lostAgain != 0) std::abort();
    // The same characters (a character with two Shift-JIS codes, such as
    // the NEC-selected IBM extensions, comes back with the preferred one).
    if (lost == 0 && codec.ToUtf32(text) != doc.codec.ToUtf32(doc.text)) std::abort();
    if (EncodeDocument(text, name, codec) != encoded) std::abort();
  }
  // The same over the raw bytes taken as UTF-16 and as UTF-8: the codec
  // gives every character a code or a counted "?", and the codes read back.
  {
    TTextCodec codec;
    std::size_t lost = 0;
    const std::string sjis = codec.FromUtf16Bytes(bytes, false, &lost);
    const std::u32string chars = codec.ToUtf32(sjis);
    if (codec.FromUtf32(chars) != sjis) std::abort();
    const std::string viaUtf8 = codec.FromUtf8(codec.ToUtf8(sjis));
    if (viaUtf8 != sjis) std::abort();
  }

  // The text helpers never read past the end, whatever the bytes.
  TEditorStringList rows;
  SplitLines(doc.text, rows);
  for (int i = 0; i < rows.Count() && i < 64; ++i) {
    std::string_view row = rows.View(i);
    for (int p = 0; p <= static_cast<int>(row.size()) + 1; ++p) {
      IsLeadByteAt(row, p);
      IsTrailByteAt(row, p);
    }
    ContainsAtCharStart("\x81\x40", row);
    TrimLeadingBlanks(row);
    LeadingSpaceWidth(row);
  }
  return 0;
}
