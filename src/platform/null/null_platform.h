// The null implementations: no window, no input, no frame buffer, a clock
// that stands still. They refuse quietly and are what a family gives before
// anything else is chosen.
#pragma once

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/input.h"

namespace platform::null {

class NullClock final : public Clock {
public:
    std::uint32_t now() override { return 0; }
    void sleep(std::uint32_t) override {}
    void waitForPass(std::uint32_t, bool) override {}
};

class NullInput final : public Input {
public:
    bool takeEvent(InputEvent&) override { return false; }
    bool keyHeld(int) override { return false; }
};

// The geometry of the run's options, and no pixels.
class NullFrame final : public Frame {
public:
    FrameGeometry geometry() override;
    std::uint16_t* pixels() override { return nullptr; }
    void present(bool) override {}
};

class NullDesktop final : public Desktop {
public:
    bool activateRunningCopy(const char*) override { return false; }
    bool openWindow(const char*, std::uint32_t) override { return false; }
    void showWindow() override {}
};

}  // namespace platform::null
