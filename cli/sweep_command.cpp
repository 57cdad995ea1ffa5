#include "sweep_command.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <variant>

#include "command_line.h"
#include "progress.h"
#include "sweep_csv.h"
#include "sweep_resume.h"
#if VELTRANO_PLOT
#include "plot_data.h"
#endif

namespace veltrano::cli {

namespace {

int refuse(const std::string& message) {
    std::cerr << "veltrano-cli sweep: " << message << '\n';
    return kExitRefused;
}

int fail(const std::string& message) {
    std::cerr << "veltrano-cli sweep: " << message << '\n';
    return kExitFailed;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

int runSweepCommand(const SweepOptions& options) {
    const SweepGrid& grid = options.grid;
    const IndexRange range = options.shard ? shardRange(grid.size(), options.shard->first, options.shard->second)
                                           : IndexRange{0, grid.size()};
#if VELTRANO_PLOT
    std::unique_ptr<SweepPicture> picture;
    if (!options.plotFile.empty()) picture = std::make_unique<SweepPicture>(grid);
    const auto draw = [&](const SweepPoint& p) {
        if (picture) picture->add(p);
    };
#else
    const auto draw = [](const SweepPoint&) {};
#endif

    // Where the rows go, decided before anything is written.
    ResumePoint resumeAt{0, false, range.begin};
    bool continuing = false;
    if (!options.output.empty()) {
        struct stat info {};
        if (::stat(options.output.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            if (!options.resume)
                return refuse(options.output + " exists and is never overwritten; --resume continues it");
            auto examined = examineForResume(options.output, grid, range, draw);
            if (const auto* why = std::get_if<std::string>(&examined)) return refuse(*why);
            resumeAt = std::get<ResumePoint>(examined);
            continuing = true;
        }
    }

    File file;
    std::FILE* out = stdout;
    if (!options.output.empty()) {
        if (continuing) {
            if (::truncate(options.output.c_str(), static_cast<off_t>(resumeAt.keepBytes)) != 0)
                return fail("cannot continue " + options.output + ": " + std::strerror(errno));
            file.reset(std::fopen(options.output.c_str(), "ab"));
        } else {
            file.reset(std::fopen(options.output.c_str(), "wbx"));  // never replaces a file made meanwhile
            struct stat info {};
            if (!file && errno == EEXIST && ::stat(options.output.c_str(), &info) == 0) {
                if (S_ISREG(info.st_mode)) return refuse(options.output + " exists and is never overwritten");
                file.reset(std::fopen(options.output.c_str(), "ab"));  // a device or a pipe
            }
        }
        if (!file) return fail("cannot write " + options.output + ": " + std::strerror(errno));
        out = file.get();
    }
    if (!resumeAt.hasHeader && std::fprintf(out, "%s\n", std::string(kSweepHeader).c_str()) < 0)
        return fail("cannot write the rows");

    const bool showProgress = options.progress.value_or(::isatty(STDERR_FILENO) == 1);
    Progress progress(showProgress, range.end - range.begin, resumeAt.nextIndex - range.begin);
    std::string block;
    bool writeFailed = false;
    SweepSettings settings{options.threads, widestPath()};
    runSweep(grid, {resumeAt.nextIndex, range.end}, settings, [&](std::span<const SweepPoint> points) {
        block.clear();
        for (const SweepPoint& p : points) {
            block += sweepRow(p);
            block += '\n';
            draw(p);
        }
        writeFailed = std::fwrite(block.data(), 1, block.size(), out) != block.size() || std::fflush(out) != 0;
        progress.advance(static_cast<std::int64_t>(points.size()));
        return !writeFailed;
    });
    progress.finish();
    if (writeFailed || std::fflush(out) != 0)
        return fail("cannot write the rows" + (options.output.empty() ? std::string() : " to " + options.output) +
                    ": " + std::strerror(errno));
#if VELTRANO_PLOT
    if (picture) {
        const std::string error = picture->write(options.plotFile);
        if (!error.empty()) return fail(error);
    }
#endif
    return kExitOk;
}

}  // namespace veltrano::cli
