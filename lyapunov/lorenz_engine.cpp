// The lane engine compiled for the Lorenz system.
#include "lane_engine.h"

VELTRANO_LANE_ENGINE_FOR(veltrano::LorenzSystem);
