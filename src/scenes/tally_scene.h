#pragma once
#include "scenes/scene_protocol.h"

namespace kavorind {

// The stage-clear tally over the frozen last picture of the stage (its state and counting live in
// game/tally.h); then the next stage, or the ending after the last.
extern const Scene tallySceneProtocol;

int tallyStart();
void tallyStop();
int tallyUpdate();
int tallyRender();

} // namespace kavorind
