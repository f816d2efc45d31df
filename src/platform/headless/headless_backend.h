// The backend of test runs and benchmarks: a virtual millisecond clock that
// never really waits, scripted input, the frame buffer in memory, a sound
// device in step with the clock, and no desktop. Scripted keys and the sound
// device's buffers happen as the clock passes them, so the same run gives
// the same output every time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/audio_out.h"
#include "platform/backend.h"

namespace platform::headless {

// The most input events that wait for the program at once, as in a keyboard
// buffer: key events that come while it is full are dropped (which keys are
// held still follows the script); a close request and the loss of activation
// never are.
constexpr std::size_t kPendingInputLimit = 64;

// One scripted input event, at a tick of the virtual clock.
struct KeyEvent {
    enum class Kind { Down, Up, Deactivate, FocusLost, FocusGained };
    std::uint32_t tick = 0;
    Kind kind = Kind::Down;
    int virtualKey = 0;  // 1..255, for Down and Up
};

// What a headless run is given.
struct HeadlessSetup {
    FrameGeometry frame = GeometryFor(FrameLayout::Normal, kFormat565);
    std::vector<KeyEvent> keys;          // in time order
    std::optional<std::uint32_t> until;  // a close request once the clock passes it
    // Called with the frame buffer at every present; may be empty.
    std::function<void(const FrameMemory& frame)> presented;
};

std::unique_ptr<Backend> OpenHeadlessBackend(HeadlessSetup setup);

// Where the sound device hands what it plays, as it plays it.
class SoundCapture {
public:
    virtual ~SoundCapture() = default;
    // The device opens at `format`; false refuses the open.
    virtual bool open(const AudioFormat& format) = 0;
    // The next `count` bytes played, silence included.
    virtual void write(const std::uint8_t* bytes, std::size_t count) = 0;
    // The device closes.
    virtual void close() = 0;
};

// The sound device: plays in step with the virtual clock.
AudioOut& HeadlessAudioOut();
// Every sound the device plays from its next open on goes to `capture` too
// (null: nowhere). The caller keeps it until the device is closed.
void SetSoundCapture(SoundCapture* capture);

// Something that must act at given moments of the virtual clock.
class ClockListener {
public:
    virtual ~ClockListener() = default;
    // The next tick at which reached() must run, or false if none is due.
    virtual bool nextDeadline(std::uint32_t* tick) = 0;
    // The clock has arrived at `now`, a deadline that nextDeadline gave.
    virtual void reached(std::uint32_t now) = 0;
};

std::uint32_t Now();
// The same clock counted in 64 bits from the start of the run, never
// wrapping: Now() is its low 32 bits.
std::uint64_t NowMoment();
// Moves the clock to `tick`, stopping at every scripted event and listener
// deadline on the way, in time order.
void AdvanceTo(std::uint32_t tick);
void AddClockListener(ClockListener* listener);
void RemoveClockListener(ClockListener* listener);

}  // namespace platform::headless
