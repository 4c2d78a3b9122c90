// Copying between a property set and an editor control, written against the
// editor's published properties so that it works for any class that has
// them: TEditor and TEditorEx (settings/qt/EditorPropEditor.h gives the
// calls for those), and the stand-ins of the tests.
//
// An Editor has Color, Caret, Font, HitStyle, Imagebar, Leftbar, Margin,
// Marks, ReserveWordList, Ruler, ScrollBars, Speed, View, WordWrap and
// WrapOption with their setters; an EditorEx also ExMarks, FindString,
// ExSearchOptions and VerticalLines.
//
// An error while copying ends that part of the copying silently; what was
// copied stays. Giving an editor the settings it already has costs it no
// more than a repaint: the text is not folded again, and its undo history,
// row marks and selection stay.
#pragma once

#include <exception>

#include "settings/EditorProp.h"

namespace kelu {

// set.Assign(editor)
template <class Editor>
void CopyEditorToProp(TEditorProp& set, Editor& editor) {
  try {
    set.SetColor(editor.Color());
    set.SetCaret(editor.Caret());
    set.SetFont(editor.Font());
    set.SetHitStyle(editor.HitStyle());
    set.SetImagebar(editor.Imagebar());
    set.SetLeftbar(editor.Leftbar());
    set.SetMargin(editor.Margin());
    set.SetMarks(editor.Marks());
    set.SetReserveWordList(editor.ReserveWordList());
    set.SetRuler(editor.Ruler());
    set.SetScrollBars(editor.ScrollBars());
    set.SetSpeed(editor.Speed());
    set.SetView(editor.View());
    set.SetWordWrap(editor.WordWrap());
    set.SetWrapOption(editor.WrapOption());
  } catch (const std::exception&) {
  }
}

template <class EditorEx>
void CopyEditorExToProp(TEditorExProp& set, EditorEx& editor) {
  CopyEditorToProp(set, editor);
  try {
    set.SetExMarks(editor.ExMarks());
    set.SetFindString(editor.FindString());
    set.SetExSearchOptions(editor.ExSearchOptions());
    set.SetVerticalLines(editor.VerticalLines());
  } catch (const std::exception&) {
  }
}

// set.AssignTo(editor). With word wrap on, the wrap options come first and
// the text is folded once, with them; with it off, the text is unfolded
// first and the options are only stored.
template <class Editor>
void CopyPropToEditor(const TEditorProp& set, Editor& editor) {
  try {
    editor.SetColor(set.Color());
    editor.SetCaret(set.Caret());
    editor.SetFont(set.Font());
    editor.SetHitStyle(set.HitStyle());
    editor.SetImagebar(set.Imagebar());
    editor.SetLeftbar(set.Leftbar());
    editor.SetMargin(set.Margin());
    editor.SetMarks(set.Marks());
    editor.SetReserveWordList(set.ReserveWordList());
    editor.SetRuler(set.Ruler());
    editor.SetScrollBars(set.ScrollBars());
    editor.SetSpeed(set.Speed());
    editor.SetView(set.View());
    if (set.WordWrap()) {
      editor.SetWrapOption(set.WrapOption());
      editor.SetWordWrap(true);
    } else {
      editor.SetWordWrap(false);
      editor.SetWrapOption(set.WrapOption());
    }
  } catch (const std::exception&) {
  }
}

template <class EditorEx>
void CopyPropToEditorEx(const TEditorExProp& set, EditorEx& editor) {
  CopyPropToEditor(set, editor);
  try {
    editor.SetExMarks(set.ExMarks());
    editor.SetFindString(set.FindString());
    editor.SetExSearchOptions(set.ExSearchOptions());
    editor.SetVerticalLines(set.VerticalLines());
  } catch (const std::exception&) {
  }
}

}  // namespace kelu
