#pragma once
#include "scenes/scene_trace.h"

namespace kavorind {

// While a stage runs: every field of the game state and the game scene under its own name, and
// the active slots of the four tables in table order.
void traceGame(TraceFields& fields);

} // namespace kavorind
