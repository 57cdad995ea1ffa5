#include "system_history_run.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "double_bits.h"
#include "system_exponents.h"
#include "visit_system.h"

using namespace veltrano;

// Each row of a flow's history is, to the last bit, what a run of that
// many intervals gives alone: its t, its k estimates and, with error bars,
// its half-widths once known; the rows come after every K-th interval and
// after the last.
TEST(SystemHistoryRun, EachRowIsTheRunOfItsIntervals) {
    const struct {
        const char* name;
        std::size_t dimension, k;
        bool errors;
        std::int64_t every;
    } cases[] = {{"rossler", 3, 3, true, 4}, {"lorenz96", 6, 2, false, 3}, {"lorenz", 3, 3, false, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto description = *findSystem(c.name, c.dimension);
        SystemSettings s{.intervals = 26,
                         .transient = 2,
                         .initial = description.start,
                         .exponents = c.k,
                         .errors = c.errors,
                         .batch = 2};
        s.initial[0] += 0.25;
        std::vector<double> parameters;
        for (const ParameterDescription& p : description.parameters) parameters.push_back(p.value);
        std::vector<SystemHistoryRow> rows;
        const auto end = runSystemHistory(description, s, parameters, c.every,
                                          [&rows](const SystemHistoryRow& r) { rows.push_back(r); });
        ASSERT_TRUE(end.completed);
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(26 / c.every + (26 % c.every != 0)));
        EXPECT_EQ(bits(rows.back().t), bits(end.t));
        for (const SystemHistoryRow& row : rows) {
            EXPECT_TRUE(row.interval % c.every == 0 || row.interval == 26) << row.interval;
            SystemSettings alone = s;
            alone.intervals = row.interval;
            visitSystem(c.name, c.dimension, [&](const auto& flow) {
                ParametersOf<std::decay_t<decltype(flow)>> point{};
                for (std::size_t i = 0; i < point.size(); ++i) point[i] = parameters[i];
                const auto r = runSystemPoint(flow, alone, point);
                EXPECT_EQ(bits(row.t), bits(r.t)) << row.interval;
                ASSERT_EQ(row.expo.size(), c.k);
                EXPECT_EQ(row.halfWidth.has_value(), r.errorsKnown) << row.interval;
                for (std::size_t i = 0; i < c.k; ++i) {
                    EXPECT_EQ(bits(row.expo[i]), bits(r.expo[i])) << row.interval << ' ' << i;
                    if (row.halfWidth) {
                        EXPECT_EQ(bits((*row.halfWidth)[i]), bits(r.halfWidth[i]));
                    }
                }
            });
        }
    }
}
