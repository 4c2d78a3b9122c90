// The conversion between a document's Shift-JIS text and Unicode.
//
// Code page 932 has no form for most of Unicode (emoji, accented Latin
// letters, Hangul, simplified Chinese, many symbols). A document keeps such
// characters anyway: its codec hands each distinct one a code of the
// user-defined area (lead bytes F0-F9, 1880 double-byte codes), which every
// Shift-JIS routine treats as an ordinary double-byte character, and maps the
// code back when the text leaves as Unicode (saved as UTF-8 or UTF-16, drawn,
// copied). Codes the document's own text uses for user-defined characters
// (U+E000..U+E757 by the standard mapping) are never handed out. Once the
// area is full, further characters become "?" and are counted.
//
// Every place that turns document text into Unicode or back goes through the
// document's codec: file decoding and encoding, painting, the clipboard, the
// input method, drag and drop, macro text and search patterns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kelu {

class TTextCodec {
 public:
  // Size of the user-defined area: lead bytes F0..F9, 188 trail bytes each.
  static constexpr int kUserCodes = 1880;

  // `assigns` false: a codec that hands out no codes (characters without a
  // standard code become "?"), for text that belongs to no document.
  TTextCodec() : TTextCodec(true) {}
  explicit TTextCodec(bool assigns);
  // Copies take the mapping, not the scanner.
  TTextCodec(const TTextCodec& other);
  TTextCodec& operator=(const TTextCodec& other);
  TTextCodec(TTextCodec&&) noexcept;
  TTextCodec& operator=(TTextCodec&&) noexcept;
  ~TTextCodec();

  // ------------------------------------------------ Unicode to Shift-JIS
  // Each returns Shift-JIS text; `lost` (when given) receives the number of
  // characters that became "?" (malformed input, or no code left).
  std::string FromUtf8(std::string_view utf8, std::size_t* lost = nullptr);
  std::string FromUtf16(std::u16string_view units, std::size_t* lost = nullptr);
  // UTF-16 as bytes, little- or big-endian; an odd last byte is dropped.
  std::string FromUtf16Bytes(std::string_view bytes, bool bigEndian, std::size_t* lost = nullptr);
  std::string FromUtf32(std::u32string_view chars, std::size_t* lost = nullptr);
  // The code of one character (a single byte below 0x100, else lead << 8 |
  // trail), handing out a user-defined code when needed; 0 for none left
  // (and for U+0000).
  std::uint16_t CodeOf(char32_t c);

  // ------------------------------------------------ Shift-JIS to Unicode
  // `lost` receives the number of bytes or pairs that are no character and
  // became "?".
  std::string ToUtf8(std::string_view sjis, std::size_t* lost = nullptr) const;
  std::u16string ToUtf16(std::string_view sjis, std::size_t* lost = nullptr) const;
  std::string ToUtf16Bytes(std::string_view sjis, bool bigEndian,
                           std::size_t* lost = nullptr) const;
  std::u32string ToUtf32(std::string_view sjis, std::size_t* lost = nullptr) const;
  // The character of a single byte or a double-byte code; kNoChar (see
  // base/Cp932.h) when it is none.
  char32_t CharOf(std::uint16_t code) const;
  char32_t CharOfPair(unsigned char lead, unsigned char trail) const {
    return CharOf(static_cast<std::uint16_t>(lead << 8 | trail));
  }
  // True when the double-byte code carries a character of this document's
  // table (one that Shift-JIS, EUC-JP and JIS files cannot hold).
  bool IsAssigned(std::uint16_t code) const;
  // How many characters of `sjis` carry codes of the table: what a save in
  // Shift-JIS, EUC-JP or JIS loses.
  std::size_t CountAssigned(std::string_view sjis) const;
  // `sjis` with every character of the table replaced by "?" (for files in
  // a Japanese encoding); `count` receives their number.
  std::string WithoutAssigned(std::string_view sjis, std::size_t* count = nullptr) const;

  // ------------------------------------------------------------ the table
  // Marks the user-defined codes that `sjis` uses by the standard mapping as
  // taken.
  void Reserve(std::string_view sjis);
  // Number of characters that have codes of the table.
  int AssignedCount() const { return assigned_; }
  // Whether the table and the taken codes are the same.
  bool SameMapping(const TTextCodec& other) const;

  // The owner of the text: `scan` reserves the codes its text uses
  // (calling Reserve); it runs once before the next code is handed out
  // after SetScanPending.
  void SetScanner(std::function<void(TTextCodec&)> scan);
  void SetScanPending() { scanPending_ = static_cast<bool>(scanner_); }

 private:
  template <class Next>
  std::string Decode(std::size_t capacity, Next next, std::size_t* lost,
                     const std::function<void()>& prescan);
  std::uint16_t UserCode(char32_t c, const std::function<void()>* prescan);
  // Writes the code of c (c >= 0x80), or a counted "?".
  void PutChar(char*& o, char32_t c, std::size_t& bad, const std::function<void()>& prescan);
  void ReserveStandard(char32_t c);
  void RunScanner();
  template <class Emit>
  std::size_t Encode(std::string_view sjis, Emit&& emit) const;

  bool assigns_ = true;
  std::vector<char32_t> table_;  // by index into the area, 0 = no character
  std::vector<bool> reserved_;   // used by the text with its standard meaning
  std::unordered_map<char32_t, std::uint16_t> reverse_;
  int assigned_ = 0;
  int nextFree_ = 0;
  std::function<void(TTextCodec&)> scanner_;
  bool scanPending_ = false;
};

// The index into the user-defined area of a double-byte code, -1 outside it.
int UserAreaIndex(std::uint16_t code);
// The double-byte code of an index into the area.
std::uint16_t UserAreaCode(int index);

}  // namespace kelu
