#pragma once

#include <vector>

#include "platform/draw.h"

// A drawing layer that paints nothing and only keeps the current path, so that the path
// operations of the picture can be hit-tested without a device. Containment uses the non-zero
// winding rule, with every subpath closed as a fill would close it; arcs and ovals are followed
// by short chords.
class HitPathLayer final : public DrawLayer {
  public:
    HitPathLayer();

    void removeAllPoints() override;
    void moveTo(float x, float y) override;
    void lineTo(float x, float y) override;
    void arc(float cx, float cy, float radius, float startDeg, float endDeg) override;
    void closePath() override;
    void ovalPath(float x, float y, float w, float h) override;
    void rectPath(float x, float y, float w, float h) override;

    void setLineWidth(float) override {}
    void fill() override {}
    void stroke() override {}
    bool contains(float x, float y) const override;

    void setColor(float, float, float, float) override {}
    TextSize measureText(const std::string&, float) const override { return {}; }
    void drawText(const std::string&, float, float, float) override {}

  private:
    struct Vertex {
        float x, y;
        bool start;  // first point of a subpath
    };
    std::vector<Vertex> points_;
};
