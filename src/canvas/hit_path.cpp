#include "canvas/hit_path.h"

#include <algorithm>
#include <cmath>

#include "platform/polyline.h"

namespace {

// Chords per full turn for arcs and ovals; fine enough for a pointer's hit test.
constexpr int kChordsPerTurn = 96;

}  // namespace

HitPathLayer::HitPathLayer() {
    points_.reserve(1024);
}

void HitPathLayer::removeAllPoints() {
    points_.clear();
}

void HitPathLayer::moveTo(float x, float y) {
    points_.push_back({x, y, true});
}

void HitPathLayer::lineTo(float x, float y) {
    // A line without a current point starts a subpath there, as the path objects of the toolkit do.
    points_.push_back({x, y, points_.empty()});
}

void HitPathLayer::arc(float cx, float cy, float radius, float startDeg, float endDeg) {
    double sweep = endDeg - startDeg;
    while (sweep < 0) sweep += 360;
    const double a0 = startDeg * M_PI / 180, span = sweep * M_PI / 180;
    const int n = std::max(1, static_cast<int>(std::ceil(sweep / 360 * kChordsPerTurn)));
    for (int i = 0; i <= n; ++i) {
        const double a = a0 + span * i / n;
        const float x = cx + radius * static_cast<float>(std::cos(a));
        const float y = cy + radius * static_cast<float>(std::sin(a));
        if (i == 0 && points_.empty())
            moveTo(x, y);
        else
            lineTo(x, y);
    }
}

// Filling closes every subpath anyway, so closing adds nothing to the hit test.
void HitPathLayer::closePath() {}

void HitPathLayer::ovalPath(float x, float y, float w, float h) {
    points_.clear();
    const double cx = x + w / 2.0, cy = y + h / 2.0;
    for (int i = 0; i < kChordsPerTurn; ++i) {
        const double a = 2 * M_PI * i / kChordsPerTurn;
        points_.push_back({static_cast<float>(cx + w / 2.0 * std::cos(a)),
                           static_cast<float>(cy + h / 2.0 * std::sin(a)), i == 0});
    }
}

void HitPathLayer::rectPath(float x, float y, float w, float h) {
    points_.clear();
    points_.push_back({x, y, true});
    points_.push_back({x + w, y, false});
    points_.push_back({x + w, y + h, false});
    points_.push_back({x, y + h, false});
}

bool HitPathLayer::contains(float px, float py) const {
    // The subpaths' winding numbers added up.
    int winding = 0;
    const size_t n = points_.size();
    size_t first = 0;
    while (first < n) {
        size_t end = first + 1;
        while (end < n && !points_[end].start) ++end;
        winding += windingNumber(points_.data() + first, end - first, px, py);
        first = end;
    }
    return winding != 0;
}
