#pragma once

#include <QImage>
#include <cstdint>
#include <functional>

#include "map_passes.h"

namespace veltrano::explorer {

// The map as an image of one pixel a cell (column 0 at the left, row 0 at
// the bottom). A cell not computed yet shows the finest computed cell that
// stands for it in the passes (see map_passes.h); none: the background.
class MapImage {
public:
    using Done = std::function<bool(std::int64_t index)>;
    using Colour = std::function<QRgb(std::int64_t index)>;

    void reset(int columns, int rows, QRgb background);
    // Paints what the cells of a unit just computed change.
    void paintUnit(const WorkUnit& unit, const Done& done, const Colour& colour);
    // Paints every cell again (the colours changed).
    void paintAll(const Done& done, const Colour& colour);
    // Paints the columns [first, last) again: a repaint in slices.
    void paintColumns(int first, int last, const Done& done, const Colour& colour);

    [[nodiscard]] const QImage& image() const { return image_; }
    // The index of the computed cell that (column, row) shows; -1 for none.
    [[nodiscard]] std::int64_t shownCell(int column, int row, const Done& done) const;

private:
    void paintCell(int column, int row, const Done& done, const Colour& colour);

    QImage image_;
    int columns_ = 0;
    int rows_ = 0;
    QRgb background_ = 0;
};

}  // namespace veltrano::explorer
