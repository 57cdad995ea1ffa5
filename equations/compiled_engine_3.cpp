// The lane engine for typed systems of three variables, with the state's
// size known when compiling (as the built-in three-variable flows).
#include "compiled_system.h"
#include "lane_engine.h"

VELTRANO_LANE_ENGINE_FOR(veltrano::equations::CompiledSystemOf<3>);
