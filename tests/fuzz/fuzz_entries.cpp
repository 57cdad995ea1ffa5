// Feeds arbitrary texts to the entry checks and the conversion: nothing may
// crash, every accepted decimal text reads as the C library's strtod reads
// it, and whatever passes all checks is a usable set of parameters.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "parameter_check.h"

using namespace veltrano;

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

void examine(std::u16string_view text) {
    if (controllo1(text)) check(controllo2(text), "a whole number is a decimal number");
    if (!controllo2(text)) return;
    const std::string narrow(text.begin(), text.end());
    const bool negative = narrow[0] == '-';
    const std::string digits = negative ? narrow.substr(1) : narrow;
    const auto value = decimalValue(text);
    if (digits.find_first_not_of('.') == std::string::npos) {
        check(value.has_value() && *value == 0.0, "no digits read as zero");
        return;
    }
    const double reference = std::strtod(digits.c_str(), nullptr);
    check(value.has_value() != std::isinf(reference), "refused exactly beyond the double range");
    if (value) {
        check(std::fabs(*value) == reference, "the value is strtod's");
        check(std::signbit(*value) == negative, "the minus sign negates");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The first byte chooses how the rest is read: as UTF-16 units, so that
    // any character can occur, or byte by byte, which reaches the numeric
    // paths far more often.
    if (size == 0) return 0;
    std::u16string text;
    if (data[0] & 1) {
        for (std::size_t i = 1; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    } else {
        for (std::size_t i = 1; i < size; ++i) text += static_cast<char16_t>(data[i]);
    }
    examine(text);

    // Four entries separated by blanks go through the whole check.
    std::u16string_view rest = text;
    std::u16string_view parts[4];
    for (auto& part : parts) {
        const auto blank = rest.find(u' ');
        part = rest.substr(0, blank);
        rest = blank == std::u16string_view::npos ? std::u16string_view() : rest.substr(blank + 1);
    }
    const auto result = checkEntries({parts[0], parts[1], parts[2], parts[3]});
    if (const auto* p = std::get_if<Parameters>(&result)) check(p->n > 0 && p->n < 10000, "n within its bounds");
    return 0;
}
