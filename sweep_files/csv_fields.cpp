#include "csv_fields.h"

#include <charconv>
#include <cmath>
#include <string>

#include "precise_text.h"

namespace veltrano {

std::vector<std::string_view> csvFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        if (comma == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, comma - start));
        start = comma + 1;
    }
}

std::optional<std::int64_t> wholeField(std::string_view field) {
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc{} || end != field.data() + field.size() || std::to_string(v) != field) return std::nullopt;
    return v;
}

std::optional<double> finiteField(std::string_view field) {
    double v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc{} || end != field.data() + field.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<double> numberField(std::string_view field) {
    const auto v = finiteField(field);
    if (!v || preciseText(*v) != field) return std::nullopt;
    return v;
}

}  // namespace veltrano
