#pragma once
#include "canvas.h"

#include <algorithm>
#include <cstdint>

namespace kavorind {

// Painting helpers shared by the three stages' layers.

// Fractal noise in 0..1 along x that repeats every `period` pixels.
double loopNoise(double x, double period, double scale, uint32_t seed, int octaves = 4);
// Ridged fractal noise in 0..1 along x repeating every period: sharp peaks, rounded valleys.
double loopRidges(double x, double period, double scale, uint32_t seed);
// Fractal noise in 0..1 along x, not repeating.
double lineNoise(double x, double scale, uint32_t seed, int octaves = 4);
// A vertical gradient through shades top..bottom of a ramp, dithered, over rows y0..y1.
void gradientRows(Canvas* c, int y0, int y1, uint8_t ramp, double top, double bottom);
// Puts shade s (fractional, dithered) of a ramp at (x, y).
void ditherPut(Canvas* c, int x, int y, uint8_t ramp, double s);
// A mountain range: everything below ridge(x) gets the ramp, lit on slopes facing the upper left.
// ridge gives the top y of the range at x.
template <typename Ridge>
void paintRange(Canvas* c, Ridge ridge, uint8_t ramp, double base, double snowLine,
                uint8_t snowRamp) {
    for (int x = 0; x < c->width; ++x) {
        double top = ridge(x);
        // A surface that climbs to the right faces the light from the upper left.
        double slope = (ridge(x + 2) - ridge(x - 2)) / 8 + (ridge(x + 8) - ridge(x - 8)) / 32;
        for (int y = static_cast<int>(top); y < c->height; ++y) {
            if (y < 0)
                continue;
            double depth = y - top;
            double lit = slope < 0 ? std::min(2.0, -slope * 2.5) : -std::min(2.0, slope * 2.5);
            // Rock texture breaks the shading into crags rather than columns.
            double rock = (noise2(x / 14.0, y / 7.0, 77) - 0.5) * 1.1;
            double s = base + lit * (depth < 60 ? 1 - depth / 60 : 0) - depth * 0.012 + rock;
            if (y < snowLine && depth < 6 + (snowLine - y) * 0.25)
                ditherPut(c, x, y, snowRamp, 13 + lit);
            else
                ditherPut(c, x, y, ramp, s);
        }
    }
}

} // namespace kavorind
