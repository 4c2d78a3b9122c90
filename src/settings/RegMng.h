// The settings store: named items, each a (section, key) place in the
// settings file (rtIni) or in a per-user store of the platform (rtReg), and
// one reader/writer, TRegFiler, bound to the item asked for by name. The
// filer reads and writes strings, Booleans, integers, fonts, string lists,
// raw streams and whole components.
//
// Every filer operation opens the store, does its reads or writes and closes
// it again; an operation that writes saves the whole settings file at its
// end, through a temporary file renamed over the old one, so the file is
// never left half written. A write that fails raises EFileError (Japanese,
// naming the file and the reason) and leaves the old file as it was.
//
// Reading never fails on a damaged file: a value that cannot be read (not a
// number, a count beyond the keys present, a hexadecimal line that is not
// one, a component stream that cannot be read) keeps the default the caller
// gave or the value the object had, the rest is read, and the item's name is
// added to ResetItems(), so that the caller can tell the user once.
//
// Text: the settings file is UTF-8 and item strings and string-list entries
// are stored as given (callers give UTF-8). Font names, which TFont holds in
// Shift-JIS, are converted; component streams keep their strings as
// ComponentStream.h says.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Font.h"
#include "base/Notify.h"
#include "base/Properties.h"
#include "base/Strings.h"

namespace kelu {

enum TRegType : std::uint8_t { rtReg = 0, rtIni = 1 };
const TTypeInfo& TypeRegType();

// A named place of the store.
class TRegItem : public TCollectionItem {
 public:
  KELU_CLASS_NAME(TRegItem)
  using TCollectionItem::TCollectionItem;

  // Looked up by this name, ignoring ASCII case.
  const std::string& Name() const { return name_; }
  void SetName(std::string_view value) { name_ = value; }
  // The INI section, or the group of the platform store.
  const std::string& Section() const { return section_; }
  void SetSection(std::string_view value) { section_ = value; }
  // The key, or the prefix of the keys, inside the section.
  const std::string& Ident() const { return ident_; }
  void SetIdent(std::string_view value) { ident_ = value; }
  // What the Boolean, integer and string reads of the item return when the
  // key is missing.
  const std::string& DefaultValue() const { return defaultValue_; }
  void SetDefaultValue(std::string_view value) { defaultValue_ = value; }

  void Assign(const TPersistent& source) override;
  const TClassInfo* ClassInfo() const override;

 private:
  std::string name_, section_, ident_, defaultValue_;
};

class TRegItems : public TOwnedCollection<TRegItem> {
 public:
  KELU_CLASS_NAME(TRegItems)

  TRegItem* Add() override { return static_cast<TRegItem*>(TCollection::Add()); }
  // Adds an item with these four values.
  TRegItem* Add(std::string_view name, std::string_view section, std::string_view ident,
                std::string_view defaultValue = {});
  TRegItem& Item(int index) const { return *static_cast<TRegItem*>(Items(index)); }
  // The first item of that name (ASCII case ignored), or nullptr.
  TRegItem* Find(std::string_view name) const;
};

// One opening of the backing store, for one filer operation.
class TSettingsStore {
 public:
  virtual ~TSettingsStore() = default;
  virtual std::optional<std::string> Read(std::string_view section, std::string_view ident) = 0;
  virtual void Write(std::string_view section, std::string_view ident, std::string_view value) = 0;
  virtual void DeleteKey(std::string_view section, std::string_view ident) = 0;
  // Streams as one binary value (rtReg); the INI store keeps them as
  // hexadecimal lines instead and does not use these.
  virtual std::optional<std::string> ReadBinary(std::string_view section, std::string_view ident);
  virtual void WriteBinary(std::string_view section, std::string_view ident,
                           std::string_view bytes);
  // Makes the writes of the operation durable; raises EFileError.
  virtual void Commit() = 0;
};

class TRegFiler;

class TRegManager : public TComponent {
 public:
  KELU_CLASS_NAME(TRegManager)

  explicit TRegManager(TComponent* owner = nullptr);
  ~TRegManager() override;

  const std::string& IniFileName() const { return iniFileName_; }
  void SetIniFileName(std::string_view value) { iniFileName_ = value; }
  // The path of the platform store (rtReg).
  const std::string& RegDir() const { return regDir_; }
  void SetRegDir(std::string_view value) { regDir_ = value; }
  TRegItems& RegItems() { return regItems_; }
  TRegType RegType() const { return regType_; }
  void SetRegType(TRegType value) { regType_ = value; }

  const TClassInfo* ClassInfo() const override;

  // The manager's one filer, bound to the item of that name. Without such
  // an item: the message "[' name '] is invalid." and a filer bound to no
  // item, whose operations do nothing until the next successful lookup.
  TRegFiler& Filer(std::string_view name);

  // Opens the store for one operation; nullptr (after the message "can not
  // create Inifile object." or "can not create Registry object.") when there
  // is no file name, no store path or, in this build, no platform store.
  virtual std::unique_ptr<TSettingsStore> OpenStore();

  // Where the store's messages go; by default standard error.
  std::function<void(const std::string& message)> OnMessage;
  void ShowMessage(const std::string& message);

  // The names of the items that could not be read (and kept their
  // defaults) since the last ClearResetItems, each once.
  const std::vector<std::string>& ResetItems() const { return resetItems_; }
  void ClearResetItems() { resetItems_.clear(); }
  void AddResetItem(const std::string& name);

 protected:
  // The filer class; made on the first lookup.
  virtual std::unique_ptr<TRegFiler> CreateFiler();
  // The platform store at `regDir` (rtReg): none in the Qt-free build.
  virtual std::unique_ptr<TSettingsStore> CreateRegistryStore(const std::string& regDir);

 private:
  std::string iniFileName_;
  std::string regDir_;
  TRegItems regItems_;
  TRegType regType_ = rtIni;
  std::unique_ptr<TRegFiler> filer_;
  std::vector<std::string> resetItems_;
};

class TRegFiler {
 public:
  explicit TRegFiler(TRegManager& manager) : manager_(manager) {}
  virtual ~TRegFiler() = default;
  TRegFiler(const TRegFiler&) = delete;
  TRegFiler& operator=(const TRegFiler&) = delete;

  TRegManager& Manager() const { return manager_; }
  TRegItem* Item() const { return item_; }
  void SetItem(TRegItem* item) { item_ = item; }

  // Any place: `defaultValue` when the key is missing or either name is
  // empty (then nothing is written either).
  virtual std::string ReadString(std::string_view section, std::string_view ident,
                                 std::string_view defaultValue);
  virtual void WriteString(std::string_view section, std::string_view ident,
                           std::string_view value);

  // The current item's place. With no current item the reads give 0, false
  // or empty and the writes do nothing.
  // DefaultValue "1", "TRUE" or "YES" (any case) means true; a stored value
  // is a number (true when its low 8 bits are not all 0) or one of true,
  // yes, on, false, no, off.
  virtual bool ReadBool();
  virtual void WriteBool(bool value);
  virtual int ReadInteger();
  virtual void WriteInteger(int value);
  virtual std::string ReadItemString();
  virtual void WriteItemString(std::string_view value);
  // Five keys: Ident + "_FontName", "_FontSize" (points), "_FontColor"
  // (name or "$BBGGRR"), "_FontStyle" (bold 1, italic 2, underline 4,
  // strike-out 8), "_FontCharset". Each missing or unreadable key keeps the
  // font's current value.
  virtual void ReadFont(TFont* font);
  virtual void WriteFont(const TFont* font);
  // Ident + "_ItemCount" and Ident + "_Item0", "_Item1", ...; a list whose
  // count does not match the keys present stays as it was.
  virtual void ReadStrings(TStrings* strings);
  virtual void WriteStrings(const TStrings* strings);
  // Ident + "_c" (the number of lines) and Ident + "_d0", "_d1", ... of 64
  // hexadecimal digits (rtIni), or one binary value (rtReg). Read appends
  // to `stream`; a damaged stream appends nothing.
  virtual void ReadStream(std::string& stream);
  virtual void WriteStream(std::string_view stream);
  // The component's published properties as a component stream
  // (ComponentStream.h), read into the component in place. Without a
  // stored stream the component keeps its values.
  virtual void ReadComponent(TComponent* component);
  virtual void WriteComponent(TComponent* component);

  void DeleteKey(std::string_view section, std::string_view ident);

 protected:
  enum class TStreamState { Missing, Read, Damaged };
  // The stream of the current item, in `bytes`.
  TStreamState ReadItemStream(TSettingsStore& store, std::string& bytes);
  void WriteItemStream(TSettingsStore& store, std::string_view bytes);
  // The current item could not be read: note it with the manager.
  void ItemReset();
  // The store for one operation, or nullptr.
  std::unique_ptr<TSettingsStore> Open() { return manager_.OpenStore(); }

 private:
  TRegManager& manager_;
  TRegItem* item_ = nullptr;
};

// A settings text as an integer: decimal with an optional sign, or
// hexadecimal after "$" or "0x"; nullopt when it is not one (or too large).
std::optional<int> ParseSettingsInt(std::string_view text);

}  // namespace kelu
