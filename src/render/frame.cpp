#include "render/frame.h"

#include "platform/draw.h"
#include "render/elements.h"
#include "render/model.h"
#include "render/paths.h"

ViewRect viewRectFor(double w, double h, double z) {
    if (!(w > 0) || !(h > 0)) return {float(-z), float(-z), float(2 * z), float(2 * z)};
    if (h > w) return {float(-z), float(-z * h / w), float(2 * z), float(2 * z * h / w)};
    return {float(-z * w / h), float(-z), float(2 * z * w / h), float(2 * z)};
}

void setWindowZoom(Model& m, double screenWidth, double screenHeight) {
    m.viewState.rect0 = viewRectFor(screenWidth, screenHeight, m.settings.windowZoom);
}

void drawSelf(Model& m, DrawLayer& layer) {
    drawCopy(m, pathTarget(m, layer, false));
}

void drawMirror(Model& m, DrawLayer& layer) {
    drawCopy(m, pathTarget(m, layer, true));
}

void drawFrame(Model& m, const FrameView& view, DrawLayer& layer) {
    const Settings& s = m.settings;
    const double zoom = s.windowZoom;
    if (s.windowDraw) {
        const ViewRect r = viewRectFor(view.width, view.height, zoom);
        setColor(layer, s.windowColor, static_cast<float>(s.windowAlpha));
        layer.rectPath(r.x, r.y, r.width, r.height);
        layer.fill();
    }
    {
        // Both copies walk the same geodesics: each is projected once for the frame.
        GeodesicCacheScope geodesics(m, view.tolerance);
        if (s.selfMirrorEmphasis == 0) {
            if (s.mirrorDraw) drawMirror(m, layer);
            if (s.selfDraw) drawSelf(m, layer);
        } else if (s.selfMirrorEmphasis == 1) {
            if (s.selfDraw) drawSelf(m, layer);
            if (s.mirrorDraw) drawMirror(m, layer);
        }
    }
    if (s.circleDraw) {
        setColor(layer, s.circleColor, static_cast<float>(s.circleAlpha));
        layer.ovalPath(-1, -1, 2, 2);
        layer.setLineWidth(static_cast<float>(s.circleThick * zoom / 100));
        layer.stroke();
    }
    if (s.originDraw) {
        const float t = static_cast<float>(s.originThick * zoom / 100);
        setColor(layer, s.originColor, static_cast<float>(s.originAlpha));
        layer.ovalPath(-t, -t, 2 * t, 2 * t);
        layer.setLineWidth(t);
        layer.stroke();
    }
}
