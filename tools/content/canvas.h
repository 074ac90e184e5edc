#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kavorind {

// A picture being drawn: one palette index per pixel, rows top to bottom, no padding.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    uint8_t get(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    void put(int x, int y, uint8_t c) {
        if (inside(x, y))
            pixels[static_cast<size_t>(y) * width + x] = c;
    }
};

struct Point {
    double x, y;
};

Canvas makeCanvas(int width, int height, uint8_t fill);
void fillRect(Canvas* c, int x, int y, int w, int h, uint8_t colour);
void drawLine(Canvas* c, int x0, int y0, int x1, int y1, uint8_t colour);
void fillEllipse(Canvas* c, double cx, double cy, double rx, double ry, uint8_t colour);
// Fills a polygon by the even-odd rule, sampling pixel centres.
void fillPolygon(Canvas* c, const std::vector<Point>& points, uint8_t colour);
// Copies src with its top-left corner at (x, y), leaving pixels equal to key out.
void blitKeyed(Canvas* dst, const Canvas& src, int x, int y, uint8_t key);
// Gives every key pixel that touches a drawn pixel (4-neighbourhood) the outline colour.
void outlineShape(Canvas* c, uint8_t key, uint8_t colour);
// A rectangle cut out of a canvas; pixels outside the source come out as fill.
Canvas cropCanvas(const Canvas& src, int x, int y, int w, int h, uint8_t fill);

// 4 x 4 ordered dither: 1 when a pixel at (x, y) with fraction f (0..1) takes the upper shade.
bool ditherUp(int x, int y, double f);

// A small deterministic generator (xorshift32): every piece of content comes from fixed seeds.
struct Rng {
    uint32_t state;
    explicit Rng(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    uint32_t next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    // A whole number from lo to hi inclusive.
    int range(int lo, int hi) {
        return lo + static_cast<int>(next() % static_cast<uint32_t>(hi - lo + 1));
    }
    double real() { return (next() >> 8) / 16777216.0; }
};

// Smooth value noise in 0..1 over one and two dimensions, the same for the same seed.
double noise1(double x, uint32_t seed);
double noise2(double x, double y, uint32_t seed);
// Sum of octaves of noise2, still in 0..1.
double fractal2(double x, double y, uint32_t seed, int octaves);

} // namespace kavorind
