// The web backend: the page is the host. It calls into the module on its main
// thread only; nothing here blocks or waits, since the browser must not be held.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "platform/audio_out.h"
#include "platform/backend.h"
#include "platform/overlay.h"

namespace platform::web {

// The page cannot be held, so a pause (the game's wait for its next frame)
// moves the clock on at once, as the headless clock does, and the host runs
// passes only while the page's own clock is ahead: the game keeps the page's
// time, a pause at a time. The frame is kept at 5-6-5 in the normal layout
// and, on each present, as RGBA for the canvas; one page is one copy.
// Desktop: the desktop's volume bar and sound-off note are laid over the
// canvas, timed by the page's clock, never drawn into the frame.
class PageBackend final : public Backend {
public:
    // Lays `overlay` (the program's, outliving the backend) over the canvas.
    explicit PageBackend(Overlay& overlay);

    std::uint32_t now() override { return now_; }
    void sleep(std::uint32_t milliseconds) override { now_ += milliseconds; }
    // Moves the clock on to `due` if it is behind it.
    void waitForPass(std::uint32_t due, bool) override {
        if (!TickReached(now_, due)) now_ = due;
    }
    // A page in the background gets no animation frames: rather than race
    // through the time it missed, the clock skips all but `maxLag` of it.
    void catchUp(std::uint32_t pageMs, std::uint32_t maxLag) {
        if (static_cast<std::int32_t>(pageMs - now_) > static_cast<std::int32_t>(maxLag)) now_ = pageMs - maxLag;
    }

    void key(int vk, bool down);
    void focus(bool active);
    bool pending() const { return !events_.empty(); }
    bool keyHeld(int key) override { return held_.count(key) != 0; }

    FrameGeometry geometry() override { return GeometryFor(FrameLayout::Normal, kFormat565); }
    std::uint16_t* pixels() override { return pixels_.data(); }
    void present(bool changed) override;
    // 176 x 220 x 4 bytes, top row first.
    const std::uint8_t* rgba() const { return rgba_.data(); }

    bool activateRunningCopy(const char*) override { return false; }
    bool openWindow(const char*, std::uint32_t) override { return true; }
    void showWindow() override {}
    void passEnded(const PassReport& report) override;

    // The page's milliseconds when the passes now due began to run.
    void setPageTime(std::uint32_t pageMs) { pageMs_ = pageMs; }
    // What is laid over the canvas at the page's `pageMs`: 176 x 220 x 4
    // bytes, RGBA, top row first, alpha 0 where the frame shows; null when
    // nothing is. Valid until the next call.
    const std::uint8_t* overlayRgba(std::uint32_t pageMs);

private:
    Overlay& overlay_;
    std::uint32_t now_ = 0;
    std::set<int> held_;
    std::vector<std::uint16_t> pixels_;
    std::vector<std::uint8_t> rgba_;
    std::unique_ptr<OverlayPicture> picture_ = std::make_unique<OverlayPicture>();
    std::vector<std::uint8_t> overlayRgba_;
    std::uint32_t pageMs_ = 0;
};

// Audio out pulled by the page. The engine's mixing thread never runs in this
// build (it has one thread): the page's AudioWorklet asks the engine to render
// straight from its channels instead.
class PulledAudioOut final : public AudioOut {
public:
    bool open(const AudioFormat&, AudioSource&) override;
    void pause() override { playing_ = false; }
    void resume() override { playing_ = open_; }
    void close() override { open_ = playing_ = false; }
    bool playing() const { return playing_; }

private:
    bool open_ = false;
    bool playing_ = false;
};

}  // namespace platform::web
