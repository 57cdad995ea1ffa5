// The lane engine for typed systems run by the interpreter (the reference).
#include "interpreted_system.h"
#include "lane_engine.h"

VELTRANO_LANE_ENGINE_FOR(veltrano::equations::InterpretedSystem);
