#include "system_history_command.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <span>
#include <variant>

#include "equation_file.h"
#include "fault_text.h"
#include "history_file_rows.h"
#include "history_picture.h"
#include "output_file.h"
#include "picture_file.h"
#include "report.h"
#include "system_entries.h"
#include "system_history_run.h"

namespace veltrano::cli {

int runSystemHistory(const SystemHistoryOptions& options) {
    if (!options.plotFile.empty())
        if (const auto why = checkPicturePath(options.plotFile, options.output))
            return fail("history", "--plot " + why->message, why->refused ? kExitRefused : kExitFailed);
    std::optional<OutputFile> file;
    if (!options.output.empty()) {
        auto created = OutputFile::create(options.output);
        if (const auto* why = std::get_if<FileRefusal>(&created))
            return fail("history", why->message, why->refused ? kExitRefused : kExitFailed);
        file.emplace(std::move(std::get<OutputFile>(created)));
    }
    std::FILE* out = file ? file->stream() : stdout;
    const std::string where = file ? options.output : std::string("standard output");
    // A closed pipe is a failed write, said as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    const SystemSettings& s = options.settings;
    const std::string system = systemField(options.system);
    bool writeFailed = !writeAll(out, systemHistoryHeader(s.exponents, s.errors) + '\n');
    int error = writeFailed ? errno : 0;
    std::atomic<bool> stop{writeFailed};  // nowhere to write: no reason to go on
    std::string line;
    pictures::HistoryPicture picture;
    const SystemHistoryEnd end = runSystemHistory(
        options.system, s, options.parameters, options.every,
        [&](const SystemHistoryRow& row) {
            if (writeFailed) return;
            if (!options.plotFile.empty())
                picture.add(row.interval, row.t, row.expo,
                            row.halfWidth ? std::span<const double>(*row.halfWidth) : std::span<const double>());
            line = systemHistoryRow(row, system, s.errors);
            line += '\n';
            writeFailed = std::fputs(line.c_str(), out) < 0;
            if (writeFailed) {
                error = errno;
                stop = true;
            }
        },
        &stop);
    const bool flushed = writeFailed || std::fflush(out) == 0;
    const bool closed = !file || file->close();
    if (!writeFailed && !(flushed && closed)) {
        writeFailed = true;
        error = errno;
    }
    if (writeFailed)
        return fail("history", "cannot write the rows to " + where + ": " + std::strerror(error), kExitFailed);
    if (!end.completed) std::cerr << kComputationErrorText << '\n';
    if (!options.plotFile.empty() && !picture.empty())
        if (const std::string why = writePictureFile(pictures::flowHistoryChart(picture, flowTitle(options.system)), options.plotFile);
            !why.empty())
            return fail("history", why, kExitFailed);
    return end.completed ? kExitOk : kExitArithmetic;
}

}  // namespace veltrano::cli
