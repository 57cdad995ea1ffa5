#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;

namespace veltrano::explorer {

// The editor of a typed flow: the text in a monospace field and, under it,
// what is wrong with it (its line and column), checked by the parser a
// moment after the typing pauses (nothing is compiled here). OK is enabled
// only for a text that parses.
class EquationsDialog : public QDialog {
    Q_OBJECT
public:
    explicit EquationsDialog(const QString& text, QWidget* parent = nullptr);

    [[nodiscard]] QString text() const;
    // Checks the text now rather than after the pause.
    void check();

    // The pause after a keystroke before the text is checked.
    static constexpr int kPauseMs = 250;

private:
    QPlainTextEdit* edit_;
    QLabel* problem_;
    QDialogButtonBox* buttons_;
    QTimer pause_;
};

}  // namespace veltrano::explorer
