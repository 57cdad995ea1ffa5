#include "system_sweep_examination.h"

#include <vector>

#include "csv_fields.h"
#include "line_reader.h"
#include "precise_text.h"
#include "sweep_rows.h"

namespace veltrano {

namespace {

using Why = ExaminationRefusal::Why;

// The flow a line names in its second field, if it has one.
std::string_view flowOf(std::string_view line) {
    const auto fields = csvFields(line);
    return fields.size() > 1 ? fields[1] : std::string_view();
}

}  // namespace

std::string otherSweepFile(const SystemSweepForm& form, const std::string& first, const std::string& second) {
    if (first == sweepHeader(false) || first == sweepHeader(true))
        return "it is a sweep of Lorenz in the form without --system, which has no system column; this sweep is of " +
               form.system;
    if (!first.starts_with("index,system,")) return "its first line is not the header of this sweep";
    if (std::string crlf = LineReader::carriageReturns(first); !crlf.empty()) return crlf;
    const std::string_view other = flowOf(second);
    if (!other.empty() && other != form.system)
        return "it is a sweep of " + std::string(other) + "; this sweep is of " + form.system;
    return "its columns are not those of this sweep of " + form.system + ": it has " + first + "; this sweep has " +
           systemSweepHeader(form);
}

std::variant<ExaminedFile, ExaminationRefusal> examineSystemSweepFile(
    std::istream& in, const std::string& shown, const SystemSweep& sweep, IndexRange range,
    const std::function<void(const SystemSweepPoint&)>& accepted, const std::function<void(std::int64_t)>& progress) {
    const SystemSweepForm form = formOf(sweep);
    SameRunCheck sameRun(sweep.run);
    RowRules rules;
    rules.header = systemSweepHeader(form);
    rules.otherHeader = [&](const std::string& first, const std::string& second) {
        return otherSweepFile(form, first, second);
    };
    rules.row = [&](std::int64_t index, const std::string& line) -> std::optional<std::pair<Why, std::string>> {
        const std::string name = "row " + std::to_string(index);
        if (line.empty()) return std::pair{Why::ForeignRow, name + " is an empty line"};
        if (const std::string_view other = flowOf(line); !other.empty() && other != form.system)
            return std::pair{Why::OtherSweep, name + " is of " + std::string(other) + "; this sweep is of " + form.system};
        std::string place = std::to_string(index) + ',' + form.system + ',';
        for (double v : sweep.grid.pointAt(index)) place += preciseText(v) + ',';
        PointStatus status{};
        const auto row = parseSystemSweepRow(form, line, &status);
        if (!row || line.compare(0, place.size(), place) != 0)
            return std::pair{Why::ForeignRow, name + " does not belong to it"};
        if (const PointStatus own = systemPointStatus(sweep, *row); status != own)
            return std::pair{Why::Inconsistent, name + " says " + std::string(statusWord(status)) +
                                                    " where its numbers are " + std::string(statusWord(own))};
        if (!sameRun.fits(row->result))
            return std::pair{Why::Inconsistent, name + " is not of the same run as the rows before it"};
        if (accepted) accepted(*row);
        return std::nullopt;
    };
    rules.differs = [&](const std::vector<SampledLine>& sampled) -> std::optional<std::int64_t> {
        std::vector<std::vector<double>> points;
        for (const SampledLine& s : sampled) points.push_back(sweep.grid.pointAt(s.index));
        const auto results = runSystemPointList(sweep.system, widestPath(), sweep.run, points);
        for (std::size_t i = 0; i < sampled.size(); ++i) {
            const SystemSweepPoint computed{sampled[i].index, points[i], results[i]};
            if (systemSweepRow(form, computed, systemPointStatus(sweep, computed)) != sampled[i].line)
                return sampled[i].index;
        }
        return std::nullopt;
    };
    return examineRows(in, shown, range, rules, progress);
}

}  // namespace veltrano
