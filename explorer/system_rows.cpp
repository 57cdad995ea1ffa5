#include "system_rows.h"

#include "kaplan_yorke.h"
#include "precise_text.h"
#include "sweep_rows.h"

namespace veltrano::explorer {

std::string systemSweepHeader(const MapSettings& s) {
    const SystemDescription flow = descriptionOf(*s.system);
    const std::size_t k = s.system->exponents;
    std::string header = "index,system";
    for (const ParameterDescription& p : flow.parameters) header += ',' + p.name;
    header += ",t";
    for (std::size_t j = 1; j <= k; ++j) header += ",lambda" + std::to_string(j);
    header += ",kaplan_yorke,divergence,status";
    if (s.run.errors) {
        header += ",intervals";
        for (std::size_t j = 1; j <= k; ++j) header += ",lambda" + std::to_string(j) + "_err";
    }
    return header;
}

std::string systemSweepRow(const MapSettings& s, std::int64_t index, const PointResult& head,
                           const SystemCells& cells) {
    const auto cell = static_cast<std::size_t>(index);
    const std::size_t k = cells.k;
    std::string row = std::to_string(index) + ',' + systemKey(*s.system);
    for (double v : systemPoint(s, index)) row += ',' + preciseText(v);
    row += ',' + preciseText(head.t);
    if (head.completed) {
        for (double v : cells.spectrum(cell)) row += ',' + preciseText(v);
        row += ',' + preciseText(kaplanYorke(cells.spectrum(cell)));
        row += ',' + preciseText(cells.divergences[cell]);
    } else {
        row += std::string(k + 2, ',');
    }
    row += ',';
    row += statusWord(head.completed ? cells.statuses[cell] : PointStatus::Error);
    if (!s.run.errors) return row;
    row += ',' + std::to_string(head.intervals);
    if (head.completed && head.errorsKnown) {
        for (double v : cells.halfWidthsOf(cell)) row += ',' + preciseText(v);
    } else {
        row += std::string(k, ',');
    }
    return row;
}

}  // namespace veltrano::explorer
