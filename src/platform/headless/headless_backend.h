// The backend of test runs and benchmarks: a virtual clock that never
// really waits, the key script as input, the frame buffer in memory with its
// screenshots, and no desktop.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform::headless {

// The most input events that wait for the program at once, as in a keyboard
// buffer: key events that come while it is full are dropped (which keys are
// held still follows the script); a close request and the loss of activation
// never are.
constexpr std::size_t kPendingInputLimit = 64;

// Why the backend could not open: a key script that cannot be read or
// parsed is bad usage; an output file that cannot be made is lost output.
enum class OpenFailure { BadUsage, LostOutput };

// Reads the key script and opens the files the run's options name; null
// with a message in `error`, and the reason in `failure` when given, when
// one cannot be read or written.
std::unique_ptr<Backend> OpenHeadlessBackend(std::string& error, OpenFailure* failure = nullptr);

}  // namespace platform::headless
