#include "entry_field.h"

#include <QFocusEvent>

void EntryField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    setSelection(0, static_cast<int>(text().size()));
}
