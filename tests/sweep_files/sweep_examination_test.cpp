#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <sstream>

#include "descriptor_stream.h"
#include "row_sample.h"
#include "sweep_examination.h"
#include "sweep_file_fixture.h"

using namespace veltrano;
using namespace veltrano::testing;

namespace {

std::variant<ExaminedFile, ExaminationRefusal> examine(const std::string& text, const SweepGrid& grid,
                                                       IndexRange range, const RunSettings& run) {
    std::istringstream in(text);
    return examineSweepFile(in, "s.csv", grid, range, run);
}

std::string refusalOf(const std::variant<ExaminedFile, ExaminationRefusal>& result) {
    const auto* why = std::get_if<ExaminationRefusal>(&result);
    return why ? why->message : std::string();
}

// The positions a sample of n rows takes.
std::set<std::int64_t> sampledPositions(std::int64_t n) {
    RowSample<std::int64_t> sample;
    for (std::int64_t i = 0; i < n; ++i) sample.offer(i);
    const auto rows = sample.rows();
    return {rows.begin(), rows.end()};
}

// Row `line` with its result changed and written again (the status and the
// Kaplan-Yorke dimension to match): well-formed, wrong.
template <class Change>
std::string rewritten(const std::string& line, bool errors, Change change) {
    auto p = parseSweepRow(line, errors);
    EXPECT_TRUE(p && p->result.completed);
    change(p->result);
    return sweepRow(*p, shortRun(errors));
}

class Examination : public ::testing::Test {
protected:
    static void SetUpTestSuite() { rows_ = sweepLines(lineOfR(1000), {0, 100}, shortRun()); }
    static std::vector<std::string> rows_;
    const SweepGrid grid_ = lineOfR(1000);
    const RunSettings run_ = shortRun();
    const std::string header_ = sweepHeader(false);
};
std::vector<std::string> Examination::rows_;

}  // namespace

TEST(RowSample, SpreadsAtLeastSeventeenRowsOverThoseOfferedAndKeepsTheLast) {
    for (std::int64_t n = 1; n <= 2000; n += (n < 300 ? 1 : 97)) {
        const auto at = sampledPositions(n);
        EXPECT_GE(static_cast<std::int64_t>(at.size()), std::min<std::int64_t>(n, 17)) << n;
        EXPECT_LE(at.size(), 35U) << n;
        EXPECT_TRUE(at.count(0)) << n;
        EXPECT_TRUE(at.count(n - 1)) << n;
        // One stride between the sampled rows (the last apart).
        std::vector<std::int64_t> v(at.begin(), at.end());
        for (std::size_t i = 2; i + 1 < v.size(); ++i) EXPECT_EQ(v[i] - v[i - 1], v[1] - v[0]) << n;
        // Spread over all of them: no stretch without a sample longer than
        // an eighth of the rows (plus one).
        for (std::size_t i = 1; i < v.size(); ++i) EXPECT_LE(v[i] - v[i - 1], n / 8 + 1) << n;
    }
}

TEST_F(Examination, APartialFileIsAcceptedWithItsRowsAndBytes) {
    const std::string text = fileOf(header_, rows_) + rows_[0].substr(0, 9);
    std::vector<std::int64_t> accepted;
    std::istringstream in(text);
    const auto result = examineSweepFile(in, "s.csv", grid_, {0, 1000}, run_,
                                         [&](const SweepPoint& p) { accepted.push_back(p.index); });
    ASSERT_TRUE(std::holds_alternative<ExaminedFile>(result)) << refusalOf(result);
    const ExaminedFile& f = std::get<ExaminedFile>(result);
    EXPECT_TRUE(f.hasHeader);
    EXPECT_EQ(f.nextIndex, 100);
    EXPECT_EQ(f.totalBytes, text.size());
    EXPECT_EQ(f.keepBytes, text.size() - 9);
    ASSERT_EQ(accepted.size(), 100U);
    EXPECT_EQ(accepted.back(), 99);

    // Nothing yet, or an unfinished header: a start with nothing to keep.
    for (const std::string& start : {std::string(), header_.substr(0, 10)}) {
        const auto empty = examine(start, grid_, {0, 1000}, run_);
        ASSERT_TRUE(std::holds_alternative<ExaminedFile>(empty)) << refusalOf(empty);
        EXPECT_FALSE(std::get<ExaminedFile>(empty).hasHeader);
        EXPECT_EQ(std::get<ExaminedFile>(empty).keepBytes, 0U);
        EXPECT_EQ(std::get<ExaminedFile>(empty).nextIndex, 0);
    }
}

TEST_F(Examination, AForgedRowIsRefusedAtEverySampledPositionAndTheLast) {
    const auto sampled = sampledPositions(100);
    for (std::int64_t at = 0; at < 100; ++at) {
        auto rows = rows_;
        rows[static_cast<std::size_t>(at)] = rewritten(
            rows[static_cast<std::size_t>(at)], false, [](auto& r) { r.expo[0] = std::nextafter(r.expo[0], 1e9); });
        const std::string why = refusalOf(examine(fileOf(header_, rows), grid_, {0, 1000}, run_));
        if (sampled.count(at)) {
            EXPECT_EQ(why, "s.csv is not the output of this sweep (row " + std::to_string(at) +
                               " differs from what it computes)");
        } else {
            EXPECT_EQ(why, "") << at;  // caught only by a recomputation that was not made
        }
    }
}

TEST_F(Examination, FilesThatAreNotThisSweepsAreRefusedSayingWhy) {
    const std::string foreign = "s.csv is not the output of this sweep (";
    const std::string noHeader = "its first line is not the header of this sweep)";
    std::string offTrace = rewritten(rows_[45], false, [](auto& r) { r.expo[0] += 5; });
    offTrace.replace(offTrace.rfind(',') + 1, std::string::npos, "ok");
    const auto with = [&](std::size_t at, const std::string& line) {
        auto rows = rows_;
        rows[at] = line;
        return fileOf(header_, rows);
    };
    const auto otherGrid = sweepLines(lineOfR(999), {0, 100}, run_);
    const struct {
        const char* what;
        std::string text;
        IndexRange range;
        std::string message;
    } cases[] = {
        {"the header with error bars", fileOf(sweepHeader(true), rows_), {0, 1000}, noHeader},
        {"an unfinished line that is no header", "index,sigma,x", {0, 1000}, noHeader},
        {"a row of another grid", with(60, otherGrid[60]), {0, 1000}, "row 60 does not belong to it)"},
        {"a row of another form", with(20, rows_[20] + " "), {0, 1000}, "row 20 does not belong to it)"},
        {"a row too long to be one", with(20, std::string(5000, '1')), {0, 1000}, "row 20 does not belong to it)"},
        {"a row marked ok off the trace", with(45, offTrace), {0, 1000}, "row 45 says ok where its numbers are inconsistent)"},
        {"one row more than the shard", fileOf(header_, {rows_.begin(), rows_.begin() + 81}), {0, 80}, "it has more rows than this sweep)"},
        {"a header and more, unfinished", header_ + ",", {0, 1000}, noHeader},
        {"rows of another shard", fileOf(header_, rows_), {10, 200}, "row 10 does not belong to it)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(refusalOf(examine(c.text, grid_, c.range, run_)), foreign + c.message) << c.what;
}

TEST(ExaminationOfAFolder, AFileThatCannotBeReadIsNotTakenForAnEmptyOne) {
    const int fd = ::open("/", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    DescriptorStream in(fd);
    const auto result = examineSweepFile(in, "/", lineOfR(3), {0, 3}, shortRun());
    ::close(fd);
    ASSERT_TRUE(std::holds_alternative<ExaminationRefusal>(result));
    EXPECT_EQ(std::get<ExaminationRefusal>(result).why, ExaminationRefusal::Why::Unreadable);
    EXPECT_EQ(refusalOf(result), "cannot read /");
    EXPECT_TRUE(in.readFailed());
}

// Rows of faulted points have their own time and intervals; every completed
// row has the run's intervals.
TEST(ExaminationWithErrorBars, FaultedRowsHaveTheirOwnTimeCompletedOnesTheRunsIntervals) {
    const SweepGrid grid{
        .base = {10, 28, 2.6667}, .axes = {{{SweepParameter::Sigma, 150, 400, 6, {}}}}, .axisCount = 1};
    const RunSettings run{.intervals = 30, .errors = true, .batch = 1};
    auto rows = sweepLines(grid, {0, 6}, run);
    const auto fault = [](const std::string& row) { return row.find(",error,") != std::string::npos; };
    ASSERT_GT(std::count_if(rows.begin(), rows.end(), fault), 0);
    const auto completed = std::find_if_not(rows.begin(), rows.end(), fault);
    ASSERT_NE(completed, rows.end());
    EXPECT_EQ(refusalOf(examine(fileOf(sweepHeader(true), rows), grid, {0, 6}, run)), "");
    *completed = rewritten(*completed, true, [&](auto& r) { r.intervals = run.intervals - 1; });
    const auto result = examine(fileOf(sweepHeader(true), rows), grid, {0, 6}, run);
    ASSERT_TRUE(std::holds_alternative<ExaminationRefusal>(result));
    EXPECT_EQ(std::get<ExaminationRefusal>(result).why, ExaminationRefusal::Why::Inconsistent);
    EXPECT_EQ(std::get<ExaminationRefusal>(result).index, completed - rows.begin());
}
