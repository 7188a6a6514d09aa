#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/draw.h"

// A DrawLayer that paints nothing and remembers everything: the exact command stream, and for
// every fill and stroke the colour, line width and path it painted. Tests read what was drawn from
// it; the benchmark replays a recorded frame into another layer.
//
// Text is measured with a fixed, font-free rule (0.5 × size per code point wide, 1.2 × size
// high) so that layout code can be tested without a toolkit.
class RecordingLayer : public DrawLayer {
  public:
    enum class Op {
        removeAllPoints,
        moveTo,
        lineTo,
        arc,
        closePath,
        ovalPath,
        rectPath,
        setLineWidth,
        fill,
        stroke,
        setColor,
        drawText,
    };

    // One call as it was made; v holds the arguments in call order (x, y for moveTo; cx, cy,
    // radius, startDeg, endDeg for arc; x, y, w, h for the shapes; r, g, b, alpha for colours;
    // x, y, size for text).
    struct Command {
        Op op = Op::removeAllPoints;
        float v[5] = {0, 0, 0, 0, 0};
        std::string text;
    };

    // The part of a path that a fill or stroke saw: moveTo, lineTo, arc, closePath, ovalPath
    // and rectPath commands since the last removeAllPoints or shape.
    struct Paint {
        bool stroke = false;
        float r = 0, g = 0, b = 0, alpha = 1;
        float lineWidth = 1;
        std::vector<Command> path;
    };

    void removeAllPoints() override;
    void moveTo(float x, float y) override;
    void lineTo(float x, float y) override;
    void arc(float cx, float cy, float radius, float startDeg, float endDeg) override;
    void closePath() override;
    void ovalPath(float x, float y, float w, float h) override;
    void rectPath(float x, float y, float w, float h) override;
    void setLineWidth(float width) override;
    void fill() override;
    void stroke() override;
    // Non-zero winding over the path flattened to polygons (arcs and ovals in small chords).
    bool contains(float x, float y) const override;
    void setColor(float r, float g, float b, float alpha) override;
    TextSize measureText(const std::string& text, float size) const override;
    void drawText(const std::string& text, float x, float y, float size) override;

    const std::vector<Command>& commands() const { return commands_; }
    const std::vector<Paint>& paints() const { return paints_; }
    int fillCount() const;
    int strokeCount() const;
    void clear();

    // Issues the recorded commands, in order, to another layer.
    void replay(DrawLayer& target) const;

  private:
    void record(Op op, std::initializer_list<float> values);
    void paint(bool stroke);

    std::vector<Command> commands_;
    std::vector<Paint> paints_;
    std::vector<Command> path_;
    float r_ = 0, g_ = 0, b_ = 0, alpha_ = 1;
    float lineWidth_ = 1;
};
