#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>
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
// have the same scale. The picture is a density: every device pixel counts
// how much of the trajectory passes through it (lines sampled once a pixel,
// each sample shared bilinearly by its four nearest pixels), and its colour
// deepens with that count, so that it depends on the states only, not on
// the order they were drawn in, and shows where the run lingers. It is kept
// at the screen's device pixel ratio and only the new states are added to
// it, unless the box of the states grows or the projection or the size
// changes.
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

    void setProjection(Projection projection);
    [[nodiscard]] Projection projection() const { return projection_; }
    [[nodiscard]] std::span<const Triple> states() const { return states_; }

    [[nodiscard]] QSize sizeHint() const override { return {420, 360}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {220, 200}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    [[nodiscard]] QPointF projected(const Triple& xyz) const;
    [[nodiscard]] QRectF plotArea() const;
    [[nodiscard]] bool joined() const { return stride_ <= kLongestJoin; }
    // The box the picture shows: the states' own box with room to grow.
    void fitBounds();
    void redrawAll();
    void drawFrom(std::size_t first);
    void deposit(double x, double y);
    void colour(const QRect& pixels);
    void describe();

    std::vector<Triple> states_;
    std::int64_t stride_ = 1;
    Projection projection_ = Projection::XZ;
    QRectF bounds_;  // in the projection's coordinates; empty: nothing drawn yet
    // Where the states land, in device pixels of the picture.
    double scale_ = 1;
    QPointF origin_;
    std::vector<float> density_;  // per device pixel of the picture, row by row
    QRect dirty_;                 // pixels whose density changed since they were coloured
    QImage picture_;
};

}  // namespace veltrano::point_panel
