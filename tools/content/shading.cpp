#include "shading.h"

#include "palette.h"

#include <algorithm>
#include <cmath>

namespace kavorind {

Model makeModel(int width, int height) {
    Model m;
    m.width = width;
    m.height = height;
    size_t n = static_cast<size_t>(width) * height;
    m.ramp.assign(n, 0);
    m.glow.assign(n, 0);
    m.bias.assign(n, 0);
    return m;
}

void paintMask(Model* m, const Canvas& mask, uint8_t key, uint8_t ramp, int bias) {
    for (int y = 0; y < m->height && y < mask.height; ++y)
        for (int x = 0; x < m->width && x < mask.width; ++x)
            if (mask.get(x, y) != key) {
                size_t i = static_cast<size_t>(y) * m->width + x;
                m->ramp[i] = ramp;
                m->glow[i] = 0;
                m->bias[i] = static_cast<int8_t>(bias);
            }
}

void modelEllipse(Model* m, double cx, double cy, double rx, double ry, uint8_t ramp, int bias) {
    Canvas mask = makeCanvas(m->width, m->height, 0);
    fillEllipse(&mask, cx, cy, rx, ry, 1);
    paintMask(m, mask, 0, ramp, bias);
}

void modelPolygon(Model* m, const std::vector<Point>& points, uint8_t ramp, int bias) {
    Canvas mask = makeCanvas(m->width, m->height, 0);
    fillPolygon(&mask, points, 1);
    paintMask(m, mask, 0, ramp, bias);
}

void modelRect(Model* m, int x, int y, int w, int h, uint8_t ramp, int bias) {
    Canvas mask = makeCanvas(m->width, m->height, 0);
    fillRect(&mask, x, y, w, h, 1);
    paintMask(m, mask, 0, ramp, bias);
}

void modelGlow(Model* m, double cx, double cy, double rx, double ry, uint8_t ramp, int core,
               int edge) {
    for (int y = 0; y < m->height; ++y)
        for (int x = 0; x < m->width; ++x) {
            double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            double d = u * u + v * v;
            if (d > 1.0)
                continue;
            size_t i = static_cast<size_t>(y) * m->width + x;
            double s = core + (edge - core) * std::sqrt(d);
            int level = static_cast<int>(s);
            if (ditherUp(x, y, s - level))
                ++level;
            m->ramp[i] = ramp;
            m->glow[i] = static_cast<uint8_t>(std::clamp(level, 1, 15));
        }
}

void modelTint(Model* m, double cx, double cy, double rx, double ry, int bias) {
    for (int y = 0; y < m->height; ++y)
        for (int x = 0; x < m->width; ++x) {
            double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            size_t i = static_cast<size_t>(y) * m->width + x;
            if (u * u + v * v <= 1.0 && m->ramp[i])
                m->bias[i] = static_cast<int8_t>(bias);
        }
}

namespace {

// City-block-ish distance from each filled pixel to the nearest empty one (chamfer 3-4, in
// thirds of a pixel), with the canvas border counting as empty.
std::vector<double> edgeDistance(const Model& m) {
    const int w = m.width, h = m.height;
    const double far = 1e9;
    std::vector<double> d(static_cast<size_t>(w) * h);
    auto at = [&](int x, int y) -> double {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return 0.0;
        return d[static_cast<size_t>(y) * w + x];
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            d[static_cast<size_t>(y) * w + x] = m.ramp[static_cast<size_t>(y) * w + x] ? far : 0.0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            double& v = d[static_cast<size_t>(y) * w + x];
            if (v == 0.0)
                continue;
            v = std::min({v, at(x - 1, y) + 3, at(x, y - 1) + 3, at(x - 1, y - 1) + 4,
                          at(x + 1, y - 1) + 4});
        }
    for (int y = h - 1; y >= 0; --y)
        for (int x = w - 1; x >= 0; --x) {
            double& v = d[static_cast<size_t>(y) * w + x];
            if (v == 0.0)
                continue;
            v = std::min({v, at(x + 1, y) + 3, at(x, y + 1) + 3, at(x + 1, y + 1) + 4,
                          at(x - 1, y + 1) + 4});
        }
    for (double& v : d)
        v /= 3.0;
    return d;
}

} // namespace

Canvas renderModel(const Model& m, uint8_t key, const Lighting& light) {
    const int w = m.width, h = m.height;
    Canvas out = makeCanvas(w, h, key);
    std::vector<double> dist = edgeDistance(m);
    const double r = light.roundness;
    std::vector<double> height(dist.size());
    for (size_t i = 0; i < dist.size(); ++i) {
        double t = std::min(dist[i], r) / r;
        height[i] = r * std::sqrt(std::max(0.0, 1 - (1 - t) * (1 - t)));
    }
    auto hAt = [&](int x, int y) {
        x = std::clamp(x, 0, w - 1);
        y = std::clamp(y, 0, h - 1);
        return height[static_cast<size_t>(y) * w + x];
    };
    const double lx = -0.55, ly = -0.7, lz = 0.5;
    const double ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * w + x;
            if (!m.ramp[i])
                continue;
            if (m.glow[i]) {
                out.put(x, y, shade(m.ramp[i], m.glow[i]));
                continue;
            }
            double nx = -(hAt(x + 1, y) - hAt(x - 1, y)) / 2,
                   ny = -(hAt(x, y + 1) - hAt(x, y - 1)) / 2;
            double nl = std::sqrt(nx * nx + ny * ny + 1);
            double dot = (nx * lx + ny * ly + lz) / (nl * ll);
            double lit = light.ambient + (1 - light.ambient) * std::max(0.0, dot);
            double spec = std::pow(std::max(0.0, dot), 12) * 0.35;
            double s =
                (lit + spec) * 14.0 + 0.5 - 2.0 * (static_cast<double>(y) / h - 0.5) + m.bias[i];
            // Seams between materials read as panel lines.
            bool seam = (x + 1 < w && m.ramp[i + 1] && m.ramp[i + 1] != m.ramp[i]) ||
                        (y + 1 < h && m.ramp[i + w] && m.ramp[i + w] != m.ramp[i]);
            if (seam)
                s -= 4;
            int level = static_cast<int>(std::floor(s));
            if (ditherUp(x, y, s - level))
                ++level;
            out.put(x, y, shade(m.ramp[i], level));
        }
    if (light.outline)
        outlineShape(&out, key, Outline);
    return out;
}

} // namespace kavorind
