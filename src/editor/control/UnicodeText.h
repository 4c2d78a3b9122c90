// Document text as Qt's Unicode strings and back, always through the
// document's codec (base/TextCodec.h): the clipboard, the input method,
// drops and the screen see the characters the file had.
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

#include "base/TextCodec.h"

namespace kelu {

inline QString ToQString(const TTextCodec& codec, std::string_view sjis) {
  return QString::fromStdU16String(codec.ToUtf16(sjis));
}

// Characters without a Shift-JIS form get codes of the codec's table;
// `lost` counts those that still became "?".
inline std::string FromQString(TTextCodec& codec, const QString& text,
                               std::size_t* lost = nullptr) {
  return codec.FromUtf16(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size())),
      lost);
}

}  // namespace kelu
