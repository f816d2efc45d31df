// The desktop window's picture: the start-up scale, the centred whole-number
// frame, and the turn or flip that shows each frame-buffer layout upright.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/frame_pixels.h"
#include "platform/sdl/frame_placement.h"

using namespace platform;
using namespace platform::sdl;

namespace {

struct ScreenPoint {
    int x, y;
};

// Where the renderer's rotating copy puts texture pixel (u, v): mirrored
// first, then scaled into `copy`, then turned clockwise (y grows downwards)
// about the centre of `copy`.
ScreenPoint renderedAt(int u, int v, const FrameOrientation& o, const PixelRect& copy) {
    if (o.flipVertical) v = o.textureHeight - 1 - v;
    const double scale = static_cast<double>(copy.w) / o.textureWidth;
    const double cx = copy.x + copy.w / 2.0, cy = copy.y + copy.h / 2.0;
    const double dx = copy.x + (u + 0.5) * scale - cx, dy = copy.y + (v + 0.5) * scale - cy;
    const double turn = o.clockwiseDegrees * M_PI / 180.0;
    const double rx = dx * std::cos(turn) - dy * std::sin(turn), ry = dx * std::sin(turn) + dy * std::cos(turn);
    return {static_cast<int>(std::floor(cx + rx)), static_cast<int>(std::floor(cy + ry))};
}

}  // namespace

TEST(FramePlacement, EveryLayoutShowsFramePixelXYAtXY) {
    const PixelRect frame = FrameRectIn(1000, 1000);  // scale 4, with bars on both sides
    ASSERT_EQ(frame.w, 4 * kScreenWidth);
    const ScreenPoint samples[] = {{0, 0}, {175, 0}, {0, 219}, {175, 219}, {37, 150}, {120, 3}};
    for (FrameLayout layout : {FrameLayout::Normal, FrameLayout::Rot90, FrameLayout::FlipY}) {
        const FrameGeometry p = GeometryFor(layout, kFormat565);
        const FrameSpan span = SpanOf(p);
        const FrameOrientation o = OrientationFor(layout);
        ASSERT_EQ(o.textureWidth * o.textureHeight, span.pixelCount());
        const PixelRect copy = CopyRectFor(frame, o);
        for (const ScreenPoint& pixel : samples) {
            // The pixel's place in the uploaded memory, counted from its lowest address.
            const int offset = pixel.x * (p.xPitch / 2) + pixel.y * (p.yPitch / 2) - span.lowOffset;
            const ScreenPoint shown = renderedAt(offset % o.textureWidth, offset / o.textureWidth, o, copy);
            EXPECT_EQ((shown.x - frame.x) / 4, pixel.x)
                << static_cast<int>(layout) << " at " << pixel.x << "," << pixel.y;
            EXPECT_EQ((shown.y - frame.y) / 4, pixel.y)
                << static_cast<int>(layout) << " at " << pixel.x << "," << pixel.y;
        }
    }
}

TEST(FramePlacement, StartupScaleIsTheLargestThatLeavesRoomForTheDecorations) {
    EXPECT_EQ(ChooseScale(1280, 1024, 0), 4);
    EXPECT_EQ(ChooseScale(1920, 1080, 0), 4);
    EXPECT_EQ(ChooseScale(2560, 1440, 0), 6);
    // 440 rows of picture would fit in 480, but not with a title bar.
    EXPECT_EQ(ChooseScale(800, 480, 0), 1);
    EXPECT_EQ(ChooseScale(100, 100, 0), 1);
    EXPECT_EQ(ChooseScale(1280, 1024, 7), 7);
}

TEST(FramePlacement, FrameIsAWholeMultipleCentredBetweenBars) {
    auto same = [](PixelRect a, PixelRect b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; };
    EXPECT_TRUE(same(FrameRectIn(176, 220), {0, 0, 176, 220}));
    EXPECT_TRUE(same(FrameRectIn(1280, 1024), {288, 72, 704, 880}));
    EXPECT_TRUE(same(FrameRectIn(600, 500), {124, 30, 352, 440}));
    EXPECT_TRUE(same(FrameRectIn(527, 659), {87, 109, 352, 440}));  // an odd pixel of bar goes right or below
    // A window squeezed below one frame still gets the frame at scale 1.
    EXPECT_EQ(FrameRectIn(100, 100).w, 176);
}
