#pragma once

#include "platform/wave_out.h"

namespace platform::headless {

// The headless backend's sound device: plays in step with the virtual clock
// and, with --wav, captures everything it plays. --no-sound hides it.
WaveDevice* HeadlessWaveDevice();

}  // namespace platform::headless
