#include "parameter_check.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <system_error>

namespace veltrano {

namespace {

bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

}  // namespace

bool controllo1(std::u16string_view inp) {
    if (inp.empty() || inp.size() > kMaxEntryLength) return false;
    return std::all_of(inp.begin(), inp.end(), isDigit);
}

bool controllo2(std::u16string_view inp) {
    if (inp.empty() || inp.size() > kMaxEntryLength) return false;
    std::size_t points = 0;
    std::size_t minusPosition = 0;  // 1-based position of the last minus, 0 when none
    for (std::size_t i = 0; i < inp.size(); ++i) {
        const char16_t c = inp[i];
        if (c == u'.')
            ++points;
        else if (c == u'-')
            minusPosition = i + 1;
        else if (!isDigit(c))
            return false;
    }
    return points <= 1 && minusPosition <= 1;
}

std::optional<std::int16_t> iterationsValue(std::u16string_view digits) {
    const auto first = digits.find_first_not_of(u'0');
    if (first == std::u16string_view::npos) return 0;
    digits.remove_prefix(first);
    if (digits.size() > 4) return std::nullopt;
    int value = 0;
    for (char16_t c : digits) value = value * 10 + (c - u'0');
    if (value >= 10000) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::optional<double> decimalValue(std::u16string_view text) {
    const bool negative = !text.empty() && text.front() == u'-';
    if (negative) text.remove_prefix(1);
    // What is left is digits with at most one point: narrow it for from_chars,
    // which ignores the C locale that a GUI toolkit may have set.
    std::string narrow(text.size(), '0');
    std::transform(text.begin(), text.end(), narrow.begin(), [](char16_t c) { return static_cast<char>(c); });

    const auto point = narrow.find('.');
    const std::string_view whole = std::string_view(narrow).substr(0, point);
    const bool hasDigits = narrow.find_first_not_of('.') != std::string::npos;

    double magnitude = 0.0;
    if (hasDigits) {
        const auto [ptr, ec] =
            std::from_chars(narrow.data(), narrow.data() + narrow.size(), magnitude, std::chars_format::fixed);
        if (ec == std::errc::result_out_of_range) {
            // Beyond the range when a non-zero digit stands before the point;
            // otherwise below it.
            if (whole.find_first_not_of('0') != std::string_view::npos) return std::nullopt;
            magnitude = 0.0;
        } else if (ec != std::errc{} || ptr != narrow.data() + narrow.size()) {
            return std::nullopt;
        }
    }
    return negative ? -magnitude : magnitude;
}

std::variant<Parameters, EntryError> checkEntries(const EntryTexts& texts) {
    const auto [nText, sigmaText, rText, bText] = texts;
    // Zero iterations would compute nothing: it fails the test for a positive
    // whole number together with the texts that are not whole numbers at all.
    if (!controllo1(nText) || nText.find_first_not_of(u'0') == std::u16string_view::npos)
        return EntryError{Entry::N, kMessageN};

    Parameters p;
    const struct {
        std::u16string_view text;
        Entry entry;
        std::string_view message;
        double& value;
    } reals[] = {{sigmaText, Entry::Sigma, kMessageSigma, p.sigma},
                 {rText, Entry::R, kMessageR, p.R},
                 {bText, Entry::B, kMessageB, p.b}};
    for (const auto& r : reals) {
        const auto value = controllo2(r.text) ? decimalValue(r.text) : std::nullopt;
        if (!value) return EntryError{r.entry, r.message};
        r.value = *value;
    }

    const auto n = iterationsValue(nText);
    if (!n) return EntryError{Entry::N, kMessageRange};
    p.n = *n;
    return p;
}

}  // namespace veltrano
