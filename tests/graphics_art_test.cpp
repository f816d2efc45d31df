// The program's own sprite sheet: every cell in its colour on the colour key,
// and nothing outside the cells, whatever the art tool draws next.
#include <gtest/gtest.h>

#include "graphics/primitives.h"
#include "graphics_test_support.h"

using namespace graphics_testing;

namespace {

struct ColouredCell {
    const char* name;
    SpriteCell cell;
    std::uint32_t colour;
};

// clang-format off
const ColouredCell kCells[] = {
    {"white digits", {4, 0, 40, 6}, kWhite},              {"high-score label", cells::hiScoreLabel, kWhite},
    {"red digits", {4, 13, 40, 6}, 0x1818EF},             {"alien 3, frame 0", cells::alien3[0], kWhite},
    {"alien 3, frame 1", cells::alien3[1], kWhite},       {"alien 2, frame 0", cells::alien2[0], kWhite},
    {"alien 2, frame 1", cells::alien2[1], kWhite},       {"alien 1, frame 0", cells::alien1[0], kWhite},
    {"alien 1, frame 1", cells::alien1[1], kWhite},       {"cannon", cells::cannon, kGreen},
    {"cannon explosion", cells::cannonExplosion, kGreen}, {"mystery ship", cells::ship, 0x1818EF},
    {"ship explosion", cells::shipExplosion, 0x1818EF},   {"green digits", {24, 41, 20, 6}, kGreen},
    {"game over", cells::gameOverLabel, 0x1818EF},        {"alien explosion", cells::alienExplosion, kWhite},
    {"bomb", cells::bomb, kWhite}};
// clang-format on

bool inside(const SpriteCell& c, std::int32_t x, std::int32_t y) {
    return x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h;
}

}  // namespace

TEST(Art, EverySpriteCellIsDrawnInItsOwnColourOnTheKeyAndNothingLiesOutsideTheCells) {
    UseDisplay(platform::FrameLayout::Normal);
    Surface target;
    Image* sheet = ImportBitmap(kSpriteSheet, target);
    ASSERT_TRUE(sheet && sheet->pixels);
    const NativePixel key = target.nativeColour(kBlue);
    for (const ColouredCell& c : kCells) {
        int ink = 0;
        for (std::int32_t y = c.cell.y; y < c.cell.y + c.cell.h; ++y)
            for (std::int32_t x = c.cell.x; x < c.cell.x + c.cell.w; ++x) {
                const NativePixel p = sheet->pixels[y * sheet->width + x];
                ink += p != key;
                ASSERT_TRUE(p == key || p == target.nativeColour(c.colour)) << c.name << " at " << x << ", " << y;
            }
        EXPECT_GT(ink, 0) << c.name << " is empty";
    }
    for (std::int32_t y = 0; y < sheet->height; ++y)
        for (std::int32_t x = 0; x < sheet->width; ++x) {
            bool inAnyCell = false;
            for (const ColouredCell& c : kCells) inAnyCell = inAnyCell || inside(c.cell, x, y);
            if (!inAnyCell) {
                ASSERT_EQ(sheet->pixels[y * sheet->width + x], key) << "stray pixel at " << x << ", " << y;
            }
        }
    FreeImage(sheet);
}
