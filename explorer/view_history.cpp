#include "view_history.h"

namespace veltrano::explorer {

void ViewHistory::show(const MapSettings& view) {
    if (!views_.empty() && views_[current_] == view) return;
    if (!views_.empty()) views_.resize(current_ + 1);
    views_.push_back(view);
    if (views_.size() > kMostViews) views_.erase(views_.begin());
    current_ = views_.size() - 1;
}

std::optional<MapSettings> ViewHistory::back() {
    if (!canGoBack()) return std::nullopt;
    return views_[--current_];
}

std::optional<MapSettings> ViewHistory::forward() {
    if (!canGoForward()) return std::nullopt;
    return views_[++current_];
}

}  // namespace veltrano::explorer
