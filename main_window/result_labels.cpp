#include "result_labels.h"

#include <QGuiApplication>
#include <QLocale>

namespace veltrano {

ResultLabels::ResultLabels(QWidget* window, std::array<QLabel*, 5> labels, MessageBoxFn messages)
    : window_(window), labels_(labels), messages_(std::move(messages)) {
    // Assistive technology reads a field's value as its name and is told when
    // it changes; what the field means is its description.
    for (QLabel* label : labels_) {
        label->setAccessibleDescription(label->accessibleName());
        label->setAccessibleName(label->text());
    }
}

void ResultLabels::reportError(std::string_view message) {
    messages_(window_, MessageIcon::Critical, kMessageTitle,
              QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
}

void ResultLabels::setField(ResultField field, std::string_view text, bool repaintNow) {
    QLabel* label = labels_[static_cast<std::size_t>(field)];
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    label->setText(value);
    label->setAccessibleName(value);
    if (repaintNow) label->repaint();
}

void ResultLabels::setBusyPointer(bool busy) {
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

std::string ResultLabels::decimalSeparator() const {
    return QLocale().decimalPoint().toStdString();
}

}  // namespace veltrano
