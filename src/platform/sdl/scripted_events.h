// Test-only: SDL events from a script named by ORBITFEND_TEST_SDL_EVENTS,
// pushed into SDL's queue as the real keyboard and window system would, so
// that tests can drive a desktop session under SDL's dummy video driver. One
// event a line, at a tick of SDL's clock:
//
//   <ms> down <SDL key name>
//   <ms> up <SDL key name>
//   <ms> focus-lost | focus-gained | quit
//
// Unset, nothing is pushed. Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <SDL.h>

namespace platform::sdl {

class ScriptedEvents {
public:
    // Reads the script the environment names; false with `error` for one that
    // cannot be read or holds a line it does not know.
    bool load(std::string& error);

    // Pushes every scripted event due at `now`.
    void pushDue(std::uint32_t now);

private:
    struct Scripted {
        std::uint32_t tick;
        SDL_Event event;
    };
    std::vector<Scripted> events_;
    std::size_t next_ = 0;
};

}  // namespace platform::sdl
