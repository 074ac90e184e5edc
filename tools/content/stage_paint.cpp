#include "stage_paint.h"

#include "palette.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

double loopNoise(double x, double period, double scale, uint32_t seed, int octaves) {
    x = std::fmod(x, period);
    if (x < 0)
        x += period;
    double t = x / period;
    double a = lineNoise(x, scale, seed, octaves), b = lineNoise(x - period, scale, seed, octaves);
    return a * (1 - t) + b * t;
}

double loopRidges(double x, double period, double scale, uint32_t seed) {
    double sum = 0, weight = 0, amp = 1;
    for (int o = 0; o < 5; ++o) {
        double n = loopNoise(x, period, scale, seed + o * 31, 1);
        sum += (1 - std::fabs(2 * n - 1)) * amp;
        weight += amp;
        scale /= 2.1;
        amp *= 0.45;
    }
    return sum / weight;
}

double lineNoise(double x, double scale, uint32_t seed, int octaves) {
    double sum = 0, weight = 0, amp = 1, f = 1 / scale;
    for (int o = 0; o < octaves; ++o) {
        sum += noise1(x * f, seed + o * 977) * amp;
        weight += amp;
        f *= 2;
        amp *= 0.5;
    }
    return sum / weight;
}

void ditherPut(Canvas* c, int x, int y, uint8_t ramp, double s) {
    int l = static_cast<int>(std::floor(s));
    if (ditherUp(x, y, s - l))
        ++l;
    c->put(x, y, shade(ramp, l));
}

void gradientRows(Canvas* c, int y0, int y1, uint8_t ramp, double top, double bottom) {
    for (int y = y0; y < y1; ++y) {
        double s = top + (bottom - top) * (y - y0) / std::max(1, y1 - y0 - 1);
        for (int x = 0; x < c->width; ++x)
            ditherPut(c, x, y, ramp, s);
    }
}

} // namespace kavorind
