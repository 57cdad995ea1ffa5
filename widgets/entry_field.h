#pragma once

#include <QLineEdit>

// A single-line entry that selects its whole text whenever it receives the
// focus, however the focus arrives (Tab, a button, the program), so that the
// next key typed replaces the text.
class EntryField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};
