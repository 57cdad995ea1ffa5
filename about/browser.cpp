#include "browser.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QStandardPaths>

namespace veltrano {

namespace {

// Opens addresses through the desktop services (on Linux the freedesktop
// opener, xdg-open). The page opens in the browser's new window or tab, as
// the user's browser is set up to do; the address goes to it as one argument,
// never through a shell.
class DesktopBrowser final : public Browser {
public:
    void show() override {}  // the browser shows itself when it opens the page

    void navigate(const QUrl& address) override {
        if (QDesktopServices::openUrl(address)) return;
        if (QGuiApplication::platformName() == QLatin1String("xcb") &&
            QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
            throw BrowserError(QStringLiteral("No program to open web pages was found (xdg-open is missing)"));
        throw BrowserError(QStringLiteral("The desktop could not open %1").arg(address.toString()));
    }
};

}  // namespace

std::unique_ptr<Browser> createDesktopBrowser() {
    return std::make_unique<DesktopBrowser>();
}

}  // namespace veltrano
