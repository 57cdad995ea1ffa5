#include "equations_dialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "equation_text.h"

namespace veltrano::explorer {

EquationsDialog::EquationsDialog(const QString& text, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("EquationsDialog"));
    setWindowTitle(tr("Your equations"));
    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(tr("One statement a line: x' = -y - z (an equation), a = 0.2 (a parameter and its "
                               "default), x(0) = 1 (a starting value); # starts a comment."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName(QStringLiteral("EquationsText"));
    edit_->setAccessibleName(tr("Equations"));
    edit_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setTabChangesFocus(true);
    edit_->setPlainText(text);
    edit_->setMinimumSize(edit_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 60,
                          edit_->fontMetrics().lineSpacing() * 12);
    hint->setBuddy(edit_);
    layout->addWidget(edit_, 1);
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("EquationsProblem"));
    problem_->setFont(edit_->font());
    problem_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    problem_->setTextFormat(Qt::PlainText);
    // Room for a message, the line and its caret from the start.
    problem_->setMinimumHeight(problem_->fontMetrics().lineSpacing() * 3);
    layout->addWidget(problem_);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(tr("&Map"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(tr("&Cancel"));
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &EquationsDialog::check);
    connect(edit_, &QPlainTextEdit::textChanged, this, [this] {
        // Until the text is checked it is not known to parse.
        buttons_->button(QDialogButtonBox::Ok)->setEnabled(false);
        pause_.start();
    });
    check();
}

QString EquationsDialog::text() const {
    return edit_->toPlainText();
}

void EquationsDialog::check() {
    pause_.stop();
    QString problem;
    try {
        (void)equations::parseEquations(edit_->toPlainText().toStdString());
    } catch (const equations::EquationError& e) {
        // "line L, column C: why", then the line with a caret under the place.
        problem = QString::fromUtf8(e.what());
    }
    problem_->setText(problem.isEmpty() ? tr("The equations parse.") : problem);
    // A screen reader reads a label by its name: the message, without the
    // line and caret drawn under it, said of the text field too.
    const QString said = problem_->text().section(QLatin1Char('\n'), 0, 0);
    problem_->setAccessibleName(said);
    edit_->setAccessibleDescription(problem.isEmpty() ? tr("The flow as text, one statement a line") : said);
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(problem.isEmpty());
    if (isVisible()) {
        // A long message widens the dialog, as far as the screen allows.
        layout()->activate();
        QSize wanted = sizeHint().expandedTo(size());
        if (const QScreen* where = screen()) wanted = wanted.boundedTo(where->availableGeometry().size());
        if (wanted != size()) resize(wanted);
    }
}

}  // namespace veltrano::explorer
