#pragma once

#include <QLabel>

// A picture that reports the mouse: moves over it (with or without a button
// held) and presses of any button.
class ImageControl : public QLabel {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

signals:
    void mouseMoved();
    void mousePressed();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};
