#include "sweep_resume.h"

#include <fstream>
#include <vector>

#include "precise_text.h"
#include "sweep_csv.h"

namespace veltrano::cli {

std::variant<ResumePoint, std::string> examineForResume(const std::string& path, const SweepGrid& grid,
                                                       IndexRange range,
                                                       const std::function<void(const SweepPoint&)>& accepted) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return "cannot read " + path;
    const std::string foreign = path + " is not the output of this sweep";

    ResumePoint at{0, false, range.begin};
    const std::int64_t stride = std::max<std::int64_t>(1, (range.end - range.begin) / 16);
    std::vector<std::pair<SweepPoint, std::string>> samples;  // recomputed at the end
    std::pair<SweepPoint, std::string> last{{-1, {}, {}}, {}};
    std::string line;
    while (std::getline(in, line)) {
        if (in.eof()) break;  // no newline: an unfinished line, dropped
        if (!at.hasHeader) {
            if (line != kSweepHeader) return foreign + " (its first line is not the header of a sweep)";
            at.hasHeader = true;
        } else {
            const auto row = parseSweepRow(line);
            const std::int64_t index = at.nextIndex;
            if (index >= range.end) return foreign + " (it has more rows than this sweep)";
            const std::string expected = std::to_string(index) + ',' + preciseText(grid.pointAt(index).sv) + ',' +
                                         preciseText(grid.pointAt(index).rv) + ',' +
                                         preciseText(grid.pointAt(index).bv) + ',';
            if (!row || line.compare(0, expected.size(), expected) != 0)
                return foreign + " (row " + std::to_string(index) + " does not belong to it)";
            if ((index - range.begin) % stride == 0) samples.emplace_back(*row, line);
            last = {*row, line};
            accepted(*row);
            ++at.nextIndex;
        }
        at.keepBytes += line.size() + 1;
    }
    if (!at.hasHeader) {
        // Nothing complete yet; an unfinished header is only a start of one.
        if (line.size() > kSweepHeader.size() || kSweepHeader.substr(0, line.size()) != line)
            return foreign + " (its first line is not the header of a sweep)";
    }

    if (last.first.index >= 0 && (samples.empty() || samples.back().first.index != last.first.index))
        samples.push_back(last);
    // The sampled rows must be what this sweep computes, to the byte.
    std::vector<FlowParameters> points;
    for (const auto& [row, text] : samples) points.push_back(grid.pointAt(row.index));
    std::vector<PointResult> results(points.size());
    runPoints(widestPath(), grid.n, points, results);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const SweepPoint computed{samples[i].first.index, points[i], results[i]};
        if (sweepRow(computed) != samples[i].second)
            return foreign + " (row " + std::to_string(computed.index) + " differs from what it computes)";
    }
    return at;
}

}  // namespace veltrano::cli
