#include "computation_run.h"

#include "number_text.h"

namespace veltrano {

namespace {

// Ends the busy look however the run is left.
class BusyPointer {
public:
    explicit BusyPointer(ResultView& view) : view_(view) { view_.setBusyPointer(true); }
    ~BusyPointer() { view_.setBusyPointer(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    ResultView& view_;
};

constexpr ResultField kExponentFields[] = {ResultField::Lambda1, ResultField::Lambda2, ResultField::Lambda3};

}  // namespace

RunOutcome computeAndShow(Spectrum& spectrum, const Parameters& p, ResultView& view, const Clock& clock) {
    const double startTime = clock.seconds();
    BusyPointer busy(view);
    view.setField(ResultField::Time, kBusyText, true);
    for (ResultField f : kExponentFields) view.setField(f, kBusyText, true);

    RunOutcome outcome;
    outcome.completed = spectrum.run(p, view);
    const std::string sep = view.decimalSeparator();
    if (outcome.completed) {
        view.setField(ResultField::Time, numberText(spectrum.t(), kResultPlaces, sep), false);
        for (std::size_t k = 0; k < 3; ++k)
            view.setField(kExponentFields[k], numberText(spectrum.expo()[k], kResultPlaces, sep), false);
        const double elapsed = clock.seconds() - startTime;
        outcome.seconds = elapsed;
        view.setField(ResultField::Seconds, numberText(elapsed, kSecondsPlaces, sep), false);
    }
    if (spectrum.errFlag()) {
        view.setField(ResultField::Time, numberText(spectrum.t(), kResultPlaces, sep), false);
        for (ResultField f : kExponentFields) view.setField(f, kUnknownText, false);
    }
    return outcome;
}

}  // namespace veltrano
