#pragma once

#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <stdexcept>

namespace veltrano {

// Why a page could not be shown, in words for the user.
class BrowserError : public std::runtime_error {
public:
    explicit BrowserError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    [[nodiscard]] const QString& description() const { return description_; }

private:
    QString description_;
};

// A new browser window: shown, then sent to an address. Both steps throw
// BrowserError on failure.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void show() = 0;
    virtual void navigate(const QUrl& address) = 0;
};

// Creates a browser; throws BrowserError when there is none to be had.
using BrowserFactory = std::function<std::unique_ptr<Browser>()>;

// The desktop's own way of opening an address in the user's browser.
std::unique_ptr<Browser> createDesktopBrowser();

}  // namespace veltrano
