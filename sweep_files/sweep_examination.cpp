#include "sweep_examination.h"

#include <optional>
#include <vector>

#include "csv_fields.h"
#include "line_reader.h"
#include "precise_text.h"
#include "row_sample.h"
#include "sweep_rows.h"

namespace veltrano {

namespace {

using Why = ExaminationRefusal::Why;

constexpr std::string_view kNotHeader = "its first line is not the header of this sweep";

// The start of the row of `index`: its index and its parameters.
std::string placeOf(std::int64_t index, const FlowParameters& p) {
    return std::to_string(index) + ',' + preciseText(p.sv) + ',' + preciseText(p.rv) + ',' + preciseText(p.bv) + ',';
}

}  // namespace

std::variant<ExaminedFile, ExaminationRefusal> examineRows(std::istream& in, const std::string& shown,
                                                           IndexRange range, const RowRules& rules,
                                                           const std::function<void(std::int64_t)>& progress) {
    const std::string foreign = shown + " is not the output of this sweep";
    const auto refuse = [&](Why why, std::int64_t index, const std::string& detail) {
        return ExaminationRefusal{why, index, foreign + " (" + detail + ")"};
    };
    const std::string& header = rules.header;
    const std::string notHeader(kNotHeader);

    ExaminedFile at{0, 0, false, range.begin};
    RowSample<SampledLine> sample;
    LineReader lines(in);
    std::string line;
    for (;;) {
        const LineReader::Got got = lines.next(line);
        if (got == LineReader::Got::End) break;
        if (got == LineReader::Got::Failed) return ExaminationRefusal{Why::Unreadable, -1, "cannot read " + shown};
        if (got == LineReader::Got::TooLong) {
            if (!at.hasHeader) return refuse(Why::Header, -1, notHeader);
            return refuse(Why::ForeignRow, at.nextIndex,
                          "row " + std::to_string(at.nextIndex) + " does not belong to it");
        }
        if (got == LineReader::Got::Unfinished) {
            // An unfinished line is dropped; an unfinished header is only
            // the start of one.
            if (!at.hasHeader && header.compare(0, line.size(), line) != 0)
                return refuse(Why::Header, -1, notHeader);
            break;
        }
        if (!at.hasHeader) {
            if (line != header) {
                std::string second;
                if (rules.otherHeader && lines.next(second) != LineReader::Got::Line) second.clear();
                return refuse(Why::Header, -1, rules.otherHeader ? rules.otherHeader(line, second) : notHeader);
            }
            at.hasHeader = true;
        } else {
            const std::int64_t index = at.nextIndex;
            if (index >= range.end) return refuse(Why::TooManyRows, index, "it has more rows than this sweep");
            if (auto why = rules.row(index, line)) return refuse(why->first, index, why->second);
            sample.offer({index, std::move(line)});
            ++at.nextIndex;
            if (progress && (index & 0xffff) == 0) progress(index - range.begin + 1);
        }
        at.keepBytes = lines.bytes();
    }
    at.totalBytes = lines.bytes();
    if (progress) progress(at.nextIndex - range.begin);

    // The sampled rows must be what this sweep computes, to the byte.
    if (const auto differs = rules.differs(sample.rows()))
        return refuse(Why::Differs, *differs, "row " + std::to_string(*differs) + " differs from what it computes");
    return at;
}

std::variant<ExaminedFile, ExaminationRefusal> examineSweepFile(std::istream& in, const std::string& shown,
                                                                const SweepGrid& grid, IndexRange range,
                                                                const RunSettings& settings,
                                                                const std::function<void(const SweepPoint&)>& accepted,
                                                                const std::function<void(std::int64_t)>& progress) {
    SameRunCheck sameRun(settings);
    RowRules rules;
    rules.header = sweepHeader(settings.errors);
    // The sweep of a flow (with --system) is named as such.
    rules.otherHeader = [](const std::string& first, const std::string& second) {
        const auto fields = csvFields(second);
        if (!first.starts_with("index,system,") || fields.size() < 2) return std::string(kNotHeader);
        return "it is a sweep of " + std::string(fields[1]) + " in the form with --system; this sweep is of Lorenz " +
               "in the form without it";
    };
    rules.row = [&](std::int64_t index, const std::string& line) -> std::optional<std::pair<Why, std::string>> {
        const std::string place = placeOf(index, grid.pointAt(index));
        PointStatus status{};
        const auto row = parseSweepRow(line, settings.errors, &status);
        if (!row || line.compare(0, place.size(), place) != 0)
            return std::pair{Why::ForeignRow, "row " + std::to_string(index) + " does not belong to it"};
        if (const PointStatus own = statusOf(row->result, row->parameters, settings); status != own)
            return std::pair{Why::Inconsistent, "row " + std::to_string(index) + " says " +
                                                    std::string(statusWord(status)) + " where its numbers are " +
                                                    std::string(statusWord(own))};
        if (!sameRun.fits(row->result))
            return std::pair{Why::Inconsistent,
                             "row " + std::to_string(index) + " is not of the same run as the rows before it"};
        if (accepted) accepted(*row);
        return std::nullopt;
    };
    rules.differs = [&](const std::vector<SampledLine>& sampled) -> std::optional<std::int64_t> {
        std::vector<FlowParameters> points;
        for (const SampledLine& s : sampled) points.push_back(grid.pointAt(s.index));
        std::vector<PointResult> results(points.size());
        runPoints(widestPath(), settings, points, results);
        for (std::size_t i = 0; i < sampled.size(); ++i)
            if (sweepRow({sampled[i].index, points[i], results[i]}, settings) != sampled[i].line) return sampled[i].index;
        return std::nullopt;
    };
    return examineRows(in, shown, range, rules, progress);
}

}  // namespace veltrano
