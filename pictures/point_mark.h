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

}  // namespace veltrano::pictures
