#include "sweep_row_reader.h"

#include "sweep_rows.h"

namespace veltrano {

SweepRowReader::SweepRowReader(std::istream& in, bool errors, std::string name)
    : IndexedRowReader(in, std::move(name), "a sweep",
                       [errors](std::string_view line, PointStatus* status) { return parseSweepRow(line, errors, status); }) {}

}  // namespace veltrano
