#include "window_geometry.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace veltrano {

void centreOnScreen(QWidget* window) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace veltrano
