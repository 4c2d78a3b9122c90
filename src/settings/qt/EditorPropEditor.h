// A property set and the editor control: set.Assign(editor) and
// set.AssignTo(editor). With a TEditorExProp and a TEditorEx the extended
// settings (marks, search text and options, guide lines) go along.
#pragma once

#include "editor/control/Editor.h"
#include "settings/EditorProp.h"

namespace kelu {

void AssignFromEditor(TEditorProp& set, TEditor& editor);
void AssignToEditor(const TEditorProp& set, TEditor& editor);

}  // namespace kelu
