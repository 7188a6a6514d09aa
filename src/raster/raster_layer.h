#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/draw.h"

class WorkerPool;

// Pixels the raster layer paints into: rows of premultiplied 0xAARRGGBB words (the byte order of
// the machine's 32-bit words), `stride` bytes apart.
struct RasterPixels {
    uint32_t* bits = nullptr;
    ptrdiff_t stride = 0;
    int width = 0, height = 0;
};

// The model rectangle mapped onto the whole image: lower left (x, y), y upwards.
struct ModelRect {
    double x = 0, y = 0, width = 0, height = 0;
};

// The drawing layer for raster images, built for speed.
//
// While a frame is drawn into it, it records a display list in device pixels: every fill as its
// closed outlines, every stroke already turned into the outline of the stroked area (flat caps,
// miter joins clipped at 10 half widths, like QtDrawLayer's pen), each with its premultiplied
// colour and its bounds. Shapes wholly outside the image and fully transparent ones are left out.
// paint() then rasterises the list over the pixels in horizontal bands, one band at a time per
// painting thread; within a band the items are painted in the order they were recorded, so the
// result is the same as painting them one after the other, whatever the number of threads.
//
// Coverage is the exact area of each pixel under the outline (non-zero winding, antialiased),
// and every item is composited source-over with its colour's alpha times that coverage. Paths
// are flattened: arcs and ovals become polygons within a tenth of a pixel.
//
// Buffers and painting threads are kept from frame to frame: a steady picture allocates nothing
// and starts no thread. The threads are the layer's own, started when it first paints and
// joined when it is destroyed.
class RasterLayer : public DrawLayer {
  public:
    struct Vec {
        float x, y;
    };
    // One filled or stroked path: rings [firstRing, firstRing + ringCount) of the list, its
    // premultiplied colour (0xAARRGGBB) and its pixel bounds, clipped to the image: columns
    // x0 ≤ x < x1, rows y0 ≤ y < y1.
    struct Item {
        uint32_t firstRing = 0, ringCount = 0, firstPoint = 0;
        uint32_t color = 0;
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };

    // Polylines are thinned to the points that keep every dropped one within this many pixels
    // of the line drawn: small shapes drawn with many pieces cost what their size needs.
    static constexpr float kThinning = 0.05f;

    // Paints with this many threads, the caller's included; 0: one per core.
    explicit RasterLayer(int threads = 0);
    ~RasterLayer() override;
    RasterLayer(const RasterLayer&) = delete;
    RasterLayer& operator=(const RasterLayer&) = delete;

    int threads() const { return threads_; }

    // Whether pixels are painted eight at a time, on processors with AVX2 (the default there).
    // Both ways give the same pixels to the bit.
    bool widePath() const { return wide_; }
    void setWidePath(bool on);

    // Starts a new list for an image of width × height pixels onto which modelRect is mapped, as
    // QtDrawLayer maps it onto a device rectangle.
    void begin(const ModelRect& modelRect, int width, int height);

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
    bool contains(float x, float y) const override;
    void setColor(float r, float g, float b, float alpha) override;
    // Text is not part of a picture; it is measured as nothing and not drawn.
    TextSize measureText(const std::string& text, float size) const override;
    void drawText(const std::string& text, float x, float y, float size) override;

    // Composites the list over the pixels, which must be of the size given to begin (anything
    // else is left alone). With clear, the pixels are first cleared to transparent (by the
    // painting threads, band by band). Does nothing while painting() (below).
    void paint(const RasterPixels& image, bool clear = false);

    // The same while the list is being recorded: after begin, startPainting sets a painting
    // thread to paint each item as soon as it is recorded; finishPainting, after the last
    // item, paints what is left in bands on every thread and returns with the image complete.
    // The pixels must not be touched in between. With one thread, or for pixels that do not
    // fit, startPainting does nothing and finishPainting paints nothing either: call paint
    // then. The picture is the same as paint's, pixel for pixel.
    void startPainting(const RasterPixels& image, bool clear = false);
    void finishPainting();
    bool painting() const { return follower_ != nullptr; }

    // Whether lines are thinned as they are recorded (kThinning); on by default. A caller
    // that hands over lines already thinned to a pixel's fraction can spare the work.
    void setThinLines(bool on) { thinLines_ = on; }

    const std::vector<Item>& items() const { return items_; }
    // The ring ends: ring k is points [ringEnd(k − 1), ringEnd(k)).
    const std::vector<uint32_t>& ringEnds() const { return ringEnd_; }
    const std::vector<Vec>& points() const { return points_; }
    int width() const { return width_; }
    int height() const { return height_; }

    struct Scratch;

  private:
    struct Follower;
    bool fits(const RasterPixels& image) const;
    WorkerPool& pool();
    // Stops the helper before the list's storage would move under it.
    void makeRoom(size_t points, size_t rings, size_t items);
    void stopFollowing();

    struct Subpath {
        uint32_t first = 0, count = 0;
        bool closed = false;
        bool flat = false;  // an oval or rectangle, already as fine as it needs to be
    };

    Vec toDevice(float x, float y) const { return {x * sx_ + tx_, y * sy_ + ty_}; }
    void startSubpath(Vec p);
    void addPoint(Vec p);
    void flattenEllipse(float cx, float cy, float rx, float ry);
    // Adds the finished rings since firstRing as one item, or drops them.
    void finishItem(uint32_t firstRing);
    void addRing(const Vec* p, uint32_t n);
    void addClippedRing(const Vec* p, uint32_t n);
    void strokeOutline(const Vec* p, uint32_t n, bool closed, bool flat, float halfWidth);
    void strokePiece(const Vec* p, uint32_t n, bool closed, float halfWidth);

    int width_ = 0, height_ = 0;
    float sx_ = 1, sy_ = 1, tx_ = 0, ty_ = 0;
    float lineWidth_ = 1;  // model units
    bool thinLines_ = true;
    float r_ = 0, g_ = 0, b_ = 0, alpha_ = 1;
    uint32_t color_ = 0xff000000;

    // The current path, in device pixels.
    std::vector<Vec> path_;
    std::vector<Subpath> subpaths_;

    // The list.
    std::vector<Vec> points_;
    std::vector<uint32_t> ringEnd_;
    std::vector<Item> items_;

    // Scratch for outlines and clipping.
    std::vector<Vec> scratch_, clipA_, clipB_, piece_, thin_;
    std::vector<uint8_t> keep_;
    std::vector<Vec> circle_;  // the unit circle in circle_.size() pieces

    int threads_ = 1;
    bool wide_ = false;
    std::unique_ptr<WorkerPool> pool_;  // threads_ − 1 workers, once the layer has painted
    std::unique_ptr<Follower> follower_;
    bool following_ = false;
    // One per painting thread, and never fewer than two (the follower keeps its own).
    std::vector<std::unique_ptr<Scratch>> bandScratch_;
    size_t lastPoints_ = 0, lastRings_ = 0, lastItems_ = 0;  // recent list lengths
    // The bounds of the points recorded since the last item was finished.
    struct Bounds {
        float x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    };
    Bounds pending_;
};
