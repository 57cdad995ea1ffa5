#pragma once

#include <QLabel>
#include <array>

#include "message_box.h"
#include "result_view.h"

namespace veltrano {

// Shows a run in the result labels of the main window: t, the three
// exponents and the computing time, with the regional decimal separator.
class ResultLabels final : public ResultView {
public:
    // `labels` in the order of ResultField: t, lambda 1-3, seconds; each
    // label's accessible name on entry says what it shows, and becomes its
    // accessible description.
    ResultLabels(QWidget* window, std::array<QLabel*, 5> labels, MessageBoxFn messages);

    void reportError(std::string_view message) override;
    void setField(ResultField field, std::string_view text, bool repaintNow) override;
    void setBusyPointer(bool busy) override;
    [[nodiscard]] std::string decimalSeparator() const override;

private:
    QWidget* window_;
    std::array<QLabel*, 5> labels_;
    MessageBoxFn messages_;
};

}  // namespace veltrano
