#pragma once

// The defaults of the research keywords, taken from RunSettings{} (the one
// place that holds them), as Python objects and as the help shows them.

#include <pybind11/pybind11.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace veltrano::python {

namespace py = pybind11;

struct KeywordDefaults {
    py::object transient, initial, step, stepsPerInterval, errors, batch, targetError;
};

// RunSettings{}'s values: whole numbers as ints (initial=(1, 1, 1)), no
// target error as None.
[[nodiscard]] KeywordDefaults keywordDefaults();

// `text` with every {transient}, {initial}, {step}, {steps_per_interval},
// {errors}, {batch} and {target_error} replaced by the repr of its default,
// and every tab by the spaces that reach the column of the options'
// descriptions (kDescriptionColumn; one space at least).
inline constexpr std::size_t kDescriptionColumn = 24;
[[nodiscard]] std::string withDefaults(std::string_view text);

}  // namespace veltrano::python
