#include "picture_writer.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "chart_canvas.h"
#include "heat_map_picture.h"
#include "line_chart_picture.h"

namespace veltrano::drawing {

namespace {

bool isSvg(const std::string& path) {
    return path.size() >= 4 && QString::fromStdString(path.substr(path.size() - 4)).toLower() == ".svg";
}

// Paints a picture of `size` into the file, as SVG or PNG.
template <class Picture>
std::string render(const std::string& path, const std::string& title, Picture& picture) {
    const QString file = text(path);
    const QSize size = picture.size();
    {
        QFile probe(file);  // the generators report nothing when they cannot write
        if (!probe.open(QIODevice::WriteOnly)) return "cannot write " + path + ": " + probe.errorString().toStdString();
    }
    if (isSvg(path)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(text(title));
        QPainter painter(&svg);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        picture.paint(painter);
        return painter.end() ? std::string() : "cannot write " + path;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture.paint(painter);
    painter.end();
    // Encoded in memory, then written: libpng gives up on a failed write by
    // a long jump that leaves the encoder's buffers behind.
    QByteArray encoded;
    QBuffer buffer(&encoded);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) return "cannot draw " + path;
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(encoded) != encoded.size() || !out.flush())
        return "cannot write " + path + ": " + out.errorString().toStdString();
    out.close();
    if (out.error() != QFileDevice::NoError) return "cannot write " + path + ": " + out.errorString().toStdString();
    return {};
}

}  // namespace

std::string writePicture(const pictures::LineChart& chart, const std::string& path) {
    LineChartPicture picture(chart);
    return render(path, chart.title, picture);
}

std::string writePicture(const pictures::HeatMap& map, const std::string& path) {
    HeatMapPicture picture(map);
    return render(path, map.title, picture);
}

}  // namespace veltrano::drawing
