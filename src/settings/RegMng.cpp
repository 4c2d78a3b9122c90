#include "settings/RegMng.h"

#include <charconv>
#include <cstdint>
#include <cstdio>

#include "base/Color.h"
#include "base/Cp932.h"
#include "base/Properties.h"
#include "settings/ComponentStream.h"
#include "settings/IniFile.h"

namespace kelu {

namespace {

constexpr const char* kNoIniFile = "can not create Inifile object.";
constexpr const char* kNoRegistry = "can not create Registry object.";

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return u;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::optional<bool> ParseBool(std::string_view text) {
  if (auto v = ParseSettingsInt(text)) return (*v & 0xFF) != 0;
  const std::string u = Upper(TrimBlanks(text));
  if (u == "TRUE" || u == "YES" || u == "ON") return true;
  if (u == "FALSE" || u == "NO" || u == "OFF") return false;
  return std::nullopt;
}

std::string Key(const std::string& ident, std::string_view suffix, int index = -1) {
  std::string key = ident;
  key += suffix;
  if (index >= 0) key += std::to_string(index);
  return key;
}

// Deletes ident + suffix + k for k = from, from + 1, ... while such a key
// exists (the keys a shorter list or stream leaves behind).
void DeleteTail(TSettingsStore& store, const std::string& section, const std::string& ident,
                std::string_view suffix, int from) {
  for (int k = from; store.Read(section, Key(ident, suffix, k)); ++k) {
    store.DeleteKey(section, Key(ident, suffix, k));
  }
}

// The settings file, read when the operation opens it and saved whole when
// the operation wrote anything.
class TIniStore : public TSettingsStore {
 public:
  explicit TIniStore(const std::string& fileName) : ini_(TIniFile::Load(fileName, true)) {}

  std::optional<std::string> Read(std::string_view section, std::string_view ident) override {
    return ini_.Read(section, ident);
  }
  void Write(std::string_view section, std::string_view ident, std::string_view value) override {
    ini_.WriteString(section, ident, value);
  }
  void DeleteKey(std::string_view section, std::string_view ident) override {
    ini_.DeleteKey(section, ident);
  }
  void Commit() override {
    if (ini_.Modified()) ini_.Save();
  }

 private:
  TIniFile ini_;
};

}  // namespace

std::optional<int> ParseSettingsInt(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  long long v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, base);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative) v = -v;
  // Hexadecimal texts are 32-bit patterns ("$FFFFFFFF" is -1).
  if (base == 16 && v >= 0 && v <= 0xFFFFFFFFLL) return static_cast<int>(static_cast<unsigned>(v));
  if (v < INT32_MIN || v > INT32_MAX) return std::nullopt;
  return static_cast<int>(v);
}

const TTypeInfo& TypeRegType() {
  static const TTypeInfo t{"TRegType", TTypeKind::tkEnumeration, {"rtReg", "rtIni"}};
  return t;
}

// ----------------------------------------------------------------- TRegItem

void TRegItem::Assign(const TPersistent& source) {
  if (auto* src = dynamic_cast<const TRegItem*>(&source)) {
    name_ = src->name_;
    section_ = src->section_;
    ident_ = src->ident_;
    defaultValue_ = src->defaultValue_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

const TClassInfo* TRegItem::ClassInfo() const {
  using C = TRegItem;
  auto str = [](TPropsOf<C>& p, const char* name, const std::string& (C::*get)() const,
                void (C::*set)(std::string_view)) {
    p.Str(
        name, [get](const C& o) { return (o.*get)(); },
        [set](C& o, const std::string& v) { (o.*set)(v); });
  };
  static const TClassInfo info = [&] {
    TPropsOf<C> p("TRegItem", nullptr);
    str(p, "DefaultValue", &C::DefaultValue, &C::SetDefaultValue);
    str(p, "Ident", &C::Ident, &C::SetIdent);
    str(p, "Name", &C::Name, &C::SetName);
    str(p, "Section", &C::Section, &C::SetSection);
    return p.Build();
  }();
  return &info;
}

TRegItem* TRegItems::Add(std::string_view name, std::string_view section, std::string_view ident,
                         std::string_view defaultValue) {
  TRegItem* item = Add();
  item->SetName(name);
  item->SetSection(section);
  item->SetIdent(ident);
  item->SetDefaultValue(defaultValue);
  return item;
}

TRegItem* TRegItems::Find(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameName(Item(i).Name(), name)) return &Item(i);
  }
  return nullptr;
}

// ----------------------------------------------------------- TSettingsStore

std::optional<std::string> TSettingsStore::ReadBinary(std::string_view, std::string_view) {
  return std::nullopt;
}

void TSettingsStore::WriteBinary(std::string_view, std::string_view, std::string_view) {}

// -------------------------------------------------------------- TRegManager

TRegManager::TRegManager(TComponent* owner) : TComponent(owner) {}

TRegManager::~TRegManager() = default;

const TClassInfo* TRegManager::ClassInfo() const {
  using C = TRegManager;
  static const TClassInfo info =
      TPropsOf<C>("TRegManager", nullptr)
          .Str(
              "IniFileName", [](const C& o) { return o.IniFileName(); },
              [](C& o, const std::string& v) { o.SetIniFileName(v); })
          .Str(
              "RegDir", [](const C& o) { return o.RegDir(); },
              [](C& o, const std::string& v) { o.SetRegDir(v); })
          .Obj("RegItems", TypeClass("TRegItems"), [](C& o) { return &o.RegItems(); })
          .Enum("RegType", TypeRegType(), rtIni, &C::RegType, &C::SetRegType)
          .Build();
  return &info;
}

TRegFiler& TRegManager::Filer(std::string_view name) {
  if (!filer_) filer_ = CreateFiler();
  TRegItem* item = regItems_.Find(name);
  if (!item) ShowMessage("[' " + std::string(name) + " '] is invalid.");
  filer_->SetItem(item);
  return *filer_;
}

std::unique_ptr<TRegFiler> TRegManager::CreateFiler() {
  return std::make_unique<TRegFiler>(*this);
}

std::unique_ptr<TSettingsStore> TRegManager::OpenStore() {
  if (regType_ == rtReg) {
    std::unique_ptr<TSettingsStore> store;
    if (!regDir_.empty()) store = CreateRegistryStore(regDir_);
    if (!store) ShowMessage(kNoRegistry);
    return store;
  }
  if (iniFileName_.empty()) {
    ShowMessage(kNoIniFile);
    return nullptr;
  }
  return std::make_unique<TIniStore>(iniFileName_);
}

std::unique_ptr<TSettingsStore> TRegManager::CreateRegistryStore(const std::string& /*regDir*/) {
  return nullptr;
}

void TRegManager::ShowMessage(const std::string& message) {
  if (OnMessage) {
    OnMessage(message);
  } else {
    std::fprintf(stderr, "%s\n", message.c_str());
  }
}

void TRegManager::AddResetItem(const std::string& name) {
  for (const std::string& n : resetItems_) {
    if (n == name) return;
  }
  resetItems_.push_back(name);
}

// ---------------------------------------------------------------- TRegFiler

void TRegFiler::ItemReset() {
  if (item_) manager_.AddResetItem(item_->Name());
}

std::string TRegFiler::ReadString(std::string_view section, std::string_view ident,
                                  std::string_view defaultValue) {
  if (section.empty() || ident.empty()) return std::string(defaultValue);
  auto store = Open();
  if (!store) return std::string(defaultValue);
  return store->Read(section, ident).value_or(std::string(defaultValue));
}

void TRegFiler::WriteString(std::string_view section, std::string_view ident,
                            std::string_view value) {
  if (section.empty() || ident.empty()) return;
  auto store = Open();
  if (!store) return;
  store->Write(section, ident, value);
  store->Commit();
}

bool TRegFiler::ReadBool() {
  if (!item_) return false;
  const std::string d = Upper(item_->DefaultValue());
  const bool def = d == "1" || d == "TRUE" || d == "YES";
  auto store = Open();
  if (!store) return false;
  auto stored = store->Read(item_->Section(), item_->Ident());
  if (!stored) return def;
  if (auto b = ParseBool(*stored)) return *b;
  ItemReset();
  return def;
}

void TRegFiler::WriteBool(bool value) {
  WriteItemString(value ? "1" : "0");
}

int TRegFiler::ReadInteger() {
  if (!item_) return 0;
  const int def = ParseSettingsInt(item_->DefaultValue()).value_or(0);
  auto store = Open();
  if (!store) return 0;
  auto stored = store->Read(item_->Section(), item_->Ident());
  if (!stored) return def;
  if (auto v = ParseSettingsInt(*stored)) return *v;
  ItemReset();
  return def;
}

void TRegFiler::WriteInteger(int value) {
  WriteItemString(std::to_string(value));
}

std::string TRegFiler::ReadItemString() {
  if (!item_) return {};
  auto store = Open();
  if (!store) return {};
  return store->Read(item_->Section(), item_->Ident()).value_or(item_->DefaultValue());
}

void TRegFiler::WriteItemString(std::string_view value) {
  if (!item_) return;
  auto store = Open();
  if (!store) return;
  store->Write(item_->Section(), item_->Ident(), value);
  store->Commit();
}

void TRegFiler::ReadFont(TFont* font) {
  if (!item_ || !font) return;
  auto store = Open();
  if (!store) return;
  const std::string& s = item_->Section();
  const std::string& i = item_->Ident();
  bool damaged = false;
  // Each key: absent keeps the font's value; unreadable keeps it too and
  // counts as damage.
  auto number = [&](std::string_view suffix, auto apply) {
    if (auto text = store->Read(s, Key(i, suffix))) {
      if (auto v = ParseSettingsInt(*text)) {
        apply(*v);
      } else {
        damaged = true;
      }
    }
  };
  if (auto name = store->Read(s, Key(i, "_FontName")); name && !name->empty()) {
    std::size_t lossy = 0;
    std::string sjis = cp932::FromUtf8(*name, &lossy);
    if (lossy == 0) {
      font->SetName(sjis);
    } else {
      damaged = true;
    }
  }
  number("_FontSize", [&](int v) { font->SetSize(v); });
  if (auto text = store->Read(s, Key(i, "_FontColor"))) {
    if (auto color = StringToColor(*text)) {
      font->SetColor(*color);
    } else {
      damaged = true;
    }
  }
  number("_FontStyle", [&](int v) {
    if (v >= 0 && v <= 15) {
      font->SetStyle(static_cast<TFontStyles>(v));
    } else {
      damaged = true;
    }
  });
  number("_FontCharset", [&](int v) { font->SetCharset(v); });
  if (damaged) ItemReset();
}

void TRegFiler::WriteFont(const TFont* font) {
  if (!item_ || !font) return;
  auto store = Open();
  if (!store) return;
  const std::string& s = item_->Section();
  const std::string& i = item_->Ident();
  store->Write(s, Key(i, "_FontName"), cp932::ToUtf8(font->Name()));
  store->Write(s, Key(i, "_FontSize"), std::to_string(font->Size()));
  store->Write(s, Key(i, "_FontColor"), ColorToString(font->Color()));
  store->Write(s, Key(i, "_FontStyle"), std::to_string(font->Style()));
  store->Write(s, Key(i, "_FontCharset"), std::to_string(font->Charset()));
  store->Commit();
}

void TRegFiler::ReadStrings(TStrings* strings) {
  if (!item_ || !strings) return;
  auto store = Open();
  if (!store) return;
  const std::string& s = item_->Section();
  const std::string& i = item_->Ident();
  int count = 0;
  if (auto text = store->Read(s, Key(i, "_ItemCount"))) {
    auto n = ParseSettingsInt(*text);
    if (!n || *n < 0) return ItemReset();
    count = *n;
  }
  std::vector<std::string> items;
  for (int k = 0; k < count; ++k) {
    auto item = store->Read(s, Key(i, "_Item", k));
    // Fewer entries than the count: the list cannot be trusted.
    if (!item) return ItemReset();
    items.push_back(std::move(*item));
  }
  strings->BeginUpdate();
  try {
    strings->Clear();
    for (const std::string& item : items) strings->Add(item);
  } catch (...) {
    strings->EndUpdate();
    throw;
  }
  strings->EndUpdate();
}

void TRegFiler::WriteStrings(const TStrings* strings) {
  if (!item_ || !strings) return;
  auto store = Open();
  if (!store) return;
  const std::string& s = item_->Section();
  const std::string& i = item_->Ident();
  const int count = strings->Count();
  DeleteTail(*store, s, i, "_Item", count);
  if (count == 0) {
    store->DeleteKey(s, Key(i, "_ItemCount"));
  } else {
    store->Write(s, Key(i, "_ItemCount"), std::to_string(count));
    for (int k = 0; k < count; ++k) store->Write(s, Key(i, "_Item", k), strings->Get(k));
  }
  store->Commit();
}

TRegFiler::TStreamState TRegFiler::ReadItemStream(TSettingsStore& store, std::string& bytes) {
  const std::string& s = item_->Section();
  const std::string& i = item_->Ident();
  if (manager_.RegType() == rtReg) {
    auto value = store.ReadBinary(s, i);
    if (!value || value->empty()) return TStreamState::Missing;
    bytes = std::move(*value);
    return TStreamState::Read;
  }
  auto text = store.Read(s, Key(i, "_c"));
  if (!text) return TStreamState::Missing;
  auto n = ParseSettingsInt(*text);
  if (!n || *n < 0) return TStreamState::Damaged;
  if (*n == 0) return TStreamState::Missing;
  std::vector<std::string> lines;
  for (int k = 0; k < *n; ++k) {
    auto line = store.Read(s, Key(i, "_d", k));
    if (!line) return TStreamState::Damaged;
    lines.push_back(std::move(*line));
  }
  if (!HexLinesToStream(lines, bytes)) return TStreamState::Damaged;
  return TStreamState::Read;
}

void TRegFiler::WriteItemStream(TSettingsStore& store, std::string_view bytes) {
  const std::string& s = item_->Section();
  const std::string& i = item_->Ident();
  if (manager_.RegType() == rtReg) {
    store.WriteBinary(s, i, bytes);
    return;
  }
  const std::vector<std::string> lines = StreamToHexLines(bytes);
  const int count = static_cast<int>(lines.size());
  DeleteTail(store, s, i, "_d", count);
  if (count == 0) {
    store.DeleteKey(s, Key(i, "_c"));
    return;
  }
  store.Write(s, Key(i, "_c"), std::to_string(count));
  for (int k = 0; k < count; ++k) store.Write(s, Key(i, "_d", k), lines[k]);
}

void TRegFiler::ReadStream(std::string& stream) {
  if (!item_) return;
  auto store = Open();
  if (!store) return;
  std::string bytes;
  switch (ReadItemStream(*store, bytes)) {
    case TStreamState::Read: stream += bytes; break;
    case TStreamState::Damaged: ItemReset(); break;
    case TStreamState::Missing: break;
  }
}

void TRegFiler::WriteStream(std::string_view stream) {
  if (!item_) return;
  auto store = Open();
  if (!store) return;
  WriteItemStream(*store, stream);
  store->Commit();
}

void TRegFiler::ReadComponent(TComponent* component) {
  if (!item_ || !component) return;
  auto store = Open();
  if (!store) return;
  std::string bytes;
  switch (ReadItemStream(*store, bytes)) {
    case TStreamState::Missing: return;
    case TStreamState::Damaged: return ItemReset();
    case TStreamState::Read: break;
  }
  if (!ReadComponentStream(bytes, *component).Clean()) ItemReset();
}

void TRegFiler::WriteComponent(TComponent* component) {
  if (!item_ || !component) return;
  WriteStream(WriteComponentStream(*component, component->Name()));
}

void TRegFiler::DeleteKey(std::string_view section, std::string_view ident) {
  if (section.empty() || ident.empty()) return;
  auto store = Open();
  if (!store) return;
  store->DeleteKey(section, ident);
  store->Commit();
}

}  // namespace kelu
