// The volume laid over the desktop window's picture: when the bar and the
// sound-off note show, and that they never reach the game's frame buffer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include <SDL.h>

#include "graphics/volume_overlay.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/sdl/frame_placement.h"
#include "platform/sdl/sdl_backend.h"
#include "support/headless_run.h"

using namespace platform;
using namespace platform::sdl;

namespace {

// What is laid over the picture at a tick: nothing, a bar with some level in
// it, or only lines (the sound-off note, or an empty bar's outline).
enum class Shown { nothing, bar, lines };

Shown ShownAt(const VolumeOverlay& overlay, std::uint32_t now) {
    if (!overlay.visible(now)) return Shown::nothing;
    OverlayPicture picture;
    overlay.paint(now, picture);
    Shown shown = Shown::nothing;
    for (OverlayInk ink : picture.ink) {
        if (ink == OverlayInk::Bar) return Shown::bar;
        if (ink == OverlayInk::Text) shown = Shown::lines;
    }
    return shown;
}

using Report = std::tuple<std::uint32_t, int, bool>;  // when, the volume, whether on the title

}  // namespace

// The bar shows for a second and a half after the last change (not at start;
// an empty bar too); a game that starts silent shows a note on the title for
// three seconds, or until the volume is raised.
TEST(VolumeOverlay, BarAndNoteShowForTheirTimes) {
    using enum Shown;
    const struct {
        std::vector<Report> reports;
        std::vector<std::pair<std::uint32_t, Shown>> expected;
    } cases[] = {
        {{{1000, 16, true}, {1100, 16, true}}, {{1000, nothing}, {1100, nothing}}},
        {{{1000, 16, true}, {2000, 17, true}, {3000, 18, false}},
         {{2000, bar}, {3000 + kVolumeBarMs - 1, bar}, {3000 + kVolumeBarMs, nothing}}},
        {{{0, 16, true}, {5002, 0, false}}, {{5002, lines}}},
        {{{500, 0, true}}, {{500, lines}, {3499, lines}, {3500, nothing}}},
        {{{0, 0, true}, {100, 0, false}}, {{100, nothing}}},
        {{{0, 0, true}, {100, 1, true}}, {{100, bar}, {100 + kVolumeBarMs, nothing}}},
    };
    for (const auto& c : cases) {
        VolumeOverlay overlay;
        for (const auto& [now, volume, onTitle] : c.reports) overlay.report(now, volume, 64, onTitle);
        for (const auto& [now, shown] : c.expected)
            EXPECT_EQ(ShownAt(overlay, now), shown) << "at " << now << " after " << c.reports.size() << " reports";
    }
}

// Through the desktop families on SDL's dummy video driver: the bar reaches
// the window's pixels while the frame buffer keeps what the game drew.
TEST(VolumeOverlay, ReachesTheWindowButNeverTheFrameBuffer) {
    testing_support::EnvironmentScope video("SDL_VIDEODRIVER", "dummy");
    std::string error;
    VolumeOverlay overlay;
    std::unique_ptr<Backend> backend = OpenSdlBackend(error, {.scale = 2}, {&overlay, {}});
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
    OverlayPicture picture;
    overlay.paint(ActiveClock().now(), picture);
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
}
