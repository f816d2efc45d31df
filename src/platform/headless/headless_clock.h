// The headless backend's virtual millisecond clock. Nothing really waits:
// Sleep and an empty message queue move the clock forward, and scripted keys
// and other timed events (the wave device's buffers) happen as it passes them.
#pragma once

#include <cstdint>

namespace platform::headless {

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
