// The reference for start-up time: a bare Qt window of the main window's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Bare"));
    window.setFixedSize(422, 290);
    window.show();
    return QApplication::exec();
}
