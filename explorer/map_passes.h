#pragma once

#include <cstdint>
#include <vector>

namespace veltrano::explorer {

// The map is computed in passes that sharpen it: first every 8th cell in
// both directions, then every 4th, 2nd and finally every cell, each pass
// computing only the cells no earlier pass has. Until a finer pass reaches
// it, a cell shows the nearest computed cell below and to its left whose
// position is a multiple of the pass's stride.
inline constexpr int kPassStrides[] = {8, 4, 2, 1};
inline constexpr int kPasses = 4;

// Cells of one column of one pass: rows first, first + step, ... (count of
// them), all computed by one thread in one go.
struct WorkUnit {
    int pass = 0;
    int column = 0;
    int firstRow = 0;
    int rowStep = 1;
    int count = 0;
    friend bool operator==(const WorkUnit&, const WorkUnit&) = default;
};

// Every cell of a columns x rows map in exactly one unit, the units of a
// pass before those of the next, none longer than `unitSize` cells.
[[nodiscard]] std::vector<WorkUnit> workUnits(int columns, int rows, int unitSize);

// The stride of the pass that computes the cell at (column, row).
[[nodiscard]] int strideOf(int column, int row);

}  // namespace veltrano::explorer
