#include "render/snub_draw.h"

#include <algorithm>

#include "colour/colour.h"
#include "platform/draw.h"
#include "render/depth_order.h"
#include "render/elements.h"
#include "render/model.h"
#include "render/paths.h"
#include "render/projection.h"
#include "tiling/snub.h"

namespace {

class SnubPainter {
  public:
    SnubPainter(const Model& m, const PathTarget& target)
        : s_(m.settings), c_(m.colourState), target_(target), mirror_(m.settings.snubMirror) {}

    void drawFace(const PolyModule& p) {
        const DataModule* corners[12];
        const int n = snubCorners(p, mirror_, corners);
        if (n < 3 || std::find(corners, corners + n, nullptr) != corners + n) return;
        const int type = p.kind == kSnubKind ? (mirror_ ? 8 : 9) : p.kind;
        if (!typeDrawn(s_, type)) return;
        color(kPolyFace, type, *p.centre);
        const Point* points[12];
        for (int i = 0; i < n; ++i) points[i] = &corners[i]->polyPoint;
        pathCycle(target_, points, n);
        target_.layer.fill();
    }

    void drawEdges(const PolyModule& p) {
        if (p.kind == kSnubKind) return;
        const int type = 3 + p.kind;
        if (!typeDrawn(s_, type)) return;
        const DataModule* corners[12];
        const int n = snubCorners(p, mirror_, corners);
        const float w = width(s_.polyEdgeThick);
        for (int i = 0; i < (n == 2 ? 1 : n); ++i) {
            const DataModule* a = corners[i];
            const DataModule* b = corners[(i + 1) % n];
            const DataModule* side = mirror_ ? p.sideB[i] : p.sideA[i];
            if (!a || !b || !side) continue;
            color(kPolyEdge, type, *side);
            path2(target_, a->polyPoint, b->polyPoint, w);
        }
    }

    void drawVertices(const PolyModule& p) {
        if (p.kind == kSnubKind) return;
        const int type = mirror_ ? 7 : 6;
        if (!typeDrawn(s_, type)) return;
        DataModule* const* corners = mirror_ ? p.cornerB.data() : p.cornerA.data();
        const int n = std::clamp(p.n, 0, 12);
        const float r = width(s_.polyVertThick);
        for (int i = 0; i < n; ++i) {
            DataModule* corner = corners[i];
            if (!corner || --corner->w2 != 0) continue;  // the first visitor paints
            color(kPolyVert, type, *corner);
            const ScreenPoint s = target_.mirror ? projXYMirror(s_, corner->polyPoint)
                                                 : projXYSelf(s_, corner->polyPoint);
            if (!validS(s)) continue;
            target_.layer.ovalPath(s.x - r, s.y - r, 2 * r, 2 * r);
            target_.layer.fill();
        }
    }

  private:
    void color(int family, int type, const DataModule& record) {
        const FamilyInfo& f = kFamilies[family];
        color_ = schemeColor(s_, c_, s_.*f.scheme, type, record, false, color_);
        setColor(target_.layer, color_, static_cast<float>(s_.*f.alpha));
    }

    float width(double thick) const { return static_cast<float>(thick * s_.windowZoom / 100); }

    const Settings& s_;
    const ColourState& c_;
    PathTarget target_;
    bool mirror_;
    BColor color_;
};

}  // namespace

void drawSnubCopy(Model& m, const PathTarget& target) {
    const Settings& s = m.settings;
    const DrawLists& lists = m.drawLists;
    const bool P = s.polyFaceDraw || s.polyEdgeDraw || s.polyVertDraw;
    const bool T = s.triFaceDraw || s.triEdgeDraw || s.triVertDraw;
    const int emphasis = s.polyTriEmphasis;

    if (emphasis != 0 && emphasis != 1) return;
    if (!P) return drawTriList(m, target);

    // The snub's polygons and, when the tri families are on, the kaleidoscope's triangles, merged
    // far to near from their two depth-sorted lists. A triangle and the snub triangle standing
    // over it share a depth: the emphasised family paints last.
    SnubPainter f(m, target);
    ElementPainter triPainter(m, target);
    auto drawSnubParts = [&](const PolyModule& p) {
        if (emphasis == 0) {
            if (s.polyFaceDraw) f.drawFace(p);
            if (s.polyEdgeDraw) f.drawEdges(p);
            if (s.polyVertDraw) f.drawVertices(p);
        } else {
            if (s.polyEdgeDraw) f.drawEdges(p);
            if (s.polyVertDraw) f.drawVertices(p);
            if (s.polyFaceDraw) f.drawFace(p);
        }
    };
    const int triCount = T ? lists.triCount : 0;
    int i = 0, j = 0;
    while (i < triCount || j < lists.polyCount) {
        bool triNext = j == lists.polyCount;
        if (!triNext && i < triCount) {
            const double dt = depthTri(s, *lists.tri[i]), dp = depthPoly(s, *lists.poly[j]);
            triNext = dt < dp || (dt == dp && emphasis == 0);
        }
        if (triNext) {
            drawTriParts(triPainter, s, *lists.tri[i++]);
        } else {
            drawSnubParts(*lists.poly[j++]);
        }
    }
}
