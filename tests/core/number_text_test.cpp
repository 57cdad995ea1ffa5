#include "number_text.h"

#include <gtest/gtest.h>

#include <limits>

using veltrano::numberText;

TEST(NumberText, RoundsHalvesToEvenInTheGeneralFormWithTheRegionalSeparator) {
    const struct {
        double value;
        int places;
        const char* separator;
        const char* text;
    } cases[] = {
        {0.03125, 4, ".", "0.0312"},       // exact binary tie, down to even
        {0.09375, 4, ".", "0.0938"},       // exact binary tie, up to even
        {0.00005, 4, ".", "0.0001"},       // not a tie: the double lies above 5e-5
        {0.0015, 3, ".", "0.002"},         // just above the tie
        {0.3841234, 4, ".", "0.3841"},     {-14.039, 4, ".", "-14.039"},  // no trailing zero
        {20.000000000000611, 4, ".", "20"},  // drift vanishes, no separator left
        {0.5, 4, ".", "0.5"},              {2.0004999, 3, ".", "2"},
        {-0.00004, 4, ".", "0"},           {-0.0, 3, ".", "0"},  // never "-0"
        {1234567.25, 4, ".", "1234567.25"},  // no group separators
        {1e20, 4, ".", "100000000000000000000"},
        {-14.0391, 4, ",", "-14,0391"},    {0.38, 4, ",", "0,38"},   {20.00000001, 4, ",", "20"},
        {1.5, 3, "\u066B", "1\u066B5"},  // multi-byte separator
        {std::numeric_limits<double>::quiet_NaN(), 4, ".", "?"},
        {-std::numeric_limits<double>::infinity(), 3, ".", "?"},
    };
    for (const auto& c : cases) EXPECT_EQ(numberText(c.value, c.places, c.separator), c.text) << c.value << " @" << c.places;
    EXPECT_EQ(numberText(0.2, 4), "0.2") << "the point by default";
    EXPECT_EQ(numberText(std::numeric_limits<double>::max(), 4).size(), 309U);
}

// Of the fixed and the scientific form, the shorter; digits enough to read
// back the same double, no more.
TEST(Shortest, WritesTheShortestTextThatReadsBack) {
    const std::pair<double, const char*> cases[] = {
        {0.01, "0.01"},   {28.0, "28"},     {-0.5, "-0.5"},     {1e-28, "1e-28"}, {8.0 / 3.0, "2.6666666666666665"},
        {0.0, "0"},       {-0.0, "-0"},     {1e21, "1e+21"},    {120.0, "120"},   {0.0001, "1e-04"},
        {100000.0, "1e+05"}, {0.1 + 0.2, "0.30000000000000004"},
    };
    for (const auto& [v, text] : cases) EXPECT_EQ(veltrano::shortest(v), text) << text;
}
