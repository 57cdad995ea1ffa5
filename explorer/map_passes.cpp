#include "map_passes.h"

#include <algorithm>

namespace veltrano::explorer {

int strideOf(int column, int row) {
    for (int s : kPassStrides)
        if (column % s == 0 && row % s == 0) return s;
    return 1;
}

std::vector<WorkUnit> workUnits(int columns, int rows, int unitSize) {
    std::vector<WorkUnit> units;
    const int size = std::max(1, unitSize);
    for (int pass = 0; pass < kPasses; ++pass) {
        const int s = kPassStrides[pass];
        for (int c = 0; c < columns; c += s) {
            // In the first pass every s-th row; later, a column an earlier
            // pass visited lacks only the odd multiples of s.
            const bool visited = pass > 0 && c % (2 * s) == 0;
            const int first = visited ? s : 0;
            const int step = visited ? 2 * s : s;
            if (first >= rows) continue;
            const int inColumn = (rows - first + step - 1) / step;
            for (int k = 0; k < inColumn; k += size)
                units.push_back({pass, c, first + k * step, step, std::min(size, inColumn - k)});
        }
    }
    return units;
}

}  // namespace veltrano::explorer
