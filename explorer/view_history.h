#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "map_settings.h"

namespace veltrano::explorer {

// The views the user went through, as a browser keeps pages: a new view
// drops those ahead of the current one; back and forward move along them.
class ViewHistory {
public:
    static constexpr std::size_t kMostViews = 200;

    void show(const MapSettings& view);
    [[nodiscard]] bool canGoBack() const { return current_ > 0; }
    [[nodiscard]] bool canGoForward() const { return current_ + 1 < views_.size(); }
    std::optional<MapSettings> back();
    std::optional<MapSettings> forward();
    [[nodiscard]] std::size_t size() const { return views_.size(); }

private:
    std::vector<MapSettings> views_;
    std::size_t current_ = 0;
};

}  // namespace veltrano::explorer
