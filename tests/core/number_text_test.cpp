#include "number_text.h"

#include <gtest/gtest.h>

#include <limits>

using veltrano::numberText;

TEST(NumberText, RoundsHalvesToEvenAndWritesTheGeneralForm) {
    struct Case {
        double value;
        int places;
        const char* text;
    };
    const Case cases[] = {
        {0.03125, 4, "0.0312"},         // exact binary tie, down to even
        {0.09375, 4, "0.0938"},         // exact binary tie, up to even
        {0.0625, 3, "0.062"},           // exact binary tie
        {-0.03125, 4, "-0.0312"},       //
        {0.00005, 4, "0.0001"},         // not a tie: the double lies above 5e-5
        {0.3841234, 4, "0.3841"},       //
        {-14.039, 4, "-14.039"},        // no trailing zero
        {20.000000000000611, 4, "20"},  // drift vanishes, no separator left
        {0.2, 4, "0.2"},                //
        {0.5, 4, "0.5"},                // leading zero
        {-0.00004, 4, "0"},             // never "-0"
        {-0.0, 3, "0"},                 //
        {0.0, 4, "0"},                  //
        {1234567.25, 4, "1234567.25"},  // no group separators
        {1e20, 4, "100000000000000000000"},
        {2.0004999, 3, "2"},
        {0.0015, 3, "0.002"},  // 0.0015 lies just above the tie
        {0.0025, 3, "0.003"},  // and this one just above too
    };
    for (const Case& c : cases) EXPECT_EQ(numberText(c.value, c.places), c.text) << c.value << " @" << c.places;
}

TEST(NumberText, UsesTheRegionalDecimalSeparator) {
    EXPECT_EQ(numberText(-14.0391, 4, ","), "-14,0391");
    EXPECT_EQ(numberText(0.38, 4, ","), "0,38");
    EXPECT_EQ(numberText(20.00000001, 4, ","), "20");
    EXPECT_EQ(numberText(1.5, 3, "\u066B"), "1\u066B5");  // multi-byte separator
}

TEST(NumberText, NonFiniteValuesReadAsUnknown) {
    EXPECT_EQ(numberText(std::numeric_limits<double>::quiet_NaN(), 4), "?");
    EXPECT_EQ(numberText(-std::numeric_limits<double>::infinity(), 3), "?");
    EXPECT_EQ(numberText(std::numeric_limits<double>::max(), 4).size(), 309U);
}

// Of the fixed and the scientific form, the shorter; digits enough to read
// back the same double, no more.
TEST(Shortest, WritesTheShortestTextThatReadsBack) {
    const std::pair<double, const char*> cases[] = {
        {0.01, "0.01"},      {28.0, "28"},   {-0.5, "-0.5"},    {1e-28, "1e-28"}, {8.0 / 3.0, "2.6666666666666665"},
        {0.0, "0"},          {-0.0, "-0"},   {1e21, "1e+21"},   {120.0, "120"},   {0.0001, "1e-04"},
        {100000.0, "1e+05"}, {0.1 + 0.2, "0.30000000000000004"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(veltrano::shortest(v), text) << text;
}
