#pragma once

struct SDL_Surface;

namespace kavorind {
// Shared between the platform files only: in the browser the frame goes onto the page's 2D canvas
// (one putImageData of the pixels the conversion writes), not through WebGL, which a browser
// without a GPU draws on the CPU at twice the cost. The page sizes the canvas to a whole multiple
// of the frame and scales the last step smoothly itself, so the picture is sharp at any size.

// 1 in the browser, where there is a page canvas to draw into.
int platformPageHasCanvas();
// A surface of the canvas's present size in its pixel order (red, green, blue, alpha), made again
// when that size changes; null where there is no page canvas.
SDL_Surface* platformPageCanvasSurface();
// Puts the surface's pixels onto the canvas. 1 on success.
int platformShowPageCanvas(SDL_Surface* surface);

} // namespace kavorind
