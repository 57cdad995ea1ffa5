#include "system_sweep_rows.h"

#include "csv_fields.h"
#include "kaplan_yorke.h"
#include "precise_text.h"
#include "sweep_rows.h"
#include "system_entries.h"
#include "system_status.h"

namespace veltrano {

SystemSweepForm formOf(const SystemSweep& sweep) {
    SystemSweepForm form{systemField(sweep.system), {}, sweep.run.exponents, sweep.run.errors};
    for (const ParameterDescription& p : sweep.system.parameters) form.parameters.push_back(p.name);
    return form;
}

std::string systemSweepHeader(const SystemSweepForm& form) {
    std::string header = "index,system";
    for (const std::string& p : form.parameters) header += ',' + p;
    header += ",t";
    for (std::size_t k = 1; k <= form.exponents; ++k) header += ",lambda" + std::to_string(k);
    header += ",kaplan_yorke,divergence,status";
    if (!form.errors) return header;
    header += ",intervals";
    for (std::size_t k = 1; k <= form.exponents; ++k) header += ",lambda" + std::to_string(k) + "_err";
    return header;
}

PointStatus systemPointStatus(const SystemSweep& sweep, const SystemSweepPoint& point) {
    const AnySystemResult& r = point.result;
    const SystemSettings& s = sweep.run;
    // Lorenz keeps the trace check of its own sweeps, on the same numbers.
    if (sweep.system.name == "lorenz")
        return lorenzSystemStatus(r.completed, r.t, r.estimates(), point.parameters.data(), s.initial, s.step,
                                  s.stepsPerInterval);
    return systemStatus(r.completed, r.t, r.estimates(), r.meanDivergence, sweep.system.dimension, s.step,
                        s.stepsPerInterval);
}

std::string systemSweepRow(const SystemSweepForm& form, const SystemSweepPoint& point, PointStatus status) {
    const AnySystemResult& r = point.result;
    std::string row = std::to_string(point.index) + ',' + form.system;
    for (double v : point.parameters) row += ',' + preciseText(v);
    row += ',' + preciseText(r.t);
    const auto k = form.exponents;
    if (r.completed) {
        const std::span<const double> expo = std::span(r.expo).first(k);
        for (double v : expo) row += ',' + preciseText(v);
        row += ',' + preciseText(kaplanYorke(expo)) + ',' + preciseText(r.meanDivergence);
    } else {
        row += std::string(k + 2, ',');
    }
    row += ',';
    row += statusWord(status);
    if (!form.errors) return row;
    row += ',' + std::to_string(r.intervals);
    if (r.completed && r.errorsKnown) {
        for (double v : std::span(r.halfWidth).first(k)) row += ',' + preciseText(v);
    } else {
        row += std::string(k, ',');
    }
    return row;
}

std::optional<SystemSweepPoint> parseSystemSweepRow(const SystemSweepForm& form, std::string_view line,
                                                    PointStatus* status) {
    const auto fields = csvFields(line);
    const std::size_t p = form.parameters.size(), k = form.exponents;
    if (k < 1 || k > kMaxDimension || fields.size() != 6 + p + k + (form.errors ? 1 + k : 0) || fields[1] != form.system)
        return std::nullopt;
    SystemSweepPoint point;
    const auto index = wholeField(fields[0]);
    const auto t = finiteField(fields[2 + p]);
    if (!index || !t) return std::nullopt;
    point.index = *index;
    point.result.t = *t;
    point.result.exponents = k;
    for (std::size_t i = 0; i < p; ++i) {
        const auto v = finiteField(fields[2 + i]);
        if (!v) return std::nullopt;
        point.parameters.push_back(*v);
    }
    const std::string_view written = fields[5 + p + k];
    std::optional<PointStatus> known;
    for (PointStatus s : {PointStatus::Ok, PointStatus::Inconsistent, PointStatus::Error})
        if (written == statusWord(s)) known = s;
    if (!known) return std::nullopt;
    AnySystemResult& r = point.result;
    r.completed = *known != PointStatus::Error;
    // The exponents and the divergence (Kaplan-Yorke follows from them).
    for (std::size_t i = 0; i <= k && r.completed; ++i) {
        const auto v = finiteField(fields[3 + p + (i < k ? i : k + 1)]);
        if (!v) return std::nullopt;
        (i < k ? r.expo[i] : r.meanDivergence) = *v;
    }
    if (form.errors) {
        const auto intervals = wholeField(fields[6 + p + k]);
        if (!intervals) return std::nullopt;
        r.intervals = *intervals;
        r.errorsKnown = r.completed && !fields[7 + p + k].empty();
        for (std::size_t i = 0; i < k && r.errorsKnown; ++i) {
            const auto v = finiteField(fields[7 + p + k + i]);
            if (!v) return std::nullopt;
            r.halfWidth[i] = *v;
        }
    }
    if (systemSweepRow(form, point, *known) != line) return std::nullopt;
    if (status) *status = *known;
    return point;
}

SystemSweepRowReader::SystemSweepRowReader(std::istream& in, const SystemSweepForm& form, std::string name)
    : IndexedRowReader(
          in, std::move(name), "a sweep of " + form.system,
          [form](std::string_view line, PointStatus* status) { return parseSystemSweepRow(form, line, status); },
          [system = form.system](std::string_view line) {
              const auto fields = csvFields(line);
              return fields.size() > 1 && !fields[1].empty() && fields[1] != system
                         ? "a row of a sweep of " + std::string(fields[1]) + ", not of " + system
                         : std::string();
          }) {}

std::optional<SystemSweepForm> formFromHeader(std::string_view header, std::string_view firstRow) {
    const auto columns = csvFields(header);
    const auto row = csvFields(firstRow);
    if (columns.size() < 8 || columns[0] != "index" || columns[1] != "system" || row.size() < 2) return std::nullopt;
    SystemSweepForm form;
    form.system = row[1];
    std::size_t at = 2;
    while (at < columns.size() && columns[at] != "t") form.parameters.emplace_back(columns[at++]);
    while (at + 1 < columns.size() && columns[at + 1] == "lambda" + std::to_string(form.exponents + 1)) {
        ++form.exponents;
        ++at;
    }
    form.errors = columns.back().ends_with("_err");
    if (form.exponents == 0 || systemSweepHeader(form) != header) return std::nullopt;
    return form;
}

}  // namespace veltrano
