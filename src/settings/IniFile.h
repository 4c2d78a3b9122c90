// An INI file as text: sections of key=value lines in the order of the
// file. Lines that are neither a section nor a key (comments, blank lines,
// anything a person wrote by hand) are kept as they are, so that saving
// changes only the keys written. Sections and keys are found without regard
// to ASCII case; the first of duplicates wins.
//
// Values are one line. On reading, blanks around a value are dropped and one
// pair of double quotes around it is taken off; on writing, a value that
// would lose something that way (blanks at either end, quotes at both ends)
// is written in quotes, so every one-line value reads back as written. Line
// breaks in a value are written as blanks.
//
// The same class edits the desktop's key files (desktop entries,
// mimeapps.list), which share the format.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelu {

class TIniFile {
 public:
  TIniFile() = default;
  // The parsed form of `text` (LF or CR LF line ends; a UTF-8 byte-order
  // mark is kept and written again).
  static TIniFile FromText(std::string_view text);
  // Reads `fileName`; a file that does not exist reads as empty. With
  // `sjisFallback` a file whose non-ASCII bytes are mostly not UTF-8 is
  // taken as Shift-JIS (an older settings file); a UTF-8 file with a few
  // damaged bytes stays UTF-8. Raises EFileError when the file exists but cannot
  // be read.
  static TIniFile Load(const std::string& fileName, bool sjisFallback = false);

  const std::string& FileName() const { return fileName_; }

  // The value of a key, or nullopt when there is none.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // Replaces the value of an existing key in place, or adds the key after
  // the last key of the section (the section is added at the end of the
  // file when missing).
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Removes every line of the key; false when there was none.
  bool DeleteKey(std::string_view section, std::string_view key);
  // Removes the section's header and all its lines, and the blank lines
  // just before it.
  void EraseSection(std::string_view section);
  bool SectionExists(std::string_view section) const;
  bool KeyExists(std::string_view section, std::string_view key) const;
  // The keys of a section, in file order.
  std::vector<std::string> Keys(std::string_view section) const;

  // Whether anything was written or deleted since loading.
  bool Modified() const { return modified_; }
  // The whole file, LF after every line.
  std::string Text() const;
  // Writes Text() to FileName() through a temporary file renamed over the
  // old one (the directory is made when missing). Raises EFileError with a
  // Japanese message; the old file is then as it was.
  void Save();
  void SaveAs(const std::string& fileName);

 private:
  enum class TLineKind { Other, Section, Key };
  struct TLine {
    TLineKind kind = TLineKind::Other;
    std::string raw;    // the line as read (Other, Section)
    std::string name;   // section name or key
    std::string value;  // key value, unquoted
  };

  void Parse(std::string_view text);
  // The index of the key's line in the section, or -1; `sectionEnd`
  // receives the index after the last key line of the first section of
  // that name (-1 when the section is missing).
  int FindKey(std::string_view section, std::string_view key, int* sectionEnd) const;

  std::string fileName_;
  std::vector<TLine> lines_;
  bool bom_ = false;
  bool modified_ = false;
};

// Compares UTF-8 (or ASCII) names with ASCII letters folded to one case.
bool SameName(std::string_view a, std::string_view b);

}  // namespace kelu
