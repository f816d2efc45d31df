#pragma once

namespace platform::sdl {

// Raises the calling thread, one that wakes every few milliseconds to do
// microseconds of sound work, as far as the system lets it: to the real-time
// round-robin class at `realTimeLevel` (1..99; the system's sound server
// runs at about 5), ahead of every ordinary thread; where that is refused,
// to SDL's high priority (a nicer value, or RealtimeKit's), or as it was.
// True when it is real-time. Threads it starts afterwards do not inherit
// the class. Any thread, for itself.
bool RaiseSoundThread(int realTimeLevel);

}  // namespace platform::sdl
