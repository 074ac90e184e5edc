#pragma once
#include "scenes/scene_protocol.h"

namespace kavorind {

// The logo: the picture fades in from black, holds, fades out and hands over to the menu.
struct LogoScene {
    int started = 0;
    int logoPhase = 0;     // 0 fading in, 1 holding, 2 fading out
    int logoCounter = 100; // the fade level while fading, the ticks held while holding
};

extern LogoScene logoScene;
extern const Scene logoSceneProtocol;

void logoTick(PendingFlag* pending);
int logoStart();
int logoRender();

} // namespace kavorind
