// Surfaces in every frame-buffer orientation: geometry, memory, whole copies,
// clipped blits and single pixels.
#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "graphics_test_support.h"

using namespace graphics_testing;
using platform::FrameLayout;

TEST(Surface, EveryOrientationPutsPixelXYOfTheBackBufferOnPixelXYOfTheScreen) {
    struct Case {
        FrameLayout layout;
        std::int32_t xStep, yStep, lowOffset, highOffset;
    };
    const Case cases[] = {
        {FrameLayout::Normal, 1, 176, 0, 38719},
        {FrameLayout::Rot90, -220, 1, -38500, 219},
        {FrameLayout::FlipY, 1, -176, -38544, 175},
    };
    for (const Case& c : cases) {
        UseDisplay(c.layout);
        Surface back, screen;
        EXPECT_EQ(back.xStep, c.xStep);
        EXPECT_EQ(back.yStep, c.yStep);
        EXPECT_EQ(back.lowOffset, c.lowOffset);
        EXPECT_EQ(back.highOffset, c.highOffset);
        ASSERT_TRUE(back.allocate());
        EXPECT_EQ(back.pixels + back.lowOffset, back.block);
        for (std::int32_t y = 0; y < 220; ++y)
            for (std::int32_t x = 0; x < 176; ++x) ASSERT_TRUE(back.plot(x, y, static_cast<NativePixel>(y * 176 + x)));

        // The frame buffer as the platform lays it out: pixel (x, y) at
        // origin + x * x pitch + y * y pitch bytes.
        std::vector<NativePixel> frame(38720);
        NativePixel* origin = frame.data() - c.lowOffset;
        screen.setPixels(origin);
        ASSERT_TRUE(screen.copyFrom(back));
        const platform::FrameGeometry p = platform::ActiveFrame().geometry();
        for (std::int32_t y = 0; y < 220; ++y)
            for (std::int32_t x = 0; x < 176; ++x)
                ASSERT_EQ(origin[(x * p.xPitch + y * p.yPitch) / 2], y * 176 + x) << "at " << x << ", " << y;
    }
}

TEST(Surface, RefusesASecondAllocationAndCopiesOnlyFromOwnedMemory) {
    UseDisplay(FrameLayout::Normal);
    Surface back, screen, unallocated;
    ASSERT_TRUE(back.allocate());
    NativePixel* first = back.pixels;
    EXPECT_FALSE(back.allocate());
    EXPECT_EQ(back.pixels, first);

    std::vector<NativePixel> frame(38720);
    screen.setPixels(frame.data());
    EXPECT_FALSE(back.copyFrom(screen)) << "the display owns no memory";
    EXPECT_FALSE(back.copyFrom(unallocated));
    EXPECT_FALSE(unallocated.copyFrom(back)) << "no pixels to copy into";
}

TEST(Surface, OnlySixteenBitsPerPixelIsDrawn) {
    UseDisplay(FrameLayout::Normal);
    Surface deep;
    deep.bitsPerPixel = 32;
    EXPECT_FALSE(deep.allocate());
    std::vector<NativePixel> memory(38720, kUntouched);
    deep.setPixels(memory.data());
    TestImage sprite(4, 4);
    EXPECT_FALSE(deep.plot(0, 0, 1));
    EXPECT_FALSE(deep.blitOpaque(0, 0, 4, 4, &sprite.image, 0, 0));
    EXPECT_EQ(memory[0], kUntouched);
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

TEST_F(Blit, ClipsAtTheLeftEdge) {
    EXPECT_TRUE(surface->blitOpaque(-3, 10, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(at(0, 10), 103);
    EXPECT_EQ(at(5, 15), 158);
    EXPECT_EQ(changed(), 6 * 6);
    EXPECT_TRUE(surface->blitOpaque(-9, 30, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(changed(), 6 * 6);
}

TEST_F(Blit, ClipsAtTheRightEdgeAndDrawsNothingBeyondIt) {
    EXPECT_TRUE(surface->blitOpaque(176, 10, 9, 6, &sprite.image, 0, 0));
    EXPECT_TRUE(surface->blitOpaque(500, 10, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(changed(), 0);
    EXPECT_TRUE(surface->blitOpaque(172, 10, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(at(175, 10), 103);
    EXPECT_EQ(changed(), 4 * 6);
}

TEST_F(Blit, ClipsAtTheTopAndBottom) {
    EXPECT_TRUE(surface->blitOpaque(20, -4, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(at(20, 0), 140);
    EXPECT_EQ(changed(), 9 * 2);
    EXPECT_TRUE(surface->blitOpaque(40, 217, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(at(40, 219), 120);
    EXPECT_EQ(changed(), 9 * 2 + 9 * 3);
    EXPECT_TRUE(surface->blitOpaque(40, 220, 9, 6, &sprite.image, 0, 0));
    EXPECT_EQ(changed(), 9 * 2 + 9 * 3);
}

TEST_F(Blit, RefusesSourceRectanglesOutsideTheImageWhole) {
    TestImage sheet(47, 53);
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 6, &sheet.image, 44, 0));
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 6, &sheet.image, 0, 48));
    EXPECT_FALSE(surface->blitOpaque(0, 0, 0, 6, &sheet.image, 0, 0));
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 0, &sheet.image, 0, 0));
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 6, &sheet.image, -1, 0));
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 6, &sheet.image, 0, -1));
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 6, nullptr, 0, 0));
    Image empty{nullptr, 47, 53};
    EXPECT_FALSE(surface->blitOpaque(0, 0, 4, 6, &empty, 0, 0));
    EXPECT_EQ(changed(), 0);
    EXPECT_TRUE(surface->blitOpaque(0, 0, 4, 6, &sheet.image, 43, 47)) << "the bottom-right cell fits exactly";
}

TEST_F(Blit, TheKeyLeavesTheDestinationAndNoKeyCopiesEveryColour) {
    for (FrameLayout layout : {FrameLayout::Normal, FrameLayout::Rot90}) {
        use(layout);
        EXPECT_TRUE(surface->blitKeyed(10, 10, 9, 6, &sprite.image, key, 0, 0));
        EXPECT_EQ(at(10, 10), kUntouched);
        EXPECT_EQ(at(11, 10), 101);
        EXPECT_EQ(at(18, 15), 158);
        EXPECT_EQ(changed(), 9 * 6 - 1);
        EXPECT_TRUE(surface->blit(10, 10, 9, 6, &sprite.image, 0, 0, NO_KEY));
        EXPECT_EQ(at(10, 10), key);
    }
}

TEST_F(Blit, PutsTheSourcesTopLeftOnTheScreensTopLeftInEveryOrientation) {
    for (FrameLayout layout : {FrameLayout::Rot90, FrameLayout::FlipY}) {
        use(layout);
        EXPECT_TRUE(surface->blitOpaque(-1, -1, 9, 6, &sprite.image, 0, 0));
        EXPECT_EQ(at(0, 0), 111);
        EXPECT_EQ(at(7, 4), 158);
        EXPECT_EQ(changed(), 8 * 5);
    }
}

TEST_F(Blit, PlotRefusesPixelsOffTheSurface) {
    EXPECT_FALSE(surface->plot(-1, 0, 7));
    EXPECT_FALSE(surface->plot(176, 0, 7));
    EXPECT_FALSE(surface->plot(0, -1, 7));
    EXPECT_FALSE(surface->plot(0, 220, 7));
    EXPECT_EQ(changed(), 0);
    EXPECT_TRUE(surface->plot(175, 219, 0x12345));
    EXPECT_EQ(at(175, 219), 0x2345) << "the low 16 bits";
}
