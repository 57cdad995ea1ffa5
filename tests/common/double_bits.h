#pragma once
// The bits of doubles, for comparisons to the last bit (a difference in
// the last place or in the sign of a zero shows).
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

inline std::uint64_t bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

template <std::size_t N>
std::array<std::uint64_t, N> bits(const std::array<double, N>& values) {
    return std::bit_cast<std::array<std::uint64_t, N>>(values);
}
