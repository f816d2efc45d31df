// The desktop backend: SDL's clock, events, window and gamepads, and the
// one-copy-per-user check.
#pragma once

#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform::sdl {

// Connects to the window system; null with a message in `error` when there
// is no display to show the game on.
std::unique_ptr<Backend> OpenSdlBackend(std::string& error);

}  // namespace platform::sdl
