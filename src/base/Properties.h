// Published properties: one small description of an object's settings that
// the property visitors, the settings store and the editor property sets all
// walk. A class lists its published properties in a TClassInfo; each entry
// names the property, its type, its default and how to read and write it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <limits>
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

  // Typed forms over a getter and a setter of C. Values arrive as 64-bit
  // ordinals: integers saturate (so a huge number is still clamped by the
  // setter, not wrapped into range), colours are 32-bit patterns taken
  // modulo 2^32, and an enumeration ordinal the type has no value for is
  // ignored.
  TPropsOf& Bool(std::string name, bool def, bool (C::*get)() const, void (C::*set)(bool)) {
    return Ord(
        std::move(name), TypeBoolean(), def ? 1 : 0, [get](const C& o) { return (o.*get)(); },
        [set](C& o, std::int64_t v) { (o.*set)(v != 0); });
  }

  template <class T>
  TPropsOf& Int(std::string name, const TTypeInfo& type, T def, T (C::*get)() const,
                void (C::*set)(T)) {
    return Ord(
        std::move(name), type, def, [get](const C& o) { return (o.*get)(); },
        [set](C& o, std::int64_t v) {
          (o.*set)(static_cast<T>(std::clamp<std::int64_t>(v, std::numeric_limits<T>::min(),
                                                           std::numeric_limits<T>::max())));
        });
  }

  template <class TColorType>
  TPropsOf& Color(std::string name, TColorType def, TColorType (C::*get)() const,
                  void (C::*set)(TColorType)) {
    return Ord(
        std::move(name), TypeColor(), def, [get](const C& o) { return (o.*get)(); },
        [set](C& o, std::int64_t v) {
          (o.*set)(static_cast<TColorType>(static_cast<std::uint32_t>(v)));
        });
  }

  template <class E>
  TPropsOf& Enum(std::string name, const TTypeInfo& type, E def, E (C::*get)() const,
                 void (C::*set)(E)) {
    return Ord(
        std::move(name), type, static_cast<std::int64_t>(def),
        [get](const C& o) { return static_cast<std::int64_t>((o.*get)()); },
        [set, &type](C& o, std::int64_t v) {
          if (v >= 0 && v < static_cast<std::int64_t>(type.Names.size())) {
            (o.*set)(static_cast<E>(v));
          }
        });
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
