#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "error_reporter.h"

// Keeps every message the computation reports, in order.
class RecordingReporter final : public veltrano::ErrorReporter {
public:
    void reportError(std::string_view message) override { messages.emplace_back(message); }
    std::vector<std::string> messages;
};
