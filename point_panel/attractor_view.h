#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gram_schmidt.h"

namespace veltrano::point_panel {

// The plane a trajectory is projected on.
enum class Projection { XZ, XY, YZ };

// The trajectory of a run projected on a plane of two coordinates, drawn as
// the states arrive: while consecutive states lie at most a few steps apart
// they are joined by lines, later they are drawn as dots. Both coordinates
// have the same scale.
//
// The picture is a density: every device pixel counts how much of the
// trajectory passes through it (lines sampled once a device pixel, each
// sample shared bilinearly by its four nearest pixels), and its colour
// deepens with that count. It depends on the states only, not on the order
// they were drawn in, shows where the run lingers, and is kept at the
// screen's device pixel ratio. New states are added to it; when the box of
// the states grows or the projection, the size or the states' spacing
// change, it is drawn again from the start in slices of a few milliseconds,
// the previous picture shown until the new one is complete, so that the
// window never waits for a hundred thousand states.
class AttractorView : public QWidget {
    Q_OBJECT
public:
    // States at most this many steps apart are joined by lines.
    static constexpr std::int64_t kLongestJoin = 4;

    explicit AttractorView(QWidget* parent = nullptr);

    void clear();
    // `restart`: `states` replaces everything held; otherwise they follow
    // it. `stride`: steps between two consecutive states.
    void append(std::span<const Triple> states, bool restart, std::int64_t stride);

    // The run has ended: the box becomes the states' own, so that the
    // picture of a finished run depends on its states only, not on how
    // they arrived (a box grown on the way keeps the room it left).
    void settle();

    void setProjection(Projection projection);
    // The names of the three coordinates on the axes (x, y and z at first;
    // a flow's chosen variables are drawn as the first two).
    void setCoordinateNames(const QString& first, const QString& second, const QString& third);
    [[nodiscard]] Projection projection() const { return projection_; }
    [[nodiscard]] std::span<const Triple> states() const { return states_; }
    // True while states wait to be drawn.
    [[nodiscard]] bool drawing() const { return drawn_ < states_.size(); }

    // Where the trajectory is drawn, in the widget's logical pixels.
    [[nodiscard]] QRectF plotArea() const;

    [[nodiscard]] QSize sizeHint() const override { return {420, 360}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {220, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QPointF projected(const Triple& xyz) const;
    [[nodiscard]] bool joined() const { return stride_ <= kLongestJoin; }
    // The box the picture shows: the states' own box with room to grow.
    void fitBounds();
    // Starts the picture again from no state, the current one kept on show.
    void restartPicture();
    // Draws the states not drawn yet, for a few milliseconds at most, and
    // comes back for the rest.
    void drawMore();
    void deposit(double x, double y);
    void colour(const QRect& pixels);
    void describe();

    std::vector<Triple> states_;
    std::int64_t stride_ = 1;
    Projection projection_ = Projection::XZ;
    std::array<QString, 3> names_{QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z")};
    QRectF bounds_;  // in the projection's coordinates; empty: nothing to draw yet

    // The picture being drawn: where states land in its device pixels, the
    // density of each pixel, row by row, and the states drawn into it.
    double scale_ = 1;
    QPointF origin_;
    std::vector<float> density_;
    std::size_t drawn_ = 0;
    QRect dirty_;  // pixels whose density changed since they were coloured
    QImage picture_;
    QImage previous_;  // on show while the picture is drawn again
    bool moreScheduled_ = false;
    std::vector<QRgb> table_;  // the colour of each level of density
    float tableK_ = 0;
};

}  // namespace veltrano::point_panel
