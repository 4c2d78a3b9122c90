#include "base/Properties.h"

#include <map>
#include <memory>

#include "base/Notify.h"
#include "base/Strings.h"

namespace kelu {

std::string TTypeInfo::ValueName(std::int64_t value) const {
  if (value >= 0 && value < static_cast<std::int64_t>(Names.size())) return Names[value];
  return std::to_string(value);
}

std::optional<std::int64_t> TTypeInfo::ValueOf(std::string_view name) const {
  for (std::size_t i = 0; i < Names.size(); ++i) {
    if (SameTextSjis(Names[i], name)) return static_cast<std::int64_t>(i);
  }
  return std::nullopt;
}

const TTypeInfo& TypeInteger() {
  static const TTypeInfo t{"Integer", TTypeKind::tkInteger, {}};
  return t;
}

const TTypeInfo& TypeBoolean() {
  static const TTypeInfo t{"Boolean", TTypeKind::tkEnumeration, {"False", "True"}};
  return t;
}

const TTypeInfo& TypeString() {
  static const TTypeInfo t{"String", TTypeKind::tkString, {}};
  return t;
}

const TTypeInfo& TypeColor() {
  static const TTypeInfo t{"TColor", TTypeKind::tkInteger, {}};
  return t;
}

const TTypeInfo& TypeCursor() {
  static const TTypeInfo t{"TCursor", TTypeKind::tkInteger, {}};
  return t;
}

const TTypeInfo& TypeFontStyles() {
  static const TTypeInfo t{
      "TFontStyles", TTypeKind::tkSet, {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}};
  return t;
}

const TTypeInfo& TypeClass(const char* className) {
  static std::map<std::string, std::unique_ptr<TTypeInfo>, std::less<>> types;
  auto it = types.find(className);
  if (it == types.end()) {
    it = types
             .emplace(className,
                      std::make_unique<TTypeInfo>(TTypeInfo{className, TTypeKind::tkClass, {}}))
             .first;
  }
  return *it->second;
}

bool TPropInfo::IsDefault(const TPersistent& instance) const {
  switch (Kind()) {
    case TTypeKind::tkInteger:
    case TTypeKind::tkEnumeration:
    case TTypeKind::tkSet:
      return Default && GetOrd && GetOrd(instance) == *Default;
    case TTypeKind::tkString:
      return GetStr && GetStr(instance).empty();
    default:
      return false;
  }
}

std::vector<const TPropInfo*> TClassInfo::AllProps() const {
  std::vector<const TPropInfo*> result;
  if (Parent) result = Parent->AllProps();
  for (const TPropInfo& p : Props) result.push_back(&p);
  return result;
}

const TPropInfo* TClassInfo::Find(std::string_view name) const {
  for (const TPropInfo& p : Props) {
    if (SameTextSjis(p.Name, name)) return &p;
  }
  return Parent ? Parent->Find(name) : nullptr;
}

void EnumProperties(TPersistent& instance, TTypeKinds kinds, const TPropertyProc& proc) {
  const TClassInfo* info = instance.ClassInfo();
  if (!info) return;
  for (const TPropInfo* prop : info->AllProps()) {
    if (kinds & KindBit(prop->Kind())) proc(instance, *prop);
    if (prop->Kind() != TTypeKind::tkClass || !prop->GetObj) continue;
    TPersistent* value = prop->GetObj(instance);
    if (!value) continue;
    EnumProperties(*value, kinds, proc);
    if (auto* collection = dynamic_cast<TCollection*>(value)) {
      for (int i = 0; i < collection->Count(); ++i) {
        EnumProperties(*collection->Items(i), kinds, proc);
      }
    }
  }
}

}  // namespace kelu
