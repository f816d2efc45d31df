// The clock family: milliseconds, sleeping, and waiting for the next pass of
// the main loop. Main thread only.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since an arbitrary start; wraps at 2^32.
    virtual std::uint32_t now() = 0;
    virtual void sleep(std::uint32_t milliseconds) = 0;

    // Returns when input is waiting or at the tick `due`, whichever comes
    // first (at once when input is already waiting). When `idle` is set the
    // passes before the next input would change nothing the player can see
    // or hear, and a clock that pays for waking up may wait for input alone.
    virtual void waitForPass(std::uint32_t due, bool idle) = 0;
};

void SetActiveClock(Clock* clock);  // null: the null clock
Clock& ActiveClock();

// Whether `now` has reached `due` on the wrapping clock (signed distance).
inline bool TickReached(std::uint32_t now, std::uint32_t due) { return static_cast<std::int32_t>(now - due) >= 0; }

}  // namespace platform
