#include "map_image.h"

#include <algorithm>

namespace veltrano::explorer {

void MapImage::reset(int columns, int rows, QRgb background) {
    columns_ = columns;
    rows_ = rows;
    background_ = background;
    image_ = QImage(std::max(1, columns), std::max(1, rows), QImage::Format_RGB32);
    image_.fill(background);
}

std::int64_t MapImage::shownCell(int column, int row, const Done& done) const {
    for (int s : {1, 2, 4, 8}) {
        const std::int64_t index = std::int64_t{column - column % s} * rows_ + (row - row % s);
        if (done(index)) return index;
    }
    return -1;
}

void MapImage::paintCell(int column, int row, const Done& done, const Colour& colour) {
    const std::int64_t shown = shownCell(column, row, done);
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(rows_ - 1 - row));
    line[column] = shown < 0 ? background_ : colour(shown);
}

void MapImage::paintUnit(const WorkUnit& unit, const Done& done, const Colour& colour) {
    const int s = kPassStrides[unit.pass];
    for (int k = 0; k < unit.count; ++k) {
        const int row = unit.firstRow + k * unit.rowStep;
        for (int c = unit.column; c < std::min(unit.column + s, columns_); ++c)
            for (int r = row; r < std::min(row + s, rows_); ++r) paintCell(c, r, done, colour);
    }
}

void MapImage::paintAll(const Done& done, const Colour& colour) {
    paintColumns(0, columns_, done, colour);
}

void MapImage::paintColumns(int first, int last, const Done& done, const Colour& colour) {
    for (int c = std::max(0, first); c < std::min(last, columns_); ++c)
        for (int r = 0; r < rows_; ++r) paintCell(c, r, done, colour);
}

}  // namespace veltrano::explorer
