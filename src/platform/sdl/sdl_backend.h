// The desktop's platform through SDL, as the entry and the tools see it (no
// SDL in sight): the backend (SDL's clock, events, window and gamepads, and
// the one-copy-per-user check), its sound device, and (key_names.h) its
// keyboard's bindings.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_out.h"
#include "platform/backend.h"
#include "platform/overlay.h"
#include "platform/sdl/key_names.h"

namespace platform::sdl {

// The window as the command line asks for it.
struct WindowSetup {
    FrameGeometry frame = GeometryFor(FrameLayout::Normal, kFormat565);
    int scale = 0;  // at start-up; 0: the largest whole number that fits the screen
};

// What the program lends the window.
struct DesktopHooks {
    // Laid over the window's picture; the program's, outliving the backend.
    // Null: nothing is.
    Overlay* overlay = nullptr;
    // The player asked for a screenshot: the frame as 176 x 220 RGB triples,
    // the top row first, and the window's scale.
    std::function<void(const std::vector<std::uint8_t>& rgb, int scale)> screenshot;
};

// Connects to the window system; null with a message in `error` when there
// is no display to show the game on.
std::unique_ptr<Backend> OpenSdlBackend(std::string& error, const WindowSetup& setup, DesktopHooks hooks);

// The desktop's sound device, SDL's audio thread pulling from the source.
// Each open starts SDL's audio and each close ends it, so SDL's video may
// start or end around it freely. `noDeviceNote`, when not empty, is said on
// stderr the first time no device opens; underruns, if any, are reported
// there under `programName` when the device is destroyed.
std::unique_ptr<AudioOut> MakeSdlAudioOut(std::string programName, std::string noDeviceNote = {});

}  // namespace platform::sdl
