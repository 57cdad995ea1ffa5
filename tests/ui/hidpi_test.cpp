// The windows on a screen at 200 %: every picture exists drawn at twice
// (and three times) its size, and the widgets paint from those drawings,
// not from the 1x pictures enlarged.

#include <QDirIterator>
#include <algorithm>
#include <cstdlib>
#include <QPainter>
#include <QRegularExpression>
#include <QTest>

#include "form1.h"
#include "form2.h"
#include "screen_pictures.h"
#include "ui_test_support.h"

namespace {

// A picture's own pixels, whatever ratio its name gives it.
QImage pixels(const QString& resource) {
    QImage image = QImage(resource).convertToFormat(QImage::Format_ARGB32);
    image.setDevicePixelRatio(1);
    return image;
}

// The largest difference of a colour channel between two pictures of one
// size (blending a transparent edge may round one step either way).
int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

}  // namespace

class HiDpiTest : public QObject {
    Q_OBJECT

private slots:
    void everyPictureExistsAtTwiceAndThreeTimesItsSize() {
        int pictures = 0;
        QDirIterator it(QStringLiteral(":/assets"));
        const QRegularExpression oneX(QStringLiteral("^([a-z-]+)\\.(png|jpg)$"));
        while (it.hasNext()) {
            const QString path = it.next();
            const auto match = oneX.match(QFileInfo(path).fileName());
            if (!match.hasMatch() || match.captured(1).startsWith(QStringLiteral("program-"))) continue;
            ++pictures;
            const QSize size = pixels(path).size();
            for (const int factor : {2, 3}) {
                const QString scaled = QStringLiteral(":/assets/%1@%2x.%3").arg(match.captured(1)).arg(factor).arg(match.captured(2));
                QVERIFY2(QFile::exists(scaled), qPrintable(scaled));
                QCOMPARE(pixels(scaled).size(), size * factor);
            }
        }
        QCOMPARE(pictures, 8);
    }

    void theWindowIconHasEverySizeADesktopAsksFor() {
        const QList<QSize> sizes = programIcon().availableSizes();
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    }

    // The calculator's picture button and the About window's formulas paint
    // their 2x drawing pixel for pixel (on the window's ground), which the 1x
    // picture enlarged would not.
    void picturesPaintTheirTwoTimesDrawing() {
        veltrano::Form1 form;
        veltrano::Form2 about;
        for (const auto& [window, asset] : {std::pair<QWidget*, const char*>{&form, "help-normal"}, {&about, "equations"}}) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            // The device pixels the picture paints (its own background included).
            const QImage shown = grabbed(control(window, "Image1"));
            const QColor ground = window->palette().color(QPalette::Window);
            // A drawing (its transparent ground on the window's) enlarged `factor` times.
            const auto drawing = [&](const char* suffix, int factor) {
                const QImage picture = pixels(QStringLiteral(":/assets/%1%2.png").arg(QLatin1String(asset), QLatin1String(suffix)));
                QImage out(picture.size() * factor, QImage::Format_ARGB32);
                out.fill(ground);
                QPainter(&out).drawImage(0, 0,
                                         picture.scaled(out.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
                return out;
            };
            const QImage drawn = drawing("@2x", 1);
            QVERIFY(largestDifference(shown.copy(QRect(QPoint(0, 0), drawn.size())), drawn) <= 2);
            QVERIFY(largestDifference(drawn, drawing("", 2)) > 40);
        }
    }

    void theHandPointerHasItsTwoTimesImage() {
        const QCursor hand = handCursor(2.0);
        QCOMPARE(hand.pixmap().devicePixelRatio(), 2.0);
        QCOMPARE(hand.pixmap().size(), QSize(64, 64));
        QCOMPARE(hand.hotSpot(), QPoint(9, 1));
    }
};

VELTRANO_TEST_CLASS(HiDpiTest, 2);

#include "hidpi_test.moc"
