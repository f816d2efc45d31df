// What a desktop window lays over its enlarged copy of the frame, never into
// the frame buffer, so the game's pictures stay as the game drew them: a
// picture of inks in frame coordinates, and who paints it. The window and
// the page only lay it over the scaled frame. Main thread only.
#pragma once

#include <array>
#include <cstdint>

#include "platform/frame.h"

namespace platform {

enum class OverlayInk : std::uint8_t { None, Shade, Bar, Text };

// One ink per frame pixel, in frame coordinates, rows from the top.
struct OverlayPicture {
    std::array<OverlayInk, static_cast<std::size_t>(kScreenWidth) * kScreenHeight> ink{};
    OverlayInk at(int x, int y) const { return ink[static_cast<std::size_t>(y) * kScreenWidth + x]; }
    OverlayInk& at(int x, int y) { return ink[static_cast<std::size_t>(y) * kScreenWidth + x]; }
};

// The colour of each ink, RGB; None shows the picture.
struct OverlayColour {
    std::uint8_t red, green, blue;
};
// clang-format off
constexpr std::array<OverlayColour, 4> kOverlayColours = {{
    {  0,   0,   0},   // None
    { 16,  16,  40},   // Shade
    { 96, 224,  96},   // Bar
    {255, 255, 255},   // Text
}};
// clang-format on

// The painter of the overlay, owned by the program; times are ticks (ms) of
// the backend's own clock.
class Overlay {
public:
    virtual ~Overlay() = default;
    // The volume (0..maxVolume) after a pass at tick `now`, and whether the
    // title shows.
    virtual void report(std::uint32_t now, int volume, int maxVolume, bool onTitle) = 0;
    // Whether anything is laid over the picture at tick `now`.
    virtual bool visible(std::uint32_t now) const = 0;
    // What is laid over the picture at tick `now`.
    virtual void paint(std::uint32_t now, OverlayPicture& picture) const = 0;
};

}  // namespace platform
