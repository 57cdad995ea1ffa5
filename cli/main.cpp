// veltrano-cli: the spectrum computation for scripts and checks. It reads the
// four entries as the window does, with the same checks and messages, and
// prints the results with the point as the decimal separator.

#include <charconv>
#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "clock.h"
#include "number_text.h"
#include "parameter_check.h"
#include "computation_run.h"

namespace {

using namespace veltrano;

constexpr int kExitUsage = 1;
constexpr int kExitBadEntry = 2;
constexpr int kExitComputationError = 3;

constexpr std::string_view kUsage =
    "usage: veltrano-cli [--precise] N SIGMA R B\n"
    "\n"
    "Computes the Lyapunov spectrum of the Lorenz system\n"
    "  dx/dt = sigma (y - x), dy/dt = R x - y - x z, dz/dt = x y - b z\n"
    "from x = y = z = 1 by fourth-order Runge-Kutta at h = 0.01, with\n"
    "Gram-Schmidt reorthonormalisation every 20 steps, over N such intervals.\n"
    "\n"
    "  N            number of intervals, a whole number from 1 to 9999\n"
    "  SIGMA R B    decimal numbers with the point as separator (-0.5, .5, 28)\n"
    "  --precise    print t and the exponents with 17 significant digits\n"
    "\n"
    "Prints tab-separated lines: t, lambda1, lambda2, lambda3 (4 decimals)\n"
    "and seconds (the computing time, 3 decimals).\n"
    "Exit status: 0 done, 1 bad usage, 2 an entry was refused (the message\n"
    "goes to standard error), 3 an arithmetic error stopped the computation\n"
    "(t is the time reached, the exponents are \"?\").\n";

// Command-line arguments arrive as UTF-8; the entry checks count UTF-16
// units as the window's text fields do. Malformed bytes become U+FFFD.
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

std::string precise(double v) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 17).ptr;
    return std::string(buf, end);
}

// Collects the result fields and reports errors on stderr.
class TerminalView final : public ResultView {
public:
    void reportError(std::string_view message) override { std::cerr << message << '\n'; }
    void setField(ResultField field, std::string_view text, bool) override {
        fields_[static_cast<std::size_t>(field)] = std::string(text);
    }
    void setBusyPointer(bool) override {}
    std::string decimalSeparator() const override { return "."; }
    const std::string& field(ResultField f) const { return fields_[static_cast<std::size_t>(f)]; }

private:
    std::string fields_[5];
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    bool precisely = false;
    if (!args.empty() && (args.front() == "--help" || args.front() == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    if (!args.empty() && args.front() == "--precise") {
        precisely = true;
        args.erase(args.begin());
    }
    if (args.size() != 4) {
        std::cerr << kUsage;
        return kExitUsage;
    }

    const std::u16string texts[4] = {toUtf16(args[0]), toUtf16(args[1]), toUtf16(args[2]), toUtf16(args[3])};
    const auto checked = checkEntries({texts[0], texts[1], texts[2], texts[3]});
    if (const auto* error = std::get_if<EntryError>(&checked)) {
        std::cerr << error->message << '\n';
        return kExitBadEntry;
    }

    Spectrum spectrum;
    TerminalView view;
    const SteadyClock clock;
    const RunOutcome outcome = computeAndShow(spectrum, std::get<Parameters>(checked), view, clock);

    const auto show = [&](ResultField f, double value) { return precisely ? precise(value) : view.field(f); };
    std::cout << "t\t" << show(ResultField::Time, spectrum.t()) << '\n';
    const char* names[] = {"lambda1", "lambda2", "lambda3"};
    const ResultField fields[] = {ResultField::Lambda1, ResultField::Lambda2, ResultField::Lambda3};
    for (std::size_t k = 0; k < 3; ++k)
        std::cout << names[k] << '\t' << (outcome.completed ? show(fields[k], spectrum.expo()[k]) : "?") << '\n';
    if (!outcome.completed) return kExitComputationError;
    std::cout << "seconds\t" << view.field(ResultField::Seconds) << '\n';
    return 0;
}
