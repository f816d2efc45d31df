// Colour conversion into the native 16-bit formats and the import of bitmaps.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics_test_support.h"

using namespace graphics_testing;
using platform::FrameLayout;

// The colours' values in both formats are pinned by the golden test's screenshots.
TEST(PixelFormat, NoColourConvertsToTheNoKeyValueAndWithoutAFormatEveryColourIsZero) {
    for (const std::uint32_t format : {platform::kFormat565, platform::kFormat555}) {
        UseDisplay(FrameLayout::Normal, format);
        Surface surface;
        std::uint32_t noKeys = 0;
        for (std::uint32_t colour = 0; colour < (1u << 24); ++colour) noKeys += PackColour(surface, colour) == NO_KEY;
        EXPECT_EQ(noKeys, 0u) << "format " << format;
    }
    UseDisplay(FrameLayout::Normal, 0);
    EXPECT_EQ(Surface().nativeColour(kWhite), 0) << "an unknown format";
    UseDisplay(FrameLayout::Normal);
    Surface deep;
    deep.bitsPerPixel = 32;
    EXPECT_EQ(deep.nativeColour(kWhite), 0);
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
    Image* whole = ImageFromBitmap(target, &bitmap, -1, -1, 0, 0);
    Image* corner = ImageFromBitmap(target, &bitmap, 0, 0, 4, 3);  // (0, 0) is a corner, not the whole
    Image* left = ImageFromBitmap(target, &bitmap, -2, 1, 3, 1);
    ASSERT_TRUE(whole && whole->pixels && corner && corner->pixels && left && left->pixels);
    const NativePixel red = PackColour(target, kRed), blue = PackColour(target, kBlue);
    EXPECT_EQ(std::vector<NativePixel>(whole->pixels, whole->pixels + 6),
              (std::vector<NativePixel>{red, red, red, blue, blue, blue}));
    EXPECT_EQ(std::vector<NativePixel>(corner->pixels, corner->pixels + 12),
              (std::vector<NativePixel>{red, red, red, 0, blue, blue, blue, 0, 0, 0, 0, 0}));
    EXPECT_EQ(std::vector<NativePixel>(left->pixels, left->pixels + 3), (std::vector<NativePixel>{0, 0, blue}));
    for (Image* image : {whole, corner, left}) FreeImage(image);
}

TEST(BitmapImport, ADeepDisplayGetsAnImageWithoutPixels) {
    UseDisplay(FrameLayout::Normal);
    Surface target;
    target.bitsPerPixel = 32;
    Image* image = ImportBitmap(kSpriteSheet, target);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels, nullptr);
    FreeImage(image);
}
