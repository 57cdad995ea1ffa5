#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "drawn_history_rows.h"
#include "flow_point.h"
#include "rk4_integrator.h"
#include "run_settings.h"

class QButtonGroup;
class QComboBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QPushButton;

namespace veltrano::point_panel {

class AttractorView;
class ConvergenceView;
class PointJob;

// The panel of one point: its parameters, the three exponents with their
// half-widths, the Kaplan-Yorke dimension and the status of the run, the
// convergence of the estimates and the attractor, all from one run computed
// on a worker thread while the panel shows it.
class PointPanel : public QWidget {
    Q_OBJECT
public:
    explicit PointPanel(QWidget* parent = nullptr);
    ~PointPanel() override;

    // Starts the run of `p` with `s`; a run still going for an earlier
    // question is stopped and nothing of it is shown again.
    void question(const FlowParameters& p, const RunSettings& s);
    // Starts the run of a point of another flow of the catalogue: its k
    // estimates, their convergence (k curves) and its attractor projected
    // on two of its variables, chosen in two boxes (the first two at first).
    void question(const FlowPoint& flow);
    // Stops the run within a few thousand steps.
    void cancel();

    // Each question has a number of its own; what is shown belongs to the last.
    [[nodiscard]] std::uint64_t generation() const { return generation_; }
    [[nodiscard]] bool running() const;
    // The rows the convergence chart draws, and the states the attractor shows
    // (one every attractorStride() steps after the transient).
    [[nodiscard]] std::vector<HistoryRow> historyRows() const;
    [[nodiscard]] std::span<const Triple> attractorStates() const;
    [[nodiscard]] std::int64_t attractorStride() const { return stride_; }
    // How the run ended, once it has (empty while it runs and after a cancel).
    [[nodiscard]] const std::optional<PointResult>& result() const { return result_; }
    // Of a flow: the variables the attractor is projected on (across, up).
    void setProjectionVariables(int across, int up);

signals:
    // The run of the current question has ended: completed, stopped by a
    // fault or cancelled.
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void showParameters();
    void showEstimates(const Triple& expo, const std::optional<Triple>& halfWidth);
    void showEnd(bool cancelled, const PointResult& result);
    void reap();
    // Shows the controls of Lorenz or of a flow, with the flow's variables.
    void showFlowControls();
    // The flow's states projected on the chosen variables, from state `first`.
    [[nodiscard]] std::vector<Triple> projectedStates(std::size_t first) const;
    void showFlowEnd(const PointJob& job, const PointResult& result, const std::vector<double>& spectrum,
                     double meanDivergence);

    FlowParameters point_{};
    std::optional<FlowPoint> flow_;
    std::vector<double> flowStates_;  // d doubles a state
    RunSettings settings_;
    std::uint64_t generation_ = 0;
    std::unique_ptr<PointJob> job_;
    std::vector<std::unique_ptr<PointJob>> stopping_;  // earlier questions' jobs, ending
    std::optional<PointResult> result_;
    std::optional<HistoryRow> newest_;
    std::int64_t stride_ = 1;
    QTimer timer_;
    QPointer<QWidget> watchedWindow_;

    QFormLayout* form_;
    QLabel* parameters_;   // of a flow: every parameter with its value
    QLabel* moreLambdas_;  // of a flow of k > 3: λ4 ... λk
    QGroupBox* projectionBox_;
    QGroupBox* variablesBox_;
    QComboBox* across_;
    QComboBox* up_;
    std::string variablesOf_;  // the flow the variables' boxes list
    QLabel* sigma_;
    QLabel* r_;
    QLabel* b_;
    QLabel* lambda_[3];
    QLabel* dimension_;
    QLabel* time_;
    QLabel* status_;
    QLabel* errorsNote_;
    QPushButton* stop_;
    QButtonGroup* projections_;
    ConvergenceView* convergence_;
    AttractorView* attractor_;
};

}  // namespace veltrano::point_panel
