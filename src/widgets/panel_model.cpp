#include "widgets/panel_model.h"

#include <cmath>
#include <numbers>

#include "widgets/control_drawing.h"
#include "widgets/control_model.h"

const TabTable tabTable = {
    {"main", "generate", "edge", "project", "transform", "mouse", "display", "σχήμα", "offset",
     "άλφα", "thickness", "πολύ", "τρί", "individual", "color"},
    {"menu", "symmetry", "length", "", "matrix", "", "", "", "", "", "", "colors", "colors",
     "colors", "panel"},
    {{1, 1, 0},
     {1, 0.6f, 0},
     {1, 0.2f, 0},
     {1, 0, 0.2f},
     {1, 0, 0.6f},
     {1, 0, 1},
     {0.6f, 0, 1},
     {0.2f, 0, 1},
     {0, 0.2f, 1},
     {0, 0.6f, 1},
     {0, 1, 1},
     {0, 1, 0.6f},
     {0, 1, 0.2f},
     {0.2f, 1, 0},
     {0.6f, 1, 0}},
};

namespace {

double squaredDistance(double x, double y, double cx, double cy) {
    return (x - cx) * (x - cx) + (y - cy) * (y - cy);
}

void setColor(DrawLayer& layer, const BColor& c) {
    layer.setColor(c.r, c.g, c.b, 1);
}

void drawCentredText(DrawLayer& layer, const char* text, double cx, double cy, float offset) {
    const DrawLayer::TextSize s = layer.measureText(text, kControlFontSize);
    layer.drawText(text, float(cx - s.width / 2), float(cy - s.height / 2 + offset),
                   kControlFontSize);
}

}  // namespace

PanelPoint discCentre(int i, double angle) {
    const double theta = 2 * std::numbers::pi * i / kTabCount + angle;
    return {kPanelCentre + kRingRadius * std::sin(theta),
            kPanelCentre + kRingRadius * std::cos(theta)};
}

DiscCentres discCentres(double angle) {
    DiscCentres discs;
    for (int i = 0; i < kTabCount; ++i) discs[i] = discCentre(i, angle);
    return discs;
}

int panelHit(double x, double y, double angle) {
    return panelHit(x, y, discCentres(angle));
}

int panelHit(double x, double y, const DiscCentres& discs) {
    for (int i = 0; i < kTabCount; ++i) {
        if (squaredDistance(x, y, discs[i].x, discs[i].y) <= kDiscRadius * kDiscRadius) return i;
    }
    const double d2 = squaredDistance(x, y, kPanelCentre, kPanelCentre);
    if (d2 > kRingOuter * kRingOuter) return -1;
    if (d2 > kRingInner * kRingInner) return kRingPressed;
    return -1;
}

double ringAngle(double x, double y) {
    return std::atan2(x - kPanelCentre, y - kPanelCentre);
}

void drawPanel(DrawLayer& layer, double angle, int selected) {
    const float ringBox = float(kPanelCentre - kRingRadius);
    layer.ovalPath(ringBox, ringBox, float(2 * kRingRadius), float(2 * kRingRadius));
    layer.setLineWidth(float(kRingOuter - kRingInner));
    setColor(layer, selected == kRingPressed ? ControlColors::_white : ControlColors::_gray);
    layer.stroke();

    for (int i = 0; i < kTabCount; ++i) {
        const PanelPoint c = discCentre(i, angle);
        const float r = float(kDiscRadius);
        layer.ovalPath(float(c.x) - r, float(c.y) - r, 2 * r, 2 * r);
        setColor(layer, selected == i ? ControlColors::_white : tabTable._c[i]);
        layer.fill();
        setColor(layer, ControlColors::_black);
        const char* b = tabTable._tabTextB[i];
        if (*b == '\0') {
            drawCentredText(layer, tabTable._tabTextA[i], c.x, c.y, 1);
        } else {
            drawCentredText(layer, tabTable._tabTextA[i], c.x, c.y, 6);
            drawCentredText(layer, b, c.x, c.y, -4);
        }
    }
}
