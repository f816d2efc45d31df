// The backend of test runs and benchmarks: a virtual millisecond clock that
// never really waits, the key script as input, the frame buffer in memory
// with its screenshots, a sound device that plays in step with the clock,
// and no desktop. Sleeping and waiting for a pass move the clock on; scripted
// keys and other timed events (the sound device's buffers) happen as it
// passes them, so the same run gives the same output every time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio_out.h"
#include "platform/backend.h"

namespace platform::headless {

// The most input events that wait for the program at once, as in a keyboard
// buffer: key events that come while it is full are dropped (which keys are
// held still follows the script); a close request and the loss of activation
// never are.
constexpr std::size_t kPendingInputLimit = 64;

// Reads the key script the run's options name; null with a message in
// `error` when it cannot be read or parsed.
std::unique_ptr<Backend> OpenHeadlessBackend(std::string& error);

// The sound device: plays in step with the virtual clock and, with --wav,
// captures everything it plays. With --no-sound it refuses to open, as a
// machine without a sound device does.
AudioOut& HeadlessAudioOut();

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
