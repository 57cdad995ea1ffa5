#include "sweep_examination.h"

#include <optional>
#include <vector>

#include "line_reader.h"
#include "precise_text.h"
#include "row_sample.h"
#include "sweep_rows.h"

namespace veltrano {

namespace {

using Why = ExaminationRefusal::Why;

struct SampledRow {
    SweepPoint point;
    std::string line;
};

// The start of the row of `index`: its index and its parameters.
std::string placeOf(std::int64_t index, const FlowParameters& p) {
    return std::to_string(index) + ',' + preciseText(p.sv) + ',' + preciseText(p.rv) + ',' + preciseText(p.bv) + ',';
}

// What one run gives every point that it completes without a target error:
// the same t, and with error bars all the measured intervals.
class SameRunCheck {
public:
    explicit SameRunCheck(const RunSettings& settings) : settings_(settings) {}
    [[nodiscard]] bool fits(const PointResult& r) {
        if (!r.completed || settings_.targetError > 0) return true;
        if (settings_.errors && r.intervals != settings_.intervals) return false;
        if (!seen_) {
            seen_ = true;
            t_ = r.t;
        }
        return r.t == t_;
    }

private:
    const RunSettings& settings_;
    bool seen_ = false;
    double t_ = 0.0;
};

}  // namespace

std::variant<ExaminedFile, ExaminationRefusal> examineSweepFile(std::istream& in, const std::string& shown,
                                                                const SweepGrid& grid, IndexRange range,
                                                                const RunSettings& settings,
                                                                const std::function<void(const SweepPoint&)>& accepted,
                                                                const std::function<void(std::int64_t)>& progress) {
    const std::string foreign = shown + " is not the output of this sweep";
    const auto refuse = [&](Why why, std::int64_t index, const std::string& detail) {
        return ExaminationRefusal{why, index, foreign + " (" + detail + ")"};
    };
    const std::string header = sweepHeader(settings.errors);
    const std::string notHeader = "its first line is not the header of this sweep";

    ExaminedFile at{0, 0, false, range.begin};
    RowSample<SampledRow> sample;
    SameRunCheck sameRun(settings);
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
            if (line != header) return refuse(Why::Header, -1, notHeader);
            at.hasHeader = true;
        } else {
            const std::int64_t index = at.nextIndex;
            if (index >= range.end) return refuse(Why::TooManyRows, index, "it has more rows than this sweep");
            const std::string place = placeOf(index, grid.pointAt(index));
            PointStatus status{};
            const auto row = parseSweepRow(line, settings.errors, &status);
            if (!row || line.compare(0, place.size(), place) != 0)
                return refuse(Why::ForeignRow, index, "row " + std::to_string(index) + " does not belong to it");
            if (const PointStatus own = statusOf(row->result, row->parameters, settings); status != own)
                return refuse(Why::Inconsistent, index,
                              "row " + std::to_string(index) + " says " + std::string(statusWord(status)) +
                                  " where its numbers are " + std::string(statusWord(own)));
            if (!sameRun.fits(row->result))
                return refuse(Why::Inconsistent, index,
                              "row " + std::to_string(index) + " is not of the same run as the rows before it");
            sample.offer({*row, std::move(line)});
            if (accepted) accepted(*row);
            ++at.nextIndex;
            if (progress && (index & 0xffff) == 0) progress(index - range.begin + 1);
        }
        at.keepBytes = lines.bytes();
    }
    at.totalBytes = lines.bytes();
    if (progress) progress(at.nextIndex - range.begin);

    // The sampled rows must be what this sweep computes, to the byte.
    const std::vector<SampledRow> sampled = sample.rows();
    std::vector<FlowParameters> points;
    for (const SampledRow& s : sampled) points.push_back(s.point.parameters);
    std::vector<PointResult> results(points.size());
    runPoints(widestPath(), settings, points, results);
    for (std::size_t i = 0; i < sampled.size(); ++i) {
        const SweepPoint computed{sampled[i].point.index, points[i], results[i]};
        if (sweepRow(computed, settings) != sampled[i].line)
            return refuse(Why::Differs, computed.index,
                          "row " + std::to_string(computed.index) + " differs from what it computes");
    }
    return at;
}

}  // namespace veltrano
