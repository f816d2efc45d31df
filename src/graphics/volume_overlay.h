// Desktop: what the window lays over the picture about the sound volume: a
// level bar for a while after the volume changes, and a note on the title
// when the game starts silent. The window and the page lay it over their
// enlarged copy of the frame. Main thread only.
#pragma once

#include <cstdint>

#include "platform/overlay.h"

// How long the bar stays after the last change, and the note after start.
constexpr std::uint32_t kVolumeBarMs = 1500;
constexpr std::uint32_t kSoundOffNoteMs = 3000;

class VolumeOverlay final : public platform::Overlay {
public:
    // The first report is the volume the game started with.
    void report(std::uint32_t now, int volume, int maxVolume, bool onTitle) override;
    bool visible(std::uint32_t now) const override;
    void paint(std::uint32_t now, platform::OverlayPicture& picture) const override;

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
