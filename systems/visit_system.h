#pragma once

#include <cstddef>
#include <string_view>

#include "conservative_flows.h"
#include "dissipative_flows.h"
#include "flow_system.h"
#include "lorenz96.h"
#include "system_description.h"

namespace veltrano {

// Calls visit(system) with the flow called `name` as its own type, so that
// a front end instantiates its templates once per flow: returns false, and
// calls nothing, for an unknown name or a dimension the flow cannot take
// (see findSystem). The names are those of the catalogue.
template <class Visit>
bool visitSystem(std::string_view name, std::size_t dimension, Visit&& visit) {
    const std::optional<SystemDescription> description = findSystem(name, dimension);
    if (!description) return false;
    if (name == "lorenz")
        visit(LorenzSystem{});
    else if (name == "rossler")
        visit(RosslerSystem{});
    else if (name == "chen")
        visit(ChenSystem{});
    else if (name == "lu")
        visit(LuSystem{});
    else if (name == "thomas")
        visit(ThomasSystem{});
    else if (name == "halvorsen")
        visit(HalvorsenSystem{});
    else if (name == "nose-hoover")
        visit(NoseHooverSystem{});
    else if (name == "sprott-b")
        visit(SprottBSystem{});
    else if (name == "sprott-jerk")
        visit(SprottJerkSystem{});
    else if (name == "rabinovich-fabrikant")
        visit(RabinovichFabrikantSystem{});
    else if (name == "hindmarsh-rose")
        visit(HindmarshRoseSystem{});
    else if (name == "lorenz84")
        visit(Lorenz84System{});
    else if (name == "rucklidge")
        visit(RucklidgeSystem{});
    else if (name == "arneodo")
        visit(ArneodoSystem{});
    else if (name == "henon-heiles")
        visit(HenonHeilesSystem{});
    else if (name == "lorenz96")
        visit(Lorenz96System{dimension});
    else
        return false;
    return true;
}

}  // namespace veltrano
