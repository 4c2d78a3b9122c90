// Document encodings: which encoding a file's bytes are in, turning them into
// the editor's Shift-JIS text, and writing text back in a named encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Files.h"
#include "base/Strings.h"
#include "base/TextCodec.h"

namespace kelu {

enum TJapaneseCode : std::uint8_t {
  jcAscii = 0,
  jcBinary = 1,
  jcJis83 = 2,
  jcJis78 = 3,
  jcEuc = 4,
  jcSjis = 5,
  jcEucOrSjis = 6,
  jcUtf16LE = 7,
  jcUtf16BE = 8,
  jcUtf8Bom = 9,
  jcUtf8N = 10,
};

const char* JapaneseCodeName(TJapaneseCode code);

// The encoding names a page carries in MojiCode.
namespace moji {
inline constexpr std::string_view kSjis = "SJIS";
inline constexpr std::string_view kBinary = "BINARY";
inline constexpr std::string_view kUtf16LE = "UNICODE(LE)";
inline constexpr std::string_view kUtf16BE = "UNICODE(BE)";
inline constexpr std::string_view kUtf8Bom = "UTF8(BOM)";
inline constexpr std::string_view kUtf8N = "UTF8N";
inline constexpr std::string_view kEuc = "EUC";
inline constexpr std::string_view kJis = "JIS";
}  // namespace moji

// True for the names the writer can write.
bool IsWritableMojiCode(std::string_view mojiCode);

// Number of leading bytes that the control-byte scan and the UTF-8 scan see.
inline int DetectLimit = 512;

// The whole detection over a file's bytes. Marks decide first (FF FE, FE FF,
// EF BB BF); any other file with a NUL byte, or with a control byte 01-07 or
// FF among its first DetectLimit bytes, or with the signature of a binary
// format that may start like text (PDF, ar, zip, gzip, ELF, PNG), is jcBinary; ISO-2022-JP escapes
// before the first 8-bit byte give jcJis83 or jcJis78; 7-bit text is
// jcAscii. Otherwise the readings as UTF-8, Shift-JIS and EUC-JP of up to
// 64 KB from the first 8-bit byte on are weighed for how plausible they are
// (app/encoding/Plausibility.h): jcUtf8N, jcSjis or jcEuc.
TJapaneseCode DetectMojiCode(std::string_view text);
// Control bytes and the Japanese encodings only (values jcAscii..jcEucOrSjis).
TJapaneseCode DetectJapaneseCode(std::string_view text);

// Decoders: each returns Shift-JIS text through `codec`, which gives the
// characters without a Shift-JIS form codes of its table; `lossy` counts the
// characters that still became "?" (malformed input, a full table). Without
// a codec they go through one of their own, which is then lost: only a
// document's codec keeps them.
// UTF-16 units (after the mark) up to the first 0x0000 unit.
std::string Utf16LEToSjis(std::string_view bytes, TTextCodec& codec, std::size_t* lossy = nullptr);
std::string Utf16BEToSjis(std::string_view bytes, TTextCodec& codec, std::size_t* lossy = nullptr);
// UTF-8 up to its first NUL.
std::string Utf8ToSjis(std::string_view utf8, TTextCodec& codec, std::size_t* lossy = nullptr);
std::string Utf8BomToSjis(std::string_view utf8WithMark, TTextCodec& codec,
                          std::size_t* lossy = nullptr);
std::string EucToSjis(std::string_view euc, TTextCodec& codec, std::size_t* lossy = nullptr);
std::string Utf16LEToSjis(std::string_view bytes, std::size_t* lossy = nullptr);
std::string Utf16BEToSjis(std::string_view bytes, std::size_t* lossy = nullptr);
std::string Utf8ToSjis(std::string_view utf8, std::size_t* lossy = nullptr);
std::string Utf8BomToSjis(std::string_view utf8WithMark, std::size_t* lossy = nullptr);
std::string EucToSjis(std::string_view euc, std::size_t* lossy = nullptr);
// True when `text` is entirely valid EUC-JP.
bool IsValidEuc(std::string_view text);

// Encoders (from Shift-JIS text, through `codec`; without one the standard
// mapping, in which the user-defined codes are U+E000..U+E757).
// Appends FF FE and the UTF-16LE units of `s` to `stream`.
void SjisToUtf16LEStream(std::string* stream, std::string_view s, std::size_t* lossy = nullptr,
                         const TTextCodec* codec = nullptr);
// Appends FE FF and the UTF-16BE units of `s` to `stream`.
void SjisToUtf16BEStream(std::string* stream, std::string_view s, std::size_t* lossy = nullptr,
                         const TTextCodec* codec = nullptr);
std::string SjisToUtf8(std::string_view s, std::size_t* lossy = nullptr,
                       const TTextCodec* codec = nullptr);
std::string SjisToUtf8Bom(std::string_view s, std::size_t* lossy = nullptr,
                          const TTextCodec* codec = nullptr);

// A file's bytes, decoded for a page.
struct DecodedDocument {
  TJapaneseCode code = jcAscii;
  std::string mojiCode;   // one of the moji:: names
  std::string text;       // Shift-JIS; empty for "BINARY"
  std::size_t lossy = 0;  // characters that became "?"
  // The codes the decoder gave the characters without a Shift-JIS form: the
  // document keeps this codec (TEditor::SetCodec) for everything it converts
  // afterwards, saving included.
  TTextCodec codec;
  // Bytes dropped because UTF-16 text ends at a 0x0000 unit (0 when none;
  // other files with a NUL byte are "BINARY").
  std::size_t droppedAfterNul = 0;
};

// Detects the encoding of a file's bytes and decodes them.
DecodedDocument DecodeDocument(std::string_view bytes);
// The same, taking over the bytes: Shift-JIS text is then not copied.
DecodedDocument DecodeDocument(std::string&& bytes);
inline DecodedDocument DecodeDocument(const char* bytes) {
  return DecodeDocument(std::string_view(bytes));
}

// Shift-JIS text to the bytes of encoding `mojiCode`, through the document's
// codec. Raises EInvalidOperation for "BINARY" and unknown names. `lossy`
// counts the characters the encoding cannot hold: "?" in the result, and in
// "SJIS", "EUC" and "JIS" every character of the codec's table (written as
// its user-defined code, or as "?" in JIS).
std::string EncodeDocument(std::string_view sjisText, std::string_view mojiCode,
                           const TTextCodec& codec, std::size_t* lossy = nullptr);
// The same with the standard mapping (no document's table).
std::string EncodeDocument(std::string_view sjisText, std::string_view mojiCode,
                           std::size_t* lossy = nullptr);

// Writes the list (each entry followed by CR LF) to `fileName` in encoding
// `mojiCode`: to a temporary file beside the target, renamed over it only
// after a complete, flushed write, so a failed save leaves the old file as it
// was. Raises EFileError (names the file and the reason) or
// EInvalidOperation ("BINARY", unknown names). Returns the number of
// characters the encoding could not hold (see EncodeDocument).
std::size_t SaveStringsWithMojiCode(const TStrings& list, std::string_view mojiCode,
                                    const std::string& fileName,
                                    const TTextCodec* codec = nullptr);
// The same for a whole text.
std::size_t SaveTextWithMojiCode(std::string_view sjisText, std::string_view mojiCode,
                                 const std::string& fileName, const TTextCodec* codec = nullptr);

}  // namespace kelu
