#include "content.h"
void addPictures(ContentSet*) {}
void addSceneAnimations(ContentSet*) {}
void addMusic(ContentSet*) {}
void addEffects(ContentSet*) {}
