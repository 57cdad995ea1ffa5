#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrano {

// A parameter of a flow: its name in the equations, its default value and
// the interval a sweep may cover.
struct ParameterDescription {
    std::string name;
    double value = 0;
    double lowest = 0;
    double highest = 0;
};

// A Lyapunov spectrum as a publication gives it, in nats per unit time,
// largest first, with `decimals` digits after the point, for the
// parameters and start it names (which may differ from the defaults).
struct PublishedSpectrum {
    std::vector<double> exponents;
    int decimals = 0;
    std::vector<double> parameters;
    std::vector<double> start;
    std::string source;
};

// The range of a dimension chosen at run time (an option `dimension`).
struct DimensionChoice {
    std::size_t lowest = 0;
    std::size_t highest = 0;
    std::size_t value = 0;
};

// What the front ends show and offer of one flow. `equations` holds the
// right-hand sides as lines `x' = -y - z`, written in the parenthesisation
// of the compiled field so that either evaluates in the same order.
struct SystemDescription {
    std::string name;     // the lower-case key, e.g. "rossler"
    std::string title;    // e.g. "Rössler"
    std::string summary;  // one line
    std::size_t dimension = 0;
    std::optional<DimensionChoice> dimensionChoice;  // set where the dimension is chosen
    std::vector<std::string> variables;
    std::vector<ParameterDescription> parameters;
    std::vector<double> start;
    std::vector<std::string> equations;
    std::string source;                      // the paper that introduced the flow
    std::vector<PublishedSpectrum> spectra;  // empty where none is cited
    // Typed equations: their whole text, which the runs compile (the name is
    // then "equations:" and the text's SHA-256); empty for a flow of the
    // catalogue.
    std::string text;
};

// Every flow of the catalogue, at its default dimension, in a fixed order.
[[nodiscard]] const std::vector<SystemDescription>& allSystems();

// The flow called `name`, or nullopt for an unknown name.
[[nodiscard]] std::optional<SystemDescription> findSystem(std::string_view name);

// The flow called `name` at `dimension` (variables, start and equations for
// it), or nullopt for an unknown name or a dimension it cannot take: a
// fixed one other than its own, or one outside the range of a chosen one.
[[nodiscard]] std::optional<SystemDescription> findSystem(std::string_view name, std::size_t dimension);

// The whole text of a flow: its equation lines, then `name = value` for
// every parameter and `x(0) = value` for every variable, the values as the
// shortest decimals that read back as the same doubles.
[[nodiscard]] std::vector<std::string> equationText(const SystemDescription& system);

}  // namespace veltrano
