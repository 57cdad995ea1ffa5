// Veltrano: the Lyapunov spectrum of the Lorenz system.

#include <QApplication>

#include "fonts.h"
#include "form1.h"
#include "form2.h"
#include "window_geometry.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrano"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QApplication::setDesktopFileName(QStringLiteral("example.torvessa.Veltrano"));
    QApplication::setFont(veltrano::windowFont());

    veltrano::Form1 window(veltrano::showMessageBox, [](QWidget* parent) { veltrano::Form2::showModal(parent); });
    window.show();
    veltrano::centreOnScreen(&window);
    return QApplication::exec();
}
