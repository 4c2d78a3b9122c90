// Conversion between code page 932 (the editor's Shift-JIS text) and other
// encodings, through glibc iconv "CP932" (81 60 is U+FF5E). A character that
// has no form in the target encoding, or a byte sequence that is not valid in
// the source, becomes "?" and is counted in `lossy`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelu::cp932 {

// Encoding names understood by glibc iconv.
inline constexpr const char* kCp932 = "CP932";
inline constexpr const char* kUtf8 = "UTF-8";
inline constexpr const char* kUtf16LE = "UTF-16LE";
inline constexpr const char* kUtf16BE = "UTF-16BE";
inline constexpr const char* kEucJp = "EUC-JP-MS";

// The standard mapping between code page 932 and Unicode, read from iconv
// once per process. A character that iconv writes as a look-alike (¥ as 5C,
// U+301C as 81 60) has no code here: only codes that read back as the same
// character count.
inline constexpr char32_t kNoChar = 0xFFFFFFFF;
// The character of a single byte; kNoChar for 80, A0 and FD-FF.
char32_t CharOfByte(unsigned char byte);
// The character of the double-byte code lead << 8 | trail; kNoChar when the
// pair is not a character.
char32_t CharOfPair(std::uint16_t code);
// The code of a character of U+0080..U+FFFF (a single byte below 0x100, else
// lead << 8 | trail), 0 when it has none. The user-defined area
// (U+E000..U+E757) is left out: its codes belong to each document.
std::uint16_t CodeOfChar(char32_t c);
// True for a byte that can follow a lead byte in a double-byte character.
constexpr bool IsTrailByte(unsigned char b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Bytes in encoding `from` to bytes in encoding `to`.
std::string Convert(std::string_view bytes, const char* from, const char* to,
                    std::size_t* lossy = nullptr);

// The standard mapping without a document: a character without a code
// becomes "?" and is counted. Documents convert through their TTextCodec.
std::string FromUtf8(std::string_view utf8, std::size_t* lossy = nullptr);
std::string ToUtf8(std::string_view sjis, std::size_t* lossy = nullptr);

// True when `bytes` is entirely well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF). `multibyte` tells whether any
// sequence of two or more bytes was seen.
bool IsWellFormedUtf8(std::string_view bytes, bool* multibyte = nullptr);

// Length of the well-formed UTF-8 sequence at the start of `bytes`, 0 when
// it is not one.
std::size_t Utf8SequenceLength(std::string_view bytes);

}  // namespace kelu::cp932
