#pragma once

#include <memory>

#include "platform/backend.h"

namespace platform::sdl {

// The backend players run: a desktop window, keyboard and gamepad, audio.
std::unique_ptr<Backend> MakeSdlBackend();

}  // namespace platform::sdl
