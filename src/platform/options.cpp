#include "platform/options.h"

namespace platform {

namespace {
Options currentOptions;
}

const Options& CurrentOptions() { return currentOptions; }
void SetOptions(const Options& options) { currentOptions = options; }

}  // namespace platform
