// The null implementation of each family: no window, no input, no frame
// buffer, no sound device, a clock that stands still. They refuse quietly,
// and each family gives its own until a backend sets another. (The settings
// store's stand-in keeps values in memory: settings_store.cpp.)
#include <atomic>

#include "platform/audio_out.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/frame.h"
#include "platform/input.h"

namespace platform {

namespace {

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

// The normal layout at 5-6-5, and no pixels.
class NullFrame final : public Frame {
public:
    FrameGeometry geometry() override { return GeometryFor(FrameLayout::Normal, kFormat565); }
    std::uint16_t* pixels() override { return nullptr; }
    void present(bool) override {}
};

class NullDesktop final : public Desktop {
public:
    bool activateRunningCopy(const char*) override { return false; }
    bool openWindow(const char*, std::uint32_t) override { return false; }
    void showWindow() override {}
};

class NullAudioOut final : public AudioOut {
public:
    bool open(const AudioFormat&, AudioSource&) override { return false; }
    void pause() override {}
    void resume() override {}
    void close() override {}
};

NullClock nullClock;
NullInput nullInput;
NullFrame nullFrame;
NullDesktop nullDesktop;
NullAudioOut nullAudioOut;

Clock* activeClock = nullptr;
Input* activeInput = nullptr;
Frame* activeFrame = nullptr;
Desktop* activeDesktop = nullptr;
std::atomic<AudioOut*> activeAudioOut{nullptr};  // the mixing thread asks too

}  // namespace

void SetActiveClock(Clock* clock) { activeClock = clock; }
Clock& ActiveClock() { return activeClock ? *activeClock : nullClock; }
void SetActiveInput(Input* input) { activeInput = input; }
Input& ActiveInput() { return activeInput ? *activeInput : nullInput; }
void SetActiveFrame(Frame* frame) { activeFrame = frame; }
Frame& ActiveFrame() { return activeFrame ? *activeFrame : nullFrame; }
void SetActiveDesktop(Desktop* desktop) { activeDesktop = desktop; }
Desktop& ActiveDesktop() { return activeDesktop ? *activeDesktop : nullDesktop; }
void SetActiveAudioOut(AudioOut* out) { activeAudioOut = out; }
AudioOut& ActiveAudioOut() {
    AudioOut* out = activeAudioOut;
    return out != nullptr ? *out : nullAudioOut;
}

}  // namespace platform
