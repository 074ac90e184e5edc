#pragma once
#include "scenes/scene_protocol.h"
#include "sound/wave_clip.h"

namespace kavorind {

// The ending: a looping animation in the middle of the screen with its music, until Z or Escape
// fades back to the menu. The animation's frame carries over between visits, and so does the music,
// read by the first visit with sound and kept converted for the output.
struct EndingScene {
    WaveClip music; // "Ending-B.WAV"
    int started = 0;
    int endingLeaving = 0; // 1 once Z or Escape was pressed
    int endingFade = 0;    // 0 to 100 in steps of 10
};

extern EndingScene endingScene;
extern const Scene endingSceneProtocol;

int endingStart();
void endingStop();
int endingUpdate();
int endingRender();

} // namespace kavorind
