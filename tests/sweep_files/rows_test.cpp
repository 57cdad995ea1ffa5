#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "csv_fields.h"
#include "history_file_rows.h"
#include "line_reader.h"
#include "sweep_rows.h"

using namespace veltrano;

namespace {

SweepPoint okPoint() {
    return {7,
            {10, 28.25, 2.6666999999999998},
            {.completed = true,
             .t = 200,
             .expo = {0.90563, 0.0012, -14.57},
             .intervals = 1000,
             .errorsKnown = true,
             .halfWidth = {0.01, 0.002, 0.03}}};
}

SweepPoint errorPoint() {
    return {3, {400, 28, 2.6667}, {.t = 1.25, .intervals = 6}};
}

RunSettings withErrors(bool errors) {
    return {.errors = errors};
}

}  // namespace

TEST(CsvFields, WholeNumbersAndNumbersOnlyInTheDigitsThisProgramWrites) {
    EXPECT_EQ(csvFields("a,,b,"), (std::vector<std::string_view>{"a", "", "b", ""}));
    EXPECT_EQ(csvFields(""), (std::vector<std::string_view>{""}));
    EXPECT_EQ(wholeField("120"), 120);
    EXPECT_EQ(wholeField("-3"), -3);
    for (const char* bad : {"", "+1", "01", " 1", "1 ", "1.0", "99999999999999999999", "x"})
        EXPECT_FALSE(wholeField(bad)) << bad;
    EXPECT_EQ(numberField("0.5"), 0.5);
    EXPECT_EQ(numberField("1.7976931348623157e+308"), std::numeric_limits<double>::max());
    for (const char* bad : {"", "nan", "inf", "-inf", "1.8e308", "0.50", "+0.5", ".5", "5e-1", "0.5 ", "0x1p1"})
        EXPECT_FALSE(numberField(bad)) << bad;
}

TEST(SweepRows, EveryKindOfRowReadsBackAsItsPoint) {
    for (bool errors : {false, true}) {
        for (SweepPoint p : {okPoint(), errorPoint()}) {
            for (bool known : {true, false}) {
                p.result.errorsKnown = known && p.result.completed;
                const std::string line = sweepRow(p, withErrors(errors));
                const auto back = parseSweepRow(line, errors);
                ASSERT_TRUE(back) << line;
                // Every field read is written again: a field misread changes the line.
                EXPECT_EQ(sweepRow(*back, withErrors(errors)), line);
                // The other header's columns are refused.
                EXPECT_FALSE(parseSweepRow(line, !errors)) << line;
            }
        }
    }
    EXPECT_EQ(sweepRow(errorPoint(), withErrors(false)), "3,400,28,2.6667000000000001,1.25,,,,,error");
    EXPECT_EQ(sweepHeader(false), "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status");
    EXPECT_EQ(sweepHeader(true), std::string(kSweepHeader) + ",intervals,lambda1_err,lambda2_err,lambda3_err");
}

TEST(SweepRows, TheStatusIsTheTraceChecksAndReadsBack) {
    SweepPoint p = okPoint();
    // Exponents that add up to the trace -(σ + 1 + b) within a short run's
    // tolerance, and ones far off it.
    p.result.expo = {0.5, 0.0, -(p.parameters.sv + 1 + p.parameters.bv) - 0.5};
    const RunSettings run = withErrors(false);
    SweepPoint off = p;
    off.result.expo[0] += 3;
    const struct {
        SweepPoint point;
        PointStatus status;
        const char* word;
    } cases[] = {{p, PointStatus::Ok, ",ok"}, {off, PointStatus::Inconsistent, ",inconsistent"},
                 {errorPoint(), PointStatus::Error, ",error"}};
    for (const auto& c : cases) {
        const std::string line = sweepRow(c.point, run);
        EXPECT_EQ(line.substr(line.rfind(',')), c.word);
        PointStatus read = PointStatus::Ok;
        ASSERT_TRUE(parseSweepRow(line, false, &read)) << line;
        EXPECT_EQ(read, c.status) << line;
    }
    // Another status of the same numbers is still a row some run writes.
    std::string marked = sweepRow(off, run);
    marked.replace(marked.rfind(',') + 1, std::string::npos, "ok");
    PointStatus read = PointStatus::Inconsistent;
    EXPECT_TRUE(parseSweepRow(marked, false, &read));
    EXPECT_EQ(read, PointStatus::Ok);
    const std::string error = sweepRow(errorPoint(), run);
    EXPECT_FALSE(parseSweepRow(error.substr(0, error.size() - 5) + "inconsistent", false));
}

TEST(SweepRows, RowsThisProgramNeverWritesAreRefused) {
    const std::string ok = sweepRow(okPoint(), withErrors(false));
    const std::string error = sweepRow(errorPoint(), withErrors(false));
    const std::string ky = ok.substr(0, ok.rfind(',', ok.size() - 4) + 1);  // up to the dimension
    const struct {
        const char* what;
        std::string line;
    } cases[] = {
        {"a changed dimension", ky + "2.5,ok"},
        {"an unknown status", ok.substr(0, ok.size() - 2) + "fine"},
        {"ok without exponents", error.substr(0, error.size() - 5) + "ok"},
        {"a field missing", ok.substr(ok.find(',') + 1)},
        {"a field too many", ok + ","},
        {"nan", "3,400,28,2.6667000000000001,nan,,,,,error"},
        {"a line with its newline", error + "\n"},
        {"empty", ""},
    };
    ASSERT_TRUE(parseSweepRow(error, false));
    for (const auto& c : cases) EXPECT_FALSE(parseSweepRow(c.line, false)) << c.what << ": " << c.line;
    const std::string full = sweepRow(okPoint(), withErrors(true));
    const std::string twoWidths = full.substr(0, full.rfind(',')) + ",";
    EXPECT_FALSE(parseSweepRow(twoWidths, true)) << "two of three half-widths";
    const std::string fault = sweepRow(errorPoint(), withErrors(true));
    EXPECT_FALSE(parseSweepRow(fault.substr(0, fault.size() - 3) + ",0.5,0.5,0.5", true)) << "a fault with half-widths";
}

TEST(HistoryRows, RowsReadBackInOrder) {
    for (bool errors : {false, true}) {
        std::string text;
        const HistoryRow rows[] = {{1, 0.2, {1.5, 0.25, -13}, std::nullopt},
                                   {20, 4, {0.9, 0.001, -14.5}, Triple{0.1, 0.2, 0.3}},
                                   {21, 4.2000000000000002, {0.9, 0.001, -14.5}, std::nullopt}};
        for (const HistoryRow& r : rows) text += historyRow(r, errors) + '\n';
        std::istringstream in(text);
        HistoryReader reader(in, errors, "h.csv");
        for (const HistoryRow& r : rows) {
            const auto got = reader.next();
            ASSERT_TRUE(got) << reader.error();
            EXPECT_EQ(historyRow(*got, errors), historyRow(r, errors));
        }
        EXPECT_FALSE(reader.next());
        EXPECT_EQ(reader.error(), "");
    }
    EXPECT_EQ(historyRow({3, 0.5, {1, 2, 3}, std::nullopt}, true), "3,0.5,1,2,3,,,");
}

// A line of the limit's length is a line, one byte more is too long. (The
// rest of what the reader tells: through the files' readers.)
TEST(LineReader, MemoryStaysBounded) {
    std::istringstream exact("12345678\n123456789\n");
    LineReader limited(exact, 8);
    std::string line;
    EXPECT_EQ(limited.next(line), LineReader::Got::Line);
    EXPECT_EQ(limited.next(line), LineReader::Got::TooLong);
    EXPECT_EQ(line.size(), 8U);
}

// The history of a flow: its rows read back as written, for any k, with
// and without error bars.
TEST(SystemHistoryRows, RowsReadBackInOrder) {
    const struct {
        const char* system;
        std::size_t k;
        bool errors;
    } cases[] = {{"rossler", 3, false}, {"rossler", 3, true}, {"lorenz96:8", 2, true}, {"lorenz96:8", 5, false}};
    for (const auto& c : cases) {
        std::vector<SystemHistoryRow> rows;
        for (std::int64_t i = 1; i <= 3; ++i) {
            SystemHistoryRow r{i * 7, 0.1 * static_cast<double>(i * 7), {}, std::nullopt};
            for (std::size_t j = 0; j < c.k; ++j) r.expo.push_back(1.0 / 3 - static_cast<double>(j + i));
            if (c.errors && i > 1) r.halfWidth = std::vector<double>(c.k, 0.125 * static_cast<double>(i));
            rows.push_back(r);
        }
        std::string text;
        for (const SystemHistoryRow& r : rows) text += systemHistoryRow(r, c.system, c.errors) + '\n';
        std::istringstream in(text);
        SystemHistoryReader reader(in, c.system, c.k, c.errors, "h.csv");
        for (const SystemHistoryRow& r : rows) {
            const auto got = reader.next();
            ASSERT_TRUE(got) << c.system << ' ' << c.k << ": " << reader.error();
            EXPECT_EQ(*got, r);
        }
        EXPECT_FALSE(reader.next());
        EXPECT_EQ(reader.error(), "");
    }
    EXPECT_EQ(systemHistoryHeader(2, true), "interval,system,t,lambda1,lambda2,lambda1_err,lambda2_err");
    EXPECT_EQ(systemHistoryHeader(4, false), "interval,system,t,lambda1,lambda2,lambda3,lambda4");
    EXPECT_EQ(systemHistoryRow({3, 0.5, {1, -2}, std::nullopt}, "lorenz96:4", true), "3,lorenz96:4,0.5,1,-2,,");
    EXPECT_EQ(systemHistoryRow({3, 0.5, {1, -2}, std::vector<double>{0.25, 1}}, "chen", true), "3,chen,0.5,1,-2,0.25,1");
}

// A history's corrupted rows, each refused naming its line: a flow's (read
// for rossler, k = 2) and the Lorenz form's, read by the same rules.
TEST(SystemHistoryRows, EachCorruptedRowIsRefusedWithItsLine) {
    const std::string good = "1,rossler,0.20000000000000001,1.5,-13\n";
    const struct {
        const char* what;
        std::string text;
        const char* message;
        bool errors = false;
        bool lorenz = false;  // the Lorenz form, without the field of the flow
    } cases[] = {
        {"another flow", "1,chen,0.5,1.5,-13\n", "line 2 is a row of the history of chen, not of rossler"},
        {"another dimension", "1,rossler:4,0.5,1.5,-13\n", "line 2 is a row of the history of rossler:4, not of rossler"},
        {"the Lorenz form", "1,0.5,1.5,-13,2\n", "line 2 is not a row of a history of rossler"},
        {"an exponent more", "1,rossler,0.5,1.5,-13,2\n", "line 2 is not a row"},
        {"an exponent less", "1,rossler,0.5,1.5\n", "line 2 is not a row"},
        {"t of 0", "1,rossler,0,1.5,-13\n", "line 2 is not a row"},
        {"digits no run writes", "1,rossler,0.50,1.5,-13\n", "line 2 is not a row"},
        {"more than a logarithm per interval", "1,rossler,1,746,0\n", "line 2 is not a row"},
        {"a repeated interval", good + good, "line 3 does not follow"},
        {"a repeated t", good + "2,rossler,0.20000000000000001,1,1\n", "line 3 does not follow"},
        {"an unfinished line", good + "2,rossler,0.4", "line 3 is unfinished"},
        {"no half-widths", "1,rossler,0.5,1,1\n", "line 2 is not a row", true},
        {"one of two half-widths", "1,rossler,0.5,1,1,,1\n", "line 2 is not a row", true},
        {"a negative half-width", "1,rossler,0.5,1,1,-0.5,1\n", "line 2 is not a row", true},
        {"nan", "1,rossler,0.5,1,1,nan,1\n", "line 2 is not a row", true},
        {"t below 0", "1,-0.5,1.5,0.25,-13\n", "line 2 is not a row", false, true},
        {"the most negative double", "1,0.5,1,-1.7976931348623157e+308,-13\n", "line 2 is not a row", false, true},
        {"interval 0 with exponents of 0", "0,0.5,0,0,0\n", "line 2 is not a row", false, true},
        {"a repeated interval at a later t", "1,0.20000000000000001,1.5,0.25,-13\n1,0.40000000000000002,1,1,1\n",
         "line 3 does not follow", false, true},
        {"a long line", std::string(5000, '1'), "line 2 is longer than any line", false, true},
    };
    const auto errorOf = [](auto&& reader) {
        while (reader.next()) {
        }
        return reader.error();
    };
    for (const auto& c : cases) {
        std::istringstream in(c.text);
        const std::string error = c.lorenz ? errorOf(HistoryReader(in, c.errors, "h.csv"))
                                           : errorOf(SystemHistoryReader(in, "rossler", 2, c.errors, "h.csv"));
        EXPECT_NE(error.find(std::string("h.csv ") + c.message), std::string::npos) << c.what << ": " << error;
    }
}
