#pragma once

#include <QTimer>
#include <QWidget>
#include <optional>
#include <span>
#include <vector>

#include "history_picture.h"
#include "drawn_history_rows.h"

class QChart;
class QChartView;

namespace veltrano::point_panel {

// The convergence of λ1, λ2, λ3 (of a flow other than Lorenz: of its k
// estimates) as a run goes, on a logarithmic axis of t,
// drawn as `veltrano-cli plot` draws a history (the same picture of the
// same rows): the three estimates and, with error bars, the band of their
// half-widths where they are known.
class ConvergenceView : public QWidget {
    Q_OBJECT
public:
    explicit ConvergenceView(QWidget* parent = nullptr);

    void clear();
    // Rows kept since the last call, in order, and the newest row, kept or
    // not; `errors`: the run has error bars.
    void append(std::span<const HistoryRow> kept, const std::optional<HistoryRow>& newest, bool errors);
    // The rows drawn: those kept and, after them, the newest.
    [[nodiscard]] std::vector<HistoryRow> rows() const;
    // Draws the rows now (new rows are otherwise drawn a moment later, several
    // at once).
    void redraw();

    [[nodiscard]] QChart* chart() const;

    [[nodiscard]] QSize sizeHint() const override { return {460, 360}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {260, 200}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void describe();
    // Labels that fit the chart's width: the bands named once above the
    // chart rather than six entries of the legend, and the axis of t
    // labelled at every decade or every second, third, … one.
    void fitLabels();

    // The chart of a flow's k estimates (rows with a spectrum): one curve
    // each, from the rows kept, which follow the history pictures' rule.
    [[nodiscard]] pictures::LineChart flowChart() const;

    std::vector<HistoryRow> kept_;
    std::optional<HistoryRow> newest_;
    std::int64_t lastFed_ = 0;
    pictures::HistoryPicture picture_;
    QChartView* view_;
    QTimer pending_;
    bool errors_ = false;
};

}  // namespace veltrano::point_panel
