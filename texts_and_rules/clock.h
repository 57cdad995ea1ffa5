#pragma once

namespace veltrano {

// A reading in seconds from an arbitrary origin; only differences mean
// anything. Injected so that tests can drive the time.
class Clock {
public:
    virtual double seconds() const = 0;

protected:
    ~Clock() = default;
};

// A monotonic clock: a run that spans midnight or a change of the system
// time still measures its real duration, never a negative one.
class SteadyClock final : public Clock {
public:
    double seconds() const override;
};

}  // namespace veltrano
