// Helpers of the editor control's input tests: typing as a keyboard does,
// keys with modifiers and auto-repeat, the input method's composition and
// result, and the text as UTF-8.
#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QString>
#include <string>

#include "EditorTestSupport.h"
#include "editor/model/Undo.h"

namespace kelu::test {

// The whole text as UTF-8 through the document's codec (line breaks as
// stored, CR LF).
inline std::string Utf8Text(TEditor& editor) {
  return editor.Codec().ToUtf8(editor.Lines().GetTextStr());
}

inline void SetText(TEditor& editor, std::string_view utf8) {
  editor.Lines().SetTextStr(Sjis(utf8));
}

// One key press and its release, as the window system delivers them.
inline void Key(TEditor& editor, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                const QString& text = {}, bool autoRepeat = false) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text, autoRepeat);
  QApplication::sendEvent(&editor, &press);
  if (autoRepeat) return;  // the key stays down
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(&editor, &release);
}

// Types `text` as a keyboard without an input method does: one key event
// per character, carrying the character.
inline void Type(TEditor& editor, const QString& text) {
  for (QChar c : text) {
    const char16_t u = c.unicode();
    int key = Qt::Key_unknown;
    if (u >= 0x20 && u < 0x7F) key = QChar(u).toUpper().unicode();
    Key(editor, key, Qt::NoModifier, QString(c));
  }
}

inline void Type(TEditor& editor, const char* utf8) {
  Type(editor, QString::fromUtf8(utf8));
}

// The input method shows a composition with its cursor at `cursor`.
inline void Preedit(TEditor& editor, const QString& text, int cursor) {
  QList<QInputMethodEvent::Attribute> attributes;
  attributes.append({QInputMethodEvent::Cursor, cursor, 1, QVariant()});
  QInputMethodEvent event(text, attributes);
  QApplication::sendEvent(&editor, &event);
}

// The input method delivers its result (the composition ends).
inline void Commit(TEditor& editor, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(&editor, &event);
}

inline int UndoCount(TEditor& editor) {
  return editor.ScreenStrings().UndoObj().UndoList().Count();
}

}  // namespace kelu::test
