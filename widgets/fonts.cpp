#include "fonts.h"

#include <QFontDatabase>

namespace veltrano {

namespace {

// The first of the preferred faces that is installed, looked up once.
QString sansSerifFamily() {
    static const QString family = [] {
        for (const char* name : {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "Arial", "DejaVu Sans"})
            if (QFontDatabase::hasFamily(QString::fromLatin1(name))) return QString::fromLatin1(name);
        return QString();  // the style hint below picks a sans-serif face
    }();
    return family;
}

}  // namespace

QFont sansSerifFont(double pointSize, bool bold) {
    QFont font;
    if (!sansSerifFamily().isEmpty()) font.setFamily(sansSerifFamily());
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QFont windowFont() {
    return sansSerifFont(8.25);
}

}  // namespace veltrano
