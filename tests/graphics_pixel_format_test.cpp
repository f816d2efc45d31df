// Colour conversion into the native 16-bit formats and the import of bitmaps.
#include <gtest/gtest.h>

#include "graphics_test_support.h"

using namespace graphics_testing;
using platform::FrameLayout;

namespace {

struct Layout {
    std::uint32_t format;
    NativePixel blue, red, white, green;
};
constexpr Layout kLayouts[] = {
    {platform::kfDirect565, 0x001F, 0xF800, 0xFFDF, 0x37C6},
    {platform::kfDirect555, 0x001F, 0x7C00, 0x7FFF, 0x1BE6},
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

namespace {

// A section as the platform makes it: `rowPixels` pixels per row, bottom-up.
struct TestSection {
    TestSection(std::int32_t width, std::int32_t height)
        : bytes(static_cast<std::size_t>((width + 3) / 4 * 4 * 3 * height), 0xEE) {
        section.bits = bytes.data();
        section.rowPixels = (width + 3) / 4 * 4;
        section.rows = height;
        section.imageWidth = width;
        section.imageHeight = height;
    }
    // Pixel (x, y) counted from the top.
    void set(std::int32_t x, std::int32_t y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        std::uint8_t* p = bytes.data() + ((section.rows - 1 - y) * section.rowPixels + x) * 3;
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
    std::vector<std::uint8_t> bytes;
    BitmapSection section;
};

}  // namespace

TEST(BitmapImport, A47PixelWideSectionIsReadWith48PixelRowsTopRowFirst) {
    UseDisplay(FrameLayout::Normal);
    Surface target;
    TestSection s(47, 3);  // the padding pixel of every row is left 0xEEEEEE
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 47; ++x)
            s.set(x, y, static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 80), 0);

    NativePixel* pixels = ConvertToNative(target, 47, 3, s.section);
    ASSERT_NE(pixels, nullptr);
    for (std::int32_t y = 0; y < 3; ++y)
        for (std::int32_t x = 0; x < 47; ++x)
            ASSERT_EQ(pixels[y * 47 + x], PackColour(target, static_cast<std::uint32_t>(x * 5 | (y * 80) << 8)))
                << "at " << x << ", " << y;
    delete[] pixels;

    EXPECT_EQ(ConvertToNative(target, 49, 3, s.section), nullptr) << "wider than the section";
    EXPECT_EQ(ConvertToNative(target, 0, 3, s.section), nullptr);
    target.bitsPerPixel = 8;
    EXPECT_EQ(ConvertToNative(target, 47, 3, s.section), nullptr);
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
    EXPECT_EQ(platform::LoadBitmap(4242), nullptr);
    EXPECT_EQ(ImageFromBitmap(target, nullptr, -1, -1, 0, 0), nullptr);

    target.bitsPerPixel = 32;
    Image* image = ImportBitmap(kSpriteSheet, target);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->pixels, nullptr);
    FreeImage(image);
}
