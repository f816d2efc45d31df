// Colour conversion into the native 16-bit formats and the import of bitmaps.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics_test_support.h"

using namespace graphics_testing;
using platform::FrameLayout;

namespace {

struct Layout {
    std::uint32_t format;
    NativePixel blue, red, white, green;
};
constexpr Layout kLayouts[] = {
    {platform::kFormat565, 0x001F, 0xF800, 0xFFDF, 0x37C6},
    {platform::kFormat555, 0x001F, 0x7C00, 0x7FFF, 0x1BE6},
};

}  // namespace

TEST(PixelFormat, TheProgramsColoursHaveTheirNativeValuesInBothLayouts) {
    for (const Layout& layout : kLayouts) {
        UseDisplay(FrameLayout::Normal, layout.format);
        Surface surface;
        EXPECT_EQ(surface.nativeColour(kBlue), layout.blue);
        EXPECT_EQ(surface.nativeColour(kRed), layout.red);
        EXPECT_EQ(surface.nativeColour(kWhite), layout.white);
        EXPECT_EQ(surface.nativeColour(kGreen), layout.green);
        EXPECT_EQ(surface.nativeColour(0xFF000000u | kWhite), layout.white) << "the top byte is ignored";
    }
}

TEST(PixelFormat, WithoutAKnownFormatOrSixteenBitsEveryColourIsZero) {
    UseDisplay(FrameLayout::Normal, 0);
    Surface noFormat;
    EXPECT_EQ(noFormat.nativeColour(kBlue), 0);
    EXPECT_EQ(noFormat.nativeColour(kWhite), 0);

    UseDisplay(FrameLayout::Normal);
    Surface deep;
    deep.bitsPerPixel = 32;
    EXPECT_EQ(deep.nativeColour(kWhite), 0);
    EXPECT_EQ(PackColour(deep, kWhite), 0xFFDF) << "the bare conversion does not look at the depth";
}

TEST(PixelFormat, NoColourConvertsToTheNoKeyValue) {
    for (const Layout& layout : kLayouts) {
        UseDisplay(FrameLayout::Normal, layout.format);
        Surface surface;
        std::uint32_t hits = 0;
        for (std::uint32_t colour = 0; colour < (1u << 24); ++colour) hits += PackColour(surface, colour) == NO_KEY;
        EXPECT_EQ(hits, 0u) << "format " << layout.format;
    }
}

TEST(BitmapImport, RowsComeTopFirstAndARectangleOverTheEdgeIsBlackBeyondIt) {
    UseDisplay(FrameLayout::Normal);
    Surface target;
    // A 3 x 2 bitmap: red along the top row, blue along the bottom one.
    resources::Bitmap bitmap;
    bitmap.width = 3;
    bitmap.height = 2;
    bitmap.rgb = {static_cast<std::uint8_t*>(std::calloc(18, 1)), std::free};
    for (int x = 0; x < 3; ++x) {
        bitmap.rgb.get()[x * 3] = 0xFF;
        bitmap.rgb.get()[9 + x * 3 + 2] = 0xFF;
    }
    Image* image = ImageFromBitmap(target, &bitmap, 1, 0, 4, 3);
    ASSERT_NE(image, nullptr);
    ASSERT_NE(image->pixels, nullptr);
    const NativePixel red = PackColour(target, kRed), blue = PackColour(target, kBlue);
    const NativePixel expected[3][4] = {{red, red, 0, 0}, {blue, blue, 0, 0}, {0, 0, 0, 0}};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(image->pixels[y * 4 + x], expected[y][x]) << x << ", " << y;
    FreeImage(image);
}

TEST(BitmapImport, WholeAndRectangleImportsOfTheSpriteSheet) {
    UseDisplay(FrameLayout::Normal);
    Surface target;
    Image* whole = ImportBitmap(kSpriteSheet, target);
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(whole->pixels, nullptr);
    EXPECT_EQ(whole->width, 47);
    EXPECT_EQ(whole->height, 53);

    // (0, 0) is a rectangle, not the whole bitmap; so is (-3, 0), which
    // reaches left of the bitmap: what lies outside it stays black.
    Image* corner = ImportBitmap(kSpriteSheet, target, 0, 0, 10, 6);
    Image* overhang = ImportBitmap(kSpriteSheet, target, -3, 50, 20, 10);
    ASSERT_TRUE(corner && corner->pixels && overhang && overhang->pixels);
    EXPECT_EQ(corner->width, 10);
    EXPECT_EQ(corner->height, 6);
    for (std::int32_t y = 0; y < 6; ++y)
        for (std::int32_t x = 0; x < 10; ++x) EXPECT_EQ(corner->pixels[y * 10 + x], whole->pixels[y * 47 + x]);
    for (std::int32_t y = 0; y < 10; ++y)
        for (std::int32_t x = 0; x < 20; ++x) {
            const bool inside = x >= 3 && y < 3;
            EXPECT_EQ(overhang->pixels[y * 20 + x], inside ? whole->pixels[(50 + y) * 47 + x - 3] : 0)
                << "at " << x << ", " << y;
        }
    FreeImage(whole);
    FreeImage(corner);
    FreeImage(overhang);
}

TEST(BitmapImport, AMissingBitmapGivesNoImageAndADeepDisplayAnImageWithoutPixels) {
    UseDisplay(FrameLayout::Normal);
    Surface target;
    EXPECT_EQ(resources::LoadBitmap(4242), nullptr);
    EXPECT_EQ(ImageFromBitmap(target, nullptr, -1, -1, 0, 0), nullptr);

    target.bitsPerPixel = 32;
    Image* image = ImportBitmap(kSpriteSheet, target);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels, nullptr);
    FreeImage(image);
}
