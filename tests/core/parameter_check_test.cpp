#include "parameter_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <variant>

using namespace veltrano;

namespace {

std::string narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

}  // namespace

// The whole-number check, the decimal check and what a decimal reads as
// (with the point, whatever the locale); nullopt: a text neither accepts.
TEST(EntryTexts, WholeAndDecimalTextsAndTheirValues) {
    const struct {
        std::u16string text;
        bool whole, decimal;
        double value;
    } cases[] = {
        {u"100", true, true, 100}, {u"0", true, true, 0}, {u"007", true, true, 7}, {u"9999", true, true, 9999},
        {u"123456789012345678901234567890", true, true, 1.2345678901234568e29},
        {u"2.6667", false, true, 2.6667}, {u"-0.5", false, true, -0.5}, {u"-.5", false, true, -0.5},
        {u".5", false, true, 0.5}, {u"5.", false, true, 5}, {u"-", false, true, 0}, {u".", false, true, 0},
        {u"-.", false, true, 0}, {u"0.1", false, true, 0.1},
        {u"17976931348623157" + std::u16string(292, u'0'), true, true, 1.7976931348623157e308},
        {u"0." + std::u16string(400, u'0') + u"1", false, true, 0.0},
        {u"0." + std::u16string(320, u'0') + u"1", false, true, 1e-321},
        {u"0001" + std::u16string(308, u'0'), true, true, 1e308},
        {std::u16string(kMaxEntryLength - 1, u'0') + u"7", true, true, 7},  // the longest text taken
        {u"", false, false, 0}, {u"+5", false, false, 0}, {u"1e5", false, false, 0}, {u"1,5", false, false, 0},
        {u"5-", false, false, 0}, {u"-5-", false, false, 0}, {u"--5", false, false, 0}, {u"1.2.3", false, false, 0},
        {u" 5", false, false, 0}, {u"5 ", false, false, 0}, {u"5\n", false, false, 0},
        {u"\u22125", false, false, 0} /* minus sign */, {u"\uFF15", false, false, 0} /* full-width 5 */,
        {u"1\u0660", false, false, 0} /* Arabic-Indic zero */,
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(narrow(c.text));
        EXPECT_EQ(controllo1(c.text), c.whole);
        EXPECT_EQ(controllo2(c.text), c.decimal);
        if (!c.decimal) continue;
        const auto got = decimalValue(c.text);
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(*got, c.value);
    }
    EXPECT_TRUE(std::signbit(*decimalValue(u"-")));
}

// Accepted entries reach the parameters; of refused ones, the first in the
// fixed order n, sigma, R, b is named.
TEST(CheckEntries, TheFirstFailureInTheFixedOrderWins) {
    const std::u16string big = u"1" + std::u16string(400, u'0'), longText(32767, u'1');
    struct Case {
        std::u16string n, s, r, b;
        std::variant<Parameters, EntryError> result;
    };
    const auto error = [](Entry entry, std::string_view message) { return EntryError{entry, message}; };
    const Case cases[] = {
        {u"100", u"10", u"28", u"2.6667", Parameters{100, 10, 28, 2.6667}},
        {u"9999", u"-", u"28", u"-.5", Parameters{9999, 0, 28, -0.5}},
        {u"00500", u"-.5", u".", u"3", Parameters{500, -0.5, 0, 3}},
        {u"1", u".", u"-2", u"0", Parameters{1, 0, -2, 0}},
        {std::u16string(30000, u'0') + u"1", u"10", u"28", u"1", Parameters{1, 10, 28, 1}},
        {u"?", u"?", u"?", u"?", error(Entry::N, kMessageN)},
        {u"1.5", u"10", u"28", u"2.6667", error(Entry::N, kMessageN)},
        {u"0000", u"x", u"28", u"2.6667", error(Entry::N, kMessageN)},
        {u"100", u"1,5", u"x", u"x", error(Entry::Sigma, kMessageSigma)},
        {u"20000", u"abc", u"28", u"2.6667", error(Entry::Sigma, kMessageSigma)},
        {u"100", u"10", u"+28", u"x", error(Entry::R, kMessageR)},
        {u"100", u"10", u"28", u"2,6667", error(Entry::B, kMessageB)},
        {u"10000", u"10", u"28", u"2.6667", error(Entry::N, kMessageRange)},
        {big, u"10", u"28", u"2.6667", error(Entry::N, kMessageRange)},
        {u"100", big, u"28", u"2.6667", error(Entry::Sigma, kMessageSigma)},
        {u"100", u"10", u"-" + big, u"2.6667", error(Entry::R, kMessageR)},
        {u"100", u"10", u"28", longText, error(Entry::B, kMessageB)},
        {longText, u"10", u"28", u"2.6667", error(Entry::N, kMessageN)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(narrow(c.n + u" " + c.s + u" " + c.r + u" " + c.b.substr(0, 10)));
        const auto got = checkEntries({c.n, c.s, c.r, c.b});
        ASSERT_EQ(got.index(), c.result.index());
        if (const auto* want = std::get_if<Parameters>(&c.result)) {
            const auto& p = std::get<Parameters>(got);
            EXPECT_EQ(std::tuple(p.n, p.sigma, p.R, p.b), std::tuple(want->n, want->sigma, want->R, want->b));
        } else {
            EXPECT_EQ(std::get<EntryError>(got), std::get<EntryError>(c.result));
        }
    }
}
