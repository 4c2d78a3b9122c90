#include "settings/ComponentStream.h"

#include <charconv>
#include <map>
#include <optional>

#include "base/Color.h"
#include "base/Cp932.h"
#include "base/LineSplit.h"
#include "base/Notify.h"
#include "base/Properties.h"
#include "base/Strings.h"

namespace kelu {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr std::string_view kCount = "Count";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool HexToBytes(std::string_view hex, std::string& out) {
  if (hex.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    int hi = HexValue(hex[i]);
    int lo = HexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out += static_cast<char>(hi * 16 + lo);
  }
  return true;
}

std::optional<std::int64_t> ParseInt(std::string_view s) {
  s = Trim(s);
  std::int64_t v = 0;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
  return v;
}

// ------------------------------------------------------------------ values

std::string StringLiteral(const std::string& sjis) {
  std::size_t lossy = 0;
  const std::string utf8 = cp932::ToUtf8(sjis, &lossy);
  if (lossy != 0 || cp932::FromUtf8(utf8) != sjis) {
    std::string raw = "#";
    for (unsigned char c : sjis) {
      raw += kHexDigits[c >> 4];
      raw += kHexDigits[c & 15];
    }
    return raw;
  }
  std::string out = "\"";
  for (unsigned char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          out += "\\x";
          out += kHexDigits[c >> 4];
          out += kHexDigits[c & 15];
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + '"';
}

std::optional<std::string> ParseStringLiteral(std::string_view s) {
  s = Trim(s);
  std::string bytes;
  if (s.starts_with('#')) {
    if (!HexToBytes(s.substr(1), bytes)) return std::nullopt;
    return bytes;
  }
  if (s.size() < 2 || s.front() != '"' || s.back() != '"') return std::nullopt;
  s = s.substr(1, s.size() - 2);
  std::string utf8;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '"') return std::nullopt;
    if (c != '\\') {
      utf8 += c;
      continue;
    }
    if (++i >= s.size()) return std::nullopt;
    switch (s[i]) {
      case '\\': utf8 += '\\'; break;
      case '"': utf8 += '"'; break;
      case 't': utf8 += '\t'; break;
      case 'r': utf8 += '\r'; break;
      case 'n': utf8 += '\n'; break;
      case 'x':
        if (i + 2 >= s.size()) return std::nullopt;
        if (!HexToBytes(s.substr(i + 1, 2), utf8)) return std::nullopt;
        i += 2;
        break;
      default: return std::nullopt;
    }
  }
  if (!cp932::IsWellFormedUtf8(utf8)) return std::nullopt;
  std::size_t lossy = 0;
  std::string sjis = cp932::FromUtf8(utf8, &lossy);
  if (lossy != 0) return std::nullopt;
  return sjis;
}

std::string FormatOrd(const TPropInfo& prop, std::int64_t v) {
  if (prop.Type == &TypeColor()) return ColorToString(static_cast<TColor>(v));
  switch (prop.Kind()) {
    case TTypeKind::tkEnumeration: return prop.Type->ValueName(v);
    case TTypeKind::tkSet: {
      std::string out = "[";
      for (std::size_t i = 0; i < prop.Type->Names.size(); ++i) {
        if (!(v & (std::int64_t{1} << i))) continue;
        if (out.size() > 1) out += ", ";
        out += prop.Type->Names[i];
      }
      return out + "]";
    }
    default: return std::to_string(v);
  }
}

std::optional<std::int64_t> ParseOrd(const TPropInfo& prop, std::string_view text) {
  text = Trim(text);
  if (prop.Type == &TypeColor()) {
    if (auto c = StringToColor(text)) return static_cast<std::uint32_t>(*c);
    return std::nullopt;
  }
  switch (prop.Kind()) {
    case TTypeKind::tkEnumeration: {
      if (auto v = prop.Type->ValueOf(text)) return v;
      auto v = ParseInt(text);
      if (v && *v >= 0 && *v < static_cast<std::int64_t>(prop.Type->Names.size())) return v;
      return std::nullopt;
    }
    case TTypeKind::tkSet: {
      if (text.size() < 2 || text.front() != '[' || text.back() != ']') return std::nullopt;
      std::int64_t bits = 0;
      std::string_view rest = text.substr(1, text.size() - 2);
      while (!rest.empty()) {
        std::size_t comma = rest.find(',');
        std::string_view name = Trim(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        if (name.empty()) continue;
        // An element this program does not know (a newer version's) is
        // passed over.
        if (auto v = prop.Type->ValueOf(name)) bits |= std::int64_t{1} << *v;
      }
      return bits;
    }
    default: return ParseInt(text);
  }
}

// ------------------------------------------------------------------ writer

void WriteObject(TPersistent& obj, const std::string& path, std::string& out);

void WriteLine(const std::string& path, const std::string& value, std::string& out) {
  out += "  ";
  out += path;
  out += " = ";
  out += value;
  out += '\n';
}

std::string Join(const std::string& path, const std::string& name) {
  return path.empty() ? name : path + "." + name;
}

std::string Indexed(const std::string& path, int index) {
  return path + "[" + std::to_string(index) + "]";
}

void WriteProps(TPersistent& obj, const std::string& path, std::string& out) {
  const TClassInfo* info = obj.ClassInfo();
  if (!info) return;
  for (const TPropInfo* prop : info->AllProps()) {
    const std::string full = Join(path, prop->Name);
    switch (prop->Kind()) {
      case TTypeKind::tkClass:
        if (TPersistent* child = prop->GetObj ? prop->GetObj(obj) : nullptr) {
          WriteObject(*child, full, out);
        }
        break;
      // A read-only property (no setter) has nothing to store.
      case TTypeKind::tkString:
        if (prop->GetStr && prop->SetStr) WriteLine(full, StringLiteral(prop->GetStr(obj)), out);
        break;
      case TTypeKind::tkMethod: break;
      default:
        if (prop->GetOrd && prop->SetOrd) {
          WriteLine(full, FormatOrd(*prop, prop->GetOrd(obj)), out);
        }
    }
  }
}

void WriteObject(TPersistent& obj, const std::string& path, std::string& out) {
  if (auto* list = dynamic_cast<TStrings*>(&obj)) {
    WriteLine(Join(path, std::string(kCount)), std::to_string(list->Count()), out);
    for (int i = 0; i < list->Count(); ++i) {
      WriteLine(Indexed(path, i), StringLiteral(list->Get(i)), out);
    }
    return;
  }
  if (auto* collection = dynamic_cast<TCollection*>(&obj)) {
    WriteLine(Join(path, std::string(kCount)), std::to_string(collection->Count()), out);
    for (int i = 0; i < collection->Count(); ++i) {
      WriteProps(*collection->Items(i), Indexed(path, i), out);
    }
  }
  WriteProps(obj, path, out);
}

// ------------------------------------------------------------------ reader

struct TSegment {
  std::string_view name;
  int index = -1;
};

// "A.B[2].C" as its segments; false when the path is malformed.
bool SplitPath(std::string_view path, std::vector<TSegment>& segments) {
  while (true) {
    std::size_t dot = path.find('.');
    std::string_view part = path.substr(0, dot);
    TSegment seg;
    if (std::size_t open = part.find('['); open != std::string_view::npos) {
      if (part.back() != ']') return false;
      auto index = ParseInt(part.substr(open + 1, part.size() - open - 2));
      if (!index || *index < 0 || *index > (1 << 20)) return false;
      seg.index = static_cast<int>(*index);
      part = part.substr(0, open);
    }
    if (part.empty()) return false;
    seg.name = part;
    segments.push_back(seg);
    if (dot == std::string_view::npos) return true;
    path = path.substr(dot + 1);
  }
}

class TStreamReader {
 public:
  TStreamReader(TPersistent& instance, int lineCount) : instance_(instance), limit_(lineCount) {}

  void Apply(std::string_view path, std::string_view value) {
    std::vector<TSegment> segments;
    if (!SplitPath(path, segments)) return Damage();
    TPersistent* obj = &instance_;
    for (std::size_t i = 0; i + 1 < segments.size(); ++i) {
      const TPropInfo* prop = Find(*obj, segments[i].name);
      // A path this program does not know: another version's property.
      if (!prop || prop->Kind() != TTypeKind::tkClass || !prop->GetObj) return;
      obj = prop->GetObj(*obj);
      if (!obj) return;
      if (segments[i].index >= 0) {
        auto* collection = dynamic_cast<TCollection*>(obj);
        if (!collection || segments[i].index >= collection->Count()) return Damage();
        obj = collection->Items(segments[i].index);
      }
    }
    const TSegment& last = segments.back();
    if (last.name == kCount && last.index < 0 && !Find(*obj, kCount)) return SetCount(*obj, value);
    const TPropInfo* prop = Find(*obj, last.name);
    if (!prop) return;
    if (last.index >= 0) return SetListItem(*prop, *obj, last.index, value);
    switch (prop->Kind()) {
      case TTypeKind::tkClass:
      case TTypeKind::tkMethod: return Damage();
      case TTypeKind::tkString: {
        auto s = ParseStringLiteral(value);
        if (!s || !prop->SetStr) return Damage();
        prop->SetStr(*obj, *s);
        return;
      }
      default: {
        auto v = ParseOrd(*prop, value);
        if (!v || !prop->SetOrd) return Damage();
        prop->SetOrd(*obj, *v);
      }
    }
  }

  // The staged string lists, each as one change; an incomplete list stays
  // as it was.
  void Finish() {
    for (auto& [list, items] : lists_) {
      bool complete = true;
      for (const auto& item : items) complete = complete && item.has_value();
      if (!complete) {
        Damage();
        continue;
      }
      list->BeginUpdate();
      list->Clear();
      for (const auto& item : items) list->Add(*item);
      list->EndUpdate();
    }
  }

  void Damage() { ++damaged_; }
  int Damaged() const { return damaged_; }

 private:
  static const TPropInfo* Find(TPersistent& obj, std::string_view name) {
    const TClassInfo* info = obj.ClassInfo();
    return info ? info->Find(name) : nullptr;
  }

  void SetCount(TPersistent& obj, std::string_view value) {
    auto n = ParseInt(value);
    if (!n || *n < 0 || *n > limit_) return Damage();
    const int count = static_cast<int>(*n);
    if (auto* list = dynamic_cast<TStrings*>(&obj)) {
      lists_[list].assign(count, std::nullopt);
      return;
    }
    auto* collection = dynamic_cast<TCollection*>(&obj);
    if (!collection) return;
    collection->BeginUpdate();
    collection->Clear();
    try {
      for (int i = 0; i < count; ++i) collection->Add();
    } catch (const std::exception&) {
      Damage();
    }
    collection->EndUpdate();
  }

  void SetListItem(const TPropInfo& prop, TPersistent& obj, int index, std::string_view value) {
    TPersistent* target = prop.GetObj ? prop.GetObj(obj) : nullptr;
    auto* list = dynamic_cast<TStrings*>(target);
    if (!list) return Damage();
    auto staged = lists_.find(list);
    if (staged == lists_.end() || index >= static_cast<int>(staged->second.size())) {
      return Damage();
    }
    auto s = ParseStringLiteral(value);
    if (!s) return Damage();
    staged->second[index] = std::move(*s);
  }

  TPersistent& instance_;
  int limit_;
  int damaged_ = 0;
  std::map<TStrings*, std::vector<std::optional<std::string>>> lists_;
};

}  // namespace

std::string WriteComponentStream(TPersistent& instance, std::string_view name) {
  std::string out = "object ";
  out += name;
  out += ": ";
  out += instance.ClassName();
  out += '\n';
  WriteObject(instance, {}, out);
  out += "end\n";
  return out;
}

TStreamReadResult ReadComponentStream(std::string_view stream, TPersistent& instance) {
  TStreamReadResult result;
  if (!cp932::IsWellFormedUtf8(stream)) return result;
  std::vector<std::string_view> lines;
  ForEachLine(stream, [&](std::string_view line) {
    line = Trim(line);
    if (!line.empty()) lines.push_back(line);
  });
  if (lines.size() < 2 || !lines.front().starts_with("object ") ||
      lines.front().find(':') == std::string_view::npos || lines.back() != "end") {
    return result;
  }
  result.readable = true;
  TStreamReader reader(instance, static_cast<int>(lines.size()));
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    std::size_t eq = lines[i].find('=');
    if (eq == std::string_view::npos) {
      reader.Damage();
      continue;
    }
    reader.Apply(Trim(lines[i].substr(0, eq)), Trim(lines[i].substr(eq + 1)));
  }
  reader.Finish();
  result.damaged = reader.Damaged();
  return result;
}

std::vector<std::string> StreamToHexLines(std::string_view bytes) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < bytes.size(); i += 32) {
    std::string line;
    for (unsigned char c : bytes.substr(i, 32)) {
      line += kHexDigits[c >> 4];
      line += kHexDigits[c & 15];
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

bool HexLinesToStream(const std::vector<std::string>& lines, std::string& bytes) {
  bytes.clear();
  for (const std::string& line : lines) {
    if (!HexToBytes(line, bytes)) return false;
  }
  return true;
}

}  // namespace kelu
