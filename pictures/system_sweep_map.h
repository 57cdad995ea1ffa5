#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "heat_map.h"
#include "system_sweep_runner.h"
#include "trace_check.h"

namespace veltrano::pictures {

// Gathers the map of one exponent over the two axes of a sweep of a flow of
// the catalogue as the points arrive, in at most kMaxCells cells a side.
class SystemSweepMap {
public:
    static constexpr std::int64_t kMaxCells = 1000;

    // `system` names the flow in the title, `parameters` its parameters;
    // `exponent` is the one drawn (0 for λ1).
    SystemSweepMap(const SystemGrid& grid, std::string system, std::vector<std::string> parameters,
                   std::size_t exponent);
    // A point with its status: a cell shows the mean of its ok points; with
    // none, it is marked inconsistent or a fault.
    void add(const SystemSweepPoint& point, PointStatus status);
    [[nodiscard]] HeatMap heatMap() const;

private:
    struct Cell {
        double sum = 0;
        std::int64_t ok = 0, errors = 0, inconsistent = 0;
    };

    SystemGrid grid_;
    std::string system_;
    std::vector<std::string> parameters_;
    std::size_t exponent_;
    std::int64_t columns_, rows_;
    std::vector<Cell> cells_;
};

}  // namespace veltrano::pictures
