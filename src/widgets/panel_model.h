#pragma once

#include <array>

#include "geometry/types.h"
#include "platform/draw.h"

// The round tabbed panel apart from any toolkit: its fifteen tabs, where the ring and the discs
// lie for a turn of the ring, which part a point falls on, and how the panel paints.
//
// Panel co-ordinates: 432 × 432, origin lower left, y upwards, centre (216, 216). The ring is the
// circle of radius 192, stroked 8 wide (radii 188 to 196); disc i, of diameter 48, is centred on
// the ring at the angle 2π·i/15 + angle, measured clockwise from straight up.

inline constexpr int kTabCount = 15;
inline constexpr double kPanelSize = 432;
inline constexpr double kPanelCentre = 216;
inline constexpr double kRingRadius = 192;
inline constexpr double kRingInner = 188;
inline constexpr double kRingOuter = 196;
inline constexpr double kDiscRadius = 24;
// The value of the panel's pressed part while the ring is being dragged.
inline constexpr int kRingPressed = 15;

// The tab captions (second line empty for one-line captions) and colours, in tab order. The
// colours run once round the colour circle from yellow to green; a page's controls are usually
// tinted with its tab's colour.
struct TabTable {
    const char* _tabTextA[kTabCount];
    const char* _tabTextB[kTabCount];
    BColor _c[kTabCount];
};

extern const TabTable tabTable;

struct PanelPoint {
    double x = 0, y = 0;
};

PanelPoint discCentre(int i, double angle);
using DiscCentres = std::array<PanelPoint, kTabCount>;
DiscCentres discCentres(double angle);

// Where p falls, by the panel's routing rules, in this order: inside disc i (the first in
// 0..14) gives i; outside radius 196 the page (−1); on the ring band (outside radius 188) the
// ring (kRingPressed); inside it the page (−1).
int panelHit(double x, double y, double angle);
int panelHit(double x, double y, const DiscCentres& discs);

// The angle of p about the centre, clockwise from straight up: atan2(x − 216, y − 216).
double ringAngle(double x, double y);

// The ring (white while dragged, grey otherwise), then the discs with their captions; the disc
// of `selected` is white.
void drawPanel(DrawLayer& layer, double angle, int selected);
