#pragma once

namespace platform::sdl {

// Puts the calling thread, one that wakes every few milliseconds to do
// microseconds of sound work, in the real-time round-robin class at
// `realTimeLevel` (1..99; the system's sound server runs at about 5), ahead
// of every ordinary thread. False, and the thread as it was, where the
// system refuses it. Threads it starts afterwards do not inherit the class.
// Any thread, for itself.
bool EnterRealTimeClass(int realTimeLevel);

}  // namespace platform::sdl
