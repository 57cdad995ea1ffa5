#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace veltrano {

enum class MessageIcon { None, Warning, Critical };

// Shows a modal message with a single OK button and returns when it has been
// closed. Windows take one of these so that tests can stand in for the box.
using MessageBoxFn = std::function<void(QWidget* parent, MessageIcon icon, const QString& title, const QString& text)>;

// The real message box.
void showMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text);

// The title of the program's warnings and error messages.
inline const QString kMessageTitle = QStringLiteral("Messaggio di errore");

}  // namespace veltrano
