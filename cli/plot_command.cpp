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
#include "system_entries.h"
#include "system_sweep_file_grid.h"
#include "system_sweep_map.h"

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

// The map of a sweep of a flow over its two varied parameters, in two
// passes as readSweep.
std::variant<pictures::HeatMap, std::string> readSystemSweep(std::istream& in, const std::string& header,
                                                             const std::string& name, int only) {
    const auto start = in.tellg();
    std::string firstRow;
    (void)LineReader(in).next(firstRow);
    in.clear();
    in.seekg(start);
    const auto form = formFromHeader(header, firstRow);
    if (!form) return name + " is not a sweep of a flow written by veltrano-cli (its header is not one of theirs)";
    const auto colon = form->system.find(':');
    const std::string flow = form->system.substr(0, colon);
    std::optional<SystemDescription> system = findSystem(flow);
    if (system && colon != std::string::npos) {
        const std::string d = form->system.substr(colon + 1);
        system = d.empty() || d.size() > 9 || d.find_first_not_of("0123456789") != std::string::npos
                     ? std::nullopt
                     : findSystem(flow, std::stoul(d));
    }
    std::vector<std::string> names;
    if (system) {
        for (const ParameterDescription& p : system->parameters) names.push_back(p.name);
        if (systemField(*system) != form->system) system.reset();
    }
    if (!system || names != form->parameters)
        return name + " is a sweep of " + form->system + ", which is not a flow of the catalogue with these parameters";
    const std::size_t k = only > 0 ? static_cast<std::size_t>(only) : 1;
    if (k > form->exponents)
        return "--exponent " + std::to_string(k) + ": " + name + " holds lambda1 to lambda" +
               std::to_string(form->exponents) + " only";
    std::optional<pictures::SystemSweepMap> map;
    const auto found = systemSweepFileMap(
        in, *form, name, [&](const SystemGrid& grid) { map.emplace(grid, form->system, form->parameters, k - 1); },
        [&](const SystemSweepPoint& p, PointStatus status) { map->add(p, status); });
    if (const auto* why = std::get_if<std::string>(&found)) return *why;
    return map->heatMap();
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
    } else if (header.starts_with("index,system,")) {
        auto map = readSystemSweep(in, header, input, only);
        if (const auto* why = std::get_if<std::string>(&map)) return fail("plot", *why, kExitRefused);
        error = writePictureFile(std::get<pictures::HeatMap>(map), output);
    } else {
        return fail("plot", notOurs, kExitRefused);
    }
    return error.empty() ? kExitOk : fail("plot", error, kExitFailed);
}

}  // namespace veltrano::cli
