#pragma once

#include <QWidget>

// A frame around a group of controls: an etched rectangle with its caption
// standing on the top line.
class EtchedFrame : public QWidget {
    Q_OBJECT
public:
    EtchedFrame(const QString& caption, QWidget* parent = nullptr);
    [[nodiscard]] QString title() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString caption_;
};
