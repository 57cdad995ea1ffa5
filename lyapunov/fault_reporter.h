#pragma once

namespace veltrano {

// How the computation tells its caller that it met an arithmetic fault: once,
// before the run returns. What the user is told is the caller's business (the
// window shows a modal critical box, the command-line tool writes to stderr);
// the call returns once the user has seen it.
class FaultReporter {
public:
    virtual void reportFault() = 0;

protected:
    ~FaultReporter() = default;
};

}  // namespace veltrano
