// The backend of test runs and benchmarks: a virtual clock that never
// really waits, the key script as input, the frame buffer in memory with its
// screenshots, and no desktop.
#pragma once

#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform::headless {

// Reads the key script and opens the files the run's options name; null
// with a message in `error` when one cannot be read or written.
std::unique_ptr<Backend> OpenHeadlessBackend(std::string& error);

}  // namespace platform::headless
