#include "system_texts.h"

#include <algorithm>

#include "number_text.h"

namespace veltrano {

namespace {

std::string joined(const std::vector<std::string>& parts, std::string_view between) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : std::string(between)) + part;
    return text;
}

std::string dimensionText(const SystemDescription& s) {
    std::string text = std::to_string(s.dimension);
    if (s.dimensionChoice)
        text += " (" + std::to_string(s.dimensionChoice->lowest) + "-" + std::to_string(s.dimensionChoice->highest) +
                ")";
    return text;
}

std::string padded(std::string text, std::size_t width) {
    // Widths count characters, not bytes: the names are ASCII, titles may not be.
    std::size_t shown = 0;
    for (const unsigned char c : text) shown += (c & 0xC0) != 0x80;
    if (shown < width) text.append(width - shown, ' ');
    return text;
}

// Each line of `text` but the empty ones as a comment of an equations text.
std::string commented(const std::string& text) {
    std::string out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        out += (line.empty() ? line : "# " + line) + "\n";
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

}  // namespace

std::string defaultsText(const SystemDescription& system) {
    std::vector<std::string> parts;
    for (const ParameterDescription& p : system.parameters) parts.push_back(p.name + "=" + shortest(p.value));
    return parts.empty() ? std::string("(none)") : joined(parts, " ");
}

std::string catalogueText(const std::vector<SystemDescription>& systems) {
    std::size_t nameWidth = 4, dimensionWidth = 9, defaultsWidth = 10;
    for (const SystemDescription& s : systems) {
        nameWidth = std::max(nameWidth, s.name.size());
        dimensionWidth = std::max(dimensionWidth, dimensionText(s).size());
        defaultsWidth = std::max(defaultsWidth, defaultsText(s).size());
    }
    std::string text = padded("NAME", nameWidth + 2) + padded("DIMENSION", dimensionWidth + 2) +
                       padded("PARAMETERS", defaultsWidth + 2) + "DESCRIPTION\n";
    for (const SystemDescription& s : systems)
        text += padded(s.name, nameWidth + 2) + padded(dimensionText(s), dimensionWidth + 2) +
                padded(defaultsText(s), defaultsWidth + 2) + s.summary + "\n";
    return text;
}

std::string systemText(const SystemDescription& s) {
    // The whole description is a text --equations reads: the equations
    // themselves as they are, everything else as comments.
    std::string text = s.title + " (" + s.name + "): " + s.summary + "\n\n";
    text += "Dimension: " + std::to_string(s.dimension);
    if (s.dimensionChoice)
        text += ", chosen with --dimension D from " + std::to_string(s.dimensionChoice->lowest) + " to " +
                std::to_string(s.dimensionChoice->highest) + " (default " +
                std::to_string(s.dimensionChoice->value) + ")";
    text += "\nVariables: " + joined(s.variables, ", ") + "\n";
    text += "Parameters (default; the range a sweep may take):";
    if (s.parameters.empty()) text += " none";
    text += "\n";
    for (const ParameterDescription& p : s.parameters)
        text += "  " + p.name + " = " + shortest(p.value) + "  (" + shortest(p.lowest) + " to " +
                shortest(p.highest) + ")\n";
    std::vector<std::string> start;
    for (std::size_t i = 0; i < s.variables.size() && i < s.start.size(); ++i)
        start.push_back(s.variables[i] + " = " + shortest(s.start[i]));
    text += "Start: " + joined(start, ", ") + "\n";
    text += "Source: " + s.source + "\n\nEquations:\n";
    std::string equations;
    for (const std::string& line : equationText(s)) equations += "  " + line + "\n";
    std::string published = "\nPublished exponents:";
    if (s.spectra.empty()) published += " none cited here";
    published += "\n";
    for (const PublishedSpectrum& p : s.spectra) {
        std::vector<std::string> values, parameters, from;
        for (const double v : p.exponents) values.push_back(numberText(v, p.decimals));
        for (std::size_t i = 0; i < p.parameters.size() && i < s.parameters.size(); ++i)
            parameters.push_back(s.parameters[i].name + "=" + shortest(p.parameters[i]));
        for (const double v : p.start) from.push_back(shortest(v));
        published += "  " + joined(values, ", ") + "\n    at " +
                     (parameters.empty() ? "(no parameters)" : joined(parameters, " ")) + " from " + joined(from, ",") +
                     "; " + p.source + "\n";
    }
    return commented(text) + equations + commented(published);
}

}  // namespace veltrano
