// The sweep files of flows of the catalogue: rows written and read back
// strictly, files written, continued, split and joined, and the files of
// other sweeps refused before anything is written.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "scratch_folder.h"
#include "shard_join.h"
#include "sweep_file_fixture.h"
#include "system_sweep_examination.h"
#include "system_sweep_file_writer.h"

using namespace veltrano;
using namespace veltrano::testing;

namespace {

// A grid of `name` varying its first and last parameters, a short run of k
// exponents from its default start.
SystemSweep sweepOf(const char* name, std::size_t dimension, std::size_t k, bool errors = false) {
    SystemSweep sweep{findSystem(name, dimension).value(), {}, {}};
    for (const ParameterDescription& p : sweep.system.parameters) sweep.grid.base.push_back(p.value);
    const std::size_t last = sweep.grid.base.size() - 1;
    sweep.grid.axes[0] = {0, sweep.grid.base[0], sweep.grid.base[0] * 1.5, 4, {}};
    sweep.grid.axes[1] = {last, sweep.grid.base[last] * 0.8, sweep.grid.base[last], 5, {}};
    sweep.grid.axisCount = last > 0 ? 2 : 1;
    sweep.run = {.intervals = 6, .initial = sweep.system.start, .exponents = k, .errors = errors, .batch = 1};
    return sweep;
}

// The whole file of the sweep as the points computed alone make it.
std::string wholeFile(const SystemSweep& sweep) {
    const SystemSweepForm form = formOf(sweep);
    std::string text = systemSweepHeader(form) + '\n';
    std::vector<std::vector<double>> points;
    for (std::int64_t i = 0; i < sweep.grid.size(); ++i) points.push_back(sweep.grid.pointAt(i));
    const auto results = runSystemPointList(sweep.system.name, sweep.system.dimension, SimdPath::Lanes128, sweep.run, points);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const SystemSweepPoint p{static_cast<std::int64_t>(i), points[i], results[i]};
        text += systemSweepRow(form, p, systemPointStatus(sweep, p)) + '\n';
    }
    return text;
}

SystemSweepFileJob jobOf(const SystemSweep& sweep, const std::string& output, bool resume = false) {
    return {.sweep = sweep, .output = output, .resume = resume, .shard = {}, .threads = 2};
}

SystemSweepPoint okSystemPoint() {
    SystemSweepPoint p{12, {0.25, 0.2, 5.75}, {}};
    p.result = {.completed = true, .t = 40, .exponents = 2, .expo = {0.0714, -0.000125}, .intervals = 200,
                .errorsKnown = true, .halfWidth = {0.01, 0.0025}, .meanDivergence = -5.125};
    return p;
}

}  // namespace

TEST(SystemSweepRows, HeaderAndEveryKindOfRowReadBackAndNoOtherRow) {
    SystemSweepForm form{"rossler", {"a", "b", "c"}, 2, false};
    EXPECT_EQ(systemSweepHeader(form), "index,system,a,b,c,t,lambda1,lambda2,kaplan_yorke,divergence,status");
    form.errors = true;
    EXPECT_EQ(systemSweepHeader(form), "index,system,a,b,c,t,lambda1,lambda2,kaplan_yorke,divergence,status,"
                                       "intervals,lambda1_err,lambda2_err");
    SystemSweepPoint fault = okSystemPoint();
    fault.result.completed = false;
    EXPECT_EQ(systemSweepRow(form, fault, PointStatus::Error), "12,rossler,0.25,0.20000000000000001,5.75,40,,,,,error,200,,");
    for (const bool errors : {false, true})
        for (const auto& [point, status] : {std::pair{okSystemPoint(), PointStatus::Ok}, std::pair{fault, PointStatus::Error}}) {
            form.errors = errors;
            const std::string line = systemSweepRow(form, point, status);
            PointStatus read{};
            const auto back = parseSystemSweepRow(form, line, &read);
            ASSERT_TRUE(back) << line;
            EXPECT_EQ(read, status);
            EXPECT_EQ(systemSweepRow(form, *back, read), line);
            const std::string header = systemSweepHeader(form);
            const auto found = formFromHeader(header, line);
            ASSERT_TRUE(found);
            EXPECT_EQ(systemSweepHeader(*found), header);
            EXPECT_EQ(found->system, "rossler");
        }
    EXPECT_FALSE(formFromHeader("index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status", "0,1,2,3,4,,,,,error"));

    // Rows this program never writes are refused (the form left with error bars).
    const std::string good = systemSweepRow(form, okSystemPoint(), PointStatus::Ok);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        const std::size_t at = good.find(from);
        return good.substr(0, at) + to + good.substr(at + from.size());
    };
    const std::string bad[] = {
        replaced("rossler", "chen"),                // another flow
        replaced(",40,", ",nan,"),                  // t not finite
        replaced(",ok,", ",fine,"),                 // a status never written
        replaced(",-5.125,", ",,"),                 // no divergence
        replaced(",2,-5.125,", ",1.5,-5.125,"),     // a Kaplan-Yorke dimension not that of the exponents
        replaced(",0.01,", ",-,"),                  // a half-width that is no number
        good + ",",                                 // a field too many
        good.substr(0, good.rfind(',')),            // a field too few
    };
    for (const std::string& line : bad) EXPECT_FALSE(parseSystemSweepRow(form, line)) << line;
    // An error row keeps no numbers.
    const std::string faultLine = systemSweepRow(form, fault, PointStatus::Error);
    EXPECT_FALSE(parseSystemSweepRow(form, faultLine.substr(0, faultLine.size() - 1) + "0.5"));

    // The reader reads rows from index 0 in order and names the first that is not, or a row of another flow.
    const std::string first = systemSweepRow(form, {0, {1, 2, 3}, okSystemPoint().result}, PointStatus::Ok) + '\n';
    for (const auto& [second, says] :
         {std::pair{good,
                    "is not row 1 of a sweep of rossler (a sweep's file, whole or with its shards joined, starts "
                    "at index 0)"},
          std::pair{replaced("12,rossler", "1,chen"), "is a row of a sweep of chen, not of rossler"}}) {
        std::istringstream rows(first + second + '\n');
        SystemSweepRowReader reader(rows, form, "f.csv");
        EXPECT_TRUE(reader.next());
        EXPECT_FALSE(reader.next());
        EXPECT_EQ(reader.error(), std::string("f.csv line 3 ") + says);
    }
}

// Lorenz keeps its trace check; the other flows check the exponents' sum
// against the mean divergence.
TEST(SystemSweepRows, TheStatusOfLorenzIsItsTraceCheck) {
    SystemSweepPoint p{0, {10, 28, 2.6666666666666665}, {.completed = true, .t = 100, .exponents = 3, .expo = {0.9, 0, -14.57}}};
    EXPECT_EQ(systemPointStatus(sweepOf("lorenz", 3, 3), p), PointStatus::Ok);
    EXPECT_EQ(systemPointStatus(sweepOf("chen", 3, 3), p), PointStatus::Inconsistent);  // the divergence is 0
    p.result.meanDivergence = 0.9 - 14.57;
    EXPECT_EQ(systemPointStatus(sweepOf("chen", 3, 3), p), PointStatus::Ok);
    p.result.expo[2] = -3;  // far from the trace -(sigma + 1 + b) and from the divergence
    EXPECT_EQ(systemPointStatus(sweepOf("lorenz", 3, 3), p), PointStatus::Inconsistent);
    p.result.completed = false;
    EXPECT_EQ(systemPointStatus(sweepOf("chen", 3, 3), p), PointStatus::Error);
}

// The file is the points computed alone, whole, continued from any cut, or
// split into shards and joined, byte for byte.
TEST(SystemSweepFile, WrittenContinuedAndJoinedItIsThePointsComputedAlone) {
    for (const auto& sweep : {sweepOf("rossler", 3, 2, true), sweepOf("lorenz96", 5, 5)}) {
        ScratchFolder folder;
        const std::string path = folder / "s.csv";
        const std::string whole = wholeFile(sweep);
        std::int64_t rows = 0;
        SweepFileEventsOf<SystemSweepPoint> events;
        events.row = [&](const SystemSweepPoint& p) { EXPECT_EQ(p.index, rows++); };
        EXPECT_EQ(messageOf(writeSystemSweepFile(jobOf(sweep, path), events)), "");
        EXPECT_EQ(readText(path), whole);
        EXPECT_EQ(rows, sweep.grid.size());

        for (const std::size_t cut : {std::size_t{0}, std::size_t{20}, whole.size() / 2, whole.size() - 1}) {
            std::filesystem::remove(path);
            writeText(path, whole.substr(0, cut));
            EXPECT_EQ(messageOf(writeSystemSweepFile(jobOf(sweep, path, true), {})), "") << cut;
            EXPECT_EQ(readText(path), whole) << cut;
        }

        for (std::int64_t k = 1; k <= 3; ++k) {
            SystemSweepFileJob job = jobOf(sweep, folder / ("part" + std::to_string(k) + ".csv"));
            job.shard = {{k, 3}};
            EXPECT_EQ(messageOf(writeSystemSweepFile(job, {})), "");
        }
        const auto joined = joinSystemShards({sweep, 3, folder / "part{K}.csv"}, folder / "joined.csv", 2);
        EXPECT_FALSE(joined) << joined->messages.front();
        EXPECT_EQ(readText(folder / "joined.csv"), whole);

        // A last row forged in its form (another divergence, the field before its status) is refused.
        std::string forged = whole;
        const std::size_t status = forged.rfind(",ok"), divergence = forged.rfind(',', status - 1) + 1;
        ASSERT_GT(status, whole.rfind('\n', whole.size() - 2));
        forged.replace(divergence, status - divergence, "-1.5");
        std::filesystem::remove(path);
        writeText(path, forged);
        const std::string message = messageOf(writeSystemSweepFile(jobOf(sweep, path, true), {}));
        EXPECT_NE(message.find("(row " + std::to_string(sweep.grid.size() - 1) + " "), std::string::npos) << message;
        EXPECT_EQ(readText(path), forged);
    }
}

// A file of another K, or with an empty line, is refused, naming both, and
// left as it was (another flow's and the Lorenz form's: in the command-line checks).
TEST(SystemSweepFile, TheFilesOfOtherSweepsAreRefusedNamingBoth) {
    ScratchFolder folder;
    const SystemSweep lu = sweepOf("lu", 3, 3);
    const std::string own = wholeFile(lu);
    const std::size_t secondRow = own.find('\n', own.find('\n') + 1) + 1;
    const struct {
        std::string text, says;
    } cases[] = {
        {own.substr(0, secondRow) + '\n' + own.substr(secondRow), "row 1 is an empty line"},
        {wholeFile(sweepOf("lu", 3, 2)), "its columns are not those of this sweep of lu: it has "
                                         "index,system,a,b,c,t,lambda1,lambda2,kaplan_yorke,divergence,status; this "
                                         "sweep has index,system,a,b,c,t,lambda1,lambda2,lambda3,kaplan_yorke,divergence,status"},
    };
    for (const auto& c : cases) {
        const std::string path = folder / "other.csv";
        std::filesystem::remove(path);
        writeText(path, c.text);
        EXPECT_EQ(messageOf(writeSystemSweepFile(jobOf(lu, path, true), {})),
                  "refused: " + path + " is not the output of this sweep (" + c.says + ")");
        EXPECT_EQ(readText(path), c.text);
        // A shard of it is refused by the join alike, nothing written.
        std::filesystem::copy_file(path, folder / "p1.csv", std::filesystem::copy_options::overwrite_existing);
        const auto joined = joinSystemShards({lu, 1, folder / "p{K}.csv"}, folder / "j.csv", 1);
        ASSERT_TRUE(joined);
        EXPECT_NE(joined->messages.front().find(c.says), std::string::npos) << joined->messages.front();
        EXPECT_FALSE(std::filesystem::exists(folder / "j.csv"));
    }
}
