#include "app/encoding/Encodings.h"

#include "app/encoding/Jis.h"

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

TJapaneseCode DetectMojiCode(std::string_view text) {
  Bytes b{text};
  const int len = b.len();
  if (len == 0) return jcBinary;
  if (len >= 2 && b(1) == 0xFF && b(2) == 0xFE) return jcUtf16LE;
  if (len >= 2 && b(1) == 0xFE && b(2) == 0xFF) return jcUtf16BE;
  if (len > 3 && b(1) == 0xEF && b(2) == 0xBB && b(3) == 0xBF) return jcUtf8Bom;

  bool seen = false;
  int i = 1;
  while (i <= DetectLimit && i < len - 4) {
    unsigned char a = b(i);
    if (In(a, 0xC0, 0xDF) || a >= 0xF0) {
      seen = false;
      break;
    }
    if (a < 0x80) {
      ++i;
    } else if (a == 0xE0) {
      if (In(b(i + 1), 0xA0, 0xBF) && In(b(i + 2), 0x80, 0xBF)) {
        seen = true;
        i += 3;
      } else {
        seen = false;
        break;
      }
    } else if (In(a, 0xE1, 0xEF)) {
      if (In(b(i + 1), 0x80, 0xBF) && In(b(i + 2), 0x80, 0xBF)) {
        seen = true;
        i += 3;
      } else {
        seen = false;
        break;
      }
    } else {
      seen = false;
      break;
    }
  }
  if (seen) return jcUtf8N;

  // The scan above looks at the first bytes only and rejects two- and
  // four-byte sequences; a text that is well-formed UTF-8 throughout, with
  // multi-byte characters, is UTF-8 all the same.
  if (!HasControlBytes(b) && text != "\xEF\xBB\xBF") {
    bool multibyte = false;
    if (cp932::IsWellFormedUtf8(text, &multibyte) && multibyte) return jcUtf8N;
  }
  return DetectJapaneseCode(text);
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
  (void)codec;
  return cp932::Convert(UpToNul(euc), cp932::kEucJp, cp932::kCp932, lossy);
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
  std::string_view text = UpToNul(bytes);
  doc.code = DetectMojiCode(text);
  auto dropAfterNul = [&] { doc.droppedAfterNul = bytes.size() - text.size(); };
  if (bytes.empty() || doc.code == jcSjis || doc.code == jcAscii) {
    doc.mojiCode = moji::kSjis;
    doc.text = std::string(text);
    dropAfterNul();
    return doc;
  }
  switch (doc.code) {
    case jcBinary:
      doc.mojiCode = moji::kBinary;
      break;
    case jcUtf16LE:
      doc.mojiCode = moji::kUtf16LE;
      doc.text = Utf16LEToSjis(bytes.substr(2), doc.codec, &doc.lossy);
      break;
    case jcUtf16BE:
      doc.mojiCode = moji::kUtf16BE;
      doc.text = Utf16BEToSjis(bytes.substr(2), doc.codec, &doc.lossy);
      break;
    case jcUtf8Bom:
      doc.mojiCode = moji::kUtf8Bom;
      doc.text = doc.codec.FromUtf8(text.substr(3), &doc.lossy);
      dropAfterNul();
      break;
    case jcUtf8N:
      doc.mojiCode = moji::kUtf8N;
      doc.text = doc.codec.FromUtf8(text, &doc.lossy);
      dropAfterNul();
      break;
    case jcJis83:
    case jcJis78:
      doc.mojiCode = moji::kJis;
      doc.text = JisToSjis(UpToNul(text), &doc.lossy);
      dropAfterNul();
      break;
    case jcEucOrSjis:
      if (!IsValidEuc(text)) {
        doc.mojiCode = moji::kSjis;
        doc.text = std::string(text);
        dropAfterNul();
        break;
      }
      [[fallthrough]];
    case jcEuc:
      doc.mojiCode = moji::kEuc;
      doc.text = EucToSjis(text, doc.codec, &doc.lossy);
      dropAfterNul();
      break;
    default:
      break;
  }
  return doc;
}

DecodedDocument DecodeDocument(std::string&& bytes) {
  std::size_t nul = bytes.find('\0');
  std::string_view text =
      nul == std::string::npos ? std::string_view(bytes) : std::string_view(bytes).substr(0, nul);
  TJapaneseCode code = bytes.empty() ? jcAscii : DetectMojiCode(text);
  if (code != jcSjis && code != jcAscii && !bytes.empty()) {
    return DecodeDocument(std::string_view(bytes));
  }
  DecodedDocument doc;
  doc.code = code;
  doc.mojiCode = moji::kSjis;
  if (nul != std::string::npos) {
    doc.droppedAfterNul = bytes.size() - nul;
    bytes.resize(nul);
  }
  doc.text = std::move(bytes);
  return doc;
}

std::string EncodeDocument(std::string_view s, std::string_view m, const TTextCodec& codec,
                           std::size_t* lossy) {
  if (lossy) *lossy = 0;
  std::size_t lost = 0;
  std::string out;
  if (m == moji::kSjis) {
    // The bytes as they are; the characters of the table read back as
    // user-defined characters elsewhere.
    lost = codec.CountAssigned(s);
    out = std::string(s);
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
    out = cp932::Convert(s, cp932::kCp932, cp932::kEucJp, &lost);
    lost += codec.CountAssigned(s);
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
