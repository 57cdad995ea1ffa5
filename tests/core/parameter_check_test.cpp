#include "parameter_check.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

using namespace veltrano;

TEST(Controllo1, AcceptsOnlyNonEmptyDigitStrings) {
    const std::pair<std::u16string, bool> cases[] = {
        {u"100", true},
        {u"0", true},
        {u"007", true},
        {u"9999", true},
        {u"123456789012345678901234567890", true},
        {u"", false},
        {u"-5", false},
        {u"+5", false},
        {u"1.0", false},
        {u"1e3", false},
        {u" 5", false},
        {u"5 ", false},
        {u"?", false},
        {u"\uFF15", false} /* full-width 5 */,
        {u"1\u0660", false} /* Arabic-Indic zero */,
        {u"5\n", false},
    };
    for (const auto& [text, ok] : cases) EXPECT_EQ(controllo1(text), ok) << std::string(text.begin(), text.end());
}

TEST(Controllo2, AcceptsDigitsOnePointAndALeadingMinus) {
    const std::pair<std::u16string, bool> cases[] = {
        {u"10", true},
        {u"2.6667", true},
        {u"-0.5", true},
        {u"-.5", true},
        {u".5", true},
        {u"5.", true},
        {u"007", true},
        {u"-", true},
        {u".", true},
        {u"-.", true},
        {u"", false},
        {u"+5", false},
        {u"1e5", false},
        {u"1,5", false},
        {u"5-", false},
        {u"-5-", false},
        {u"--5", false},
        {u"1.2.3", false},
        {u" 5", false},
        {u"5 ", false},
        {u"1 .5", false},
        {u"?", false},
        {u"\u22125", false} /* minus sign */,
        {u"..", false},
        {u"-..", false},
    };
    for (const auto& [text, ok] : cases) EXPECT_EQ(controllo2(text), ok) << std::string(text.begin(), text.end());
}

TEST(DecimalValue, ReadsWithThePointWhateverTheLocale) {
    const std::pair<std::u16string, double> cases[] = {
        {u"10", 10},
        {u"2.6667", 2.6667},
        {u"-0.5", -0.5},
        {u"-.5", -0.5},
        {u".5", 0.5},
        {u"5.", 5},
        {u"007", 7},
        {u"-", 0},
        {u".", 0},
        {u"-.", 0},
        {u"0.1", 0.1},
        {u"17976931348623157" + std::u16string(292, u'0'), 1.7976931348623157e308},
        {u"0." + std::u16string(400, u'0') + u"1", 0.0},
        {u"0." + std::u16string(320, u'0') + u"1", 1e-321},
        {u"0001" + std::u16string(308, u'0'), 1e308},
    };
    for (const auto& [text, value] : cases) {
        const auto got = decimalValue(text);
        ASSERT_TRUE(got.has_value()) << std::string(text.begin(), text.end());
        EXPECT_EQ(*got, value) << std::string(text.begin(), text.end());
    }
    EXPECT_TRUE(std::signbit(*decimalValue(u"-")));
}

namespace {

std::variant<Parameters, EntryError> check(std::u16string_view n, std::u16string_view s, std::u16string_view r,
                                           std::u16string_view b) {
    return checkEntries({n, s, r, b});
}

}  // namespace

TEST(CheckEntries, StartUpTextsPass) {
    const auto result = check(u"100", u"10", u"28", u"2.6667");
    ASSERT_TRUE(std::holds_alternative<Parameters>(result));
    const auto& p = std::get<Parameters>(result);
    EXPECT_EQ(p.n, 100);
    EXPECT_EQ(p.sigma, 10.0);
    EXPECT_EQ(p.R, 28.0);
    EXPECT_EQ(p.b, 2.6667);
}

TEST(CheckEntries, FirstFailureInTheFixedOrderWins) {
    const std::u16string big = u"1" + std::u16string(400, u'0');
    const std::u16string longText(32767, u'1');
    struct Case {
        std::u16string n, s, r, b;
        Entry entry;
        std::string_view message;
    };
    const Case cases[] = {
        {u"?", u"?", u"?", u"?", Entry::N, kMessageN},
        {u"1.5", u"10", u"28", u"2.6667", Entry::N, kMessageN},
        {u"0", u"10", u"28", u"2.6667", Entry::N, kMessageN},
        {u"0000", u"x", u"28", u"2.6667", Entry::N, kMessageN},
        {u"100", u"1,5", u"x", u"x", Entry::Sigma, kMessageSigma},
        {u"20000", u"abc", u"28", u"2.6667", Entry::Sigma, kMessageSigma},
        {u"100", u"10", u"+28", u"x", Entry::R, kMessageR},
        {u"100", u"10", u"28", u"2,6667", Entry::B, kMessageB},
        {u"10000", u"10", u"28", u"2.6667", Entry::N, kMessageRange},
        {u"00010000", u"10", u"28", u"2.6667", Entry::N, kMessageRange},
        {u"65537", u"10", u"28", u"2.6667", Entry::N, kMessageRange},
        {big, u"10", u"28", u"2.6667", Entry::N, kMessageRange},
        {u"100", big, u"28", u"2.6667", Entry::Sigma, kMessageSigma},
        {u"100", u"10", u"-" + big, u"2.6667", Entry::R, kMessageR},
        {u"100", u"10", u"28", longText, Entry::B, kMessageB},
        {longText, u"10", u"28", u"2.6667", Entry::N, kMessageN},
    };
    for (const Case& c : cases) {
        const auto result = check(c.n, c.s, c.r, c.b);
        ASSERT_TRUE(std::holds_alternative<EntryError>(result)) << c.message;
        EXPECT_EQ(std::get<EntryError>(result), (EntryError{c.entry, c.message}));
    }
}

TEST(CheckEntries, BoundaryValuesPass) {
    struct Case {
        std::u16string n, s;
        std::int16_t expectedN;
        double expectedSigma;
    };
    const Case cases[] = {{u"9999", u"-", 9999, 0.0},
                          {u"00500", u"-.5", 500, -0.5},
                          {u"1", u".", 1, 0.0},
                          {std::u16string(30000, u'0') + u"1", u"10", 1, 10.0}};
    for (const Case& c : cases) {
        const auto result = check(c.n, c.s, u"28", u"2.6667");
        ASSERT_TRUE(std::holds_alternative<Parameters>(result));
        EXPECT_EQ(std::get<Parameters>(result).n, c.expectedN);
        EXPECT_EQ(std::get<Parameters>(result).sigma, c.expectedSigma);
    }
}
