// Feeds arbitrary texts to the entry checks and the conversion, and compares
// them with plain restatements of the rules and with the C library's strtod.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <variant>

#include "parameter_check.h"

using namespace veltrano;

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// An optional leading minus, digits, and at most one point anywhere after it.
bool decimalShape(std::u16string_view s) {
    if (s.empty() || s.size() > kMaxEntryLength) return false;
    std::size_t i = s[0] == u'-' ? 1 : 0;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] == u'.' && !point)
            point = true;
        else if (!isDigit(s[i]))
            return false;
    }
    return true;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

void examine(std::u16string_view text) {
    bool allDigits = !text.empty() && text.size() <= kMaxEntryLength;
    for (char16_t c : text) allDigits &= isDigit(c);
    check(controllo1(text) == allDigits, "controllo1 accepts exactly the digit strings");
    check(controllo2(text) == decimalShape(text), "controllo2 accepts exactly the decimal shapes");

    if (allDigits) {
        std::size_t first = text.find_first_not_of(u'0');
        const std::size_t significant = first == std::u16string_view::npos ? 0 : text.size() - first;
        const auto n = iterationsValue(text);
        if (significant > 4) {
            check(!n.has_value(), "long numbers are 10000 or more");
        } else {
            int expected = 0;
            for (std::size_t i = text.size() - significant; i < text.size(); ++i) expected = expected * 10 + (text[i] - u'0');
            check(n.has_value() == (expected < 10000), "range of n");
            if (n) check(*n == expected, "value of n");
        }
    }
    if (decimalShape(text)) {
        std::string narrow(text.begin(), text.end());
        const bool negative = narrow[0] == '-';
        const std::string digits = negative ? narrow.substr(1) : narrow;
        const auto value = decimalValue(text);
        const bool noDigits = digits.find_first_not_of('.') == std::string::npos;
        if (noDigits) {
            check(value.has_value() && *value == 0.0, "no digits read as zero");
            return;
        }
        errno = 0;
        const double reference = std::strtod(digits.c_str(), nullptr);
        if (std::isinf(reference)) {
            check(!value.has_value(), "beyond the double range is refused");
        } else {
            check(value.has_value(), "a representable value is read");
            check(std::fabs(*value) == reference, "the value is strtod's");
            check(std::signbit(*value) == negative, "the minus sign negates");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Even bytes are read as UTF-16 units, so that any character can occur;
    // the first byte chooses a plain-ASCII reading instead half of the time,
    // which reaches the numeric paths far more often.
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
