// The component stream: every published property of a component (its
// sub-objects, collections and string lists included) as UTF-8 text lines,
// one property a line, named by its path:
//
//   object KeluEditorExProp: TEditorExProp
//     Color = clWindow
//     Caret.TabSpaceCount = 8
//     Caret.Cursors.DefaultCursor = -4
//     Font.Name = "FixedSys"
//     Font.Style = [fsBold, fsItalic]
//     ReserveWordList.Count = 2
//     ReserveWordList[0] = "begin"
//     View.Brackets.Count = 1
//     View.Brackets[0].LeftBracket = "/*"
//     WordWrap = True
//   end
//
// Values: integers in decimal, colours by name or as "$" and eight
// hexadecimal digits, enumerations and Booleans by value name, sets as the
// names of their elements in brackets. Strings are Shift-JIS in memory and
// are written as UTF-8 between double quotes (with \\, \", \t, \r, \n and
// \xHH escapes), so the stream reads as text; a string whose UTF-8 form
// would not give back the same bytes (a byte sequence that is not Shift-JIS,
// or a character that has two Shift-JIS forms) is written as "#" and the
// hexadecimal bytes instead. Either way the bytes read back are the bytes
// written.
//
// Every property is written, defaults included, so a stream restores the
// whole component whatever the defaults of the reading program. Reading
// skips properties the component does not have (a stream of another
// version) and leaves the properties the stream does not name as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/Object.h"

namespace kelu {

// The stream of `instance` under the component name `name`.
std::string WriteComponentStream(TPersistent& instance, std::string_view name);

struct TStreamReadResult {
  // False when the text is no component stream at all (nothing was read).
  bool readable = false;
  // Values that could not be read (the property kept its value), lines
  // that are no property, counts beyond the stream.
  int damaged = 0;
  bool Clean() const { return readable && damaged == 0; }
};

// Reads a stream made by WriteComponentStream into `instance`.
TStreamReadResult ReadComponentStream(std::string_view stream, TPersistent& instance);

// A stream as the settings file keeps it: 32 bytes a line as 64 upper-case
// hexadecimal digits, the last line shorter.
std::vector<std::string> StreamToHexLines(std::string_view bytes);
// The bytes of hexadecimal lines; false (with `bytes` unspecified) when a
// line has an odd number of digits or a character that is not one.
bool HexLinesToStream(const std::vector<std::string>& lines, std::string& bytes);

}  // namespace kelu
