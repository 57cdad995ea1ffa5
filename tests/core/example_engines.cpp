// The lane engine compiled for the example systems.
#include "example_systems.h"
#include "lane_engine.h"

VELTRANO_LANE_ENGINE_FOR(veltrano::examples::Roessler);
VELTRANO_LANE_ENGINE_FOR(veltrano::examples::Lorenz96);
