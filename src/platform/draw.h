#pragma once

#include <string>

// The drawing seam: everything the program paints goes through one DrawLayer, so the picture and
// the controls are plain C++ and any 2D canvas can stand behind them. Co-ordinates are in the
// user space of what is being drawn, y upwards: model units for the picture, a control's own
// size with the origin at its lower left for the panel.
//
// There is one current path. Shape operations rebuild or extend it; fill and stroke paint it in
// the current colour, composited over what is already painted with the colour's alpha.
class DrawLayer {
  public:
    virtual ~DrawLayer() = default;

    virtual void removeAllPoints() = 0;
    virtual void moveTo(float x, float y) = 0;
    virtual void lineTo(float x, float y) = 0;
    // A circular arc anticlockwise from start to end (degrees), joined to the current point.
    virtual void arc(float cx, float cy, float radius, float startDeg, float endDeg) = 0;
    virtual void closePath() = 0;
    // Replace the path with the ellipse inscribed in, or the outline of, a rectangle.
    virtual void ovalPath(float x, float y, float w, float h) = 0;
    virtual void rectPath(float x, float y, float w, float h) = 0;

    virtual void setLineWidth(float width) = 0;
    virtual void fill() = 0;
    // A path traced there and back shows as one line.
    virtual void stroke() = 0;
    // True when the point lies in the area that fill would paint.
    virtual bool contains(float x, float y) const = 0;

    virtual void setColor(float r, float g, float b, float alpha) = 0;

    struct TextSize {
        float width = 0, height = 0;
    };
    // UTF-8 text in the system font of the given size; draw puts the lower left at (x, y).
    virtual TextSize measureText(const std::string& text, float size) const = 0;
    virtual void drawText(const std::string& text, float x, float y, float size) = 0;
};
