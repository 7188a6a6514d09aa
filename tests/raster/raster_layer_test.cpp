// The raster layer on its own pixels: what it leaves out, how it clips, thins and tests points,
// and that neither its painting threads nor the image's resolution show in the picture.

#include "raster/raster_layer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "raster/raster_support.h"

namespace {

constexpr int kSize = 200;
constexpr ModelRect kModel{-1, -1, 2, 2};  // 100 pixels per unit

// Premultiplied pixels with a stride wider than a row, so that rows are not taken as one run.
struct Image {
    int width = kSize, height = kSize;
    int stridePixels = kSize + 3;
    std::vector<uint32_t> bits;

    explicit Image(uint32_t background = 0, int w = kSize, int h = kSize)
        : width(w), height(h), stridePixels(w + 3), bits(size_t(h) * (w + 3), background) {}

    RasterPixels pixels() {
        return {bits.data(), ptrdiff_t(stridePixels * sizeof(uint32_t)), width, height};
    }
    uint32_t at(int x, int y) const { return bits[size_t(y) * stridePixels + x]; }
    int alpha(int x, int y) const { return int(at(x, y) >> 24); }
    bool operator==(const Image& o) const {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (at(x, y) != o.at(x, y)) return false;
            }
        }
        return width == o.width && height == o.height;
    }
};

Image withRaster(const Draw& draw, int threads = 0, uint32_t background = 0xffffffff,
                 int size = kSize) {
    Image image(background, size, size);
    RasterLayer layer(threads);
    layer.begin(kModel, size, size);
    draw(layer);
    layer.paint(image.pixels());
    return image;
}

int paintedInColumn(const Image& image, int x, int threshold = 0) {
    int n = 0;
    for (int y = 0; y < image.height; ++y) n += image.alpha(x, y) > threshold;
    return n;
}

int channel(uint32_t p, int c) {
    return int(p >> (8 * c)) & 0xff;
}

// The ids of the process's threads.
std::set<std::string> threadsOfThisProcess() {
    std::set<std::string> ids;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ids.insert(task.path().filename().string());
    return ids;
}

}  // namespace

TEST(RasterLayer, ThreadsDoNotShowInThePicture) {
    const Draw draw = [](DrawLayer& l) { busyPicture(l, 600); };
    const Image one = withRaster(draw, 1, 0);
    for (int threads : {2, 3, 7}) {
        SCOPED_TRACE(threads);
        EXPECT_EQ(withRaster(draw, threads, 0), one);
    }
}

TEST(RasterLayer, PaintingWhileRecordingGivesTheSamePicture) {
    const Image reference = withRaster([](DrawLayer& l) { busyPicture(l, 2000); }, 1);
    for (int threads : {2, 4}) {
        RasterLayer layer(threads);
        // The first run outgrows the room set aside, so the follower stops early; the second
        // finds room for the whole list and follows it to the end.
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE(testing::Message() << threads << " threads, run " << run);
            Image image(0xffffffff);
            layer.begin(kModel, kSize, kSize);
            layer.startPainting(image.pixels());
            ASSERT_TRUE(layer.painting());
            busyPicture(layer, 2000);
            layer.finishPainting();
            EXPECT_FALSE(layer.painting());
            EXPECT_EQ(image, reference);
        }
    }
}

TEST(RasterLayer, PaintingThreadsLastAsLongAsTheLayer) {
    const std::set<std::string> before = threadsOfThisProcess();
    {
        RasterLayer layer(3);
        Image image;
        std::set<std::string> painting;
        for (int frame = 0; frame < 6; ++frame) {
            layer.begin(kModel, kSize, kSize);
            if (frame % 2 == 0) layer.startPainting(image.pixels(), true);
            busyPicture(layer, 300);
            if (layer.painting()) {
                layer.finishPainting();
            } else {
                layer.paint(image.pixels(), true);
            }
            // The same two helpers beside the caller, frame after frame.
            if (frame == 0) painting = threadsOfThisProcess();
            EXPECT_EQ(threadsOfThisProcess(), painting) << "frame " << frame;
        }
        EXPECT_EQ(painting.size(), before.size() + 2);
    }
    EXPECT_EQ(threadsOfThisProcess(), before);
}

TEST(RasterLayer, TwiceThePixelsLookLikeThePictureScaled) {
    // A device pixel ratio of 2: the same model rectangle on four times the pixels. Each 2 × 2
    // block, averaged, gives the picture at the plain ratio up to antialiasing.
    const Draw draw = [](DrawLayer& l) { busyPicture(l, 300); };
    const Image plain = withRaster(draw, 0, 0xff000000, kSize);
    const Image fine = withRaster(draw, 0, 0xff000000, 2 * kSize);
    long sum = 0, over = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            int worst = 0;
            for (int c = 0; c < 4; ++c) {
                const int block = channel(fine.at(2 * x, 2 * y), c) +
                                  channel(fine.at(2 * x + 1, 2 * y), c) +
                                  channel(fine.at(2 * x, 2 * y + 1), c) +
                                  channel(fine.at(2 * x + 1, 2 * y + 1), c);
                const int d = std::abs((block + 2) / 4 - channel(plain.at(x, y), c));
                sum += d;
                worst = std::max(worst, d);
            }
            over += worst > 24;
        }
    }
    EXPECT_LT(double(sum) / (4.0 * kSize * kSize), 1.0);
    EXPECT_LT(double(over) / (kSize * kSize), 0.01);
}

TEST(RasterLayer, WidthZeroIsAOnePixelLine) {
    const Draw draw = [](DrawLayer& l) {
        l.setColor(0, 0, 0, 1);
        l.removeAllPoints();
        l.moveTo(-0.9f, 0.005f);
        l.lineTo(0.9f, 0.005f);
        l.setLineWidth(0);
        l.stroke();
    };
    const Image image = withRaster(draw, 0, 0);
    EXPECT_EQ(paintedInColumn(image, 100), 1);
    EXPECT_EQ(paintedInColumn(image, 100, 250), 1);
}

TEST(RasterLayer, FarOffPointsAreClippedWithoutBending) {
    // A triangle whose corners lie far beyond the float precision of a pixel covers the image.
    const Image all =
        withRaster(filled(0, 1, 0, 1, {{-1e20f, -1e20f}, {1e20f, -1e20f}, {0, 1e20f}}), 0, 0);
    EXPECT_EQ(paintedInColumn(all, 0), kSize);
    EXPECT_EQ(paintedInColumn(all, kSize - 1), kSize);
    // The right half plane, from a quadrilateral reaching a billion units away.
    const Image half =
        withRaster(filled(0, 1, 0, 1, {{0, -1e9f}, {1e9f, -1e9f}, {1e9f, 1e9f}, {0, 1e9f}}), 0, 0);
    for (int y : {0, 57, 199}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(half.alpha(99, y), 0);
        EXPECT_EQ(half.alpha(100, y), 255);
    }
    // A line towards a point 1e30 units away keeps its width all across the image.
    const Image line = withRaster(
        [](DrawLayer& l) {
            l.setColor(0, 0, 0, 1);
            l.removeAllPoints();
            l.moveTo(-0.5f, 0);
            l.lineTo(1e30f, 0);
            l.setLineWidth(0.1f);
            l.stroke();
        },
        0, 0);
    for (int x : {60, 120, 199}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(paintedInColumn(line, x, 254), 10);
    }
    EXPECT_EQ(paintedInColumn(line, 40), 0);
}

TEST(RasterLayer, ShapesOutsideTheImageOrWithoutAlphaAreLeftOut) {
    RasterLayer layer;
    layer.begin(kModel, kSize, kSize);
    layer.setColor(1, 0, 0, 1);
    layer.rectPath(1.5f, 1.5f, 1, 1);  // beyond the top right corner
    layer.fill();
    layer.setColor(1, 0, 0, 0);
    layer.rectPath(-0.5f, -0.5f, 1, 1);  // fully transparent
    layer.fill();
    layer.setLineWidth(0.1f);
    layer.stroke();
    layer.removeAllPoints();  // nothing to paint
    layer.fill();
    EXPECT_TRUE(layer.items().empty());
    layer.setColor(1, 0, 0, 0.01f);
    layer.rectPath(0.9f, 0.9f, 1, 1);  // reaches into the corner
    layer.fill();
    EXPECT_EQ(layer.items().size(), 1u);
}

TEST(RasterLayer, PixelsThatDoNotFitAreLeftAlone) {
    RasterLayer layer;
    layer.begin(kModel, kSize, kSize);
    layer.setColor(1, 0, 0, 1);
    layer.rectPath(-1, -1, 2, 2);
    layer.fill();
    Image wider(0xffffffff, kSize + 1, kSize);
    RasterPixels narrow = Image().pixels();
    narrow.stride = 4 * (kSize - 1);
    layer.paint(wider.pixels());
    layer.paint(narrow);
    layer.paint({});
    layer.startPainting(wider.pixels());
    EXPECT_FALSE(layer.painting());
    EXPECT_EQ(wider, Image(0xffffffff, kSize + 1, kSize));
}

TEST(RasterLayer, PointsThatAreNotFiniteAreDropped) {
    const Draw withNaN = [](DrawLayer& l) {
        l.setColor(0, 0, 1, 1);
        l.removeAllPoints();
        l.moveTo(-0.5f, -0.5f);
        l.lineTo(NAN, 0);
        l.lineTo(0.5f, -0.5f);
        l.lineTo(INFINITY, 1);
        l.lineTo(0, 0.5f);
        l.fill();
        l.ovalPath(NAN, 0, 1, 1);
        l.fill();
    };
    EXPECT_EQ(withRaster(withNaN),
              withRaster(filled(0, 0, 1, 1, {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0, 0.5f}})));
}

TEST(RasterLayer, ContainsUsesTheNonZeroRule) {
    RasterLayer layer;
    layer.begin(kModel, kSize, kSize);
    layer.removeAllPoints();
    polygon(layer, {{-0.8f, -0.8f}, {0.8f, -0.8f}, {0.8f, 0.8f}, {-0.8f, 0.8f}});
    polygon(layer, {{-0.4f, -0.4f}, {0.4f, -0.4f}, {0.4f, 0.4f}, {-0.4f, 0.4f}});
    EXPECT_TRUE(layer.contains(0, 0));  // wound twice the same way
    EXPECT_TRUE(layer.contains(0.6f, 0));
    EXPECT_FALSE(layer.contains(0.9f, 0));
    EXPECT_FALSE(layer.contains(NAN, 0));
    layer.removeAllPoints();
    polygon(layer, {{-0.8f, -0.8f}, {0.8f, -0.8f}, {0.8f, 0.8f}, {-0.8f, 0.8f}});
    polygon(layer, {{-0.4f, -0.4f}, {-0.4f, 0.4f}, {0.4f, 0.4f}, {0.4f, -0.4f}});
    EXPECT_FALSE(layer.contains(0, 0));  // wound back: a hole
    EXPECT_TRUE(layer.contains(0.6f, 0));
}

TEST(RasterLayer, ManyPointsAlongALineCostNothingInThePicture) {
    // Thinning keeps the ends of a straight run: the outline is that of the plain segment.
    const Image plain =
        withRaster(filled(0, 0, 0, 0.7f, {{-0.8f, -0.6f}, {0.7f, 0.35f}, {-0.2f, 0.8f}}));
    const Image dense = withRaster([](DrawLayer& l) {
        l.setColor(0, 0, 0, 0.7f);
        l.removeAllPoints();
        l.moveTo(-0.8f, -0.6f);
        for (int i = 1; i <= 20; ++i) l.lineTo(-0.8f + 1.5f * i / 20, -0.6f + 0.95f * i / 20);
        l.lineTo(-0.2f, 0.8f);
        l.fill();
    });
    int largest = 0;
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            for (int c = 0; c < 4; ++c)
                largest = std::max(
                    largest, std::abs(channel(plain.at(x, y), c) - channel(dense.at(x, y), c)));
        }
    }
    EXPECT_LT(largest, 2);
}
