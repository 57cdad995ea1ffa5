#pragma once

#include <cstdint>

namespace veltrano::pictures {

// What a point or a cell of a picture shows.
enum class PointMark : std::uint8_t {
    Value,         // its value, on the diverging scale
    Undecided,     // its value, shaded: its error bars do not decide its kind
    Fault,         // stopped by a fault: no value
    Inconsistent,  // completed, but its exponents miss the flow's contraction
    Empty,         // nothing yet (not computed): the background shows
};

// What a cell of a map shows from the points in it: the value of its ok
// points; with none, the inconsistent ones; with none of those either, the
// fault that stopped them; a cell no point has reached yet shows nothing.
[[nodiscard]] constexpr PointMark cellMark(std::int64_t ok, std::int64_t inconsistent, std::int64_t faults) {
    return ok > 0 ? PointMark::Value : inconsistent > 0 ? PointMark::Inconsistent : faults > 0 ? PointMark::Fault : PointMark::Empty;
}

}  // namespace veltrano::pictures
