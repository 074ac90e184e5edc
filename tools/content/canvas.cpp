#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace kavorind {

Canvas makeCanvas(int width, int height, uint8_t fill) {
    Canvas c;
    c.width = width;
    c.height = height;
    c.pixels.assign(static_cast<size_t>(width) * height, fill);
    return c;
}

void fillRect(Canvas* c, int x, int y, int w, int h, uint8_t colour) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            c->put(i, j, colour);
}

void drawLine(Canvas* c, int x0, int y0, int x1, int y1, uint8_t colour) {
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    for (;;) {
        c->put(x0, y0, colour);
        if (x0 == x1 && y0 == y1)
            return;
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void fillEllipse(Canvas* c, double cx, double cy, double rx, double ry, uint8_t colour) {
    if (rx <= 0 || ry <= 0)
        return;
    for (int y = static_cast<int>(std::floor(cy - ry)); y <= static_cast<int>(std::ceil(cy + ry));
         ++y)
        for (int x = static_cast<int>(std::floor(cx - rx));
             x <= static_cast<int>(std::ceil(cx + rx)); ++x) {
            double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
            if (u * u + v * v <= 1.0)
                c->put(x, y, colour);
        }
}

void fillPolygon(Canvas* c, const std::vector<Point>& points, uint8_t colour) {
    if (points.size() < 3)
        return;
    double top = points[0].y, bottom = points[0].y;
    for (const Point& p : points) {
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    std::vector<double> crossings;
    for (int y = std::max(0, static_cast<int>(std::floor(top)));
         y <= std::min(c->height - 1, static_cast<int>(std::ceil(bottom))); ++y) {
        double sy = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % points.size()];
            if ((a.y <= sy && b.y > sy) || (b.y <= sy && a.y > sy))
                crossings.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(crossings[i] - 0.5));
                 x <= static_cast<int>(std::floor(crossings[i + 1] - 0.5)); ++x)
                c->put(x, y, colour);
    }
}

void blitKeyed(Canvas* dst, const Canvas& src, int x, int y, uint8_t key) {
    for (int j = 0; j < src.height; ++j)
        for (int i = 0; i < src.width; ++i) {
            uint8_t v = src.get(i, j);
            if (v != key)
                dst->put(x + i, y + j, v);
        }
}

void outlineShape(Canvas* c, uint8_t key, uint8_t colour) {
    Canvas before = *c;
    for (int y = 0; y < c->height; ++y)
        for (int x = 0; x < c->width; ++x) {
            if (before.get(x, y) != key)
                continue;
            const int dx[4] = {1, -1, 0, 0}, dy[4] = {0, 0, 1, -1};
            for (int k = 0; k < 4; ++k) {
                int nx = x + dx[k], ny = y + dy[k];
                if (before.inside(nx, ny) && before.get(nx, ny) != key &&
                    before.get(nx, ny) != colour) {
                    c->put(x, y, colour);
                    break;
                }
            }
        }
}

Canvas cropCanvas(const Canvas& src, int x, int y, int w, int h, uint8_t fill) {
    Canvas out = makeCanvas(w, h, fill);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (src.inside(x + i, y + j))
                out.put(i, j, src.get(x + i, y + j));
    return out;
}

bool ditherUp(int x, int y, double f) {
    static const int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return f * 16.0 > bayer[y & 3][x & 3] + 0.5;
}

namespace {

double hashUnit(int64_t x, int64_t y, uint32_t seed) {
    uint64_t h = static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                 static_cast<uint64_t>(y) * 0xC2B2AE3D27D4EB4Full ^ (uint64_t(seed) << 17);
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return (h >> 11) / 9007199254740992.0;
}

double smooth(double t) {
    return t * t * (3 - 2 * t);
}

} // namespace

double noise1(double x, uint32_t seed) {
    double fx = std::floor(x);
    double t = smooth(x - fx);
    int64_t i = static_cast<int64_t>(fx);
    return hashUnit(i, 0, seed) * (1 - t) + hashUnit(i + 1, 0, seed) * t;
}

double noise2(double x, double y, uint32_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    double tx = smooth(x - fx), ty = smooth(y - fy);
    int64_t i = static_cast<int64_t>(fx), j = static_cast<int64_t>(fy);
    double a = hashUnit(i, j, seed) * (1 - tx) + hashUnit(i + 1, j, seed) * tx;
    double b = hashUnit(i, j + 1, seed) * (1 - tx) + hashUnit(i + 1, j + 1, seed) * tx;
    return a * (1 - ty) + b * ty;
}

double fractal2(double x, double y, uint32_t seed, int octaves) {
    double sum = 0, weight = 0, amp = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += noise2(x, y, seed + o * 101) * amp;
        weight += amp;
        x *= 2;
        y *= 2;
        amp *= 0.5;
    }
    return sum / weight;
}

} // namespace kavorind
