#include "props.h"

#include "palette.h"
#include "shading.h"

#include <cmath>

namespace kavorind {

Canvas pineTree(int height, uint32_t seed, uint8_t key) {
    int w = height * 5 / 8 + 4;
    Model m = makeModel(w, height + 2);
    double cx = w / 2.0;
    modelRect(&m, static_cast<int>(cx) - 2, height - 12, 4, 12, Earth, -1);
    Rng rng(seed);
    for (int k = 0; k < 3; ++k) {
        double top = (height - 10) * k / 4.0;
        double bottom = height - 10 - (height - 10) * (2 - k) / 6.0;
        double half = (w / 2.0 - 2) * (0.55 + 0.22 * k) + rng.range(-1, 1);
        modelPolygon(&m, {{cx, top}, {cx + half, bottom}, {cx - half, bottom}}, Foliage,
                     -1 - k / 2);
    }
    return renderModel(m, key, {3.0, 0.25, true});
}

Canvas roundBush(int width, int bias, uint8_t key) {
    int h = width * 2 / 3;
    Model m = makeModel(width, h);
    modelEllipse(&m, width * 0.32, h * 0.62, width * 0.3, h * 0.38, Foliage, bias);
    modelEllipse(&m, width * 0.66, h * 0.6, width * 0.32, h * 0.4, Foliage, bias - 1);
    modelEllipse(&m, width * 0.5, h * 0.42, width * 0.3, h * 0.4, Foliage, bias + 1);
    modelRect(&m, 1, h - 3, width - 2, 3, Foliage, bias - 2);
    return renderModel(m, key, {4.0, 0.25, true});
}

Canvas boulder(int width, int height, uint8_t ramp, uint8_t key) {
    Model m = makeModel(width, height);
    modelEllipse(&m, width / 2.0, height * 0.6, width / 2.0 - 1, height * 0.6 - 1, ramp, 0);
    modelRect(&m, 2, height - 3, width - 4, 3, ramp, -1);
    modelTint(&m, width * 0.6, height * 0.75, width * 0.3, height * 0.2, -2);
    return renderModel(m, key, {5.0, 0.25, true});
}

Canvas ruinedTower(int width, int height, uint32_t seed, uint8_t key) {
    Model m = makeModel(width, height);
    Rng rng(seed);
    modelRect(&m, 2, 8, width - 4, height - 8, Stone, 0);
    for (int x = 2; x < width - 6; x += 8)
        if (rng.range(0, 3))
            modelRect(&m, x, rng.range(0, 4), 6, 10, Stone, 1);
    for (int y = 18; y < height - 16; y += 22)
        modelRect(&m, width / 2 - 3, y, 6, 10, Space, 2);
    for (int y = 12; y < height; y += 8)
        for (int x = 2 + (y / 8 % 2) * 6; x < width - 2; x += 12)
            modelRect(&m, x, y, 1, 1, Stone, -3);
    return renderModel(m, key, {3.0, 0.25, true});
}

Canvas palmTree(int height, int lean, uint8_t key) {
    int w = height + 20;
    Model m = makeModel(w, height + 2);
    double baseX = w / 2.0, topX = baseX + lean;
    for (int k = 0; k < 10; ++k) {
        double t = k / 10.0;
        double x = baseX + (topX - baseX) * t * t, y = height - t * (height - 14);
        modelEllipse(&m, x, y, 3.2 - t, 3, Earth, (k % 2) ? 0 : -2);
    }
    for (int k = 0; k < 6; ++k) {
        double a = -2.8 + k * 0.55;
        double ex = topX + std::cos(a) * height * 0.4, ey = 14 + std::sin(a) * 10 + 12;
        modelPolygon(&m, {{topX, 12}, {ex, ey}, {(topX + ex) / 2, (12 + ey) / 2 - 5}}, Foliage, -2);
    }
    return renderModel(m, key, {2.0, 0.2, true});
}

Canvas lighthouse(int height, uint8_t key) {
    int w = 44;
    Model m = makeModel(w, height);
    modelPolygon(
        &m,
        {{12, 30}, {32, 30}, {36, static_cast<double>(height)}, {8, static_cast<double>(height)}},
        Metal, 2);
    for (int y = 44; y < height - 10; y += 28)
        for (int x = 0; x < w; ++x)
            for (int j = 0; j < 12; ++j) {
                size_t i = static_cast<size_t>(y + j) * w + x;
                if (m.ramp[i] == Metal)
                    m.ramp[i] = Hull;
            }
    modelRect(&m, 10, 24, 24, 6, Stone, -1);
    modelRect(&m, 14, 10, 16, 14, Stone, -3);
    modelGlow(&m, 22, 17, 6, 5, Gold, 15, 10);
    modelPolygon(&m, {{12, 10}, {32, 10}, {22, 1}}, Hull, 0);
    return renderModel(m, key, {4.0, 0.25, true});
}

Canvas antennaTower(int width, int height, uint32_t seed, uint8_t key) {
    Model m = makeModel(width, height);
    Rng rng(seed);
    int body = height / 2 + rng.range(0, height / 4);
    modelRect(&m, 2, height - body, width - 4, body, Metal, 0);
    modelRect(&m, 4, height - body - 6, width - 8, 6, Metal, 1);
    modelRect(&m, width / 2 - 1, 4, 3, height - body - 6, Metal, 2);
    modelGlow(&m, width / 2.0, 4, 3, 3, Hull, 15, 9);
    for (int y = height - body + 8; y < height - 6; y += 14)
        for (int x = 6; x < width - 8; x += 10)
            modelGlow(&m, x + 2, y + 2, 2.5, 2, rng.range(0, 2) ? Energy : Gold, 14, 9);
    return renderModel(m, key, {3.0, 0.22, true});
}

Canvas pipeRun(int width, uint8_t key) {
    Model m = makeModel(width, 30);
    modelRect(&m, 0, 8, width, 14, Stone, 0);
    for (int x = 10; x < width - 10; x += 48) {
        modelRect(&m, x, 4, 12, 22, Metal, 1);
        modelGlow(&m, x + 6, 15, 3, 3, Toxic, 15, 9);
    }
    return renderModel(m, key, {5.0, 0.25, true});
}

void standOn(Canvas* layer, const Canvas& piece, int x, int footY, uint8_t key) {
    blitKeyed(layer, piece, x - piece.width / 2, footY - piece.height, key);
}

} // namespace kavorind
