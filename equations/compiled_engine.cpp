// The lane engine for typed systems run by their compiled code.
#include "compiled_system.h"
#include "lane_engine.h"

VELTRANO_LANE_ENGINE_FOR(veltrano::equations::CompiledSystem);
