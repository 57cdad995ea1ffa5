#pragma once

#include <string>
#include <string_view>

#include "fault_reporter.h"
#include "fault_text.h"

namespace veltrano {

// The five result fields of the main window.
enum class ResultField { Time, Lambda1, Lambda2, Lambda3, Seconds };

// What a run needs of the window that shows it.
class ResultView : public FaultReporter {
public:
    // Tells the user about an arithmetic fault and returns once it was seen.
    virtual void reportError(std::string_view message) = 0;
    void reportFault() final { reportError(kComputationErrorText); }
    // Sets the field's text; with `repaintNow` the field is drawn at once,
    // before control returns (the computation does not let the window paint).
    virtual void setField(ResultField field, std::string_view text, bool repaintNow) = 0;
    virtual void setBusyPointer(bool busy) = 0;
    // The decimal separator of the user's regional settings.
    [[nodiscard]] virtual std::string decimalSeparator() const = 0;

protected:
    ~ResultView() = default;
};

}  // namespace veltrano
