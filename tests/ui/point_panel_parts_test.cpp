// The pieces of the point panel that keep a run's data in bounded space:
// the trace of its states and the rows of its history.

#include <QTest>
#include <algorithm>
#include <cmath>

#include "attractor_trace.h"
#include "attractor_view.h"
#include "double_bits.h"
#include "drawn_history_rows.h"
#include "history_picture.h"
#include "state_trace.h"
#include "test_class_runner.h"

using veltrano::Triple;
using veltrano::point_panel::AttractorTrace;
using veltrano::point_panel::AttractorView;
using veltrano::point_panel::HistoryRow;
using veltrano::point_panel::HistoryRows;

namespace {

// A state that tells which step it belongs to.
Triple stateOf(std::int64_t step) {
    const auto s = static_cast<double>(step);
    return {s, -s, s / 2};
}

HistoryRow rowOf(std::int64_t interval, bool withErrors) {
    const auto k = static_cast<double>(interval);
    HistoryRow row{interval, k * 0.2, {1 / k, -2 / k, -14 + 1 / k}, std::nullopt};
    if (withErrors && interval >= 10) row.halfWidth = Triple{0.5 / k, 0.25 / k, 0.125 / k};
    return row;
}

void compareCharts(const veltrano::pictures::LineChart& a, const veltrano::pictures::LineChart& b) {
    QCOMPARE(a.curves.size(), b.curves.size());
    for (std::size_t i = 0; i < a.curves.size(); ++i) {
        QCOMPARE(a.curves[i].x, b.curves[i].x);
        QCOMPARE(a.curves[i].y, b.curves[i].y);
        // NaN marks the rows without half-widths: compare their bits.
        QCOMPARE(a.curves[i].low.size(), b.curves[i].low.size());
        for (std::size_t k = 0; k < a.curves[i].low.size(); ++k)
            for (const auto end : {&veltrano::pictures::Curve::low, &veltrano::pictures::Curve::high})
                QCOMPARE(bits((a.curves[i].*end)[k]), bits((b.curves[i].*end)[k]));
    }
}

}  // namespace

class PointPanelPartsTest : public QObject {
    Q_OBJECT

private slots:
    void traceKeepsEveryStrideThStep() {
        // Capacity, steps, the stride they end at: below the capacity, exactly full, one past full, three
        // doublings, an odd capacity taken as the next even, the smallest, a long run.
        const std::tuple<int, qint64, qint64> cases[] = {{100, 99, 1},           {100, 100, 1}, {100, 101, 2},
                                                         {100, 750, 8},          {7, 8, 1},     {2, 1000, 512},
                                                         {1000, 1'000'000, 1024}};
        for (const auto& [capacity, steps, stride] : cases) {
            AttractorTrace trace(static_cast<std::size_t>(capacity));
            for (std::int64_t s = 1; s <= steps; ++s) trace.add(stateOf(s));
            QCOMPARE(trace.steps(), steps);
            QCOMPARE(trace.stride(), stride);
            // Every step that is a multiple of the stride, in order, and no other.
            QCOMPARE(static_cast<qint64>(trace.states().size()), steps / stride);
            for (std::size_t i = 0; i < trace.states().size(); ++i)
                QCOMPARE(trace.states()[i], stateOf(static_cast<std::int64_t>(i + 1) * stride));
            // A doubling is announced to readers.
            QCOMPARE(trace.thinnings(), static_cast<qint64>(std::log2(static_cast<double>(stride))));
            // The trace of a flow's d coordinates keeps the same steps.
            veltrano::point_panel::StateTrace flow(3, static_cast<std::size_t>(capacity));
            for (std::int64_t s = 1; s <= steps; ++s) flow.add(stateOf(s));
            QCOMPARE(flow.stride(), stride);
            QCOMPARE(flow.thinnings(), trace.thinnings());
            QCOMPARE(flow.size(), trace.states().size());
            for (std::size_t i = 0; i < flow.size(); ++i) QVERIFY(std::ranges::equal(flow.state(i), trace.states()[i]));
        }
    }

    // The panel keeps fewer rows than a long history has, yet draws the same
    // picture as veltrano-cli draws from the whole history.
    void rowsDrawTheWholeHistorysPicture() {
        // Short (every row kept), just past the dense part, three decades, with error bars.
        for (const auto& [intervals, errors] :
             {std::pair<qint64, bool>{800, false}, {1001, true}, {1'000'000, false}, {200'000, true}}) {
            HistoryRows rows;
            veltrano::pictures::HistoryPicture whole, fromKept;
            std::size_t fed = 0;
            std::int64_t lastFed = 0;
            const auto feed = [&](const HistoryRow& row) {
                if (row.interval <= lastFed) return;
                lastFed = row.interval;
                fromKept.add(row.interval, row.t, row.expo, row.halfWidth);
            };
            for (std::int64_t k = 1; k <= intervals; ++k) {
                const HistoryRow row = rowOf(k, errors);
                whole.add(row.interval, row.t, row.expo, row.halfWidth);
                rows.add(row);
                // As the panel reads them: now and then, the rows kept since and the newest.
                if (k % 97 == 0 || k == intervals) {
                    for (; fed < rows.kept().size(); ++fed) feed(rows.kept()[fed]);
                    feed(*rows.newest());
                }
            }
            compareCharts(whole.chart("c"), fromKept.chart("c"));
            // Bounded: every interval of the dense part, about a thousand a decade after it.
            const double decades = std::max(0.0, std::log10(static_cast<double>(intervals) / 1000));
            QVERIFY(static_cast<double>(rows.kept().size()) <= 1000 + 1000 * decades + 2);
            const std::vector<HistoryRow> shown = rows.shown();
            QCOMPARE(shown.back(), rowOf(intervals, errors));
            for (const HistoryRow& row : shown) QCOMPARE(row, rowOf(row.interval, errors));
            for (std::int64_t k = 1; k <= std::min<std::int64_t>(intervals, 1000); ++k)
                QCOMPARE(shown[static_cast<std::size_t>(k - 1)].interval, k);
        }
    }

    // A finished run's attractor depends on its states only: arriving in
    // pieces that grow the box, it ends as the picture of all at once.
    void settledAttractorIsItsStatesPicture() {
        std::vector<Triple> states;
        for (int i = 0; i < 3000; ++i) {
            const double r = 1 + i / 100.0, a = i / 50.0;
            states.push_back({r * std::cos(a), r * std::sin(a), r});
        }
        const auto draw = [&](std::size_t piece, QImage& picture) {
            AttractorView view;
            view.resize(400, 320);
            for (std::size_t i = 0; i < states.size(); i += piece)
                view.append(std::span(states).subspan(i, std::min(piece, states.size() - i)), i == 0, 1);
            view.settle();
            QTRY_VERIFY(!view.drawing());
            picture = view.grab().toImage();
        };
        QImage inPieces, whole;
        draw(250, inPieces);
        draw(states.size(), whole);
        QVERIFY(!inPieces.isNull());
        QCOMPARE(inPieces, whole);
    }
};

VELTRANO_TEST_CLASS(PointPanelPartsTest, 1);
#include "point_panel_parts_test.moc"
