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

std::string Utf16LEToSjis(std::string_view bytes, std::size_t* lossy) {
  return cp932::Convert(Utf16UpToNul(bytes), cp932::kUtf16LE, cp932::kCp932, lossy);
}

std::string Utf16BEToSjis(std::string_view bytes, std::size_t* lossy) {
  return cp932::Convert(Utf16UpToNul(bytes), cp932::kUtf16BE, cp932::kCp932, lossy);
}

std::string Utf8ToSjis(std::string_view utf8, std::size_t* lossy) {
  return cp932::Convert(UpToNul(utf8), cp932::kUtf8, cp932::kCp932, lossy);
}

std::string Utf8BomToSjis(std::string_view utf8WithMark, std::size_t* lossy) {
  return Utf8ToSjis(utf8WithMark.size() >= 3 ? utf8WithMark.substr(3) : std::string_view(), lossy);
}

std::string EucToSjis(std::string_view euc, std::size_t* lossy) {
  return cp932::Convert(UpToNul(euc), cp932::kEucJp, cp932::kCp932, lossy);
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

void SjisToUtf16LEStream(std::string* stream, std::string_view s, std::size_t* lossy) {
  RequireStream(stream);
  stream->append("\xFF\xFE", 2);
  stream->append(cp932::Convert(s, cp932::kCp932, cp932::kUtf16LE, lossy));
}

void SjisToUtf16BEStream(std::string* stream, std::string_view s, std::size_t* lossy) {
  RequireStream(stream);
  stream->append("\xFE\xFF", 2);
  stream->append(cp932::Convert(s, cp932::kCp932, cp932::kUtf16BE, lossy));
}

std::string SjisToUtf8(std::string_view s, std::size_t* lossy) {
  return cp932::Convert(s, cp932::kCp932, cp932::kUtf8, lossy);
}

std::string SjisToUtf8Bom(std::string_view s, std::size_t* lossy) {
  return "\xEF\xBB\xBF" + SjisToUtf8(s, lossy);
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
      doc.text = Utf16LEToSjis(bytes.substr(2), &doc.lossy);
      break;
    case jcUtf16BE:
      doc.mojiCode = moji::kUtf16BE;
      doc.text = Utf16BEToSjis(bytes.substr(2), &doc.lossy);
      break;
    case jcUtf8Bom:
      doc.mojiCode = moji::kUtf8Bom;
      doc.text = cp932::Convert(text.substr(3), cp932::kUtf8, cp932::kCp932, &doc.lossy);
      dropAfterNul();
      break;
    case jcUtf8N:
      doc.mojiCode = moji::kUtf8N;
      doc.text = cp932::Convert(text, cp932::kUtf8, cp932::kCp932, &doc.lossy);
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
      doc.text = EucToSjis(text, &doc.lossy);
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

std::string EncodeDocument(std::string_view s, std::string_view m, std::size_t* lossy) {
  if (lossy) *lossy = 0;
  if (m == moji::kSjis) return std::string(s);
  if (m == moji::kBinary) {
    throw EInvalidOperation("バイナリファイルとして開いた文書は保存できません");
  }
  std::string out;
  if (m == moji::kUtf16LE) {
    SjisToUtf16LEStream(&out, s, lossy);
  } else if (m == moji::kUtf16BE) {
    SjisToUtf16BEStream(&out, s, lossy);
  } else if (m == moji::kUtf8Bom) {
    out = SjisToUtf8Bom(s, lossy);
  } else if (m == moji::kUtf8N) {
    out = SjisToUtf8(s, lossy);
  } else if (m == moji::kEuc) {
    out = cp932::Convert(s, cp932::kCp932, cp932::kEucJp, lossy);
  } else if (m == moji::kJis) {
    out = SjisToJis(s, lossy);
  } else {
    throw EInvalidOperation("不明な文字コード名です: " + std::string(m));
  }
  return out;
}

// ------------------------------------------------------------------- files

std::size_t SaveTextWithMojiCode(std::string_view sjisText, std::string_view mojiCode,
                                 const std::string& fileName) {
  std::size_t lossy = 0;
  std::string bytes = EncodeDocument(sjisText, mojiCode, &lossy);
  WriteFileAtomically(fileName, bytes);
  return lossy;
}

std::size_t SaveStringsWithMojiCode(const TStrings& list, std::string_view mojiCode,
                                    const std::string& fileName) {
  return SaveTextWithMojiCode(list.GetTextStr(), mojiCode, fileName);
}

}  // namespace kelu
