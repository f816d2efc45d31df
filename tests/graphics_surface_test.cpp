// Surfaces at their edges: memory they may not write, clipped blits and
// refused source rectangles in every orientation, single pixels. Whole frames
// in every orientation are the golden test's.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "graphics_test_support.h"

using namespace graphics_testing;
using platform::FrameLayout;

// FIX: a Surface without pixels, or not of 16 bits, is never written through.
TEST(Surface, OnlyOwnedSixteenBitMemoryIsAllocatedCopiedOrDrawn) {
    UseDisplay(FrameLayout::Normal);
    Surface back, screen, unallocated, deep;
    ASSERT_TRUE(back.allocate());
    EXPECT_EQ(back.pixels[0], 0) << "new memory is black";
    NativePixel* first = back.pixels;
    EXPECT_FALSE(back.allocate());
    EXPECT_EQ(back.pixels, first);

    std::vector<NativePixel> frame(38720, kUntouched);
    screen.setPixels(frame.data());
    EXPECT_FALSE(back.copyFrom(screen)) << "the display owns no memory";
    EXPECT_FALSE(back.copyFrom(unallocated));
    EXPECT_FALSE(unallocated.copyFrom(back)) << "no pixels to copy into";

    deep.bitsPerPixel = 32;
    EXPECT_FALSE(deep.allocate());
    deep.setPixels(frame.data());
    TestImage sprite(4, 4);
    EXPECT_FALSE(deep.plot(0, 0, 1));
    EXPECT_FALSE(deep.blitOpaque(0, 0, 4, 4, &sprite.image, 0, 0));
    EXPECT_EQ(frame[0], kUntouched);
}

namespace {

// A back buffer in a chosen orientation and a 9 x 6 sprite whose pixel
// (x, y) is 100 + 10 * y + x, with pure blue in its top-left corner.
class Blit : public ::testing::Test {
protected:
    void use(FrameLayout layout) {
        UseDisplay(layout);
        surface.emplace();
        ASSERT_TRUE(surface->allocate());
        Fill(*surface, kUntouched);
        key = surface->nativeColour(kBlue);
        for (std::int32_t y = 0; y < 6; ++y)
            for (std::int32_t x = 0; x < 9; ++x) sprite.at(x, y) = static_cast<NativePixel>(100 + 10 * y + x);
        sprite.at(0, 0) = static_cast<NativePixel>(key);
    }
    void SetUp() override { use(FrameLayout::Normal); }

    // How many pixels of the surface the sprite changed.
    int changed() {
        int n = 0;
        for (std::uint32_t y = 0; y < surface->height; ++y)
            for (std::uint32_t x = 0; x < surface->width; ++x) n += PixelAt(*surface, x, y) != kUntouched;
        return n;
    }
    NativePixel at(std::int32_t x, std::int32_t y) { return PixelAt(*surface, x, y); }

    std::optional<Surface> surface;
    TestImage sprite{9, 6};
    std::uint32_t key = 0;
};

}  // namespace

TEST_F(Blit, ClipsAtEveryEdgeInEveryOrientation) {
    const struct {
        std::int32_t x, y;    // where the sprite goes
        int changed;          // pixels it covers on the screen
        std::int32_t cx, cy;  // a screen pixel inside them, or -1
        NativePixel shown;    // the sprite's pixel there
    } cases[] = {
        {-3, 10, 6 * 6, 0, 10, 103},    {-9, 10, 0, -1, 0, 0},  {172, 10, 4 * 6, 175, 10, 103},
        {176, 10, 0, -1, 0, 0},         {500, 10, 0, -1, 0, 0}, {20, -4, 9 * 2, 20, 0, 140},
        {40, 217, 9 * 3, 40, 219, 120}, {40, 220, 0, -1, 0, 0}, {-1, -1, 8 * 5, 7, 4, 158},
    };
    for (FrameLayout layout : {FrameLayout::Normal, FrameLayout::Rot90, FrameLayout::FlipY})
        for (const auto& c : cases) {
            use(layout);
            EXPECT_TRUE(surface->blitOpaque(c.x, c.y, 9, 6, &sprite.image, 0, 0));
            EXPECT_EQ(changed(), c.changed) << c.x << ", " << c.y;
            if (c.cx >= 0) {
                EXPECT_EQ(at(c.cx, c.cy), c.shown) << c.x << ", " << c.y;
            }
        }
}

TEST_F(Blit, RefusesSourceRectanglesOutsideTheImageWhole) {
    TestImage sheet(47, 53);
    Image empty{nullptr, 47, 53};
    const struct {
        std::int32_t w, h, sx, sy;
        const Image* image;
    } refused[] = {{4, 6, 44, 0, &sheet.image}, {4, 6, 0, 48, &sheet.image}, {0, 6, 0, 0, &sheet.image},
                   {4, 0, 0, 0, &sheet.image},  {4, 6, -1, 0, &sheet.image}, {4, 6, 0, -1, &sheet.image},
                   {4, 6, 0, 0, nullptr},       {4, 6, 0, 0, &empty}};
    for (const auto& r : refused) EXPECT_FALSE(surface->blitOpaque(0, 0, r.w, r.h, r.image, r.sx, r.sy));
    EXPECT_EQ(changed(), 0);
    EXPECT_TRUE(surface->blitOpaque(0, 0, 4, 6, &sheet.image, 43, 47)) << "the bottom-right cell fits exactly";
}

TEST_F(Blit, TheKeyLeavesTheDestinationAndNoKeyCopiesEveryColour) {
    EXPECT_TRUE(surface->blitKeyed(10, 10, 9, 6, &sprite.image, key, 0, 0));
    EXPECT_EQ(at(10, 10), kUntouched);
    EXPECT_EQ(at(18, 15), 158);
    EXPECT_EQ(changed(), 9 * 6 - 1);
    EXPECT_TRUE(surface->blit(10, 10, 9, 6, &sprite.image, 0, 0, NO_KEY));
    EXPECT_EQ(at(10, 10), key);
}

TEST_F(Blit, PlotRefusesPixelsOffTheSurface) {
    const std::pair<int, int> offTheSurface[] = {{-1, 0}, {176, 0}, {0, -1}, {0, 220}};
    for (auto [x, y] : offTheSurface) EXPECT_FALSE(surface->plot(x, y, 7));
    EXPECT_EQ(changed(), 0);
    EXPECT_TRUE(surface->plot(175, 219, 0x12345));
    EXPECT_EQ(at(175, 219), 0x2345) << "the low 16 bits";
}
