// The lane engine compiled for the flows that have `flowAndTangents`, with
// the hook hidden (compiled as the product's engines are).
#include "dissipative_flows.h"
#include "lane_engine.h"
#include "lorenz96.h"
#include "one_vector_at_a_time.h"

VELTRANO_LANE_ENGINE_FOR(veltrano::testing::OneVectorAtATime<veltrano::ThomasSystem>);
VELTRANO_LANE_ENGINE_FOR(veltrano::testing::OneVectorAtATime<veltrano::Lorenz96System>);
