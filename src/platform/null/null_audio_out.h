#pragma once

#include "platform/audio_out.h"

namespace platform::null {

// No sound device at all: every open is refused.
AudioOut& NullAudioOut();

}  // namespace platform::null
