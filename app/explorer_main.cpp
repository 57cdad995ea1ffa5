// Veltrano Explorer: maps of the Lyapunov exponents of the Lorenz system
// over two of its parameters, computed live.

#include <QApplication>

#include "explorer_translations.h"
#include "explorer_window.h"
#include "screen_pictures.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Torvessa"));
    QApplication::setApplicationName(QStringLiteral("Veltrano"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("example.torvessa.Veltrano.Explorer"));
    veltrano::explorer::installTranslations(app);

    veltrano::explorer::ExplorerWindow window;
    window.setWindowIcon(programIcon());
    window.show();
    return QApplication::exec();
}
