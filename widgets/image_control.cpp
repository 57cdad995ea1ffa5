#include "image_control.h"

#include <QMouseEvent>

ImageControl::ImageControl(QWidget* parent) : QLabel(parent) {
    setMouseTracking(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);  // unscaled, at the top-left corner
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    emit mouseMoved();
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    event->accept();
    emit mousePressed();
}
