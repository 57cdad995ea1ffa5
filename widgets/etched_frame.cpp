#include "etched_frame.h"

#include <QPainter>

EtchedFrame::EtchedFrame(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {}

void EtchedFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QFontMetrics metrics(font());
    const int top = metrics.height() / 2;  // the line runs through the caption's middle
    const QRect box = rect().adjusted(0, top, -2, -2);
    const QPalette& pal = palette();
    p.setPen(pal.color(QPalette::Dark));
    p.drawRect(box);
    p.setPen(pal.color(QPalette::Light));
    p.drawRect(box.translated(1, 1));

    const int left = 6;
    const QRect caption(left, 0, metrics.horizontalAdvance(caption_) + 4, metrics.height());
    p.fillRect(caption, pal.color(QPalette::Window));
    p.setPen(pal.color(QPalette::WindowText));
    p.drawText(caption, Qt::AlignCenter, caption_);
}
