// Desktop: a diagnostic of the sound path. When ORBITFEND_SOUND_TIMELINE
// names a file, each step below is noted in memory with the time, and the
// notes are written there, one a line ("NANOSECONDS STEP VALUE", steady
// clock), by WriteSoundTimeline. Otherwise a note costs one test. The last
// million notes are kept.
#pragma once

#include <cstdint>

namespace platform {

enum class SoundStep : std::uint8_t {
    DevicePull,   // the device's thread asks for sound; value: bytes
    DeviceDry,    // ...and found too little; value: bytes of silence put in
    MixWake,      // the mixing thread wakes to render; value: buffers ready
    MixLocked,    // ...holds the engine lock (the wait is the lock's)
    MixRendered,  // ...has rendered its buffer
    DeviceWait,   // the device's thread found no buffer ready and waits; value: bytes still to fill
    DeviceFound,  // ...and the buffer came meanwhile; value: microseconds waited
};

// Any thread; never blocks.
void NoteSoundStep(SoundStep step, std::uint32_t value = 0);
// Writes the notes taken so far, when the timeline is on. Call once no
// thread notes any more (after the device has closed).
void WriteSoundTimeline();

}  // namespace platform
