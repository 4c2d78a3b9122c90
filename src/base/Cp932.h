// Conversion between code page 932 (the editor's Shift-JIS text) and other
// encodings, through glibc iconv "CP932" (81 60 is U+FF5E). A character that
// has no form in the target encoding, or a byte sequence that is not valid in
// the source, becomes "?" and is counted in `lossy`.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kelu::cp932 {

// Encoding names understood by glibc iconv.
inline constexpr const char* kCp932 = "CP932";
inline constexpr const char* kUtf8 = "UTF-8";
inline constexpr const char* kUtf16LE = "UTF-16LE";
inline constexpr const char* kUtf16BE = "UTF-16BE";
inline constexpr const char* kEucJp = "EUC-JP-MS";

// Bytes in encoding `from` to bytes in encoding `to`.
std::string Convert(std::string_view bytes, const char* from, const char* to,
                    std::size_t* lossy = nullptr);

inline std::string FromUtf8(std::string_view utf8, std::size_t* lossy = nullptr) {
  return Convert(utf8, kUtf8, kCp932, lossy);
}
inline std::string ToUtf8(std::string_view sjis, std::size_t* lossy = nullptr) {
  return Convert(sjis, kCp932, kUtf8, lossy);
}

// True when `bytes` is entirely well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF). `multibyte` tells whether any
// sequence of two or more bytes was seen.
bool IsWellFormedUtf8(std::string_view bytes, bool* multibyte = nullptr);

// Length of the well-formed UTF-8 sequence at the start of `bytes`, 0 when
// it is not one.
std::size_t Utf8SequenceLength(std::string_view bytes);

}  // namespace kelu::cp932
