#pragma once

#include <QDialog>
#include <memory>

#include "browser.h"
#include "message_box.h"

class QTabBar;

namespace veltrano {

// The About window: "Help" (the method, the paper, the equations) and
// "Contact" (name, version, rights and three links), and "CHIUDI". Created
// afresh for every opening, so it always opens on "Help".
class Form2 : public QDialog {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr, BrowserFactory browsers = createDesktopBrowser,
                   MessageBoxFn messages = showMessageBox);
    ~Form2() override;

    // Creates the window, shows it modally in the middle of the screen and
    // returns when it has been closed.
    static void showModal(QWidget* parent, BrowserFactory browsers = createDesktopBrowser,
                          MessageBoxFn messages = showMessageBox);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void Command1_Click();
    void showPage(int page);

private:
    // Label6_Click, Label12_Click, Label14_Click.
    void openLink(const char* address);
    void reportLinkFailure(const QString& description);

    BrowserFactory browsers_;
    MessageBoxFn messages_;
    std::unique_ptr<Browser> Explorer;  // the browser of the last link click
    QTabBar* tabs_ = nullptr;
    QWidget* pages_[2] = {nullptr, nullptr};
};

}  // namespace veltrano
