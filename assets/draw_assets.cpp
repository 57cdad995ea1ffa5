// Draws the program's pictures into a folder:
//   veltrano-draw-assets <folder>
// program.png        the 32 x 32, 16-colour program icon
// program-N.png      the icon at 16, 24, 48, 64, 128 and 256 pixels, smooth,
//                    for window managers and launchers
// help-*.png         the three 24 x 24 looks of the picture button
// equations.png      the Lorenz equations, 284 x 81
// initial-values.png the starting point, 201 x 30
// banner.jpg         the studio banner, 106 x 189
// hand.png           the 32 x 32 hand pointer
// Each picture also as name@2x and name@3x: drawn again at two and three
// times the size (text and formulas from the text, at the target size), for
// screens at 200 % and 300 %.

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

// The 16 colours of the classic desktop palette.
QList<QRgb> sixteenColours() {
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QFont face(const char* family, double pixels, bool italic = false, bool bold = false) {
    QFont f(QString::fromLatin1(family));
    f.setPixelSize(static_cast<int>(pixels));
    f.setItalic(italic);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The program icon at `size` pixels: drawn on a 32-unit grid; the 32-pixel
// window icon keeps the hard edges and the 16 colours, the larger ones for
// launchers are smooth.
QImage programIcon(int size = 32, bool smooth = false) {
    QImage img(size, size, QImage::Format_RGB32);
    img.fill(QColor(0, 0, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, smooth);
    p.scale(size / 32.0, size / 32.0);
    // The cross-hair: its centre above and right of the icon's centre.
    const QPoint c(20, 11);
    p.setPen(QPen(QColor(255, 0, 0), 1));
    p.drawLine(0, c.y(), 31, c.y());
    p.drawLine(c.x(), 0, c.x(), 31);
    p.drawEllipse(c, 7, 7);
    // A large yellow lambda, left of and below the circle.
    p.setPen(QPen(QColor(255, 255, 0), 3, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawLine(QPoint(5, 11), QPoint(16, 30));  // the long stroke
    p.drawLine(QPoint(10, 20), QPoint(3, 30));  // the short leg
    p.setPen(QPen(QColor(255, 255, 0), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    p.drawLine(QPoint(2, 11), QPoint(5, 11));  // the hook at the top
    p.end();
    if (smooth) return img;
    return img.convertToFormat(QImage::Format_Indexed8, sixteenColours(), Qt::ThresholdDither);
}

enum class Edge { Flat, Raised, Sunken };

// The disc stands on a transparent ground, so the button shows the window's
// own surface whatever the desktop's colours; only the raised and sunken
// looks draw an edge.
QImage helpButton(Edge edge, int s = 1) {
    QImage img(24 * s, 24 * s, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing, true);
    QRadialGradient shade(QPointF(9, 8), 12);
    shade.setColorAt(0, QColor(255, 250, 120));
    shade.setColorAt(1, QColor(240, 130, 20));
    p.setPen(QPen(QColor(200, 100, 10), 1));
    p.setBrush(shade);
    p.drawEllipse(QRectF(3, 3, 18, 18));
    p.setPen(QColor(0, 128, 0));
    QFont f = face("DejaVu Sans", 15, false, true);
    p.setFont(f);
    p.drawText(QRectF(3, 2, 18, 19), Qt::AlignCenter, QStringLiteral("?"));
    if (edge == Edge::Flat) return img;
    p.setRenderHint(QPainter::Antialiasing, false);
    const QColor light = edge == Edge::Raised ? QColor(Qt::white) : QColor(128, 128, 128);
    const QColor dark = edge == Edge::Raised ? QColor(128, 128, 128) : QColor(Qt::white);
    p.setPen(light);
    p.drawLine(0, 0, 23, 0);
    p.drawLine(0, 0, 0, 23);
    p.setPen(dark);
    p.drawLine(0, 23, 23, 23);
    p.drawLine(23, 0, 23, 23);
    return img;
}

// Mathematical type: italic serif letters, upright digits and operators,
// subscripts smaller and lowered.
class MathWriter {
public:
    MathWriter(QPainter& p, double size) : p_(p), size_(size) {}

    double variable(double x, double baseline, const QString& letter, const QString& index = {}, bool dotted = false) {
        p_.setFont(face("DejaVu Serif", size_, true));
        p_.drawText(QPointF(x, baseline), letter);
        const double width = p_.fontMetrics().horizontalAdvance(letter);
        if (dotted) {
            p_.setBrush(Qt::black);
            p_.drawEllipse(QPointF(x + width * 0.55, baseline - size_ * 0.78), 1.1, 1.1);
        }
        double end = x + width;
        if (!index.isEmpty()) {
            p_.setFont(face("DejaVu Serif", size_ * 0.62));
            p_.drawText(QPointF(end, baseline + size_ * 0.28), index);
            end += p_.fontMetrics().horizontalAdvance(index);
        }
        return end + 1;
    }

    double upright(double x, double baseline, const QString& text) {
        p_.setFont(face("DejaVu Serif", size_));
        p_.drawText(QPointF(x, baseline), text);
        return x + p_.fontMetrics().horizontalAdvance(text);
    }

private:
    QPainter& p_;
    double size_;
};

QImage equations(int s = 1) {
    QImage img(284 * s, 81 * s, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(s, s);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(Qt::black);
    MathWriter m(p, 16);
    const QString minus = QStringLiteral("\u2212"), sigma = QStringLiteral("\u03C3");
    // Columns: the derivative, "=", then three terms with their signs.
    const double colEq = 34, col1 = 58, col2 = 130, col3 = 200;
    const double rows[] = {21, 47, 73};
    struct Term {
        QString sign, coefficient, variable, index, second;
    };
    const Term table[3][3] = {
        {{minus, sigma, "x", "1", ""}, {"+", sigma, "x", "2", ""}, {"", "", "", "", ""}},
        {{"", "R", "x", "1", ""}, {minus, "", "x", "2", ""}, {minus, "", "x", "1", "3"}},
        {{minus, "b", "x", "3", ""}, {"+", "", "x", "1", "2"}, {"", "", "", "", ""}},
    };
    const double cols[] = {col1, col2, col3};
    for (int r = 0; r < 3; ++r) {
        m.variable(8, rows[r], "x", QString::number(r + 1), true);
        m.upright(colEq, rows[r], "=");
        for (int c = 0; c < 3; ++c) {
            const Term& t = table[r][c];
            if (t.variable.isEmpty()) continue;
            double x = cols[c];
            if (!t.sign.isEmpty()) x = m.upright(x, rows[r], t.sign) + 4;
            if (!t.coefficient.isEmpty()) x = m.variable(x, rows[r], t.coefficient) + 2;
            x = m.variable(x, rows[r], t.variable, t.index);
            if (!t.second.isEmpty()) m.variable(x + 2, rows[r], "x", t.second);
        }
    }
    return img;
}

QImage initialValues(int s = 1) {
    QImage img(201 * s, 30 * s, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(s, s);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setPen(Qt::black);
    MathWriter m(p, 12.5);
    double x = 4;
    for (int i = 1; i <= 3; ++i) {
        x = m.variable(x, 20, "x", QString::number(i));
        x = m.upright(x, 20, i < 3 ? QStringLiteral("(0) = 1 ;  ") : QStringLiteral("(0) = 1"));
    }
    return img;
}

QImage banner(int s = 1) {
    QImage img(106 * s, 189 * s, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // The studio's name, bottom to top along the left side.
    p.save();
    p.translate(4, 185);
    p.rotate(-90);  // x now runs up the banner, y to the right
    p.setPen(QColor(20, 30, 110));
    p.setFont(face("DejaVu Sans", 27, false, true));
    p.drawText(QRectF(0, 0, 181, 40), Qt::AlignCenter, QStringLiteral("TORVESSA"));
    p.restore();
    // A colour-spectrum square.
    const QRect spectrum(50, 6, 50, 50);
    for (int x = 0; x < spectrum.width(); ++x) {
        QLinearGradient fade(0, spectrum.top(), 0, spectrum.bottom());
        const QColor hue = QColor::fromHsvF(x / double(spectrum.width()), 1, 1);
        fade.setColorAt(0, Qt::white);
        fade.setColorAt(0.5, hue);
        fade.setColorAt(1, Qt::black);
        p.fillRect(QRect(spectrum.left() + x, spectrum.top(), 1, spectrum.height()), fade);
    }
    p.setPen(QColor(60, 60, 60));
    p.setBrush(Qt::NoBrush);
    p.drawRect(spectrum.adjusted(0, 0, -1, -1));
    // A test card: colour bars over a grey ramp, with a circle.
    const QRect card(50, 64, 50, 50);
    const QColor bars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue};
    for (int i = 0; i < 7; ++i) p.fillRect(QRect(card.left() + i * 50 / 7, card.top(), 8, 30), bars[i]);
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRect(card.left() + i * 10, card.top() + 30, 10, 20), QColor::fromHsv(0, 0, 255 - i * 60));
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(card.center(), 20, 20);
    p.drawLine(card.left(), card.center().y(), card.right(), card.center().y());
    p.drawLine(card.center().x(), card.top(), card.center().x(), card.bottom());
    p.drawRect(card.adjusted(0, 0, -1, -1));
    // Technical line drawings: a gear and a plotted curve with axes.
    p.setPen(QPen(QColor(30, 30, 30), 1));
    const QPointF gear(75, 138);
    QPainterPath teeth;
    for (int i = 0; i < 24; ++i) {
        const double a = i * M_PI / 12;
        const double r = (i % 2) ? 13 : 17;
        const QPointF q(gear.x() + r * std::cos(a), gear.y() + r * std::sin(a));
        if (i == 0)
            teeth.moveTo(q);
        else
            teeth.lineTo(q);
    }
    teeth.closeSubpath();
    p.drawPath(teeth);
    p.drawEllipse(gear, 5, 5);
    p.drawLine(QPointF(52, 183), QPointF(100, 183));
    p.drawLine(QPointF(54, 160), QPointF(54, 185));
    QPainterPath curve;
    curve.moveTo(54, 181);
    for (int x = 0; x <= 44; ++x) curve.lineTo(54 + x, 181 - 18 * std::exp(-x / 14.0) * std::fabs(std::sin(x / 3.0)));
    p.drawPath(curve);
    return img;
}

QImage handPointer(int s = 1) {
    QImage img(32 * s, 32 * s, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.scale(s, s);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(7, 0.5, 5, 16), 2.5, 2.5);  // index finger, up
    hand.addRoundedRect(QRectF(11, 10, 5, 9), 2.5, 2.5);   // folded fingers
    hand.addRoundedRect(QRectF(15, 11, 5, 9), 2.5, 2.5);
    hand.addRoundedRect(QRectF(19, 12, 5, 9), 2.5, 2.5);
    hand.addRoundedRect(QRectF(1, 14, 9, 5), 2.5, 2.5);  // thumb
    hand.addRoundedRect(QRectF(5, 14, 19, 16), 4, 4);    // palm
    hand.setFillRule(Qt::WindingFill);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 0));
    p.drawPath(hand.simplified());
    p.drawLine(15, 12, 15, 17);  // creases between the folded fingers
    p.drawLine(19, 13, 19, 18);
    return img;
}

bool save(const QImage& image, const QDir& dir, const QString& name, int quality = -1) {
    const QString path = dir.filePath(name);
    if (image.save(path, nullptr, quality)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: veltrano-draw-assets <folder>\n");
        return 1;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = true;
    for (const int size : {16, 24, 48, 64, 128, 256})
        ok &= save(programIcon(size, true), dir, QStringLiteral("program-%1.png").arg(size));
    // Every picture at 1x, 2x and 3x: name.png, name@2x.png, name@3x.png.
    for (const int s : {1, 2, 3}) {
        const auto name = [s](const char* base, const char* extension) {
            return QString::fromLatin1(base) + (s == 1 ? QString() : QStringLiteral("@%1x").arg(s)) +
                   QString::fromLatin1(extension);
        };
        // The 16-colour window icon keeps its hard edges at every size.
        ok &= save(programIcon(32 * s), dir, name("program", ".png"));
        ok &= save(helpButton(Edge::Flat, s), dir, name("help-normal", ".png"));
        ok &= save(helpButton(Edge::Raised, s), dir, name("help-hover", ".png"));
        ok &= save(helpButton(Edge::Sunken, s), dir, name("help-pressed", ".png"));
        ok &= save(equations(s), dir, name("equations", ".png"));
        ok &= save(initialValues(s), dir, name("initial-values", ".png"));
        ok &= save(banner(s), dir, name("banner", ".jpg"), 92);
        ok &= save(handPointer(s), dir, name("hand", ".png"));
    }
    return ok ? 0 : 1;
}
