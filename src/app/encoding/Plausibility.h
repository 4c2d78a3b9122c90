// Which reading of 8-bit text is the most plausible for a Japanese user's
// file: UTF-8, Shift-JIS (code page 932) or EUC-JP. Each reading that is
// well-formed (every character defined) is weighed by how likely its
// characters are (kana, common kanji and CJK punctuation high; rare blocks,
// user-defined characters and isolated half-width kana beside Latin letters
// low); the reading with the best average wins.
#pragma once

#include <string_view>

namespace kelu {

enum class TReading { rdNone, rdUtf8, rdSjis, rdEuc };

struct TReadingScore {
  bool valid = false;
  int chars = 0;        // characters of 0x80 and up
  double weight = 0;    // their summed weights
  double Average() const { return chars ? weight / chars : 0; }
};

struct TPlausibility {
  TReadingScore utf8, sjis, euc;
  TReading best = TReading::rdNone;
};

// `text` holds at least one byte of 0x80 or above. `cut`: the text is the
// start of a longer one, so a character cut at its end does not count
// against a reading.
TPlausibility WeighReadings(std::string_view text, bool cut);

}  // namespace kelu
