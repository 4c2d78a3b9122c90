// Published properties: one small description of an object's settings that
// the property visitors, the settings store and the editor property sets all
// walk. A class lists its published properties in a TClassInfo; each entry
// names the property, its type, its default and how to read and write it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Object.h"

namespace kelu {

enum class TTypeKind : std::uint8_t {
  tkInteger,      // integers and integer-like values (TColor, TCursor)
  tkEnumeration,  // enumerations, Boolean included
  tkSet,          // sets of a small enumeration, held as a bit mask
  tkString,
  tkClass,  // an owned persistent object (never replaced, only assigned into)
  tkMethod,
};

using TTypeKinds = std::uint32_t;
constexpr TTypeKinds KindBit(TTypeKind kind) {
  return 1u << static_cast<unsigned>(kind);
}
constexpr TTypeKinds tkAny = 0x3F;
constexpr TTypeKinds tkProperties = tkAny & ~KindBit(TTypeKind::tkMethod);

struct TTypeInfo {
  std::string Name;  // "Integer", "Boolean", "TColor", "TEditorCaretStyle", ...
  TTypeKind Kind;
  // Names of an enumeration's values, or of a set's elements.
  std::vector<std::string> Names;

  std::string ValueName(std::int64_t value) const;
  // The value of a name (case-insensitive); nullopt when unknown.
  std::optional<std::int64_t> ValueOf(std::string_view name) const;
};

// Common types.
const TTypeInfo& TypeInteger();
const TTypeInfo& TypeBoolean();
const TTypeInfo& TypeString();
const TTypeInfo& TypeColor();
const TTypeInfo& TypeCursor();
const TTypeInfo& TypeFontStyles();
const TTypeInfo& TypeClass(const char* className);

struct TPropInfo {
  std::string Name;
  const TTypeInfo* Type = nullptr;
  // The ordinal default; a value equal to it is not written by streams.
  std::optional<std::int64_t> Default;

  std::function<std::int64_t(const TPersistent&)> GetOrd;
  std::function<void(TPersistent&, std::int64_t)> SetOrd;
  std::function<std::string(const TPersistent&)> GetStr;
  std::function<void(TPersistent&, const std::string&)> SetStr;
  // Class properties: the owned object. Setting a class property means
  // assigning into this object.
  std::function<TPersistent*(const TPersistent&)> GetObj;

  TTypeKind Kind() const { return Type->Kind; }
  // True when the property's current value is its default (nothing to store).
  bool IsDefault(const TPersistent& instance) const;
};

struct TClassInfo {
  std::string Name;
  const TClassInfo* Parent = nullptr;
  std::vector<TPropInfo> Props;

  // Every published property, the ancestors' first.
  std::vector<const TPropInfo*> AllProps() const;
  // The property of that name (case-insensitive), searching ancestors too.
  const TPropInfo* Find(std::string_view name) const;
};

// Builds the property list of class C with typed accessors.
template <class C>
class TPropsOf {
 public:
  TPropsOf(std::string name, const TClassInfo* parent) {
    info_.Name = std::move(name);
    info_.Parent = parent;
  }

  template <class Get, class Set>
  TPropsOf& Ord(std::string name, const TTypeInfo& type, std::optional<std::int64_t> def, Get get,
                Set set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Type = &type;
    p.Default = def;
    p.GetOrd = [get](const TPersistent& o) {
      return static_cast<std::int64_t>(get(static_cast<const C&>(o)));
    };
    p.SetOrd = [set](TPersistent& o, std::int64_t v) { set(static_cast<C&>(o), v); };
    info_.Props.push_back(std::move(p));
    return *this;
  }

  template <class Get, class Set>
  TPropsOf& Str(std::string name, Get get, Set set) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Type = &TypeString();
    p.GetStr = [get](const TPersistent& o) { return std::string(get(static_cast<const C&>(o))); };
    p.SetStr = [set](TPersistent& o, const std::string& v) { set(static_cast<C&>(o), v); };
    info_.Props.push_back(std::move(p));
    return *this;
  }

  template <class Get>
  TPropsOf& Obj(std::string name, const TTypeInfo& type, Get get) {
    TPropInfo p;
    p.Name = std::move(name);
    p.Type = &type;
    p.GetObj = [get](const TPersistent& o) -> TPersistent* {
      return get(const_cast<C&>(static_cast<const C&>(o)));
    };
    info_.Props.push_back(std::move(p));
    return *this;
  }

  TClassInfo Build() { return std::move(info_); }

 private:
  TClassInfo info_;
};

using TPropertyProc = std::function<void(TPersistent& instance, const TPropInfo& prop)>;

// Calls `proc` for every published property of `instance` whose kind is in
// `kinds`; for a class property whose value is a persistent object it then
// recurses into that object and, for a collection, into each of its items.
void EnumProperties(TPersistent& instance, TTypeKinds kinds, const TPropertyProc& proc);

}  // namespace kelu
