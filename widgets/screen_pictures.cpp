#include "screen_pictures.h"

#include <QFileInfo>

QPixmap screenPicture(const QString& resource, qreal devicePixelRatio) {
    const int ratio = devicePixelRatio <= 1.0 ? 1 : devicePixelRatio <= 2.0 ? 2 : 3;
    if (ratio == 1) return QPixmap(resource);
    const QFileInfo file(resource);
    const QString scaled = file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral("@%1x.").arg(ratio) +
                           file.suffix();
    QPixmap picture(scaled);
    if (picture.isNull()) return QPixmap(resource);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/assets/program-%1.png").arg(size), QSize(size, size));
    icon.addFile(QStringLiteral(":/assets/program.png"), QSize(32, 32));  // with its @2x and @3x
    return icon;
}

QCursor handCursor(qreal devicePixelRatio) {
    // The hot spot is given in the picture's own (logical) pixels.
    return QCursor(screenPicture(QStringLiteral(":/assets/hand.png"), devicePixelRatio), 9, 1);
}
