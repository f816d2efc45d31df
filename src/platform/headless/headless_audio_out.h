#pragma once

#include "platform/audio_out.h"

namespace platform::headless {

// The headless backend's sound device: plays in step with the virtual clock
// and, with --wav, captures everything it plays. With --no-sound it refuses
// to open, as a machine without a sound device does.
AudioOut& HeadlessAudioOut();

}  // namespace platform::headless
