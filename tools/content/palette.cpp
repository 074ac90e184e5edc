#include "palette.h"

#include <cmath>
#include <vector>

namespace kavorind {

namespace {

struct Rgb {
    double r, g, b;
};

// Fills 16 entries from a list of evenly spaced control colours, interpolated in a gamma-ish space
// so the dark end of a ramp keeps enough steps.
void fillRamp(PaletteEntries* out, int start, const std::vector<Rgb>& stops, int count = 16) {
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / (count - 1) * (stops.size() - 1);
        int a = static_cast<int>(std::floor(t));
        if (a >= static_cast<int>(stops.size()) - 1)
            a = static_cast<int>(stops.size()) - 2;
        double f = t - a;
        auto mix = [&](double x, double y) {
            double v = std::pow(std::pow(x / 255.0, 2.2) * (1 - f) + std::pow(y / 255.0, 2.2) * f,
                                1 / 2.2);
            return static_cast<uint8_t>(std::lround(v * 255.0));
        };
        PaletteEntry& e = (*out)[start + i];
        e.red = mix(stops[a].r, stops[a + 1].r);
        e.green = mix(stops[a].g, stops[a + 1].g);
        e.blue = mix(stops[a].b, stops[a + 1].b);
    }
}

void set(PaletteEntries* out, int index, int r, int g, int b) {
    (*out)[index] =
        PaletteEntry{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b), 0};
}

} // namespace

PaletteEntries gameColours() {
    PaletteEntries p{};
    set(&p, Black, 0, 0, 0);
    set(&p, Outline, 14, 12, 28);
    set(&p, White, 255, 255, 255);
    set(&p, ShadowInk, 30, 32, 52);
    for (int i = 4; i < 16; ++i) // a neutral grey ramp for odd jobs
        set(&p, i, i * 20 - 40, i * 20 - 40, i * 20 - 36);
    fillRamp(&p, Metal,
             {{18, 20, 34}, {60, 70, 92}, {120, 134, 156}, {196, 208, 222}, {250, 252, 255}});
    fillRamp(&p, Sky,
             {{10, 20, 60}, {34, 70, 140}, {80, 140, 210}, {150, 200, 240}, {230, 245, 255}});
    fillRamp(&p, Earth,
             {{28, 16, 12}, {78, 46, 28}, {136, 90, 50}, {196, 150, 92}, {240, 214, 160}});
    fillRamp(&p, Foliage,
             {{8, 26, 20}, {20, 70, 40}, {50, 120, 48}, {120, 180, 60}, {210, 240, 130}});
    fillRamp(&p, Fire, {{40, 6, 6}, {150, 24, 10}, {235, 96, 20}, {255, 200, 50}, {255, 255, 230}});
    fillRamp(&p, Energy,
             {{8, 12, 60}, {20, 60, 170}, {40, 150, 240}, {130, 230, 255}, {245, 255, 255}});
    fillRamp(&p, Dusk,
             {{24, 14, 48}, {70, 30, 90}, {150, 50, 110}, {236, 110, 100}, {255, 200, 140}});
    fillRamp(&p, Sea, {{4, 20, 34}, {10, 56, 80}, {24, 110, 130}, {90, 180, 190}, {220, 250, 245}});
    fillRamp(&p, Plasma,
             {{30, 6, 40}, {100, 20, 120}, {200, 40, 190}, {255, 130, 230}, {255, 235, 255}});
    fillRamp(&p, Hull,
             {{34, 8, 14}, {100, 20, 30}, {180, 44, 40}, {240, 110, 80}, {255, 210, 180}});
    fillRamp(&p, Gold,
             {{36, 20, 8}, {110, 66, 20}, {200, 140, 40}, {250, 210, 90}, {255, 250, 210}});
    fillRamp(&p, Space, {{2, 2, 10}, {10, 10, 34}, {30, 22, 70}, {70, 40, 110}, {140, 90, 170}});
    fillRamp(&p, Stone,
             {{26, 22, 24}, {66, 58, 58}, {112, 102, 96}, {170, 160, 148}, {226, 220, 206}});
    fillRamp(&p, Toxic,
             {{8, 30, 10}, {20, 90, 30}, {60, 190, 50}, {170, 255, 90}, {240, 255, 220}});
    for (int i = 240; i < 256; ++i) // spare entries: a dim violet that nothing draws with
        set(&p, i, 40, 30, 60);
    // The colour keys look loud on purpose, so a key leaking onto the screen is seen at once.
    set(&p, KeyMiddle, 255, 0, 255);
    set(&p, KeyFirst, 255, 0, 255);
    return p;
}

PaletteEntries logoPalette() {
    PaletteEntries p{};
    fillRamp(&p, 0, {{0, 0, 0}, {0, 0, 0}}, 16);
    fillRamp(&p, 16, {{20, 10, 4}, {90, 50, 14}, {190, 120, 30}, {250, 200, 80}, {255, 255, 230}},
             64);
    fillRamp(&p, 80, {{6, 8, 16}, {40, 50, 80}, {110, 130, 170}, {200, 215, 235}, {255, 255, 255}},
             64);
    fillRamp(&p, 144, {{0, 0, 0}, {6, 20, 60}, {20, 80, 180}, {90, 190, 255}, {230, 250, 255}}, 64);
    fillRamp(&p, 208, {{0, 0, 0}, {60, 10, 10}, {200, 60, 20}, {255, 180, 60}}, 48);
    return p;
}

} // namespace kavorind
