// import veltrano against veltrano-cli on the same grid of 256 points, and
// against a Python loop over veltrano.spectrum: the module must cost no
// more than the tool. Python runs embedded, so that the same Google
// Benchmark loop times all three.

#include <benchmark/benchmark.h>
#include <pybind11/embed.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char** environ;

namespace py = pybind11;

namespace {

constexpr int kIntervals = 2000;

// sigma 0..40 and R 0..250 in 16 values each, as the tool spaces them.
const char* const kSetUp = R"(
import veltrano
sigma = [0 + (40 - 0) * i / 15 for i in range(16)]
R = [0 + (250 - 0) * i / 15 for i in range(16)]
def loop(n):
    return [veltrano.spectrum(n, s, r, 2.6667).lambdas[0] for s in sigma for r in R]
)";

void PythonSweep(benchmark::State& st) {
    py::gil_scoped_acquire gil;
    const py::module_ main = py::module_::import("__main__");
    const py::object sweep = py::module_::import("veltrano").attr("sweep");
    const py::object sigma = main.attr("sigma"), R = main.attr("R");
    for (auto _ : st) benchmark::DoNotOptimize(sweep(kIntervals, sigma, R, 2.6667, st.range(0)).ptr());
    st.counters["per_point"] = benchmark::Counter(256, benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}
BENCHMARK(PythonSweep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void CliSweep(benchmark::State& st) {
    std::vector<std::string> args = {VELTRANO_CLI, "sweep", "--vary", "sigma=0:40:16", "--vary", "R=0:250:16",
                                     "--threads", std::to_string(st.range(0)), std::to_string(kIntervals), "10", "28",
                                     "2.6667"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
    for (auto _ : st) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0 || waitpid(pid, &status, 0) < 0 ||
            !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            st.SkipWithError("veltrano-cli failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    st.counters["per_point"] = benchmark::Counter(256, benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}
BENCHMARK(CliSweep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

void PythonLoop(benchmark::State& st) {
    py::gil_scoped_acquire gil;
    const py::object loop = py::module_::import("__main__").attr("loop");
    for (auto _ : st) benchmark::DoNotOptimize(loop(kIntervals).ptr());
    st.counters["per_point"] = benchmark::Counter(256, benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
}
BENCHMARK(PythonLoop)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    py::scoped_interpreter interpreter;
    py::module_::import("sys").attr("path").attr("insert")(0, VELTRANO_PYTHON_DIR);
    py::exec(kSetUp);
    benchmark::Initialize(&argc, argv);
    {
        py::gil_scoped_release free;  // each benchmark takes the GIL while it runs
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
}
