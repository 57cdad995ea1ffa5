#include <gtest/gtest.h>

#include <sstream>

#include "sweep_file_grid.h"
#include "sweep_rows.h"

using namespace veltrano;

namespace {

// The file of `grid` with every point an error row (the grid is all that
// matters here).
std::string fileOfGrid(const SweepGrid& grid) {
    std::string text = sweepHeader(false) + '\n';
    for (std::int64_t i = 0; i < grid.size(); ++i) text += sweepRow({i, grid.pointAt(i), {}}, RunSettings{}) + '\n';
    return text;
}

// The file of `grid` with the b of row `index` changed to `b`.
std::string withB(const SweepGrid& grid, std::int64_t index, double b) {
    std::string text = fileOfGrid(grid);
    SweepPoint p{index, grid.pointAt(index), {}};
    const std::string row = sweepRow(p, RunSettings{});
    p.parameters.bv = b;
    return text.replace(text.find(row), row.size(), sweepRow(p, RunSettings{}));
}

SweepGrid gridOf(std::initializer_list<SweepAxis> axes) {
    SweepGrid grid;
    grid.base = {10, 28, 2.6667};
    for (const SweepAxis& a : axes) grid.axes[static_cast<std::size_t>(grid.axisCount++)] = a;
    return grid;
}

// The grid found in `text` and why its rows are not one ("" if they are).
std::pair<std::optional<SweepGrid>, std::string> found(const std::string& text) {
    std::istringstream in(text);
    std::string header;
    std::getline(in, header);
    auto grid = sweepFileGrid(in, false, "s.csv");
    if (const auto* why = std::get_if<std::string>(&grid)) return {std::nullopt, *why};
    // The stream stands where it stood: the rows can be drawn from there.
    EXPECT_EQ(in.tellg(), static_cast<std::streamoff>(header.size() + 1));
    return {std::get<SweepGrid>(grid), rowsOffGrid(in, false, "s.csv", std::get<SweepGrid>(grid))};
}

}  // namespace

// Found again: the axes' parameters and counts, slowest first.
TEST(SweepFileGrid, EveryGridSweepWritesIsFoundAgain) {
    using P = SweepParameter;
    const double ulp = 28.000000000000004;
    const struct {
        const char* what;
        SweepGrid grid;
    } cases[] = {
        {"one point", gridOf({})},
        {"a line", gridOf({{P::R, 0, 250, 40, {}}})},
        {"a falling line", gridOf({{P::B, 4, 1, 7, {}}})},
        {"a line a few ulps wide", gridOf({{P::R, 28, ulp, 6, {}}})},
        {"a line of one value", gridOf({{P::R, 28, 28, 3, {}}})},
        {"a grid with b fast", gridOf({{P::R, 0, 250, 23, {}}, {P::B, 1, 4, 3, {}}})},
        {"a fast axis of one value", gridOf({{P::Sigma, 0, 40, 5, {}}, {P::R, 28, 28, 3, {}}})},
        {"a slow axis of one value", gridOf({{P::Sigma, 5, 5, 3, {}}, {P::R, 0, 40, 5, {}}})},
        {"a fast axis a few ulps wide", gridOf({{P::Sigma, 0, 40, 5, {}}, {P::R, 28, ulp, 6, {}}})},
        {"a slow axis a few ulps wide", gridOf({{P::R, 28, ulp, 6, {}}, {P::Sigma, 0, 40, 5, {}}})},
        {"a two-point fast axis", gridOf({{P::B, 1, 2, 4, {}}, {P::Sigma, 3, 4, 2, {}}})},
    };
    for (const auto& c : cases) {
        const auto [grid, why] = found(fileOfGrid(c.grid));
        ASSERT_TRUE(grid && why.empty()) << c.what << ": " << why;
        ASSERT_EQ(grid->axisCount, c.grid.axisCount) << c.what;
        for (std::size_t a = 0; a < static_cast<std::size_t>(c.grid.axisCount); ++a) {
            const SweepAxis &got = grid->axes[a], &made = c.grid.axes[a];
            EXPECT_EQ(std::pair(got.parameter, got.count), std::pair(made.parameter, made.count)) << c.what << ' ' << a;
        }
    }
}

TEST(SweepFileGrid, RowsOffAnyGridAreRefused) {
    using P = SweepParameter;
    const SweepGrid line = gridOf({{P::R, 0, 250, 10, {}}});
    const std::string text = fileOfGrid(line);
    const struct {
        const char* what;
        std::string text;
        std::string message;
    } cases[] = {
        {"b off the grid in the last row", withB(line, 9, 2.5), "s.csv is not a line or a grid of a sweep"},
        {"three parameters moving", withB(gridOf({{P::Sigma, 0, 1, 2, {}}, {P::R, 0, 1, 2, {}}}), 3, 2),
         "s.csv is not a line or a grid of a sweep"},
        {"a grid cut short", [&] {
             const std::string t = fileOfGrid(gridOf({{P::Sigma, 0, 30, 3, {}}, {P::R, 0, 100, 4, {}}}));
             return t.substr(0, t.rfind('\n', t.size() - 2) + 1);
         }(),
         "s.csv is not a whole grid"},
        {"uneven steps", [&] {
             SweepGrid g = line;
             g.axes[0].values = {0, 1, 3, 4, 5, 6, 7, 8, 9, 250};
             return fileOfGrid(g);
         }(),
         "s.csv row 1 does not lie on the evenly spaced grid of a sweep"},
        {"no rows", sweepHeader(false) + '\n', "s.csv has no rows to draw"},
        {"b off an axis of b", withB(gridOf({{P::B, 1, 4, 4, {}}}), 2, 2.5),
         "s.csv row 2 does not lie on the evenly spaced grid of a sweep"},
        {"two parameters leaving and coming back at once", [&] {
             // σ, R: (0, 0), (7, 1), (0, 0), (0, 1).
             const FlowParameters points[] = {{0, 0, 1}, {7, 1, 1}, {0, 0, 1}, {0, 1, 1}};
             std::string t = sweepHeader(false) + '\n';
             for (std::int64_t i = 0; i < 4; ++i)
                 t += sweepRow(SweepPoint{i, points[i], {}}, RunSettings{}) + '\n';
             return t;
         }(),
         "s.csv is not a line or a grid of a sweep"},
        {"a shard", sweepHeader(false) + '\n' + text.substr(text.find('\n', text.find('\n') + 1) + 1),
         "s.csv line 2 is not row 0 of a sweep (a sweep's file, whole or with its shards joined, starts at index 0)"},
        {"an unfinished line", text.substr(0, text.size() - 1), "s.csv line 11 is unfinished (no newline ends it)"},
    };
    for (const auto& c : cases) EXPECT_EQ(found(c.text).second, c.message) << c.what;
}

TEST(SweepFileGrid, AStreamThatCannotBeReadTwiceIsRefused) {
    struct OneWay : std::streambuf {
        pos_type seekoff(off_type, std::ios::seekdir, std::ios::openmode) override { return pos_type(-1); }
    } buffer;
    std::istream in(&buffer);
    const auto grid = sweepFileGrid(in, false, "/dev/fd/63");
    ASSERT_TRUE(std::holds_alternative<std::string>(grid));
    EXPECT_EQ(std::get<std::string>(grid),
              "/dev/fd/63 cannot be read twice (a pipe?), as a sweep's picture needs: give the file itself");
}
