// The research options in the batched engine against the window's
// experiment (time per point and per step), the cost of error bars, lane
// occupancy with a target error, and the start-up of a one-run process
// against the smallest C++ program.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

#include "batched_exponents.h"
#include "sweep_runner.h"

extern char** environ;

namespace {

using namespace veltrano;

constexpr std::int64_t kPoints = 128;

std::vector<FlowParameters> line(double from, double to, std::int64_t count) {
    SweepGrid grid;
    grid.base = {10, 28, 2.6667};
    grid.axes[0] = {SweepParameter::R, from, to, count, {}};
    grid.axisCount = 1;
    std::vector<FlowParameters> points;
    for (std::int64_t i = 0; i < count; ++i) points.push_back(grid.pointAt(i));
    return points;
}

// Each option changes the experiment but not the number of steps: 9999
// intervals of 20 steps, or the same steps cut differently.
RunSettings option(int which) {
    RunSettings s;
    s.intervals = 9999;
    switch (which) {
        case 1:  // a transient of 999 intervals and 9000 measured
            s.transient = 999;
            s.intervals = 9000;
            break;
        case 2:
            s.initial = {-3, 2, 25};
            break;
        case 3:
            s.step = 0.005;
            break;
        case 4:  // 10 steps an interval, twice the intervals
            s.stepsPerInterval = 10;
            s.intervals = 19998;
            break;
        case 5:
            s.errors = true;
            break;
        case 6:  // error bars from many small batches
            s.errors = true;
            s.batch = 10;
            break;
    }
    return s;
}

const char* optionName(int which) {
    const char* names[] = {"today's experiment", "--transient 999 (N 9000)", "--initial -3,2,25", "--step 0.005",
                           "--steps-per-interval 10 (N 19998)", "--errors", "--errors --batch 10"};
    return names[which];
}

void ResearchOption(benchmark::State& st) {
    const RunSettings settings = option(static_cast<int>(st.range(0)));
    // From R = 20 on: below R = 1 the orbit decays into subnormal numbers,
    // whose slow arithmetic would hide the cost of the options.
    const auto points = line(20, 250, kPoints);
    std::vector<PointResult> results(points.size());
    for (auto _ : st) {
        runPoints(widestPath(), settings, points, results);
        benchmark::DoNotOptimize(results.data());
    }
    const double steps = static_cast<double>((settings.transient + settings.intervals) * settings.stepsPerInterval);
    st.SetLabel(std::string(optionName(static_cast<int>(st.range(0)))) + ", " + std::string(pathName(widestPath())));
    st.counters["per_point"] = benchmark::Counter(static_cast<double>(kPoints),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
    st.counters["per_step"] = benchmark::Counter(static_cast<double>(kPoints) * steps,
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(ResearchOption)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->UseRealTime();

// A line over R from 20 to 250 run until every exponent is known to 0.01
// (at most 300000 intervals), against the same line at a fixed N equal to
// the most intervals any of its points needed.
std::int64_t targetLongest = 0;

void TargetError(benchmark::State& st) {
    RunSettings s;
    s.intervals = 300000;
    s.targetError = 0.01;
    s.errors = true;
    const auto points = line(20, 250, 64);
    std::vector<PointResult> results(points.size());
    LaneUsage usage;
    for (auto _ : st) {
        usage = {};
        runPoints(widestPath(), s, points, results, &usage);
    }
    std::int64_t total = 0;
    for (const PointResult& r : results) {
        targetLongest = std::max(targetLongest, r.intervals);
        total += r.intervals;
    }
    st.counters["occupancy"] = static_cast<double>(usage.busy) / static_cast<double>(usage.total);
    st.counters["longest"] = static_cast<double>(targetLongest);
    st.counters["mean_intervals"] = static_cast<double>(total) / static_cast<double>(points.size());
}
BENCHMARK(TargetError)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void FixedAtLongest(benchmark::State& st) {
    if (targetLongest == 0) {
        st.SkipWithError("run TargetError first");
        return;
    }
    RunSettings s;
    s.intervals = targetLongest;
    s.errors = true;
    const auto points = line(20, 250, 64);
    std::vector<PointResult> results(points.size());
    for (auto _ : st) runPoints(widestPath(), s, points, results);
    st.counters["intervals"] = static_cast<double>(targetLongest);
}
BENCHMARK(FixedAtLongest)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// A process started and waited for: the one run of veltrano-cli against the
// smallest C++ program.
void runProcess(benchmark::State& st, std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);  // O_WRONLY
    for (auto _ : st) {
        pid_t pid = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            st.SkipWithError("cannot start the program");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            st.SkipWithError("the program failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
}

void SmallestProgram(benchmark::State& st) {
    runProcess(st, {VELTRANO_SMALLEST_PROGRAM});
}
BENCHMARK(SmallestProgram)->Unit(benchmark::kMicrosecond)->UseRealTime();

void OneRunProcess(benchmark::State& st) {
    runProcess(st, {VELTRANO_CLI, "1", "10", "28", "2.6667"});
}
BENCHMARK(OneRunProcess)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
