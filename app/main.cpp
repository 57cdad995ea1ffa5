// Veltrano: the Lyapunov spectrum of the Lorenz system.

#include <QApplication>
#include <QPointer>

#include "explorer_start.h"
#include "explorer_translations.h"
#include "explorer_window.h"
#include "fonts.h"
#include "form1.h"
#include "form2.h"
#include "screen_pictures.h"
#include "window_geometry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Torvessa"));
    QApplication::setApplicationName(QStringLiteral("Veltrano"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("example.torvessa.Veltrano"));
    QApplication::setFont(veltrano::windowFont());

    veltrano::Form1 window(veltrano::showMessageBox, [](QWidget* parent) { veltrano::Form2::showModal(parent); });
    // Ctrl+E: the Explorer, at the entries' values. Its texts follow the
    // locale; the calculator's stay as they are.
    veltrano::explorer::installTranslations(app);
    QPointer<veltrano::explorer::ExplorerWindow> explorer;
    window.setExplorerOpener([&explorer](const std::optional<veltrano::Parameters>& entries) {
        const auto start = entries ? std::optional(veltrano::explorer::settingsAt(*entries)) : std::nullopt;
        if (!explorer) {
            explorer = new veltrano::explorer::ExplorerWindow(start);
            explorer->setAttribute(Qt::WA_DeleteOnClose);
            explorer->setWindowIcon(programIcon());
        } else if (start) {
            explorer->showMap(*start);
        }
        explorer->show();
        explorer->raise();
        explorer->activateWindow();
    });
    window.show();
    veltrano::centreOnScreen(&window);
    const int status = QApplication::exec();
    delete explorer;
    return status;
}
