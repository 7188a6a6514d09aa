#pragma once

// Pictures to paint through any drawing layer, shared by the raster layer's tests and its
// comparison with the painter.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/draw.h"

using Draw = std::function<void(DrawLayer&)>;

inline void polygon(DrawLayer& l, std::initializer_list<std::pair<float, float>> points) {
    for (auto it = points.begin(); it != points.end(); ++it)
        it == points.begin() ? l.moveTo(it->first, it->second) : l.lineTo(it->first, it->second);
}

// A new path of one polygon, filled in the colour.
inline Draw filled(float r, float g, float b, float a,
                   std::initializer_list<std::pair<float, float>> points) {
    const std::vector<std::pair<float, float>> list(points);
    return [=](DrawLayer& l) {
        l.setColor(r, g, b, a);
        l.removeAllPoints();
        for (size_t i = 0; i < list.size(); ++i)
            i == 0 ? l.moveTo(list[i].first, list[i].second)
                   : l.lineTo(list[i].first, list[i].second);
        l.fill();
    };
}

// Many overlapping translucent triangles, discs and folded strokes, spread over all bands.
inline void busyPicture(DrawLayer& l, int count) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return float(seed >> 8) / float(1 << 24);
    };
    for (int i = 0; i < count; ++i) {
        l.setColor(next(), next(), next(), 0.2f + 0.8f * next());
        const float x = 2.4f * next() - 1.2f, y = 2.4f * next() - 1.2f, s = 0.02f + 0.4f * next();
        switch (i % 3) {
            case 0:
                l.removeAllPoints();
                polygon(l, {{x, y}, {x + s, y + 0.3f * s}, {x + 0.2f * s, y + s}});
                l.fill();
                break;
            case 1:
                l.ovalPath(x, y, s, s);
                l.fill();
                break;
            default:
                l.removeAllPoints();
                l.moveTo(x, y);
                l.lineTo(x + s, y - s);
                l.lineTo(x + 2 * s, y);
                l.setLineWidth(0.01f + 0.03f * next());
                l.stroke();
        }
    }
}
