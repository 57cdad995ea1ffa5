#include "sweep_resume.h"

#include <fstream>
#include <vector>

#include "precise_text.h"
#include "sweep_csv.h"

namespace veltrano::cli {

std::variant<ExaminedFile, std::string> examineSweepFile(const std::string& readPath, const std::string& shown,
                                                         const SweepGrid& grid, IndexRange range,
                                                         const RunSettings& settings,
                                                         const std::function<void(const SweepPoint&)>& accepted,
                                                         const std::function<void(std::int64_t)>& progress) {
    std::ifstream in(readPath, std::ios::binary);
    if (!in) return "cannot read " + shown;
    const std::string foreign = shown + " is not the output of this sweep";
    const std::string header = sweepHeader(settings.errors);

    ExaminedFile at{0, 0, false, range.begin};
    const std::int64_t stride = std::max<std::int64_t>(1, (range.end - range.begin) / 16);
    std::vector<std::pair<SweepPoint, std::string>> samples;  // computed again at the end
    std::pair<SweepPoint, std::string> last{{-1, {}, {}}, {}};
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof()) break;  // no newline: an unfinished line, dropped
        if (!at.hasHeader) {
            if (line != header) return foreign + " (its first line is not the header of this sweep)";
            at.hasHeader = true;
        } else {
            const std::int64_t index = at.nextIndex;
            if (index >= range.end) return foreign + " (it has more rows than this sweep)";
            const FlowParameters p = grid.pointAt(index);
            const std::string expected = std::to_string(index) + ',' + preciseText(p.sv) + ',' + preciseText(p.rv) +
                                         ',' + preciseText(p.bv) + ',';
            const auto row = parseSweepRow(line, settings.errors);
            if (!row || line.compare(0, expected.size(), expected) != 0)
                return foreign + " (row " + std::to_string(index) + " does not belong to it)";
            if ((index - range.begin) % stride == 0) samples.emplace_back(*row, line);
            last = {*row, line};
            accepted(*row);
            ++at.nextIndex;
            if ((index & 0xffff) == 0) progress(index - range.begin + 1);
        }
        at.keepBytes += line.size() + 1;
    }
    at.totalBytes = at.keepBytes + line.size();
    if (!at.hasHeader) {
        // Nothing complete yet; an unfinished header is only a start of one.
        if (line.size() > header.size() || header.compare(0, line.size(), line) != 0)
            return foreign + " (its first line is not the header of this sweep)";
    }
    progress(at.nextIndex - range.begin);

    if (last.first.index >= 0 && (samples.empty() || samples.back().first.index != last.first.index))
        samples.push_back(last);
    // The sampled rows must be what this sweep computes, to the byte.
    std::vector<FlowParameters> points;
    for (const auto& [row, text] : samples) points.push_back(grid.pointAt(row.index));
    std::vector<PointResult> results(points.size());
    runPoints(widestPath(), settings, points, results);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const SweepPoint computed{samples[i].first.index, points[i], results[i]};
        if (sweepRow(computed, settings.errors) != samples[i].second)
            return foreign + " (row " + std::to_string(computed.index) + " differs from what it computes)";
    }
    return at;
}

}  // namespace veltrano::cli
