#pragma once
struct SDL_Surface;

namespace kavorind {

// The program's 32 x 32, 16-colour icon (a small craft over a dark sky), built into the binary.
SDL_Surface* createWindowIcon();

} // namespace kavorind
