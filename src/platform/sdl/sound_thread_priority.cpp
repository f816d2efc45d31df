#include "platform/sdl/sound_thread_priority.h"

#include <sched.h>

namespace platform::sdl {

// A nice value counts only among the threads of the program's own session
// when the kernel groups sessions (autogroup), so a parallel build started
// in another terminal still takes its share first: the sound threads went
// unscheduled for up to 200 ms. The real-time class is above that sharing.
// (SDL asks for it only through RealtimeKit, and keeps the thread ordinary
// when that is not running.)
bool EnterRealTimeClass(int realTimeLevel) {
    sched_param level{};
    level.sched_priority = realTimeLevel;
    return sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &level) == 0;
}

}  // namespace platform::sdl
