#include "equation_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace veltrano::equations;

namespace {

struct Refusal {
    const char* text;
    int line, column;
    const char* reason;  // a part of the message
};

void PrintTo(const Refusal& r, std::ostream* os) {
    *os << r.text;
}

class RefusedText : public testing::TestWithParam<Refusal> {};

// The refusal of a text; none if it is accepted.
std::optional<EquationError> refusal(const std::string& text) {
    try {
        (void)parseEquations(text);
    } catch (const EquationError& e) {
        return e;
    }
    return std::nullopt;
}

}  // namespace

TEST_P(RefusedText, NamesThePlaceAndTheReason) {
    const Refusal& r = GetParam();
    const std::optional<EquationError> e = refusal(r.text);
    ASSERT_TRUE(e) << "accepted";
    EXPECT_EQ(e->line(), r.line) << e->what();
    EXPECT_EQ(e->column(), r.column) << e->what();
    EXPECT_NE(e->reason().find(r.reason), std::string::npos) << e->what();
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedText,
    testing::Values(
        Refusal{"a = 1", 1, 1, "no equation"}, Refusal{"x' = ", 1, 6, "expected an expression"},
        Refusal{"x' = 1 +", 1, 9, "expected a number, a name or '('"}, Refusal{"x' = (x", 1, 8, "expected ')'"},
        Refusal{"x' = x)", 1, 7, "expected the end of the statement"},
        Refusal{"x' = 2 x", 1, 8, "expected the end of the statement"},
        Refusal{"x' = x $ 2", 1, 8, "unexpected character '$'"}, Refusal{"x' = \xc3\xa9", 1, 6, "only ASCII"},
        Refusal{"x' = 1\n  y' = q", 2, 8, "unknown name 'q'"}, Refusal{"x' = foo(x)", 1, 6, "unknown function 'foo'"},
        Refusal{"x' = sin", 1, 6, "sin is a function"}, Refusal{"x' = sin(x, x)", 1, 13, "sin takes 1 argument"},
        Refusal{"x' = atan2(x)", 1, 13, "atan2 takes 2 arguments"},
        Refusal{"x' = min(x, x, x)", 1, 16, "min takes 2 arguments"},
        Refusal{"x' = 1; x' = 2", 1, 9, "'x' is declared twice"}, Refusal{"x' = 1e999", 1, 6, "out of range"},
        Refusal{"x' = a\na = 1\na = 2", 3, 1, "declared twice (as a parameter; first on line 2)"},
        Refusal{"x' = 1\nx = 2", 2, 1, "is a variable and cannot also be a parameter"},
        Refusal{"x' = 1\ny(0) = 2", 2, 1, "'y' has no equation"},
        Refusal{"x' = 1\nx(0) = 2; x(0) = 3", 2, 11, "given twice"},
        Refusal{"x' = a\na = x", 2, 5, "'x' is not a constant: a default"},
        Refusal{"x' = a\na = 1\nb = a*2", 3, 5, "'a' is not a constant"},
        Refusal{"x' = a\na = 1\nx(0) = a", 3, 8, "a start must be a constant"},
        Refusal{"x' = x^y\ny' = 1", 1, 8, "power must be a constant whole number"},
        Refusal{"x' = x^0.5", 1, 8, "whole number"}, Refusal{"x' = x^65", 1, 8, "whole number from -64 to 64"},
        Refusal{"sin' = 1", 1, 1, "is a function or constant"}, Refusal{"pi = 3", 1, 1, "is a function or constant"},
        Refusal{"x(1) = 2; x' = 1", 1, 3, "a start is written x(0) = value"},
        Refusal{"x' = 1;;\n= 3", 2, 1, "expected an equation"}, Refusal{"x = = 1", 1, 5, "expected a number"},
        Refusal{"x'' = 1", 1, 3, "expected '='"}, Refusal{"x' = --", 1, 8, "expected a number"},
        Refusal{"x' = 1 # fine\ny' = x *\nz' = 2", 2, 9, "expected a number"},
        Refusal{"x' = 1 + # \xc3\xa9", 1, 13, "expected a number"},
        Refusal{"x' = b\nb = 8/0", 2, 1, "the default of 'b' is not a finite number"},
        Refusal{"x' = 1; x(0) = log(-1)", 1, 9, "the start of 'x' is not a finite number"}));

TEST(RefusedText, TooManyVariablesOrParameters) {
    for (const bool equations : {true, false}) {
        std::string text = "x' = 1\n";  // and 65 equations more, or 65 parameters
        for (int i = 0; i < 65; ++i) text += "v" + std::to_string(i) + (equations ? "' = 1\n" : " = 1\n");
        const std::optional<EquationError> e = refusal(text);
        ASSERT_TRUE(e) << equations;
        EXPECT_EQ(std::to_string(e->line()) + ":" + e->reason(),
                  equations ? "65:more than 64 variables" : "66:more than 64 parameters");
    }
}

// The message shows the line with a caret under the column, counted in
// characters; a CRLF line without its CR; the margin keeps the line's tabs.
TEST(RefusedText, TheMessageShowsTheLineAndACaret) {
    const std::pair<const char*, const char*> cases[] = {
        {"x' = 1\n  y' = \xc3\xa9 + q\n",
         "line 2, column 8: unexpected character (only ASCII is read)\n    y' = \xc3\xa9 + q\n         ^"},
        {"x' = $\r\ny' = 1", "line 1, column 6: unexpected character '$'\n  x' = $\n       ^"},
        {"x' =\t\ty +", "line 1, column 10: expected a number, a name or '(', found the end of the text\n"
                         "  x' =\t\ty +\n      \t\t   ^"},
    };
    for (const auto& [text, message] : cases) {
        const std::optional<EquationError> e = refusal(text);
        ASSERT_TRUE(e) << text;
        EXPECT_STREQ(e->what(), message);
    }
}

// Deep nesting and huge texts are refused, never a stack overflow.
TEST(RefusedText, DeepOrHugeTextsAreRefusedCleanly) {
    const std::string deep = std::string("x' = ").append(100000, '(').append("x").append(100000, ')');
    const std::string minus = std::string("x' = ").append(100000, '-').append("x");
    std::string sum = "x' = x";
    for (int i = 0; i < 20000; ++i) sum += "+x";
    std::string power = "x' = x";
    for (int i = 0; i < 20000; ++i) power += "^1";
    const std::string parentheses = std::string("x' = ").append(1000, '(').append("x").append(1000, ')');
    std::string widest = "x' = x";  // a sum of kMaxDepth terms is kMaxDepth deep: the deepest accepted
    for (int i = 1; i < kMaxDepth; ++i) widest += "+x";
    EXPECT_NO_THROW((void)parseEquations(widest));
    for (const std::string& text : {deep, minus, sum, power, parentheses, widest + "+x"}) {
        const std::optional<EquationError> e = refusal(text);
        ASSERT_TRUE(e) << text.size();
        EXPECT_NE(e->reason().find("nested deeper than"), std::string::npos) << e->reason();
    }
    std::string huge = std::string("x' = 1\n").append(kMaxTextBytes, '#');
    EXPECT_THROW((void)parseEquations(huge), EquationError);
    huge.resize(kMaxTextBytes);
    EXPECT_NO_THROW((void)parseEquations(huge));
}

// What is accepted: the order of evaluation as written, printed back with
// the parentheses it needs, the defaults and starts computed.
TEST(AcceptedText, PrintsBackWithItsOrder) {
    const struct {
        const char* text;
        const char* printed;
    } cases[] = {
        {"x' = sigma*(y - x); y' = R*x - y - x*z; z' = -b*z + x*y\nsigma = 10; R = 28; b = 8/3",
         "x' = sigma*(y - x)\ny' = R*x - y - x*z\nz' = -b*z + x*y\nsigma = 10\nR = 28\nb = 2.6666666666666665\n"
         "x(0) = 1\ny(0) = 1\nz(0) = 1\n"},
        {"x' = a - (b - c) / (d * e) * f  # comment\na=1;b=2;c=3;d=4;e=5;f=6\nx(0) = -2^2",
         "x' = a - (b - c)/(d*e)*f\na = 1\nb = 2\nc = 3\nd = 4\ne = 5\nf = 6\nx(0) = -4\n"},
        {"u' = -(u^-2)^3 + 2^-1*atan2(u, pi) - -u\r\nu(0) = .5e1",
         "u' = -(u^-2)^3 + 2^-1*atan2(u, 3.141592653589793) - -u\nu(0) = 5\n"},
        {"x' = x^64 - x^-64\nx(0) = 1e+2*3^0", "x' = x^64 - x^-64\nx(0) = 100\n"},
    };
    for (const auto& c : cases) {
        const Equations e = parseEquations(c.text);
        EXPECT_EQ(printEquations(e), c.printed);
        EXPECT_EQ(printEquations(parseEquations(printEquations(e))), c.printed);
        EXPECT_EQ(e.digest.size(), 64u);
    }
    EXPECT_EQ(parseEquations("x' = 1").digest, "6ea5488b92c17f863c37ae37f0ee1ed4f721fcb198ccabaee5b93a489966f99f");
}
