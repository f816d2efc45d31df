// Digits, numbers and band-coloured pixels drawn on the back buffer from the
// real sprite sheet.
#include <gtest/gtest.h>

#include "graphics/primitives.h"
#include "graphics_test_support.h"

using namespace graphics_testing;

namespace {

class Primitives : public ProgramGraphics {
protected:
    // The 4 x 6 area at (x, y) shows white digit d keyed over untouched pixels.
    ::testing::AssertionResult showsDigit(std::int32_t d, std::int32_t x, std::int32_t y) {
        const Image& sheet = *spriteSheet;
        for (std::int32_t row = 0; row < 6; ++row)
            for (std::int32_t column = 0; column < 4; ++column) {
                const NativePixel ink = sheet.pixels[row * sheet.width + 4 * (d + 1) + column];
                const NativePixel expected = ink == colourKey ? kUntouched : ink;
                if (PixelAt(backBuffer, x + column, y + row) != expected)
                    return ::testing::AssertionFailure() << "digit " << d << " differs at " << column << ", " << row;
            }
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult untouched(std::int32_t x, std::int32_t y, std::int32_t w = 4, std::int32_t h = 6) {
        for (std::int32_t row = 0; row < h; ++row)
            for (std::int32_t column = 0; column < w; ++column)
                if (PixelAt(backBuffer, x + column, y + row) != kUntouched)
                    return ::testing::AssertionFailure() << "drawn at " << x + column << ", " << y + row;
        return ::testing::AssertionSuccess();
    }
    // The eight positions of a number at (x, y), units last.
    void expectNumber(std::int32_t n, std::int32_t x, std::int32_t y, const char* shown) {
        DrawNumber(n, x, y);
        const std::string digits(shown);
        const std::size_t blanks = 8 - digits.size();
        for (std::size_t k = 0; k < 8; ++k) {
            const std::int32_t at = x + 5 * static_cast<std::int32_t>(k);
            if (k < blanks)
                EXPECT_TRUE(untouched(at, y)) << n << ", position " << k;
            else
                EXPECT_TRUE(showsDigit(digits[k - blanks] - '0', at, y)) << n << ", position " << k;
        }
    }
};

}  // namespace

TEST_F(Primitives, NumbersAreRightAlignedWithoutLeadingZerosAndKeepTheirLowEightDigits) {
    expectNumber(0, 10, 20, "0");
    expectNumber(1500, 10, 40, "1500");
    expectNumber(12345678, 10, 60, "12345678");
    expectNumber(123456789, 10, 80, "23456789");
}

TEST_F(Primitives, DigitsOutsideTheirCellsDrawNothing) {
    DrawDigit(-1, 10, 10);
    DrawGreenDigit(5, 20, 10);
    DrawRedDigit(10, 30, 10);
    EXPECT_TRUE(untouched(0, 0, 176, 220));
    DrawGreenDigit(4, 20, 10);
    EXPECT_FALSE(untouched(20, 10));
}

TEST_F(Primitives, OverlayPixelsTakeTheColourOfTheirBand) {
    const struct {
        std::int32_t y;
        std::uint32_t colour;
    } rows[] = {{0, kWhite},  {34, kWhite},  {35, kRed},    {50, kRed},
                {51, kWhite}, {167, kWhite}, {168, kGreen}, {219, kGreen}};
    for (const auto& row : rows) {
        PlotOverlay(3, row.y);
        EXPECT_EQ(PixelAt(backBuffer, 3, row.y), backBuffer.nativeColour(row.colour)) << "row " << row.y;
    }
    PlotOverlay(176, 100);
    PlotOverlay(-1, 100);
    EXPECT_TRUE(untouched(0, 100, 3, 1));
}
