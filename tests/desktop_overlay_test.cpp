// The volume laid over the desktop window's picture: when the bar and the
// sound-off note show, and that they never reach the game's frame buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <SDL.h>

#include "graphics/volume_overlay.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/options.h"
#include "platform/sdl/frame_placement.h"
#include "platform/sdl/sdl_backend.h"

using namespace platform;
using namespace platform::sdl;

namespace {

bool AnyInk(const OverlayPicture& picture, OverlayInk ink) {
    for (OverlayInk each : picture.ink)
        if (each == ink) return true;
    return false;
}

int BarLength(const VolumeOverlay& overlay, std::uint32_t now) {
    OverlayPicture picture;
    overlay.paint(now, picture);
    int length = 0;
    for (OverlayInk each : picture.ink) length += each == OverlayInk::Bar;
    return length;
}

}  // namespace

TEST(VolumeOverlay, BarShowsForASecondAndAHalfAfterTheLastChangeNotAtStart) {
    VolumeOverlay overlay;
    overlay.report(1000, 16, 64, true);
    EXPECT_FALSE(overlay.visible(1000)) << "the starting volume is no change";
    overlay.report(1100, 16, 64, true);
    EXPECT_FALSE(overlay.visible(1100));

    overlay.report(2000, 17, 64, true);
    EXPECT_TRUE(overlay.visible(2000));
    overlay.report(3000, 18, 64, false);  // holding the key keeps it up
    EXPECT_TRUE(overlay.visible(3000 + kVolumeBarMs - 1));
    EXPECT_FALSE(overlay.visible(3000 + kVolumeBarMs));

    // An empty bar still shows its outline.
    overlay.report(5002, 0, 64, false);
    EXPECT_EQ(BarLength(overlay, 5002), 0);
    OverlayPicture picture;
    overlay.paint(5002, picture);
    EXPECT_TRUE(AnyInk(picture, OverlayInk::Text));
}

TEST(VolumeOverlay, SilentStartShowsTheNoteOnTheTitleForThreeSecondsOrUntilRaised) {
    VolumeOverlay loud;
    loud.report(0, 16, 64, true);
    EXPECT_FALSE(loud.visible(10));

    VolumeOverlay silent;
    silent.report(500, 0, 64, true);
    EXPECT_TRUE(silent.visible(500));
    silent.report(3499, 0, 64, true);
    EXPECT_TRUE(silent.visible(3499));
    EXPECT_FALSE(silent.visible(3500));

    VolumeOverlay leftTitle;
    leftTitle.report(0, 0, 64, true);
    leftTitle.report(100, 0, 64, false);
    EXPECT_FALSE(leftTitle.visible(100)) << "the note belongs to the title";

    VolumeOverlay raised;
    raised.report(0, 0, 64, true);
    raised.report(100, 1, 64, true);
    OverlayPicture picture;
    raised.paint(100, picture);
    EXPECT_TRUE(AnyInk(picture, OverlayInk::Bar)) << "the bar takes over once the volume rises";
    raised.report(100 + kVolumeBarMs, 1, 64, true);
    EXPECT_FALSE(raised.visible(100 + kVolumeBarMs));
}

// Through the desktop families on SDL's dummy video driver: the bar reaches
// the window's pixels while the frame buffer keeps what the game drew.
TEST(VolumeOverlay, ReachesTheWindowButNeverTheFrameBuffer) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Options options;
    options.scale = 2;
    SetOptions(options);
    std::string error;
    VolumeOverlay overlay;
    std::unique_ptr<Backend> backend = OpenSdlBackend(error, {&overlay, {}});
    ASSERT_NE(backend, nullptr) << error;
    ASSERT_TRUE(ActiveDesktop().openWindow("overlay test", 0));
    ActiveDesktop().showWindow();

    Frame& frame = ActiveFrame();
    const FrameGeometry geometry = frame.geometry();
    auto pixelAt = [&](int x, int y) { return frame.pixels() + (x * geometry.xPitch + y * geometry.yPitch) / 2; };
    auto drawn = [](int x, int y) { return static_cast<std::uint16_t>(x * 7 + y * 13); };
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) *pixelAt(x, y) = drawn(x, y);
    frame.present(true);
    ActiveClock().sleep(20);

    ActiveDesktop().passEnded({16, 64, true});
    ActiveDesktop().passEnded({64, 64, true});
    ActiveClock().sleep(20);

    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) ASSERT_EQ(*pixelAt(x, y), drawn(x, y)) << x << "," << y;

    SDL_Window* window = nullptr;
    for (Uint32 id = 1; window == nullptr && id < 64; ++id) window = SDL_GetWindowFromID(id);
    ASSERT_NE(window, nullptr);
    SDL_Surface* surface = SDL_GetWindowSurface(window);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->format->BytesPerPixel, 4);
    const PixelRect place = FrameRectIn(surface->w, surface->h);
    const int scale = place.w / kScreenWidth;
    VolumeOverlay expected;
    expected.report(0, 16, 64, true);
    expected.report(0, 64, 64, true);
    OverlayPicture picture;
    expected.paint(0, picture);
    const Uint32 barColour = SDL_MapRGB(surface->format, 96, 224, 96);
    int barPixels = 0;
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            if (picture.at(x, y) != OverlayInk::Bar) continue;
            const auto* row = static_cast<const std::uint8_t*>(surface->pixels) +
                              static_cast<std::ptrdiff_t>(place.y + y * scale) * surface->pitch;
            const Uint32 shown = reinterpret_cast<const Uint32*>(row)[place.x + x * scale];
            EXPECT_EQ(shown, barColour) << "bar pixel " << x << "," << y << " shows the frame";
            ++barPixels;
        }
    EXPECT_GT(barPixels, 100);
    backend.reset();
    unsetenv("SDL_VIDEODRIVER");
}
