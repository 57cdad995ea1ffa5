#pragma once

#include <optional>

#include "map_settings.h"
#include "shown_quantity.h"

namespace veltrano::explorer {

// The last session: the map's settings and what it showed, kept with
// QSettings under the application's name.
struct Session {
    std::optional<MapSettings> settings;  // none stored, or not usable
    Shown shown = Shown::Lambda1;
};

[[nodiscard]] Session loadSession();
void saveSession(const Session& session);

}  // namespace veltrano::explorer
