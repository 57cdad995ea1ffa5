#include "sweep_file_writer.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <variant>

#include "descriptor_stream.h"
#include "output_file.h"
#include "sweep_examination.h"
#include "sweep_rows.h"

namespace veltrano {

namespace {

SweepFileFailure fromRefusal(const FileRefusal& why) {
    return {why.refused ? SweepFileFailure::Kind::Refused : SweepFileFailure::Kind::Failed, why.message};
}

SweepFileFailure writeFailure(const std::string& output) {
    return {SweepFileFailure::Kind::Failed, "cannot write the rows to " +
                                                (output.empty() ? std::string("standard output") : output) + ": " +
                                                std::strerror(errno)};
}

template <class F, class... Args>
void tell(const F& f, Args&&... args) {
    if (f) f(std::forward<Args>(args)...);
}

}  // namespace

double expectedRowBytes(bool errors) {
    return errors ? 215.0 : 140.0;
}

std::optional<SweepFileFailure> writeRowsFile(const RowsFileJob& job, const SweepFileProgress& events,
                                              std::FILE* standardOutput) {
    const IndexRange range = job.range;
    // Where the rows go, decided and locked before anything is written.
    std::optional<OutputFile> file;
    ExaminedFile resumeAt{0, 0, false, range.begin};
    if (!job.output.empty()) {
        struct stat info {};
        const bool regular = ::stat(job.output.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        if (regular && job.resume) {
            auto opened = OutputFile::openExisting(job.output);
            if (auto* why = std::get_if<FileRefusal>(&opened)) return fromRefusal(*why);
            file.emplace(std::move(std::get<OutputFile>(opened)));
            tell(events.checkingStarts, range.end - range.begin);
            DescriptorStream in(file->descriptor());
            auto examined = job.examine(in, events.checked);
            tell(events.checkingEnds);
            if (const auto* why = std::get_if<ExaminationRefusal>(&examined))
                return SweepFileFailure{why->why == ExaminationRefusal::Why::Unreadable ? SweepFileFailure::Kind::Failed
                                                                                       : SweepFileFailure::Kind::Refused,
                                        why->message};
            resumeAt = std::get<ExaminedFile>(examined);
            if (!file->truncateTo(resumeAt.keepBytes))
                return SweepFileFailure{SweepFileFailure::Kind::Failed,
                                        "cannot continue " + job.output + ": " + std::strerror(errno)};
        } else {
            auto created = OutputFile::create(job.output);
            if (auto* why = std::get_if<FileRefusal>(&created)) {
                if (why->refused && !job.resume) why->message += "; " + job.resumeName + " continues it";
                return fromRefusal(*why);
            }
            file.emplace(std::move(std::get<OutputFile>(created)));
        }
        const double rows = static_cast<double>(range.end - resumeAt.nextIndex);
        if (const std::string warning = spaceWarning(job.output, rows * job.rowBytes); !warning.empty())
            tell(events.warning, warning);
    }
    std::FILE* out = file ? file->stream() : standardOutput;
    if (!resumeAt.hasHeader) {
        const std::string header = job.header + '\n';
        if (std::fwrite(header.data(), 1, header.size(), out) != header.size() || std::fflush(out) != 0)
            return writeFailure(job.output);
    }

    tell(events.computingStarts, range.end - range.begin, resumeAt.nextIndex - range.begin);
    bool writeFailed = false;
    const bool finished = job.compute(resumeAt.nextIndex, [&](const std::string& block, std::int64_t points) {
        writeFailed = std::fwrite(block.data(), 1, block.size(), out) != block.size() || std::fflush(out) != 0;
        tell(events.computed, points);
        return !writeFailed;
    });
    tell(events.computingEnds);
    if (writeFailed || std::fflush(out) != 0 || (file && !file->close())) return writeFailure(job.output);
    if (!finished) return SweepFileFailure{SweepFileFailure::Kind::Stopped, "stopped"};
    return std::nullopt;
}

std::optional<SweepFileFailure> writeSweepFile(const SweepFileJob& job, const SweepFileEvents& events,
                                               std::FILE* standardOutput) {
    const SweepGrid& grid = job.grid;
    RowsFileJob rows{job.output, job.resume, job.resumeName,
                     job.shard ? shardRange(grid.size(), job.shard->first, job.shard->second) : IndexRange{0, grid.size()},
                     sweepHeader(job.run.errors), expectedRowBytes(job.run.errors), {}, {}};
    rows.examine = [&](std::istream& in, const std::function<void(std::int64_t)>& progress) {
        return examineSweepFile(in, job.output, grid, rows.range, job.run, events.row, progress);
    };
    rows.compute = [&](std::int64_t from, const std::function<bool(const std::string&, std::int64_t)>& write) {
        std::string block;
        SweepSettings settings;
        settings.threads = job.threads;
        settings.path = widestPath();
        settings.run = job.run;
        settings.stop = job.stop;
        return runSweep(grid, {from, rows.range.end}, settings, [&](std::span<const SweepPoint> points) {
            block.clear();
            for (const SweepPoint& p : points) {
                block += sweepRow(p, job.run);
                block += '\n';
                tell(events.row, p);
            }
            return write(block, static_cast<std::int64_t>(points.size()));
        });
    };
    return writeRowsFile(rows, events, standardOutput);
}

}  // namespace veltrano
