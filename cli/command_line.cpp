#include "command_line.h"

#include "research_rules.h"

namespace veltrano::cli {

namespace {

// Prefixes a value that would otherwise read as an option; no argument of
// the command line starts with it.
constexpr char kValueMark = '\x1f';

}  // namespace

std::u16string toUtf16(std::string_view s) {
    std::u16string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto lead = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        char32_t cp = lead;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07;
        }
        bool valid = lead < 0x80 || (extra > 0 && i + extra < s.size());
        for (std::size_t k = 1; valid && k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(s[i + k]);
            valid = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        if (!valid) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::vector<std::string> markValues(int argc, char** argv) {
    std::vector<std::string> args;
    bool afterDashes = false;
    for (int i = 0; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--") afterDashes = true;
        // "--step=" gives the option an empty value, not the next argument.
        if (i > 0 && !afterDashes && a.size() > 3 && a.rfind("--", 0) == 0 && a.find('=') == a.size() - 1)
            a.push_back(kValueMark);
        const bool looksLikeShortOption = !a.empty() && a[0] == '-' && a.rfind("--", 0) != 0 && a != "-h";
        if (i > 0 && !afterDashes && looksLikeShortOption) a.insert(a.begin(), kValueMark);
        args.push_back(std::move(a));
    }
    return args;
}

std::string unmarked(std::string_view argument) {
    if (!argument.empty() && argument.front() == kValueMark) argument.remove_prefix(1);
    return std::string(argument);
}

std::string withoutMarks(std::string_view message) {
    std::string text;
    for (const char c : message)
        if (c != kValueMark) text += c;
    return text;
}

std::variant<Parameters, EntryError> checkEntryTexts(const std::vector<std::string>& entries) {
    const std::u16string texts[4] = {toUtf16(unmarked(entries.at(0))), toUtf16(unmarked(entries.at(1))),
                                     toUtf16(unmarked(entries.at(2))), toUtf16(unmarked(entries.at(3)))};
    return checkEntries({texts[0], texts[1], texts[2], texts[3]});
}

std::variant<ResearchEntries, std::string> checkResearchEntries(const std::vector<std::string>& entries) {
    // The window's checks with a small N stand in for the checks of the
    // texts; the range of N is the research one.
    const std::u16string n = toUtf16(unmarked(entries.at(0)));
    const char small = n.find_first_not_of(u'0') == std::u16string::npos ? '0' : '1';
    const auto checked = checkEntryTexts(
        {controllo1(n) ? std::string(1, small) : entries.at(0), entries.at(1), entries.at(2), entries.at(3)});
    if (const auto* error = std::get_if<EntryError>(&checked)) return std::string(error->message);
    const Parameters& p = std::get<Parameters>(checked);
    // Digits past any whole number still make a number above the range.
    const auto value = wholeNumber(entries.at(0), 1, kAnyWholeNumber);
    if (!value) return std::string(kMessageResearchRange);
    if (const auto why = refusedIntervals(*value)) return std::string(*why);
    return ResearchEntries{*value, {p.sigma, p.R, p.b}};
}

std::optional<std::int64_t> wholeNumber(std::string_view text, std::int64_t minimum, std::int64_t maximum) {
    const std::u16string wide = toUtf16(unmarked(text));
    if (!controllo1(wide)) return std::nullopt;
    const auto first = wide.find_first_not_of(u'0');
    const std::size_t digits = first == std::u16string::npos ? 0 : wide.size() - first;
    if (digits > 18) return std::nullopt;  // beyond any bound used here
    std::int64_t value = 0;
    for (std::size_t i = wide.size() - digits; i < wide.size(); ++i) value = value * 10 + (wide[i] - u'0');
    if (value < minimum || value > maximum) return std::nullopt;
    return value;
}

std::variant<AxisText, std::string> parseAxisText(std::string_view text,
                                                  const std::function<std::string(std::string_view)>& refusedName,
                                                  bool digitsRequired) {
    const std::string given = unmarked(text);
    const std::string shown = "--vary " + given + ": ";
    const auto equals = given.find('=');
    if (equals == std::string::npos) return shown + "expected NAME=FROM:TO:COUNT";
    AxisText axis;
    axis.name = given.substr(0, equals);
    if (const std::string why = refusedName(axis.name); !why.empty()) return shown + why;
    const std::string_view rest = std::string_view(given).substr(equals + 1);
    const auto colon1 = rest.find(':');
    const auto colon2 = colon1 == std::string_view::npos ? colon1 : rest.find(':', colon1 + 1);
    if (colon2 == std::string_view::npos || rest.find(':', colon2 + 1) != std::string_view::npos)
        return shown + "expected NAME=FROM:TO:COUNT";
    const struct {
        std::string_view text;
        double& value;
        const char* name;
    } ends[] = {{rest.substr(0, colon1), axis.from, "FROM"}, {rest.substr(colon1 + 1, colon2 - colon1 - 1), axis.to, "TO"}};
    for (const auto& end : ends) {
        const std::u16string wide = toUtf16(end.text);
        const bool digit = end.text.find_first_of("0123456789") != std::string_view::npos;
        const auto value = controllo2(wide) && (digit || !digitsRequired) ? decimalValue(wide) : std::nullopt;
        if (!value)
            return shown + end.name + " must be a decimal number (digits, at most one point, a leading minus) " +
                   "within the range of doubles";
        end.value = *value;
    }
    const auto count = wholeNumber(rest.substr(colon2 + 1), 1, SweepGrid::kMaxPoints);
    if (!count) return shown + countRangeRule("COUNT");
    axis.count = *count;
    return axis;
}

std::variant<SweepAxis, std::string> parseVary(std::string_view text) {
    const auto parsed = parseAxisText(
        text, [](std::string_view name) { return parameterNamed(name) ? std::string() : "NAME must be sigma, R or b"; });
    if (const auto* why = std::get_if<std::string>(&parsed)) return *why;
    const AxisText& axis = std::get<AxisText>(parsed);
    return SweepAxis{*parameterNamed(axis.name), axis.from, axis.to, axis.count, {}};
}

std::optional<std::pair<std::int64_t, std::int64_t>> parseShard(std::string_view text) {
    const std::string given = unmarked(text);
    const auto slash = given.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto k = wholeNumber(std::string_view(given).substr(0, slash), 0, kAnyWholeNumber);
    const auto m = wholeNumber(std::string_view(given).substr(slash + 1), 0, kAnyWholeNumber);
    if (!k || !m || !shardInRange(*k, *m)) return std::nullopt;
    return std::pair{*k, *m};
}

}  // namespace veltrano::cli
