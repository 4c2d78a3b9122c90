#include "settings/qt/EditorPropEditor.h"

#include "editor/ex/EditorEx.h"
#include "settings/EditorPropAssign.h"

namespace kelu {

void AssignFromEditor(TEditorProp& set, TEditor& editor) {
  auto* exSet = dynamic_cast<TEditorExProp*>(&set);
  auto* exEditor = dynamic_cast<TEditorEx*>(&editor);
  if (exSet && exEditor) {
    CopyEditorExToProp(*exSet, *exEditor);
  } else {
    CopyEditorToProp(set, editor);
  }
}

void AssignToEditor(const TEditorProp& set, TEditor& editor) {
  auto* exSet = dynamic_cast<const TEditorExProp*>(&set);
  auto* exEditor = dynamic_cast<TEditorEx*>(&editor);
  if (exSet && exEditor) {
    CopyPropToEditorEx(*exSet, *exEditor);
  } else {
    CopyPropToEditor(set, editor);
  }
}

}  // namespace kelu
