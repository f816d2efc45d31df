#include "platform/sdl/sound_thread_priority.h"

#include <SDL.h>
#include <sched.h>

namespace platform::sdl {

// A nice value counts only among the threads of the program's own session
// when the kernel groups sessions (autogroup), so a parallel build started
// in another terminal still takes its share first: the sound threads went
// unscheduled for up to 200 ms. The real-time class is above that sharing.
bool RaiseSoundThread(int realTimeLevel) {
    sched_param level{};
    level.sched_priority = realTimeLevel;
    if (sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &level) == 0) return true;
    SDL_SetThreadPriority(SDL_THREAD_PRIORITY_HIGH);
    return false;
}

}  // namespace platform::sdl
