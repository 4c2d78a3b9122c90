// The key layer: turns the window system's key events and input-method
// commits into the key messages of KeyMessage.h, in the form a window with the
// Shift-JIS code page receives them.
//
// A key press gives a key-down message (CN_KEYDOWN, or CN_SYSKEYDOWN with Alt
// held without Ctrl, and for F10) with the virtual-key code, then one
// character message (CN_CHAR, or CN_SYSCHAR) per Shift-JIS byte of the text
// the key produces: a double-byte character as two messages, lead byte first;
// Ctrl+letter the control codes 1..26. A release gives WM_KEYUP (WM_SYSKEYUP).
// The modifier bytes come from the event alone.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>
#include <Qt>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "editor/control/KeyMessage.h"

class QKeyEvent;

namespace kelu {

class TTextCodec;

// The virtual-key code of a key, 0 when it has none. Keys of the keypad
// (KeypadModifier) with digits and operators give the keypad codes.
std::uint16_t VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The messages of a key press or release. Characters are turned into
// Shift-JIS through `codec`, the codec of the document that receives them,
// which gives characters without a Shift-JIS form codes of its own; without
// a codec such a character gives no message and is counted in `lossy`. An
// auto-repeated release gives nothing: while a key is held only its
// key-downs repeat.
std::vector<TKeyMessage> KeyEventMessages(const QKeyEvent& event, std::size_t* lossy = nullptr,
                                          TTextCodec* codec = nullptr);

// The WM_IME_CHAR messages of an input-method commit, one per character,
// CharCode the Shift-JIS code (lead byte high for a double-byte character).
// Through `codec` as above; without one, characters without a Shift-JIS
// form are left out and counted in `lossy`.
std::vector<TKeyMessage> InputMethodMessages(const QString& commit,
                                             Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                                             std::size_t* lossy = nullptr,
                                             TTextCodec* codec = nullptr);

// Delivers the messages of a key event to `target` (DeliverKeyMessage each),
// its characters through `codec`. True when the target handled any of them.
bool SendKeyEvent(TKeyMessageTarget& target, const QKeyEvent& event,
                  TTextCodec* codec = nullptr);

// A test for key-down messages that are one of `shortcuts` (their first key
// combinations): for the key macro's shortcut filter.
std::function<bool(const TKeyMessage&)> ShortcutFilter(const QList<QKeySequence>& shortcuts);

}  // namespace kelu
