#include "app/encoding/Encodings.h"

#include "app/encoding/Jis.h"
#include "app/encoding/Plausibility.h"

#include <cstring>

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Files.h"

namespace kelu {

const char* JapaneseCodeName(TJapaneseCode code) {
  static const char* const kNames[] = {"jcAscii",   "jcBinary",  "jcJis83",     "jcJis78",
                                       "jcEuc",     "jcSjis",    "jcEucOrSjis", "jcUtf16LE",
                                       "jcUtf16BE", "jcUtf8Bom", "jcUtf8N"};
  return code <= jcUtf8N ? kNames[code] : "jcBinary";
}

bool IsWritableMojiCode(std::string_view m) {
  return m == moji::kSjis || m == moji::kUtf16LE || m == moji::kUtf16BE || m == moji::kUtf8Bom ||
         m == moji::kUtf8N || m == moji::kEuc || m == moji::kJis;
}

namespace {

// Byte i (1-based) of the text; 0 past the end, as the string's terminator.
struct Bytes {
  std::string_view s;
  int len() const { return static_cast<int>(s.size()); }
  unsigned char operator()(int i) const {
    return (i >= 1 && i <= len()) ? static_cast<unsigned char>(s[i - 1]) : 0;
  }
};

constexpr bool In(unsigned char c, unsigned char lo, unsigned char hi) {
  return c >= lo && c <= hi;
}

// The control-byte scan: a byte 00-07 or FF in the first DetectLimit bytes
// (the last byte of the text not counted).
bool HasControlBytes(const Bytes& b) {
  for (int i = 1; i <= DetectLimit && i < b.len(); ++i) {
    unsigned char c = b(i);
    if (c < 0x08 || c == 0xFF) return true;
  }
  return false;
}

}  // namespace

namespace {

// The escapes that switch ISO-2022-JP to a double-byte set or to
// half-width katakana: ESC $ B (and ESC $ ( D, ESC ( I) is jcJis83, ESC $ @
// jcJis78; jcAscii when there is none.
TJapaneseCode JisEscape(std::string_view s) {
  for (std::size_t i = s.find('\x1B'); i != std::string_view::npos && i + 2 < s.size();
       i = s.find('\x1B', i + 1)) {
    const char a = s[i + 1], b = s[i + 2];
    if (a == '$' && b == '@') return jcJis78;
    if ((a == '$' && (b == 'B' || (b == '(' && i + 3 < s.size() && s[i + 3] == 'D'))) ||
        (a == '(' && b == 'I')) {
      return jcJis83;
    }
  }
  return jcAscii;
}

// Offset of the first byte of 0x80 or above, s.size() when none.
std::size_t FirstHighByte(std::string_view s) {
  std::size_t i = 0;
  while (i + 8 <= s.size()) {
    std::uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    if (w & 0x8080808080808080ull) break;
    i += 8;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

// Signatures of binary formats whose first bytes can look like text (a PDF
// begins with a line of 8-bit bytes, an archive with its member names).
bool HasBinarySignature(std::string_view s) {
  static constexpr std::string_view kSignatures[] = {
      "%PDF-", "!<arch>\n", "PK\x03\x04", "\x1F\x8B", "\x7F" "ELF", "\x89PNG", "Rar!\x1A", "7z\xBC\xAF"};
  for (std::string_view sig : kSignatures) {
    if (s.substr(0, sig.size()) == sig) return true;
  }
  return false;
}

// How much text after its first 8-bit byte the weighing looks at.
constexpr std::size_t kWeighedBytes = 64 * 1024;

}  // namespace

TJapaneseCode DetectMojiCode(std::string_view text) {
  Bytes b{text};
  const int len = b.len();
  if (len == 0) return jcBinary;
  if (len >= 2 && b(1) == 0xFF && b(2) == 0xFE) return jcUtf16LE;
  if (len >= 2 && b(1) == 0xFE && b(2) == 0xFF) return jcUtf16BE;
  if (len > 3 && b(1) == 0xEF && b(2) == 0xBB && b(3) == 0xBF) return jcUtf8Bom;
  // Text has no NUL byte outside UTF-16: images, archives and record files
  // are binary wherever their first NUL stands.
  if (text.find('\0') != std::string_view::npos) return jcBinary;
  if (HasControlBytes(b) || HasBinarySignature(text)) return jcBinary;

  const std::size_t high = FirstHighByte(text);
  // ISO-2022-JP is 7-bit (half-width katakana may also come as 8-bit
  // bytes after its escapes).
  const TJapaneseCode jis = JisEscape(text.substr(0, high));
  if (jis != jcAscii) return jis;
  if (high == text.size()) return text == "\xEF\xBB\xBF" ? DetectJapaneseCode(text) : jcAscii;
  if (text == "\xEF\xBB\xBF") return DetectJapaneseCode(text);

  // The readings of the text from its first 8-bit byte on (with the byte
  // before it, for the context of half-width kana) are weighed.
  const std::size_t from = high > 0 ? high - 1 : 0;
  const std::string_view window = text.substr(from, kWeighedBytes);
  const bool cut = from + window.size() < text.size();
  switch (WeighReadings(window, cut).best) {
    case TReading::rdUtf8:
      return jcUtf8N;
    case TReading::rdSjis:
      return jcSjis;
    case TReading::rdEuc:
      return jcEuc;
    case TReading::rdNone:
      break;
  }
  // No reading holds throughout: the byte patterns decide, as far as they
  // can.
  const TJapaneseCode code = DetectJapaneseCode(text);
  return code == jcEucOrSjis ? jcSjis : code;
}

TJapaneseCode DetectJapaneseCode(std::string_view text) {
  Bytes b{text};
  const int len = b.len();
  if (HasControlBytes(b)) return jcBinary;

  TJapaneseCode result = jcAscii;
  int i = 1;
  auto next = [&]() { return b(++i); };
  while ((result == jcAscii || result == jcEucOrSjis) && i < len) {
    unsigned char c = b(i);
    if (c == 0x1B) {
      c = next();
      if (c == 0x24) {
        c = next();
        if (c == 0x42) {
          result = jcJis83;
        } else if (c == 0x40) {
          result = jcJis78;
        }
      }
    } else if (c < 0x08 || c == 0xFF) {
      result = jcBinary;
    } else if (c <= 0x7F) {
      // plain ASCII
    } else if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9F)) {
      result = jcSjis;
    } else if (c == 0x8E) {
      c = next();
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0) || In(c, 0xE0, 0xFC)) {
        result = jcSjis;
      } else if (In(c, 0xA1, 0xDF)) {
        result = jcEucOrSjis;
      }
    } else if (In(c, 0xA1, 0xDF)) {
      c = next();
      if (In(c, 0xF0, 0xFE)) {
        result = jcEuc;
      } else if (In(c, 0xA1, 0xDF)) {
        result = jcEucOrSjis;
      } else if (In(c, 0xE0, 0xEF)) {
        result = jcEucOrSjis;
        while (c >= 0x40 && i <= len && result == jcEucOrSjis) {
          if (In(c, 0x81, 0x8D) || In(c, 0x8F, 0x9C)) {
            result = jcSjis;
          } else if (In(c, 0xFD, 0xFE)) {
            result = jcEuc;
          }
          c = next();
        }
      } else if (c <= 0x9F) {
        result = jcSjis;
      }
    } else if (In(c, 0xF0, 0xFE)) {
      result = jcEuc;
    } else if (In(c, 0xE0, 0xEF)) {
      c = next();
      if (In(c, 0x40, 0x7E) || In(c, 0x80, 0xA0)) {
        result = jcSjis;
      } else if (In(c, 0xFD, 0xFE)) {
        result = jcEuc;
      } else if (In(c, 0xA1, 0xFC)) {
        result = jcEucOrSjis;
      }
    }
    ++i;
  }
  return result;
}

// ----------------------------------------------------------------- decoders

namespace {

std::string_view UpToNul(std::string_view s) {
  std::size_t n = s.find('\0');
  return n == std::string_view::npos ? s : s.substr(0, n);
}

// The UTF-16 units of `bytes` up to the first 0x0000 unit (an odd last byte
// is dropped).
std::string_view Utf16UpToNul(std::string_view bytes) {
  std::size_t n = bytes.size() & ~std::size_t{1};
  for (std::size_t i = 0; i < n; i += 2) {
    if (bytes[i] == '\0' && bytes[i + 1] == '\0') return bytes.substr(0, i);
  }
  return bytes.substr(0, n);
}

}  // namespace

std::string Utf16LEToSjis(std::string_view bytes, TTextCodec& codec, std::size_t* lossy) {
  return codec.FromUtf16Bytes(Utf16UpToNul(bytes), false, lossy);
}

std::string Utf16BEToSjis(std::string_view bytes, TTextCodec& codec, std::size_t* lossy) {
  return codec.FromUtf16Bytes(Utf16UpToNul(bytes), true, lossy);
}

std::string Utf8ToSjis(std::string_view utf8, TTextCodec& codec, std::size_t* lossy) {
  return codec.FromUtf8(UpToNul(utf8), lossy);
}

std::string Utf8BomToSjis(std::string_view utf8WithMark, TTextCodec& codec, std::size_t* lossy) {
  return Utf8ToSjis(utf8WithMark.size() >= 3 ? utf8WithMark.substr(3) : std::string_view(), codec,
                    lossy);
}

std::string EucToSjis(std::string_view euc, TTextCodec& codec, std::size_t* lossy) {
  // Through Unicode, so that JIS X 0212 characters (8F xx xx), which code
  // page 932 lacks, keep codes of the document's table.
  std::size_t bad = 0, lost = 0;
  const std::string units = cp932::Convert(UpToNul(euc), cp932::kEucJp, cp932::kUtf16LE, &bad);
  std::string text = codec.FromUtf16Bytes(units, false, &lost);
  if (lossy) *lossy = bad + lost;
  return text;
}

std::string Utf16LEToSjis(std::string_view bytes, std::size_t* lossy) {
  TTextCodec codec;
  return Utf16LEToSjis(bytes, codec, lossy);
}

std::string Utf16BEToSjis(std::string_view bytes, std::size_t* lossy) {
  TTextCodec codec;
  return Utf16BEToSjis(bytes, codec, lossy);
}

std::string Utf8ToSjis(std::string_view utf8, std::size_t* lossy) {
  TTextCodec codec;
  return Utf8ToSjis(utf8, codec, lossy);
}

std::string Utf8BomToSjis(std::string_view utf8WithMark, std::size_t* lossy) {
  TTextCodec codec;
  return Utf8BomToSjis(utf8WithMark, codec, lossy);
}

std::string EucToSjis(std::string_view euc, std::size_t* lossy) {
  TTextCodec codec;
  return EucToSjis(euc, codec, lossy);
}

bool IsValidEuc(std::string_view text) {
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  while (i < text.size()) {
    unsigned char c = at(i);
    if (c < 0x80) {
      ++i;
    } else if (c == 0x8E) {
      if (i + 1 >= text.size() || !In(at(i + 1), 0xA1, 0xDF)) return false;
      i += 2;
    } else if (c == 0x8F) {
      if (i + 2 >= text.size() || !In(at(i + 1), 0xA1, 0xFE) || !In(at(i + 2), 0xA1, 0xFE)) {
        return false;
      }
      i += 3;
    } else if (In(c, 0xA1, 0xFE)) {
      if (i + 1 >= text.size() || !In(at(i + 1), 0xA1, 0xFE)) return false;
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

// ----------------------------------------------------------------- encoders

namespace {
void RequireStream(const std::string* stream) {
  if (!stream) throw EInvalidOperation("無効なMemoryStream.");
}
}  // namespace

namespace {
const TTextCodec& StandardCodec() {
  static const TTextCodec codec(false);
  return codec;
}
const TTextCodec& CodecOr(const TTextCodec* codec) {
  return codec ? *codec : StandardCodec();
}
}  // namespace

void SjisToUtf16LEStream(std::string* stream, std::string_view s, std::size_t* lossy,
                         const TTextCodec* codec) {
  RequireStream(stream);
  stream->append("\xFF\xFE", 2);
  stream->append(CodecOr(codec).ToUtf16Bytes(s, false, lossy));
}

void SjisToUtf16BEStream(std::string* stream, std::string_view s, std::size_t* lossy,
                         const TTextCodec* codec) {
  RequireStream(stream);
  stream->append("\xFE\xFF", 2);
  stream->append(CodecOr(codec).ToUtf16Bytes(s, true, lossy));
}

std::string SjisToUtf8(std::string_view s, std::size_t* lossy, const TTextCodec* codec) {
  return CodecOr(codec).ToUtf8(s, lossy);
}

std::string SjisToUtf8Bom(std::string_view s, std::size_t* lossy, const TTextCodec* codec) {
  return "\xEF\xBB\xBF" + SjisToUtf8(s, lossy, codec);
}

// --------------------------------------------------------------- documents

DecodedDocument DecodeDocument(std::string_view bytes) {
  DecodedDocument doc;
  doc.code = DetectMojiCode(bytes);
  if (bytes.empty() || doc.code == jcSjis || doc.code == jcAscii) {
    doc.mojiCode = moji::kSjis;
    doc.text = std::string(bytes);
    return doc;
  }
  // UTF-16 text ends at its first 0x0000 unit.
  auto utf16 = [&](bool bigEndian) {
    const std::string_view units = Utf16UpToNul(bytes.substr(2));
    doc.droppedAfterNul = bytes.size() - 2 - units.size();
    doc.text = doc.codec.FromUtf16Bytes(units, bigEndian, &doc.lossy);
  };
  switch (doc.code) {
    case jcBinary:
      doc.mojiCode = moji::kBinary;
      break;
    case jcUtf16LE:
      doc.mojiCode = moji::kUtf16LE;
      utf16(false);
      break;
    case jcUtf16BE:
      doc.mojiCode = moji::kUtf16BE;
      utf16(true);
      break;
    case jcUtf8Bom:
      doc.mojiCode = moji::kUtf8Bom;
      doc.text = Utf8BomToSjis(bytes, doc.codec, &doc.lossy);
      break;
    case jcUtf8N:
      doc.mojiCode = moji::kUtf8N;
      doc.text = Utf8ToSjis(bytes, doc.codec, &doc.lossy);
      break;
    case jcJis83:
    case jcJis78:
      doc.mojiCode = moji::kJis;
      doc.text = JisToSjis(bytes, &doc.lossy);
      break;
    case jcEucOrSjis:
      if (!IsValidEuc(bytes)) {
        doc.mojiCode = moji::kSjis;
        doc.text = std::string(bytes);
        break;
      }
      [[fallthrough]];
    case jcEuc:
      doc.mojiCode = moji::kEuc;
      doc.text = EucToSjis(bytes, doc.codec, &doc.lossy);
      break;
    default:
      break;
  }
  return doc;
}

DecodedDocument DecodeDocument(std::string&& bytes) {
  const TJapaneseCode code = bytes.empty() ? jcAscii : DetectMojiCode(bytes);
  if (code != jcSjis && code != jcAscii) return DecodeDocument(std::string_view(bytes));
  DecodedDocument doc;
  doc.code = code;
  doc.mojiCode = moji::kSjis;
  doc.text = std::move(bytes);
  return doc;
}

std::string EncodeDocument(std::string_view s, std::string_view m, const TTextCodec& codec,
                           std::size_t* lossy) {
  if (lossy) *lossy = 0;
  std::size_t lost = 0;
  std::string out;
  if (m == moji::kSjis) {
    // The bytes as they are, but for the characters of the table: they
    // have no Shift-JIS form.
    out = codec.WithoutAssigned(s, &lost);
  } else if (m == moji::kBinary) {
    throw EInvalidOperation("バイナリファイルとして開いた文書は保存できません");
  } else if (m == moji::kUtf16LE) {
    SjisToUtf16LEStream(&out, s, &lost, &codec);
  } else if (m == moji::kUtf16BE) {
    SjisToUtf16BEStream(&out, s, &lost, &codec);
  } else if (m == moji::kUtf8Bom) {
    out = SjisToUtf8Bom(s, &lost, &codec);
  } else if (m == moji::kUtf8N) {
    out = SjisToUtf8(s, &lost, &codec);
  } else if (m == moji::kEuc) {
    std::size_t bad = 0;
    out = cp932::Convert(codec.ToUtf16Bytes(s, false, &bad), cp932::kUtf16LE, cp932::kEucJp, &lost);
    lost += bad;
  } else if (m == moji::kJis) {
    // The user-defined area has no JIS form: its characters become "?".
    out = SjisToJis(s, &lost);
  } else {
    throw EInvalidOperation("不明な文字コード名です: " + std::string(m));
  }
  if (lossy) *lossy = lost;
  return out;
}

std::string EncodeDocument(std::string_view s, std::string_view m, std::size_t* lossy) {
  return EncodeDocument(s, m, StandardCodec(), lossy);
}

// ------------------------------------------------------------------- files

std::size_t SaveTextWithMojiCode(std::string_view sjisText, std::string_view mojiCode,
                                 const std::string& fileName, const TTextCodec* codec) {
  std::size_t lossy = 0;
  std::string bytes = EncodeDocument(sjisText, mojiCode, CodecOr(codec), &lossy);
  WriteFileAtomically(fileName, bytes);
  return lossy;
}

std::size_t SaveStringsWithMojiCode(const TStrings& list, std::string_view mojiCode,
                                    const std::string& fileName, const TTextCodec* codec) {
  return SaveTextWithMojiCode(list.GetTextStr(), mojiCode, fileName, codec);
}

}  // namespace kelu
