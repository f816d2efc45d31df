#pragma once

#include <memory>

#include "platform/backend.h"

namespace platform::headless {

// The backend of test runs and benchmarks: no window, no waiting.
std::unique_ptr<Backend> MakeHeadlessBackend();

}  // namespace platform::headless
