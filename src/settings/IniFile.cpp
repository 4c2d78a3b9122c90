#include "settings/IniFile.h"

#include <filesystem>
#include <system_error>

#include "base/Cp932.h"
#include "base/Exceptions.h"
#include "base/Files.h"
#include "base/LineSplit.h"

namespace kelu {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

char FoldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A file that is not UTF-8 is an older Shift-JIS one when most of its
// non-ASCII bytes do not form UTF-8; a UTF-8 file with a few damaged bytes
// stays UTF-8 (its Japanese names stay readable).
bool LooksLikeShiftJis(std::string_view bytes) {
  if (cp932::IsWellFormedUtf8(bytes)) return false;
  std::size_t utf8 = 0;
  std::size_t other = 0;
  for (std::size_t i = 0; i < bytes.size();) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
    } else if (std::size_t n = cp932::Utf8SequenceLength(bytes.substr(i)); n > 1) {
      ++utf8;
      i += n;
    } else {
      ++other;
      ++i;
    }
  }
  return other > utf8;
}

bool Quoted(std::string_view v) {
  return v.size() >= 2 && v.front() == '"' && v.back() == '"';
}

std::string DecodeValue(std::string_view v) {
  v = Trim(v);
  if (Quoted(v)) v = v.substr(1, v.size() - 2);
  return std::string(v);
}

std::string EncodeValue(std::string_view value) {
  std::string v(value);
  for (char& c : v) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  if ((!v.empty() && (IsBlank(v.front()) || IsBlank(v.back()))) || Quoted(v)) {
    return '"' + v + '"';
  }
  return v;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

TIniFile TIniFile::FromText(std::string_view text) {
  TIniFile ini;
  ini.Parse(text);
  return ini;
}

TIniFile TIniFile::Load(const std::string& fileName, bool sjisFallback) {
  TIniFile ini;
  ini.fileName_ = fileName;
  std::error_code ec;
  if (!std::filesystem::exists(fileName, ec)) return ini;
  std::string bytes = ReadFileBytes(fileName);
  if (sjisFallback && LooksLikeShiftJis(bytes)) bytes = cp932::ToUtf8(bytes);
  ini.Parse(bytes);
  return ini;
}

void TIniFile::Parse(std::string_view text) {
  lines_.clear();
  bom_ = text.starts_with(kBom);
  if (bom_) text.remove_prefix(kBom.size());
  ForEachLine(text, [&](std::string_view raw) {
    TLine line;
    line.raw = std::string(raw);
    std::string_view t = Trim(raw);
    if (t.starts_with(';') || t.starts_with('#')) {
      // A comment.
    } else if (t.size() >= 2 && t.front() == '[' && t.back() == ']') {
      line.kind = TLineKind::Section;
      line.name = std::string(Trim(t.substr(1, t.size() - 2)));
    } else if (auto eq = t.find('='); eq != std::string_view::npos && eq > 0) {
      line.kind = TLineKind::Key;
      line.name = std::string(Trim(t.substr(0, eq)));
      line.value = DecodeValue(t.substr(eq + 1));
    }
    lines_.push_back(std::move(line));
  });
}

int TIniFile::FindKey(std::string_view section, std::string_view key, int* sectionEnd) const {
  if (sectionEnd) *sectionEnd = -1;
  bool inSection = false;
  bool firstSection = false;
  bool seen = false;
  int found = -1;
  for (int i = 0; i < static_cast<int>(lines_.size()); ++i) {
    const TLine& line = lines_[i];
    if (line.kind == TLineKind::Section) {
      inSection = SameName(line.name, section);
      firstSection = inSection && !seen;
      if (firstSection) {
        seen = true;
        if (sectionEnd) *sectionEnd = i + 1;
      }
      continue;
    }
    if (!inSection || line.kind != TLineKind::Key) continue;
    if (firstSection && sectionEnd) *sectionEnd = i + 1;
    if (found < 0 && SameName(line.name, key)) {
      found = i;
      if (!sectionEnd) return found;
    }
  }
  return found;
}

std::optional<std::string> TIniFile::Read(std::string_view section, std::string_view key) const {
  int i = FindKey(section, key, nullptr);
  if (i < 0) return std::nullopt;
  return lines_[i].value;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const {
  if (auto v = Read(section, key)) return *v;
  return std::string(defaultValue);
}

bool TIniFile::KeyExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key, nullptr) >= 0;
}

void TIniFile::WriteString(std::string_view section, std::string_view key,
                           std::string_view value) {
  int sectionEnd = -1;
  int i = FindKey(section, key, &sectionEnd);
  TLine line;
  line.kind = TLineKind::Key;
  line.name = std::string(key);
  line.value = std::string(value);
  for (char& c : line.value) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  line.raw = line.name + "=" + EncodeValue(value);
  if (i >= 0) {
    if (lines_[i].value == line.value) return;
    lines_[i] = std::move(line);
  } else if (sectionEnd >= 0) {
    lines_.insert(lines_.begin() + sectionEnd, std::move(line));
  } else {
    if (!lines_.empty() && !Trim(lines_.back().raw).empty()) lines_.push_back(TLine{});
    TLine header;
    header.kind = TLineKind::Section;
    header.name = std::string(section);
    header.raw = "[" + header.name + "]";
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(line));
  }
  modified_ = true;
}

bool TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  bool deleted = false;
  for (int i; (i = FindKey(section, key, nullptr)) >= 0;) {
    lines_.erase(lines_.begin() + i);
    deleted = true;
  }
  if (deleted) modified_ = true;
  return deleted;
}

void TIniFile::EraseSection(std::string_view section) {
  bool inSection = false;
  std::vector<TLine> kept;
  for (TLine& line : lines_) {
    if (line.kind == TLineKind::Section) {
      inSection = SameName(line.name, section);
      // The blank lines that set the section apart go with it.
      while (inSection && !kept.empty() && kept.back().kind == TLineKind::Other &&
             Trim(kept.back().raw).empty()) {
        kept.pop_back();
      }
    }
    if (inSection) {
      modified_ = true;
    } else {
      kept.push_back(std::move(line));
    }
  }
  lines_ = std::move(kept);
}

bool TIniFile::SectionExists(std::string_view section) const {
  for (const TLine& line : lines_) {
    if (line.kind == TLineKind::Section && SameName(line.name, section)) return true;
  }
  return false;
}

std::vector<std::string> TIniFile::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  bool inSection = false;
  for (const TLine& line : lines_) {
    if (line.kind == TLineKind::Section) {
      inSection = SameName(line.name, section);
    } else if (inSection && line.kind == TLineKind::Key) {
      keys.push_back(line.name);
    }
  }
  return keys;
}

std::string TIniFile::Text() const {
  std::string text;
  if (bom_) text = kBom;
  for (const TLine& line : lines_) {
    text += line.raw;
    text += '\n';
  }
  return text;
}

void TIniFile::Save() {
  SaveAs(fileName_);
}

void TIniFile::SaveAs(const std::string& fileName) {
  const std::filesystem::path dir = std::filesystem::path(fileName).parent_path();
  std::error_code ec;
  if (!dir.empty() && !std::filesystem::is_directory(dir, ec)) {
    std::filesystem::create_directories(dir, ec);
    if (ec) {
      throw EFileError("ファイル「" + fileName + "」を保存できませんでした: " +
                       SystemErrorText(ec.value()));
    }
  }
  WriteFileAtomically(fileName, Text());
  fileName_ = fileName;
  modified_ = false;
}

}  // namespace kelu
