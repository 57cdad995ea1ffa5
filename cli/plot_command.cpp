#include "plot_command.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <optional>
#include <span>
#include <variant>

#include "command_line.h"
#include "csv_fields.h"
#include "equation_file.h"
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

// The flow named `field` in a file's field `system` (rossler,
// lorenz96:8), if it is one of the catalogue.
std::optional<SystemDescription> flowOfField(const std::string& field) {
    const auto colon = field.find(':');
    const std::string flow = field.substr(0, colon);
    std::optional<SystemDescription> system = findSystem(flow);
    if (system && colon != std::string::npos) {
        const std::string d = field.substr(colon + 1);
        system = d.empty() || d.size() > 9 || d.find_first_not_of("0123456789") != std::string::npos
                     ? std::nullopt
                     : findSystem(flow, std::stoul(d));
    }
    if (system && systemField(*system) != field) system.reset();
    return system;
}

// Whether `field` names typed equations: "equations:" and the 64 hexadecimal
// digits of their text's SHA-256. Their files are drawn as they are (the
// text is not at hand to check them against).
bool typedField(std::string_view field) {
    constexpr std::string_view prefix = "equations:";
    return field.size() == prefix.size() + 64 && field.starts_with(prefix) &&
           field.find_first_not_of("0123456789abcdef", prefix.size()) == std::string_view::npos;
}

// Reads the first row of a file after its header into `row`, leaving the
// stream before it; returns why there is none to read, or empty.
std::string peekFirstRow(std::istream& in, const std::string& name, std::string& row) {
    const auto start = in.tellg();
    const LineReader::Got got = LineReader(in).next(row);
    in.clear();
    in.seekg(start);
    if (got == LineReader::Got::End) return name + " has no rows to draw";
    if (got != LineReader::Got::Line) return LineReader::trouble(got, name, 2);
    return {};
}

// The equations given with --equations: their flow and the file they came from.
struct GivenEquations {
    SystemDescription flow;
    std::string path;
};

// Why a `kind` ("sweep", "history") of the flow `field` is not drawn as
// the equations given (none: empty), naming both flows.
std::string otherEquations(const std::string& name, const std::string& kind, const std::string& field,
                           const GivenEquations* given) {
    if (!given || field == given->flow.name) return {};
    return name + " is a " + kind + " of " + field + "; the equations of " +
           (given->path == "-" ? std::string("standard input") : given->path) + " are " + given->flow.name;
}

// The exponent asked with --exponent (`given`, empty: none, 0) of a file
// that holds k of them; `name` is the file, empty for a Lorenz file.
std::variant<int, std::string> exponentOf(const std::string& given, std::size_t k, const std::string& name) {
    if (given.empty()) return 0;
    if (const auto only = wholeNumber(given, 1, static_cast<std::int64_t>(k))) return static_cast<int>(*only);
    const std::string lambdas = name + " holds lambda1 to lambda" + std::to_string(k);
    if (name.empty()) return "--exponent " + given + ": K must be 1, 2 or 3";
    if (wholeNumber(given, 1, kAnyWholeNumber)) return "--exponent " + given + ": " + lambdas + " only";
    return "--exponent " + given + ": K must be a whole number from 1 to " + std::to_string(k) + " (" + lambdas + ")";
}

// The map of a sweep of a flow over its two varied parameters, in two
// passes as readSweep.
std::variant<pictures::HeatMap, std::string> readSystemSweep(std::istream& in, const std::string& header,
                                                             const std::string& name, const std::string& exponent,
                                                             const GivenEquations* equations) {
    // The flow is read from the first row: a file with none has nothing to draw.
    std::string firstRow;
    if (std::string why = peekFirstRow(in, name, firstRow); !why.empty()) return why;
    const auto form = formFromHeader(header, firstRow);
    if (!form) return name + " is not a sweep of a flow written by veltrano-cli (its header is not one of theirs)";
    if (std::string why = otherEquations(name, "sweep", form->system, equations); !why.empty()) return why;
    const std::optional<SystemDescription> system = equations ? equations->flow : flowOfField(form->system);
    std::vector<std::string> names;
    if (system)
        for (const ParameterDescription& p : system->parameters) names.push_back(p.name);
    const bool typed = typedField(form->system);
    if (typed && !equations) names = form->parameters;
    if ((!system && !typed) || names != form->parameters)
        return name + " is a sweep of " + form->system + ", which is not a flow of the catalogue with these parameters";
    const auto only = exponentOf(exponent, form->exponents, name);
    if (const auto* why = std::get_if<std::string>(&only)) return *why;
    const std::size_t k = static_cast<std::size_t>(std::max(std::get<int>(only), 1));
    std::optional<pictures::SystemSweepMap> map;
    const auto found = systemSweepFileMap(
        in, *form, name,
        [&](const SystemGrid& grid) {
            map.emplace(grid, typed ? std::string("your equations") : form->system, form->parameters, k - 1);
        },
        [&](const SystemSweepPoint& p, PointStatus status) { map->add(p, status); });
    if (const auto* why = std::get_if<std::string>(&found)) return *why;
    return map->heatMap();
}

// The picture of a history of a flow (header interval,system,t,lambda1...):
// its k exponents and error bars from the header, the flow from the first
// row, which must name one of the catalogue with at least k exponents.
std::variant<pictures::LineChart, std::string> readSystemHistory(std::istream& in, const std::string& header,
                                                                 const std::string& name, const std::string& exponent,
                                                                 const GivenEquations* equations) {
    const auto fields = static_cast<std::size_t>(std::count(header.begin(), header.end(), ',')) + 1;
    std::size_t k = 0;
    bool errors = false;
    for (const bool e : {false, true})
        if (const std::size_t n = e ? (fields - 3) / 2 : fields - 3; n > 0 && systemHistoryHeader(n, e) == header)
            k = n, errors = e;
    if (k == 0) return name + " is not a history of a flow written by veltrano-cli (its header is not one of theirs)";
    std::string firstRow;
    if (std::string why = peekFirstRow(in, name, firstRow); !why.empty()) return why;
    const auto row = csvFields(firstRow);
    const std::string system = row.size() > 1 ? std::string(row[1]) : std::string();
    if (std::string why = otherEquations(name, "history", system, equations); !why.empty()) return why;
    const std::optional<SystemDescription> flow = equations ? equations->flow : flowOfField(system);
    const bool typed = typedField(system);
    if (!flow && !typed && !system.empty() && std::isalpha(static_cast<unsigned char>(system[0])))
        return name + " is a history of " + system + ", which is not a flow of the catalogue";
    if (!flow && !typed) return name + " line 2 is not a row of a history of a flow";
    if (flow && k > flow->dimension)
        return name + " holds lambda1 to lambda" + std::to_string(k) + " of " + system + ", a flow of dimension " +
               std::to_string(flow->dimension);
    const auto only = exponentOf(exponent, k, name);
    if (const auto* why = std::get_if<std::string>(&only)) return *why;
    pictures::HistoryPicture picture;
    SystemHistoryReader rows(in, system, k, errors, name);
    while (const auto r = rows.next())
        picture.add(r->interval, r->t, r->expo,
                    r->halfWidth ? std::span<const double>(*r->halfWidth) : std::span<const double>());
    if (!rows.error().empty()) return rows.error();
    if (picture.empty()) return name + " has no rows to draw";
    return pictures::flowHistoryChart(picture, typed ? std::string("your equations") : system, std::get<int>(only));
}

}  // namespace

int runPlot(const std::string& input, const std::string& output, const std::string& exponent,
            const std::string& equations) {
    if (!supportedPictureFile(output)) return fail("plot", output + ": the picture's name must end in .png or .svg", kExitRefused);
    if (const std::string why = picturesUnavailable(); !why.empty()) return fail("plot", why, kExitRefused);
    if (const auto why = checkPicturePath(output, input)) return fail("plot", why->message, kExitRefused);
    std::optional<GivenEquations> given;
    if (!equations.empty()) {
        auto flow = typedFlowOf(equations);
        if (const auto* why = std::get_if<std::string>(&flow)) return fail("plot", *why, kExitRefused);
        given = GivenEquations{std::get<SystemDescription>(std::move(flow)), equations};
    }
    const GivenEquations* typed = given ? &*given : nullptr;
    std::error_code unreadable;
    if (std::filesystem::is_directory(input, unreadable))
        return fail("plot", input + " is a folder, not a file of rows", kExitRefused);
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
    const bool lorenzHistory = header == historyHeader(false) || header == historyHeader(true);
    const bool lorenzSweep = header == sweepHeader(false) || header == sweepHeader(true);
    // A Lorenz file holds the three exponents; a flow's file says its K.
    const auto only = exponentOf(exponent, 3, {});
    if (const auto* why = std::get_if<std::string>(&only); why && (lorenzHistory || lorenzSweep))
        return fail("plot", *why, kExitRefused);
    if (header.starts_with("index,system,") || header.starts_with("interval,system,"))
        if (const std::string crlf = LineReader::carriageReturns(header); !crlf.empty())
            return fail("plot", input + ": " + crlf, kExitRefused);
    if (typed && (lorenzHistory || lorenzSweep))
        return fail("plot",
                    otherEquations(input, lorenzHistory ? "history" : "sweep", "Lorenz in the form without --system",
                                   typed),
                    kExitRefused);
    std::string error;
    if (lorenzHistory) {
        auto picture = readHistory(in, header == historyHeader(true), input);
        if (const auto* why = std::get_if<std::string>(&picture)) return fail("plot", *why, kExitRefused);
        const pictures::HistoryPicture& history = std::get<pictures::HistoryPicture>(picture);
        error = writePictureFile(history.chart("n = " + std::to_string(history.lastInterval()), std::get<int>(only)),
                                 output);
    } else if (lorenzSweep) {
        auto picture = readSweep(in, header == sweepHeader(true), input);
        if (const auto* why = std::get_if<std::string>(&picture)) return fail("plot", *why, kExitRefused);
        error = writePictureFile(std::get<pictures::SweepPicture>(picture), output, std::get<int>(only));
    } else if (header.starts_with("index,system,")) {
        auto map = readSystemSweep(in, header, input, exponent, typed);
        if (const auto* why = std::get_if<std::string>(&map)) return fail("plot", *why, kExitRefused);
        error = writePictureFile(std::get<pictures::HeatMap>(map), output);
    } else if (header.starts_with("interval,system,")) {
        auto chart = readSystemHistory(in, header, input, exponent, typed);
        if (const auto* why = std::get_if<std::string>(&chart)) return fail("plot", *why, kExitRefused);
        error = writePictureFile(std::get<pictures::LineChart>(chart), output);
    } else {
        return fail("plot", notOurs, kExitRefused);
    }
    return error.empty() ? kExitOk : fail("plot", error, kExitFailed);
}

}  // namespace veltrano::cli
