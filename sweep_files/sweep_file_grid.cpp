#include "sweep_file_grid.h"

#include <array>
#include <optional>
#include <vector>

#include "sweep_row_reader.h"

namespace veltrano {

namespace {

constexpr std::array<SweepParameter, 3> kParameters{SweepParameter::Sigma, SweepParameter::R, SweepParameter::B};

double valueOf(const FlowParameters& p, SweepParameter which) {
    return which == SweepParameter::Sigma ? p.sv : which == SweepParameter::R ? p.rv : p.bv;
}

// How each parameter moves over the rows: where it first leaves its first
// value, and where it first comes back to it.
struct Moves {
    std::int64_t count = 0;
    FlowParameters first{}, last{};
    std::array<std::optional<std::int64_t>, 3> leaves, returns;
};

SweepParameter otherThan(SweepParameter p) {
    for (SweepParameter q : kParameters)
        if (q != p) return q;
    return p;
}

SweepGrid lineOf(const Moves& m, SweepParameter which) {
    SweepGrid grid;
    grid.base = m.first;
    grid.axes[0] = {which, valueOf(m.first, which), valueOf(m.last, which), m.count, {}};
    grid.axisCount = m.count > 1 ? 1 : 0;
    return grid;
}

std::variant<SweepGrid, std::string> gridOf(const Moves& m, SweepParameter slow, SweepParameter fast,
                                           std::int64_t across, const std::string& name) {
    if (across <= 0 || m.count % across != 0) return name + " is not a whole grid";
    SweepGrid grid;
    grid.base = m.first;
    grid.axes[0] = {slow, valueOf(m.first, slow), valueOf(m.last, slow), m.count / across, {}};
    grid.axes[1] = {fast, valueOf(m.first, fast), valueOf(m.last, fast), across, {}};
    grid.axisCount = 2;
    return grid;
}

}  // namespace

std::string rowsOffGrid(std::istream& in, bool errors, const std::string& name, const SweepGrid& grid,
                        const std::function<void(const SweepPoint&, PointStatus)>& each) {
    const auto start = in.tellg();
    SweepRowReader rows(in, errors, name);
    std::string why;
    while (const auto p = rows.next()) {
        const FlowParameters expected = grid.pointAt(p->index);
        if (p->parameters.sv != expected.sv || p->parameters.rv != expected.rv || p->parameters.bv != expected.bv) {
            why = name + " row " + std::to_string(p->index) + " does not lie on the evenly spaced grid of a sweep";
            break;
        }
        if (each) each(*p, rows.status());
    }
    if (why.empty()) why = rows.error();
    in.clear();
    in.seekg(start);
    return why;
}

std::variant<SweepGrid, std::string> sweepFileGrid(std::istream& in, bool errors, const std::string& name) {
    const auto start = in.tellg();
    if (start == std::istream::pos_type(-1))
        return name + " cannot be read twice (a pipe?), as a sweep's picture needs: give the file itself";
    Moves m;
    {
        SweepRowReader rows(in, errors, name);
        std::optional<FlowParameters> previous;
        while (const auto p = rows.next()) {
            if (m.count == 0) m.first = p->parameters;
            for (std::size_t i = 0; i < 3; ++i) {
                const double v = valueOf(p->parameters, kParameters[i]), v0 = valueOf(m.first, kParameters[i]);
                if (v != v0 && !m.leaves[i]) m.leaves[i] = m.count;
                if (v == v0 && previous && valueOf(*previous, kParameters[i]) != v0 && !m.returns[i])
                    m.returns[i] = m.count;
            }
            previous = m.last = p->parameters;
            ++m.count;
        }
        if (!rows.error().empty()) return rows.error();
    }
    in.clear();
    in.seekg(start);
    if (m.count == 0) return name + " has no rows to draw";

    std::vector<std::size_t> varying;
    for (std::size_t i = 0; i < 3; ++i)
        if (m.leaves[i]) varying.push_back(i);
    if (varying.empty()) return lineOf(m, SweepParameter::R);
    if (varying.size() == 1) {
        const std::size_t i = varying[0];
        const SweepParameter p = kParameters[i];
        // Back to its first value: the fast axis of a grid whose slow axis
        // holds one value.
        if (m.returns[i]) return gridOf(m, otherThan(p), p, *m.returns[i], name);
        // A line, or the slow axis of a grid whose fast axis holds one value.
        const SweepGrid line = lineOf(m, p);
        if (rowsOffGrid(in, errors, name, line).empty()) return line;
        return gridOf(m, p, otherThan(p), *m.leaves[i], name);
    }
    if (varying.size() == 3) return name + " is not a line or a grid of a sweep";
    // The fast parameter leaves its first value first; the grid's rows are
    // as long as the stretch until it comes back.
    std::size_t fast = varying[0], slow = varying[1];
    if (*m.leaves[slow] < *m.leaves[fast]) std::swap(fast, slow);
    if (*m.leaves[slow] == *m.leaves[fast] || !m.returns[fast]) return name + " is not a line or a grid of a sweep";
    return gridOf(m, kParameters[slow], kParameters[fast], *m.returns[fast], name);
}

}  // namespace veltrano
