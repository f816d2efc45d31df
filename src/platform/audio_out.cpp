#include "platform/audio_out.h"

#include <atomic>

#include "platform/null/null_audio_out.h"

namespace platform {

namespace {

std::atomic<AudioOut*> active{nullptr};

}  // namespace

void SetActiveAudioOut(AudioOut* out) { active = out; }

AudioOut& ActiveAudioOut() {
    AudioOut* out = active;
    return out != nullptr ? *out : null::NullAudioOut();
}

}  // namespace platform
