#include "macro/KeyMacroDialog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QWidget>

namespace kelu {

TKeyMacroMessageProc KeyMacroMessageBox(QWidget* parent) {
  QPointer<QWidget> owner(parent);
  return [owner](const std::string& text, TKeyMacroMessageKind kind) {
    const QString caption = QGuiApplication::applicationDisplayName();
    const QString message = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (kind == mkError) {
      QMessageBox::critical(owner.data(), caption, message);
    } else {
      QMessageBox::information(owner.data(), caption, message);
    }
  };
}

}  // namespace kelu
