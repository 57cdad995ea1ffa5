#pragma once

#include "fault_reporter.h"

// Counts the faults the computation reports.
class RecordingReporter final : public veltrano::FaultReporter {
public:
    void reportFault() override { ++faults; }
    int faults = 0;
};
