#include "system_sweep_file_grid.h"

#include <optional>
#include <vector>

namespace veltrano {

std::variant<SystemGrid, std::string> systemSweepFileMap(
    std::istream& in, const SystemSweepForm& form, const std::string& name,
    const std::function<void(const SystemGrid&)>& found,
    const std::function<void(const SystemSweepPoint&, PointStatus)>& each) {
    const auto start = in.tellg();
    if (start == std::istream::pos_type(-1))
        return name + " cannot be read twice (a pipe?), as a sweep's picture needs: give the file itself";
    // How each parameter moves over the rows: where it first leaves its
    // first value, and where it first comes back to it.
    const std::size_t p = form.parameters.size();
    std::int64_t count = 0;
    std::vector<double> first, last;
    std::vector<std::optional<std::int64_t>> leaves(p), returns(p);
    {
        SystemSweepRowReader rows(in, form, name);
        while (const auto row = rows.next()) {
            if (count == 0) first = row->parameters;
            for (std::size_t i = 0; i < p; ++i) {
                const double v = row->parameters[i];
                if (v != first[i] && !leaves[i]) leaves[i] = count;
                if (v == first[i] && count > 0 && last[i] != first[i] && !returns[i]) returns[i] = count;
            }
            last = row->parameters;
            ++count;
        }
        if (!rows.error().empty()) return rows.error();
    }
    if (count == 0) return name + " has no rows to draw";
    std::vector<std::size_t> varying;
    std::string names;
    for (std::size_t i = 0; i < p; ++i)
        if (leaves[i]) {
            varying.push_back(i);
            names += (names.empty() ? " (" : ", ") + form.parameters[i];
        }
    if (!names.empty()) names += ')';
    if (varying.size() != 2)
        return name + " varies " + std::to_string(varying.size()) + (varying.size() == 1 ? " parameter" : " parameters") +
               " of " + form.system + names +
               ": its picture is a map over two varied parameters";
    std::size_t fast = varying[0], slow = varying[1];
    if (*leaves[slow] < *leaves[fast]) std::swap(fast, slow);
    const std::int64_t across = returns[fast].value_or(0);
    if (across <= 0 || count % across != 0) return name + " is not a whole grid of a sweep";
    SystemGrid grid;
    grid.base = first;
    grid.axes[0] = {slow, first[slow], last[slow], count / across, {}};
    grid.axes[1] = {fast, first[fast], last[fast], across, {}};
    grid.axisCount = 2;

    in.clear();
    in.seekg(start);
    found(grid);
    SystemSweepRowReader rows(in, form, name);
    while (const auto row = rows.next()) {
        if (row->parameters != grid.pointAt(row->index))
            return name + " row " + std::to_string(row->index) + " does not lie on the evenly spaced grid of a sweep";
        each(*row, rows.status());
    }
    if (!rows.error().empty()) return rows.error();
    return grid;
}

}  // namespace veltrano
