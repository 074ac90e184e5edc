#pragma once
struct SDL_Surface;

namespace kavorind {

// The program's 32 x 32, 16-colour icon (platform/icon_picture.h) as a surface for the window.
SDL_Surface* createWindowIcon();

} // namespace kavorind
