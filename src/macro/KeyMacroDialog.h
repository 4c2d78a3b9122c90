// The key macro's messages shown in message boxes.
#pragma once

#include "macro/KeyMacro.h"

class QWidget;

namespace kelu {

// A message procedure for TKeyMacro::MessageProc that shows the text in a
// message box over `parent` (an information box for mkInformation, an error
// box for mkError) with an OK button and the application's name as caption.
TKeyMacroMessageProc KeyMacroMessageBox(QWidget* parent);

}  // namespace kelu
