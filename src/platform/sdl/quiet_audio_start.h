#pragma once

#include <SDL.h>

namespace platform::sdl {

// Starts SDL's audio and opens the default output device as SDL_OpenAudioDevice
// does (paused), with stderr held closed meanwhile: the system's sound library
// (ALSA) writes a screen of errors there when it finds no card, and the
// program says it in one line of its own instead. On success the caller owns
// the device and one start of SDL's audio subsystem; on failure, neither.
SDL_AudioDeviceID OpenSdlAudioQuietly(const SDL_AudioSpec& wanted, SDL_AudioSpec& got);

}  // namespace platform::sdl
