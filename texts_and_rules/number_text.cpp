#include "number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace veltrano {

std::string numberText(double value, int places, std::string_view decimalSeparator) {
    if (!std::isfinite(value)) return "?";
    // Fixed notation of the shortest-round-trip printer rounds the exact binary
    // value, ties to even; 309 integer digits plus the decimals always fit.
    char buf[400];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, places);
    if (ec != std::errc{}) return "?";
    std::string_view text(buf, static_cast<std::size_t>(end - buf));

    const auto point = text.find('.');
    if (point != std::string_view::npos) {
        const auto last = text.find_last_not_of('0');
        text = text.substr(0, last == point ? point : last + 1);
    }
    if (text == "-0") text = "0";

    std::string out;
    out.reserve(text.size() + decimalSeparator.size());
    for (char c : text) {
        if (c == '.')
            out += decimalSeparator;
        else
            out += c;
    }
    return out;
}

std::string shortest(double value) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, value).ptr);
}

}  // namespace veltrano
