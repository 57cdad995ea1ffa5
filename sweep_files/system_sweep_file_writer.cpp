#include "system_sweep_file_writer.h"

namespace veltrano {

std::optional<SweepFileFailure> writeSystemSweepFile(const SystemSweepFileJob& job,
                                                     const SweepFileEventsOf<SystemSweepPoint>& events,
                                                     std::FILE* standardOutput) {
    const SystemSweep& sweep = job.sweep;
    const SystemSweepForm form = formOf(sweep);
    const std::int64_t size = sweep.grid.size();
    // A row holds about 25 bytes a number.
    const double rowBytes = 25.0 * static_cast<double>(form.parameters.size() + 4 + form.exponents * (form.errors ? 2 : 1));
    RowsFileJob rows{job.output, job.resume, job.resumeName,
                     job.shard ? shardRange(size, job.shard->first, job.shard->second) : IndexRange{0, size},
                     systemSweepHeader(form), rowBytes, {}, {}};
    rows.examine = [&](std::istream& in, const std::function<void(std::int64_t)>& progress) {
        return examineSystemSweepFile(in, job.output, sweep, rows.range, events.row, progress);
    };
    rows.compute = [&](std::int64_t from, const std::function<bool(const std::string&, std::int64_t)>& write) {
        std::string block;
        SystemSweepSettings settings;
        settings.threads = job.threads;
        settings.path = widestPath();
        settings.run = sweep.run;
        settings.stop = job.stop;
        const SystemSweepSink sink = [&](std::span<const SystemSweepPoint> points) {
            block.clear();
            for (const SystemSweepPoint& p : points) {
                block += systemSweepRow(form, p, systemPointStatus(sweep, p));
                block += '\n';
                if (events.row) events.row(p);
            }
            return write(block, static_cast<std::int64_t>(points.size()));
        };
        const IndexRange rest{from, rows.range.end};
        return runSystemSweep(sweep.system, sweep.grid, rest, settings, sink);
    };
    return writeRowsFile(rows, events, standardOutput);
}

}  // namespace veltrano
