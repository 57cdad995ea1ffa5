#include "plot_command.h"

#include <fstream>
#include <variant>

#include "history_file_rows.h"
#include "line_reader.h"
#include "output_file.h"
#include "picture_file.h"
#include "history_picture.h"
#include "sweep_picture.h"
#include "plot_plugin.h"
#include "report.h"
#include "sweep_file_grid.h"
#include "sweep_rows.h"

namespace veltrano::cli {

namespace {

std::variant<pictures::HistoryPicture, std::string> readHistory(std::istream& in, bool errors, const std::string& name) {
    pictures::HistoryPicture picture;
    HistoryReader rows(in, errors, name);
    while (const auto row = rows.next()) picture.add(row->interval, row->t, row->expo, row->halfWidth);
    if (!rows.error().empty()) return rows.error();
    if (picture.empty()) return name + " has no rows to draw";
    return picture;
}

// Two passes over the file, so that memory stays flat however many rows it
// has: the first finds the grid, the second draws the rows into it.
std::variant<pictures::SweepPicture, std::string> readSweep(std::istream& in, bool errors, const std::string& name) {
    auto found = sweepFileGrid(in, errors, name);
    if (const auto* why = std::get_if<std::string>(&found)) return *why;
    const SweepGrid& grid = std::get<SweepGrid>(found);
    pictures::SweepPicture picture(grid, {}, errors);
    if (std::string why = rowsOffGrid(in, errors, name, grid, [&](const SweepPoint& p, PointStatus status) { picture.add(p, status); });
        !why.empty())
        return why;
    return picture;
}

}  // namespace

int runPlot(const std::string& input, const std::string& output, int only) {
    if (!supportedPictureFile(output)) return fail("plot", output + ": the picture's name must end in .png or .svg", kExitRefused);
    if (const std::string why = picturesUnavailable(); !why.empty()) return fail("plot", why, kExitRefused);
    if (const auto why = checkPicturePath(output, input)) return fail("plot", why->message, kExitRefused);
    std::ifstream in(input, std::ios::binary);
    if (!in) return fail("plot", "cannot read " + input, kExitRefused);
    std::string header;
    const LineReader::Got got = LineReader(in).next(header);
    const std::string notOurs =
        input + " is not a history or a sweep written by veltrano-cli (its first line is not their header)";
    if (got != LineReader::Got::Line) {
        if (got == LineReader::Got::End) return fail("plot", input + " is empty", kExitRefused);
        return fail("plot", notOurs, kExitRefused);
    }
    std::string error;
    if (header == historyHeader(false) || header == historyHeader(true)) {
        auto picture = readHistory(in, header == historyHeader(true), input);
        if (const auto* why = std::get_if<std::string>(&picture)) return fail("plot", *why, kExitRefused);
        const pictures::HistoryPicture& history = std::get<pictures::HistoryPicture>(picture);
        error = writePictureFile(history.chart("n = " + std::to_string(history.lastInterval()), only), output);
    } else if (header == sweepHeader(false) || header == sweepHeader(true)) {
        auto picture = readSweep(in, header == sweepHeader(true), input);
        if (const auto* why = std::get_if<std::string>(&picture)) return fail("plot", *why, kExitRefused);
        error = writePictureFile(std::get<pictures::SweepPicture>(picture), output, only);
    } else {
        return fail("plot", notOurs, kExitRefused);
    }
    return error.empty() ? kExitOk : fail("plot", error, kExitFailed);
}

}  // namespace veltrano::cli
