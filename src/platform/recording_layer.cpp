#include "platform/recording_layer.h"

#include <algorithm>
#include <cmath>

#include "platform/polyline.h"

namespace {

struct Vertex {
    double x, y;
};

using Polygon = std::vector<Vertex>;

constexpr double kPi = 3.14159265358979323846;

// Anticlockwise sweep from start to end in degrees, in (0, 360] unless the two are equal.
double sweepDegrees(double start, double end) {
    if (start == end) return 0;
    double sweep = std::fmod(end - start, 360.0);
    if (sweep <= 0) sweep += 360.0;
    return sweep;
}

void appendArc(Polygon& poly, double cx, double cy, double r, double startDeg, double sweepDeg) {
    const int steps = std::max(1, static_cast<int>(std::ceil(sweepDeg / 5.0)));
    for (int i = 0; i <= steps; ++i) {
        const double a = (startDeg + sweepDeg * i / steps) * kPi / 180.0;
        poly.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
}

}  // namespace

void RecordingLayer::record(Op op, std::initializer_list<float> values) {
    Command c;
    c.op = op;
    int i = 0;
    for (float v : values) c.v[i++] = v;
    commands_.push_back(c);
}

void RecordingLayer::removeAllPoints() {
    record(Op::removeAllPoints, {});
    path_.clear();
}

void RecordingLayer::moveTo(float x, float y) {
    record(Op::moveTo, {x, y});
    path_.push_back(commands_.back());
}

void RecordingLayer::lineTo(float x, float y) {
    record(Op::lineTo, {x, y});
    path_.push_back(commands_.back());
}

void RecordingLayer::arc(float cx, float cy, float radius, float startDeg, float endDeg) {
    record(Op::arc, {cx, cy, radius, startDeg, endDeg});
    path_.push_back(commands_.back());
}

void RecordingLayer::closePath() {
    record(Op::closePath, {});
    path_.push_back(commands_.back());
}

void RecordingLayer::ovalPath(float x, float y, float w, float h) {
    record(Op::ovalPath, {x, y, w, h});
    path_.assign(1, commands_.back());
}

void RecordingLayer::rectPath(float x, float y, float w, float h) {
    record(Op::rectPath, {x, y, w, h});
    path_.assign(1, commands_.back());
}

void RecordingLayer::setLineWidth(float width) {
    record(Op::setLineWidth, {width});
    lineWidth_ = width;
}

void RecordingLayer::paint(bool stroke) {
    record(stroke ? Op::stroke : Op::fill, {});
    paints_.push_back(Paint{stroke, r_, g_, b_, alpha_, lineWidth_, path_});
}

void RecordingLayer::fill() {
    paint(false);
}
void RecordingLayer::stroke() {
    paint(true);
}

void RecordingLayer::setColor(float r, float g, float b, float alpha) {
    record(Op::setColor, {r, g, b, alpha});
    r_ = r, g_ = g, b_ = b, alpha_ = alpha;
}

bool RecordingLayer::contains(float x, float y) const {
    std::vector<Polygon> polys;
    auto current = [&]() -> Polygon& {
        if (polys.empty()) polys.emplace_back();
        return polys.back();
    };
    for (const Command& c : path_) {
        switch (c.op) {
            case Op::moveTo:
                polys.push_back({{c.v[0], c.v[1]}});
                break;
            case Op::lineTo:
                current().push_back({c.v[0], c.v[1]});
                break;
            case Op::arc:
                appendArc(current(), c.v[0], c.v[1], c.v[2], c.v[3], sweepDegrees(c.v[3], c.v[4]));
                break;
            case Op::closePath:
                if (!polys.empty() && !polys.back().empty()) {
                    const Vertex start = polys.back().front();
                    polys.push_back({start});
                }
                break;
            case Op::ovalPath: {
                const double rx = c.v[2] / 2.0, ry = c.v[3] / 2.0;
                Polygon oval;
                for (int i = 0; i < 72; ++i) {
                    const double a = i * kPi / 36.0;
                    oval.push_back(
                        {c.v[0] + rx + rx * std::cos(a), c.v[1] + ry + ry * std::sin(a)});
                }
                polys.push_back(oval);
                break;
            }
            case Op::rectPath:
                polys.push_back({{c.v[0], c.v[1]},
                                 {c.v[0] + c.v[2], c.v[1]},
                                 {c.v[0] + c.v[2], c.v[1] + c.v[3]},
                                 {c.v[0], c.v[1] + c.v[3]}});
                break;
            default:
                break;
        }
    }
    int w = 0;
    for (const Polygon& p : polys) w += windingNumber(p.data(), p.size(), x, y);
    return w != 0;
}

DrawLayer::TextSize RecordingLayer::measureText(const std::string& text, float size) const {
    int codePoints = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80) ++codePoints;
    }
    return {0.5f * size * codePoints, 1.2f * size};
}

void RecordingLayer::drawText(const std::string& text, float x, float y, float size) {
    record(Op::drawText, {x, y, size});
    commands_.back().text = text;
}

int RecordingLayer::fillCount() const {
    int n = 0;
    for (const Paint& p : paints_) n += !p.stroke;
    return n;
}

int RecordingLayer::strokeCount() const {
    return static_cast<int>(paints_.size()) - fillCount();
}

void RecordingLayer::clear() {
    commands_.clear();
    paints_.clear();
    path_.clear();
    r_ = g_ = b_ = 0;
    alpha_ = 1;
    lineWidth_ = 1;
}

void RecordingLayer::replay(DrawLayer& target) const {
    for (const Command& c : commands_) {
        const float* v = c.v;
        switch (c.op) {
            case Op::removeAllPoints:
                target.removeAllPoints();
                break;
            case Op::moveTo:
                target.moveTo(v[0], v[1]);
                break;
            case Op::lineTo:
                target.lineTo(v[0], v[1]);
                break;
            case Op::arc:
                target.arc(v[0], v[1], v[2], v[3], v[4]);
                break;
            case Op::closePath:
                target.closePath();
                break;
            case Op::ovalPath:
                target.ovalPath(v[0], v[1], v[2], v[3]);
                break;
            case Op::rectPath:
                target.rectPath(v[0], v[1], v[2], v[3]);
                break;
            case Op::setLineWidth:
                target.setLineWidth(v[0]);
                break;
            case Op::fill:
                target.fill();
                break;
            case Op::stroke:
                target.stroke();
                break;
            case Op::setColor:
                target.setColor(v[0], v[1], v[2], v[3]);
                break;
            case Op::drawText:
                target.drawText(c.text, v[0], v[1], v[2]);
                break;
        }
    }
}
