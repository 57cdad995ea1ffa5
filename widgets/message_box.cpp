#include "message_box.h"

#include <QMessageBox>

namespace veltrano {

void showMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) {
    const QMessageBox::Icon qtIcon = icon == MessageIcon::Warning    ? QMessageBox::Warning
                                     : icon == MessageIcon::Critical ? QMessageBox::Critical
                                                                     : QMessageBox::NoIcon;
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace veltrano
