#include "clock.h"

#include <chrono>

namespace veltrano {

double SteadyClock::seconds() const {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace veltrano
