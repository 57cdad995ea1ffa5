#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sweep_row_reader.h"
#include "system_description.h"
#include "system_sweep_runner.h"
#include "trace_check.h"

namespace veltrano {

// A sweep of a flow of the catalogue: the flow at its dimension, the grid
// over its parameters and the run of every point.
struct SystemSweep {
    SystemDescription system;
    SystemGrid grid;
    SystemSettings run;
};

// What the columns of a sweep's file of a flow hold: the flow's name as
// files give it, its parameters' names, the number K of exponents, error
// bars or not.
struct SystemSweepForm {
    std::string system;
    std::vector<std::string> parameters;
    std::size_t exponents = 0;
    bool errors = false;
};
[[nodiscard]] SystemSweepForm formOf(const SystemSweep& sweep);

// index,system,<parameters>,t,lambda1..lambdaK,kaplan_yorke,divergence,status
// and, with error bars, ,intervals,lambda1_err..lambdaK_err.
[[nodiscard]] std::string systemSweepHeader(const SystemSweepForm& form);

// The status of a point of the sweep: for Lorenz the trace check of its
// Lorenz sweeps; for the other flows systemStatus (the exponents' sum against
// the mean divergence, with all d of them).
[[nodiscard]] PointStatus systemPointStatus(const SystemSweep& sweep, const SystemSweepPoint& point);

// One line of the file, without its newline: the index, the flow, the
// parameters, t, the K exponents, the Kaplan-Yorke dimension of them and
// the mean divergence with 17 significant digits, then `status`; a point
// stopped by a fault keeps its place and t, its numbers empty. With error
// bars, then the measured intervals and the K half-widths (empty while
// unknown).
[[nodiscard]] std::string systemSweepRow(const SystemSweepForm& form, const SystemSweepPoint& point,
                                         PointStatus status);

// Reads a line back; nullopt unless it is exactly what systemSweepRow
// writes in `form` for the point it describes (the flow's name, every
// number finite in the same digits, the Kaplan-Yorke dimension that of the
// exponents, "error" exactly when there are no exponents). `status`, if
// given, receives the status as written.
[[nodiscard]] std::optional<SystemSweepPoint> parseSystemSweepRow(const SystemSweepForm& form, std::string_view line,
                                                                  PointStatus* status = nullptr);

// The rows of a whole sweep's file of a flow after its header, in order
// from index 0 (as SweepRowReader).
class SystemSweepRowReader : public IndexedRowReader<SystemSweepPoint> {
public:
    SystemSweepRowReader(std::istream& in, const SystemSweepForm& form, std::string name);
};

// The form of a system sweep's file from its header line and the first
// row's flow (its second field), for files whose form is not known
// beforehand (join, plot); nullopt for a header of no such file.
[[nodiscard]] std::optional<SystemSweepForm> formFromHeader(std::string_view header, std::string_view firstRow);

}  // namespace veltrano
