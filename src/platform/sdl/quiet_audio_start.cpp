#include "platform/sdl/quiet_audio_start.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

namespace platform::sdl {

namespace {

// Points stderr at /dev/null for as long as it lives. The main thread opens
// the device, and no other thread of the program writes to stderr then.
class StderrHeld {
public:
    StderrHeld() {
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
        if (null >= 0) ::close(null);
    }
    ~StderrHeld() {
        if (saved_ < 0) return;
        dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
    StderrHeld(const StderrHeld&) = delete;
    StderrHeld& operator=(const StderrHeld&) = delete;

private:
    int saved_ = -1;
};

}  // namespace

SDL_AudioDeviceID OpenSdlAudioQuietly(const SDL_AudioSpec& wanted, SDL_AudioSpec& got) {
    StderrHeld quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &got, 0);
    if (device == 0) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return device;
}

}  // namespace platform::sdl
