#pragma once
#include "assets/bitmap_image.h"
#include "scenes/scene_protocol.h"
#include "sound/wave_clip.h"

namespace kavorind {

// The menu: a background with two entries, start a game and quit. Its pictures are read by its
// start and let go by its stop. Its clips are read by its first start with sound and kept, so that
// they stay converted for the output across visits.
struct MenuScene {
    BitmapImage background; // "Menu-b.BMP", which also supplies the palette
    BitmapImage entries;    // "Menu-s.BMP": both entries, selected and not, in one column
    WaveClip music;         // "MENU-B.WAV"
    WaveClip blip;          // "MENU-S.WAV"
    int started = 0;
    int selection = 0;  // 0 start a game, 1 quit
    int confirming = 0; // 1 once a choice is made and the fade runs
    int fadeLevel = 0;  // 0 to 100 in steps of 10
};

extern MenuScene menuScene;
extern const Scene menuSceneProtocol;

int menuStart();
void menuStop();
void menuTick(PendingFlag* pending);
int menuUpdate();
int menuRender();

} // namespace kavorind
