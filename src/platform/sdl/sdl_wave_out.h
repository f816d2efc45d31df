#pragma once

#include "platform/wave_out.h"

namespace platform::sdl {

// The desktop's sound device through SDL audio. The SDL backend hands it out
// as its waveDevice().
WaveDevice* SdlWaveDevice();

}  // namespace platform::sdl
