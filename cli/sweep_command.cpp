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
#include "output_file.h"
#include "picture_file.h"
#include "progress.h"
#include "sweep_csv.h"
#include "sweep_picture.h"
#include "sweep_resume.h"
#include "trace_check.h"

namespace veltrano::cli {

namespace {

int say(const std::string& message, int status) {
    std::cerr << "veltrano-cli sweep: " << message << '\n';
    return status;
}

int refusal(const FileRefusal& why) {
    return say(why.message, why.refused ? kExitRefused : kExitFailed);
}

}  // namespace

double expectedRowBytes(bool errors) {
    return errors ? 215.0 : 140.0;
}

int runSweepCommand(const SweepOptions& options) {
    const SweepGrid& grid = options.grid;
    const IndexRange range = options.shard ? shardRange(grid.size(), options.shard->first, options.shard->second)
                                           : IndexRange{0, grid.size()};
    const bool showProgress = options.progress.value_or(::isatty(STDERR_FILENO) == 1);
    if (!options.plotFile.empty()) {
        if (auto why = checkPicturePath(options.plotFile, options.output)) {
            why->message = "--plot " + why->message;
            return refusal(*why);
        }
    }
    std::unique_ptr<pictures::SweepPicture> picture;
    if (!options.plotFile.empty()) picture = std::make_unique<pictures::SweepPicture>(grid, options.plotContext);
    const auto draw = [&](const SweepPoint& p) {
        if (picture) picture->add(p, statusOf(p.result, p.parameters, options.run));
    };

    // Where the rows go, decided and locked before anything is written.
    std::optional<OutputFile> file;
    ExaminedFile resumeAt{0, 0, false, range.begin};
    if (!options.output.empty()) {
        struct stat info {};
        const bool regular = ::stat(options.output.c_str(), &info) == 0 && S_ISREG(info.st_mode);
        if (regular && options.resume) {
            auto opened = OutputFile::openExisting(options.output);
            if (auto* why = std::get_if<FileRefusal>(&opened)) return refusal(*why);
            file.emplace(std::move(std::get<OutputFile>(opened)));
            Progress checking(showProgress, range.end - range.begin, 0, "rows checked");
            auto examined = examineSweepFile(file->readPath(), options.output, grid, range, options.run, draw,
                                             [&](std::int64_t rows) { checking.set(rows); });
            checking.finish();
            if (const auto* why = std::get_if<std::string>(&examined)) return say(*why, kExitRefused);
            resumeAt = std::get<ExaminedFile>(examined);
            if (!file->truncateTo(resumeAt.keepBytes))
                return say("cannot continue " + options.output + ": " + std::strerror(errno), kExitFailed);
        } else {
            auto created = OutputFile::create(options.output);
            if (auto* why = std::get_if<FileRefusal>(&created)) {
                if (why->refused && !options.resume) why->message += "; --resume continues it";
                return refusal(*why);
            }
            file.emplace(std::move(std::get<OutputFile>(created)));
        }
        const double rows = static_cast<double>(range.end - resumeAt.nextIndex);
        warnIfSpaceShort("sweep", options.output, rows * expectedRowBytes(options.run.errors));
    }
    std::FILE* out = file ? file->stream() : stdout;
    // The header goes out at once: a file stopped before its first rows is
    // still recognisably this sweep's.
    if (!resumeAt.hasHeader &&
        (std::fprintf(out, "%s\n", sweepHeader(options.run.errors).c_str()) < 0 || std::fflush(out) != 0))
        return say("cannot write the rows", kExitFailed);

    Progress progress(showProgress, range.end - range.begin, resumeAt.nextIndex - range.begin, "points");
    std::string block;
    bool writeFailed = false;
    SweepSettings settings;
    settings.threads = options.threads;
    settings.path = widestPath();
    settings.run = options.run;
    runSweep(grid, {resumeAt.nextIndex, range.end}, settings, [&](std::span<const SweepPoint> points) {
        block.clear();
        for (const SweepPoint& p : points) {
            block += sweepRow(p, options.run.errors);
            block += '\n';
            draw(p);
        }
        writeFailed = std::fwrite(block.data(), 1, block.size(), out) != block.size() || std::fflush(out) != 0;
        progress.advance(static_cast<std::int64_t>(points.size()));
        return !writeFailed;
    });
    progress.finish();
    if (writeFailed || std::fflush(out) != 0 || (file && !file->close()))
        return say("cannot write the rows" + (options.output.empty() ? std::string() : " to " + options.output) +
                       ": " + std::strerror(errno),
                   kExitFailed);
    if (picture) {
        if (const std::string error = writePictureFile(*picture, options.plotFile); !error.empty())
            return say(error, kExitFailed);
    }
    return kExitOk;
}

}  // namespace veltrano::cli
