#include "editor/control/settings/EditorTypes.h"

namespace kelu {

const TTypeInfo& TypeEditorCaretStyle() {
  static const TTypeInfo t{"TEditorCaretStyle", TTypeKind::tkEnumeration, {"csDefault", "csBrief"}};
  return t;
}

const TTypeInfo& TypeDragMode() {
  static const TTypeInfo t{"TDragMode", TTypeKind::tkEnumeration, {"dmManual", "dmAutomatic"}};
  return t;
}

const TTypeInfo& TypeEditorShowNumberMode() {
  static const TTypeInfo t{"TEditorShowNumberMode", TTypeKind::tkEnumeration, {"nmRow", "nmLine"}};
  return t;
}

const TTypeInfo& TypeEditorHitStyle() {
  static const TTypeInfo t{
      "TEditorHitStyle", TTypeKind::tkEnumeration, {"hsSelect", "hsDraw", "hsCaret"}};
  return t;
}

const TTypeInfo& TypeScrollStyle() {
  static const TTypeInfo t{
      "TScrollStyle", TTypeKind::tkEnumeration, {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"}};
  return t;
}

const TTypeInfo& TypeEditorSelectionMode() {
  static const TTypeInfo t{"TEditorSelectionMode", TTypeKind::tkEnumeration, {"smNormal", "smBox"}};
  return t;
}

const TTypeInfo& TypeEditorSpeedRange() {
  static const TTypeInfo t{"TEditorSpeedRange", TTypeKind::tkInteger, {}};
  return t;
}

}  // namespace kelu
