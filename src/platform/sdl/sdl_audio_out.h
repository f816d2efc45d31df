#pragma once

#include <memory>
#include <string>

#include "platform/audio_out.h"

namespace platform::sdl {

// The desktop's sound device through SDL audio, SDL's own audio thread
// pulling from the source. Each open starts SDL's audio and each close ends
// it, so SDL's video may be started or ended around it freely.
//
// `noDeviceNote`, when not empty, is written to stderr as one line the first
// time no device can be opened (a program that plays on without sound says
// so once). The underruns, when there were any, are reported on stderr when
// the device is destroyed, under `programName`.
std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string programName, std::string noDeviceNote = {});

}  // namespace platform::sdl
