// Desktop: what the window lays over the picture about the sound volume: a
// level bar for a while after the volume changes, and a note on the title
// when the game starts silent. It is drawn by the window over its enlarged
// copy of the frame, never into the frame buffer, so the game's pictures
// stay as the game drew them. No SDL here. Main thread only.
#pragma once

#include <array>
#include <cstdint>

#include "platform/frame.h"

namespace platform::sdl {

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

// How long the bar stays after the last change, and the note after start.
constexpr std::uint32_t kVolumeBarMs = 1500;
constexpr std::uint32_t kSoundOffNoteMs = 3000;

class VolumeOverlay {
public:
    // The volume (0..maxVolume) after a pass at tick `now` (ms), and whether
    // the title shows. The first report is the volume the game started with.
    void report(std::uint32_t now, int volume, int maxVolume, bool onTitle);
    // Whether anything is laid over the picture at tick `now`.
    bool visible(std::uint32_t now) const;
    // What is laid over the picture at tick `now`.
    void paint(std::uint32_t now, OverlayPicture& picture) const;

private:
    bool barVisible(std::uint32_t now) const;
    bool noteVisible(std::uint32_t now) const;

    bool started_ = false;
    int volume_ = 0;
    int maxVolume_ = 1;
    bool onTitle_ = false;
    bool changed_ = false;  // the volume changed since the start
    std::uint32_t lastChange_ = 0;
    bool silentStart_ = false;
    std::uint32_t start_ = 0;
};

}  // namespace platform::sdl
