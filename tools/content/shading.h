#pragma once
#include "canvas.h"

#include <cstdint>
#include <vector>

namespace kavorind {

// A sprite before it is lit: for every pixel the ramp of its material (0 where nothing is), an
// optional fixed glow shade for lights and engines, and a shade bias for painted markings. The
// renderer turns it into palette indices with one light from the upper left, rounded edges, panel
// seams where materials meet, and a dark outline.
struct Model {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> ramp;
    std::vector<uint8_t> glow;
    std::vector<int8_t> bias;
};

Model makeModel(int width, int height);
// Paints every pixel that mask does not hold as `key` with the material.
void paintMask(Model* m, const Canvas& mask, uint8_t key, uint8_t ramp, int bias = 0);
void modelEllipse(Model* m, double cx, double cy, double rx, double ry, uint8_t ramp, int bias = 0);
void modelPolygon(Model* m, const std::vector<Point>& points, uint8_t ramp, int bias = 0);
void modelRect(Model* m, int x, int y, int w, int h, uint8_t ramp, int bias = 0);
// A glowing disc: shade `core` in the middle falling to `edge` at its rim.
void modelGlow(Model* m, double cx, double cy, double rx, double ry, uint8_t ramp, int core,
               int edge);
// Changes the bias of pixels already painted inside the ellipse (markings, stripes, shadows).
void modelTint(Model* m, double cx, double cy, double rx, double ry, int bias);

struct Lighting {
    double roundness = 4.0; // how many pixels the edges take to curve over
    double ambient = 0.22;
    bool outline = true;
};

// Lights the model; empty pixels become `key`.
Canvas renderModel(const Model& m, uint8_t key, const Lighting& light = {});

} // namespace kavorind
